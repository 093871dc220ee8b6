#pragma once
// The one font panel and the one colour panel of the video edit sheet, and
// where their choices go. Each tab that takes a font or a colour registers a
// route under its identifier ("watermark", "subtitle"); a choice made in a
// panel reaches the route of the tab that is active at that moment, and
// nothing at all while another tab is active. The panels are non-modal
// dialogs made on first use, so the user can keep them open while working in
// the sheet; closePanels() hides them (the sheet calls it when it closes).
//
// The routing (changeFont, colorPanelColorDidChange) needs no panel, so it
// can be driven without a screen. Main thread.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QColorDialog;
class QFontDialog;
class QWidget;

class FontColorPanelRouter : public QObject {
    Q_OBJECT
public:
    struct Route {
        // The font the font panel starts from.
        std::function<QFont()> currentFont;
        // A font chosen while the tab is active; null to ignore fonts.
        std::function<void(const QFont&)> changeFont;
        // The colour the colour panel starts from.
        std::function<QColor()> currentColor;
        // A colour chosen while the tab is active; null to ignore colours.
        std::function<void(const QColor&)> changeColor;
    };

    // `activeTab` answers the identifier of the sheet's active tab; the
    // panels are made as windows of `sheet`.
    FontColorPanelRouter(std::function<QString()> activeTab, QWidget* sheet);
    ~FontColorPanelRouter() override;

    void setRoute(const QString& tab, Route route);

    // A font chosen in the font panel; a font without a family becomes the
    // system font of 80 points. Goes to the active tab's route only.
    void changeFont(const QFont& font);
    // A colour chosen in the colour panel; goes to the active tab's route
    // only.
    void colorPanelColorDidChange(const QColor& colour);

    // Shows the panel, starting from the active tab's current font / colour.
    void orderFrontFontPanel();
    void orderFrontColorPanel();
    void closePanels();
    // Null until first shown.
    QFontDialog* fontPanel() const;
    QColorDialog* colorPanel() const;

    // The font a choice without a family falls back to.
    static QFont fallbackFont();

private:
    const Route* activeRoute() const;

    std::function<QString()> m_activeTab;
    QPointer<QWidget> m_sheet;
    QHash<QString, Route> m_routes;
    QPointer<QFontDialog> m_fontPanel;
    QPointer<QColorDialog> m_colorPanel;
};
