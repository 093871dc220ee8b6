#pragma once
// The overlay laid over the video edit sheet's pictures: on the crop tab it
// holds the crop rectangle over the picture before the edits, on the
// watermark tab the watermark's rectangle over the picture after them. Its
// rectangle is in its own points with the origin at the lower left, y up;
// the sheet places it and converts between these points and the movie's
// pixels. With onlyMove it can be moved but not resized.
//
// It shows its rectangle's outline; changing it by mouse or key comes with
// the crop and watermark editing.

#include <QRectF>
#include <QWidget>

class VEPlayerCropViewDelegate;

class VEPlayerCropView : public QWidget {
    Q_OBJECT
public:
    explicit VEPlayerCropView(QWidget* parent = nullptr);

    // Not owned.
    VEPlayerCropViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(VEPlayerCropViewDelegate* delegate) { m_delegate = delegate; }

    QRectF cropRect() const { return m_cropRect; }
    void setCropRect(const QRectF& rect);
    bool onlyMove() const { return m_onlyMove; }
    void setOnlyMove(bool on) { m_onlyMove = on; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    VEPlayerCropViewDelegate* m_delegate = nullptr;
    QRectF m_cropRect;
    bool m_onlyMove = false;
};
