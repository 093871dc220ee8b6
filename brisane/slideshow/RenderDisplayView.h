#pragma once
// The slideshow editor's preview: the latest frame drawn into the largest
// rectangle of the display ratio (4:3 or 16:9) centred in the view, or that
// rectangle filled black while there is no frame. The rest of the view is not
// painted (the panel behind shows).
//
// The picture area is computed when the ratio is set, from the view's size
// at that moment; resizing the view later does not move it. Main thread: the
// editor hands frames over from the render queue with a queued call.

#include <QImage>
#include <QRectF>
#include <QWidget>

class RenderDisplayView : public QWidget {
    Q_OBJECT
public:
    explicit RenderDisplayView(QWidget* parent = nullptr);

    // The largest rectangle of width / height `ratio` centred in `size`; the
    // zero rectangle when the ratio or the size has no area.
    static QRectF displayFrameOfRatio(double ratio, const QSizeF& size);

    double dDisplayRatio() const { return m_ratio; }
    void setDDisplayRatio(double ratio);

    QImage imgDisplay() const { return m_image; }
    // A null picture shows the black area at once.
    void setImgDisplay(const QImage& image);

    // The picture area; centred, so the same with y up or down.
    QRectF rctDisplayFrame() const { return m_displayFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_ratio = 0.0;
    QImage m_image;
    QRectF m_displayFrame;
};
