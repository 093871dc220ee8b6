#pragma once
// A check box of the dark panels, drawn from the "TransparentCheckbox"
// pictures: on ("On") when checked or mixed, off otherwise; "P" while pressed.
// The box is drawn at its own size, at 0.6 opacity when disabled; the title is
// white (0.9) with a small shadow, dimmed when disabled. Its control size is
// always small.

#include <QCheckBox>

#include "common/ThreePartImage.h"

class CustomTransparentCheckboxCell : public QCheckBox {
    Q_OBJECT
public:
    explicit CustomTransparentCheckboxCell(QWidget* parent = nullptr);
    explicit CustomTransparentCheckboxCell(const QString& text, QWidget* parent = nullptr);

    int controlSize() const { return ThreePartImage::SmallControlSize; }
    void setControlSize(int) {}
    QColor interiorColor() const;

    // The name of the box picture for a state.
    static QString boxImageName(bool on, bool highlighted);
    // Where the box picture goes within the widget.
    QRectF boxRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    // The frame of the box: the indicator column at the left.
    QRectF imageFrame() const;
    QImage boxImage() const;
    void drawTitle(QPainter& painter) const;
};
