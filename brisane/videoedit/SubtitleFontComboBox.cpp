#include "videoedit/SubtitleFontComboBox.h"

#include <QFontDatabase>

SubtitleFontComboBox::SubtitleFontComboBox(QWidget* parent) : QComboBox(parent)
{
    addItems(QFontDatabase::families());
    setMaxVisibleItems(20);
}

void SubtitleFontComboBox::menuWillOpen()
{
    for (int i = 0; i < count(); ++i) {
        if (!itemData(i, Qt::FontRole).isValid()) {
            setItemData(i, QFont(itemText(i), kSampleFontSize), Qt::FontRole);
        }
    }
}

void SubtitleFontComboBox::showPopup()
{
    menuWillOpen();
    QComboBox::showPopup();
}
