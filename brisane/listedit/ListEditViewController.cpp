#include "listedit/ListEditViewController.h"

#include <QFutureWatcher>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QtConcurrent>
#include <algorithm>

#include "common/MainThread.h"
#include "common/widgets/AlertService.h"
#include "common/widgets/CommonFunctionThreads.h"
#include "listedit/ImportSheet.h"
#include "listedit/ListEditView.h"
#include "listedit/ListTableView.h"
#include "listedit/core/ListEntryMover.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListRemoval.h"
#include "lumenta/LMMediaTime.h"
#include "media/RenderItem.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/ListRowView.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/core/IDocumentHost.h"

namespace {

const QString MoveUpKey = QStringLiteral("moveUpButtonEnable");
const QString MoveDownKey = QStringLiteral("moveDownButtonEnable");

}  // namespace

ListEditViewController::ListEditViewController(QWidget* parent, IDocumentHost* host)
    : m_host(host),
      m_view(new ListEditView(parent)),
      m_openPanel(&MediaOpenPanel::beginSheetModalForWindow)
{
    m_view->listTableView()->setController(this);
    connect(m_view->addVideoButton(), &QPushButton::clicked, this,
            &ListEditViewController::addVideoToListAction);
    connect(m_view->addPictureButton(), &QPushButton::clicked, this,
            &ListEditViewController::addPictureToListAction);
    connect(m_view->addPageButton(), &QPushButton::clicked, this,
            &ListEditViewController::addMenuPageAction);
    connect(m_view->moveUpButton(), &QPushButton::clicked, this,
            &ListEditViewController::moveUpButtonAction);
    connect(m_view->moveDownButton(), &QPushButton::clicked, this,
            &ListEditViewController::moveDownButtonAction);
    bindMoveButtons();

    m_selection.selectedType = ListSelection::Nothing;
    addMenuPageAction();
}

ListEditViewController::~ListEditViewController()
{
    // An import still running is forgotten with its watcher; its sheet must
    // not stay up on the window.
    delete m_importWindow.data();
    delete m_view.data();
}

std::shared_ptr<DVDPageData> ListEditViewController::currentDVDPage() const
{
    return m_selection.currentDVDPage.lock();
}

void ListEditViewController::setCurrentDVDPage(const std::shared_ptr<DVDPageData>& page)
{
    m_selection.currentDVDPage = page;
}

void ListEditViewController::deleteSelectedData()
{
    if (const auto media = project()) {
        ListRemoval removal(*media, m_selection);
        const auto& data = m_selection.selectedData;
        switch (m_selection.selectedType) {
            case ListSelection::Clip:
                removal.removeSelectedMedia(std::dynamic_pointer_cast<MediaData>(data));
                break;
            case ListSelection::Title:
                removal.removeSelectedTitle(std::dynamic_pointer_cast<DVDTitleData>(data));
                break;
            case ListSelection::Page:
                removal.removeSelectedPage(std::dynamic_pointer_cast<DVDPageData>(data));
                break;
            default:
                break;
        }
    }
    reloadListTableView();
}

void ListEditViewController::listSourceHasChanged()
{
    IDocumentHost* main = m_host;
    if (main) {
        main->initDvdResource();
        main->changeCapacityValue();
    }
    flushMoveUpDownButtonEnable();
    if (!currentDVDPage()) {
        if (const auto media = project(); media && !media->dvdPageArray().isEmpty()) {
            m_selection.currentDVDPage = media->dvdPageArray().last();
        }
    }
    if (main) {
        main->setDocumentEdited(true);
    }
}

std::shared_ptr<DVDPageData> ListEditViewController::addMenuPageToArray()
{
    const auto media = project();
    if (!media) {
        qWarning("ListEditViewController: no project is open, no page added");
        return nullptr;
    }
    return ListMediaFactory::addMenuPageToArray(*media, m_selection);
}

void ListEditViewController::reloadView()
{
    reloadListTableView();
}

void ListEditViewController::removeAllWhenCloseProject()
{
    if (const auto media = project()) {
        ListRemoval(*media, m_selection).removeAllWhenCloseProject();
    }
    reloadListTableView();
}

QWidget* ListEditViewController::view()
{
    return m_view.data();
}

void ListEditViewController::selectedTypeDataChanged()
{
    flushMoveUpDownButtonEnable();
}

bool ListEditViewController::isHasPreviousOrNextDataExist(bool isPre) const
{
    const auto media = project();
    return media && ListEntryMover::isHasPreviousOrNextDataExist(*media, m_selection, isPre);
}

void ListEditViewController::flushMoveUpDownButtonEnable()
{
    CommonFunctionThreads::flushObject(this, MoveUpKey);
    CommonFunctionThreads::flushObject(this, MoveDownKey);
}

