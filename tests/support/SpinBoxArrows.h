#pragma once
// Whether a spin box's up and down arrows can be seen: its buttons hold
// dark pixels (the arrows) on their light face.

#include <QAbstractSpinBox>
#include <QImage>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace testsupport {

class ArrowProbe : public QAbstractSpinBox {
public:
    // The option the spin box paints with.
    static QStyleOptionSpinBox optionOf(const QAbstractSpinBox& box)
    {
        QStyleOptionSpinBox option;
        static_cast<const ArrowProbe&>(box).initStyleOption(&option);
        return option;
    }
};

inline bool hasDarkArrows(QAbstractSpinBox& box)
{
    const QImage shot = box.grab().toImage();
    const QStyleOptionSpinBox option = ArrowProbe::optionOf(box);
    for (QStyle::SubControl button : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
        const QRect area = box.style()
                               ->subControlRect(QStyle::CC_SpinBox, &option, button, &box)
                               .adjusted(2, 2, -2, -2);
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                dark += qGray(shot.pixel(x, y)) < 110 ? 1 : 0;
            }
        }
        if (dark < 3) {
            return false;
        }
    }
    return true;
}

}  // namespace testsupport
