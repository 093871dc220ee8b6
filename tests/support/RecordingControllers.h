#pragma once
// Recording stand-ins for the editors and dialogs the shell holds. Each
// records the calls it receives, by name, in `calls`, and answers what the
// test put in its public fields.
//
// Header-only: include it from a test that links the shell module.
// InstalledControllers makes a delegate and a main window controller holding
// one fake of each, for the life of the object; the test hands the main
// window controller the project its editors work on (setOpenProject).

#include <QStringList>
#include <QWidget>
#include <memory>

#include "shell/AppDelegate.h"
#include "shell/MainWindowController.h"
#include "shell/core/IBackgroundMusicWindowController.h"
#include "shell/core/IBackgroundPictureWindowController.h"
#include "shell/core/IButtonEditWindowController.h"
#include "shell/core/IClipEditWindowController.h"
#include "shell/core/IListEditViewController.h"
#include "shell/core/IMenuEditViewController.h"
#include "shell/core/IPlayModeWindowController.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/ITitleTextEditWindowController.h"
#include "shell/core/IVideoEditWindowController.h"

namespace testsupport {

struct CallRecorder {
    QStringList calls;
    void record(const QString& call) { calls.append(call); }
    int count(const QString& call) const { return calls.count(call); }
};

class RecordingListEditController : public IListEditViewController, public CallRecorder {
public:
    quint64 selected = 0;
    std::shared_ptr<Object> data;
    std::shared_ptr<DVDPageData> page;
    QWidget widget;

    quint64 selectedType() const override { return selected; }
    std::shared_ptr<Object> selectedData() const override { return data; }
    std::shared_ptr<DVDPageData> currentDVDPage() const override { return page; }
    void setCurrentDVDPage(const std::shared_ptr<DVDPageData>& p) override
    {
        record("setCurrentDVDPage");
        page = p;
    }
    void deleteSelectedData() override { record("deleteSelectedData"); }
    void listSourceHasChanged() override { record("listSourceHasChanged"); }
    std::shared_ptr<DVDPageData> addMenuPageToArray() override
    {
        record("addMenuPageToArray");
        return page;
    }
    void reloadView() override { record("reloadView"); }
    void removeAllWhenCloseProject() override { record("removeAllWhenCloseProject"); }
    QWidget* view() override { return &widget; }
};

class RecordingDialog : public CallRecorder {
public:
    QWidget widget;
};

class RecordingBgMusicController : public IBackgroundMusicWindowController, public RecordingDialog {
public:
    QWidget* window() override { return &widget; }
    void showWindowInModel() override { record("showWindowInModel"); }
};

class RecordingBgPictureController : public IBackgroundPictureWindowController,
                                     public RecordingDialog {
public:
    QWidget* window() override { return &widget; }
    void showWindowInModel() override { record("showWindowInModel"); }
};

class RecordingPlayModeController : public IPlayModeWindowController, public RecordingDialog {
public:
    QWidget* window() override { return &widget; }
    void showWindowInModel() override { record("showWindowInModel"); }
};

class RecordingTitleTextEditController : public ITitleTextEditWindowController,
                                         public RecordingDialog {
public:
    float minZoom = 0.1f;
    float maxZoom = 10.0f;
    QWidget staticText;
    QWidget* window() override { return &widget; }
    void addTextMediaAction() override { record("addTextMediaAction"); }
    void updateWndSettingWhenEditTitleMedia() override
    {
        record("updateWndSettingWhenEditTitleMedia");
    }
    void showStaticTextEditWindow() override { record("showStaticTextEditWindow"); }
    QWidget* staticTextEditWindow() override { return &staticText; }
    float getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>&) override
    {
        record("getMinZoomWithMedia");
        return minZoom;
    }
    float getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>&) override
    {
        record("getMaxZoomWithMedia");
        return maxZoom;
    }
};

class RecordingButtonEditController : public IButtonEditWindowController, public RecordingDialog {
public:
    QWidget* window() override { return &widget; }
    void updateButtonAttributes() override { record("updateButtonAttributes"); }
};

class RecordingMenuEditController : public IMenuEditViewController, public CallRecorder {
public:
    bool allText = false;
    std::shared_ptr<DVDPage> menu;
    QWidget widget;
    RecordingBgMusicController bgMusic;
    RecordingBgPictureController bgPicture;
    RecordingPlayModeController playMode;
    RecordingTitleTextEditController titleText;
    RecordingButtonEditController button;

