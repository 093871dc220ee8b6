#include "DiscReadBack.h"

#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <gtest/gtest.h>

#include <QFile>

#include "TestSupport.h"

namespace disctest {

bool makeDvdStream(const QString& path, double seconds)
{
    const QString duration = QString::number(seconds);
    return testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:duration=" + duration, "-f",
               "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=" + duration,
               "-target", "pal-dvd", "-aspect", "16:9", "-ac", "2", "-shortest"});
}

dvd_reader_t* openDisc(const QString& path)
{
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
    }
    return dvd;
}

DiscLayout readLayout(dvd_reader_t* dvd)
{
    DiscLayout layout;
    if (ifo_handle_t* vmg = ifoOpen(dvd, 0)) {
        if (vmg->tt_srpt) {
            layout.titles = vmg->tt_srpt->nr_of_srpts;
            for (int i = 0; i < layout.titles; ++i) {
                layout.chapters.append(vmg->tt_srpt->title[i].nr_of_ptts);
            }
        }
        ifoClose(vmg);
    }
    if (ifo_handle_t* vts = ifoOpen(dvd, 1)) {
        if (vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0) {
            layout.menuChains = vts->pgci_ut->lu[0].pgcit->nr_of_pgci_srp;
        }
        ifoClose(vts);
    }
    return layout;
}

DiscLayout readLayout(const QString& path)
{
    dvd_reader_t* dvd = openDisc(path);
    if (!dvd) {
        return {};
    }
    const DiscLayout layout = readLayout(dvd);
    DVDClose(dvd);
    return layout;
}

}  // namespace disctest
