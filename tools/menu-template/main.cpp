// Draws the menu template bundle that ships with the application: button
// sets, frames with their masks, backgrounds for both canvases and one sample
// page per aspect. Everything is drawn here (gradients and shapes, no text),
// with fixed random seeds, so the output is the same at every run.
//
// Usage: menu-template-generator <bundle folder>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QString>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QString outputRoot;
bool failed = false;

void save(const QImage& image, const QString& relativePath)
{
    const QString path = QDir(outputRoot).filePath(relativePath);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG", 9) || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        failed = true;
    }
}

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// ---------------------------------------------------------------- buttons

enum class Role { Play, Pre, Next };

enum class Shape { Pill, Circle, Square, OutlineCircle, NeonPill };

struct ButtonStyle {
    const char* set;
    Shape shape;
    QColor light;
    QColor dark;
    QColor icon;
};

// The role's symbol centred on (cx, cy), about `size` high.
QPainterPath iconPath(Role role, double cx, double cy, double size)
{
    QPainterPath path;
    const double h = size / 2;
    if (role == Role::Play) {
        path.moveTo(cx - h * 0.75, cy - h);
        path.lineTo(cx + h, cy);
        path.lineTo(cx - h * 0.75, cy + h);
        path.closeSubpath();
        return path;
    }
    const double direction = role == Role::Next ? 1 : -1;
    const double tipX = cx + direction * h * 0.55;
    for (int i = 0; i < 2; ++i) {
        const double offset = direction * (i == 0 ? -h * 0.9 : 0);
        path.moveTo(tipX + offset - direction * h * 0.9, cy - h * 0.8);
        path.lineTo(tipX + offset, cy);
        path.lineTo(tipX + offset - direction * h * 0.9, cy + h * 0.8);
        path.closeSubpath();
    }
    const double barX = direction > 0 ? tipX : tipX - h * 0.28;
    path.addRect(QRectF(barX + (direction > 0 ? 0 : 0), cy - h * 0.8, h * 0.28, h * 1.6));
    return path;
}

QImage button(const ButtonStyle& style, Role role)
{
    QImage image = transparentImage(80, 50);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF body;
    QPainterPath outline;
    switch (style.shape) {
        case Shape::Pill:
        case Shape::NeonPill:
            body = QRectF(5, 5, 70, 40);
            outline.addRoundedRect(body, 20, 20);
            break;
        case Shape::Circle:
        case Shape::OutlineCircle:
            body = QRectF(18, 3, 44, 44);
            outline.addEllipse(body);
            break;
        case Shape::Square:
            body = QRectF(17, 2, 46, 46);
            outline.addRoundedRect(body, 10, 10);
            break;
    }
    // A soft drop shadow under the body.
    p.save();
    p.translate(0, 2);
    p.fillPath(outline, QColor(0, 0, 0, 70));
    p.restore();

    if (style.shape == Shape::OutlineCircle || style.shape == Shape::NeonPill) {
        p.fillPath(outline, QColor(0, 0, 0, 90));
        for (int glow = 4; glow >= 1; --glow) {
            QColor c = style.light;
            c.setAlpha(style.shape == Shape::NeonPill ? 40 : 0);
            p.setPen(QPen(c, glow * 2.0));
            p.drawPath(outline);
        }
        p.setPen(QPen(style.light, 2.5));
        p.drawPath(outline);
    } else {
        QLinearGradient fill(body.topLeft(), body.bottomLeft());
        fill.setColorAt(0, style.light);
        fill.setColorAt(1, style.dark);
        p.fillPath(outline, fill);
        // Gloss on the upper half.
        QPainterPath gloss;
        const QRectF top(body.x() + 4, body.y() + 2, body.width() - 8, body.height() * 0.45);
        gloss.addRoundedRect(top, top.height() / 2, top.height() / 2);
        QLinearGradient shine(top.topLeft(), top.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, 150));
        shine.setColorAt(1, QColor(255, 255, 255, 10));
        p.fillPath(gloss, shine);
        p.setPen(QPen(style.dark.darker(150), 1));
        p.drawPath(outline);
    }
    const QPainterPath icon = iconPath(role, body.center().x(), body.center().y(), 20);
    p.save();
    p.translate(0, 1);
    p.fillPath(icon, QColor(0, 0, 0, 80));
    p.restore();
    p.fillPath(icon, style.icon);
    return image;
}

