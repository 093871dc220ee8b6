#pragma once
// A top-level window that keeps the position it was given: asking it to
// centre itself does nothing.

#include <QWidget>

class NoCenterWindow : public QWidget {
    Q_OBJECT
public:
    explicit NoCenterWindow(QWidget* parent = nullptr);

    void center() {}
};
