#pragma once
// What the dialog tests read back of a DVD folder authored on the disc road
// (DiscRoadSupport.h): the button areas the first menu's navigation packets
// hold.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>

#include <gtest/gtest.h>
#include <QFile>
#include <QList>
#include <QRect>

#include "DiscRoadSupport.h"

namespace dialogtest {

// The button areas of the first navigation packet of the first menu of the
// DVD folder at `path`, each x0, y0, x1, y1 in video pixels from the top.
inline QList<QRect> firstMenuButtons(const QString& path)
{
    QList<QRect> buttons;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return buttons;
    }
    ifo_handle_t* vts = ifoOpen(dvd, 1);
    dvd_file_t* menus = vts ? DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS) : nullptr;
    if (vts && menus && vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0) {
        const pgcit_t* chains = vts->pgci_ut->lu[0].pgcit;
        for (int i = 0; i < chains->nr_of_pgci_srp && buttons.isEmpty(); ++i) {
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
                for (int b = 0; b < (packet.hli.hl_gi.btn_ns & 0x3f); ++b) {
                    const btni_t& button = packet.hli.btnit[b];
                    buttons.append(QRect(QPoint(int(button.x_start), int(button.y_start)),
                                         QPoint(int(button.x_end), int(button.y_end))));
                }
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
    return buttons;
}

}  // namespace dialogtest