void makeButtons()
{
    const ButtonStyle styles[] = {
        {"01", Shape::Pill, QColor(110, 170, 255), QColor(20, 60, 160), Qt::white},
        {"02", Shape::Circle, QColor(255, 226, 140), QColor(170, 110, 20), QColor(70, 40, 10)},
        {"03", Shape::OutlineCircle, Qt::white, Qt::white, Qt::white},
        {"04", Shape::Square, QColor(250, 110, 110), QColor(140, 10, 30), Qt::white},
        {"05", Shape::Pill, QColor(130, 220, 150), QColor(20, 110, 60), Qt::white},
        {"06", Shape::Circle, QColor(245, 245, 250), QColor(120, 125, 140), QColor(40, 45, 60)},
        {"07", Shape::NeonPill, QColor(255, 90, 200), QColor(255, 90, 200), QColor(255, 200, 240)},
        {"08", Shape::Square, QColor(90, 96, 110), QColor(30, 33, 40), QColor(235, 235, 235)},
    };
    for (const auto& style : styles) {
        save(button(style, Role::Play), QStringLiteral("buttons/%1-play.png").arg(style.set));
        save(button(style, Role::Pre), QStringLiteral("buttons/%1-pre.png").arg(style.set));
        save(button(style, Role::Next), QStringLiteral("buttons/%1-next.png").arg(style.set));
    }
}

// ---------------------------------------------------------------- frames
// A frame picture is opaque on its border and transparent inside; its mask is
// opaque where the video must be hidden and transparent where it shows.

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;

struct FramePair {
    QImage frame = transparentImage(frameWidth, frameHeight);
    QImage mask = transparentImage(frameWidth, frameHeight);
};

// Fills the mask everywhere outside `window`.
void maskOutside(QImage& mask, const QPainterPath& window)
{
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath all;
    all.addRect(0, 0, frameWidth, frameHeight);
    p.fillPath(all.subtracted(window), Qt::black);
}

QPainterPath roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

FramePair classicFrame()
{
    FramePair pair;
    const QRectF window(16, 16, frameWidth - 32, frameHeight - 32);
    QPainterPath border = roundedRect(QRectF(0, 0, frameWidth, frameHeight), 4);
    border = border.subtracted(roundedRect(window, 2));
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, frameHeight);
    paper.setColorAt(0, QColor(252, 252, 248));
    paper.setColorAt(1, QColor(222, 222, 214));
    p.fillPath(border, paper);
    p.setPen(QPen(QColor(150, 150, 140), 1.5));
    p.drawRect(window.adjusted(-1, -1, 1, 1));
    maskOutside(pair.mask, roundedRect(window, 2));
    return pair;
}

FramePair filmFrame()
{
    FramePair pair;
    const QRectF window(12, 34, frameWidth - 24, frameHeight - 68);
    QPainterPath border;
    border.addRect(0, 0, frameWidth, frameHeight);
    border = border.subtracted(roundedRect(window, 3));
    for (int i = 0; i < 12; ++i) {
        const double x = 8 + i * 26.5;
        border = border.subtracted(roundedRect(QRectF(x, 9, 14, 14), 3));
        border = border.subtracted(roundedRect(QRectF(x, frameHeight - 23, 14, 14), 3));
    }
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(border, QColor(22, 22, 24));
    maskOutside(pair.mask, roundedRect(window, 3));
    return pair;
}

FramePair roundedFrame()
{
    FramePair pair;
    const QRectF window(10, 10, frameWidth - 20, frameHeight - 20);
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient rim(0, 0, frameWidth, frameHeight);
    rim.setColorAt(0, QColor(200, 230, 255));
    rim.setColorAt(0.5, QColor(255, 255, 255));
    rim.setColorAt(1, QColor(120, 170, 230));
    p.setPen(QPen(QBrush(rim), 8));
    p.drawPath(roundedRect(window.adjusted(-2, -2, 2, 2), 30));
    maskOutside(pair.mask, roundedRect(window, 28));
    return pair;
}

