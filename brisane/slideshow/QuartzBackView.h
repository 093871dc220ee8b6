#pragma once
// The transition chooser's grid: the tiles are its children, their frames
// given y up in its coordinates. It draws a 4-point strip of grey 0.13 near
// its left edge and, round the chosen tile, a yellow rounded frame grown 5
// points beyond the tile on every side. Main thread.

#include <QColor>
#include <QRectF>
#include <QWidget>

class QuartzBackView : public QWidget {
    Q_OBJECT
public:
    static constexpr double ChoiceMargin = 5.0;

    explicit QuartzBackView(QWidget* parent = nullptr);

    QColor clBackColor() const { return m_backColor; }
    // The choice frame, y up.
    QRectF rctChoosenFrame() const { return m_choosenFrame; }
    // Frames `tileFrame` (y up): the frame is the tile grown by 5.
    void setRctChoosenFrame(const QRectF& tileFrame);

    // A y-up rectangle of the grid in widget coordinates (for placing tiles).
    QRectF widgetRect(const QRectF& upRect) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backColor;
    QRectF m_choosenFrame;
};
