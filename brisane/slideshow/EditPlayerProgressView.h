#pragma once
// The trim bar of a music row: the length, the played part, the kept range
// between two handles and the play position. It knows no media, only plain
// times its owner sets (setting one does not repaint; call update()).
// Dragging a handle moves trimLeft or trimRight (never past each other) and
// reports the handle's time through onTrimSeek; pressing on the bar seeks
// through onSeek while dragging and once more at the release.

#include <QRectF>
#include <QWidget>
#include <functional>

class EditPlayerProgressView : public QWidget {
    Q_OBJECT
public:
    enum Action { ActionNone = 0, ActionLeft = 1, ActionRight = 2, ActionSeek = 3 };

    explicit EditPlayerProgressView(QWidget* parent = nullptr);

    double currentTime() const { return m_currentTime; }
    void setCurrentTime(double v) { m_currentTime = v; }
    double duration() const { return m_duration; }
    void setDuration(double v) { m_duration = v; }
    double trimLeft() const { return m_trimLeft; }
    void setTrimLeft(double v) { m_trimLeft = v; }
    double trimRight() const { return m_trimRight; }
    void setTrimRight(double v) { m_trimRight = v; }
    bool disabled() const { return m_disabled; }
    void setDisabled(bool v) { m_disabled = v; }

    std::function<void(double time)> onSeek;
    std::function<void(qint64 time)> onTrimSeek;

    // Geometry in widget coordinates; an empty bar (narrower than its
    // insets) hits nothing and draws nothing.
    QRectF progressRect() const;
    QRectF trimButtonRect(bool left) const;
    double currentTimeRate() const;
    double timeAtPointX(double x) const;
    Action actionAt(const QPointF& point) const;
    void seekToPointX(double x, Action action);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double divisor() const;
    double positionOf(double value) const;
    void drawPart(class QPainter& painter, double from, double to, const QColor& color) const;

    double m_currentTime = 0;
    double m_duration = 0;
    double m_trimLeft = 0;
    double m_trimRight = 0;
    bool m_disabled = false;
    Action m_action = ActionNone;
    double m_lastX = 0;
};
