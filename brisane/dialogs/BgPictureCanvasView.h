#pragma once
// The canvas of the background picture dialog: shows the 16:9 part of the
// chosen picture (its canvas rectangle) in a fixed 16:9 box, under the crop
// frame (BgPictureShapeView, its only child, covering it exactly). Converts
// between picture coordinates and canvas coordinates, both with y upward;
// the conversion from widget coordinates (y downward) happens here only.
//
// Without a picture, or with a picture whose canvas rectangle is empty, the
// canvas shows nothing, hides the frame and reports no crop.

#include <QImage>
#include <QWidget>

class BgPictureShapeView;

class BgPictureCanvasView : public QWidget {
    Q_OBJECT
public:
    explicit BgPictureCanvasView(QWidget* parent = nullptr);

    // The box in canvas coordinates; the frame starts over the whole box.
    void updateViewBoundsWithRect(const QRectF& box);
    // Shows a picture and places the frame from the two picture rectangles.
    void flushCanvasRectDrawWithImage(const QImage& image, const QRectF& imageCanvasRect,
                                      const QRectF& imageCropRect);
    // The frame as a crop rectangle of the picture; null without a picture.
    QRectF pictureCropRect() const;
    // The frame changed: announces the picture crop.
    void playerCropDidChanged();

    QRectF canvasRect() const { return m_canvasRect; }
    float imageScale() const { return m_imageScale; }
    QPointF imageOffsetPoint() const { return m_imageOffset; }
    BgPictureShapeView* shapeView() const { return m_shapeView; }
    bool hasPicture() const { return !m_image.isNull() && m_imageScale > 0; }

    // Canvas coordinates (y up) from widget coordinates and back.
    QPointF toCanvas(const QPointF& widgetPoint) const;
    QRectF toWidget(const QRectF& canvasRect) const;

signals:
    void cropChanged(const QRectF& pictureCrop);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    BgPictureShapeView* m_shapeView = nullptr;
    QImage m_image;
    QRectF m_imageCanvasRect;
    QRectF m_canvasRect;
    float m_imageScale = 0.0f;
    QPointF m_imageOffset;
};
