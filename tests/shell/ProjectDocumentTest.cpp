// Project folders saved, re-saved and opened through the launched shell with
// a scripted chooser and recorded alerts: copies shared with their sources,
// the previous folder kept whole on any failure, refused loads, and the
// save-changes question's queued actions.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>

#include "ShellLaunch.h"
#include "TestSupport.h"
#include "common/ResourceLocator.h"
#include "lumenta/LMMediaTime.h"
#include "media/MediaItem.h"
#include "media/RenderItem.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "platform/KeyedArchiver.h"
#include "shell/AppDelegate.h"
#include "shell/ProjectDocument.h"

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

const qint64 quarterSecond = lm_default_time_base() / 4;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs one test of this executable again as the unprivileged user "nobody",
// with scratch folders that user owns, and expects it to pass.
void rerunUnprivileged(const QString& test)
{
    QTemporaryDir scratch = testsupport::makeTempDir();
    ASSERT_TRUE(scratch.isValid());
    const QString home = scratch.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    const uid_t nobody = 65534;
    ASSERT_EQ(::chmod(QFile::encodeName(scratch.path()).constData(), 0755), 0);
    ASSERT_EQ(::chown(QFile::encodeName(home).constData(), nobody, nobody), 0);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"BRISANE_TEST_TMP", "HOME", "TMPDIR"}) {
        environment.insert(name, home);
    }
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        environment.remove(name);
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                            QCoreApplication::applicationFilePath(), "--gtest_filter=" + test});
    ASSERT_TRUE(child.waitForStarted()) << "setpriv (util-linux) is needed";
    ASSERT_TRUE(child.waitForFinished(180000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

class ProjectDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::setProjectChooser([this](AppDelegate::ProjectPanel panel, QWidget*) {
            panels.append(panel);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void TearDown() override
    {
        AppDelegate::setProjectChooser(nullptr);
        ProjectDocument::setArchiveWriter(nullptr);
    }

    AppDelegate* delegate() const { return shell.delegate.get(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString picture(const QString& name, QColor colour) const
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path(name)));
        return path(name);
    }
    void waitIdle() const { QTRY_VERIFY_WITH_TIMEOUT(!shell.delegate->isBusy(), 60000); }

    // Saves through the Save command into `folder` and waits for the end.
    void save(const QString& folder)
    {
        answers.append(folder);
        delegate()->saveProjectAction();
        waitIdle();
    }

    // An imported clip and a two-photo slideshow in one title, page music.
    void buildProject()
    {
        ASSERT_TRUE(testsupport::makeTestClip(path("holiday.mp4"), 2.0));
        ASSERT_TRUE(testsupport::generateMedia(
            path("song.m4a"),
            {"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a", "aac"}));
        auto media = delegate()->dateResource();
        auto page = std::make_shared<DVDPageData>();
        auto title = std::make_shared<DVDTitleData>();
        title->setSuperPage(page);
        page->titleDataArray().append(title);
        media->addDvdPageToArray(page);
        for (const auto& source :
             {SectionDataResource::resourceWithPath(path("holiday.mp4")),
              SectionDataResource::resourceWithImagePaths(
                  {picture("p1.png", Qt::red), picture("p2.png", Qt::blue)})}) {
            ASSERT_TRUE(source);
            const auto section = source->createMediaSectionItem();
            ASSERT_TRUE(section);
            source->mediaSectionArray().append(section);
            media->addSectionDataResourceToArray(source);
            const auto made = section->createMediaData();
            ASSERT_TRUE(made);
            made->flushSuperTitleData(title);
            title->mediaDataArray().append(made);
        }
        const auto show = media->sectionDataResourceArray().last()->imageSource();
        ASSERT_TRUE(show);
        ASSERT_TRUE(testsupport::generateMedia(
            path("tune.m4a"),
            {"-f", "lavfi", "-i", "sine=frequency=660:duration=2", "-c:a", "aac"}));
        show->setAudioItems({MediaItem::mediaItemWithPath(path("tune.m4a"))});
        auto button = CustomButtonImageResource::createCustomButtonResourceWithPath(
            picture("b.png", Qt::magenta));
        ASSERT_TRUE(button);
        delegate()->dvd()->setCustomButtonImageResourceArray({button});
        auto clip = title->mediaDataArray().first();
        clip->vcmovie()->setTrimStart(quarterSecond);
        auto menu = std::make_shared<DVDPage>();
        menu->setMedia(page);
        page->setMenuPage(menu);
        // A play button shown as text and a title picture from a file of
        // its own: edits the load must bring back whatever order the keys
        // come in.
        auto play = std::make_shared<DVDPageItem>();
        play->setType(11);
        play->setButtonUseType(1);
        auto picture = std::make_shared<DVDPageItem>();
        picture->setTitleLocalImage(QImage(path("p2.png")));
        picture->setTitleUseImageFrom(2);
        menu->setItemArray({play, picture});
        auto music = MusicData::musicDataWithPath(path("song.m4a"));
        ASSERT_TRUE(music);
        menu->setMusic(music);
        delegate()->dvd()->setPageArray({menu});
        shell.controller()->setDocumentEdited(true);
    }

    // Saves an empty project into `name`, then changes it unsaved.
    QString savedThenChanged(const QString& name)
    {
        const QString folder = path(name);
        save(folder);
        original = readAll(folder + "/project.data");
        EXPECT_FALSE(original.isEmpty());
        delegate()->dvd()->setPageArray({std::make_shared<DVDPage>()});
        return folder;
    }

    // A save that must fail: the folder keeps its bytes and is alone, the
    // mark stays, and one alert names the folder.
    void expectFailedSaveKeeps(const QString& folder)
    {
        shell.services.alerts->alerts.clear();
        shell.controller()->setDocumentEdited(true);
        delegate()->saveProjectAction();
        waitIdle();
        EXPECT_EQ(readAll(folder + "/project.data"), original);
        EXPECT_TRUE(shell.controller()->isDocumentEdited());
        ASSERT_EQ(shell.services.alerts->alerts.size(), 1);
        EXPECT_TRUE(shell.services.alerts->messages().first().contains(folder));
        const QString name = QFileInfo(folder).completeBaseName();
        EXPECT_EQ(QDir(dir.path())
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                      .filter(name)
                      .size(),
                  1);
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    testsupport::ShellLaunch shell;
    QStringList answers;
    QList<AppDelegate::ProjectPanel> panels;
    QByteArray original;
};

TEST_F(ProjectDocumentTest, RoundTripKeepsLinkedCopiesAndEdits)
{
    buildProject();
    const QString folder = path("Holiday.brisane");
    save(folder);
    ASSERT_TRUE(shell.services.alerts->alerts.isEmpty())
        << shell.services.alerts->messages().join("|").toStdString();
    EXPECT_FALSE(shell.controller()->isDocumentEdited());
    EXPECT_EQ(delegate()->existedProjectPath(), folder);
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Holiday"));
    for (const char* entry : {"project.data", "dvd-file", "slideshow-photo", "slideshow-audio"}) {
        EXPECT_TRUE(QFileInfo::exists(folder + "/" + entry)) << entry;
    }
    const auto source = delegate()->dateResource()->sectionDataResourceArray().first();
    EXPECT_TRUE(source->fileSource()->path().startsWith(folder + "/dvd-file/"));
    EXPECT_EQ(inodeOf(source->fileSource()->path()), inodeOf(path("holiday.mp4")));
    const auto button = std::dynamic_pointer_cast<CustomButtonImageResource>(
        delegate()->dvd()->customButtonImageResourceArray().first());
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->fileSource()->path().startsWith(folder + "/dvd-file/"));
    EXPECT_EQ(inodeOf(button->fileSource()->path()), inodeOf(path("b.png")));
    const auto music = delegate()->dvd()->pageArray().first()->music();
    EXPECT_TRUE(music->fileSource()->path().startsWith(folder + "/dvd-file/"));

    // Saved again: a complete new folder the sources point into.
    shell.controller()->setDocumentEdited(true);
    const ino_t before = inodeOf(folder);
    delegate()->saveProjectAction();
    waitIdle();
    EXPECT_TRUE(shell.services.alerts->alerts.isEmpty());
    EXPECT_NE(inodeOf(folder), before);
    EXPECT_EQ(inodeOf(source->fileSource()->path()), inodeOf(path("holiday.mp4")));
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .filter("Holiday")
                  .size(),
              1);

    // Reopened from the desktop, over an edited project, without a question.
    delegate()->openNewProject();
    shell.controller()->setDocumentEdited(true);
    QFile::remove(path("holiday.mp4"));
    EXPECT_TRUE(delegate()->AppDelegate::applicationOpenFile(folder + "/project.data"));
    EXPECT_TRUE(shell.services.alerts->alerts.isEmpty());
    EXPECT_FALSE(shell.controller()->isDocumentEdited());
    EXPECT_EQ(delegate()->existedProjectPath(), folder);
    const auto back = delegate()->dateResource();
    ASSERT_EQ(back->sectionDataResourceArray().size(), 2);
    const auto clip =
        back->sectionDataResourceArray().first()->mediaSectionArray().first()->associatedMedia();
    ASSERT_TRUE(clip && clip->vcmovie());
    EXPECT_EQ(clip->vcmovie()->trimStart(), quarterSecond);
    EXPECT_TRUE(back->sectionDataResourceArray().first()->fileSource()->path().startsWith(folder));
    const auto items = delegate()->dvd()->pageArray().first()->itemArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->useTextSource());
    EXPECT_TRUE(items[1]->useStaticImage());
    EXPECT_EQ(items[1]->menuStaticImage().pixelColor(4, 4), QColor(Qt::blue));
}

