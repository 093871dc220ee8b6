#pragma once
// The horizontal slider of the dark panels, drawn from the
// "TransparentSlider" pictures: a three-part track at 0.75 opacity (0.2 when
// disabled), a round knob, or a triangle knob with white tick marks below the
// track when the slider has tick marks; the "P" knob while the mouse tracks
// it. The knob jumps to a click and follows the mouse. Its control size is
// always small, and the tick marks are always below.

#include <QSlider>

#include "common/ThreePartImage.h"

class BWTransparentSliderCell : public QSlider {
    Q_OBJECT
public:
    explicit BWTransparentSliderCell(QWidget* parent = nullptr);

    int controlSize() const { return ThreePartImage::SmallControlSize; }
    void setControlSize(int) {}
    void setTickMarkPosition(int) {}
    int numberOfTickMarks() const { return tickMarks_; }
    void setNumberOfTickMarks(int count);
    bool isPressed() const { return isPressed_; }

    // The rectangle the track is drawn in, within the track area.
    QRectF barRect() const;
    // The knob's rectangle for the current value.
    QRectF knobRectFlipped() const;
    // Where the knob picture is drawn.
    QRectF knobImageRect() const;
    // The rectangle of tick mark `index`.
    QRectF tickMarkRect(int index) const;
    // The name of the knob picture for the current state.
    QString knobImageName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hasTickMarks() const { return tickMarks_ > 0; }
    double trackAreaHeight() const;
    double knobX(double ratio) const;
    int valueAt(double x) const;

    int tickMarks_ = 0;
    bool isPressed_ = false;
};
