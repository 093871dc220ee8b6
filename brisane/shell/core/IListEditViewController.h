#pragma once
// What the shell and the other editors ask of the title list editor. The
// title list editor derives from this; tests install recording fakes.

#include <QtGlobal>
#include <memory>

class DVDPageData;
class Object;
class QWidget;

class IListEditViewController {
public:
    virtual ~IListEditViewController() = default;

    // 0 nothing, 1 a clip or a member of a merged clip, 2 a title, 3 a page.
    virtual quint64 selectedType() const = 0;
    // The selected MediaData, DVDTitleData or DVDPageData; null for none.
    virtual std::shared_ptr<Object> selectedData() const = 0;
    // The page that open-panel imports append to.
    virtual std::shared_ptr<DVDPageData> currentDVDPage() const = 0;
    virtual void setCurrentDVDPage(const std::shared_ptr<DVDPageData>& page) = 0;

    // The Delete command in list-edit mode.
    virtual void deleteSelectedData() = 0;
    // The change hook run after every change of the title list.
    virtual void listSourceHasChanged() = 0;
    // Appends a new empty list page to the project and answers it.
    virtual std::shared_ptr<DVDPageData> addMenuPageToArray() = 0;
    virtual void reloadView() = 0;
    // Empties the list when the project closes.
    virtual void removeAllWhenCloseProject() = 0;
    // The editor's view, placed in the main window's list tab.
    virtual QWidget* view() = 0;
};
