#include "lumenta/LMDVD.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
}

namespace {

double seconds(const dvd_time_t& t)
{
    auto bcd = [](uint8_t v) { return (v >> 4) * 10 + (v & 0x0f); };
    const double fps = ((t.frame_u & 0xc0) >> 6) == 1 ? 25.0 : 30000.0 / 1001.0;
    return bcd(t.hour) * 3600.0 + bcd(t.minute) * 60.0 + bcd(t.second) +
           bcd(t.frame_u & 0x3f) / fps;
}

// Length and chapter start times (seconds) of a title, from its title set.
void readTiming(dvd_reader_t* reader, const title_info_t& info, Value::Dictionary& title)
{
    ifo_handle_t* vts = ifoOpen(reader, info.title_set_nr);
    if (!vts) {
        return;
    }
    if (vts->vts_ptt_srpt && vts->vts_pgcit && info.vts_ttn >= 1 &&
        info.vts_ttn <= vts->vts_ptt_srpt->nr_of_srpts) {
        const ttu_t& ttu = vts->vts_ptt_srpt->title[info.vts_ttn - 1];
        Value::Array starts;
        double length = 0.0;
        for (int i = 0; i < ttu.nr_of_ptts; ++i) {
            const int pgcn = ttu.ptt[i].pgcn;
            const int pgn = ttu.ptt[i].pgn;
            if (pgcn < 1 || pgcn > vts->vts_pgcit->nr_of_pgci_srp) {
                continue;
            }
            const pgc_t* pgc = vts->vts_pgcit->pgci_srp[pgcn - 1].pgc;
            if (!pgc || pgn < 1 || pgn > pgc->nr_of_programs) {
                continue;
            }
            const int firstCell = pgc->program_map[pgn - 1] - 1;
            double start = 0.0;
            for (int c = 0; c < firstCell && c < pgc->nr_of_cells; ++c) {
                start += seconds(pgc->cell_playback[c].playback_time);
            }
            starts << Value(start);
            length = seconds(pgc->playback_time);
        }
        title.insert(QStringLiteral("chapterStarts"), Value(starts));
        title.insert(QStringLiteral("duration"), length);
    }
    ifoClose(vts);
}

}  // namespace

LMDVD::Ptr LMDVD::open(const QString& path)
{
    // libdvdread is not asked about paths that cannot hold a disc (its
    // failure path leaks).
    const QFileInfo info(path);
    const bool folder = info.isDir() && (QFile::exists(path + "/VIDEO_TS/VIDEO_TS.IFO") ||
                                         QFile::exists(path + "/VIDEO_TS.IFO"));
    if (!folder && !info.isFile()) {
        qWarning().noquote() << "Lumenta: no DVD at" << path;
        return nullptr;
    }
    const QByteArray name = QFile::encodeName(path);
    dvd_reader_t* reader = DVDOpen(name.constData());
    if (!reader) {
        qWarning().noquote() << "Lumenta: no DVD at" << path;
        return nullptr;
    }
    ifo_handle_t* vmg = ifoOpen(reader, 0);
    if (!vmg || !vmg->tt_srpt) {
        qWarning().noquote() << "Lumenta: no readable VIDEO_TS.IFO at" << path;
        if (vmg) {
            ifoClose(vmg);
        }
        DVDClose(reader);
        return nullptr;
    }
    auto dvd = Ptr(new LMDVD);
    const tt_srpt_t* titles = vmg->tt_srpt;
    for (int i = 0; i < titles->nr_of_srpts; ++i) {
        const title_info_t& info = titles->title[i];
        Value::Dictionary title;
        title.insert(QStringLiteral("title"), i + 1);
        title.insert(QStringLiteral("titleSet"), static_cast<int>(info.title_set_nr));
        title.insert(QStringLiteral("chapters"), static_cast<int>(info.nr_of_ptts));
        title.insert(QStringLiteral("angles"), static_cast<int>(info.nr_of_angles));
        readTiming(reader, info, title);
        dvd->m_titles.append(Value(title));
    }
    ifoClose(vmg);
    DVDClose(reader);
    return dvd;
}
