#include "menuedit/core/MenuPageLayout.h"

#include <QDebug>
#include <algorithm>
#include <cmath>

#include "model/DVDPage.h"
#include "model/DVDPageItem.h"

namespace {

using ItemPtr = std::shared_ptr<DVDPageItem>;

// The lower edge of the lower row of titles: the button band (10 to 80)
// and a clear stretch above it.
constexpr double lowerRowBottom = 100.0;
constexpr double buttonBandBottom = 10.0;
// Steps of the shrinking in free space, in percent.
constexpr int scaleStepPercent = 5;
// Tolerance of the comparisons of frames that went through single precision.
constexpr double fuzz = 1e-6;

bool isInside(const QRectF& inner, const QRectF& outer)
{
    return inner.left() >= outer.left() - fuzz && inner.top() >= outer.top() - fuzz &&
           inner.right() <= outer.right() + fuzz && inner.bottom() <= outer.bottom() + fuzz;
}

bool isClear(const QRectF& rect, const QList<QRectF>& taken, double gap = 0)
{
    const QRectF grown = rect.adjusted(-gap, -gap, gap, gap);
    return std::none_of(taken.begin(), taken.end(), [&](const QRectF& other) {
        return MenuPageLayout::overlaps(grown, other);
    });
}

bool isFreePlace(const QRectF& place, const QRectF& canvas, const QList<QRectF>& taken)
{
    return isInside(place, canvas) && isClear(place, taken);
}

void give(DVDPageItem& item, const QRectF& frame)
{
    item.setFrame(frame);
    item.setLastTimeTitleFrame(frame);
}

// A button takes the shape of its picture (a project load refits it so),
// as large as fits in `room` and centred in it.
void giveButton(DVDPageItem& button, const QRectF& room)
{
    button.setFrame(room);
    button.updateItemFrameAutoFit();
    QRectF frame = button.frame();
    if (frame.height() > room.height()) {
        const QSizeF size = frame.size() * (room.height() / frame.height());
        frame = QRectF(room.center() - QPointF(size.width() / 2, size.height() / 2), size);
    }
    give(button, frame);
}

bool closeTo(double a, double b)
{
    return std::abs(a - b) <= 1e-3;
}

// The same column and middle as `initial`: the frame every new page gives
// the button, maybe refitted to the shape of its picture.
bool isInitialButtonFrame(const QRectF& frame, const QRectF& initial)
{
    return closeTo(frame.x(), initial.x()) && closeTo(frame.width(), initial.width()) &&
           closeTo(frame.center().y(), initial.center().y());
}

bool isTitle(const DVDPageItem& item)
{
    return !item.isStaticItem() && !item.isButtonItem();
}

double distanceSquared(const QPointF& a, const QPointF& b)
{
    const QPointF d = a - b;
    return d.x() * d.x() + d.y() * d.y();
}

// Where a rectangle of `size` may start along one axis: against the canvas
// edges and against either side of every taken rectangle, gap kept.
QList<double> starts(double low, double high, double length, const QList<double>& lows,
                     const QList<double>& highs)
{
    const double gap = MenuPageLayout::itemGap;
    QList<double> values{low + gap, high - gap - length};
    for (const double value : highs) {
        values.append(value + gap);
    }
    for (const double value : lows) {
        values.append(value - gap - length);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::optional<QRectF> nearestAtSize(const QSizeF& size, const QPointF& near, const QRectF& canvas,
                                    const QList<QRectF>& taken)
{
    QList<double> lefts, rights, bottoms, tops;
    for (const QRectF& rect : taken) {
        lefts.append(rect.left());
        rights.append(rect.right());
        bottoms.append(rect.top());  // y up: top() is the lower edge
        tops.append(rect.bottom());
    }
    const QList<double> xs = starts(canvas.left(), canvas.right(), size.width(), lefts, rights);
    const QList<double> ys = starts(canvas.top(), canvas.bottom(), size.height(), bottoms, tops);
    const QRectF room = canvas.adjusted(MenuPageLayout::itemGap, MenuPageLayout::itemGap,
                                        -MenuPageLayout::itemGap, -MenuPageLayout::itemGap);
    std::optional<QRectF> best;
    double bestDistance = 0;
    for (const double y : ys) {
        for (const double x : xs) {
            const QRectF candidate(QPointF(x, y), size);
            if (!isInside(candidate, room) ||
                !isClear(candidate, taken, MenuPageLayout::itemGap - fuzz)) {
                continue;
            }
            const double distance = distanceSquared(candidate.center(), near);
            if (!best || distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    return best;
}

}  // namespace

QList<QRectF> MenuPageLayout::titlePlaces(const QSizeF& canvas)
{
    const double w = canvas.width();
    const double h = canvas.height();
    const double lowerRowMiddle = lowerRowBottom + titleSize.height() / 2;
    const QList<QPointF> centres{{w * 0.25, h * 0.75},
                                 {w * 0.75, h * 0.75},
                                 {w * 0.25, lowerRowMiddle},
                                 {w * 0.75, lowerRowMiddle},
                                 {w * 0.5, h * 0.5}};
    QList<QRectF> places;
    for (const QPointF& centre : centres) {
        const QRectF place(centre.x() - titleSize.width() / 2, centre.y() - titleSize.height() / 2,
                           titleSize.width(), titleSize.height());
        // On a narrow canvas the middle would lie on the four others.
        if (isClear(place, places, itemGap - fuzz)) {
            places.append(place);
        }
    }
    return places;
}

QRectF MenuPageLayout::buttonPlace(qint64 type, const QSizeF& canvas)
{
    const double w = canvas.width();
    double x = 0;
    switch (type) {
        case 12:
            x = w * 0.25 - titleSize.width() / 2;
            break;
        case 13:
            x = w * 0.75 + titleSize.width() / 2 - buttonSize.width();
            break;
        case 11:
            x = (w - buttonSize.width()) / 2;
            break;
        default:
            return {};
    }
    return QRectF(QPointF(x, buttonBandBottom), buttonSize);
}

bool MenuPageLayout::overlaps(const QRectF& a, const QRectF& b)
{
    return std::min(a.right(), b.right()) - std::max(a.left(), b.left()) > fuzz &&
           std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) > fuzz;
}

bool MenuPageLayout::isPlacedByProgram(const DVDPageItem& item)
{
    if (item.isStaticItem()) {
        return false;
    }
    const QRectF frame = item.frame();
    if (frame == QRectF()) {
        return true;
    }
    const QRectF last = item.lastTimeTitleFrame();
    if (last != QRectF()) {
        return frame == last;
    }
    return item.isButtonItem() &&
           isInitialButtonFrame(frame, DVDPage::initialButtonFrame(item.type()));
}

void MenuPageLayout::layOutPage(DVDPage& page, const QRectF& canvas)
{
    const QSizeF size = canvas.size();
    QList<QRectF> taken;
    QList<ItemPtr> titles;
    QList<ItemPtr> buttons;
    for (const ItemPtr& item : page.itemArray()) {
        if (!item || item->isStaticItem()) {
            continue;
        }
        if (!isPlacedByProgram(*item)) {
            taken.append(item->frame());
        } else if (item->isButtonItem()) {
            buttons.append(item);
        } else if (isTitle(*item)) {
            titles.append(item);
        }
    }

    // The program's titles that lie well stay where the user saw them.
    QList<ItemPtr> titlesLeft;
    for (const ItemPtr& title : titles) {
        const QRectF frame = title->frame();
        if (frame != QRectF() && isFreePlace(frame, canvas, taken)) {
            taken.append(frame);
        } else {
            titlesLeft.append(title);
        }
    }
    QList<ItemPtr> buttonsLeft;
    for (const ItemPtr& button : buttons) {
        const QRectF place = buttonPlace(button->type(), size);
        if (isFreePlace(place, canvas, taken)) {
            giveButton(*button, place);
            taken.append(place);
        } else {
            buttonsLeft.append(button);
        }
    }

    // Free space for titles keeps clear of the places of the buttons the
    // page does not show now, so that they find them free when they come.
    QList<QRectF> reserved;
    for (const qint64 type : {12, 11, 13}) {
        const QRectF place = buttonPlace(type, size);
        if (isFreePlace(place, canvas, taken)) {
            reserved.append(place);
        }
    }
    const QList<QRectF> places = titlePlaces(size);
    for (const ItemPtr& title : titlesLeft) {
        const auto place = std::find_if(places.begin(), places.end(), [&](const QRectF& p) {
            return isFreePlace(p, canvas, taken);
        });
        std::optional<QRectF> frame;
        if (place != places.end()) {
            frame = *place;
        } else {
            frame = freeRect(titleSize, canvas.center(), canvas, taken + reserved);
        }
        if (!frame) {
            qWarning() << "MenuPageLayout: no room left on the page for a title";
            continue;
        }
        give(*title, *frame);
        taken.append(*frame);
    }
    for (const ItemPtr& button : buttonsLeft) {
        const QPointF near = buttonPlace(button->type(), size).center();
        const auto frame = freeRect(buttonSize, near, canvas, taken);
        if (!frame) {
            qWarning() << "MenuPageLayout: no room left on the page for a button";
            continue;
        }
        giveButton(*button, *frame);
        taken.append(*frame);
    }
}

std::optional<QRectF> MenuPageLayout::freeRect(const QSizeF& size, const QPointF& near,
                                               const QRectF& canvas, const QList<QRectF>& taken)
{
    const int smallest = static_cast<int>(std::round(smallestScale * 100));
    for (int percent = 100; percent >= smallest; percent -= scaleStepPercent) {
        const double scale = percent / 100.0;
        if (const auto found = nearestAtSize(size * scale, near, canvas, taken)) {
            return found;
        }
    }
    return std::nullopt;
}
