// Project folders saved, re-saved and opened through the launched shell with
// a scripted chooser and recorded alerts: copies shared with their sources,
// the previous folder kept whole on any failure, refused loads, and the
// save-changes question's queued actions.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <chrono>
#include <future>

#include "ChildTestRun.h"
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
#include "shell/core/ProjectDocument.h"

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
        testsupport::rerunUnprivileged(
            "ProjectDocumentTest.UnwritableParentKeepsThePreviousFolderAndTheMark");
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

// A "project.data" that is no regular file: a named pipe would block the
// load for ever behind the disabled window, a link to an endless device
// would fill memory. Both are refused at once with the reason, and the open
// project stays.
TEST_F(ProjectDocumentTest, ProjectDataThatIsNoFileIsRefusedAtOnce)
{
    const QString good = path("Good.brisane");
    save(good);
    const auto media = delegate()->dateResource();
    struct Case {
        const char* name;
        std::function<bool(const QByteArray& data)> make;
    };
    const std::vector<Case> cases{
        {"named pipe",
         [](const QByteArray& data) { return ::mkfifo(data.constData(), 0644) == 0; }},
        {"link to /dev/zero",
         [](const QByteArray& data) { return ::symlink("/dev/zero", data.constData()) == 0; }},
        {"link to /dev/urandom",
         [](const QByteArray& data) { return ::symlink("/dev/urandom", data.constData()) == 0; }},
    };
    int folder = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bad = path(QString("Bad%1.brisane").arg(folder++));
        ASSERT_TRUE(QDir().mkpath(bad));
        const QByteArray data = QFile::encodeName(bad + "/project.data");
        ASSERT_TRUE(c.make(data));

        // The reader itself, watched: a read that blocks is set free by a
        // writer and fails the test instead of hanging it.
        auto read = std::async(std::launch::async, [&bad] {
            QString error;
            const bool loaded = ProjectDocument::loadDocumentAtPath(bad, &error).has_value();
            return std::make_pair(loaded, error);
        });
        if (read.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the load blocks on " << c.name;
            const int writer = ::open(data.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) {
                ::close(writer);
            }
        }
        const auto [loaded, error] = read.get();
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(error.contains("not a regular file")) << qPrintable(error);

        // Both roads refuse it with that reason and keep the open project.
        shell.services.alerts->alerts.clear();
        delegate()->AppDelegate::applicationOpenFile(bad);
        answers.append(bad);
        delegate()->openExistProject();
        waitIdle();
        ASSERT_EQ(shell.services.alerts->alerts.size(), 2);
        for (const auto& shown : shell.services.alerts->alerts) {
            EXPECT_TRUE(shown.content.informativeText.contains("not a regular file"));
        }
        EXPECT_EQ(delegate()->dateResource(), media);
        EXPECT_EQ(delegate()->existedProjectPath(), good);
        EXPECT_TRUE(shell.window()->isEnabled());
    }
}

// Files below `folder`, hidden ones too.
QStringList entriesBelow(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries << it.next().mid(folder.size() + 1);
    }
    entries.sort();
    return entries;
}

// Bytes the files below `folder` take.
qint64 bytesBelow(const QString& folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

// A failed write into an existing folder takes away everything it wrote
// there: the copies already made stay, the new ones go.
TEST_F(ProjectDocumentTest, FailedWriteIntoAFolderLeavesItAsItWas)
{
    buildProject();
    const QString folder = path("Existing");
    ASSERT_TRUE(QDir().mkpath(folder + "/dvd-file"));
    QFile mine(folder + "/dvd-file/notes.txt");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("kept");
    mine.close();
    const QStringList before = entriesBelow(folder);
    ProjectDocument::setArchiveWriter([](const QString&, const QByteArray&) { return false; });
    QString error;
    EXPECT_FALSE(ProjectDocument::saveDocumentAtPath(
        {delegate()->dateResource(), delegate()->dvd()}, folder, &error));
    EXPECT_TRUE(error.contains("project.data")) << qPrintable(error);
    EXPECT_EQ(entriesBelow(folder), before);

    // A folder the save made itself goes as a whole.
    EXPECT_FALSE(ProjectDocument::saveDocumentAtPath(
        {delegate()->dateResource(), delegate()->dvd()}, path("Made/Here"), &error));
    EXPECT_FALSE(QFileInfo::exists(path("Made/Here")));
}

// On a disk without room (a small tmpfs of the test's own), a save says the
// disk is full and how much room it needs, and leaves nothing: neither in a
// folder it writes into nor beside a previous project.
TEST_F(ProjectDocumentTest, FullDiskSaySoAndLeaveNothing)
{
    if (!testsupport::isOwnMountsChild()) {
        testsupport::rerunWithOwnMounts("ProjectDocumentTest.FullDiskSaySoAndLeaveNothing");
        return;
    }
    buildProject();
    const ProjectRoots roots{delegate()->dateResource(), delegate()->dvd()};
    // What the project takes where it fits, then a disk of half that.
    const QString roomy = path("Roomy.brisane");
    QString error;
    ASSERT_TRUE(ProjectDocument::saveDocumentAtPath(roots, roomy, &error)) << qPrintable(error);
    const qint64 size = bytesBelow(roomy);
    ASSERT_GT(size, 64 * 1024);
    const QString disk = path("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    ASSERT_TRUE(testsupport::mountSmallTmpfs(disk, size / 2 / 4096 * 4096));

    // Into an existing folder on it.
    const QString existing = disk + "/Existing";
    ASSERT_TRUE(QDir().mkpath(existing));
    EXPECT_FALSE(ProjectDocument::saveDocumentAtPath(roots, existing, &error));
    EXPECT_TRUE(error.contains("The disk is full")) << qPrintable(error);
    EXPECT_TRUE(error.contains(" MB") || error.contains(" KB")) << qPrintable(error);
    EXPECT_EQ(entriesBelow(existing), QStringList());

    // The Save command onto it, over a previous project: an alert that says
    // so, the previous project whole and nothing beside it.
    shell.services.alerts->alerts.clear();
    delegate()->dvd()->setPageArray({});
    delegate()->dateResource()->setSectionDataResourceArray({});
    save(disk + "/Small.brisane");  // an empty project fits
    ASSERT_TRUE(shell.services.alerts->alerts.isEmpty());
    original = readAll(disk + "/Small.brisane/project.data");
    buildProject();
    shell.services.alerts->alerts.clear();
    delegate()->saveProjectAction();
    waitIdle();
    ASSERT_EQ(shell.services.alerts->alerts.size(), 1);
    const QString told = shell.services.alerts->alerts.first().content.informativeText;
    EXPECT_TRUE(told.contains("The disk is full")) << qPrintable(told);
    EXPECT_TRUE(told.contains("needs")) << qPrintable(told);
    EXPECT_EQ(readAll(disk + "/Small.brisane/project.data"), original);
    EXPECT_EQ(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"Existing", "Small.brisane"}));
    EXPECT_TRUE(shell.controller()->isDocumentEdited());
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
