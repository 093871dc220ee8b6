#pragma once
// The background of the title list's area: plain grey 0.1. Takes the
// keyboard focus when pressed.

#include <QWidget>

class ListEditBackgourndView : public QWidget {
    Q_OBJECT
public:
    explicit ListEditBackgourndView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
