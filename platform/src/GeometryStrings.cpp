#include "platform/GeometryStrings.h"

#include <QList>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

QString number(double value)
{
    if (!std::isfinite(value)) {
        return QStringLiteral("0");
    }
    if (value == 0.0) {
        return QStringLiteral("0");  // never "-0"
    }
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString pair(double a, double b)
{
    return QStringLiteral("{%1, %2}").arg(number(a), number(b));
}

// The first `count` numbers of the text, zeros where there are fewer.
QList<double> numbers(const QString& text, int count)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)"));
    QList<double> values;
    auto it = pattern.globalMatch(text);
    while (it.hasNext() && values.size() < count) {
        bool ok = false;
        const double v = it.next().captured(0).toDouble(&ok);
        values.append(ok && std::isfinite(v) ? v : 0.0);
    }
    while (values.size() < count) {
        values.append(0.0);
    }
    return values;
}

}  // namespace

QString stringFromRect(const QRectF& rect)
{
    return QStringLiteral("{%1, %2}").arg(pair(rect.x(), rect.y()),
                                         pair(rect.width(), rect.height()));
}

QString stringFromSize(const QSizeF& size)
{
    return pair(size.width(), size.height());
}

QString stringFromPoint(const QPointF& point)
{
    return pair(point.x(), point.y());
}

QRectF rectFromString(const QString& text)
{
    const auto v = numbers(text, 4);
    return QRectF(v[0], v[1], v[2], v[3]);
}

QSizeF sizeFromString(const QString& text)
{
    const auto v = numbers(text, 2);
    return QSizeF(v[0], v[1]);
}

QPointF pointFromString(const QString& text)
{
    const auto v = numbers(text, 2);
    return QPointF(v[0], v[1]);
}
