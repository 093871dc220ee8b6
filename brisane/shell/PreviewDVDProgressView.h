#pragma once
// The preview window's seek bar: a timeline picture across the bar, inset 6
// points on each side, and a knob at the play position. Pressing or dragging
// seeks to the pointer's place; a drag past either end seeks to the start or
// the end.
//
// The player is not owned.

#include <QWidget>

class MoviePlayer;

class PreviewDVDProgressView : public QWidget {
    Q_OBJECT
public:
    static constexpr int SeekInset = 6;

    explicit PreviewDVDProgressView(QWidget* parent = nullptr);

    MoviePlayer* player() const { return m_player; }
    void setPlayer(MoviePlayer* player) { m_player = player; }

    // The bounds less the insets on the left and right.
    QRectF progressSeekRect() const;
    // The play position as a fraction of the duration.
    double progress() const;
    // Seeks to the place of x (view coordinates).
    void seekPointX(double x);
    // Seeks to the fraction p of the duration, p clamped to 0..1.
    void seekProgress(double p);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MoviePlayer* m_player = nullptr;
    bool m_dragging = false;
};
