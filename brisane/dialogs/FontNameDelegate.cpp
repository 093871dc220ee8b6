#include "dialogs/FontNameDelegate.h"

QFont FontNameDelegate::previewFont(const QString& family)
{
    QFont font(family);
    font.setPointSize(previewPointSize);
    return font;
}

void FontNameDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->font = previewFont(index.data(Qt::DisplayRole).toString());
}
