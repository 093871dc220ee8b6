// The sound track chosen on the video edit sheet sounds on the disc from the
// title's first second. A file of each kind that carries several sound
// tracks (Matroska with a subtitle track of its own, MP4, MPEG transport and
// program streams), its first track a 440 Hz tone and its second a 1000 Hz
// one, is imported twice as the title list imports it, each clip a title of
// a PAL 4:3 disc. The sheet chooses the second track of every clip and gives
// one clip of each file a Windows-1252 subtitle ("Western"). The project is
// saved and opened again through the project document and produced by the
// production workflow. Each title's sound, read back from the disc with
// libdvdread and decoded by ffmpeg, must be the 1000 Hz tone in its first
// tenth of a second and in every second from 0 s, and never the 440 Hz one.
//
// A title long enough to be cut into pieces is encoded in pieces of pictures
// with its sound encoded whole beside them: the clips without subtitle are
// produced once more by the rendering step with pieces of 2 s, and measured
// the same way.

#include <QComboBox>
#include <QCoreApplication>

#include "../shell/DiscProjectFixture.h"
#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "ProductionThread.h"
#include "RecordingControllers.h"
#include "SubtitleFixtures.h"
#include "TwoTrackMedia.h"
#include "media/SubtitleEncodings.h"
#include "production/MakeDVDVideo.h"
#include "shell/core/ProjectDocument.h"
#include "videoedit/VideoEditAudioTab.h"
#include "videoedit/VideoEditSubtitleTab.h"
#include "videoedit/VideoEditWindowController.h"

using namespace discproject;

namespace {

constexpr double kClipSeconds = 6.0;
constexpr int kRate = 48000;

// One title of the disc: a clip of the file of `kind`, with the subtitle
// file or without.
struct TrackTitle {
    QString kind;
    bool subtitle = false;
};

// A title of each kind with the subtitle, when `subtitled`, and one without.
QList<TrackTitle> trackTitles(bool subtitled)
{
    QList<TrackTitle> titles;
    for (const QString& kind : testsupport::twoTrackKinds()) {
        if (subtitled) {
            titles << TrackTitle{kind, true};
        }
        titles << TrackTitle{kind, false};
    }
    return titles;
}

// The second track chosen on the sheet's audio page and, when `subtitle`
// names one, that file read as "Western (ISO Latin 1)" on its subtitle page.
void chooseSecondTrack(const std::shared_ptr<MediaData>& clip, const QString& subtitle)
{
    testsupport::InstalledControllers installed;
    VideoEditWindowController sheet{nullptr, installed.mainController};
    sheet.updateWindowWithMedia(clip);
    sheet.pause();
    if (!subtitle.isEmpty()) {
        sheet.segmentSelectChanged(3);
        VideoEditSubtitleTab& page = *sheet.subtitleTab();
        QComboBox* encodings = page.subtitleEncodingButton();
        emit encodings->activated(
            encodings->findData(QVariant::fromValue(SubtitleEncodings::kISOLatin1)));
        page.addSubtitlePathToList(subtitle);
        QCoreApplication::processEvents();  // the pop-up lists it
        emit page.subtitlePathButton()->activated(page.subtitlePathButton()->count() - 1);
        EXPECT_TRUE(clip->ffmovie()->hasSubtitle()) << page.subtitleProblem().toStdString();
    }
    sheet.segmentSelectChanged(4);
    QComboBox* tracks = sheet.audioTab()->audioTrackPopBtn();
    emit tracks->activated(tracks->findData(QVariant::fromValue(qint64(1))));
    EXPECT_EQ(clip->audioTreamTag(), 1);
    sheet.doneVideoEdit();
}

// The 1000 Hz tone and not the 440 Hz one in the first tenth of a second of
// title `number` of the disc at `folder`, and in each of its seconds.
void expectSecondTrackFromTheStart(const QString& folder, int number, const QString& scratch)
{
    const QString stream = scratch + ".vob";
    ASSERT_TRUE(discreadback::extractTitle(folder, number, stream));
    const std::vector<float> sound = testsupport::monoSound(stream, scratch + ".raw");
    ASSERT_GE(sound.size(), static_cast<size_t>((kClipSeconds - 0.1) * kRate));
    const auto expectTone = [&sound](size_t from, size_t count, const char* where) {
        count = std::min(count, sound.size() - from);
        const float* samples = sound.data() + from;
        EXPECT_GT(testsupport::toneAmplitude(samples, count, kRate, testsupport::kSecondTrackTone),
                  0.06)
            << "no second track " << where;
        EXPECT_LT(testsupport::toneAmplitude(samples, count, kRate, testsupport::kFirstTrackTone),
                  0.01)
            << "the first track " << where;
    };
    expectTone(0, kRate / 10, "in the first tenth of a second");
    for (int second = 0; second < static_cast<int>(kClipSeconds); ++second) {
        expectTone(static_cast<size_t>(second) * kRate, kRate,
                   qPrintable(QString("from %1 s").arg(second)));
    }
}

class ChosenSoundTrackDisc : public DiscProjectTest {
protected:
    // A project of the titles' clips, their second track chosen on the
    // sheet, saved and opened again; the opened disc side rebuilt from it.
    std::shared_ptr<DataResource> savedAndOpened(const QString& dir,
                                                 const QList<TrackTitle>& titles)
    {
        const QString western = dir + "/western.srt";
        if (!subtitlefixtures::writeFile(
                western,
                subtitlefixtures::encode(subtitlefixtures::windows1252Text(), "WINDOWS-1252"))) {
            ADD_FAILURE() << "cannot write the subtitle";
            return nullptr;
        }
        auto project = std::make_shared<DataResource>();
        auto page = std::make_shared<DVDPageData>();
        project->addDvdPageToArray(page);
        QHash<QString, std::shared_ptr<SectionDataResource>> imported;
        for (const QString& kind : testsupport::twoTrackKinds()) {
            const QString path = dir + "/two-tracks." + kind;
            if (!testsupport::makeTwoTrackClip(path, kind, kClipSeconds)) {
                return nullptr;
            }
            const auto source = SectionDataResource::resourceWithPath(path);
            if (!source) {
                ADD_FAILURE() << "not imported: " << qPrintable(path);
                return nullptr;
            }
            project->addSectionDataResourceToArray(source);
            imported.insert(kind, source);
        }
        for (const TrackTitle& t : titles) {
            const auto made = clip(imported.value(t.kind), 0.0, kClipSeconds);
            if (!made || !made->ffmovie() || made->ffmovie()->audioStreams().size() != 2) {
                ADD_FAILURE() << "no clip of two tracks of " << qPrintable(t.kind);
                return nullptr;
            }
            title(page, {made});
            chooseSecondTrack(made, t.subtitle ? western : QString());
        }
        services->disc->setDvdFormat(1);
        services->disc->setAspectType(0);
        services->disc->setShowPlayButton(false);
        DiscSideRebuild(project, services->disc).flushDVDResourceBeforeEdit();

        const QString document = dir + "/Tracks.brisane";
        QString error;
        if (!ProjectDocument::saveAndReplace({project, services->disc}, document, &error)) {
            ADD_FAILURE() << "not saved: " << qPrintable(error);
            return nullptr;
        }
        const std::optional<ProjectRoots> opened =
            ProjectDocument::loadDocumentAtPath(document, &error);
        if (!opened) {
            ADD_FAILURE() << "not opened: " << qPrintable(error);
            return nullptr;
        }
        services->disc = opened->disc;
        DiscSideRebuild(opened->media, services->disc).flushDVDResourceBeforeEdit();
        for (const auto& menu : services->disc->pageArray()) {
            menu->setMenuDuration(1.0);
        }
        return opened->media;
    }

