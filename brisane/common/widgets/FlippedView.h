#pragma once
// A plain container view whose origin is at the top left. Qt's views all are;
// the class keeps the name the layouts use. It draws nothing of its own.

#include <QWidget>

class FlippedView : public QWidget {
    Q_OBJECT
public:
    explicit FlippedView(QWidget* parent = nullptr);

    bool isFlipped() const { return true; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
