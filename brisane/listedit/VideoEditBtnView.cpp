#include "listedit/VideoEditBtnView.h"

#include <QDebug>
#include <QPointer>

#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/IVideoEditWindowController.h"

VideoEditBtnView::VideoEditBtnView(MediaDataView* row)
    : RowEditButtonView(QStringLiteral("video_edit_btn"), QStringLiteral("Video edit"), row)
{
}

void VideoEditBtnView::act(const std::shared_ptr<MediaData>& media)
{
    IDocumentHost* main = documentHost();
    if (!media->isImageData()) {
        if (IVideoEditWindowController* editor = main ? main->videoEditController() : nullptr) {
            editor->updateWindowWithMedia(media);
        } else {
            qWarning() << "VideoEditBtnView: no video editor; nothing opened for" << media->name();
        }
        return;
    }
    const auto section = media->sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    const auto slideshow = source ? source->imageSource() : nullptr;
    IRenderEditWndCtrl* editor = main ? main->imageEditController() : nullptr;
    if (!slideshow || !editor) {
        qWarning() << "VideoEditBtnView: no slideshow or no slideshow editor for" << media->name();
        return;
    }
    // The editor runs its sheet modally; the list may change meanwhile.
    QPointer<ListTableView> table(listTableView());
    editor->startEditting(slideshow);
    if (table && table->controller()) {
        table->controller()->flushImageMediaDataWhenImageEditFinished();
    }
}
