#pragma once
// The data of a drag that carries one item under one private type (such as
// "private.ListDragNoneItemType").
//
// Inside the application the item comes back as it was given
// (pasteboardPropertyListForType); as bytes, under the type, it is the item's
// CBOR encoding. The type and the item may be read and set from any thread.

#include <QMimeData>
#include <QMutex>
#include <QVariant>

class ViewDraggingItemImp : public QMimeData {
    Q_OBJECT
public:
    ViewDraggingItemImp();
    ~ViewDraggingItemImp() override;

    QString dragType() const;
    void setDragType(const QString& type);
    QVariant dragItem() const;
    void setDragItem(const QVariant& item);

    // The one type the drag offers.
    QStringList writableTypesForPasteboard() const;
    // The item, whatever type is asked.
    QVariant pasteboardPropertyListForType(const QString& type) const;

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    mutable QMutex mutex_;
    QString dragType_;
    QVariant dragItem_;
};
