#pragma once
// Reading an authored disc (a DVD folder or an ISO image) back with
// libdvdread, for the tests that author one: titles and chapters, stream
// attributes, menu chains and their buttons, title lengths, and the bytes of
// one title's cells.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QList>
#include <QSet>
#include <QString>

#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"
#include "lumenta/LMDVD.h"

namespace discreadback {

inline double secondsOf(const dvd_time_t& time)
{
    const auto bcd = [](uint8_t v) { return (v >> 4) * 10 + (v & 0x0f); };
    const double rate = (time.frame_u >> 6) == 1 ? 25.0 : 30000.0 / 1001.0;
    return bcd(time.hour) * 3600.0 + bcd(time.minute) * 60.0 + bcd(time.second) +
           bcd(time.frame_u & 0x3f) / rate;
}

// Button areas as x0, y0, x1, y1.
using Buttons = QSet<QList<int>>;

// The button areas of the navigation packet at `sector` of the menu stream.
inline Buttons buttonsAt(dvd_file_t* menus, uint32_t sector)
{
    Buttons buttons;
    unsigned char block[DVD_VIDEO_LB_LEN];
    if (DVDReadBlocks(menus, static_cast<int>(sector), 1, block) != 1) {
        return buttons;
    }
    const unsigned char* pci = block + 0x26;
    if (pci[0] == 0 && pci[1] == 0 && pci[2] == 1 && pci[3] == 0xbf && pci[6] == 0) {
        pci_t packet;
        navRead_PCI(&packet, const_cast<unsigned char*>(pci) + 7);
        for (int i = 0; i < (packet.hli.hl_gi.btn_ns & 0x3f); ++i) {
            const btni_t& b = packet.hli.btnit[i];
            buttons.insert({int(b.x_start), int(b.y_start), int(b.x_end), int(b.y_end)});
        }
    }
    return buttons;
}

struct ReadBack {
    bool opened = false;
    QList<int> chapters;  // per title
    QList<double> titleSeconds;
    bool palWide = false;       // titles: PAL, 16:9
    bool menusPalWide = false;  // menus: PAL, 16:9
    bool mpeg2 = false;         // titles' video
    bool ac3At48k = false;      // titles' first audio stream
    int menuSubpictureStreams = -1;
    int menuChains = 0;          // every menu chain of the titleset, with or without cells
    QList<Buttons> menuButtons;  // per menu chain that has buttons
    QList<double> menuSeconds;   // per menu chain that has a stream
};

inline ReadBack readBack(const QString& path)
{
    ReadBack disc;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return disc;
    }
    disc.opened = true;
    if (ifo_handle_t* vmg = ifoOpen(dvd, 0)) {
        for (int i = 0; vmg->tt_srpt && i < vmg->tt_srpt->nr_of_srpts; ++i) {
            disc.chapters.append(vmg->tt_srpt->title[i].nr_of_ptts);
        }
        ifoClose(vmg);
    }
    if (ifo_handle_t* vts = ifoOpen(dvd, 1)) {
        const vtsi_mat_t& mat = *vts->vtsi_mat;
        const video_attr_t& video = mat.vts_video_attr;
        const video_attr_t& menu = mat.vtsm_video_attr;
        disc.palWide = video.video_format == 1 && video.display_aspect_ratio == 3;
        disc.menusPalWide = menu.video_format == 1 && menu.display_aspect_ratio == 3;
        disc.mpeg2 = video.mpeg_version == 1;
        disc.ac3At48k = mat.nr_of_vts_audio_streams >= 1 &&
                        mat.vts_audio_attr[0].audio_format == 0 &&
                        mat.vts_audio_attr[0].sample_frequency == 0;
        disc.menuSubpictureStreams = mat.nr_of_vtsm_subp_streams;
        dvd_file_t* menus = DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS);
        if (vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0) {
            const pgcit_t* chains = vts->pgci_ut->lu[0].pgcit;
            disc.menuChains = chains->nr_of_pgci_srp;
            for (int i = 0; menus && i < chains->nr_of_pgci_srp; ++i) {
                const pgc_t* pgc = chains->pgci_srp[i].pgc;
                if (!pgc || pgc->nr_of_cells == 0 || !pgc->cell_playback) {
                    continue;
                }
                disc.menuSeconds.append(secondsOf(pgc->playback_time));
                disc.menuButtons.append(buttonsAt(menus, pgc->cell_playback[0].first_sector));
            }
        }
        if (menus) {
            DVDCloseFile(menus);
        }
        ifoClose(vts);
    }
    DVDClose(dvd);
    if (const LMDVD::Ptr titles = LMDVD::open(path)) {
        for (const Value& title : titles->titleSources()) {
            disc.titleSeconds.append(
                title.dictionary().value("duration").toDouble().value_or(-1.0));
        }
    }
    return disc;
}

