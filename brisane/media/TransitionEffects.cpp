#include "media/TransitionEffects.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "media/Composition.h"

namespace TransitionEffects {
namespace {

struct Change {
    QPainter& painter;
    QSizeF frame;
    const QImage& from;
    const QImage& to;
    double p;
    const Composition& composition;

    double w() const { return frame.width(); }
    double h() const { return frame.height(); }
    QString direction(const char* fallback) const
    {
        return composition.stringParameter(QStringLiteral("Direction"),
                                           QString::fromLatin1(fallback));
    }
};

// Unit vector of a direction of movement, in Qt coordinates (y down).
QPointF directionVector(const QString& direction)
{
    if (direction == QLatin1String("right")) {
        return {1, 0};
    }
    if (direction == QLatin1String("up")) {
        return {0, -1};
    }
    if (direction == QLatin1String("down")) {
        return {0, 1};
    }
    return {-1, 0};
}

double ease(const QString& easing, double p)
{
    p = std::clamp(p, 0.0, 1.0);
    if (easing == QLatin1String("linear")) {
        return p;
    }
    return p * p * (3.0 - 2.0 * p);
}

// A face of w × h in 3-D, given by its four corners (top-left, top-right,
// bottom-right, bottom-left) around the frame centre; the camera looks along
// +z from z = -focal; the plane z = 0 maps 1:1 onto the frame.
struct Point3 {
    double x, y, z;
};

QPointF project(const Point3& p, double focal, const QSizeF& frame)
{
    const double scale = focal / std::max(focal + p.z, 1e-3);
    return {frame.width() * 0.5 + p.x * scale, frame.height() * 0.5 + p.y * scale};
}

void drawFace(QPainter& painter, const QImage& image, const std::array<Point3, 4>& corners,
              double focal, const QSizeF& frame)
{
    QPolygonF quad;
    for (const auto& c : corners) {
        if (focal + c.z <= 1.0) {
            return;  // behind the camera
        }
        quad << project(c, focal, frame);
    }
    // Only faces turned to the camera (clockwise on screen, y down) are drawn.
    const QPointF a = quad[1] - quad[0];
    const QPointF b = quad[3] - quad[0];
    if (a.x() * b.y() - a.y() * b.x() <= 0.0) {
        return;
    }
    QTransform transform;
    const QPolygonF source(QRectF(QPointF(0, 0), QSizeF(image.size())));
    QPolygonF sourceQuad;
    sourceQuad << source[0] << source[1] << source[2] << source[3];
    if (!QTransform::quadToQuad(sourceQuad, quad, transform)) {
        return;
    }
    painter.save();
    painter.setTransform(transform);
    painter.drawImage(QPointF(0, 0), image);
    painter.restore();
}

// Corners of a face lying in the plane x' = 0 of its own, turned by `angle`
// (radians, about the vertical axis through `pivot`) and moved by `shift`.
std::array<Point3, 4> turnedFace(double w, double h, double offsetX, double offsetZ, double angle,
                                 const Point3& pivot)
{
    std::array<Point3, 4> corners{Point3{-w / 2, -h / 2, 0}, Point3{w / 2, -h / 2, 0},
                                  Point3{w / 2, h / 2, 0}, Point3{-w / 2, h / 2, 0}};
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (auto& p : corners) {
        const double x = p.x + offsetX;
        const double z = p.z + offsetZ;
        p.x = pivot.x + x * c + z * s;
        p.z = pivot.z - x * s + z * c;
    }
    return corners;
}

void fillBlack(const Change& c)
{
    c.painter.fillRect(QRectF(QPointF(0, 0), c.frame), Qt::black);
}

void cube(const Change& c)
{
    fillBlack(c);
    const double w = c.w();
    const double h = c.h();
    const double focal = 2.0 * w;
    const double sign = c.direction("left") == QLatin1String("right") ? -1.0 : 1.0;
    const double angle = sign * c.p * std::numbers::pi / 2.0;
    // The cube steps back while it turns so that its edge stays inside the frame.
    const double back = std::sin(c.p * std::numbers::pi) * w * 0.35;
    const Point3 centre{0, 0, w / 2 + back};
    // The old face is the front face; the new one the side face it turns towards.
    drawFace(c.painter, c.from, turnedFace(w, h, 0, -w / 2, angle, centre), focal, c.frame);
    auto side = turnedFace(w, h, 0, -w / 2, angle - sign * std::numbers::pi / 2.0, centre);
    drawFace(c.painter, c.to, side, focal, c.frame);
}

void flip(const Change& c)
{
    fillBlack(c);
    const double w = c.w();
    const double focal = 2.0 * w;
    const double angle = c.p * std::numbers::pi;
    const double back = std::sin(c.p * std::numbers::pi) * w * 0.25;
    const Point3 centre{0, 0, back};
    if (c.p < 0.5) {
        drawFace(c.painter, c.from, turnedFace(w, c.h(), 0, 0, angle, centre), focal, c.frame);
    } else {
        drawFace(c.painter, c.to, turnedFace(w, c.h(), 0, 0, angle - std::numbers::pi, centre),
                 focal, c.frame);
    }
}

void crossfade(const Change& c)
{
    c.painter.drawImage(QPointF(0, 0), c.from);
    c.painter.setOpacity(c.p);
    c.painter.drawImage(QPointF(0, 0), c.to);
    c.painter.setOpacity(1.0);
}

void fadeBlack(const Change& c)
{
    const bool first = c.p < 0.5;
    c.painter.drawImage(QPointF(0, 0), first ? c.from : c.to);
    c.painter.setOpacity(first ? c.p * 2.0 : (1.0 - c.p) * 2.0);
    fillBlack(c);
    c.painter.setOpacity(1.0);
}

void push(const Change& c)
{
    const QPointF d = directionVector(c.direction("left"));
    const QPointF step(d.x() * c.w() * c.p, d.y() * c.h() * c.p);
    const QPointF size(d.x() * c.w(), d.y() * c.h());
    c.painter.drawImage(step, c.from);
    c.painter.drawImage(step - size, c.to);
}

void slide(const Change& c)
{
    const QPointF d = directionVector(c.direction("up"));
    const QPointF size(d.x() * c.w(), d.y() * c.h());
    c.painter.drawImage(QPointF(0, 0), c.from);
    c.painter.drawImage(size * (c.p - 1.0), c.to);
}

void wipe(const Change& c)
{
    const QPointF d = directionVector(c.direction("right"));
    const double span = std::abs(d.x()) > 0 ? c.w() : c.h();
    const double soft =
        span *
        std::clamp(c.composition.doubleParameter(QStringLiteral("Softness"), 0.2), 0.01, 1.0);
    // The edge travels from before the frame to past it; behind it lies the new picture.
    const double edge = -soft / 2 + c.p * (span + soft);
    auto along = [&](double t) {
        const QPointF origin(d.x() < 0 ? c.w() : 0, d.y() < 0 ? c.h() : 0);
        return origin + d * t;
    };
    QImage layer = c.to.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter mask(&layer);
        mask.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient gradient(along(edge - soft / 2), along(edge + soft / 2));
        gradient.setColorAt(0.0, QColor(0, 0, 0, 255));
        gradient.setColorAt(1.0, QColor(0, 0, 0, 0));
        gradient.setSpread(QGradient::PadSpread);
        mask.fillRect(layer.rect(), gradient);
    }
    c.painter.drawImage(QPointF(0, 0), c.from);
    c.painter.drawImage(QPointF(0, 0), layer);
}

void iris(const Change& c)
{
    c.painter.drawImage(QPointF(0, 0), c.from);
    const double radius = c.p * std::hypot(c.w(), c.h()) * 0.5;
    c.painter.save();
    c.painter.setRenderHint(QPainter::Antialiasing);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QBrush(c.to));
    c.painter.drawEllipse(QPointF(c.w() / 2, c.h() / 2), radius, radius);
    c.painter.restore();
}

