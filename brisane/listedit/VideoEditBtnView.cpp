#include "listedit/VideoEditBtnView.h"

#include <QDebug>
#include <QPointer>

#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/ControllerFunction.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/IVideoEditWindowController.h"

VideoEditBtnView::VideoEditBtnView(QWidget* parent)
    : RowEditButtonView(QStringLiteral("video_edit_btn"), QStringLiteral("Video edit"), parent)
{
}

void VideoEditBtnView::act(const std::shared_ptr<MediaData>& media)
{
    if (!media->isImageData()) {
        if (IVideoEditWindowController* editor = ControllerFunction::videoEditController()) {
            editor->updateWindowWithMedia(media);
        } else {
            qWarning() << "VideoEditBtnView: no video editor; nothing opened for" << media->name();
        }
        return;
    }
    const auto section = media->sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    const auto slideshow = source ? source->imageSource() : nullptr;
    IRenderEditWndCtrl* editor = ControllerFunction::imageEditController();
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
