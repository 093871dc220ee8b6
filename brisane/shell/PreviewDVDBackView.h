#pragma once
// A plain picture view of the disc player: the latest frame after effects
// fitted into the view on dark grey margins (black without a frame), no
// highlight. A press inside the picture reaches the player as a click at
// the fraction of the picture from its bottom-left corner.
//
// The player is not owned.

#include <QWidget>

class MoviePlayer;

class PreviewDVDBackView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewDVDBackView(QWidget* parent = nullptr);

    MoviePlayer* player() const { return m_player; }
    void setPlayer(MoviePlayer* player) { m_player = player; }
    QRectF displayRect() const;
    // Its own click does nothing; the player's click acts.
    void clickPoint(const QPointF&) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    MoviePlayer* m_player = nullptr;
};