void ListEditViewController::addVideoToListAction()
{
    runOpenPanel(MediaOpenPanel::videoRequest(),
                 [this](const QStringList& paths) { addDVDTitleDataToCurrentPageWithPath(paths); });
}

void ListEditViewController::addPictureToListAction()
{
    runOpenPanel(MediaOpenPanel::pictureRequest(), [this](const QStringList& paths) {
        addDVDTitleDataToCurrentPageWithImagePaths(paths);
    });
}

void ListEditViewController::addMenuPageAction()
{
    addMenuPageToArray();
    reloadListTableView();
}

void ListEditViewController::moveUpButtonAction()
{
    moveSelectedData(true);
}

void ListEditViewController::moveDownButtonAction()
{
    moveSelectedData(false);
}

MediaData::Ptr ListEditViewController::createMediaDataWithPath(const QString& path)
{
    const auto media = project();
    return media ? ListMediaFactory::createMediaDataWithPath(*media, path) : nullptr;
}

MediaData::Ptr ListEditViewController::createMediaDataWithImagePaths(const QStringList& paths)
{
    const auto media = project();
    return media ? ListMediaFactory::createMediaDataWithImagePaths(*media, paths) : nullptr;
}

MediaData::Ptr ListEditViewController::createMediaDataWithResource(
    const std::shared_ptr<SectionDataResource>& source)
{
    const auto media = project();
    return media ? ListMediaFactory::createMediaDataWithResource(*media, source) : nullptr;
}

std::shared_ptr<DVDTitleData> ListEditViewController::createDVDTitleDataWithMedia(
    const MediaData::Ptr& clip)
{
    return ListMediaFactory::createDVDTitleDataWithMedia(clip);
}

void ListEditViewController::showImportWindowInMainThread()
{
    performBlockOnMainThread([this] {
        if (QWidget* list = listTableView()) {
            list->setAcceptDrops(false);
        }
        showImportWindow();
    });
}

void ListEditViewController::closeImportWindowInMainThread(bool changed)
{
    performBlockOnMainThread([this, changed] {
        closeImportWindow();
        if (changed) {
            reloadListTableView();
        } else if (ListTableView* list = listTableView()) {
            list->resetStatus();
            list->update();
        }
        if (QWidget* list = listTableView()) {
            list->setAcceptDrops(true);
        }
    });
}

void ListEditViewController::alertRefusedFiles(const QList<ImportRefusal>& refused, QWidget* window)
{
    if (refused.isEmpty()) {
        return;
    }
    const QString details = ListMediaFactory::describeRefusals(refused);
    qWarning().noquote() << "files not added:" << details;
    AlertContent alert;
    alert.message = refused.size() == 1
                        ? QStringLiteral("1 file could not be added.")
                        : QStringLiteral("%1 files could not be added.").arg(refused.size());
    alert.informativeText = details;
    alert.defaultButton = QStringLiteral("OK");
    AlertService::current()->beginAlertSheet(alert, window);
}

void ListEditViewController::showImportWindow()
{
    QWidget* window = m_view ? m_view->window() : nullptr;
    if (m_importWindow && m_importWindow->parentWidget() != window) {
        delete m_importWindow.data();
    }
    if (!m_importWindow) {
        m_importWindow = new ImportSheet(window);
    }
    m_importWindow->begin();
}

void ListEditViewController::closeImportWindow()
{
    if (m_importWindow) {
        m_importWindow->end();
    }
}

void ListEditViewController::performBlockOnMainThread(const std::function<void()>& block)
{
    MainThread::call(block);
}

void ListEditViewController::reloadListTableView()
{
    if (ListTableView* list = listTableView()) {
        list->reloadView();
    } else {
        listSourceHasChanged();
    }
}

void ListEditViewController::flushImageMediaDataWhenImageEditFinished()
{
    if (m_selection.selectedType != ListSelection::Clip) {
        return;
    }
    const auto clip = std::dynamic_pointer_cast<MediaData>(m_selection.selectedData);
    if (!clip) {
        return;
    }
    const auto section = clip->sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    if (clip->isImageData() && source && source->imageSource()) {
        const double seconds = source->imageSource()->slideshowDuration();
        clip->setImageDataDuration(seconds);
        section->setEndTimeInMedia(
            static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * seconds));
    }
    ListRowView::refresh(clip->mediaDataView());
    std::shared_ptr<DVDTitleData> title = clip->superTitleData();
    if (clip->isSubMedia()) {
        if (const auto group = clip->superMediaData()) {
            ListRowView::refresh(group->mediaDataView());
            title = group->superTitleData();
        }
    }
    if (title) {
        ListRowView::refresh(title->titleDataView());
    }
}

