#pragma once
// The edit values of a movie, copied as one snapshot for each decoded frame.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

#include "lumenta/LMPicture.h"

namespace lumenta {

struct EditSettings {
    bool hflip = false;
    bool vflip = false;
    float rotate = 0.0f;
    float brightness = 0.5f;
    float saturation = 0.5f;
    float contrast = 0.25f;
    float hue = 0.5f;
    QString effectName;
    int zoomType = 2;
    int aspectType = 0;
    int displayRotation = 0;       // counter-clockwise quarter turn of the stream's display matrix
    QRectF cropRect;               // shown pixels, origin lower left; empty = whole frame
    QSizeF videoSize{0, 0};        // shown pixels (after the display turn) the crop refers to
    QSizeF outputVideoSize{0, 0};  // empty = the content's own size
    QString subtitleFile;          // movie-owned copy, empty for none
    QString subtitleEncoding;
    std::optional<QFont> subtitleFont;  // the renderer's default when unset
    QColor subtitleColor = Qt::white;
    int subtitlePosition = 0;
    LMPicture watermark;
    // Grows with every change of a value the filter chain depends on.
    quint64 chainVersion = 1;
};

}  // namespace lumenta
