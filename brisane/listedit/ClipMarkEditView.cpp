#include "listedit/ClipMarkEditView.h"

#include <QDebug>

#include "model/MediaData.h"
#include "shell/ControllerFunction.h"
#include "shell/core/IClipEditWindowController.h"

ClipMarkEditView::ClipMarkEditView(QWidget* parent)
    : RowEditButtonView(QStringLiteral("clip_mark_btn"), QStringLiteral("Chapter edit"), parent)
{
}

void ClipMarkEditView::act(const std::shared_ptr<MediaData>& media)
{
    if (IClipEditWindowController* editor = ControllerFunction::clipEditController()) {
        editor->showWindowWithMediaData(media);
    } else {
        qWarning() << "ClipMarkEditView: no chapter editor; nothing opened for" << media->name();
    }
}
