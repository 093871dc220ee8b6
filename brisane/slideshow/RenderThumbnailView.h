#pragma once
// One tile of the slideshow editor's photo strip: the photo's thumbnail fitted
// into the tile inset by 10 points, over a soft shadow (blur 4, black), with a
// 1-point yellow frame while it is the selected tile. A click on the picture
// (not on the margin beside it) and the Delete or Backspace key are reported
// to the delegate; the tile never selects itself.
//
// Geometry is kept with the origin at the lower left (UpCoordinates). A
// thumbnail with no area is not drawn and cannot be clicked. Main thread.

#include <QColor>
#include <QRectF>
#include <QWidget>
#include <memory>

#include "platform/Shadow.h"

class PhotoItem;
class RenderThumbnailViewDelegate;

class RenderThumbnailView : public QWidget {
    Q_OBJECT
public:
    static constexpr double PictureInset = 10.0;

    explicit RenderThumbnailView(const QRectF& frame, QWidget* parent = nullptr);

    // The largest rectangle of width / height `ratio` centred in `frame`; the
    // zero rectangle when the frame or the ratio has no area.
    static QRectF displayFrameInFrame(const QRectF& frame, double ratio);

    std::shared_ptr<PhotoItem> oItem() const { return m_item; }
    // Fits the photo's thumbnail into the bounds inset by 10; a photo without
    // a usable thumbnail leaves the picture area as it was.
    void setOItem(const std::shared_ptr<PhotoItem>& item);

    bool bIsChoosen() const { return m_choosen; }
    void setBIsChoosen(bool choosen);

    RenderThumbnailViewDelegate* oDelegate() const { return m_delegate; }
    // Not owned.
    void setODelegate(RenderThumbnailViewDelegate* delegate) { m_delegate = delegate; }

    const Shadow& oShadow() const { return m_shadow; }
    QColor clColor() const { return m_color; }
    // Where the picture goes, y up.
    QRectF rctDisplayFrame() const { return m_displayFrame; }

    void didClickOnRenderThumbnailView(RenderThumbnailView* view);
    void didDeleteOnRenderThumbnailView(RenderThumbnailView* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF bounds() const;

    std::shared_ptr<PhotoItem> m_item;
    bool m_choosen = false;
    RenderThumbnailViewDelegate* m_delegate = nullptr;
    Shadow m_shadow;
    QColor m_color;
    QRectF m_displayFrame;
};
