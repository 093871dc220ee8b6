// The sheet's audio page: the track menu for zero, one and two streams, what
// choosing an entry selects and stores (and that re-choosing does nothing),
// the volume from the slider and from typed percentages, and a real clip with
// a 440 Hz and an 880 Hz stream whose chosen track is what the movie reads.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a screenshot of the page is
// written there.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <vector>

#include "RecordingControllers.h"
#include "SubtitleFixtures.h"
#include "VideoEditTestSupport.h"
#include "lumenta/LMFunctions.h"
#include "model/SectionDataResource.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "videoedit/VideoEditAudioTab.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/core/AudioTrackChoice.h"

using namespace videoedittest;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

LMStreamInfo audioStream(int index)
{
    LMStreamInfo info;
    info.kind = LMStreamInfo::Kind::Audio;
    info.index = index;
    return info;
}

QStringList titles(const QComboBox& box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i) {
        list << QString("%1=%2").arg(box.itemText(i)).arg(box.itemData(i).toLongLong());
    }
    return list;
}

TEST(AudioTrackChoice, MenuSelectionAndVolumeRules)
{
    using C = AudioTrackChoice;
    EXPECT_EQ(C::createSubMenuWithStreamsArray(0), (QList<C::MenuEntry>{{"All Tracks", 99}}));
    EXPECT_EQ(
        C::createSubMenuWithStreamsArray(2),
        (QList<C::MenuEntry>{{"Audio Track 1", 0}, {"Audio Track 2", 1}, {"All Tracks", 99}}));
    EXPECT_EQ(C::selectionForTag(1, 2), IMovie::IndexSet{1});
    EXPECT_EQ(C::selectionForTag(99, 2), IMovie::IndexSet{0});
    EXPECT_FALSE(C::selectionForTag(99, 0).has_value());

    const QList<QPair<QString, float>> typed{
        {"500", 3.0f},     {"-20", 0.0f}, {"150", 1.5f}, {"0", 0.0f},    {"300", 3.0f},
        {" 75 % ", 0.75f}, {"abc", 0.0f}, {"", 0.0f},    {"1e40", 3.0f}, {"nan", 0.0f}};
    for (const auto& [text, volume] : typed) {
        EXPECT_FLOAT_EQ(C::volumeFromPercentText(text), volume) << text.toStdString();
    }
}

class AudioTab : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip.movie->streams = {audioStream(1), audioStream(2)};
        clip.movie->setVolume(1.25f);
        clip.media->setAudioTreamTag(99);
    }
    void open()
    {
        clip.movie->calls.clear();
        sheet.updateWindowWithMedia(clip.media);
        sheet.pause();
        sheet.segmentSelectChanged(4);
        settle();
    }
    VideoEditAudioTab& tab() { return *sheet.audioTab(); }
    void choose(int index) { emit tab().audioTrackPopBtn()->activated(index); }

    testsupport::InstalledControllers installed;
    Clip clip = makeClip();
    VideoEditWindowController sheet{nullptr, installed.mainController};
};

TEST_F(AudioTab, OpeningListsTheStreamsShowsTheClipsTagAndTheMoviesVolume)
{
    clip.media->setAudioTreamTag(1);
    open();
    QComboBox* box = tab().audioTrackPopBtn();
    EXPECT_EQ(titles(*box), (QStringList{"Audio Track 1=0", "Audio Track 2=1", "All Tracks=99"}));
    EXPECT_EQ(box->currentText(), QString("Audio Track 2"));
    EXPECT_EQ(box->toolTip(), QString("Track"));
    EXPECT_FLOAT_EQ(sheet.volume(), 1.25f);
    EXPECT_EQ(tab().volumeSlider()->value(), 125);
    EXPECT_EQ(tab().volumeField()->text(), QString("125"));
    EXPECT_EQ(clip.movie->count("setSelectAudioStreams"), 0) << "showing writes nothing";
    EXPECT_EQ(clip.movie->count("setVolume"), 0);
    sheet.resize(760, 560);
    settle();
    testsupport::writeArtifact(sheet.grab().toImage(), "video-edit-audio-tab.png");
    sheet.doneVideoEdit();
}

TEST_F(AudioTab, ChoosingATrackSelectsItSeeksAndStoresTheTagOnce)
{
    open();
    sheet.seek(sec(2.0));
    settle();
    clip.movie->calls.clear();
    choose(1);
    EXPECT_EQ(clip.movie->selected, IMovie::IndexSet{1});
    EXPECT_EQ(clip.media->audioTreamTag(), 1);
    EXPECT_EQ(clip.movie->count("setCurrentTime"), 1) << "heard at once";
    EXPECT_EQ(clip.movie->position, sec(2.0));

    clip.movie->calls.clear();
    choose(1);  // the entry already chosen
    EXPECT_TRUE(clip.movie->calls.isEmpty()) << clip.movie->calls.join(", ").toStdString();

    choose(2);  // All Tracks: stream 0
    EXPECT_EQ(clip.movie->selected, IMovie::IndexSet{0});
    EXPECT_EQ(clip.media->audioTreamTag(), 99);
    sheet.doneVideoEdit();
}

TEST_F(AudioTab, AllTracksWithoutAudioOnlyStoresTheTag)
{
    clip.movie->streams.clear();
    clip.movie->withAudio = false;
    clip.media->setAudioTreamTag(0);  // left from an earlier source
    open();
    EXPECT_EQ(titles(*tab().audioTrackPopBtn()), QStringList{"All Tracks=99"});
    clip.movie->calls.clear();
    choose(0);
    EXPECT_EQ(clip.movie->count("setSelectAudioStreams"), 0);
    EXPECT_EQ(clip.media->audioTreamTag(), 99);
    sheet.doneVideoEdit();
}

