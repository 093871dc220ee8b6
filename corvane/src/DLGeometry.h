#pragma once
// Small rectangle rules shared by the template page and element drawing.

#include <QRectF>

namespace dlgeometry {

// `rect` shrunk by `amount` on every side; an empty rectangle when a side
// would become negative, so nothing is drawn into it.
inline QRectF insetRect(const QRectF& rect, double amount)
{
    const double width = rect.width() - 2 * amount;
    const double height = rect.height() - 2 * amount;
    if (!(width >= 0) || !(height >= 0)) {
        return QRectF();
    }
    return QRectF(rect.x() + amount, rect.y() + amount, width, height);
}

}  // namespace dlgeometry
