#include "listedit/ClipMarkEditView.h"

#include <QDebug>

#include "model/MediaData.h"
#include "shell/core/IClipEditWindowController.h"
#include "shell/core/IDocumentHost.h"

ClipMarkEditView::ClipMarkEditView(MediaDataView* row)
    : RowEditButtonView(QStringLiteral("clip_mark_btn"), QStringLiteral("Chapter edit"), row)
{
}

void ClipMarkEditView::act(const std::shared_ptr<MediaData>& media)
{
    IDocumentHost* main = documentHost();
    if (IClipEditWindowController* editor = main ? main->clipEditController() : nullptr) {
        editor->showWindowWithMediaData(media);
    } else {
        qWarning() << "ClipMarkEditView: no chapter editor; nothing opened for" << media->name();
    }
}
