// The disc size estimate (the worked values to the byte, the bitrate floor,
// what counts as playing time) and the quality pop-up's model.

#include <cmath>
#include <limits>

#include "DiscSideFixture.h"
#include "media/MovieTrimItem.h"
#include "shell/core/CapacityEstimate.h"
#include "shell/core/DiscSideRebuild.h"
#include "shell/core/QualityMenuModel.h"

using namespace discside;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(CapacityEstimateTest, BytesForSecondsAtABitrate)
{
    const struct {
        double seconds;
        qint64 bitrate;
        qint64 bytes;
    } cases[] = {
        {3600, 4000, 2'087'354'105},
        {600, 8000, 644'245'094},
        {600, 500, 88'583'700},
        {600, 0, 88'583'700},  // below the floor: counted at 500
        {600, -7, 88'583'700},
        {600, 3000, 273'804'165},
        {0, 4000, 0},
        {-5, 4000, 0},
        {nan, 4000, 0},
        {inf, 4000, std::numeric_limits<qint64>::max()},
        {1e300, 8000, std::numeric_limits<qint64>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CapacityEstimate::usedSpaceForSeconds(c.seconds, c.bitrate), c.bytes)
            << c.seconds << " s at " << c.bitrate;
    }
    // A bitrate beyond 32 bits is not wrapped into a negative one.
    EXPECT_GT(CapacityEstimate::usedSpaceForSeconds(600, std::numeric_limits<qint64>::max()), 0);
}

TEST(CapacityEstimateTest, TheBarShowsMegabytesAndTheFractionOfTheDisc)
{
    const auto d5 = CapacityEstimate::resultForUsedSpace(2'087'354'105,
                                                         CapacityEstimate::capacityForDiscModel(0));
    EXPECT_EQ(d5.totalUsedSpace, 2'087'354'105);
    EXPECT_EQ(d5.showString, "Need Spend DVD Space: 2087 MB");
    EXPECT_FLOAT_EQ(d5.capacityValue, 2'087'354'105.0f / 4.7e9f);
    EXPECT_NEAR(d5.capacityValue, 0.444, 0.001);

    const auto d9 = CapacityEstimate::resultForUsedSpace(999'999, 8'300'000'000);
    EXPECT_EQ(d9.showString, "Need Spend DVD Space: 0 MB");
    EXPECT_EQ(CapacityEstimate::capacityForDiscModel(1), 8'300'000'000);
    EXPECT_EQ(CapacityEstimate::capacityForDiscModel(-1), 8'300'000'000);

    const auto over = CapacityEstimate::resultForUsedSpace(
        CapacityEstimate::usedSpaceForSeconds(20000, 8000), 4'700'000'000);
    EXPECT_GT(over.capacityValue, 1.0f);
}

class ClipTimeTest : public DiscSideTest {
protected:
    // A clip of a `section`-second section whose kept pieces are (start, stop).
    static std::shared_ptr<MediaData> trimmed(double section,
                                              const QList<std::pair<double, double>>& pieces)
    {
        auto clip = makeClip(100, 100 + section);
        VCMovie::TrimArray trims;
        for (const auto& [start, stop] : pieces) {
            trims.append(std::make_shared<MovieTrimItem>(start, stop - start));
        }
        clip->vcmovie()->setTrimArray(trims);
        return clip;
    }
};

TEST_F(ClipTimeTest, PiecesAreCappedByTheSectionInSinglePrecision)
{
    // Longer pieces than the section: the section.
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*trimmed(10, {{0, 6}, {2, 8}})), 10.0);
    // Shorter: their sum, as a float.
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*trimmed(10, {{0, 0.1}, {1, 1.2}})),
              static_cast<double>(static_cast<float>(0.1 + 0.2)));
    // Without pieces the kept range counts, still capped by the section.
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*makeClip(0, 5, 20)), 5.0);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*makeClip(0, 5, 2.5)), 2.5);
}

TEST_F(ClipTimeTest, MergedClipsSumTheirMembersEachCappedByItsSection)
{
    auto group = mergedClip(0);
    for (double section : {2.0, 3.0, 4.0}) {
        auto member = trimmed(section, {{0, 10}});
        member->flushSuperMediaData(group);
        group->subMediaArray().append(member);
    }
    group->subMediaArray().append(nullptr);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*group), 9.0);
    // A member asked on its own is one clip.
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*group->subMediaArray().first()), 2.0);
}

TEST_F(ClipTimeTest, BrokenTimesCountAsNothing)
{
    auto reversed = makeClip(50, 40, 10);  // a section that ends before it starts
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*reversed), 0.0);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*trimmed(10, {{0, nan}, {0, 3}})), 3.0);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*trimmed(10, {{0, inf}})), 0.0);
    auto extreme = makeClip(0, 1);
    extreme->sectionItem()->setStartTimeInMedia(std::numeric_limits<qint64>::min());
    extreme->sectionItem()->setEndTimeInMedia(std::numeric_limits<qint64>::max());
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*extreme), 1.0);
    auto noSection = makeClip(0, 7);
    noSection->setSectionItem(nullptr);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*noSection), 7.0);
    auto noMovie = makeClip(0, 7);
    noMovie->setVcmovie(nullptr);
    EXPECT_EQ(CapacityEstimate::totalMediaDataTime(*noMovie), 0.0);
}

