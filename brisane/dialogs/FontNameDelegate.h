#pragma once
// Draws each entry of a font list in its own face at 11 points, so the list
// shows what every font looks like. The chosen entry in the closed list keeps
// the ordinary face (the combo box draws that itself). Main thread.

#include <QStyledItemDelegate>

class FontNameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int previewPointSize = 11;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The face an entry of that family is drawn in.
    static QFont previewFont(const QString& family);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
