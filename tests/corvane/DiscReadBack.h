#pragma once
// Shared by the tests that author real discs: small PAL DVD streams made with
// ffmpeg, and what libdvdread reads back from an authored folder or image.

#include <dvdread/dvd_reader.h>

#include <QList>
#include <QString>

namespace disctest {

// A PAL 16:9 DVD stream: test picture and tone, `seconds` long. Fails the
// current test when ffmpeg is missing or fails.
bool makeDvdStream(const QString& path, double seconds);

// Titles, chapters per title and the program chains of the first title set's
// menus; -1 where the disc does not say.
struct DiscLayout {
    int titles = -1;
    QList<int> chapters;  // per title
    int menuChains = -1;
};

// Opens a DVD folder or image with libdvdread; fails the current test and
// answers null when it cannot. Close it with DVDClose.
dvd_reader_t* openDisc(const QString& path);

// The layout of an open disc.
DiscLayout readLayout(dvd_reader_t* dvd);

// The layout of the DVD folder or image at `path`.
DiscLayout readLayout(const QString& path);

}  // namespace disctest