FramePair snapshotFrame()
{
    FramePair pair;
    const QRectF window(18, 16, frameWidth - 36, frameHeight - 62);
    QPainterPath card = roundedRect(QRectF(2, 2, frameWidth - 4, frameHeight - 4), 3);
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(card.subtracted(roundedRect(window, 1)), QColor(250, 250, 246));
    p.setPen(QPen(QColor(190, 190, 180), 1));
    p.drawPath(card);
    maskOutside(pair.mask, roundedRect(window, 1));
    return pair;
}

FramePair gildedFrame()
{
    FramePair pair;
    const QRectF window(22, 22, frameWidth - 44, frameHeight - 44);
    QPainterPath border;
    border.addRect(0, 0, frameWidth, frameHeight);
    border = border.subtracted(roundedRect(window, 0));
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gold(0, 0, frameWidth, frameHeight);
    gold.setColorAt(0.0, QColor(255, 236, 160));
    gold.setColorAt(0.3, QColor(190, 140, 40));
    gold.setColorAt(0.55, QColor(255, 220, 120));
    gold.setColorAt(0.8, QColor(150, 100, 20));
    gold.setColorAt(1.0, QColor(240, 200, 100));
    p.fillPath(border, gold);
    p.setPen(QPen(QColor(110, 70, 10), 2));
    p.drawRect(QRectF(1, 1, frameWidth - 2, frameHeight - 2));
    p.drawRect(window);
    p.setPen(QPen(QColor(255, 245, 200, 180), 1.5));
    p.drawRect(QRectF(11, 11, frameWidth - 22, frameHeight - 22));
    for (const QPointF corner :
         {QPointF(11, 11), QPointF(frameWidth - 11, 11), QPointF(11, frameHeight - 11),
          QPointF(frameWidth - 11, frameHeight - 11)}) {
        QRadialGradient jewel(corner, 8);
        jewel.setColorAt(0, QColor(255, 255, 230));
        jewel.setColorAt(1, QColor(160, 110, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(jewel);
        p.drawEllipse(corner, 7, 7);
    }
    maskOutside(pair.mask, roundedRect(window, 0));
    return pair;
}

FramePair neonFrame()
{
    FramePair pair;
    const QRectF window(16, 16, frameWidth - 32, frameHeight - 32);
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath line = roundedRect(window.adjusted(-4, -4, 4, 4), 18);
    for (int glow = 7; glow >= 1; --glow) {
        p.setPen(QPen(QColor(60, 230, 255, 28), glow * 3.0));
        p.drawPath(line);
    }
    p.setPen(QPen(QColor(200, 250, 255), 3));
    p.drawPath(line);
    maskOutside(pair.mask, roundedRect(window, 14));
    return pair;
}

FramePair vignetteFrame()
{
    FramePair pair;
    const QRectF oval(6, 6, frameWidth - 12, frameHeight - 12);
    {
        QPainter p(&pair.frame);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 90), 2));
        p.drawEllipse(oval);
    }
    // A feathered edge: the mask grows opaque towards the oval's rim.
    QPainter p(&pair.mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pair.mask.rect(), Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.translate(oval.center());
    p.scale(oval.width() / 2, oval.height() / 2);
    QRadialGradient feather(QPointF(0, 0), 1);
    feather.setColorAt(0, QColor(0, 0, 0, 255));
    feather.setColorAt(0.72, QColor(0, 0, 0, 255));
    feather.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(feather);
    p.drawEllipse(QPointF(0, 0), 1.0, 1.0);
    return pair;
}

FramePair circleFrame()
{
    FramePair pair;
    const double diameter = frameHeight - 24;
    const QRectF window((frameWidth - diameter) / 2, 12, diameter, diameter);
    QPainter p(&pair.frame);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ring(window.topLeft(), window.bottomRight());
    ring.setColorAt(0, QColor(255, 255, 255));
    ring.setColorAt(1, QColor(170, 180, 200));
    p.setPen(QPen(QBrush(ring), 9));
    p.drawEllipse(window.adjusted(-3, -3, 3, 3));
    QPainterPath circle;
    circle.addEllipse(window);
    maskOutside(pair.mask, circle);
    return pair;
}

