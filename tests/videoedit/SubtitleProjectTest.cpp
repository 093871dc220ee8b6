// A clip's subtitle kept with the project: two clips get a subtitle through
// the video edit sheet, a UTF-8 file with an "ü" under Automatic and a
// Windows-1252 file under "Western (ISO Latin 1)". The project is saved
// twice the way the program saves it (a fresh folder swapped in, the sources
// then pointed at their copies), the chosen files are deleted, and the
// project is opened again: each clip shows its subtitle from the copy in the
// project folder, read in the stored encoding (the sheet names it as it was
// chosen), and a disc made from the reopened clips shows the "ü" cue at 1.5 s and nothing at 3 s. A
// project whose clip snapshot lacks the subtitle keys, as projects saved before subtitles were
// kept, opens without subtitle and with its other edits. A subtitle whose
// file is deleted before the first save is kept from the clip's text.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "RecordingControllers.h"
#include "RecordingServices.h"
#include "SubtitleFixtures.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "VideoEditDiscSupport.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMDVD.h"
#include "model/DVDFileSource.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/ProjectSourceCheck.h"
#include "shell/core/ProjectDocument.h"
#include "videoedit/VideoEditSubtitleTab.h"
#include "videoedit/VideoEditWindowController.h"

using namespace videoedittest;
using namespace subtitlefixtures;

namespace {

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

// The clip of the project's `index`-th source.
std::shared_ptr<MediaData> clipOf(const ProjectRoots& roots, int index)
{
    const auto sources = roots.media->sectionDataResourceArray();
    if (index >= sources.size() || sources[index]->mediaSectionArray().isEmpty()) {
        return nullptr;
    }
    return sources[index]->mediaSectionArray().first()->associatedMedia();
}

QString shownText(const std::shared_ptr<MediaData>& clip)
{
    return clip->ffmovie()->subtitle().toString().value_or(QString());
}

class SubtitleProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        DVDToolLocator::setToolFolder(QString());
        ASSERT_TRUE(makeTwoToneClip(dir.filePath("clip.mp4"), 4.0));
        roots.media = std::make_shared<DataResource>();
        roots.disc = disc->disc;
        auto page = std::make_shared<DVDPageData>();
        title = std::make_shared<DVDTitleData>();
        title->setSuperPage(page);
        page->titleDataArray().append(title);
        roots.media->addDvdPageToArray(page);
    }

    // The clip file imported once more as a clip of the title.
    std::shared_ptr<MediaData> import()
    {
        const auto source = SectionDataResource::resourceWithPath(dir.filePath("clip.mp4"));
        EXPECT_TRUE(source);
        const auto section = source ? source->createMediaSectionItem() : nullptr;
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        source->mediaSectionArray().append(section);
        roots.media->addSectionDataResourceToArray(source);
        const auto clip = section->createMediaData();
        clip->flushSuperTitleData(title);
        title->mediaDataArray().append(clip);
        return clip;
    }

    // Chooses the encoding and then the file on the sheet's subtitle page.
    void chooseSubtitle(const std::shared_ptr<MediaData>& clip, const QString& path,
                        quint64 encoding)
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
        sheet.updateWindowWithMedia(clip);
        sheet.pause();
        sheet.segmentSelectChanged(3);
        VideoEditSubtitleTab& page = *sheet.subtitleTab();
        QComboBox* encodings = page.subtitleEncodingButton();
        emit encodings->activated(encodings->findData(QVariant::fromValue(encoding)));
        page.addSubtitlePathToList(path);
        QCoreApplication::processEvents();
        emit page.subtitlePathButton()->activated(page.subtitlePathButton()->count() - 1);
        EXPECT_TRUE(clip->ffmovie()->hasSubtitle()) << page.subtitleProblem().toStdString();
        sheet.doneVideoEdit();
    }

    // A save as the program makes it: the whole folder, then the sources
    // pointed at their copies.
    void save(const QString& folder)
    {
        QString error;
        ASSERT_TRUE(ProjectDocument::saveAndReplace(roots, folder, &error)) << error.toStdString();
        ProjectDocument::loadFileSourceWithProject(roots, folder);
    }

    ProjectRoots reopen(const QString& folder)
    {
        QString error;
        const auto opened = ProjectDocument::loadDocumentAtPath(folder, &error);
        EXPECT_TRUE(opened) << error.toStdString();
        return opened.value_or(ProjectRoots{});
    }

    testsupport::UserFolders folders;
    testsupport::InstalledServices services;
    QTemporaryDir dir = testsupport::makeTempDir();
    std::shared_ptr<PalWide> disc = std::make_shared<PalWide>();
    ProjectRoots roots;
    std::shared_ptr<DVDTitleData> title;
};

