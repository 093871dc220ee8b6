// The sheet's subtitle page with real widgets offscreen over a real movie:
// files in every encoding open and show their text, the UTF-8 copy is gone
// after every call, a file that gives no subtitles keeps its path and shows
// why, the chooser appends (twice when chosen twice) and cancelling it
// changes nothing, the subtitles stay on later frames and after a seek, and
// the font, colour and position reach the movie only as described.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a screenshot of the page with a
// Japanese subtitle in the picture is written there.
#include <gtest/gtest.h>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include "RecordingControllers.h"
#include "RecordingServices.h"
#include "SpinBoxArrows.h"
#include "SubtitleFixtures.h"
#include "UserFolders.h"
#include "VideoEditTestSupport.h"
#include "common/FileManagerExtention.h"
#include "media/SubtitleFileOpener.h"
#include "media/VideoEditPlayer.h"
#include "videoedit/SubtitleFontComboBox.h"
#include "videoedit/VideoEditSubtitleTab.h"
#include "videoedit/VideoEditTabView.h"
#include "videoedit/VideoEditWindowController.h"

using namespace videoedittest;
using namespace subtitlefixtures;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// Bright pixels in the lower third of a picture over black: subtitle text.
int lowerThirdInk(const QImage& picture)
{
    int ink = 0;
    for (int y = picture.height() * 2 / 3; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ink += qGray(picture.pixel(x, y)) > 150 ? 1 : 0;
        }
    }
    return ink;
}

QStringList copiesLeft()
{
    const QDir folder(
        FileManagerExtention::tempFileDirectory(SubtitleFileOpener::temporaryFolderName()));
    return folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class SubtitleTab : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir());
        ASSERT_TRUE(makeTwoToneClip(s_dir->filePath("clip.mp4")));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        const VCMovie::Ptr item = VCMovie::movieWithPath(s_dir->filePath("clip.mp4"));
        ASSERT_TRUE(item);
        movie = std::dynamic_pointer_cast<LMFFMovie>(item->movie());
        ASSERT_TRUE(movie);
        movie->setOutputVideoSize(QSizeF(320, 180));
        section = std::make_shared<MediaSectionItem>();
        section->setStartTimeInMedia(0);
        section->setEndTimeInMedia(movie->duration());
        clip = std::make_shared<MediaData>();
        clip->setVcmovie(item);
        clip->setSectionItem(section);
        sheet.updateWindowWithMedia(clip);
        sheet.pause();
        sheet.segmentSelectChanged(3);
        settle();
    }
    void TearDown() override { sheet.doneVideoEdit(); }

    VideoEditSubtitleTab& tab() { return *sheet.subtitleTab(); }
    VCMovie::Ptr item() const { return clip->vcmovie(); }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    // Chooses the file through the pop-up and the chooser.
    void choose(const QString& path)
    {
        tab().subtitlePathButton()->activated(0);
        QFileDialog* chooser = tab().subtitleFileDialog();
        ASSERT_TRUE(chooser);
        chooser->selectFile(path);
        static_cast<QDialog*>(chooser)->accept();  // as the Open button does
        settle();
    }
    void chooseEncoding(quint64 encoding)
    {
        QComboBox* box = tab().subtitleEncodingButton();
        box->activated(box->findData(QVariant::fromValue(encoding)));
        settle();
    }
    QString shownText() const { return movie->subtitle().toString().value_or(QString()); }

    static inline QTemporaryDir* s_dir = nullptr;
    testsupport::UserFolders folders;
    QTemporaryDir dir = testsupport::makeTempDir();
    testsupport::InstalledControllers installed;
    LMFFMovie::Ptr movie;
    std::shared_ptr<MediaSectionItem> section;
    std::shared_ptr<MediaData> clip;
    VideoEditWindowController sheet{nullptr, installed.mainController};
};

