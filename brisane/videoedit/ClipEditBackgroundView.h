#pragma once
// The chapter marker sheet's background: calibrated grey 0.12. A press takes
// the keyboard focus, ending the editing of a text field.

#include <QWidget>

class ClipEditBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit ClipEditBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
