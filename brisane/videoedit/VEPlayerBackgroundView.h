#pragma once
// The area behind the video edit sheet's pictures: device grey 0.2.

#include <QWidget>

class VEPlayerBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit VEPlayerBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
