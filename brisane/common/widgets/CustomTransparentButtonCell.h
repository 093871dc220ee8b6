#pragma once
// A push button of the dark panels, drawn from the "TransparentButton"
// pictures: the "P" body while it is pressed, else the "N" body, centred
// vertically at the fill picture's height, and a white title that dims when
// the button is disabled. Its control size is always small.

#include <QPushButton>

#include "common/ThreePartImage.h"

class CustomTransparentButtonCell : public QPushButton {
    Q_OBJECT
public:
    explicit CustomTransparentButtonCell(QWidget* parent = nullptr);
    explicit CustomTransparentButtonCell(const QString& text, QWidget* parent = nullptr);

    int controlSize() const { return ThreePartImage::SmallControlSize; }
    void setControlSize(int) {}
    // The title colour for the current state.
    QColor interiorColor() const;
    // The rectangle of the body within the frame.
    QRectF bezelRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawBezel(QPainter& painter) const;
    void drawTitle(QPainter& painter) const;

    ThreePartImage normal_;
    ThreePartImage pressed_;
};