TEST_F(AudioTab, VolumeFromTheFieldIsHeldToZeroToThreeAndFromTheSlider)
{
    open();
    QLineEdit* field = tab().volumeField();
    const QList<QPair<QString, float>> typed{{"500", 3.0f}, {"-20", 0.0f}, {"80", 0.8f}};
    for (const auto& [text, volume] : typed) {
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
        settle();
        EXPECT_FLOAT_EQ(sheet.volume(), volume) << text.toStdString();
        EXPECT_FLOAT_EQ(clip.movie->volume(), volume) << text.toStdString();
        EXPECT_EQ(field->text(), QString::number(qRound(volume * 100)));
        EXPECT_EQ(tab().volumeSlider()->value(), qRound(volume * 100));
    }
    tab().volumeSlider()->setValue(150);
    settle();
    EXPECT_FLOAT_EQ(sheet.volume(), 1.5f);
    EXPECT_FLOAT_EQ(clip.movie->volume(), 1.5f);
    EXPECT_EQ(field->text(), QString("150"));
    EXPECT_EQ(tab().volumeSlider()->maximum(), 300);
    sheet.doneVideoEdit();
}

// The dominant tone of the movie's audio from `from` seconds, first channel.
double heardFrequency(IMovie& movie, double from)
{
    movie.configOutputFormat({lm_get_default_sample_fmt(), 3, 48000});
    movie.setCurrentTime(sec(from));
    movie.flushOperation();
    std::vector<float> stereo(2 * 24000);
    EXPECT_TRUE(movie.readSample(reinterpret_cast<uint8_t*>(stereo.data()), 0, 24000));
    std::vector<float> left;
    for (size_t i = 0; i < stereo.size(); i += 2) {
        left.push_back(stereo[i]);
    }
    return subtitlefixtures::toneFrequency(left, 48000);
}

TEST(AudioTabRealClip, TheChosenTrackIsWhatTheMovieReads)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("two.mp4");
    ASSERT_TRUE(subtitlefixtures::makeTwoToneClip(path, 2.0));
    const VCMovie::Ptr item = VCMovie::movieWithPath(path);
    ASSERT_TRUE(item);
    auto section = std::make_shared<MediaSectionItem>();
    section->setEndTimeInMedia(item->movie()->duration());
    auto clip = std::make_shared<MediaData>();
    clip->setVcmovie(item);
    clip->setSectionItem(section);

    testsupport::InstalledControllers installed;
    VideoEditWindowController sheet{nullptr, installed.mainController};
    sheet.updateWindowWithMedia(clip);
    sheet.pause();
    settle();
    QComboBox* box = sheet.audioTab()->audioTrackPopBtn();
    EXPECT_EQ(titles(*box), (QStringList{"Audio Track 1=0", "Audio Track 2=1", "All Tracks=99"}));
    EXPECT_EQ(box->currentText(), QString("All Tracks"));
    EXPECT_NEAR(heardFrequency(*item->movie(), 0.5), 440.0, 10.0);

    emit box->activated(1);
    EXPECT_EQ(clip->audioTreamTag(), 1);
    EXPECT_EQ(item->movie()->selectAudioStreams(), IMovie::IndexSet{1});
    EXPECT_NEAR(heardFrequency(*item->movie(), 0.5), 880.0, 10.0);

    emit box->activated(0);
    EXPECT_NEAR(heardFrequency(*item->movie(), 0.5), 440.0, 10.0);
    sheet.doneVideoEdit();
}

TEST(AudioTabRealClip, TheChosenTrackSurvivesASaveAndReopen)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("two.mp4");
    ASSERT_TRUE(subtitlefixtures::makeTwoToneClip(path, 2.0));
    const auto resource = SectionDataResource::resourceWithPath(path);
    ASSERT_TRUE(resource);
    const auto section = resource->createMediaSectionItem();
    ASSERT_TRUE(section);
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(sec(2.0));
    resource->mediaSectionArray().append(section);
    const auto clip = section->createMediaData();
    ASSERT_TRUE(clip && clip->vcmovie());
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
        sheet.updateWindowWithMedia(clip);
        sheet.pause();
        emit sheet.audioTab()->audioTrackPopBtn()->activated(1);
        sheet.doneVideoEdit();
    }
    ASSERT_EQ(clip->audioTreamTag(), 1);

    clip->newMediaEditDic();  // what saving does
    const auto loaded = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(clip)));
    ASSERT_TRUE(loaded.root) << qPrintable(loaded.error);
    const auto reopenedClip = loaded.root->objectAs<MediaData>();
    ASSERT_TRUE(reopenedClip && reopenedClip->sectionItem());
    EXPECT_NE(reopenedClip, clip);
    EXPECT_EQ(reopenedClip->audioTreamTag(), 1);
    // Opening rebuilds the media item from the source file and puts the
    // edits back.
    reopenedClip->setVcmovie(VCMovie::movieWithPath(path));
    reopenedClip->updateMovieAttributesToMovie();
    ASSERT_TRUE(reopenedClip->ffmovie());
    EXPECT_EQ(reopenedClip->ffmovie()->selectAudioStreams(), IMovie::IndexSet{1});
    EXPECT_NEAR(heardFrequency(*reopenedClip->ffmovie(), 0.5), 880.0, 10.0);

    testsupport::InstalledControllers installed;
    VideoEditWindowController sheet{nullptr, installed.mainController};
    sheet.updateWindowWithMedia(reopenedClip);
    sheet.pause();
    EXPECT_EQ(sheet.audioTab()->audioTrackPopBtn()->currentText(), QString("Audio Track 2"));
    sheet.doneVideoEdit();
}

}  // namespace
