#pragma once
// What the editors and dialogs ask of the window that holds the open
// project, and nothing more: the open project itself, the edited mark, the
// window to put sheets on, the other editors of the window, and the few
// disc-wide refreshes an edit sets off. The main window controller derives
// from this and hands itself to every editor it makes; an editor hands it on
// to the dialogs and views it makes. Main thread, except the project's roots
// and setDocumentEdited (any thread).

#include <memory>

class DataResource;
class DVDLibraryResource;
class DVDResource;
class IClipEditWindowController;
class IListEditViewController;
class IMenuEditViewController;
class IRenderEditWndCtrl;
class IVideoEditWindowController;
class MediaData;
class QWidget;

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // --- The open project (any thread) ---
    // Its disc settings; null when no project is open.
    virtual std::shared_ptr<DVDResource> dvd() const = 0;
    // Its media side; null when no project is open.
    virtual std::shared_ptr<DataResource> dateResource() const = 0;
    // The template library new pages and elements take their defaults from.
    virtual std::shared_ptr<DVDLibraryResource> dvdLibSource() const = 0;

    // Sets or clears the window's edited mark, the record of unsaved changes.
    virtual void setDocumentEdited(bool edited) = 0;
    // The window sheets and alerts go on; null before the window is made.
    virtual QWidget* window() const = 0;

    // --- The window's editors; null until made ---
    virtual IListEditViewController* listEditController() const = 0;
    virtual IClipEditWindowController* clipEditController() const = 0;
    virtual IVideoEditWindowController* videoEditController() const = 0;
    virtual IMenuEditViewController* menuEditController() const = 0;
    virtual IRenderEditWndCtrl* imageEditController() const = 0;

    // Rebuilds the disc side of the open project from the title list, then
    // has the menu editor reload its pages.
    virtual void initDvdResource() = 0;
    // Puts the previous, next and play buttons on every page again.
    virtual void updatePreNextButtonForDVDPageArray() = 0;
    // The duration, in seconds, a new or refreshed menu page gets.
    virtual double getCurrentDVDMenuDuration() = 0;
    // Recomputes the disc size estimate and shows it.
    virtual void changeCapacityValue() = 0;
    // The seconds a clip plays on the disc; 0 for no clip.
    virtual double totalMediaDataTime(const std::shared_ptr<MediaData>& media) = 0;
};
