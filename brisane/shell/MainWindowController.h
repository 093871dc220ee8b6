#pragma once
// The controller of the one main window. It owns the editors (which lie
// above the shell in the module order, so they are handed in as their
// interfaces) and keeps the window's edited mark, the only record of unsaved
// changes.
//
// The operations the editors call are virtual so that tests can record them.

#include <QObject>
#include <memory>

#include "shell/CapacityEstimate.h"

class IListEditViewController;
class IClipEditWindowController;
class IVideoEditWindowController;
class IMenuEditViewController;
class IRenderEditWndCtrl;
class DVDLibrary;
class MediaData;
class QWidget;

class MainWindowController : public QObject {
    Q_OBJECT
public:
    explicit MainWindowController(QObject* parent = nullptr);
    ~MainWindowController() override;

    // The editors; null until set. Owned: setting one releases the previous.
    IListEditViewController* listEditController() const;
    IClipEditWindowController* clipEditController() const;
    IVideoEditWindowController* videoEditController() const;
    IMenuEditViewController* menuEditController() const;
    IRenderEditWndCtrl* imageEditController() const;
    void setListEditController(std::unique_ptr<IListEditViewController> controller);
    void setClipEditController(std::unique_ptr<IClipEditWindowController> controller);
    void setVideoEditController(std::unique_ptr<IVideoEditWindowController> controller);
    void setMenuEditController(std::unique_ptr<IMenuEditViewController> controller);
    void setImageEditController(std::unique_ptr<IRenderEditWndCtrl> controller);

    // The main window; null before it is made.
    virtual QWidget* window() const;

    // YES in list-edit mode, NO in menu-edit mode.
    virtual bool isEditSource() const;

    // Sets the edited mark. Any thread; returns once the mark is set.
    virtual void setDocumentEdited(bool edited);
    virtual bool isDocumentEdited() const;

    // Rebuilds the disc side of the open project from the title list
    // (DiscSideRebuild), then has the menu editor, when there is one, reload
    // its pages. Nothing without an open project.
    virtual void initDvdResource();
    // Puts the previous, next and play buttons on every page again.
    virtual void updatePreNextButtonForDVDPageArray();
    // The duration, in seconds, a new or refreshed menu page gets: the first
    // page's when above 1 s, else 15.
    virtual double getCurrentDVDMenuDuration();
    // Recomputes the disc size estimate (CapacityEstimate) for the chosen
    // disc size; totalUsedSpace() and capacityEstimate() answer it.
    virtual void changeCapacityValue();
    // The seconds a clip plays on the disc (its pieces within its section);
    // 0 for no clip.
    virtual double totalMediaDataTime(const std::shared_ptr<MediaData>& media);
    // A new disc model of the open project for preview or production
    // (DiscModelBuilder); null without an open project.
    virtual std::shared_ptr<DVDLibrary> getDVDObj();
    // The latest estimate, in bytes, and what the capacity bar shows for it.
    qint64 totalUsedSpace() const { return capacity_.totalUsedSpace; }
    const CapacityEstimate::Result& capacityEstimate() const { return capacity_; }
    // Closes the preview window when it is open.
    virtual void closePreviewWindow();

protected:
    // The disc-size choice the estimate measures against: 0 for D5, any other
    // value for D9. D5 until the window offers the choice.
    virtual int dvdModelIndex() const;

private:
    std::unique_ptr<IListEditViewController> listEditController_;
    std::unique_ptr<IClipEditWindowController> clipEditController_;
    std::unique_ptr<IVideoEditWindowController> videoEditController_;
    std::unique_ptr<IMenuEditViewController> menuEditController_;
    std::unique_ptr<IRenderEditWndCtrl> imageEditController_;
    bool documentEdited_ = false;
    CapacityEstimate::Result capacity_;
};
