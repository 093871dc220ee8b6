// Projects whose files were damaged after they were saved, through the
// program's own windows: four clips (one an MP4 with its index first) and a
// photo slideshow with music imported through the title list, page music, a
// real save; then a copy of the saved folder has one source deleted, cut
// short (its index lost or, at the front, kept), replaced with garbage or
// made unreadable, its photos deleted or its music damaged, and is opened
// again and produced through the burn settings sheet with the real tools.
// The open names the file in one sheet and marks its clip's row; production
// refuses before anything is made, naming the file, and leaves no output
// that could pass for a disc. The intact project still makes a disc with
// every title the list shows.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "ChildTestRun.h"
#include "LaunchedShellTest.h"
#include "RoadRun.h"
#include "SavedProjectCopies.h"
#include "TestSupport.h"
#include "common/FileManagerExtention.h"
#include "listedit/MediaDataView.h"
#include "media/MediaItem.h"
#include "media/RenderItem.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "production/DVDTitleCount.h"
#include "shell/AppDelegate.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"
#include "shell/MainWindowController.h"
#include "shell/core/BurnSettingRules.h"

namespace {

// An MPEG transport stream still opens when cut short, only shorter.
const QStringList ClipNames{"alpha.mp4", "bravo.ts", "charlie.mp4", "delta.mp4"};

class DamagedProjectTest : public LaunchedShellTest {
protected:
    void SetUp() override
    {
        LaunchedShellTest::SetUp();
        AppDelegate::setProjectChooser(
            [this](AppDelegate::ProjectPanel, QWidget*) { return saveAnswer; });
        media = shell->folders.root() + "/media";
        out = shell->folders.root() + "/out";
        ASSERT_TRUE(QDir().mkpath(media));
        ASSERT_TRUE(QDir().mkpath(out));
    }
    void TearDown() override
    {
        AppDelegate::setProjectChooser(nullptr);
        LaunchedShellTest::TearDown();
    }

    AppDelegate* delegate() const { return shell->delegate.get(); }
    testsupport::RecordingAlertService& alerts() const { return *shell->services.alerts; }

