// The page music sheet: refusals, fades, the copy it edits, Apply, Apply to
// all and Clear.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "PageDialogFixture.h"
#include "dialogs/BackgroundMusicWindowController.h"
#include "dialogs/BgMusicProgressView.h"
#include "model/DVDFileSource.h"
#include "model/MusicData.h"

using pagedialogs::ticks;

namespace {

class BackgroundMusicTest : public pagedialogs::PageDialogTest {
protected:
    void SetUp() override
    {
        PageDialogTest::SetUp();
        dir = std::make_unique<QTemporaryDir>(testsupport::makeTempDir());
    }
    QString tone(const QString& name, double seconds)
    {
        const QString path = dir->filePath(name);
        EXPECT_TRUE(testsupport::generateMedia(
            path, {"-f", "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(seconds),
                   "-c:a", "pcm_s16le"}));
        return path;
    }
    std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(BackgroundMusicTest, RefusesSilentAndTooShortFiles)
{
    BackgroundMusicWindowController dialog{host()};
    const QString silent = dir->filePath("silent.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(silent, 1.0, 160, 120, false));
    EXPECT_FALSE(dialog.createMusicDataWithPath(silent));
    EXPECT_FALSE(dialog.createMusicDataWithPath(tone("short.wav", 0.4)));
    EXPECT_FALSE(dialog.hasMusicData());
    EXPECT_EQ(dialog.musicPath(), "No Audio");
    EXPECT_EQ(dialog.playTimeStr(), "00:00:00/00:00:00");
    EXPECT_EQ(dialog.playTimeColor(), QColor(Qt::gray));

    const QString enough = tone("half.wav", 0.5);
    ASSERT_TRUE(dialog.createMusicDataWithPath(enough));
    EXPECT_EQ(dialog.musicPath(), enough);
    const auto item = dialog.musicData()->vcmovie();
    EXPECT_EQ(item->trimStart(), 0);
    EXPECT_EQ(item->trimStop(), item->movie()->duration());
    // The new file's fades follow the pop-ups ("3 s" by default).
    EXPECT_EQ(item->fadeIn(), ticks(3));
    EXPECT_EQ(item->fadeOut(), ticks(3));
    dialog.show();
    testsupport::writeArtifact(dialog.grab().toImage(), "background-music-dialog.png");
    dialog.hide();
    // A refused file leaves the music the dialog held.
    EXPECT_FALSE(dialog.createMusicDataWithPath(tone("short2.wav", 0.4)));
    EXPECT_EQ(dialog.musicPath(), enough);
}

TEST_F(BackgroundMusicTest, FadesSelectWholeSeconds)
{
    struct Case {
        double seconds;
        int index;
    };
    for (const Case c : {Case{0, 0}, Case{0.9, 0}, Case{2.6, 2}, Case{5, 5}, Case{9, 5}}) {
        EXPECT_EQ(BackgroundMusicWindowController::fadeIndexForTime(ticks(c.seconds)), c.index)
            << c.seconds;
    }
    BackgroundMusicWindowController dialog{host()};
    ASSERT_TRUE(dialog.createMusicDataWithPath(tone("a.wav", 3)));
    dialog.fadeInChanged(1);
    dialog.fadeOutChanged(5);
    EXPECT_EQ(dialog.musicData()->vcmovie()->fadeIn(), ticks(1));
    EXPECT_EQ(dialog.musicData()->vcmovie()->fadeOut(), ticks(5));
}

TEST_F(BackgroundMusicTest, OpeningCopiesThePageMusicAndCancelLeavesIt)
{
    addPages(1);
    const QString path = tone("page.wav", 3);
    auto pageMusic = MusicData::musicDataWithPath(path);
    ASSERT_TRUE(pageMusic);
    pageMusic->vcmovie()->setTrimStart(ticks(0.5));
    pageMusic->vcmovie()->setTrimStop(ticks(2.5));
    pageMusic->vcmovie()->setFadeIn(ticks(2.6));
    pageMusic->vcmovie()->setFadeOut(ticks(1));
    pages()[0]->setMusic(pageMusic);

    BackgroundMusicWindowController dialog{host()};
    dialog.showWindowInModel();
    ASSERT_TRUE(dialog.hasMusicData());
    EXPECT_NE(dialog.musicData(), pageMusic);
    const auto copy = dialog.musicData()->vcmovie();
    EXPECT_EQ(copy->trimStart(), ticks(0.5));
    EXPECT_EQ(copy->trimStop(), ticks(2.5));
    EXPECT_EQ(dialog.fadeInIndex(), 2);
    EXPECT_EQ(dialog.fadeOutIndex(), 1);
    EXPECT_EQ(dialog.musicPath(), path);
    // The time label shows the playhead against the file's full length.
    EXPECT_TRUE(dialog.playTimeStr().endsWith("/00:00:03")) << dialog.playTimeStr().toStdString();

    copy->setTrimStop(ticks(1.5));
    dialog.cancelAction();
    EXPECT_EQ(pages()[0]->music(), pageMusic);
    EXPECT_EQ(pageMusic->vcmovie()->trimStop(), ticks(2.5));
    EXPECT_EQ(installed->mainController->count("setDocumentEdited:YES"), 1);
}

TEST_F(BackgroundMusicTest, ApplySetsTheDurationFromTheTrimmedLengthWhenAsked)
{
    addPages(2);
    pages()[0]->setMenuDuration(20);
    BackgroundMusicWindowController dialog{host()};
    for (const bool byMusic : {false, true}) {
        services->disc->setUseBackMusicLengthAsPageDuration(byMusic);
        dialog.showWindowInModel();
        ASSERT_TRUE(dialog.createMusicDataWithPath(tone("m.wav", 2)));
        dialog.musicData()->vcmovie()->setTrimStart(ticks(10));
        dialog.musicData()->vcmovie()->setTrimStop(ticks(70));
        const auto applied = dialog.musicData();
        dialog.applyAction();
        EXPECT_EQ(pages()[0]->music(), applied);
        EXPECT_DOUBLE_EQ(pages()[0]->menuDuration(), byMusic ? 60.0 : 20.0);
        EXPECT_FALSE(pages()[1]->music());
    }
    EXPECT_EQ(installed->mainController->count("changeCapacityValue"), 2);
}

TEST_F(BackgroundMusicTest, ClearThenApplyToAllClearsEveryPage)
{
    addPages(3);
    BackgroundMusicWindowController dialog{host()};
    dialog.showWindowInModel();
    ASSERT_TRUE(dialog.createMusicDataWithPath(tone("all.wav", 2)));
    dialog.applyToAllAction();
    for (const auto& page : pages()) {
        EXPECT_EQ(page->music(), pages()[0]->music());
        EXPECT_TRUE(page->music());
    }
    dialog.showWindowInModel();
    EXPECT_TRUE(dialog.hasMusicData());
    dialog.clearButtonAction();
    EXPECT_EQ(dialog.musicPath(), "No Audio");
    EXPECT_TRUE(pages()[0]->music());  // only Apply reaches the page
    dialog.applyToAllAction();
    for (const auto& page : pages()) {
        EXPECT_FALSE(page->music());
    }
}

TEST_F(BackgroundMusicTest, MusicWhoseFileIsGoneIsKeptUnlessReplaced)
{
    addPages(1);
    const QString path = tone("gone.wav", 2);
    const auto pageMusic = MusicData::musicDataWithPath(path);
    ASSERT_TRUE(pageMusic);
    pages()[0]->setMusic(pageMusic);
    ASSERT_TRUE(QFile::remove(path));

    BackgroundMusicWindowController dialog{host()};
    dialog.showWindowInModel();
    EXPECT_FALSE(dialog.hasMusicData());
    // The dialog names the missing file: the page still has music.
    EXPECT_EQ(dialog.musicPath(), "The music file is missing: " + path);
    QStringList shown;
    for (const QLabel* each : dialog.findChildren<QLabel*>()) {
        shown << each->text();
    }
    EXPECT_TRUE(shown.contains(dialog.musicPath())) << shown.join(" | ").toStdString();
    EXPECT_FALSE(shown.contains("No Audio"));
    dialog.applyAction();
    EXPECT_EQ(pages()[0]->music(), pageMusic);

    dialog.showWindowInModel();
    dialog.clearButtonAction();
    EXPECT_EQ(dialog.musicPath(), "No Audio");
    dialog.applyAction();
    EXPECT_FALSE(pages()[0]->music());
}

}  // namespace
