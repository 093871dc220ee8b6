#include "menuedit/MenuDialogStandIn.h"

#include <QDebug>
#include <QWidget>

#include "menuedit/core/MenuCanvasGeometry.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "shell/core/IDocumentHost.h"

MenuDialogStandIn::MenuDialogStandIn(const QString& name, IDocumentHost* host)
    : name_(name), m_host(host)
{
}

MenuDialogStandIn::~MenuDialogStandIn() = default;

void MenuDialogStandIn::logCall(const char* call) const
{
    qInfo().noquote() << QStringLiteral("%1 %2: this dialog is not available; nothing opened")
                             .arg(name_, QLatin1String(call));
}

QWidget* MenuDialogStandIn::window()
{
    if (!window_) {
        window_ = std::make_unique<QWidget>();
        window_->setWindowTitle(name_);
    }
    return window_.get();
}

QWidget* MenuDialogStandIn::staticTextEditWindow()
{
    if (!staticTextWindow_) {
        staticTextWindow_ = std::make_unique<QWidget>();
        staticTextWindow_->setWindowTitle(name_);
    }
    return staticTextWindow_.get();
}

void MenuDialogStandIn::showWindowInModel()
{
    logCall("showWindowInModel");
}

void MenuDialogStandIn::addTextMediaAction()
{
    logCall("addTextMediaAction");
}

void MenuDialogStandIn::updateWndSettingWhenEditTitleMedia()
{
    logCall("updateWndSettingWhenEditTitleMedia");
}

void MenuDialogStandIn::showStaticTextEditWindow()
{
    logCall("showStaticTextEditWindow");
}

void MenuDialogStandIn::updateButtonAttributes()
{
    logCall("updateButtonAttributes");
}

float MenuDialogStandIn::getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>& item)
{
    logCall("getMinZoomWithMedia");
    return item ? MenuCanvasGeometry::minZoomForFrame(item->frame()) : 1.0f;
}

float MenuDialogStandIn::getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>& item)
{
    logCall("getMaxZoomWithMedia");
    const auto disc = m_host ? m_host->dvd() : nullptr;
    if (!item || !disc) {
        return 1.0f;
    }
    return MenuCanvasGeometry::maxZoomForFrame(item->frame(), disc->menuCanvasRect());
}
