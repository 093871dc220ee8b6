#pragma once
// The video edit sheet's background: device grey 0.2. A press takes the
// keyboard focus, ending the editing of a text field.

#include <QWidget>

class VideoEditBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit VideoEditBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