TEST_F(SubtitleProject, TheChosenSubtitleSurvivesSaveAndReopenAndReachesTheDisc)
{
    const QString umlaut = dir.filePath("umlaut.srt");
    ASSERT_TRUE(writeFile(umlaut, umlautText().toUtf8()));
    const QString western = dir.filePath("western.srt");
    ASSERT_TRUE(writeFile(western, encode(windows1252Text(), "WINDOWS-1252")));
    const auto first = import();
    const auto second = import();
    ASSERT_TRUE(first && second);
    chooseSubtitle(first, umlaut, SubtitleEncodings::kAutomatic);
    chooseSubtitle(second, western, SubtitleEncodings::kISOLatin1);
    ASSERT_EQ(shownText(first), umlautText());
    ASSERT_EQ(shownText(second), windows1252Text());

    const QString folder = dir.filePath("Subtitles.brisane");
    save(folder);
    for (const QString& chosen : {umlaut, western}) {
        const QString copy =
            folder + "/dvd-file/" + DVDFileSource::sourceWithPath(chosen)->savedFileName();
        EXPECT_TRUE(QFileInfo(copy).isFile()) << qPrintable(chosen);
        ASSERT_TRUE(QFile::remove(chosen));
    }
    save(folder);  // the chosen files are gone: the copies carry the subtitles

    const ProjectRoots back = reopen(folder);
    ASSERT_TRUE(back.media);
    const auto firstBack = clipOf(back, 0);
    const auto secondBack = clipOf(back, 1);
    ASSERT_TRUE(firstBack && firstBack->vcmovie() && secondBack && secondBack->vcmovie());
    for (const auto& clip : {firstBack, secondBack}) {
        const QString path = clip->vcmovie()->subtitlePath();
        EXPECT_TRUE(path.startsWith(folder + "/dvd-file/")) << qPrintable(path);
        EXPECT_TRUE(QFileInfo(path).isFile());
        EXPECT_TRUE(clip->ffmovie()->hasSubtitle());
    }
    EXPECT_EQ(firstBack->vcmovie()->subtitleEncoding(), SubtitleEncodings::kAutomatic);
    EXPECT_EQ(secondBack->vcmovie()->subtitleEncoding(), SubtitleEncodings::kISOLatin1);
    EXPECT_EQ(shownText(firstBack), umlautText());
    EXPECT_EQ(shownText(secondBack), windows1252Text());
    EXPECT_TRUE(services.alerts->alerts.isEmpty());
    {
        // The sheet shows the clip's file under the name it was chosen with.
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
        sheet.updateWindowWithMedia(firstBack);
        sheet.pause();
        QCoreApplication::processEvents();
        const QComboBox* files = sheet.subtitleTab()->subtitlePathButton();
        EXPECT_EQ(files->currentText(), "umlaut.srt");
        EXPECT_EQ(files->currentData().toString(), firstBack->vcmovie()->subtitlePath());
        sheet.doneVideoEdit();
    }
    EXPECT_EQ(shownText(firstBack), umlautText());

    // A disc of the reopened clips, one title each.
    const QString authored = authorClips({firstBack, secondBack}, dir.filePath("work"));
    ASSERT_FALSE(authored.isEmpty());
    const LMDVD::Ptr read = LMDVD::open(authored);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->titleSources().size(), 2);
    const QString vob = authored + "/VIDEO_TS/VTS_01_1.VOB";
    const QImage during = frameOf(vob, 37, dir.filePath("during.png"));
    const QImage after = frameOf(vob, 75, dir.filePath("after.png"));
    ASSERT_FALSE(during.isNull());
    ASSERT_FALSE(after.isNull());
    testsupport::writeArtifact(during, "subtitle-reopened-disc-umlaut-1.5s.png");
    EXPECT_GT(lowerThirdInk(during), 50) << "the reopened clip's cue at 1.5 s";
    EXPECT_EQ(lowerThirdInk(after), 0) << "no cue at 3 s";
    EXPECT_GT(lowerThirdInk(frameOf(vob, 100 + 37, dir.filePath("western.png"))), 50)
        << "the second title's cue";
}

