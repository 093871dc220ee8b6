#pragma once
// The text forms of points, sizes and rectangles used in archives:
// a point or size is "{a, b}", a rectangle "{{x, y}, {w, h}}". Reading is
// forgiving: numbers are taken in order and anything missing or unreadable
// reads as zero.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

QString stringFromRect(const QRectF& rect);
QString stringFromSize(const QSizeF& size);
QString stringFromPoint(const QPointF& point);

QRectF rectFromString(const QString& text);
QSizeF sizeFromString(const QString& text);
QPointF pointFromString(const QString& text);
