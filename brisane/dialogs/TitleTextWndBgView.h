#pragma once
// The background of the static text window: a plain dark grey (40/255 for
// red, green and blue). A click on it takes the keyboard focus, which ends a
// text edit in progress in the style panel. Main thread.

#include <QWidget>

class TitleTextWndBgView : public QWidget {
    Q_OBJECT
public:
    explicit TitleTextWndBgView(QWidget* parent = nullptr);

    static QColor backgroundColor() { return QColor(40, 40, 40); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
