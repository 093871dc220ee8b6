#include "common/DraggedFiles.h"

#include <QMimeData>
#include <QUrl>

QStringList DraggedFiles::localFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
}
