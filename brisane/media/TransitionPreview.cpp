#include "media/TransitionPreview.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "media/Composition.h"
#include "media/QuillonRenderer.h"
#include "media/TransitionTimeline.h"

namespace {

// Hills as a closed path along the bottom of the picture: `base` and
// `height` are shares of the picture height, `waves` full waves across.
QPainterPath hills(const QSizeF& size, double base, double height, double waves, double phase)
{
    QPainterPath path(QPointF(0, size.height()));
    constexpr int Steps = 64;
    for (int i = 0; i <= Steps; ++i) {
        const double x = size.width() * i / Steps;
        const double t = double(i) / Steps * waves * 2.0 * 3.14159265358979 + phase;
        path.lineTo(x, size.height() * (base - height * (0.5 + 0.5 * std::sin(t))));
    }
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    return path;
}

void drawDay(QPainter& p, const QSizeF& s)
{
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(40, 110, 200));
    sky.setColorAt(1, QColor(170, 215, 245));
    p.fillRect(QRectF(QPointF(0, 0), s), sky);
    QRadialGradient sun(s.width() * 0.75, s.height() * 0.25, s.height() * 0.12);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(255, 215, 80));
    p.setBrush(sun);
    p.drawEllipse(QPointF(s.width() * 0.75, s.height() * 0.25), s.height() * 0.1, s.height() * 0.1);
    p.setBrush(QColor(90, 160, 70));
    p.drawPath(hills(s, 0.8, 0.2, 1.3, 0.4));
    p.setBrush(QColor(50, 120, 50));
    p.drawPath(hills(s, 0.95, 0.18, 2.1, 2.0));
}

void drawDusk(QPainter& p, const QSizeF& s)
{
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(60, 30, 110));
    sky.setColorAt(0.6, QColor(230, 110, 70));
    sky.setColorAt(1, QColor(250, 200, 110));
    p.fillRect(QRectF(QPointF(0, 0), s), sky);
    p.setBrush(QColor(250, 245, 225));
    p.drawEllipse(QPointF(s.width() * 0.25, s.height() * 0.22), s.height() * 0.07,
                  s.height() * 0.07);
    QPolygonF mountains;
    mountains << QPointF(0, s.height()) << QPointF(0, s.height() * 0.7)
              << QPointF(s.width() * 0.3, s.height() * 0.35)
              << QPointF(s.width() * 0.55, s.height() * 0.65)
              << QPointF(s.width() * 0.8, s.height() * 0.4) << QPointF(s.width(), s.height() * 0.6)
              << QPointF(s.width(), s.height());
    p.setBrush(QColor(45, 30, 60));
    p.drawPolygon(mountains);
}

void drawSea(QPainter& p, const QSizeF& s)
{
    QLinearGradient sky(0, 0, 0, s.height() * 0.55);
    sky.setColorAt(0, QColor(120, 190, 230));
    sky.setColorAt(1, QColor(230, 240, 250));
    p.fillRect(QRectF(0, 0, s.width(), s.height() * 0.55), sky);
    QLinearGradient sea(0, s.height() * 0.55, 0, s.height());
    sea.setColorAt(0, QColor(20, 90, 140));
    sea.setColorAt(1, QColor(10, 50, 90));
    p.fillRect(QRectF(0, s.height() * 0.55, s.width(), s.height() * 0.45), sea);
    QPolygonF sail;
    sail << QPointF(s.width() * 0.55, s.height() * 0.52)
         << QPointF(s.width() * 0.55, s.height() * 0.22)
         << QPointF(s.width() * 0.7, s.height() * 0.52);
    p.setBrush(QColor(250, 250, 245));
    p.drawPolygon(sail);
    p.setBrush(QColor(120, 60, 30));
    p.drawRect(QRectF(s.width() * 0.5, s.height() * 0.53, s.width() * 0.24, s.height() * 0.04));
}

}  // namespace

QImage TransitionPreview::samplePicture(int index, const QSize& size)
{
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QSizeF s(size);
    switch (((index % 3) + 3) % 3) {
        case 0:
            drawDay(painter, s);
            break;
        case 1:
            drawDusk(painter, s);
            break;
        default:
            drawSea(painter, s);
            break;
    }
    return picture;
}

Value::Array TransitionPreview::sampleImages(int count, const QSize& size)
{
    Value::Array images;
    for (int i = 0; i < count; ++i) {
        images.append(Value::Dictionary{{QStringLiteral("Image"), samplePicture(i, size)}});
    }
    return images;
}

QImage TransitionPreview::thumbnail(const std::shared_ptr<Composition>& composition,
                                    const QSize& size)
{
    if (!composition || composition->isIndexComposition()) {
        return {};
    }
    auto renderer = QuillonRenderer::initOffScreenWithSize(QSizeF(size), composition);
    if (!renderer) {
        return {};
    }
    const TransitionTimeline timeline(composition->timing(), 2);
    // Half way through, unless the composition names a better moment for its picture.
    const double progress = std::clamp(
        composition->doubleParameter(QStringLiteral("ThumbnailProgress"), 0.5), 0.0, 1.0);
    const double moment =
        timeline.length(0) - timeline.changeLength(0) + timeline.changeLength(0) * progress;
    // Pictures of the 4:3 canvas covering the frame, as photos are handed in.
    const QSize canvas(std::max(size.width(), size.height() * 4 / 3),
                       std::max(size.height(), size.width() * 3 / 4));
    renderer->setValueForInputKey(Value(sampleImages(2, canvas)), QStringLiteral("Images"));
    renderer->setValueForInputKey(Value(moment), QStringLiteral("Time"));
    renderer->renderAtTime(0.0);
    return renderer->snapshotImage();
}
