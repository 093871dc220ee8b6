#include "common/ViewDraggingItemImp.h"

#include <QCborValue>

ViewDraggingItemImp::ViewDraggingItemImp() = default;

ViewDraggingItemImp::~ViewDraggingItemImp() = default;

QString ViewDraggingItemImp::dragType() const
{
    QMutexLocker lock(&mutex_);
    return dragType_;
}

void ViewDraggingItemImp::setDragType(const QString& type)
{
    QMutexLocker lock(&mutex_);
    dragType_ = type;
}

QVariant ViewDraggingItemImp::dragItem() const
{
    QMutexLocker lock(&mutex_);
    return dragItem_;
}

void ViewDraggingItemImp::setDragItem(const QVariant& item)
{
    QMutexLocker lock(&mutex_);
    dragItem_ = item;
}

QStringList ViewDraggingItemImp::writableTypesForPasteboard() const
{
    return {dragType()};
}

QVariant ViewDraggingItemImp::pasteboardPropertyListForType(const QString&) const
{
    return dragItem();
}

QStringList ViewDraggingItemImp::formats() const
{
    const QString type = dragType();
    return type.isEmpty() ? QStringList() : QStringList{type};
}

bool ViewDraggingItemImp::hasFormat(const QString& mimeType) const
{
    return !mimeType.isEmpty() && mimeType == dragType();
}

QVariant ViewDraggingItemImp::retrieveData(const QString& mimeType, QMetaType) const
{
    if (!hasFormat(mimeType)) {
        return {};
    }
    return QCborValue::fromVariant(dragItem()).toCbor();
}