TEST_F(SubtitleTab, EveryEncodingOpensUnderAutomaticAndItsOwnRowLeavingNoCopy)
{
    for (const Fixture& fixture : fixtures()) {
        SCOPED_TRACE(fixture.label);
        const QString path =
            file(QString("%1.srt").arg(fixture.label), encode(fixture.text, fixture.iconvName));
        chooseEncoding(SubtitleEncodings::kAutomatic);
        choose(path);
        EXPECT_EQ(item()->subtitlePath(), path);
        EXPECT_TRUE(movie->hasSubtitle());
        EXPECT_EQ(shownText(), fixture.text);
        EXPECT_TRUE(copiesLeft().isEmpty()) << copiesLeft().join(", ").toStdString();
        EXPECT_TRUE(tab().subtitleProblemLabel()->text().isEmpty());

        chooseEncoding(fixture.row);  // opens the same file again
        EXPECT_EQ(item()->subtitleEncoding(), fixture.row);
        EXPECT_EQ(shownText(), fixture.text);
        EXPECT_TRUE(copiesLeft().isEmpty());
        EXPECT_EQ(tab().subtitleEncodingButton()->currentData().value<quint64>(), fixture.row);
        EXPECT_EQ(tab().subtitlePathButton()->currentData().toString(), path);
    }
}

TEST_F(SubtitleTab, AnExplicitWrongEncodingFallsBack)
{
    const Fixture& big5 = fixtures().last();
    const QString path = file("big5.srt", encode(big5.text, big5.iconvName));
    chooseEncoding(SubtitleEncodings::kUTF8);
    choose(path);
    EXPECT_EQ(item()->subtitleEncoding(), SubtitleEncodings::kUTF8) << "the choice stays";
    EXPECT_EQ(shownText(), big5.text);
}

TEST_F(SubtitleTab, GarbageLeavesNoSubtitleKeepsThePathAndShowsWhy)
{
    const QString good = file("good.srt", fixtures().first().text.toUtf8());
    choose(good);
    ASSERT_TRUE(movie->hasSubtitle());
    const QString bad = file("garbage.srt", garbage());
    choose(bad);
    EXPECT_FALSE(movie->hasSubtitle()) << "the earlier file's subtitles are gone too";
    EXPECT_EQ(item()->subtitlePath(), bad);
    EXPECT_TRUE(copiesLeft().isEmpty());
    EXPECT_FALSE(tab().subtitleProblem().isEmpty());
    EXPECT_EQ(tab().subtitleProblemLabel()->text(), tab().subtitleProblem());
    EXPECT_FALSE(movie->thumbnailAtTime(lm_default_time_base(), QSize()).isNull())
        << "the picture goes on";

    choose(good);
    EXPECT_TRUE(movie->hasSubtitle());
    EXPECT_TRUE(tab().subtitleProblemLabel()->text().isEmpty());
}

TEST_F(SubtitleTab, DamagedUTF8IsShownAsUTF8AndAnAlertNamesTheDamagedLine)
{
    testsupport::InstalledServices services;
    for (const DamagedUtf8& damaged : damagedUtf8()) {
        SCOPED_TRACE(damaged.label);
        services.alerts->alerts.clear();
        choose(file("damaged.srt", damaged.bytes));
        EXPECT_TRUE(movie->hasSubtitle());
        EXPECT_EQ(shownText(), damaged.text) << "handed to the movie as UTF-8";
        ASSERT_EQ(services.alerts->alerts.size(), 1);
        const auto& shown = services.alerts->alerts.first();
        EXPECT_EQ(shown.content.message,
                  QString("Line %1 of the subtitle file \"damaged.srt\" is damaged.")
                      .arg(damaged.lines.first()));
        EXPECT_FALSE(shown.waited) << "a sheet that does not wait";
        EXPECT_EQ(shown.window, tab().window());
    }
    services.alerts->alerts.clear();
    choose(file("clean.srt", umlautText().toUtf8()));
    EXPECT_EQ(shownText(), umlautText());
    EXPECT_TRUE(services.alerts->alerts.isEmpty()) << "nothing to tell for a clean file";
}

