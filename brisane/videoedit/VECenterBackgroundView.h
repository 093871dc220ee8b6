#pragma once
// The video edit sheet's centre panel: a vertical gradient from grey 0.3 at
// the top to 0.2, a grey 0.34 line one point below the top edge and black
// lines along the top and bottom edges.

#include <QWidget>

class VECenterBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit VECenterBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