TEST_F(ClipTimeTest, TheProjectCountsClipsSlideshowsAndEveryMenuPage)
{
    const auto page = addPage();
    addTitle(page, 2);  // two clips of 10 s: a chapter sub page too
    const auto slideshow = addTitle(page, 0);
    auto photos = std::make_shared<MediaData>();
    photos->setIsImageData(true);
    photos->setImageDataDuration(7.5);
    addClip(slideshow, photos);
    addPage();  // empty, but its menu page plays
    DiscSideRebuild(services->media, services->disc).flushDVDResourceBeforeEdit();
    ASSERT_EQ(disc().pageArray().size(), 3);
    disc().pageArray()[1]->setMenuDuration(nan);  // counts as nothing

    EXPECT_EQ(CapacityEstimate::totalSeconds(services->media.get(), disc()), 20 + 7.5 + 30);
    disc().setUseNoMenu(true);
    EXPECT_EQ(CapacityEstimate::totalSeconds(services->media.get(), disc()), 20 + 7.5);
    EXPECT_EQ(CapacityEstimate::totalSeconds(nullptr, disc()), 0.0);

    disc().setDvdBitrate(8000);
    const auto result = CapacityEstimate::changeCapacityValue(services->media.get(), disc(), 1);
    EXPECT_EQ(result.totalUsedSpace, CapacityEstimate::usedSpaceForSeconds(27.5, 8000));
    EXPECT_FLOAT_EQ(result.capacityValue, result.totalUsedSpace / 8.3e9f);
}

TEST(QualityMenuModelTest, APresetBitrateSelectsItsPreset)
{
    const auto menu = QualityMenuModel::setDvdQualityMenu(4000);
    QStringList titles;
    for (const auto& entry : menu.entries()) {
        titles.append(entry.title);
    }
    EXPECT_EQ(titles, (QStringList{"Best Quality", "High Quality", "Standard", "Smaller", "Lower",
                                   "", "Custom Size"}));
    EXPECT_EQ(menu.selectedIndex(), 2);
    EXPECT_EQ(menu.entries()[5].action, QualityMenuModel::Action::Separator);
    EXPECT_EQ(menu.entries()[6].action, QualityMenuModel::Action::CustomSize);
    for (qint64 tag = 0; tag < 5; ++tag) {
        EXPECT_EQ(menu.entries()[tag].tag, tag);
        EXPECT_EQ(menu.entries()[tag].action, QualityMenuModel::Action::Preset);
    }
    EXPECT_EQ(QualityMenuModel::setDvdQualityMenu(8000).selectedIndex(), 0);
    EXPECT_EQ(QualityMenuModel::setDvdQualityMenu(500).selectedIndex(), 4);
}

TEST(QualityMenuModelTest, AnyOtherBitrateGetsItsOwnEntryAtPositionSix)
{
    const auto menu = QualityMenuModel::setDvdQualityMenu(3000);
    ASSERT_EQ(menu.entries().size(), 8);
    EXPECT_EQ(menu.selectedIndex(), 6);
    EXPECT_EQ(menu.entries()[6].title, "3000 kbps");
    EXPECT_EQ(menu.entries()[6].action, QualityMenuModel::Action::ExistQuality);
    EXPECT_EQ(menu.entries()[7].title, "Custom Size");
    EXPECT_EQ(QualityMenuModel::bitrateForExistQualityTitle(menu.entries()[6].title), 3000);
}

TEST(QualityMenuModelTest, ChoicesGiveBitratesWithinTheirBounds)
{
    const struct {
        const char* title;
        qint64 bitrate;
    } titles[] = {{"3000 kbps", 3000}, {"  750kbps", 750}, {"+42", 42}, {"kbps", 0}, {"", 0},
                  {"-20 kbps", -20}};
    for (const auto& t : titles) {
        EXPECT_EQ(QualityMenuModel::bitrateForExistQualityTitle(t.title), t.bitrate) << t.title;
    }
    const struct {
        qint64 value, clamped;
    } values[] = {{-3, 500},    {0, 500},     {499, 500},  {500, 500},
                  {4321, 4321}, {8000, 8000}, {8001, 8000}};
    for (const auto& v : values) {
        EXPECT_EQ(QualityMenuModel::clampQualityValue(v.value), v.clamped) << v.value;
    }
    EXPECT_EQ(QualityMenuModel::bitrateForPresetTag(0), 8000);
    EXPECT_EQ(QualityMenuModel::bitrateForPresetTag(4), 500);
    EXPECT_FALSE(QualityMenuModel::bitrateForPresetTag(5));
    EXPECT_FALSE(QualityMenuModel::bitrateForPresetTag(-1));
}

}  // namespace
