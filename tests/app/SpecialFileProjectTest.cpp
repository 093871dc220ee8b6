// Special files in place of the files of a saved project: each kind of file
// a project keeps (a clip's video, a user's button picture, the page music,
// a clip's subtitle, a slideshow photo and its music, and the "dvd-file"
// folder itself) is replaced, in a copy of the saved folder, by a named pipe
// or by a link to /dev/zero. An open must neither wait for a writer that
// never comes nor read without end: the project document loads at once,
// the desktop's road opens the project, and the open panel's road, which
// holds the window while it loads, ends with the window enabled; both name
// the file in one sheet.
//
// A load that waits on a pipe is found by a watch that, once its patience
// is spent, fails the case and lets the reader go; a load that reads a
// device without end meets the address-space limit the case runs under.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <chrono>
#include <functional>

#include "ChildTestRun.h"
#include "LaunchedShellTest.h"
#include "PipeWatch.h"
#include "SavedProjectCopies.h"
#include "TestSupport.h"
#include "media/MediaItem.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "media/SubtitleFileOpener.h"
#include "media/VCMovie.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindowController.h"
#include "shell/core/ProjectDocument.h"

namespace {

using namespace std::chrono_literals;

// Far more than a whole open of the small project takes, and far less than
// the case's time limit.
constexpr std::chrono::milliseconds Patience = 20s;
// What a case may take of the address space: several times what it needs.
constexpr qint64 AddressSpace = qint64(3) << 30;

struct Special {
    const char* name;
    std::function<bool(const QByteArray& path)> make;
};

const Special NamedPipe{"a named pipe",
                        [](const QByteArray& path) { return ::mkfifo(path, 0644) == 0; }};
const Special EndlessDevice{"a link to /dev/zero", [](const QByteArray& path) {
                                return ::symlink("/dev/zero", path) == 0;
                            }};

class SpecialFileProjectTest : public LaunchedShellTest {
protected:
    void SetUp() override
    {
        LaunchedShellTest::SetUp();
        AppDelegate::setProjectChooser([this](AppDelegate::ProjectPanel, QWidget*) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        media = shell->folders.root() + "/media";
        ASSERT_TRUE(QDir().mkpath(media));
    }
    void TearDown() override
    {
        AppDelegate::setProjectChooser(nullptr);
        LaunchedShellTest::TearDown();
    }

    AppDelegate* delegate() const { return shell->delegate.get(); }
    testsupport::RecordingAlertService& alerts() const { return *shell->services.alerts; }

    QString picture(const QString& name, const QColor& colour) const
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = media + "/" + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }

