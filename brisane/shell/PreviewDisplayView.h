#pragma once
// The preview window's picture: the player's latest frame fitted into the
// view (CommonFunction::scaleRectIn) on dark grey margins, with the disc
// player's button highlight laid over it. Mouse movement and clicks inside
// the fitted picture reach the player as fractions of the picture measured
// from its bottom-left corner (moveAtPoint / clickPoint); the margins do
// nothing.
//
// The player is not owned and must outlive the view or be cleared first.

#include <QPointer>
#include <QWidget>
#include <optional>

class DVDPlayer;
class MoviePlayer;

class PreviewDisplayView : public QWidget {
    Q_OBJECT
public:
    // The margin grey, 35/255.
    static constexpr int MarginGrey = 35;

    explicit PreviewDisplayView(QWidget* parent = nullptr);

    MoviePlayer* player() const { return m_player; }
    void setPlayer(MoviePlayer* player) { m_player = player; }
    // Draw the frame before effects.
    bool showOrigin() const { return m_showOrigin; }
    void setShowOrigin(bool on) { m_showOrigin = on; }

    // The highlight to lay over the picture; null when none.
    QImage getDVDHighlightImage() const;
    // Where the picture lies in the view; empty without a picture.
    QRectF displayRect() const;
    // A point of the view as a fraction of the displayed picture from its
    // bottom-left corner; nothing outside the picture.
    static std::optional<QPointF> normalisedPoint(const QPointF& point, const QRectF& picture);

    void moveAtPoint(const QPointF& point);
    void clickPoint(const QPointF& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    enum class Action { Move, Click };
    void doDVDActionWithPoint(const QPointF& point, Action action);
    DVDPlayer* dvdPlayer() const;

    MoviePlayer* m_player = nullptr;
    bool m_showOrigin = false;
};
