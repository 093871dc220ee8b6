#include "menuedit/core/ItemControlLayout.h"

#include <algorithm>

#include "common/CommonFunction.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "model/DVDPageItem.h"

namespace {

// Whether `inner` lies wholly inside `outer`, edges included.
bool liesInside(const QRectF& inner, const QRectF& outer)
{
    return inner.x() >= outer.x() && inner.y() >= outer.y() &&
           inner.x() + inner.width() <= outer.x() + outer.width() &&
           inner.y() + inner.height() <= outer.y() + outer.height();
}

}  // namespace

QSizeF ItemControlLayout::barSize(bool gotoSubMenuOffered)
{
    return {gotoSubMenuOffered ? wideBarWidth : narrowBarWidth, barHeight};
}

QRectF ItemControlLayout::barFrame(const QRectF& itemFrame, const QRectF& canvas,
                                   bool gotoSubMenuOffered)
{
    const QSizeF size = barSize(gotoSubMenuOffered);
    const QPointF centre = itemFrame.center();
    const double offset = itemFrame.height() / 2 + barHeight / 2 + barGap;
    const QRectF below = CommonFunction::rectForCenter({centre.x(), centre.y() - offset}, size);
    const QRectF above = CommonFunction::rectForCenter({centre.x(), centre.y() + offset}, size);
    const QRectF allowed = canvas.adjusted(-sideAllowance, 0, sideAllowance, 0);
    QRectF chosen = below;
    if (!liesInside(below, allowed) && liesInside(above, allowed)) {
        chosen = above;
    }
    return MenuCanvasGeometry::boundInCanvasLimit(chosen, canvas);
}

QRectF ItemControlLayout::editButtonFrame(bool gotoSubMenuOffered)
{
    return {gotoSubMenuOffered ? 3.0 : 4.0, 6.0, 110.0, 28.0};
}

QRectF ItemControlLayout::gotoButtonFrame()
{
    return {116.0, 6.0, 138.0, 28.0};
}

QString ItemControlLayout::controlEditTitle(qint64 type)
{
    switch (type) {
        case 1:
        case 4:
            return QStringLiteral("Edit Frame");
        case 2:
            return QStringLiteral("Edit Text");
        case 11:
        case 12:
        case 13:
            return QStringLiteral("Edit Button");
        default:
            return QStringLiteral("Edit");
    }
}

bool ItemControlLayout::controlGotoSubMenuEnable(const DVDPageItem* item)
{
    if (!item || item->type() == 2) {
        return false;
    }
    return item->hasSubPage();
}

float ItemControlLayout::dialogX(double itemRight, double screenRight, double dialogWidth)
{
    return std::min(static_cast<float>(itemRight + 50),
                    static_cast<float>(screenRight - dialogWidth));
}
