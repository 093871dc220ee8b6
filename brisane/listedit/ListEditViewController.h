#pragma once
// The controller of the title list screen: the list of pages, titles and
// clips the user fills with videos and pictures. It owns the list's
// selection and the current page, imports videos and pictures chosen in the
// open panel behind the import sheet, adds pages, moves the selected entry
// up or down among its siblings and deletes it. After every change of the
// list (listSourceHasChanged) the main window rebuilds the disc side,
// refreshes the capacity estimate and marks the document edited.
//
// The project's media side, the main window and the other editors are the
// ones the document host given at construction hands out. The enabled state
// of the move buttons is announced under the keys "moveUpButtonEnable" and
// "moveDownButtonEnable".
//
// Imports: the panel's files are opened, and their sources, sections and
// clips made, on a worker thread; registering the sources and appending the
// new titles to the current page happen on the main thread, in pick order,
// while the import sheet is up and the list takes no file drops. A file that
// gives no clip leaves no trace in the project; once the sheet has closed,
// one alert sheet names every refused file and why. The document is marked
// edited only when something was added.
//
// Main thread, except where an operation says otherwise.

#include <QPointer>
#include <functional>
#include <memory>

#include "common/PropertyNotifier.h"
#include "listedit/MediaOpenPanel.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "model/MediaData.h"
#include "shell/core/IListEditViewController.h"

class DataResource;
class DVDPageData;
class DVDTitleData;
class IDocumentHost;
class ImportSheet;
class ListEditView;
class ListTableView;
class QDialog;
class QProgressBar;
class QScrollArea;
class SectionDataResource;

class ListEditViewController : public PropertyNotifier, public IListEditViewController {
    Q_OBJECT
public:
    // Makes the list screen as a child of `parent` and starts the list with
    // one empty current page (when a project is open). `host` (not owned,
    // outliving the controller; may be null: no project, no main window)
    // hands out the open project.
    ListEditViewController(QWidget* parent, IDocumentHost* host);
    ~ListEditViewController() override;

    // --- IListEditViewController ---
    quint64 selectedType() const override { return m_selection.selectedType; }
    std::shared_ptr<Object> selectedData() const override { return m_selection.selectedData; }
    std::shared_ptr<DVDPageData> currentDVDPage() const override;
    void setCurrentDVDPage(const std::shared_ptr<DVDPageData>& page) override;
    // Removes the selected clip, title or page (a deleted last page is
    // replaced by a new empty one), then reloads; nothing is removed when
    // nothing is selected.
    void deleteSelectedData() override;
    // In this order: the main window's initDvdResource and
    // changeCapacityValue, the move flags announced, the last page made
    // current when there is no current page, setDocumentEdited(true).
    void listSourceHasChanged() override;
    // A new empty page appended to the project's pages, made current; no
    // reload. Null when no project is open.
    std::shared_ptr<DVDPageData> addMenuPageToArray() override;
    // reloadListTableView.
    void reloadView() override;
    // Removes every page, then reloads. No new page is added.
    void removeAllWhenCloseProject() override;
    QWidget* view() override;

    // --- Selection ---
    void setSelectedType(quint64 type) { m_selection.selectedType = type; }
    void setSelectedData(const std::shared_ptr<Object>& data) { m_selection.selectedData = data; }
    // The selection the list's core operations read and change.
    ListSelection& selection() { return m_selection; }
    // The rows call this after changing the selection: flushMoveUpDownButtonEnable.
    void selectedTypeDataChanged();

    // --- Move buttons ---
    bool moveUpButtonEnable() const { return isHasPreviousOrNextDataExist(true); }
    bool moveDownButtonEnable() const { return isHasPreviousOrNextDataExist(false); }
    // Whether the selected entry has a sibling before (`isPre`) or after it.
    bool isHasPreviousOrNextDataExist(bool isPre) const;
    // Announces both keys (will-change now, did-change queued to the main
    // thread). Any thread.
    void flushMoveUpDownButtonEnable();

    // --- Button actions ---
    void addVideoToListAction();
    void addPictureToListAction();
    void addMenuPageAction();
    void moveUpButtonAction();
    void moveDownButtonAction();

    // --- Making clips and titles (main thread) ---
    // A clip over a new source, the source registered with the project; null
    // when refused, leaving the project as it was.
    MediaData::Ptr createMediaDataWithPath(const QString& path);
    MediaData::Ptr createMediaDataWithImagePaths(const QStringList& paths);
    MediaData::Ptr createMediaDataWithResource(const std::shared_ptr<SectionDataResource>& source);
    // A new title "Title _ 0" holding the clip.
    static std::shared_ptr<DVDTitleData> createDVDTitleDataWithMedia(const MediaData::Ptr& clip);

    // --- Import sheet ---
    // Any thread; run on the main thread and return once done. Showing takes
    // the list's file drops away first; closing closes the sheet, reloads the
    // list (only when the import `changed` it: the reload marks the document
    // edited; else the drop marker is just cleared) and takes file drops
    // again.
    void showImportWindowInMainThread();
    void closeImportWindowInMainThread(bool changed = true);
    // One alert sheet on `window` naming each refused file and why; nothing
    // when none was refused. Main thread.
    static void alertRefusedFiles(const QList<ImportRefusal>& refused, QWidget* window);
    // Main thread. Closing does nothing when the sheet is not shown.
    void showImportWindow();
    void closeImportWindow();
    // Whether an open-panel import is running.
    bool isImporting() const { return m_importing; }

    // Runs the block on the main thread and returns once it has run; on the
    // main thread it runs at once. Any thread.
    static void performBlockOnMainThread(const std::function<void()>& block);

    // Reloads the list (ListTableView::reloadView, which ends with the
    // change hook listSourceHasChanged); without a list, the change hook.
    void reloadListTableView();
    // After the slideshow editor has finished with the selected picture
    // clip: the clip's length and its section's end follow the slideshow;
    // the rows of the clip, its merged clip and its title refresh.
    void flushImageMediaDataWhenImageEditFinished();

    // --- Outlets ---
    QScrollArea* listScrollView() const;
    // The list inside the scroll area; it takes file drops unless an import
    // runs.
    ListTableView* listTableView() const;
    ListEditView* listEditView() const;
    // Null before the first import.
    QDialog* importWindow() const;
    QProgressBar* importProgress() const;

    // Replaces the open panel (tests answer it themselves).
    void setOpenPanel(MediaOpenPanel::Runner runner);
    // The menu canvas of the project's disc, the output size of new clips.
    QSizeF discCanvasSize() const;

    // The document host; null when there is none.
    IDocumentHost* documentHost() const { return m_host; }
    // The open project's media side; null when no project is open.
    std::shared_ptr<DataResource> project() const;

private:
    void runOpenPanel(const MediaOpenPanel::Request& request,
                      std::function<void(const QStringList&)> chosen);
    void addDVDTitleDataToCurrentPageWithPath(const QStringList& paths);
    void addDVDTitleDataToCurrentPageWithImagePaths(const QStringList& paths);
    // Opens the files on a worker, then hands the clips to
    // appendTitlesToCurrentPage and closes the sheet.
    void importClips(std::function<QList<ListMediaFactory::MadeClip>()> make);
    // Answers whether a title was added.
    bool appendTitlesToCurrentPage(const QList<ListMediaFactory::MadeClip>& clips);
    void moveSelectedData(bool up);
    void bindMoveButtons();

    IDocumentHost* const m_host;
    ListSelection m_selection;
    QPointer<ListEditView> m_view;
    QPointer<ImportSheet> m_importWindow;
    MediaOpenPanel::Runner m_openPanel;
    bool m_importing = false;
};
