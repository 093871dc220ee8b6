#include "menuedit/core/MenuAspectSwitch.h"

#include <QDebug>
#include <algorithm>
#include <cmath>

#include "menuedit/core/MenuCanvasGeometry.h"
#include "menuedit/core/MenuPageLayout.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"

namespace {

// Tolerance of the comparisons of frames that went through single precision.
constexpr double fuzz = 1e-6;

// One item of a page as the switch moved it.
struct MovedItem {
    std::shared_ptr<DVDPageItem> item;
    QRectF before;  // its frame before the switch
    bool program;   // laid out by the program (MenuPageLayout)
    bool clamped;   // the clamp moved it from where the shift put it
};

// How far apart two frames lie: the larger of their gaps across and up;
// no more than 0 when they share an area.
double separation(const QRectF& a, const QRectF& b)
{
    const double across = std::max(b.left() - a.right(), a.left() - b.right());
    const double up = std::max(b.top() - a.bottom(), a.top() - b.bottom());
    return std::max(across, up);
}

// Whether the clamp moved or narrowed a frame from `shifted`, more than the
// single precision of its centre accounts for.
bool movedByClamp(const QRectF& frame, const QRectF& shifted)
{
    const double most = 1e-3;
    return std::abs(frame.x() - shifted.x()) > most || std::abs(frame.y() - shifted.y()) > most ||
           std::abs(frame.width() - shifted.width()) > most ||
           std::abs(frame.height() - shifted.height()) > most;
}

// Whether the switch brought `item` onto `other`, or nearer to it than both
// the room the program keeps between items and the room they had before.
bool cameTooNear(const MovedItem& item, const MovedItem& other)
{
    if (MenuPageLayout::overlaps(item.before, other.before)) {
        return false;  // laid on each other by the user
    }
    const double kept = std::min(MenuPageLayout::itemGap, separation(item.before, other.before));
    return separation(item.item->frame(), other.item->frame()) < kept - fuzz;
}

// The user's buttons of one page in turn, the ones the clamp left where the
// shift put them first (among themselves they lie as they did), each against
// those settled before it: one that came too near takes free room.
void keepUsersButtonsApart(const QList<MovedItem>& moved, const QRectF& canvas)
{
    QList<const MovedItem*> users;
    QList<QRectF> program;
    for (const MovedItem& m : moved) {
        if (m.program) {
            program.append(m.item->frame());
        } else if (!m.clamped) {
            users.append(&m);
        }
    }
    for (const MovedItem& m : moved) {
        if (!m.program && m.clamped) {
            users.append(&m);
        }
    }
    QList<const MovedItem*> settled;
    for (const MovedItem* user : users) {
        const bool tooNear = std::any_of(settled.begin(), settled.end(), [&](const MovedItem* s) {
            return cameTooNear(*user, *s);
        });
        if (tooNear) {
            QList<QRectF> taken;
            for (const MovedItem* s : settled) {
                taken.append(s->item->frame());
            }
            const QRectF frame = user->item->frame();
            auto room =
                MenuPageLayout::freeRect(frame.size(), frame.center(), canvas, taken + program);
            if (!room) {
                room = MenuPageLayout::freeRect(frame.size(), frame.center(), canvas, taken);
            }
            if (room) {
                user->item->setFrame(*room);
            } else {
                qWarning() << "MenuAspectSwitch: no room left on the page to keep a button apart";
            }
        }
        settled.append(user);
    }
}

}  // namespace

float MenuAspectSwitch::shiftForSwitch(qint64 lastTimeAspect, double newCanvasWidth)
{
    const float width = static_cast<float>(newCanvasWidth);
    if (lastTimeAspect != 0) {
        const float ratio = 0.75f;
        const float former = width / ratio;
        return -((former - width) / 2);
    }
    const float ratio = 1.3333334f;
    return (width - width / ratio) / 2;
}

void MenuAspectSwitch::moveItemsInPages(const QList<std::shared_ptr<DVDPage>>& pages, float shift,
                                        const QRectF& canvas)
{
    for (const auto& page : pages) {
        if (!page) {
            continue;
        }
        QList<MovedItem> moved;
        for (const auto& item : page->itemArray()) {
            if (!item) {
                continue;
            }
            const bool program = MenuPageLayout::isPlacedByProgram(*item);
            const QRectF before = item->frame();
            const QRectF shifted = before.translated(shift, 0);
            item->setFrame(MenuCanvasGeometry::boundInCanvasLimit(shifted, canvas));
            if (program && item->lastTimeTitleFrame() != QRectF()) {
                item->setLastTimeTitleFrame(item->frame());
            }
            if (!item->isStaticItem()) {
                moved.append({item, before, program, movedByClamp(item->frame(), shifted)});
            }
        }
        keepUsersButtonsApart(moved, canvas);
    }
}

void MenuAspectSwitch::changeClipOutputSizes(const DataResource& media, const DVDResource& disc)
{
    disc.changeVideoOutputSizeWithDataResource(media);
}
