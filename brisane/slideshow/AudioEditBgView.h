#pragma once
// The plain dark background of the slideshow music window.

#include <QWidget>

class AudioEditBgView : public QWidget {
    Q_OBJECT
public:
    explicit AudioEditBgView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
