#include "app/PendingClipEditWindowController.h"

#include "model/MediaData.h"
#include "shell/FileLogger.h"

PendingClipEditWindowController::PendingClipEditWindowController(QWidget* parent)
    : m_window(new QWidget(parent, Qt::Sheet))
{
    m_window->hide();
}

PendingClipEditWindowController::~PendingClipEditWindowController()
{
    delete m_window.data();  // may have gone with its parent
}

QWidget* PendingClipEditWindowController::window()
{
    return m_window;
}

void PendingClipEditWindowController::showWindowWithMediaData(
    const std::shared_ptr<MediaData>& media)
{
    FileLogger::writeLine(QStringLiteral("Chapter editor is not available; clip %1 not opened")
                              .arg(media ? media->name() : QStringLiteral("(none)")));
}
