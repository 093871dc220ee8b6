// Cuts, chapter points and lengths on the disc, frame by frame. Small sources
// of every kind a user brings (25 fps, 24 fps film, 29.97 fps NTSC, a clip of
// variable frame rate, a phone clip turned by its display matrix, a Matroska
// file with two sound tracks) draw their frame number into every picture: a
// row of twelve stripes, white at both ends, the ten between them the bits of
// the number, and the number and time as text for the eye. They are imported
// as the title list imports them, cut into sections, trimmed by the video
// editor's segment rules and merged by the list's merge, saved and reopened
// through the project document, and produced on a PAL and on an NTSC disc.
// The titles are read back with libdvdread and decoded with ffmpeg; each
// picture's number says which source frame it shows.
//
// When BRISANE_TEST_ARTIFACTS names a folder, the first picture of every
// title and of every chapter is left there as "cuts-<disc>-<title>[-c<n>].png".

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <QFile>
#include <QJsonArray>
#include <cmath>

#include "../shell/DiscProjectFixture.h"
#include "listedit/core/ListDropState.h"
#include "listedit/core/ListMediaPlacement.h"
#include "media/MovieTrimItem.h"
#include "shell/core/ProjectDocument.h"
#include "videoedit/core/TrimSegmentRules.h"

using namespace discproject;

namespace {

// --- Numbered sources ---

// The stripes above and below a grey middle band that holds the text.
QString numberedPicture(const QString& size, const QString& rate, double seconds)
{
    const QString stripes =
        "geq=lum='if(lt(Y,H*0.35)+gt(Y,H*0.65),"
        "if(eq(floor(X*12/W),0)+eq(floor(X*12/W),11),235,"
        "if(mod(floor(N/pow(2,floor(X*12/W)-1)),2),235,16)),96)':cb=128:cr=128";
    const QString text =
        "drawtext=text='%{n} %{pts\\:flt}':fontsize=w/14:fontcolor=white:"
        "x=(w-tw)/2:y=(h-th)/2";
    return QString("color=gray:size=%1:rate=%2:duration=%3,format=yuv420p,%4,%5")
        .arg(size, rate)
        .arg(seconds)
        .arg(stripes, text);
}

QStringList tone(double seconds, int frequency = 440)
{
    return {"-f", "lavfi", "-i",
            QString("sine=frequency=%1:sample_rate=48000:duration=%2").arg(frequency).arg(seconds)};
}

bool makeSource(const QString& kind, const QString& path)
{
    const QStringList video{"-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", "ultrafast"};
    // 16:9 pictures fill the disc's frame as they are and go the direct
    // road; 4:3 ones are fitted with bars and composed.
    if (kind == "pal") {
        return testsupport::generateMedia(
            path, QStringList{"-f", "lavfi", "-i", numberedPicture("320x180", "25", 9)} + tone(9) +
                      video);
    }
    if (kind == "film") {
        return testsupport::generateMedia(
            path, QStringList{"-f", "lavfi", "-i", numberedPicture("320x240", "24", 3)} + tone(3) +
                      video);
    }
    if (kind == "ntsc") {
        return testsupport::generateMedia(
            path, QStringList{"-f", "lavfi", "-i", numberedPicture("320x240", "30000/1001", 9)} +
                      tone(9) + video);
    }
    if (kind == "vfr") {
        // 30 frames a second for 1.5 s, then 5 a second for 3 s, as a phone
        // does when the light falls: 4.5 s of pictures and of sound.
        const QString graph =
            numberedPicture("320x180", "30", 2)
                .replace("format=yuv420p,",
                         "format=yuv420p,setpts='if(lt(N,45),N,45+(N-45)*6)/30/TB',");
        return testsupport::generateMedia(path, QStringList{"-f", "lavfi", "-i", graph} +
                                                    tone(4.5) + video +
                                                    QStringList{"-fps_mode", "vfr"});
    }
    if (kind == "phone") {
        // Stored on its side, turned upright by its display matrix.
        const QString stored = path + ".stored.mp4";
        return testsupport::generateMedia(
                   stored, QStringList{"-f", "lavfi", "-i",
                                       numberedPicture("240x320", "25", 3) + ",transpose=clock"} +
                               tone(3) + video) &&
               testsupport::generateMedia(
                   path, {"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=90"});
    }
    if (kind == "mkv") {
        return testsupport::generateMedia(
            path, QStringList{"-f", "lavfi", "-i", numberedPicture("320x180", "25", 3)} +
                      tone(3, 440) + tone(3, 880) + video +
                      QStringList{"-map", "0:v", "-map", "1:a", "-map", "2:a", "-c:a", "ac3"});
    }
    ADD_FAILURE() << "no source kind " << qPrintable(kind);
    return false;
}

// Display times (seconds on the movie's own timeline) of a source's frames,
// in order: the frame number is the index.
QList<double> frameTimes(const QString& path)
{
    QString out;
    testsupport::runProgram("ffprobe",
                            {"-v", "error", "-select_streams", "v:0", "-show_entries",
                             "frame=best_effort_timestamp_time", "-of", "csv=p=0", path},
                            &out);
    const QJsonObject probe = testsupport::probeMedia(path);
    const double start = probe.value("format").toObject().value("start_time").toString().toDouble();
    QList<double> times;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        times << line.trimmed().toDouble() - start;
    }
    return times;
}