// Subtitle files deleted before the project was ever saved, each chosen
// through the sheet: the save writes each copy from the text its clip holds,
// and the reopened project shows every subtitle, passes the source check and
// puts the cues on its disc.
TEST_F(SubtitleProject, ASubtitleDeletedBeforeTheFirstSaveIsKeptFromTheClipsText)
{
    const QString ass = QStringLiteral(
        "[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 180\n\n"
        "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
        "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
        "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
        "Style: Default,Sans,24,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,0,"
        "0,1,1,0,2,10,10,10,1\n\n"
        "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, "
        "Text\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Grüß Gott\n");
    const QString sami = QStringLiteral(
        "<SAMI>\n<HEAD>\n<STYLE TYPE=\"text/css\"><!--\nP { font-size: 24pt; }\n"
        ".DECC { Name: Deutsch; lang: de-DE; }\n--></STYLE>\n</HEAD>\n<BODY>\n"
        "<SYNC Start=1000><P Class=DECC>Grüß Gott\n<SYNC Start=2000><P Class=DECC>&nbsp;\n"
        "</BODY>\n</SAMI>\n");
    struct Case {
        const char* file;
        QByteArray bytes;
        quint64 encoding;  // chosen on the sheet
    };
    const QList<Case> cases{
        {"gone.srt", umlautText().toUtf8(), SubtitleEncodings::kAutomatic},
        {"western.srt", encode(windows1252Text(), "WINDOWS-1252"), SubtitleEncodings::kISOLatin1},
        {"gone.ass", ass.toUtf8(), SubtitleEncodings::kAutomatic},
        {"gone.smi", sami.toUtf8(), SubtitleEncodings::kAutomatic},
    };
    QStringList shown;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString chosen = dir.filePath(c.file);
        ASSERT_TRUE(writeFile(chosen, c.bytes));
        const auto clip = import();
        ASSERT_TRUE(clip);
        chooseSubtitle(clip, chosen, c.encoding);
        shown << shownText(clip);
        ASSERT_FALSE(shown.last().isEmpty());
        ASSERT_TRUE(QFile::remove(chosen));
    }
    const QString folder = dir.filePath("Gone.brisane");
    save(folder);
    EXPECT_TRUE(ProjectSourceCheck::missingSources(roots).isEmpty());

    const ProjectRoots back = reopen(folder);
    ASSERT_TRUE(back.media);
    const QList<MissingSource> missing = ProjectSourceCheck::missingSources(back);
    EXPECT_TRUE(missing.isEmpty()) << qPrintable(ProjectSourceCheck::describe(missing));
    QList<std::shared_ptr<MediaData>> clips;
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].file);
        const auto clip = clipOf(back, i);
        ASSERT_TRUE(clip && clip->vcmovie());
        const QString path = clip->vcmovie()->subtitlePath();
        EXPECT_TRUE(path.startsWith(folder + "/dvd-file/")) << qPrintable(path);
        EXPECT_TRUE(QFileInfo(path).isFile());
        ASSERT_TRUE(clip->ffmovie()->hasSubtitle());
        EXPECT_EQ(shownText(clip), shown[i]);
        clips << clip;
    }

    // A disc of the reopened clips, one title of 4 s (100 frames) each.
    const QString authored = authorClips(clips, dir.filePath("work"));
    ASSERT_FALSE(authored.isEmpty());
    const QString vob = authored + "/VIDEO_TS/VTS_01_1.VOB";
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].file);
        const QImage during = frameOf(vob, 100 * i + 37, dir.filePath("during.png"));
        ASSERT_FALSE(during.isNull());
        testsupport::writeArtifact(during, QString("subtitle-kept-%1.png").arg(cases[i].file));
        EXPECT_GT(lowerThirdInk(during), 50) << "the cue at 1.5 s";
    }
}

TEST_F(SubtitleProject, AProjectWithoutTheSubtitleKeysOpensAsBefore)
{
    const QString umlaut = dir.filePath("umlaut.srt");
    ASSERT_TRUE(writeFile(umlaut, umlautText().toUtf8()));
    const auto clip = import();
    ASSERT_TRUE(clip);
    chooseSubtitle(clip, umlaut, SubtitleEncodings::kUTF8);
    const LMMediaTime trimStart = lm_default_time_base() / 4;
    clip->vcmovie()->setTrimStart(trimStart);

    // The snapshot as a project saved before subtitles were kept holds it.
    clip->newMediaEditDic();
    Value::Dictionary snapshot = clip->movieAttributes();
    ASSERT_TRUE(snapshot.contains(MediaData::SubtitleFileKey));
    ASSERT_TRUE(snapshot.contains(MediaData::SubtitleEncodingKey));
    snapshot.remove(MediaData::SubtitleFileKey);
    snapshot.remove(MediaData::SubtitleEncodingKey);
    clip->setMovieAttributes(snapshot);
    clip->setVcmovie(nullptr);  // archived as it stands
    const QString folder = dir.filePath("Old.brisane");
    QString error;
    ASSERT_TRUE(ProjectDocument::saveAndReplace(roots, folder, &error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "/dvd-file/" +
                                   DVDFileSource::sourceWithPath(umlaut)->savedFileName()));

    const ProjectRoots back = reopen(folder);
    ASSERT_TRUE(back.media);
    const auto opened = clipOf(back, 0);
    ASSERT_TRUE(opened && opened->vcmovie());
    EXPECT_EQ(opened->vcmovie()->trimStart(), trimStart) << "the other edits are back";
    EXPECT_TRUE(opened->vcmovie()->subtitlePath().isEmpty());
    EXPECT_EQ(opened->vcmovie()->subtitleEncoding(), 0u);
    EXPECT_FALSE(opened->ffmovie()->hasSubtitle());
}

}  // namespace
