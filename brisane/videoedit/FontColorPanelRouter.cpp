#include "videoedit/FontColorPanelRouter.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QSignalBlocker>

FontColorPanelRouter::FontColorPanelRouter(std::function<QString()> activeTab, QWidget* sheet)
    : QObject(sheet), m_activeTab(std::move(activeTab)), m_sheet(sheet)
{
}

FontColorPanelRouter::~FontColorPanelRouter() = default;

QFontDialog* FontColorPanelRouter::fontPanel() const
{
    return m_fontPanel.data();
}

QColorDialog* FontColorPanelRouter::colorPanel() const
{
    return m_colorPanel.data();
}

void FontColorPanelRouter::setRoute(const QString& tab, Route route)
{
    m_routes.insert(tab, std::move(route));
}

const FontColorPanelRouter::Route* FontColorPanelRouter::activeRoute() const
{
    const auto found = m_routes.constFind(m_activeTab ? m_activeTab() : QString());
    return found == m_routes.constEnd() ? nullptr : &found.value();
}

QFont FontColorPanelRouter::fallbackFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(80.0);
    return font;
}

void FontColorPanelRouter::changeFont(const QFont& font)
{
    const Route* route = activeRoute();
    if (!route || !route->changeFont) {
        return;
    }
    route->changeFont(font.family().isEmpty() ? fallbackFont() : font);
}

void FontColorPanelRouter::colorPanelColorDidChange(const QColor& colour)
{
    const Route* route = activeRoute();
    if (route && route->changeColor && colour.isValid()) {
        route->changeColor(colour);
    }
}

void FontColorPanelRouter::orderFrontFontPanel()
{
    if (!m_fontPanel) {
        m_fontPanel = new QFontDialog(m_sheet);
        m_fontPanel->setWindowTitle(tr("Fonts"));
        m_fontPanel->setModal(false);
        m_fontPanel->setOption(QFontDialog::NoButtons);
        connect(m_fontPanel.data(), &QFontDialog::currentFontChanged, this,
                &FontColorPanelRouter::changeFont);
    }
    if (const Route* route = activeRoute(); route && route->currentFont) {
        const QSignalBlocker blocker(m_fontPanel.data());
        m_fontPanel->setCurrentFont(route->currentFont());
    }
    m_fontPanel->show();
    m_fontPanel->raise();
}

void FontColorPanelRouter::orderFrontColorPanel()
{
    if (!m_colorPanel) {
        m_colorPanel = new QColorDialog(m_sheet);
        m_colorPanel->setWindowTitle(tr("Colors"));
        m_colorPanel->setModal(false);
        m_colorPanel->setOption(QColorDialog::NoButtons);
        connect(m_colorPanel.data(), &QColorDialog::currentColorChanged, this,
                &FontColorPanelRouter::colorPanelColorDidChange);
    }
    if (const Route* route = activeRoute(); route && route->currentColor) {
        const QSignalBlocker blocker(m_colorPanel.data());
        m_colorPanel->setCurrentColor(route->currentColor());
    }
    m_colorPanel->show();
    m_colorPanel->raise();
}

void FontColorPanelRouter::closePanels()
{
    if (m_fontPanel) {
        m_fontPanel->hide();
    }
    if (m_colorPanel) {
        m_colorPanel->hide();
    }
}