// Half the gap around frame `n`, the nearer side.
double halfFrameAt(const QList<double>& times, int n)
{
    double gap = 1.0;
    if (n > 0 && n < times.size()) {
        gap = std::min(gap, times[n] - times[n - 1]);
    }
    if (n >= 0 && n + 1 < times.size()) {
        gap = std::min(gap, times[n + 1] - times[n]);
    }
    return gap / 2;
}

// --- Reading pictures back ---

constexpr int kReadWidth = 360;
constexpr int kReadHeight = 288;

// The number a picture's stripes carry, or -1 when they cannot be read.
int numberOf(const QImage& picture)
{
    for (const double row : {0.12, 0.2, 0.8, 0.88}) {
        const int y = int(row * picture.height());
        const uchar* line = picture.constScanLine(y);
        int left = -1;
        int right = -1;
        for (int x = 0; x < picture.width(); ++x) {
            if (line[x] > 128) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        if (left < 0 || right - left < 24) {
            continue;
        }
        const double cell = (right - left + 1) / 12.0;
        int number = 0;
        for (int bit = 0; bit < 10; ++bit) {
            const int x = int(left + cell * (bit + 1.5));
            if (line[x] > 128) {
                number |= 1 << bit;
            }
        }
        return number;
    }
    return -1;
}

// Every picture of a stream, in display order, as small grey pictures.
QList<QImage> picturesOf(const QString& stream, const QString& scratch)
{
    QList<QImage> pictures;
    const QString raw = scratch + ".gray";
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", stream, "-map", "0:v:0", "-fps_mode", "passthrough",
                   "-vf", QString("scale=%1:%2").arg(kReadWidth).arg(kReadHeight), "-f", "rawvideo",
                   "-pix_fmt", "gray", raw});
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "ffmpeg decoded nothing of " << qPrintable(stream);
        return pictures;
    }
    const QByteArray bytes = file.readAll();
    const qsizetype size = qsizetype(kReadWidth) * kReadHeight;
    for (qsizetype at = 0; at + size <= bytes.size(); at += size) {
        QImage picture(kReadWidth, kReadHeight, QImage::Format_Grayscale8);
        for (int y = 0; y < kReadHeight; ++y) {
            std::memcpy(picture.scanLine(y), bytes.constData() + at + qsizetype(y) * kReadWidth,
                        kReadWidth);
        }
        pictures << picture;
    }
    file.remove();
    return pictures;
}

// One title of an authored disc: where its chapters begin (cell indexes),
// and its sectors copied out.
struct TitleCells {
    int titleSet = 1;
    QList<int> chapterCells;                     // first cell (from 0) of each chapter
    QList<std::pair<uint32_t, uint32_t>> cells;  // first and last sector
};