    void flushDVDPageEditWhenOpen() override { record("flushDVDPageEditWhenOpen"); }
    void deleteCurrentTextItem() override { record("deleteCurrentTextItem"); }
    bool hasSelectAndSelectedAllPageItemText() const override { return allText; }
    std::shared_ptr<DVDPage> currentMenu() const override { return menu; }
    void setCurrentMenu(const std::shared_ptr<DVDPage>& page) override
    {
        record("setCurrentMenu");
        menu = page;
    }
    QWidget* view() override { return &widget; }
    void displayCanvasView() override { record("displayCanvasView"); }
    IBackgroundMusicWindowController* bgMusicController() const override
    {
        return const_cast<RecordingBgMusicController*>(&bgMusic);
    }
    IBackgroundPictureWindowController* bgPictureController() const override
    {
        return const_cast<RecordingBgPictureController*>(&bgPicture);
    }
    IPlayModeWindowController* playModeController() const override
    {
        return const_cast<RecordingPlayModeController*>(&playMode);
    }
    ITitleTextEditWindowController* titleTextEditController() const override
    {
        return const_cast<RecordingTitleTextEditController*>(&titleText);
    }
    IButtonEditWindowController* buttonEditController() const override
    {
        return const_cast<RecordingButtonEditController*>(&button);
    }
};

class RecordingClipEditController : public IClipEditWindowController, public CallRecorder {
public:
    QWidget widget;
    std::shared_ptr<MediaData> media;
    QWidget* window() override { return &widget; }
    void showWindowWithMediaData(const std::shared_ptr<MediaData>& m) override
    {
        record("showWindowWithMediaData");
        media = m;
    }
};

class RecordingVideoEditController : public IVideoEditWindowController, public CallRecorder {
public:
    QWidget widget;
    std::shared_ptr<MediaData> media;
    QWidget* window() override { return &widget; }
    void updateWindowWithMedia(const std::shared_ptr<MediaData>& m) override
    {
        record("updateWindowWithMedia");
        media = m;
    }
};

class RecordingImageEditController : public IRenderEditWndCtrl, public CallRecorder {
public:
    long ratio = -1;
    QWidget* sheetedWindow = nullptr;
    std::shared_ptr<RenderItem> slideshow;
    void setEnumDisplayRatio(long r) override
    {
        record("setEnumDisplayRatio");
        ratio = r;
    }
    void setWndSheetedWindow(QWidget* w) override
    {
        record("setWndSheetedWindow");
        sheetedWindow = w;
    }
    void startEditting(const std::shared_ptr<RenderItem>& s) override
    {
        record("startEditting");
        slideshow = s;
    }
};

// A main window controller that records the calls editors make on it.
class RecordingMainWindowController : public MainWindowController, public CallRecorder {
public:
    using MainWindowController::MainWindowController;

    bool editSource = true;
    bool isEditSource() const override { return editSource; }
    void setDocumentEdited(bool edited) override
    {
        record(edited ? "setDocumentEdited:YES" : "setDocumentEdited:NO");
        MainWindowController::setDocumentEdited(edited);
    }
    void initDvdResource() override { record("initDvdResource"); }
    void changeCapacityValue() override { record("changeCapacityValue"); }
    void updatePreNextButtonForDVDPageArray() override
    {
        record("updatePreNextButtonForDVDPageArray");
    }
    double menuDuration = 15.0;
    double getCurrentDVDMenuDuration() override
    {
        record("getCurrentDVDMenuDuration");
        return menuDuration;
    }
    void closePreviewWindow() override { record("closePreviewWindow"); }
};

// A delegate whose main window controller holds one recording fake of each
// editor. Lives on the main thread for the life of the object.
class InstalledControllers {
public:
    InstalledControllers()
    {
        auto main = std::make_unique<RecordingMainWindowController>(nullptr, &delegate);
        mainController = main.get();
        auto list = std::make_unique<RecordingListEditController>();
        listEdit = list.get();
        auto menuEditor = std::make_unique<RecordingMenuEditController>();
        menuEdit = menuEditor.get();
        auto clip = std::make_unique<RecordingClipEditController>();
        clipEdit = clip.get();
        auto video = std::make_unique<RecordingVideoEditController>();
        videoEdit = video.get();
        auto image = std::make_unique<RecordingImageEditController>();
        imageEdit = image.get();
        main->setListEditController(std::move(list));
        main->setMenuEditController(std::move(menuEditor));
        main->setClipEditController(std::move(clip));
        main->setVideoEditController(std::move(video));
        main->setImageEditController(std::move(image));
        delegate.setMainController(std::move(main));
    }

    AppDelegate delegate;
    RecordingMainWindowController* mainController = nullptr;
    RecordingListEditController* listEdit = nullptr;
    RecordingMenuEditController* menuEdit = nullptr;
    RecordingClipEditController* clipEdit = nullptr;
    RecordingVideoEditController* videoEdit = nullptr;
    RecordingImageEditController* imageEdit = nullptr;
};

}  // namespace testsupport
