#pragma once
// The panel behind the menu canvas: opaque grey 0.1 with a black line along
// its upper and lower edges and a grey 0.34 line along its right edge.

#include <QWidget>

class MenuCanvasBgView : public QWidget {
    Q_OBJECT
public:
    explicit MenuCanvasBgView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
