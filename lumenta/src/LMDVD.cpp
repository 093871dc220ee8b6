#include "lumenta/LMDVD.h"

#include <QDebug>
#include <QFile>

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
}

LMDVD::Ptr LMDVD::open(const QString& path)
{
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
        dvd->m_titles.append(Value(title));
    }
    ifoClose(vmg);
    DVDClose(reader);
    return dvd;
}
