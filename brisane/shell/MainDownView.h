#pragma once
// The main window's bottom bar: a dark gradient with two lines along its top
// edge. A click on the bar takes the keyboard focus, so that a field being
// edited elsewhere ends its editing.

#include <QWidget>

class MainDownView : public QWidget {
    Q_OBJECT
public:
    explicit MainDownView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