// The sectors of title `number` (from 1) copied into the file `out`, so its
// sound and pictures can be measured on their own. False when nothing was read.
inline bool extractTitle(const QString& path, int number, const QString& out)
{
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        return false;
    }
    QByteArray bytes;
    ifo_handle_t* vmg = ifoOpen(dvd, 0);
    if (vmg && vmg->tt_srpt && number >= 1 && number <= vmg->tt_srpt->nr_of_srpts) {
        const title_info_t& title = vmg->tt_srpt->title[number - 1];
        ifo_handle_t* vts = ifoOpen(dvd, title.title_set_nr);
        dvd_file_t* vobs = DVDOpenFile(dvd, title.title_set_nr, DVD_READ_TITLE_VOBS);
        if (vts && vobs && vts->vts_ptt_srpt && vts->vts_pgcit) {
            const int pgcn = vts->vts_ptt_srpt->title[title.vts_ttn - 1].ptt[0].pgcn;
            const pgc_t* pgc = vts->vts_pgcit->pgci_srp[pgcn - 1].pgc;
            for (int c = 0; pgc && c < pgc->nr_of_cells; ++c) {
                const cell_playback_t& cell = pgc->cell_playback[c];
                for (uint32_t s = cell.first_sector; s <= cell.last_sector; ++s) {
                    unsigned char block[DVD_VIDEO_LB_LEN];
                    if (DVDReadBlocks(vobs, static_cast<int>(s), 1, block) == 1) {
                        bytes.append(reinterpret_cast<const char*>(block), DVD_VIDEO_LB_LEN);
                    }
                }
            }
        }
        if (vobs) {
            DVDCloseFile(vobs);
        }
        if (vts) {
            ifoClose(vts);
        }
    }
    if (vmg) {
        ifoClose(vmg);
    }
    DVDClose(dvd);
    QFile file(out);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The button areas the spumux description gives the page.
inline Buttons expectedButtons(const DVDMenuPage& page, const DVDLibrary& disc)
{
    Buttons buttons;
    const double height = disc.dvdVideoSize().height();
    for (const auto& item : page.items()) {
        if (item->jump()) {
            const QRectF r =
                DVDMenuMake::scaleRect(item->frame(), page.menuSize(), disc.dvdVideoSize());
            buttons.insert(
                {int(r.x()), int(height - r.bottom()), int(r.right()), int(height - r.y())});
        }
    }
    return buttons;
}

// The mean loudness of a file's sound in dB (-91 for silence); 0 when unknown.
inline double meanVolume(const QString& path)
{
    QString out;
    testsupport::runProgram(
        "ffmpeg",
        {"-hide_banner", "-i", path, "-map", "0:a", "-af", "volumedetect", "-f", "null", "-"},
        &out);
    const qsizetype at = out.indexOf("mean_volume:");
    return at < 0 ? 0.0 : out.mid(at + 12).section(' ', 1, 1).toDouble();
}

// The ISO 9660 volume id of an image (32 bytes at 32808), spaces trimmed.
inline QString volumeId(const QString& iso)
{
    QFile file(iso);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(32808)) {
        return {};
    }
    return QString::fromLatin1(file.read(32)).trimmed();
}

}  // namespace discreadback
