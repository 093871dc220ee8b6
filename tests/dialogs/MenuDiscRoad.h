#pragma once
// The dialog tests' road to a disc and back: a project of one clip title on
// one list page with its disc side rebuilt (the page the dialogs edit), and
// what they read back of a DVD folder authored on the disc road
// (DiscRoadSupport.h): the first menu's button areas, the colours of its
// button highlight, and the loudness of a stretch of a stream.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>

#include <gtest/gtest.h>
#include <QColor>
#include <QFile>
#include <QList>
#include <QRect>
#include <algorithm>
#include <functional>

#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "lumenta/LMFunctions.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/core/DiscSideRebuild.h"

namespace dialogtest {

// The title of a one-title project and the menu page of its list page.
struct OneTitle {
    std::shared_ptr<DVDTitleData> title;
    std::shared_ptr<DVDPage> page;
};

// The whole of `movie` (`seconds` long) as the one clip of the one title of
// a new list page of `media`, and `disc` rebuilt from the media side. Both
// empty (with a failure) when a step fails.
inline OneTitle oneTitlePage(const std::shared_ptr<DataResource>& media,
                             const std::shared_ptr<DVDResource>& disc, const QString& movie,
                             double seconds)
{
    const auto source = SectionDataResource::resourceWithPath(movie);
    if (!source) {
        ADD_FAILURE() << "not imported: " << qPrintable(movie);
        return {};
    }
    media->addSectionDataResourceToArray(source);
    const auto section = source->createMediaSectionItem();
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(
        static_cast<qint64>(seconds * static_cast<double>(lm_default_time_base())));
    source->mediaSectionArray().append(section);
    const auto clip = section->createMediaData();
    if (!clip) {
        ADD_FAILURE() << "no clip of " << qPrintable(movie);
        return {};
    }
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    auto title = std::make_shared<DVDTitleData>();
    title->setMediaDataArray({clip});
    title->setSuperPage(list);
    clip->setSuperTitleData(title);
    list->setTitleDataArray({title});
    DiscSideRebuild(media, disc).flushDVDResourceBeforeEdit();
    if (!list->menuPage()) {
        ADD_FAILURE() << "the rebuilt disc side has no page for the list page";
        return {};
    }
    return {title, list->menuPage()};
}

// Calls `read` with the first menu chain that has cells, in the first
// title set of the DVD folder at `path`, and the navigation packet at the
// start of its first cell. Nothing is called when there is none.
inline void readFirstMenuPacket(const QString& path,
                                const std::function<void(const pgc_t&, const pci_t&)>& read)
{
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return;
    }
    ifo_handle_t* vts = ifoOpen(dvd, 1);
    dvd_file_t* menus = vts ? DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS) : nullptr;
    if (vts && menus && vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0) {
        const pgcit_t* chains = vts->pgci_ut->lu[0].pgcit;
        for (int i = 0; i < chains->nr_of_pgci_srp; ++i) {
            const pgc_t* pgc = chains->pgci_srp[i].pgc;
            if (!pgc || pgc->nr_of_cells == 0 || !pgc->cell_playback) {
                continue;
            }
            unsigned char block[DVD_VIDEO_LB_LEN];
            const int sector = static_cast<int>(pgc->cell_playback[0].first_sector);
            if (DVDReadBlocks(menus, sector, 1, block) != 1) {
                continue;
            }
            const unsigned char* pci = block + 0x26;
            if (pci[0] == 0 && pci[1] == 0 && pci[2] == 1 && pci[3] == 0xbf && pci[6] == 0) {
                pci_t packet;
                navRead_PCI(&packet, const_cast<unsigned char*>(pci) + 7);
                read(*pgc, packet);
                break;
            }
        }
    }
    if (menus) {
        DVDCloseFile(menus);
    }
    if (vts) {
        ifoClose(vts);
    }
    DVDClose(dvd);
}

// The button areas of the first navigation packet of the first menu of the
// DVD folder at `path`, each x0, y0, x1, y1 in video pixels from the top.
inline QList<QRect> firstMenuButtons(const QString& path)
{
    QList<QRect> buttons;
    readFirstMenuPacket(path, [&](const pgc_t&, const pci_t& packet) {
        for (int b = 0; b < (packet.hli.hl_gi.btn_ns & 0x3f); ++b) {
            const btni_t& button = packet.hli.btnit[b];
            buttons.append(QRect(QPoint(int(button.x_start), int(button.y_start)),
                                 QPoint(int(button.x_end), int(button.y_end))));
        }
    });
    return buttons;
}

// One colour of a button's subpicture as the disc holds it: the menu
// chain's palette entry (Y, Cr, Cb) made RGB, and its contrast 0 .. 15.
struct SubpictureColour {
    QColor colour;
    int contrast = 0;
};

// A palette entry 0x00YYCrCb (studio range) as RGB.
inline QColor colourOfPaletteEntry(uint32_t entry)
{
    const double y = 1.164 * (double((entry >> 16) & 0xff) - 16.0);
    const double cr = double((entry >> 8) & 0xff) - 128.0;
    const double cb = double(entry & 0xff) - 128.0;
    const auto channel = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return QColor(channel(y + 1.596 * cr), channel(y - 0.813 * cr - 0.391 * cb),
                  channel(y + 2.018 * cb));
}

// The four colours (emphasis 2, emphasis 1, pattern, background) of one
// entry of a button colour table, with the chain's palette.
inline QList<SubpictureColour> coloursOfEntry(uint32_t entry, const pgc_t& pgc)
{
    QList<SubpictureColour> colours;
    for (int k = 0; k < 4; ++k) {
        const int index = int((entry >> (28 - 4 * k)) & 0x0f);
        const int contrast = int((entry >> (12 - 4 * k)) & 0x0f);
        colours.append({colourOfPaletteEntry(pgc.palette[index]), contrast});
    }
    return colours;
}

// The highlight of the first button of the first menu: its colours while
// selected (spumux's highlight picture) and while activated (its select
// picture). Both empty when the disc holds no button or no colour table.
struct ButtonColours {
    QList<SubpictureColour> selected;
    QList<SubpictureColour> activated;
};

inline ButtonColours firstMenuButtonColours(const QString& path)
{
    ButtonColours colours;
    readFirstMenuPacket(path, [&](const pgc_t& pgc, const pci_t& packet) {
        if ((packet.hli.hl_gi.btn_ns & 0x3f) == 0) {
            return;
        }
        const int table = packet.hli.btnit[0].btn_coln;
        if (table < 1 || table > 3) {
            return;
        }
        colours.selected = coloursOfEntry(packet.hli.btn_colit.btn_coli[table - 1][0], pgc);
        colours.activated = coloursOfEntry(packet.hli.btn_colit.btn_coli[table - 1][1], pgc);
    });
    return colours;
}

// The mean loudness in dB of `seconds` of a stream's sound from `from`
// (-91 for silence), cut to a file of its own in `folder`.
inline double meanVolumeOf(const QString& stream, double from, double seconds,
                           const QString& folder)
{
    const QString cut = folder + QString("/sound-%1.wav").arg(from);
    testsupport::runProgram("ffmpeg", {"-v", "error", "-y", "-ss", QString::number(from), "-i",
                                       stream, "-t", QString::number(seconds), "-vn", cut});
    return discreadback::meanVolume(cut);
}

}  // namespace dialogtest
