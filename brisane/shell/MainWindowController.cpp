#include "shell/MainWindowController.h"

#include "shell/IClipEditWindowController.h"
#include "shell/IListEditViewController.h"
#include "shell/IMenuEditViewController.h"
#include "shell/IRenderEditWndCtrl.h"
#include "shell/IVideoEditWindowController.h"

MainWindowController::MainWindowController(QObject* parent) : QObject(parent) {}

MainWindowController::~MainWindowController() = default;

IListEditViewController* MainWindowController::listEditController() const
{
    return listEditController_.get();
}

IClipEditWindowController* MainWindowController::clipEditController() const
{
    return clipEditController_.get();
}

IVideoEditWindowController* MainWindowController::videoEditController() const
{
    return videoEditController_.get();
}

IMenuEditViewController* MainWindowController::menuEditController() const
{
    return menuEditController_.get();
}

IRenderEditWndCtrl* MainWindowController::imageEditController() const
{
    return imageEditController_.get();
}

void MainWindowController::setListEditController(
    std::unique_ptr<IListEditViewController> controller)
{
    listEditController_ = std::move(controller);
}

void MainWindowController::setClipEditController(
    std::unique_ptr<IClipEditWindowController> controller)
{
    clipEditController_ = std::move(controller);
}

void MainWindowController::setVideoEditController(
    std::unique_ptr<IVideoEditWindowController> controller)
{
    videoEditController_ = std::move(controller);
}

void MainWindowController::setMenuEditController(
    std::unique_ptr<IMenuEditViewController> controller)
{
    menuEditController_ = std::move(controller);
}

void MainWindowController::setImageEditController(std::unique_ptr<IRenderEditWndCtrl> controller)
{
    imageEditController_ = std::move(controller);
}

QWidget* MainWindowController::window() const
{
    return nullptr;
}

bool MainWindowController::isEditSource() const
{
    return true;
}

void MainWindowController::setDocumentEdited(bool edited)
{
    documentEdited_ = edited;
}

bool MainWindowController::isDocumentEdited() const
{
    return documentEdited_;
}

void MainWindowController::initDvdResource() {}

void MainWindowController::updatePreNextButtonForDVDPageArray() {}

double MainWindowController::getCurrentDVDMenuDuration()
{
    return 15.0;
}

void MainWindowController::changeCapacityValue() {}

double MainWindowController::totalMediaDataTime(const std::shared_ptr<MediaData>& media)
{
    return 0.0;
}

void MainWindowController::closePreviewWindow() {}
