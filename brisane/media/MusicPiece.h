#pragma once
// One piece of a slideshow's music as laid under the slideshow: a range of a
// music file with its fades, all in media time (1,000,000 ticks per second).
// The converter and the players turn pieces into media items of their own.

#include <QString>
#include <QtGlobal>

struct MusicPiece {
    QString path;
    qint64 trimStart = 0;
    qint64 trimStop = 0;
    qint64 fadeIn = 0;
    qint64 fadeOut = 0;

    qint64 duration() const { return trimStop - trimStart; }
    friend bool operator==(const MusicPiece&, const MusicPiece&) = default;
};
