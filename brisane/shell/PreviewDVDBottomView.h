#pragma once
// The background of the preview window's control bar: a dark vertical
// gradient with a near-black line 1.5 points below its top edge.

#include <QWidget>

class PreviewDVDBottomView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewDVDBottomView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
