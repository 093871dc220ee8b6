#include "shell/MainWindowController.h"

#include "corvane/DVDLibrary.h"
#include "model/ModelServices.h"
#include "shell/ControllerFunction.h"
#include "shell/DiscModelBuilder.h"
#include "shell/DiscSideRebuild.h"
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

namespace {

DiscSideRebuild openProjectRebuild()
{
    const auto services = ModelServices::current();
    return DiscSideRebuild(services->dateResource(), services->dvd());
}

}  // namespace

void MainWindowController::initDvdResource()
{
    openProjectRebuild().flushDVDResourceBeforeEdit();
    if (IMenuEditViewController* menuEditor = ControllerFunction::menuEditController()) {
        menuEditor->flushDVDPageEditWhenOpen();
    }
}

void MainWindowController::updatePreNextButtonForDVDPageArray()
{
    openProjectRebuild().updatePreNextButtonForDVDPageArray();
}

double MainWindowController::getCurrentDVDMenuDuration()
{
    return openProjectRebuild().getCurrentDVDMenuDuration();
}

void MainWindowController::changeCapacityValue()
{
    const auto services = ModelServices::current();
    const auto disc = services->dvd();
    if (!disc) {
        capacity_ = CapacityEstimate::resultForUsedSpace(
            0, CapacityEstimate::capacityForDiscModel(dvdModelIndex()));
        return;
    }
    capacity_ = CapacityEstimate::changeCapacityValue(services->dateResource().get(), *disc,
                                                      dvdModelIndex());
}

double MainWindowController::totalMediaDataTime(const std::shared_ptr<MediaData>& media)
{
    return media ? CapacityEstimate::totalMediaDataTime(*media) : 0.0;
}

std::shared_ptr<DVDLibrary> MainWindowController::getDVDObj()
{
    return DiscModelBuilder(ModelServices::current()->dvd()).getDVDObj();
}

int MainWindowController::dvdModelIndex() const
{
    return 0;
}

void MainWindowController::closePreviewWindow() {}
