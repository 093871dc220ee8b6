#pragma once
// The chapter marker sheet's bottom control bar: a dark vertical gradient
// (grey 0.16 at the top to 0.14) under two lines along the top edge, grey
// 0.03 above grey 0.18.

#include <QWidget>

class ClipDownControlView : public QWidget {
    Q_OBJECT
public:
    explicit ClipDownControlView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
