#pragma once
// The common part of the two image-drawn pop-up buttons: a combo box whose
// body is a three-part picture ("P" pictures while highlighted, the pull-down
// cap on the right when it pulls down), with an optional picture and a title
// placed by the subclass's rectangle rules.
//
// Highlighted means pressed or showing its menu. A pop-up that pulls down
// shows its first item as the title whatever is chosen.

#include <QComboBox>
#include <QImage>

#include "common/ThreePartImage.h"

class TransparentPopUpBase : public QComboBox {
    Q_OBJECT
public:
    // Where the picture goes relative to the title.
    enum ImagePosition {
        NoImage = 0,
        ImageOnly = 1,
        ImageLeft = 2,
        ImageRight = 3,
        ImageBelow = 4,
        ImageAbove = 5,
        ImageOverlaps = 6,
    };

    // The pictures of the body: the plain and the pull-down right caps of the
    // normal ("N") and pressed ("P") states.
    struct Pictures {
        ThreePartImage normal;
        ThreePartImage pressed;
        QImage pullDownRightN;
        QImage pullDownRightP;
    };

    bool pullsDown() const { return pullsDown_; }
    void setPullsDown(bool pullsDown);
    bool isHighlighted() const { return highlighted_; }
    // Shows the pressed body without a mouse (as a keyboard press would).
    void setHighlighted(bool highlighted);

    ImagePosition imagePosition() const { return imagePosition_; }
    void setImagePosition(ImagePosition position);
    Qt::Alignment titleAlignment() const { return titleAlignment_; }
    void setTitleAlignment(Qt::Alignment alignment);
    // The picture drawn beside the title: the one set here, else the icon of
    // the item shown.
    void setImage(const QImage& image);
    QImage image() const;
    QString title() const;

    // The body rectangle: the whole width at the fill picture's height.
    QRectF bezelRect() const;
    virtual QRectF imageRectForBounds(const QRectF& bounds) const;
    virtual QRectF titleRectForBounds(const QRectF& bounds) const = 0;
    virtual QFont titleFont() const = 0;
    virtual QColor titleColor() const = 0;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;
    void hidePopup() override;

protected:
    TransparentPopUpBase(Pictures pictures, QWidget* parent);

    // The rectangles as a plain pop-up places them, before the subclass's
    // adjustments.
    QRectF platformImageRect(const QRectF& bounds) const;
    QRectF platformTitleRect(const QRectF& bounds) const;
    // The image-position rule both pop-ups apply after their own offsets.
    QRectF adjustTitleForImage(QRectF rect) const;
    bool hasImage() const { return !image().isNull(); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    virtual void drawImageWithFrame(QPainter& painter, const QRectF& frame) const;

private:
    const QImage& rightCap() const;

    Pictures pictures_;
    bool pullsDown_ = false;
    bool highlighted_ = false;
    ImagePosition imagePosition_ = ImageLeft;
    Qt::Alignment titleAlignment_ = Qt::AlignLeft;
    QImage image_;
};