TEST_F(ProjectDocumentTest, EmptyProjectHoldsOnlyItsArchiveAndNewIsUntitled)
{
    delegate()->openNewProject();
    EXPECT_EQ(shell.factory->listEdit->count("addMenuPageToArray"), 1);
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Untitled"));
    const QString folder = path("Empty.brisane");
    save(folder);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"project.data"});
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Empty"));
}

TEST_F(ProjectDocumentTest, SaveInNewsQuestionSavesFirst)
{
    shell.controller()->setDocumentEdited(true);
    delegate()->openNewProjectAction();
    ASSERT_EQ(shell.services.alerts->alerts.size(), 1);
    EXPECT_EQ(shell.services.alerts->messages().first(),
              "Do you want to save the changes made to the document?");
    const int pagesBefore = shell.factory->listEdit->count("addMenuPageToArray");
    answers.append(path("First.brisane"));
    shell.services.alerts->endSheet(0, AlertService::DefaultReturn);
    QTRY_VERIFY(panels.size() == 1);
    waitIdle();
    EXPECT_TRUE(QFileInfo::exists(path("First.brisane/project.data")));
    EXPECT_EQ(shell.factory->listEdit->count("addMenuPageToArray"), pagesBefore + 1);
    EXPECT_FALSE(delegate()->isExistedProject());
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Untitled"));
}

