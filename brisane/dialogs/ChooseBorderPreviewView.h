#pragma once
// The highlight preview of the play mode dialog: a menu button picture, with
// the highlight border and fill laid over it while the pointer is inside the
// view or a value is changing. A change shows the highlight until 2 seconds
// after the first change of a burst (one single-shot timer, not restarted by
// later changes). A border wider than half the view fills it all and leaves
// no inner rectangle.

#include <QColor>
#include <QTimer>
#include <QWidget>

#include "dialogs/core/PreviewHideSchedule.h"

class ChooseBorderPreviewView : public QWidget {
    Q_OBJECT
public:
    explicit ChooseBorderPreviewView(QWidget* parent = nullptr);

    void setHighlight(const QColor& border, double borderWidth, const QColor& fill);
    // A highlight value changed: show it for the rest of the burst.
    void displayPreviewView();
    bool isChangingValue() const { return m_schedule.isChangingValue(); }
    bool isMouseEntered() const { return m_mouseEntered; }
    bool showsHighlight() const { return m_mouseEntered || isChangingValue(); }
    QTimer* closeTimer() { return &m_closeTimer; }

    QSize sizeHint() const override { return QSize(200, 90); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void closePreviewDisplay();

    PreviewHideSchedule m_schedule;
    QTimer m_closeTimer;
    QColor m_border;
    QColor m_fill;
    double m_borderWidth = 0;
    bool m_mouseEntered = false;
};
