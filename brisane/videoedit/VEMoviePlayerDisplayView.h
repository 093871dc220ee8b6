#pragma once
// Shows a preview player's current frame, aspect-fitted and centred on a
// dark grey background: the frame after the edits, or (showOrigin, or while
// the player has no edited frame rectangle) the frame before them. Before the
// first frame arrives it shows a black rectangle of the video's aspect.
//
// Holds no state of the clip; it reads the player each time it paints, and
// its owner asks it to repaint after every new frame.

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "media/MoviePlayer.h"

class VEMoviePlayerDisplayView : public QWidget {
    Q_OBJECT
public:
    explicit VEMoviePlayerDisplayView(QWidget* parent = nullptr);

    // Not owned: the player lives as long as the sheet.
    MoviePlayer* player() const { return m_player; }
    void setPlayer(MoviePlayer* player);
    bool showOrigin() const { return m_showOrigin; }
    void setShowOrigin(bool show);

    // What the view paints: the frame and its rectangle in frame pixels.
    struct Frame {
        QRectF videoRect;
        QImage image;
    };
    Frame currentFrame() const;
    // Where a frame of that rectangle lies in these bounds.
    static QRectF pictureRect(const QRectF& videoRect, const QRectF& bounds);

protected:
    // For twins that differ only in their background.
    VEMoviePlayerDisplayView(QWidget* parent, const QColor& background);
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_background;
    QPointer<MoviePlayer> m_player;
    bool m_showOrigin = false;
};