void blinds(const Change& c)
{
    c.painter.drawImage(QPointF(0, 0), c.from);
    const int slats = std::clamp(
        static_cast<int>(c.composition.doubleParameter(QStringLiteral("Slats"), 8)), 1, 64);
    const double slat = c.w() / slats;
    QPainterPath open;
    for (int i = 0; i < slats; ++i) {
        open.addRect(QRectF(i * slat, 0, slat * c.p, c.h()));
    }
    c.painter.save();
    c.painter.setRenderHint(QPainter::Antialiasing);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QBrush(c.to));
    c.painter.drawPath(open);
    c.painter.restore();
}

void zoom(const Change& c)
{
    c.painter.drawImage(QPointF(0, 0), c.to);
    const double scale = 1.0 + c.p * 0.6;
    c.painter.save();
    c.painter.translate(c.w() / 2, c.h() / 2);
    c.painter.scale(scale, scale);
    c.painter.translate(-c.w() / 2, -c.h() / 2);
    c.painter.setOpacity(1.0 - c.p);
    c.painter.drawImage(QPointF(0, 0), c.from);
    c.painter.restore();
}

using Painter = std::function<void(const Change&)>;

const QHash<QString, Painter>& painters()
{
    static const QHash<QString, Painter> table{
        {QStringLiteral("cube"), cube},           {QStringLiteral("crossfade"), crossfade},
        {QStringLiteral("fadeblack"), fadeBlack}, {QStringLiteral("push"), push},
        {QStringLiteral("slide"), slide},         {QStringLiteral("wipe"), wipe},
        {QStringLiteral("flip"), flip},           {QStringLiteral("iris"), iris},
        {QStringLiteral("blinds"), blinds},       {QStringLiteral("zoom"), zoom},
    };
    return table;
}

}  // namespace

bool knowsKind(const QString& kind)
{
    return painters().contains(kind);
}

QStringList kinds()
{
    QStringList names = painters().keys();
    names.sort();
    return names;
}

void paint(QPainter& painter, const QSize& frame, const QImage& from, const QImage& to,
           double progress, const Composition& composition)
{
    const double p = ease(
        composition.stringParameter(QStringLiteral("Easing"), QStringLiteral("smooth")), progress);
    if (p <= 0.0) {
        painter.drawImage(QPointF(0, 0), from);
        return;
    }
    if (p >= 1.0) {
        painter.drawImage(QPointF(0, 0), to);
        return;
    }
    const auto it = painters().constFind(composition.kind());
    if (it == painters().constEnd()) {
        painter.drawImage(QPointF(0, 0), from);
        return;
    }
    painter.save();
    it.value()(Change{painter, QSizeF(frame), from, to, p, composition});
    painter.restore();
}

}  // namespace TransitionEffects