TitleCells cellsOf(dvd_reader_t* dvd, int number)
{
    TitleCells found;
    ifo_handle_t* vmg = ifoOpen(dvd, 0);
    if (vmg && vmg->tt_srpt && number >= 1 && number <= vmg->tt_srpt->nr_of_srpts) {
        const title_info_t& title = vmg->tt_srpt->title[number - 1];
        found.titleSet = title.title_set_nr;
        if (ifo_handle_t* vts = ifoOpen(dvd, title.title_set_nr)) {
            const ttu_t& parts = vts->vts_ptt_srpt->title[title.vts_ttn - 1];
            const pgc_t* pgc = vts->vts_pgcit->pgci_srp[parts.ptt[0].pgcn - 1].pgc;
            for (int k = 0; k < parts.nr_of_ptts; ++k) {
                found.chapterCells << pgc->program_map[parts.ptt[k].pgn - 1] - 1;
            }
            for (int c = 0; c < pgc->nr_of_cells; ++c) {
                const uint32_t first = pgc->cell_playback[c].first_sector;
                const uint32_t last = pgc->cell_playback[c].last_sector;
                found.cells.append({first, last});
            }
            ifoClose(vts);
        }
    }
    if (vmg) {
        ifoClose(vmg);
    }
    return found;
}