    // A clip with a subtitle and a two-photo slideshow with music imported
    // through the title list, page music and a play button showing a
    // picture of the user's; saved as "Saved.brisane". `files` maps each
    // kind of file to where the saved folder holds it.
    void buildAndSave()
    {
        const QString clip = media + "/alpha.mp4";
        ASSERT_TRUE(testsupport::makeTestClip(clip, 1.2));
        import({clip}, &ListEditViewController::addVideoToListAction, 1);
        import({picture("p1.png", Qt::red), picture("p2.png", Qt::blue)},
               &ListEditViewController::addPictureToListAction, 2);
        ASSERT_TRUE(testsupport::generateMedia(
            media + "/chime.wav", {"-f", "lavfi", "-i", "sine=frequency=880:duration=1"}));
        ASSERT_TRUE(testsupport::generateMedia(
            media + "/song.m4a",
            {"-f", "lavfi", "-i", "sine=frequency=440:duration=1.5", "-c:a", "aac"}));
        QFile srt(media + "/words.srt");
        ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:00,000 --> 00:00:01,000\nHello\n");
        srt.close();

        const auto sources = delegate()->dateResource()->sectionDataResourceArray();
        ASSERT_EQ(sources.size(), 2);
        const auto slideshow = sources.last()->imageSource();
        ASSERT_TRUE(slideshow);
        ASSERT_EQ(slideshow->mtAryPhotoItems().size(), 2);
        slideshow->setAudioItems({MediaItem::mediaItemWithPath(media + "/chime.wav")});
        const auto video = sources.first()->mediaSectionArray().first()->associatedMedia();
        ASSERT_TRUE(video && video->vcmovie());
        ASSERT_TRUE(
            SubtitleFileOpener::openSubtitlePath(*video->vcmovie(), srt.fileName()).hasSubtitle);
        video->newMediaEditDic();

        const auto pages = delegate()->dvd()->pageArray();
        ASSERT_FALSE(pages.isEmpty());
        const auto page = pages.first();
        const auto music = MusicData::musicDataWithPath(media + "/song.m4a");
        ASSERT_TRUE(music && music->vcmovie());
        page->setMusic(music);
        const auto button = CustomButtonImageResource::createCustomButtonResourceWithPath(
            picture("button.png", Qt::magenta));
        button->setType(2);
        delegate()->dvd()->setCustomButtonImageResourceArray({button});
        auto play = std::make_shared<DVDPageItem>();
        play->setType(11);
        play->setFrame(QRectF(40, 40, 80, 60));
        play->setButtonResource(button);
        auto items = page->itemArray();
        items.append(play);
        page->setItemArray(items);

        saved = shell->folders.root() + "/Saved.brisane";
        answers.append(saved);
        delegate()->saveProjectAction();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !delegate()->isBusy(); }, 60000));
        ASSERT_TRUE(alerts().alerts.isEmpty()) << qPrintable(alerts().messages().join('|'));

        files["video"] = inSaved(sources.first()->fileSource()->path());
        files["subtitle"] = inSaved(video->subtitleFileSource()->path());
        files["photo"] = inSaved(slideshow->mtAryPhotoItems().first()->strImagePath());
        files["slideshow music"] = inSaved(slideshow->audioItems().first()->path());
        files["page music"] = inSaved(music->fileSource()->path());
        files["button picture"] = inSaved(button->fileSource()->path());
        files["source folder"] = DVDFileSource::FolderName;
    }
    QString inSaved(const QString& path) const { return testsupport::pathInSaved(saved, path); }
    QString copyOfSaved(const QString& name) const
    {
        return testsupport::copyOfSaved(saved, shell->folders.root(), name);
    }

    // The sheets of an open of `folder` through the desktop's road.
    QList<testsupport::RecordingAlertService::Shown> openFromDesktop(const QString& folder,
                                                                     const QString& special)
    {
        alerts().alerts.clear();
        {
            testsupport::PipeWatch watch(special, "the desktop's open", Patience);
            EXPECT_TRUE(delegate()->AppDelegate::applicationOpenFile(folder));
        }
        EXPECT_EQ(delegate()->existedProjectPath(), folder);
        return alerts().alerts;
    }

    // The sheets of an open of `folder` through the open panel's road, which
    // holds the window until the project is read.
    QList<testsupport::RecordingAlertService::Shown> openFromPanel(const QString& folder,
                                                                   const QString& special)
    {
        alerts().alerts.clear();
        answers.append(folder);
        {
            testsupport::PipeWatch watch(special, "the open panel's road", Patience);
            delegate()->openExistProject();
            EXPECT_TRUE(QTest::qWaitFor([this] { return !delegate()->isBusy(); },
                                        (Patience * 3 / 2).count()));
        }
        EXPECT_TRUE(shell->window()->isEnabled());
        EXPECT_EQ(delegate()->existedProjectPath(), folder);
        return alerts().alerts;
    }

    // The one sheet of an open: the project opened, and `named` is among the
    // files it says are missing or cannot be read.
    static void expectNamed(const QList<testsupport::RecordingAlertService::Shown>& shown,
                            const QString& named)
    {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].content.message.contains("missing or cannot be read"))
            << qPrintable(shown[0].content.message);
        EXPECT_TRUE(shown[0].content.informativeText.contains(named))
            << qPrintable(shown[0].content.informativeText);
    }

    // Every kind of file of the saved project replaced in turn by `special`,
    // each in its own copy, and opened on every road.
    void openEveryKindReplacedBy(const Special& special)
    {
        buildAndSave();
        ASSERT_FALSE(HasFatalFailure());
        // The intact project opens without a word, its button with its picture.
        EXPECT_TRUE(openFromDesktop(copyOfSaved("Intact"), QString()).isEmpty())
            << qPrintable(alerts().messages().join('|'));
        ASSERT_EQ(delegate()->dvd()->customButtonImageResourceArray().size(), 1);
        EXPECT_FALSE(delegate()->dvd()->customButtonImageResourceArray()[0]->image().isNull());

        int n = 0;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString& kind = it.key();
            SCOPED_TRACE(qPrintable(kind + " replaced by " + special.name));
            const QString copy = copyOfSaved(QString("Special-%1").arg(n++));
            const QString path = copy + "/" + it.value();
            if (QFileInfo(path).isDir()) {
                ASSERT_TRUE(QDir(path).removeRecursively());
            } else {
                ASSERT_TRUE(QFile::remove(path));
            }
            ASSERT_TRUE(special.make(QFile::encodeName(path)));

            {
                testsupport::PipeWatch watch(path, "the project document's load", Patience);
                QString error;
                EXPECT_TRUE(ProjectDocument::loadDocumentAtPath(copy, &error)) << qPrintable(error);
            }
            // A subtitle is not one of the files an open names; its clip
            // shows none.
            const bool named = kind != "subtitle";
            for (const auto& shown : {openFromDesktop(copy, path), openFromPanel(copy, path)}) {
                if (named) {
                    expectNamed(shown, path);
                }
            }
            if (!named) {
                const auto source = delegate()->dateResource()->sectionDataResourceArray().first();
                const auto clip = source->mediaSectionArray().first()->associatedMedia();
                ASSERT_TRUE(clip && clip->vcmovie() && clip->vcmovie()->movie());
                EXPECT_FALSE(clip->vcmovie()->movie()->hasSubtitle());
            }
        }
    }

    QString media;
    QString saved;
    QStringList answers;
    QMap<QString, QString> files;
};

// Runs the case again under the address-space limit, unless it is that run.
bool rerunLimited()
{
    if (testsupport::isMemoryLimitedChild()) {
        return false;
    }
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    testsupport::rerunWithMemoryLimit(QString("%1.%2").arg(info->test_suite_name(), info->name()),
                                      AddressSpace);
    return true;
}

}  // namespace

TEST_F(SpecialFileProjectTest, NamedPipeInPlaceOfAnyFileOpensAtOnceAndIsNamed)
{
    if (!rerunLimited()) {
        openEveryKindReplacedBy(NamedPipe);
    }
}

TEST_F(SpecialFileProjectTest, LinkToAnEndlessDeviceInPlaceOfAnyFileOpensAtOnceAndIsNamed)
{
    if (!rerunLimited()) {
        openEveryKindReplacedBy(EndlessDevice);
    }
}