TEST_F(SubtitleTab, LoadSubtitleOpensTheChooserAndCancellingChangesNothing)
{
    const QString path = file("one.srt", fixtures().first().text.toUtf8());
    choose(path);
    ASSERT_EQ(tab().subtitlePaths().size(), 2);

    tab().subtitlePathButton()->activated(0);
    QFileDialog* chooser = tab().subtitleFileDialog();
    ASSERT_TRUE(chooser);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->windowModality(), Qt::WindowModal);
    EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
    for (const char* type : {"*.srt", "*.ass", "*.smi", "*.sami"}) {
        EXPECT_TRUE(chooser->nameFilters().join(' ').contains(type)) << type;
    }
    chooser->reject();
    settle();
    EXPECT_EQ(tab().subtitleFileDialog(), nullptr);
    EXPECT_EQ(tab().subtitlePaths().size(), 2);
    EXPECT_EQ(item()->subtitlePath(), path);
    EXPECT_TRUE(movie->hasSubtitle());
    EXPECT_EQ(tab().subtitlePathButton()->currentData().toString(), path)
        << "the pop-up shows the clip's file again";
}

TEST_F(SubtitleTab, ChosenFilesAreAppendedTwiceWhenChosenTwiceAndOutliveTheClip)
{
    const QString path = file("twice.srt", fixtures().first().text.toUtf8());
    choose(path);
    choose(path);
    const auto& list = tab().subtitlePaths();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].object, VideoEditSubtitleTab::loadActionPath());
    EXPECT_EQ(list[0].title, QString("Load Subtitle"));
    EXPECT_EQ(list[1].object, path);
    EXPECT_EQ(list[1].title, QString("twice.srt"));
    EXPECT_EQ(list[2].object, path);
    EXPECT_EQ(tab().subtitlePathButton()->count(), 3);

    // Another clip: the list stays, the pop-up shows that clip has no file.
    sheet.doneVideoEdit();
    const Clip other = makeClip();
    sheet.updateWindowWithMedia(other.media);
    settle();
    EXPECT_EQ(tab().subtitlePaths().size(), 3);
    EXPECT_EQ(tab().subtitlePathButton()->currentIndex(), 0);
    tab().subtitlePathButton()->activated(2);  // a listed file opens on this clip
    EXPECT_EQ(other.item()->subtitlePath(), path);
    EXPECT_EQ(other.movie->count("openSubtitle"), 1);
    EXPECT_TRUE(copiesLeft().isEmpty());
}