// The sectors of cells [from, to) of the title set's title stream into `out`.
bool copyCells(dvd_reader_t* dvd, const TitleCells& title, int from, int to, const QString& out)
{
    dvd_file_t* vobs = DVDOpenFile(dvd, title.titleSet, DVD_READ_TITLE_VOBS);
    if (!vobs) {
        return false;
    }
    QByteArray bytes;
    for (int c = from; c < to && c < title.cells.size(); ++c) {
        for (uint32_t s = title.cells[c].first; s <= title.cells[c].second; ++s) {
            unsigned char block[DVD_VIDEO_LB_LEN];
            if (DVDReadBlocks(vobs, static_cast<int>(s), 1, block) == 1) {
                bytes.append(reinterpret_cast<const char*>(block), DVD_VIDEO_LB_LEN);
            }
        }
    }
    DVDCloseFile(vobs);
    QFile file(out);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// --- The project ---

// One title of the list: clips cut from one source at [from, to) seconds (a
// negative end: the source's end); more than one are merged into the first,
// each a chapter. The video editor's trim segments of the first clip (start
// and length in seconds, from the clip's start), when there are any.
struct CutCase {
    const char* name;
    const char* source;
    QList<std::pair<double, double>> sections;
    QList<std::pair<double, double>> segments = {};
    bool secondSoundTrack = false;
};

const QList<CutCase>& cutCases()
{
    static const QList<CutCase> cases{
        {"pal", "pal", {{1.0, 2.2}}},
        {"pal-between", "pal", {{1.03, 2.2}}},
        {"film", "film", {{1.0, 2.2}}},
        {"ntsc", "ntsc", {{1.0, 2.2}}},
        {"ntsc-between", "ntsc", {{1.51, 2.7}}},
        {"vfr", "vfr", {{0.0, -1.0}}},
        {"phone", "phone", {{0.0, 3.0}}, {{0.6, 1.285}, {1.95, 1.0}}},
        {"mkv", "mkv", {{1.2, 2.4}}, {}, true},
        {"trimmed", "pal", {{2.0, 6.0}}, {{1.32, 1.3}, {2.9, 1.0}}},
        {"merged-pal", "pal", {{0.0, 4.0}, {4.0, 7.0}, {7.0, 9.0}}},
        {"merged-ntsc", "ntsc", {{0.0, 4.0}, {4.0, 7.0}, {7.0, 9.0}}},
    };
    return cases;
}

// A place of a title whose picture must show a given source time: the
// title's start, every join of trim segments and every chapter point.
struct Seam {
    double titleTime;
    double sourceTime;
    int chapter;  // from 0; -1 where no chapter starts
};

QList<Seam> seamsOf(const CutCase& c)
{
    QList<Seam> seams;
    const double from = c.sections.first().first;
    if (c.segments.isEmpty()) {
        for (int k = 0; k < c.sections.size(); ++k) {
            seams << Seam{c.sections[k].first - from, c.sections[k].first, k};
        }
        return seams;
    }
    double at = 0.0;
    for (const auto& [start, length] : c.segments) {
        seams << Seam{at, from + start, seams.isEmpty() ? 0 : -1};
        at += length;
    }
    return seams;
}

struct DiscCase {
    const char* name;
    qint64 dvdFormat;  // 1 PAL, 0 NTSC
    double frameRate;
};

class FrameAccurateCuts : public DiscProjectTest, public ::testing::WithParamInterface<DiscCase> {
protected:
    // The sources, made once per test in `dir`.
    bool makeSources(const QString& dir)
    {
        const QHash<QString, QString> names{{"pal", "pal.mp4"},     {"film", "film.mp4"},
                                            {"ntsc", "ntsc.mp4"},   {"vfr", "vfr.mp4"},
                                            {"phone", "phone.mp4"}, {"mkv", "two-sound.mkv"}};
        for (auto it = names.begin(); it != names.end(); ++it) {
            const QString path = dir + "/" + it.value();
            if (!makeSource(it.key(), path)) {
                return false;
            }
            sources.insert(it.key(), path);
            times.insert(it.key(), frameTimes(path));
            if (times.value(it.key()).size() < 20) {
                ADD_FAILURE() << "ffprobe read no frames of " << qPrintable(path);
                return false;
            }
        }
        return true;
    }

    // The list: one page, one title per case, as the title list and the
    // editors build it.
    std::shared_ptr<DataResource> buildList()
    {
        auto project = std::make_shared<DataResource>();
        auto page = std::make_shared<DVDPageData>();
        project->addDvdPageToArray(page);
        QHash<QString, std::shared_ptr<SectionDataResource>> imported;
        for (auto it = sources.begin(); it != sources.end(); ++it) {
            const auto source = SectionDataResource::resourceWithPath(it.value());
            EXPECT_TRUE(source) << qPrintable(it.value());
            if (!source) {
                return nullptr;
            }
            project->addSectionDataResourceToArray(source);
            imported.insert(it.key(), source);
        }
        for (const CutCase& c : cutCases()) {
            const auto source = imported.value(c.source);
            MediaData::ClipList clips;
            for (const auto& [from, to] : c.sections) {
                const auto whole = source->createMediaSectionItem();
                const double end =
                    to < 0 && whole ? lm_ff_time_to_double(whole->endTimeInMedia()) : to;
                clips << clip(source, from, end);
                if (!clips.last()) {
                    return nullptr;
                }
            }
            const auto first = clips.first();
            title(page, {first});
            if (clips.size() > 1) {
                ListDropState merge;
                merge.mergeInto(first);
                EXPECT_TRUE(ListMediaPlacement(*project).addMediaArrayToList(merge, clips.mid(1)))
                    << c.name;
            }
            if (!c.segments.isEmpty()) {
                // The video editor: each segment added one second long after
                // the one before, then its end and its start typed in.
                const double length = lm_ff_time_to_double(first->vcmovie()->trimDuration());
                TrimSegmentRules::TrimArray trims;
                for (const auto& [start, duration] : c.segments) {
                    const auto segment = std::make_shared<MovieTrimItem>();
                    segment->setStart(trims.isEmpty() ? 0.0 : trims.last()->stop());
                    segment->setDuration(TrimSegmentRules::kMinTrimSeconds);
                    trims << segment;
                    const qsizetype i = trims.size() - 1;
                    const double end =
                        TrimSegmentRules::clampedEnd(trims, i, start + duration, length);
                    segment->setDuration(end - segment->start());
                    const double begin = TrimSegmentRules::clampedStart(trims, i, start);
                    segment->setStart(begin);
                    segment->setDuration(end - begin);
                    EXPECT_NEAR(segment->start(), start, 1e-6) << c.name;
                    EXPECT_NEAR(segment->duration(), duration, 1e-6) << c.name;
                }
                first->vcmovie()->setTrimArray(trims);
                first->newMediaEditDic();
            }
            if (c.secondSoundTrack) {
                first->setAudioTreamTag(1);
                first->updateMovieAttributesToMovie();
            }
        }
        return project;
    }

    QHash<QString, QString> sources;
    QHash<QString, QList<double>> times;
};

TEST_P(FrameAccurateCuts, TitlesStartChaptersJoinAndLengthsHoldToTheFrame)
{
    const DiscCase disc = GetParam();
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(makeSources(dir.path()));
    const auto project = buildList();
    ASSERT_TRUE(project);
    services->disc->setDvdFormat(disc.dvdFormat);
    services->disc->setAspectType(1);
    services->disc->setShowPlayButton(false);
    DiscSideRebuild(project, services->disc).flushDVDResourceBeforeEdit();

    // Saved and opened again: what reaches the disc is what the document keeps.
    const QString document = dir.filePath("Cuts.brisane");
    QString error;
    ASSERT_TRUE(ProjectDocument::saveAndReplace({project, services->disc}, document, &error))
        << qPrintable(error);
    const std::optional<ProjectRoots> opened =
        ProjectDocument::loadDocumentAtPath(document, &error);
    ASSERT_TRUE(opened) << qPrintable(error);
    services->disc = opened->disc;
    ASSERT_EQ(services->disc->dvdFormat(), disc.dvdFormat);
    DiscSideRebuild(opened->media, services->disc).flushDVDResourceBeforeEdit();
    for (const auto& page : services->disc->pageArray()) {
        page->setMenuDuration(1.0);
    }
    const auto model = discModel();
    ASSERT_TRUE(model);
    ASSERT_EQ(model->titles().size(), cutCases().size());

    BurnDVDWorkflow flow;
    const QString folder = dir.filePath("disc");
    const ProductionResult made = runProduction(flow, [&] { return flow.make(model, folder); });
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());

    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(folder).constData());
    ASSERT_TRUE(dvd) << "libdvdread cannot open " << qPrintable(folder);
    const double outputFrame = 1.0 / disc.frameRate;
    for (int t = 0; t < cutCases().size(); ++t) {
        const CutCase& c = cutCases()[t];
        SCOPED_TRACE(c.name);
        const QList<double>& source = times.value(c.source);
        const TitleCells cells = cellsOf(dvd, t + 1);
        ASSERT_EQ(cells.chapterCells.size(), c.sections.size());
        const QString stream = dir.filePath(QString("%1.vob").arg(c.name));
        ASSERT_TRUE(copyCells(dvd, cells, 0, int(cells.cells.size()), stream));
        const QList<QImage> pictures = picturesOf(stream, stream);
        ASSERT_FALSE(pictures.isEmpty());
        const QString prefix = QString("cuts-%1-%2").arg(disc.name, c.name);
        testsupport::writeArtifact(pictures.first(), prefix + ".png");

        // The title starts, its segments join and its chapters begin on the
        // source's frame of the time asked.
        for (const Seam& seam : seamsOf(c)) {
            SCOPED_TRACE(QString("title time %1 s").arg(seam.titleTime).toStdString());
            qsizetype at = std::llround(seam.titleTime / outputFrame);
            if (seam.chapter > 0) {
                const QString before =
                    dir.filePath(QString("%1-before-%2.vob").arg(c.name).arg(seam.chapter));
                ASSERT_TRUE(copyCells(dvd, cells, 0, cells.chapterCells[seam.chapter], before));
                at = picturesOf(before, before).size();
                EXPECT_NEAR(at * outputFrame, seam.titleTime, outputFrame / 2 + 1e-6)
                    << "chapter " << seam.chapter + 1 << " starts at picture " << at;
                testsupport::writeArtifact(pictures.value(at),
                                           prefix + QString("-c%1.png").arg(seam.chapter + 1));
            }
            ASSERT_LT(at, pictures.size());
            if (seam.chapter < 0) {
                testsupport::writeArtifact(pictures[at], prefix + QString("-at%1.png").arg(at));
            }
            const int shown = numberOf(pictures[at]);
            ASSERT_GE(shown, 0) << "picture " << at << " carries no number";
            ASSERT_LT(shown, source.size());
            // The picture shows the source at the seam's time moved by as
            // much as the picture's own time lies off the seam.
            const double wanted = seam.sourceTime + at * outputFrame - seam.titleTime;
            EXPECT_NEAR(source[shown], wanted, halfFrameAt(source, shown) + 1e-4)
                << "picture " << at << " shows source frame " << shown;
        }

        // The title lasts what its cuts keep; an uncut clip its source's
        // length (the file's, here its sound's: the last picture lasts to the
        // end), however its frames fall.
        double length = 0.0;
        for (const auto& [start, kept] : c.segments) {
            length += kept;
        }
        for (const auto& [from, to] : c.sections) {
            length += c.segments.isEmpty() ? to - from : 0.0;
        }
        if (c.sections.first().second < 0) {
            const QJsonObject format =
                testsupport::probeMedia(sources.value(c.source))["format"].toObject();
            length = format["duration"].toString().toDouble() -
                     format["start_time"].toString().toDouble();
        }
        EXPECT_NEAR(pictures.size() * outputFrame, length, outputFrame / 2 + 1e-6)
            << pictures.size() << " pictures";
    }
    DVDClose(dvd);
}

INSTANTIATE_TEST_SUITE_P(Discs, FrameAccurateCuts,
                         ::testing::Values(DiscCase{"pal", 1, 25.0},
                                           DiscCase{"ntsc", 0, 30000.0 / 1001.0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
