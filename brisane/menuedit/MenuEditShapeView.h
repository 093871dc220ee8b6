#pragma once
// The transparent overlay that lies over the whole menu canvas and holds the
// selection of menu items. The menu edit controller reads the selection to
// find its current item and to place the item bar.
//
// It covers the canvas view exactly and shares its coordinates, so it needs
// no conversion of its own. Main thread.

#include <QList>
#include <QWidget>
#include <memory>

class DVDPageItem;

class MenuEditShapeView : public QWidget {
    Q_OBJECT
public:
    using ItemList = QList<std::shared_ptr<DVDPageItem>>;

    explicit MenuEditShapeView(QWidget* parent = nullptr);

    // The selection, in the order the items were added.
    const ItemList& selectedItemArray() const { return selectedItemArray_; }
    void setSelectedItemArray(const ItemList& items);
    // Empties the selection.
    void removeAllSelectedItems();

private:
    ItemList selectedItemArray_;
};