void makeFrames()
{
    const std::pair<const char*, std::function<FramePair()>> frames[] = {
        {"01Classic", classicFrame},   {"02Film", filmFrame},     {"03Rounded", roundedFrame},
        {"04Snapshot", snapshotFrame}, {"05Gilded", gildedFrame}, {"06Neon", neonFrame},
        {"07Vignette", vignetteFrame}, {"08Circle", circleFrame},
    };
    for (const auto& [name, draw] : frames) {
        const FramePair pair = draw();
        save(pair.frame, QStringLiteral("frames/%1-frame.png").arg(name));
        save(pair.mask, QStringLiteral("frames/%1-mask.png").arg(name));
    }
}

// ---------------------------------------------------------------- backgrounds

void verticalGradient(QPainter& p, const QSize& size, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

void softCircle(QPainter& p, QPointF centre, double radius, QColor colour)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void midnight(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(8, 14, 40), QColor(20, 40, 95));
    softCircle(p, QPointF(s.width() * 0.5, s.height() * 1.1), s.width() * 0.7,
               QColor(60, 110, 220, 120));
    for (int i = 0; i < 40; ++i) {
        const QPointF c(random.bounded(s.width()), random.bounded(s.height()));
        softCircle(p, c, 6 + random.bounded(30), QColor(150, 190, 255, 20 + random.bounded(50)));
    }
    for (int i = 0; i < 120; ++i) {
        const QPointF c(random.bounded(s.width()), random.bounded(s.height() * 2 / 3));
        softCircle(p, c, 1.5, QColor(255, 255, 255, 120 + random.bounded(120)));
    }
}

void sunset(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(60, 30, 90));
    sky.setColorAt(0.45, QColor(220, 90, 90));
    sky.setColorAt(0.75, QColor(255, 180, 90));
    p.fillRect(QRect(QPoint(0, 0), s), sky);
    softCircle(p, QPointF(s.width() * 0.62, s.height() * 0.62), s.height() * 0.35,
               QColor(255, 240, 180, 220));
    const QColor hills[] = {QColor(120, 50, 90), QColor(80, 30, 70), QColor(40, 15, 45)};
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath path;
        const double base = s.height() * (0.68 + layer * 0.1);
        path.moveTo(0, s.height());
        for (int x = 0;; x = std::min(x + 8, s.width())) {
            const double y = base + std::sin(x * 0.006 * (layer + 1) + layer * 2.0 +
                                             random.bounded(1.0) * 0.05) *
                                        s.height() * 0.05;
            path.lineTo(x, y);
            if (x == s.width()) {
                break;
            }
        }
        path.lineTo(s.width(), s.height());
        path.closeSubpath();
        p.fillPath(path, hills[layer]);
    }
}

void ocean(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(10, 80, 110), QColor(0, 30, 60));
    for (int band = 0; band < 7; ++band) {
        QPainterPath wave;
        const double base = s.height() * (0.35 + band * 0.1);
        const double phase = random.bounded(6.28);
        wave.moveTo(0, s.height());
        for (int x = 0;; x = std::min(x + 6, s.width())) {
            wave.lineTo(x, base + std::sin(x * 0.012 + phase) * 12);
            if (x == s.width()) {
                break;
            }
        }
        wave.lineTo(s.width(), s.height());
        wave.closeSubpath();
        p.fillPath(wave, QColor(40, 170, 200, 28));
    }
    softCircle(p, QPointF(s.width() * 0.25, s.height() * 0.15), s.width() * 0.35,
               QColor(180, 240, 255, 60));
}

void forest(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(150, 200, 170), QColor(30, 70, 50));
    for (int layer = 0; layer < 3; ++layer) {
        const QColor colour = QColor(20 + layer * 5, 70 - layer * 18, 45 - layer * 10);
        for (int i = 0; i < 26; ++i) {
            const double x = random.bounded(s.width() + 40) - 20;
            const double height = s.height() * (0.25 + layer * 0.1 + random.bounded(0.1));
            const double width = height * 0.45;
            const double foot = s.height() * (0.8 + layer * 0.08);
            QPainterPath tree;
            tree.moveTo(x, foot - height);
            tree.lineTo(x + width / 2, foot);
            tree.lineTo(x - width / 2, foot);
            tree.closeSubpath();
            p.fillPath(tree, colour);
        }
    }
    p.fillRect(QRectF(0, s.height() * 0.95, s.width(), s.height() * 0.05), QColor(15, 30, 20));
}

