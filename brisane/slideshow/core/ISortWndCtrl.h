#pragma once
// The photo sort sheet as the slideshow editor sees it. Main thread.

#include <QList>
#include <functional>
#include <memory>

class PhotoItem;
class QWidget;

class ISortWndCtrl {
public:
    using Photos = QList<std::shared_ptr<PhotoItem>>;
    // Called before the sheet returns with the photos the user removed in it
    // (possibly none).
    using SortCompleted = std::function<void(const Photos& removed)>;

    virtual ~ISortWndCtrl() = default;

    // The window the sheet attaches to. Not owned.
    virtual void setWndSheetedWindow(QWidget* window) = 0;
    virtual void setBlkSortCompleted(SortCompleted completed) = 0;
    // Reorders `photos` in place; returns when the sheet closes.
    virtual void startResortingItems(Photos& photos) = 0;
    // Whether the last run changed anything.
    virtual bool bDidChange() const = 0;
};
