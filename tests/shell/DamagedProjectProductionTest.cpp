// Damaged projects produced through the production workflow itself, without
// the burn sheet. A project of three clips (an MP4 with its index first, a
// Matroska file and an MPEG program stream), a photo slideshow with MP3
// music, page music (an M4A with its index first) and a subtitle on the
// first clip is built with the application's objects and saved through the
// project document. A copy of the saved folder then has one file damaged
// (deleted, cut at half or at 90 % of its bytes, replaced with garbage, a
// named pipe, a folder or a link to /dev/zero, or the whole "dvd-file"
// folder gone) and is opened again: the open's check names the file, and the
// workflow, given the disc model of the reopened project, fails naming it
// too, before anything is made (no DVD folder, no work folder, no tool run).
// The intact copy makes a disc of every title.

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DiscProjectFixture.h"
#include "DiscReadBack.h"
#include "media/SubtitleFileOpener.h"
#include "model/DVDFileSource.h"
#include "model/ProjectSourceCheck.h"
#include "shell/core/ProjectDocument.h"

using namespace discproject;
using namespace discreadback;

namespace {

// Seconds of each clip and sound: cut at 90 %, a file misses more than the
// check lets pass, also where a program stream carries its sound half a
// second ahead of its pictures.
constexpr double Length = 10.0;

class DamagedProjectProduction : public DiscProjectTest {
protected:
    // The project of the header, saved as "Saved.brisane" in `dir`; `files`
    // maps each source's name to its path inside the saved folder.
    void buildAndSave(const QString& dir)
    {
        const QString duration = QString::number(Length);
        const QStringList picture{"-f", "lavfi", "-i",
                                  "testsrc=size=160x120:rate=25:duration=" + duration};
        const QStringList tone{"-f", "lavfi", "-i", "sine=frequency=440:duration=" + duration};
        ASSERT_TRUE(testsupport::generateMedia(
            dir + "/alpha.mp4",
            picture + tone + QStringList{"-pix_fmt", "yuv420p", "-movflags", "+faststart"}));
        ASSERT_TRUE(testsupport::generateMedia(
            dir + "/bravo.mkv", picture + tone + QStringList{"-pix_fmt", "yuv420p"}));
        ASSERT_TRUE(testsupport::generateMedia(
            dir + "/charlie.mpg",
            picture + tone + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpeg"}));
        ASSERT_TRUE(testsupport::generateMedia(dir + "/song.mp3", tone));
        ASSERT_TRUE(testsupport::generateMedia(
            dir + "/tune.m4a", tone + QStringList{"-c:a", "aac", "-movflags", "+faststart"}));
        const QString cue = dir + "/cue.srt";
        QFile subtitle(cue);
        ASSERT_TRUE(subtitle.open(QIODevice::WriteOnly));
        subtitle.write("1\n00:00:01,000 --> 00:00:02,000\nHello\n\n");
        subtitle.close();

        roots.media = std::make_shared<DataResource>();
        roots.disc = services->disc;
        auto list = std::make_shared<DVDPageData>();
        roots.media->addDvdPageToArray(list);
        for (const char* name : {"alpha.mp4", "bravo.mkv", "charlie.mpg"}) {
            const auto source = SectionDataResource::resourceWithPath(dir + "/" + name);
            ASSERT_TRUE(source) << name;
            roots.media->addSectionDataResourceToArray(source);
            const auto made = clip(source, 0.0, Length);
            ASSERT_TRUE(made) << name;
            title(list, {made});
        }
        // Music as the slideshow's music line adds it: its whole length kept.
        const auto slides = slideshow(dir, {Qt::red, Qt::blue}, 1.5, "");
        ASSERT_TRUE(slides && slides->imageSource());
        const auto song = MediaItem::itemWithPath(dir + "/song.mp3");
        ASSERT_TRUE(song);
        slides->imageSource()->setAudioItems({song});
        roots.media->addSectionDataResourceToArray(slides);
        title(list, {clip(slides, 0.0, slides->imageSource()->slideshowDuration())});

        const auto first = roots.media->sectionDataResourceArray()
                               .first()
                               ->mediaSectionArray()
                               .first()
                               ->associatedMedia();
        ASSERT_TRUE(SubtitleFileOpener::openSubtitlePath(*first->vcmovie(), cue).hasSubtitle);

        DiscSideRebuild(roots.media, roots.disc).flushDVDResourceBeforeEdit();
        const auto page = list->menuPage();
        ASSERT_TRUE(page);
        page->setMenuDuration(1.0);
        const auto music = MusicData::musicDataWithPath(dir + "/tune.m4a");
        ASSERT_TRUE(music && music->vcmovie());
        page->setMusic(music);

        saved = dir + "/Saved.brisane";
        QString error;
        ASSERT_TRUE(ProjectDocument::saveAndReplace(roots, saved, &error)) << qPrintable(error);
        ProjectDocument::loadFileSourceWithProject(roots, saved);

        const auto sources = roots.media->sectionDataResourceArray();
        for (const auto& source : sources) {
            if (const auto file = source->fileSource()) {
                files[file->originName() + "." + QFileInfo(file->path()).suffix()] = file->path();
            }
        }
        const auto show = sources.last()->imageSource();
        files["photo"] = show->mtAryPhotoItems().first()->strImagePath();
        files["song.mp3"] = show->audioItems().first()->path();
        files["tune.m4a"] = page->music()->fileSource()->path();
        files["cue.srt"] = first->subtitleFileSource()->path();
        files["dvd-file"] = saved + "/" + DVDFileSource::FolderName;
        for (const QString& path : files) {
            ASSERT_TRUE(path.startsWith(saved + "/")) << qPrintable(path);
            ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path);
        }
    }

    // A copy of the saved folder (no links into it) named `name`, and where
    // the file `key` lies in it.
    QString copyOfSaved(const QString& name, const QString& key, QString* copy) const
    {
        *copy = QFileInfo(saved).absolutePath() + "/" + name + ".brisane";
        EXPECT_EQ(testsupport::runProgram("cp", {"-a", saved, *copy}), 0);
        return *copy + files.value(key).mid(saved.size());
    }

    static ProjectRoots reopen(const QString& folder)
    {
        QString error;
        const auto opened = ProjectDocument::loadDocumentAtPath(folder, &error);
        EXPECT_TRUE(opened) << qPrintable(error);
        return opened.value_or(ProjectRoots{});
    }

    ProjectRoots roots;
    QString saved;
    QMap<QString, QString> files;
};

bool cutTo(const QString& path, int percent)
{
    return QFile::resize(path, QFileInfo(path).size() * percent / 100);
}

bool replaceWith(const QString& path, const std::function<bool(const QByteArray&)>& make)
{
    return QFile::remove(path) && make(QFile::encodeName(path));
}

TEST_F(DamagedProjectProduction, TheWorkflowRefusesEveryDamagedSourceBeforeMakingAnything)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    buildAndSave(dir.path());
    ASSERT_FALSE(HasFatalFailure());

