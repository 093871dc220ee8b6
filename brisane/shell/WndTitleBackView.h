#pragma once
// The dark header strip at the top of the main window: a grey gradient and
// the window's title, centred in its top 25 points. The window manager owns
// the real title bar, so the strip lies inside the window, above its
// content (ThemeExtention::changeTitleBarTheme puts it there).

#include <QWidget>

class QPainter;

class WndTitleBackView : public QWidget {
    Q_OBJECT
public:
    static constexpr int TitleHeight = 25;

    explicit WndTitleBackView(QWidget* parent = nullptr);

    // The title drawn: the window's title with its edited-mark placeholder
    // resolved; empty without a window.
    QString drawnTitle() const;
    // Whether the strip draws the title (every window lets it).
    bool windowBackgoundDrawWindowTitle() const { return true; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawTitle(QPainter& painter);
    QWidget* m_watched = nullptr;
    QFont m_titleFont;
};