void celebration(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(50, 10, 70), QColor(15, 5, 30));
    const QColor colours[] = {QColor(255, 90, 120), QColor(255, 210, 80), QColor(90, 220, 255),
                              QColor(150, 255, 140), QColor(220, 140, 255)};
    for (int i = 0; i < 160; ++i) {
        p.save();
        p.translate(random.bounded(s.width()), random.bounded(s.height()));
        p.rotate(random.bounded(180));
        QColor c = colours[random.bounded(5)];
        c.setAlpha(150 + random.bounded(100));
        p.fillRect(QRectF(-5, -2, 10, 4), c);
        p.restore();
    }
    for (int i = 0; i < 12; ++i) {
        softCircle(p, QPointF(random.bounded(s.width()), random.bounded(s.height())),
                   20 + random.bounded(40), QColor(255, 230, 255, 40));
    }
}

void filmStrip(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(45, 45, 50), QColor(15, 15, 18));
    softCircle(p, QPointF(s.width() * 0.5, s.height() * 0.4), s.width() * 0.5,
               QColor(255, 220, 150, 45));
    for (int strip = 0; strip < 2; ++strip) {
        p.save();
        p.translate(s.width() / 2.0, s.height() * (strip == 0 ? 0.12 : 0.9));
        p.rotate(strip == 0 ? -4 : 3);
        const double w = s.width() * 1.3;
        p.fillRect(QRectF(-w / 2, -28, w, 56), QColor(5, 5, 5, 230));
        for (double x = -w / 2 + 6; x < w / 2; x += 24) {
            p.fillRect(QRectF(x, -23, 12, 9), QColor(220, 220, 210, 200));
            p.fillRect(QRectF(x, 14, 12, 9), QColor(220, 220, 210, 200));
        }
        for (double x = -w / 2 + 10; x < w / 2; x += 90) {
            const int shade = 70 + random.bounded(60);
            p.fillRect(QRectF(x, -11, 80, 22), QColor(shade, shade * 0.9, shade * 0.7));
        }
        p.restore();
    }
}

void snow(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(120, 160, 210), QColor(230, 240, 250));
    QPainterPath drift;
    drift.moveTo(0, s.height());
    for (int x = 0;; x = std::min(x + 8, s.width())) {
        drift.lineTo(x, s.height() * 0.85 + std::sin(x * 0.01) * 14);
        if (x == s.width()) {
            break;
        }
    }
    drift.lineTo(s.width(), s.height());
    drift.closeSubpath();
    p.fillPath(drift, QColor(250, 252, 255));
    for (int i = 0; i < 220; ++i) {
        softCircle(p, QPointF(random.bounded(s.width()), random.bounded(s.height())),
                   1.5 + random.bounded(4.0), QColor(255, 255, 255, 160 + random.bounded(90)));
    }
}