    // The intact copy opens without a word and makes a disc of all four titles.
    QString intact;
    copyOfSaved("Intact", "alpha.mp4", &intact);
    const ProjectRoots whole = reopen(intact);
    ASSERT_TRUE(whole.disc);
    EXPECT_EQ(ProjectSourceCheck::describe(ProjectSourceCheck::missingSources(whole)), "");
    const QString made = folders.home() + "/Movies/Intact";
    {
        BurnDVDWorkflow flow;
        const auto disc = DiscModelBuilder(whole.disc).getDVDObj();
        const ProductionResult result = runProduction(flow, [&] { return flow.make(disc, made); });
        ASSERT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    }
    const ReadBack read = readBack(made);
    EXPECT_EQ(read.chapters, (QList<int>{1, 1, 1, 1}));
    ASSERT_EQ(read.titleSeconds.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(read.titleSeconds[i], Length, 0.3) << "title " << i + 1;
    }

    struct Case {
        const char* name;
        QString file;   // the key of `files`
        QString named;  // what the messages call it; empty: the damaged file's path
        std::function<bool(const QString& path)> damage;
    };
    const auto remove = [](const QString& p) { return QFile::remove(p); };
    const auto half = [](const QString& p) { return cutTo(p, 50); };
    const auto mostly = [](const QString& p) { return cutTo(p, 90); };
    const QList<Case> cases{
        {"clip deleted", "alpha.mp4", "alpha.mp4", remove},
        {"MP4 with its index first cut at half", "alpha.mp4", "alpha.mp4", half},
        {"MP4 with its index first cut at 90 %", "alpha.mp4", "alpha.mp4", mostly},
        {"Matroska clip cut at half", "bravo.mkv", "bravo.mkv", half},
        {"Matroska clip cut at 90 %", "bravo.mkv", "bravo.mkv", mostly},
        {"program stream cut at half", "charlie.mpg", "charlie.mpg", half},
        {"program stream cut at 90 %", "charlie.mpg", "charlie.mpg", mostly},
        {"clip replaced by garbage", "bravo.mkv", "bravo.mkv",
         [](const QString& p) {
             return testsupport::overwriteWithGarbage(p, QFileInfo(p).size());
         }},
        {"clip replaced by a named pipe", "bravo.mkv", "bravo.mkv",
         [](const QString& p) {
             return replaceWith(p, [](const QByteArray& n) { return ::mkfifo(n, 0644) == 0; });
         }},
        {"clip replaced by a folder", "charlie.mpg", "charlie.mpg",
         [](const QString& p) { return QFile::remove(p) && QDir().mkdir(p); }},
        {"clip replaced by a link to /dev/zero", "alpha.mp4", "alpha.mp4",
         [](const QString& p) { return QFile::remove(p) && QFile::link("/dev/zero", p); }},
        {"photo deleted", "photo", "", remove},
        {"slideshow music deleted", "song.mp3", "song", remove},
        {"slideshow music (MP3) cut at half", "song.mp3", "song", half},
        {"slideshow music (MP3) cut at 90 %", "song.mp3", "song", mostly},
        {"page music deleted", "tune.m4a", "tune.m4a", remove},
        {"page music (M4A with its index first) cut at half", "tune.m4a", "tune.m4a", half},
        {"page music (M4A with its index first) cut at 90 %", "tune.m4a", "tune.m4a", mostly},
        {"subtitle deleted", "cue.srt", "cue.srt", remove},
        {"the dvd-file folder deleted", "dvd-file", "alpha.mp4",
         [](const QString& p) { return QDir(p).removeRecursively(); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString copy;
        const QString damaged = copyOfSaved(QString("Damaged-%1").arg(n++), c.file, &copy);
        ASSERT_TRUE(c.damage(damaged));
        const QString named = c.named.isEmpty() ? damaged : c.named;
        const ProjectRoots opened = reopen(copy);
        ASSERT_TRUE(opened.disc);
        const QString found =
            ProjectSourceCheck::describe(ProjectSourceCheck::missingSources(opened));
        EXPECT_TRUE(found.contains(named)) << qPrintable(found);

        const QString folder = folders.home() + "/Movies/" + QFileInfo(copy).baseName();
        const int toolRunsBefore = toolRuns().size();
        BurnDVDWorkflow flow;
        const auto disc = DiscModelBuilder(opened.disc).getDVDObj();
        const ProductionResult result =
            runProduction(flow, [&] { return flow.make(disc, folder); });
        EXPECT_TRUE(result.isFailed()) << qPrintable(result.toString());
        EXPECT_TRUE(result.reason().contains(named)) << qPrintable(result.reason());
        EXPECT_TRUE(result.reason().contains(copy)) << qPrintable(result.reason());
        EXPECT_FALSE(QFileInfo::exists(folder));
        EXPECT_EQ(toolRuns().size(), toolRunsBefore);
        EXPECT_TRUE(workFolders().isEmpty());
    }
}

}  // namespace
