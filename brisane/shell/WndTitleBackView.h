#pragma once
// The dark header strip at the top of the main window: a grey gradient, and
// the window's title centred in its top 25 points when the window asks for
// it. The window manager owns the real title bar and draws the title there,
// so the strip lies inside the window, above its content
// (ThemeExtention::changeTitleBarTheme puts it there), and by default shows
// no second title.

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
    // The window property that asks the strip to draw the title.
    static constexpr const char* DrawsTitleProperty = "windowBackgoundDrawWindowTitle";
    // Whether the strip draws the title: the window's answer (its property
    // DrawsTitleProperty), NO when it gives none, as the window manager
    // draws every title.
    bool windowBackgoundDrawWindowTitle() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawTitle(QPainter& painter);
    QWidget* m_watched = nullptr;
    QFont m_titleFont;
};
