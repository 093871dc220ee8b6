#pragma once
// A control body drawn from three pictures: the left cap and the right cap at
// their own widths, the fill stretched between them, laid horizontally.
// Also the pieces the image-drawn controls share: their size codes, their
// title colours and the rounding rule of their geometry.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

class ThreePartImage {
public:
    // The control sizes of the layouts: regular 0, small 1, mini 2.
    enum ControlSize { RegularControlSize = 0, SmallControlSize = 1, MiniControlSize = 2 };

    ThreePartImage() = default;
    ThreePartImage(const QString& left, const QString& fill, const QString& right);

    const QImage& left() const { return left_; }
    const QImage& fill() const { return fill_; }
    const QImage& right() const { return right_; }
    // The height of the body: the fill picture's height.
    int height() const { return fill_.height(); }

    // Draws the three parts into `rect` (its height is used as given),
    // source-over at the opacity. Missing pictures are left out.
    void draw(QPainter& painter, const QRectF& rect, qreal opacity = 1.0) const;
    // The same with any three pictures.
    static void drawParts(QPainter& painter, const QRectF& rect, const QImage& left,
                          const QImage& fill, const QImage& right, qreal opacity = 1.0);

    // x rounded in single precision to the nearest whole number, halves away
    // from zero.
    static double nearest(double x);
    // White when enabled; dimmed to white at 0.6 (opaque) when disabled.
    static QColor titleColor(bool enabled, qreal enabledAlpha = 1.0);

private:
    QImage left_;
    QImage fill_;
    QImage right_;
};
