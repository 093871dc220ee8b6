#pragma once
// The header bar above the title list: a dark vertical gradient with
// hairlines along its top and bottom edges. Takes the keyboard focus when
// pressed.

#include <QWidget>

class ListUpBgView : public QWidget {
    Q_OBJECT
public:
    explicit ListUpBgView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
