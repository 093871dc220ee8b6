#include "common/CommonFunction.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QSysInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

#include "platform/Numeric.h"

namespace {

// The ratio of two lengths in single precision. A negative length (a frame
// inset past its size) counts as zero, so it never turns into a huge
// enlargement below.
float ratio(double length, double other)
{
    return static_cast<float>(std::max(length, 0.0) / std::max(other, 0.0));
}

// The fitting factor is never below 0.01 (at most 100 times enlarged). 0 / 0
// gives NaN, which takes the floor too.
float atLeastOnePercent(float factor)
{
    return factor >= 0.01f ? factor : 0.01f;
}

// The positive root of A·h² + B·h + K = 0 in single precision, or −K / B when
// the equation is linear.
float positiveRoot(double a, double b, double k)
{
    if (a == 0) {
        return static_cast<float>(-k / b);
    }
    return static_cast<float>((std::sqrt(b * b - 4 * a * k) - b) / (2 * a));
}

float projectedHalfLength(float length, double mx, double my, double mw, double m44)
{
    const double a = length * mw * mw;
    const double b = 2 * std::sqrt(mx * mx + my * my) * m44;
    const double k = -length * m44 * m44;
    return positiveRoot(a, b, k);
}

// `rect` divided by the factor, centred on `box`.
QRectF placeScaled(const QRectF& rect, const QRectF& box, float factor)
{
    const double width = std::max(rect.width(), 0.0) / factor;
    const double height = std::max(rect.height(), 0.0) / factor;
    return {box.x() + (box.width() - width) * 0.5, box.y() + (box.height() - height) * 0.5, width,
            height};
}

// Leading decimal digits of `part` as a number; empty when there are none or
// they overflow.
std::optional<quint32> leadingNumber(const QString& part)
{
    qsizetype end = 0;
    while (end < part.size() && part.at(end) >= QLatin1Char('0') &&
           part.at(end) <= QLatin1Char('9')) {
        ++end;
    }
    bool ok = false;
    const quint32 value = part.left(end).toUInt(&ok);
    if (end == 0 || !ok) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

QRectF CommonFunction::rectForCenter(const QPointF& center, const QSizeF& size)
{
    return {center.x() - size.width() * 0.5, center.y() - size.height() * 0.5, size.width(),
            size.height()};
}

QRectF CommonFunction::rectForPoint(const QPointF& p, const QPointF& q)
{
    return {std::min(p.x(), q.x()), std::min(p.y(), q.y()), std::abs(p.x() - q.x()),
            std::abs(p.y() - q.y())};
}

QPointF CommonFunction::centerForRect(const QRectF& rect)
{
    return {rect.x() + rect.width() * 0.5, rect.y() + rect.height() * 0.5};
}

QRectF CommonFunction::scaleRectIn(const QRectF& rect, const QRectF& box)
{
    const float factor =
        std::fmax(ratio(rect.width(), box.width()), ratio(rect.height(), box.height()));
    return placeScaled(rect, box, atLeastOnePercent(factor));
}

QRectF CommonFunction::scaleRectFull(const QRectF& rect, const QRectF& box)
{
    const float factor =
        std::fmin(ratio(rect.width(), box.width()), ratio(rect.height(), box.height()));
    return placeScaled(rect, box, atLeastOnePercent(factor));
}

QRectF CommonFunction::scaleRectContain(const QRectF& rect, const QRectF& box)
{
    if (!(rect.width() > 0) || !(rect.height() > 0)) {
        return rect;
    }
    const float factor = atLeastOnePercent(
        std::fmin(ratio(rect.width(), box.width()), ratio(rect.height(), box.height())));
    if (factor >= 1) {
        return rect;
    }
    const QPointF shift = centerForRect(box) - centerForRect(rect);
    return {rect.topLeft() + shift, rect.size() / factor};
}

QRectF CommonFunction::scaleRectMinLength(const QRectF& rect, float length)
{
    const QPointF center = centerForRect(rect);
    return scaleRectContain(rect, QRectF(center.x(), center.y(), length, length));
}

float CommonFunction::convertLength(float length, float scale)
{
    return length * scale;
}

QSizeF CommonFunction::convertSize(const QSizeF& size, float scale)
{
    return {size.width() * scale, size.height() * scale};
}

QPointF CommonFunction::convertPoint(const QPointF& point, float scale)
{
    return {point.x() * scale, point.y() * scale};
}

QRectF CommonFunction::convertRect(const QRectF& rect, float scale)
{
    return {convertPoint(rect.topLeft(), scale), convertSize(rect.size(), scale)};
}

float CommonFunction::minOfOne(float one, float two, float three, float four)
{
    return std::fmin(std::fmin(one, two), std::fmin(three, four));
}

float CommonFunction::maxOfOne(float one, float two, float three, float four)
{
    return std::fmax(std::fmax(one, two), std::fmax(three, four));
}

float CommonFunction::angleForPoint(const QPointF& point)
{
    const double length = std::sqrt(point.x() * point.x() + point.y() * point.y());
    if (!(length > 0)) {
        return 0;  // the origin has no direction
    }
    float angle = std::asin(static_cast<float>(std::abs(point.y()) / length));
    if (point.x() < 0) {
        angle = static_cast<float>(std::numbers::pi - angle);
    }
    if (point.y() < 0) {
        angle = static_cast<float>(2 * std::numbers::pi - angle);
    }
    return angle;
}

QPointF CommonFunction::pointForLength(float length, float angle)
{
    const double a = angle;
    return {length * std::cos(a), length * std::sin(a)};
}

float CommonFunction::lengthForFixed(const QPointF& fixed, const QPointF& oldDrag,
                                     const QPointF& drag)
{
    const QPointF toDrag = drag - fixed;
    const float length =
        static_cast<float>(std::sqrt(toDrag.x() * toDrag.x() + toDrag.y() * toDrag.y()));
    const float angle = angleForPoint(toDrag) - angleForPoint(oldDrag - fixed);
    return static_cast<float>(std::abs(pointForLength(length, angle).x()));
}

QPointF CommonFunction::convertPointFromTransform(const QPointF& point, const Transform3D& t)
{
    const double x = point.x();
    const double y = point.y();
    const double w = static_cast<float>(std::fmax(x * t.m14 + y * t.m24 + t.m44, 0.01));
    return {(x * t.m11 + y * t.m21 + t.m41) / w, (x * t.m12 + y * t.m22 + t.m42) / w};
}

QPointF CommonFunction::convertPointToTransform(const QPointF& point, const Transform3D& t)
{
    const float px = static_cast<float>(point.x());
    const float py = static_cast<float>(point.y());
    const float a = static_cast<float>(t.m14 * px - t.m11);
    const float b = static_cast<float>(t.m24 * px - t.m21);
    const float c = static_cast<float>(t.m41 - t.m44 * px);
    const float d = static_cast<float>(t.m14 * py - t.m12);
    const float e = static_cast<float>(t.m24 * py - t.m22);
    const float f = static_cast<float>(t.m42 - t.m44 * py);
    const float det = a * e - d * b;
    return {(c * e - f * b) / det, (f * a - c * d) / det};
}

float CommonFunction::widthForLength(float length, const Transform3D& t)
{
    return 2 * projectedHalfLength(length, t.m11, t.m12, t.m14, t.m44);
}

float CommonFunction::heightForLength(float length, const Transform3D& t)
{
    return 2 * projectedHalfLength(length, t.m21, t.m22, t.m24, t.m44);
}

QRectF CommonFunction::rectForPoint(const QPointF& p, const QPointF& q, const Transform3D& t)
{
    const double dx = p.x() - q.x();
    const double dy = p.y() - q.y();
    const double k = (t.m22 * dx - t.m21 * dy) / (t.m11 * dy - t.m12 * dx);
    const double a = (t.m14 * k + t.m24) * 0.5;
    const double u = k * t.m11 + t.m21;
    const double v = k * t.m12 + t.m22;
    const double l1 = std::sqrt(static_cast<double>(static_cast<float>(u * u)) +
                                static_cast<double>(static_cast<float>(v * v)));
    const double r = 2 * static_cast<double>(static_cast<float>(std::sqrt(dx * dx + dy * dy))) / l1;
    const float h = positiveRoot(a * a * r, 2 * t.m44, -t.m44 * t.m44 * r);
    const float w = static_cast<float>(std::abs(k * h));
    return rectForCenter(QPointF(0, 0), QSizeF(w, h));
}

QString CommonFunction::timeStrFromSecond(float seconds)
{
    const int s = saturatingCast<int>(std::max(seconds, 0.0f));
    return QString::asprintf("%02d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60);
}

QString CommonFunction::shortTimeStrFromSecond(float seconds)
{
    const int s = saturatingCast<int>(seconds);
    return QString::asprintf("%02d:%02d", s / 60, s % 60);
}

QString CommonFunction::shaString(const QString& string)
{
    const QByteArray digest = QCryptographicHash::hash(string.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

bool CommonFunction::parseSystemVersion(const QString& release, quint32* major, quint32* minor,
                                        quint32* bugFix)
{
    const QStringList parts = release.trimmed().split(QLatin1Char('.'));
    if (parts.size() < 3) {
        return false;
    }
    const auto first = leadingNumber(parts[0]);
    const auto second = leadingNumber(parts[1]);
    const auto third = leadingNumber(parts[2]);
    if (!first || !second || !third) {
        return false;
    }
    for (auto [target, value] : {std::pair{major, *first}, {minor, *second}, {bugFix, *third}}) {
        if (target) {
            *target = value;
        }
    }
    return true;
}

bool CommonFunction::getSystemVersionMajor(quint32* major, quint32* minor, quint32* bugFix)
{
    return parseSystemVersion(QSysInfo::kernelVersion(), major, minor, bugFix);
}

bool CommonFunction::OSIsSnowLeopard()
{
    quint32 major = 0;
    quint32 minor = 0;
    return getSystemVersionMajor(&major, &minor, nullptr) && major == 10 && minor == 6;
}