QScrollArea* ListEditViewController::listScrollView() const
{
    return m_view ? m_view->listScrollView() : nullptr;
}

ListTableView* ListEditViewController::listTableView() const
{
    return m_view ? m_view->listTableView() : nullptr;
}

ListEditView* ListEditViewController::listEditView() const
{
    return m_view.data();
}

QDialog* ListEditViewController::importWindow() const
{
    return m_importWindow.data();
}

QProgressBar* ListEditViewController::importProgress() const
{
    return m_importWindow ? m_importWindow->importProgress() : nullptr;
}

void ListEditViewController::setOpenPanel(MediaOpenPanel::Runner runner)
{
    m_openPanel = runner ? std::move(runner) : &MediaOpenPanel::beginSheetModalForWindow;
}

std::shared_ptr<DataResource> ListEditViewController::project() const
{
    return m_host ? m_host->dateResource() : nullptr;
}

void ListEditViewController::runOpenPanel(const MediaOpenPanel::Request& request,
                                          std::function<void(const QStringList&)> chosen)
{
    if (m_importing) {
        return;
    }
    QPointer<ListEditViewController> guard(this);
    m_openPanel(request, m_view ? m_view->window() : nullptr,
                [guard, chosen = std::move(chosen)](const QStringList& paths) {
                    if (guard && !paths.isEmpty()) {
                        chosen(paths);
                    }
                });
}

void ListEditViewController::addDVDTitleDataToCurrentPageWithPath(const QStringList& paths)
{
    importClips([paths, canvas = discCanvasSize()] {
        QList<ListMediaFactory::MadeClip> clips;
        for (const QString& path : paths) {
            clips.append(ListMediaFactory::makeMediaDataWithPath(path, canvas));
        }
        return clips;
    });
}

void ListEditViewController::addDVDTitleDataToCurrentPageWithImagePaths(const QStringList& paths)
{
    importClips([paths, canvas = discCanvasSize()] {
        return QList<ListMediaFactory::MadeClip>{
            ListMediaFactory::makeMediaDataWithImagePaths(paths, canvas)};
    });
}

QSizeF ListEditViewController::discCanvasSize() const
{
    const auto media = project();
    return media ? media->discCanvasSize() : DataResource().discCanvasSize();
}

void ListEditViewController::importClips(std::function<QList<ListMediaFactory::MadeClip>()> make)
{
    if (m_importing) {
        return;
    }
    m_importing = true;
    showImportWindowInMainThread();
    auto* watcher = new QFutureWatcher<QList<ListMediaFactory::MadeClip>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const auto clips = watcher->result();
        watcher->deleteLater();
        const bool added = appendTitlesToCurrentPage(clips);
        closeImportWindowInMainThread(added);
        m_importing = false;
        QList<ImportRefusal> refused;
        for (const auto& made : clips) {
            refused.append(made.refused);
        }
        alertRefusedFiles(refused, m_view ? m_view->window() : nullptr);
    });
    watcher->setFuture(QtConcurrent::run(std::move(make)));
}

bool ListEditViewController::appendTitlesToCurrentPage(
    const QList<ListMediaFactory::MadeClip>& clips)
{
    if (std::none_of(clips.begin(), clips.end(),
                     [](const ListMediaFactory::MadeClip& made) { return bool(made); })) {
        return false;
    }
    const auto media = project();
    if (!media) {
        qWarning("ListEditViewController: the project closed during the import; nothing added");
        return false;
    }
    auto page = currentDVDPage();
    if (!page) {
        page =
            media->dvdPageArray().isEmpty() ? addMenuPageToArray() : media->dvdPageArray().last();
    }
    for (const auto& made : clips) {
        if (!made) {
            continue;
        }
        ListMediaFactory::registerSourceOfMedia(*media, made);
        ListMediaFactory::appendTitleToPage(
            ListMediaFactory::createDVDTitleDataWithMedia(made.media), page);
    }
    return true;
}

void ListEditViewController::moveSelectedData(bool up)
{
    if (const auto media = project()) {
        ListEntryMover::moveSelectedData(*media, m_selection, up);
    }
    reloadListTableView();
    flushMoveUpDownButtonEnable();
}

void ListEditViewController::bindMoveButtons()
{
    QPushButton* up = m_view->moveUpButton();
    QPushButton* down = m_view->moveDownButton();
    observeKey(MoveUpKey, up, [this, up] { up->setEnabled(moveUpButtonEnable()); });
    observeKey(MoveDownKey, down, [this, down] { down->setEnabled(moveDownButtonEnable()); });
    up->setEnabled(moveUpButtonEnable());
    down->setEnabled(moveDownButtonEnable());
}
