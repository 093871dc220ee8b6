#pragma once
// The picture area of the photo crop sheet: the photo fitted into the area
// with at least 12 points free on every side, keeping its shape, and dimmed
// by half everywhere outside the crop rectangle its owner gives. The crop
// frame lies over it in the same coordinates, y up.
//
// A photo without a size (null, or zero wide or high) is not drawn and gives
// no picture rectangle. Main thread.

#include <QImage>
#include <QRectF>
#include <QWidget>

class CropBackgroundViewDelegate;

class CropBackgroundView : public QWidget {
    Q_OBJECT
public:
    static constexpr double Margin = 12.0;

    explicit CropBackgroundView(QWidget* parent = nullptr);

    // Where a picture of `image` size goes in an area of `bounds` size: fitted
    // into the area less the margins and centred; empty for an empty size.
    static QRectF displayImageRect(const QSizeF& image, const QSizeF& bounds);

    QImage displayImage() const { return m_image; }
    void setDisplayImage(const QImage& image);
    // Where the photo is drawn, y up; empty until computed.
    QRectF displayImageFrame() const { return m_imageFrame; }
    // Recomputes displayImageFrame for the image and the current size; with
    // no image it does nothing.
    void makeDisplayImageRect();

    CropBackgroundViewDelegate* delegate() const { return m_delegate; }
    // Not owned.
    void setDelegate(CropBackgroundViewDelegate* delegate) { m_delegate = delegate; }
    // The delegate's crop rectangle, empty without one.
    QRectF getVisualCropFrame() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QRectF m_imageFrame;
    CropBackgroundViewDelegate* m_delegate = nullptr;
};
