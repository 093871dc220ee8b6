#pragma once
// A view that takes the keyboard focus of its window when clicked and keeps
// the click to itself.

#include <QWidget>

class MouseFirstResponderView : public QWidget {
    Q_OBJECT
public:
    explicit MouseFirstResponderView(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