TEST_F(ProjectDocumentTest, CancelledSavePanelLeavesNothingPending)
{
    shell.controller()->setDocumentEdited(true);
    delegate()->openNewProjectAction();
    shell.services.alerts->endSheet(0, AlertService::DefaultReturn);
    QTRY_VERIFY(panels.size() == 1);  // answered empty: cancelled
    EXPECT_FALSE(delegate()->openNewAfterSave());
    const int pages = shell.factory->listEdit->count("addMenuPageToArray");
    save(path("Later.brisane"));
    EXPECT_EQ(shell.factory->listEdit->count("addMenuPageToArray"), pages);
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Later"));
}

TEST_F(ProjectDocumentTest, FailedSaveKeepsThePreviousFolderAndTheMark)
{
    const QString folder = savedThenChanged("Kept.brisane");
    struct Case {
        const char* name;
        ProjectDocument::ArchiveWriter writer;
    };
    const std::vector<Case> cases{
        {"archive write fails", [](const QString&, const QByteArray&) { return false; }},
        {"archive written damaged",
         [](const QString& p, const QByteArray& data) {
             QFile file(p);
             return file.open(QIODevice::WriteOnly) && file.write(data.left(data.size() / 3)) > 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectDocument::setArchiveWriter(c.writer);
        expectFailedSaveKeeps(folder);
        ProjectDocument::setArchiveWriter(nullptr);
    }
}

TEST_F(ProjectDocumentTest, UnwritableParentKeepsThePreviousFolderAndTheMark)
{
    if (::geteuid() == 0) {
        // Permissions do not bind the superuser: run this case again in a
        // child that has given up its privileges.
        rerunUnprivileged("ProjectDocumentTest.UnwritableParentKeepsThePreviousFolderAndTheMark");
        return;
    }
    const QString folder = savedThenChanged("Kept.brisane");
    const QByteArray parent = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(parent.constData(), 0555), 0);
    expectFailedSaveKeeps(folder);
    ::chmod(parent.constData(), 0755);
}

TEST_F(ProjectDocumentTest, BrokenProjectsAreRefusedAndTheOpenOneKept)
{
    const QString good = path("Good.brisane");
    save(good);
    const auto media = delegate()->dateResource();
    const QString bad = path("Bad.brisane");
    ASSERT_TRUE(QDir().mkpath(bad));
    const QByteArray whole = readAll(good + "/project.data");
    Value::Dictionary swapped;
    swapped.insert("DataResourceData", Value(delegate()->dvd()));
    swapped.insert("DVDData", Value(delegate()->dateResource()));
    const std::vector<std::pair<const char*, QByteArray>> cases{
        {"missing", {}},
        {"truncated", whole.left(whole.size() / 2)},
        {"wrong classes", KeyedArchiver::archivedData(Value(swapped))},
    };
    for (const auto& [name, data] : cases) {
        SCOPED_TRACE(name);
        shell.services.alerts->alerts.clear();
        QFile::remove(bad + "/project.data");
        if (!data.isEmpty()) {
            QFile file(bad + "/project.data");
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(data);
        }
        delegate()->AppDelegate::applicationOpenFile(bad);
        EXPECT_EQ(shell.services.alerts->alerts.size(), 1);
        EXPECT_EQ(delegate()->dateResource(), media);
        EXPECT_EQ(delegate()->existedProjectPath(), good);
        // The panel road refuses it the same way.
        answers.append(bad);
        delegate()->openExistProject();
        waitIdle();
        EXPECT_EQ(shell.services.alerts->alerts.size(), 2);
        EXPECT_EQ(delegate()->dateResource(), media);
        EXPECT_TRUE(shell.window()->isEnabled());
    }
}

TEST_F(ProjectDocumentTest, PanelLoadHoldsTheWindowUntilInstalled)
{
    const QString folder = path("Panel.brisane");
    save(folder);
    delegate()->openNewProject();
    answers.append(folder);
    delegate()->openExistProject();
    EXPECT_TRUE(delegate()->isBusy());
    EXPECT_FALSE(shell.window()->isEnabled());
    delegate()->openNewProjectAction();  // refused while loading
    waitIdle();
    EXPECT_TRUE(shell.window()->isEnabled());
    EXPECT_EQ(delegate()->existedProjectPath(), folder);
    EXPECT_TRUE(shell.window()->windowTitle().startsWith("Panel"));
}

TEST_F(ProjectDocumentTest, HelpMenuOpensUserCopiesOfBothManuals)
{
    // Both manuals are built beside the executable.
    const QString folder = AppDelegate::helpDocumentFolder();
    EXPECT_TRUE(folder.startsWith(shell.folders.root())) << folder.toStdString();
    const QStringList names = {"Brisane Help.pdf", "Orvella Help.pdf"};
    for (const QString& name : names) {
        ASSERT_TRUE(QFileInfo::exists(ResourceLocator::resourcePath(name))) << name.toStdString();
    }
    // Someone else's file under the fixed name in the shared temporary
    // folder is never opened.
    const QString planted = QDir(QDir::tempPath()).filePath(names[0]);
    {
        QFile file(planted);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("planted");
    }
    QStringList opened;
    AppDelegate::setDocumentOpener([&opened](const QString& p) { opened.append(p); });
    shell.menuItem("help:")->trigger();
    shell.menuItem("help2:")->trigger();
    const QStringList copies = {QDir(folder).filePath(names[0]), QDir(folder).filePath(names[1])};
    EXPECT_EQ(opened, copies);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(readAll(copies[i]), readAll(ResourceLocator::resourcePath(names[i])));
        EXPECT_TRUE(readAll(copies[i]).startsWith("%PDF"));
    }
    // A second opening copies nothing: the copy is there.
    const auto stamp = QFileInfo(copies[0]).lastModified();
    shell.menuItem("help:")->trigger();
    EXPECT_EQ(opened.size(), 3);
    EXPECT_EQ(QFileInfo(copies[0]).lastModified(), stamp);
    EXPECT_EQ(readAll(planted), "planted");
    EXPECT_TRUE(shell.services.alerts->alerts.isEmpty());
    AppDelegate::setDocumentOpener(nullptr);
    QFile::remove(planted);
}

}  // namespace