    // The clips of the opened project, in the order of their titles.
    static MediaData::ClipList clipsOf(const DataResource& media)
    {
        MediaData::ClipList clips;
        for (const auto& page : media.dvdPageArray()) {
            for (const auto& t : page->titleDataArray()) {
                clips << t->mediaDataArray();
            }
        }
        return clips;
    }
};

TEST_F(ChosenSoundTrackDisc, TheSecondTrackSoundsFromEachTitlesFirstSecond)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QList<TrackTitle> titles = trackTitles(true);
    const auto opened = savedAndOpened(dir.path(), titles);
    ASSERT_TRUE(opened);
    const MediaData::ClipList clips = clipsOf(*opened);
    ASSERT_EQ(clips.size(), titles.size());
    for (qsizetype i = 0; i < clips.size(); ++i) {
        SCOPED_TRACE(qPrintable(titles[i].kind));
        EXPECT_EQ(clips[i]->audioTreamTag(), 1);
        ASSERT_TRUE(clips[i]->ffmovie());
        EXPECT_EQ(clips[i]->ffmovie()->selectAudioStreams(), IMovie::IndexSet{1});
        EXPECT_EQ(clips[i]->ffmovie()->hasSubtitle(), titles[i].subtitle);
    }
    const auto model = discModel();
    ASSERT_TRUE(model);
    ASSERT_EQ(model->titles().size(), titles.size());

    BurnDVDWorkflow flow;
    const QString folder = dir.filePath("disc");
    const ProductionResult made = runProduction(flow, [&] { return flow.make(model, folder); });
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    for (int t = 0; t < titles.size(); ++t) {
        SCOPED_TRACE(QString("title %1: %2%3")
                         .arg(t + 1)
                         .arg(titles[t].kind, titles[t].subtitle ? " with subtitle" : "")
                         .toStdString());
        expectSecondTrackFromTheStart(folder, t + 1, dir.filePath(QString("title%1").arg(t + 1)));
    }
}

TEST_F(ChosenSoundTrackDisc, TheSecondTrackSoundsFromTheFirstSecondOfTitlesInPieces)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    // A title with a subtitle is encoded whole.
    const QList<TrackTitle> titles = trackTitles(false);
    const auto opened = savedAndOpened(dir.path(), titles);  // the disc side's clips
    ASSERT_TRUE(opened);
    const auto model = discModel();
    ASSERT_TRUE(model);
    ASSERT_EQ(model->titles().size(), titles.size());

    // Two places for each title, so that each is cut in two, and one for the
    // menu.
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));
    MakeDVDVideo render;
    render.setMaximumConcurrentTitles(2 * static_cast<int>(titles.size()) + 1);
    render.setMinimumPieceLength(2.0);
    const ProductionResult rendered = testsupport::renderOnProductionThread(render, model, work);
    ASSERT_TRUE(rendered.isSucceeded()) << qPrintable(rendered.toString());
    EXPECT_EQ(render.titlesInPieces(), titles.size());
    ASSERT_TRUE(testsupport::runDvdauthor(model, work));
    for (int t = 0; t < titles.size(); ++t) {
        SCOPED_TRACE(QString("title %1: %2").arg(t + 1).arg(titles[t].kind).toStdString());
        expectSecondTrackFromTheStart(work + "/dvd.dvdmedia", t + 1,
                                      dir.filePath(QString("piece%1").arg(t + 1)));
    }
}

}  // namespace