TEST_F(SubtitleTab, SubtitlesStayOnLaterFramesAndAfterASeekOnceTheCopyIsGone)
{
    const QString path =
        file("cue.srt", encode(srt({QStringLiteral("字幕のテスト")}), "SHIFT_JIS"));
    choose(path);
    ASSERT_TRUE(movie->hasSubtitle());
    ASSERT_TRUE(copiesLeft().isEmpty());
    tab().setSubtitleFontSize(28);
    ASSERT_EQ(movie->subtitleFont().pointSize(), 28);
    const auto at = [this](double s) { return movie->thumbnailAtTime(sec(s), QSize()); };
    const QImage before = at(0.5);
    const QImage during = at(1.5);
    const QImage after = at(3.0);
    const QImage back = at(1.2);  // a seek backwards into the cue
    ASSERT_FALSE(during.isNull());
    EXPECT_EQ(lowerThirdInk(before), 0);
    EXPECT_GT(lowerThirdInk(during), 20);
    EXPECT_EQ(lowerThirdInk(after), 0);
    EXPECT_GT(lowerThirdInk(back), 20);
    testsupport::writeArtifact(during, "subtitle-frame-1.5s.png");

    // The player's own picture carries it too.
    sheet.seek(sec(1.5));
    sheet.flushPlayerImage();
    QElapsedTimer waited;
    waited.start();
    while (lowerThirdInk(sheet.player()->effectImage()) <= 20 && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_GT(lowerThirdInk(sheet.player()->effectImage()), 20);
    sheet.resize(820, 640);
    settle();
    testsupport::writeArtifact(sheet.grab().toImage(), "video-edit-subtitle-tab.png");
}

TEST_F(SubtitleTab, FontNameAndSizeOnlyToFontsThatExist)
{
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    tab().setSubtitleFontSize(30);
    tab().setSubtitleFontName(families.first());
    EXPECT_EQ(movie->subtitleFont().family(), families.first());
    EXPECT_EQ(movie->subtitleFont().pointSize(), 30);
    const QFont kept = movie->subtitleFont();

    tab().setSubtitleFontName("No Such Font Anywhere 4711");
    tab().setSubtitleFontSize(0);
    tab().setSubtitleFontSize(-3);
    EXPECT_EQ(movie->subtitleFont(), kept);
    settle();
    EXPECT_EQ(tab().subtitleFontMenu()->currentText(), families.first());
    EXPECT_EQ(tab().subtitleFontSizeField()->value(), 30);

    tab().subtitleFontSizeField()->setValue(44);  // the field writes through
    EXPECT_EQ(movie->subtitleFont().pointSize(), 44);
    EXPECT_EQ(movie->subtitleFont().family(), families.first());

    SubtitleFontComboBox* menu = tab().subtitleFontMenu();
    EXPECT_EQ(menu->count(), families.size());
    menu->menuWillOpen();
    for (int i : {0, static_cast<int>(menu->count()) - 1}) {
        const QFont face = menu->itemData(i, Qt::FontRole).value<QFont>();
        EXPECT_EQ(face.family(), menu->itemText(i));
        EXPECT_EQ(face.pointSize(), 11);
    }
}

TEST_F(SubtitleTab, ColourPanelActsOnlyWhileTheSubtitleTabIsShownAndPositionIsTaken)
{
    const QColor before = movie->subtitleColor();
    sheet.segmentSelectChanged(2);  // the watermark page
    tab().colorPanel()->setCurrentColor(Qt::red);
    EXPECT_EQ(movie->subtitleColor(), before);

    sheet.segmentSelectChanged(3);
    tab().subtitleColorButton()->click();
    EXPECT_TRUE(tab().colorPanel()->isVisible());
    tab().colorPanel()->setCurrentColor(Qt::yellow);
    EXPECT_EQ(movie->subtitleColor(), QColor(Qt::yellow));

    tab().subtitlePositionButton()->activated(2);
    EXPECT_EQ(movie->subtitlePosition(), 2);
    sheet.doneVideoEdit();
    EXPECT_FALSE(tab().colorPanel()->isVisible()) << "the panel goes with the sheet";
}

// The font size field shows its value and arrows that can be seen on the
// sheet's dark ground.
TEST_F(SubtitleTab, FontSizeFieldShowsItsValueAndArrows)
{
    sheet.show();
    settle();
    QSpinBox* field = tab().subtitleFontSizeField();
    field->setValue(24);
    EXPECT_GE(field->width(), field->sizeHint().width());
    EXPECT_GE(field->height(), field->sizeHint().height());
    EXPECT_TRUE(testsupport::hasDarkArrows(*field));
    sheet.hide();
}

TEST(SubtitleTabRefresh, OpeningAClipWritesNoSubtitleValue)
{
    testsupport::InstalledControllers installed;
    VideoEditWindowController sheet{nullptr, installed.mainController};
    Clip clip = makeClip();
    clip.item()->setSubtitlePath("/nowhere/old.srt");
    clip.item()->setSubtitleEncoding(SubtitleEncodings::kBig5);
    clip.movie->calls.clear();
    sheet.updateWindowWithMedia(clip.media);
    sheet.segmentSelectChanged(3);
    settle();
    for (const char* call : {"openSubtitle", "setSubtitleFont", "setSubtitleColor",
                             "setSubtitlePosition", "setVolume", "setSelectAudioStreams"}) {
        EXPECT_EQ(clip.movie->count(call), 0) << call;
    }
    VideoEditSubtitleTab& tab = *sheet.subtitleTab();
    EXPECT_EQ(tab.subtitleEncodingButton()->currentText(), QString("Traditional Chinese (Big 5)"));
    EXPECT_EQ(tab.subtitleEncodingButton()->count(), 8);
    EXPECT_EQ(clip.item()->subtitlePath(), QString("/nowhere/old.srt"));
    sheet.doneVideoEdit();
}

}  // namespace
