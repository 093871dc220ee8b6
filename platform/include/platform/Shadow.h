#pragma once
// A drop shadow: offset in drawing units, blur radius and colour.

#include <QColor>
#include <QPointF>

struct Shadow {
    QPointF offset;
    double blurRadius = 0.0;
    QColor color = QColor(0, 0, 0, 85);

    friend bool operator==(const Shadow&, const Shadow&) = default;
};
