#include "menuedit/MenuDialogFactory.h"

#include "menuedit/MenuDialogStandIn.h"
#include "menuedit/MenuEditViewController.h"

namespace {

std::shared_ptr<MenuDialogFactory>& installedFactory()
{
    static std::shared_ptr<MenuDialogFactory> factory;
    return factory;
}

}  // namespace

MenuDialogFactory::~MenuDialogFactory() = default;

std::unique_ptr<IBackgroundMusicWindowController> MenuDialogFactory::makeBgMusicController(
    MenuEditViewController& editor)
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("BackgroundMusicWindowController"),
                                               editor.documentHost());
}

std::unique_ptr<IBackgroundPictureWindowController> MenuDialogFactory::makeBgPictureController(
    MenuEditViewController& editor)
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("BackgroundPictureWindowController"),
                                               editor.documentHost());
}

std::unique_ptr<IPlayModeWindowController> MenuDialogFactory::makePlayModeController(
    MenuEditViewController& editor)
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("PlayModeWindowController"),
                                               editor.documentHost());
}

std::unique_ptr<ITitleTextEditWindowController> MenuDialogFactory::makeTitleTextEditController(
    MenuEditViewController& editor)
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("TitleTextEditWindowController"),
                                               editor.documentHost());
}

std::unique_ptr<IButtonEditWindowController> MenuDialogFactory::makeButtonEditController(
    MenuEditViewController& editor)
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("ButtonEditWindowController"),
                                               editor.documentHost());
}

std::shared_ptr<MenuDialogFactory> MenuDialogFactory::current()
{
    auto& factory = installedFactory();
    if (!factory) {
        factory = std::make_shared<MenuDialogFactory>();
    }
    return factory;
}

void MenuDialogFactory::install(std::shared_ptr<MenuDialogFactory> factory)
{
    installedFactory() = std::move(factory);
}
