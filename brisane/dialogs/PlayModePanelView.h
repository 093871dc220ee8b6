#pragma once
// The background panels of the play mode dialog: the window's ground (grey
// 0.17), the middle panel (grey 0.15) and the bottom panel (a gradient from
// grey 0.15 at the top to 0.13), the last two with a dark and a light line
// along their top edge.

#include <QWidget>

class PlayModePanelView : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Ground, Middle, Bottom };
    explicit PlayModePanelView(Kind kind, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
};
