#pragma once
// A fixed timeline picture: the timeline strip, a knob and three chapter
// marks at set places.

#include <QWidget>

class ProgressBackView : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBackView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