void gilded(QPainter& p, const QSize& s, QRandomGenerator& random)
{
    verticalGradient(p, s, QColor(25, 20, 15), QColor(5, 4, 3));
    for (int i = 0; i < 9; ++i) {
        QPainterPath curve;
        const double y = s.height() * (0.15 + i * 0.09);
        curve.moveTo(-20, y);
        curve.cubicTo(s.width() * 0.3, y - 80 + random.bounded(60), s.width() * 0.7,
                      y + 80 - random.bounded(60), s.width() + 20, y - 20);
        p.setPen(QPen(QColor(230, 180, 80, 40 + i * 8), 1.5 + (i % 3)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
    }
    softCircle(p, QPointF(s.width() * 0.8, s.height() * 0.2), s.height() * 0.5,
               QColor(255, 200, 100, 50));
}

void makeBackgrounds()
{
    using Painter = void (*)(QPainter&, const QSize&, QRandomGenerator&);
    const std::pair<const char*, Painter> themes[] = {
        {"01-Midnight", midnight}, {"02-Sunset", sunset},           {"03-Ocean", ocean},
        {"04-Forest", forest},     {"05-Celebration", celebration}, {"06-Cinema", filmStrip},
        {"07-Snow", snow},         {"08-Gilded", gilded},
    };
    quint32 seed = 1;
    for (const auto& [name, draw] : themes) {
        for (const auto& [suffix, size] :
             {std::pair{"169", QSize(854, 480)}, std::pair{"43", QSize(640, 480)}}) {
            QImage image(size, QImage::Format_RGB32);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            QRandomGenerator random(seed);
            draw(p, size, random);
            p.end();
            save(image, QStringLiteral("backgrounds/%1-%2.png").arg(name, suffix));
        }
        ++seed;
    }
}

// ---------------------------------------------------------------- pages

struct Element {
    QRectF frame;
    QString frameName;
    QString buttonName;
};

QString rectText(const QRectF& r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

void writePage(const QString& fileName, const QSizeF& canvas, const QString& background,
               const QList<Element>& elements)
{
    const QString path = QDir(outputRoot).filePath(QStringLiteral("menus/") + fileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        failed = true;
        return;
    }
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    out << "\t<key>menuSize</key>\n\t<string>{" << canvas.width() << ", " << canvas.height()
        << "}</string>\n";
    out << "\t<key>backgroundImageRect</key>\n\t<string>{{0, 0}, {0, 0}}</string>\n";
    out << "\t<key>bgName</key>\n\t<string>" << background << "</string>\n";
    out << "\t<key>items</key>\n\t<array>\n";
    for (const Element& e : elements) {
        out << "\t\t<dict>\n";
        out << "\t\t\t<key>frame</key>\n\t\t\t<string>" << rectText(e.frame) << "</string>\n";
        out << "\t\t\t<key>rotation</key>\n\t\t\t<real>0</real>\n";
        out << "\t\t\t<key>level</key>\n\t\t\t<integer>0</integer>\n";
        if (!e.frameName.isEmpty()) {
            out << "\t\t\t<key>frameName</key>\n\t\t\t<string>" << e.frameName << "</string>\n";
        }
        if (!e.buttonName.isEmpty()) {
            out << "\t\t\t<key>buttonName</key>\n\t\t\t<string>" << e.buttonName << "</string>\n";
        }
        out << "\t\t</dict>\n";
    }
    out << "\t</array>\n</dict>\n</plist>\n";
    out.flush();
    if (!file.commit()) {
        failed = true;
    }
}

// Frames are canvas points with the origin at the bottom left.
void makePages()
{
    QList<Element> wide;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            wide.append({QRectF(127 + column * 210, 280 - row * 155, 180, 135),
                         QStringLiteral("03Rounded"), QString()});
        }
    }
    wide.append({QRectF(307, 35, 80, 50), QString(), QStringLiteral("01-pre")});
    wide.append({QRectF(387, 35, 80, 50), QString(), QStringLiteral("01-play")});
    wide.append({QRectF(467, 35, 80, 50), QString(), QStringLiteral("01-next")});
    writePage(QStringLiteral("Showcase-1.plist"), QSizeF(854, 480),
              QStringLiteral("01-Midnight-169"), wide);

    QList<Element> standard;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            standard.append({QRectF(105 + column * 230, 268 - row * 170, 200, 150),
                             QStringLiteral("03Rounded"), QString()});
        }
    }
    standard.append({QRectF(200, 30, 80, 50), QString(), QStringLiteral("01-pre")});
    standard.append({QRectF(280, 30, 80, 50), QString(), QStringLiteral("01-play")});
    standard.append({QRectF(360, 30, 80, 50), QString(), QStringLiteral("01-next")});
    writePage(QStringLiteral("Showcase-0.plist"), QSizeF(640, 480),
              QStringLiteral("01-Midnight-43"), standard);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <bundle folder>\n", argv[0]);
        return 2;
    }
    outputRoot = QString::fromLocal8Bit(argv[1]);
    for (const char* folder : {"buttons", "frames", "backgrounds", "menus"}) {
        QDir dir(QDir(outputRoot).filePath(QString::fromLatin1(folder)));
        dir.removeRecursively();
        if (!QDir().mkpath(dir.path())) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
            return 1;
        }
    }
    makeButtons();
    makeFrames();
    makeBackgrounds();
    makePages();
    return failed ? 1 : 0;
}
