#include "menuedit/MenuEditShapeView.h"

MenuEditShapeView::MenuEditShapeView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::ClickFocus);
}

void MenuEditShapeView::setSelectedItemArray(const ItemList& items)
{
    selectedItemArray_ = items;
    update();
}

void MenuEditShapeView::removeAllSelectedItems()
{
    setSelectedItemArray({});
}
