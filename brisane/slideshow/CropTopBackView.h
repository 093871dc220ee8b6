#pragma once
// A drawn bar background for the top of a panel: a dark vertical gradient,
// darker at the top, with a dark line and a lighter one above it along its
// bottom edge. Main thread.

#include <QWidget>

class CropTopBackView : public QWidget {
    Q_OBJECT
public:
    explicit CropTopBackView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