    // The project of the header, saved as "Saved.brisane"; `copies` maps
    // what each damage needs to the file's path inside the saved folder.
    void buildAndSave()
    {
        QStringList clips;
        for (const QString& name : ClipNames) {
            clips << media + "/" + name;
            if (name == "delta.mp4") {
                // An MP4 with its index first: cut short, it still claims
                // its whole length.
                ASSERT_TRUE(testsupport::generateMedia(
                    clips.last(), {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1.2",
                                   "-f", "lavfi", "-i", "sine=frequency=440:duration=1.2",
                                   "-pix_fmt", "yuv420p", "-movflags", "+faststart"}));
                continue;
            }
            ASSERT_TRUE(testsupport::makeTestClip(clips.last(), 1.2));
        }
        QStringList photos;
        for (const QColor colour : {QColor(200, 40, 40), QColor(40, 40, 200)}) {
            QImage photo(320, 240, QImage::Format_RGB32);
            photo.fill(colour);
            photos << QString("%1/photo-%2.png").arg(media).arg(photos.size());
            ASSERT_TRUE(photo.save(photos.last()));
        }
        ASSERT_TRUE(testsupport::generateMedia(
            media + "/chime.wav", {"-f", "lavfi", "-i", "sine=frequency=880:duration=1"}));
        ASSERT_TRUE(testsupport::generateMedia(
            media + "/song.m4a",
            {"-f", "lavfi", "-i", "sine=frequency=440:duration=1.5", "-c:a", "aac"}));

        import(clips, &ListEditViewController::addVideoToListAction, 4);
        import(photos, &ListEditViewController::addPictureToListAction, 5);
        const auto sources = delegate()->dateResource()->sectionDataResourceArray();
        ASSERT_EQ(sources.size(), 5);
        const auto slideshow = sources.last()->imageSource();
        ASSERT_TRUE(slideshow);
        slideshow->setAudioItems({MediaItem::mediaItemWithPath(media + "/chime.wav")});
        const auto pages = delegate()->dvd()->pageArray();
        ASSERT_FALSE(pages.isEmpty());
        const auto music = MusicData::musicDataWithPath(media + "/song.m4a");
        ASSERT_TRUE(music && music->vcmovie());
        pages.first()->setMusic(music);
        pages.first()->setMenuDuration(1.5);

        saved = shell->folders.root() + "/Saved.brisane";
        saveAnswer = saved;
        delegate()->saveProjectAction();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !delegate()->isBusy(); }, 60000));
        ASSERT_TRUE(alerts().alerts.isEmpty()) << qPrintable(alerts().messages().join('|'));

        // Where each file lies in the saved folder, as the project reads it.
        for (qsizetype i = 0; i < ClipNames.size(); ++i) {
            copies[ClipNames[i]] = inSaved(sources[i]->fileSource()->path());
        }
        copies["photos"] = "slideshow-photo";
        copies["chime.wav"] = inSaved(slideshow->audioItems().first()->path());
        copies["song.m4a"] = inSaved(pages.first()->music()->fileSource()->path());
    }
    QString inSaved(const QString& path) const { return testsupport::pathInSaved(saved, path); }
    QString copyOfSaved(const QString& name) const
    {
        return testsupport::copyOfSaved(saved, shell->folders.root(), name);
    }

    // Opens `folder` as the desktop hands it over; answers the alerts it gave.
    QList<testsupport::RecordingAlertService::Shown> reopen(const QString& folder)
    {
        alerts().alerts.clear();
        EXPECT_TRUE(delegate()->AppDelegate::applicationOpenFile(folder));
        EXPECT_EQ(delegate()->existedProjectPath(), folder);
        return alerts().alerts;
    }

    // The clips of the open project, by source.
    QList<std::shared_ptr<MediaData>> openClips() const
    {
        QList<std::shared_ptr<MediaData>> clips;
        for (const auto& source : delegate()->dateResource()->sectionDataResourceArray()) {
            for (const auto& section : source->mediaSectionArray()) {
                clips << section->associatedMedia();
            }
        }
        return clips;
    }

    // Starts production of `kind` into the output folder from the burn
    // settings sheet, with room enough.
    std::optional<ProductionResult> produce(int kind, const QString& name)
    {
        BurnSettingWindow* sheet = shell->controller()->burnSettingWindow();
        sheet->setEstimateFunction([] { return qint64(1000); });
        sheet->setFreeSpaceFunction(
            [](const QString&) { return std::optional<qint64>(1LL << 40); });
        sheet->awakeDVDBurnSettingWindow();
        sheet->setSelectedDir(out);
        sheet->setBurnType(kind);
        sheet->dvdNameField()->setText(name);
        return testsupport::startAndWait(*sheet);
    }

    // Nothing of a run: no output, no work folders, no temporary DVD folder.
    void expectNothingMade() const
    {
        EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
        EXPECT_EQ(QDir(FileManagerExtention::tempUsedFileDirectory())
                      .entryList({"temp-[0-9]*"}, QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
        EXPECT_FALSE(
            QFileInfo::exists(FileManagerExtention::tempFileDirectory(BurnDVDCtrl::TmpDVDPathKey)));
    }

    // Opens the damaged copy and tries every file road: the open names
    // `named` in one sheet and marks the clips of `markedSources` (indexes
    // of the project's sources); production refuses, naming it too.
    void expectNamedAndRefused(const QString& copy, const QString& named,
                               const QList<int>& markedSources)
    {
        const auto opened = reopen(copy);
        ASSERT_EQ(opened.size(), 1);
        EXPECT_TRUE(opened[0].content.message.contains("missing or cannot be read"))
            << qPrintable(opened[0].content.message);
        EXPECT_TRUE(opened[0].content.informativeText.contains(named))
            << qPrintable(opened[0].content.informativeText);
        EXPECT_TRUE(opened[0].content.informativeText.contains(copy))
            << qPrintable(opened[0].content.informativeText);
        const auto sources = delegate()->dateResource()->sectionDataResourceArray();
        ASSERT_EQ(sources.size(), 5);
        for (int i = 0; i < sources.size(); ++i) {
            for (const auto& section : sources[i]->mediaSectionArray()) {
                const auto clip = section->associatedMedia();
                ASSERT_TRUE(clip);
                const bool marked = markedSources.contains(i);
                EXPECT_EQ(!clip->missingSource().isEmpty(), marked) << "source " << i;
                const auto* row = dynamic_cast<MediaDataView*>(clip->mediaDataView());
                ASSERT_NE(row, nullptr);
                EXPECT_EQ(row->isSourceMissingShown(), marked) << "source " << i;
            }
        }
        for (int kind : {BurnSettingRules::BurnFolder, BurnSettingRules::BurnIso}) {
            alerts().alerts.clear();
            const auto result = produce(kind, "Damaged");
            ASSERT_TRUE(result.has_value()) << kind;
            EXPECT_TRUE(result->isFailed()) << qPrintable(result->toString());
            EXPECT_TRUE(result->reason().contains(named)) << qPrintable(result->reason());
            ASSERT_EQ(alerts().alerts.size(), 1) << kind;
            EXPECT_EQ(alerts().alerts[0].content.message, "DVD Make Failed");
            EXPECT_TRUE(alerts().alerts[0].content.informativeText.contains(named))
                << qPrintable(alerts().alerts[0].content.informativeText);
            expectNothingMade();
        }
        EXPECT_TRUE(shell->services.reveal->revealed.isEmpty());
    }

    QString media;
    QString out;
    QString saved;
    QString saveAnswer;
    QMap<QString, QString> copies;
};

TEST_F(DamagedProjectTest, DamagedSourcesAreNamedOnOpenAndRefusedByProduction)
{
    buildAndSave();
    ASSERT_FALSE(HasFatalFailure());

    // The intact project opens without a word and makes a disc of every
    // title the list shows: four clips and the slideshow.
    const QString intact = copyOfSaved("Intact");
    EXPECT_TRUE(reopen(intact).isEmpty()) << qPrintable(alerts().messages().join('|'));
    for (const auto& clip : openClips()) {
        EXPECT_TRUE(clip->missingSource().isEmpty()) << qPrintable(clip->missingSource());
    }
    const auto made = produce(BurnSettingRules::BurnFolder, "Intact");
    ASSERT_TRUE(made.has_value());
    ASSERT_TRUE(made->isSucceeded()) << qPrintable(made->toString());
    EXPECT_EQ(DVDTitleCount::titleCountAtPath(out + "/Intact"), 5);
    ASSERT_TRUE(QDir(out + "/Intact").removeRecursively());
    shell->services.reveal->revealed.clear();

    struct Case {
        const char* name;
        QString file;  // the key of `copies`, and the name the messages give
        std::function<bool(const QString& path)> damage;
        QList<int> marked;
    };
    const QList<Case> cases{
        {"deleted video", "alpha.mp4", [](const QString& p) { return QFile::remove(p); }, {0}},
        {"truncated video",
         "bravo.ts",
         [](const QString& p) { return QFile::resize(p, QFileInfo(p).size() / 2); },
         {1}},
        {"truncated video without its index",
         "charlie.mp4",
         [](const QString& p) { return QFile::resize(p, QFileInfo(p).size() / 2); },
         {2}},
        {"truncated video with its index first",
         "delta.mp4",
         [](const QString& p) { return QFile::resize(p, QFileInfo(p).size() / 2); },
         {3}},
        {"video replaced by garbage",
         "charlie.mp4",
         [](const QString& p) { return testsupport::overwriteWithGarbage(p, QFileInfo(p).size()); },
         {2}},
        {"slideshow photos deleted",
         "photos",
         [](const QString& p) { return QDir(p).removeRecursively(); },
         {4}},
        {"slideshow music damaged",
         "chime.wav",
         [](const QString& p) { return QFile::resize(p, 40); },
         {4}},
        {"page music replaced by garbage",
         "song.m4a",
         [](const QString& p) { return testsupport::overwriteWithGarbage(p, 4000); },
         {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString copy = copyOfSaved(QString("Damaged-%1").arg(n++));
        const QString damaged = copy + "/" + copies.value(c.file);
        ASSERT_TRUE(c.damage(damaged));
        // Photos are named by their file in the project's photo folder.
        const QString named = c.file == "photos" ? damaged : c.file;
        expectNamedAndRefused(copy, named, c.marked);
        if (HasFatalFailure()) {
            return;
        }
        if (c.file == "alpha.mp4") {
            // How the list marks the clip whose file is gone.
            MainWindowController* controller = shell->controller();
            controller->showWindow();
            controller->window()->resize(1024, 720);
            QCoreApplication::processEvents();
            testsupport::writeArtifact(controller->window()->grab().toImage(),
                                       "damaged-project-list.png");
        }
    }
}

// A source the user may not read; the superuser reads everything, so as root
// the case runs again as "nobody".
TEST_F(DamagedProjectTest, UnreadableSourceIsNamedOnOpenAndRefusedByProduction)
{
    if (::geteuid() == 0) {
        testsupport::rerunUnprivileged(
            "DamagedProjectTest.UnreadableSourceIsNamedOnOpenAndRefusedByProduction");
        return;
    }
    buildAndSave();
    ASSERT_FALSE(HasFatalFailure());
    const QString copy = copyOfSaved("Unreadable");
    const QString damaged = copy + "/" + copies.value("delta.mp4");
    ASSERT_EQ(::chmod(QFile::encodeName(damaged).constData(), 0), 0);
    expectNamedAndRefused(copy, "delta.mp4", {3});
    ::chmod(QFile::encodeName(damaged).constData(), 0644);
}

}  // namespace
