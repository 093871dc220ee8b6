#include "menuedit/MenuDialogFactory.h"

#include "menuedit/MenuDialogStandIn.h"

namespace {

std::shared_ptr<MenuDialogFactory>& installedFactory()
{
    static std::shared_ptr<MenuDialogFactory> factory;
    return factory;
}

}  // namespace

MenuDialogFactory::~MenuDialogFactory() = default;

std::unique_ptr<IBackgroundMusicWindowController> MenuDialogFactory::makeBgMusicController()
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("BackgroundMusicWindowController"));
}

std::unique_ptr<IBackgroundPictureWindowController> MenuDialogFactory::makeBgPictureController()
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("BackgroundPictureWindowController"));
}

std::unique_ptr<IPlayModeWindowController> MenuDialogFactory::makePlayModeController()
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("PlayModeWindowController"));
}

std::unique_ptr<ITitleTextEditWindowController> MenuDialogFactory::makeTitleTextEditController()
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("TitleTextEditWindowController"));
}

std::unique_ptr<IButtonEditWindowController> MenuDialogFactory::makeButtonEditController()
{
    return std::make_unique<MenuDialogStandIn>(QStringLiteral("ButtonEditWindowController"));
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
