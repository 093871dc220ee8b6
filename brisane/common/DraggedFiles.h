#pragma once
// The local files a drag or a paste carries.

#include <QStringList>

class QMimeData;

class DraggedFiles {
public:
    // The paths of the local-file URLs of `data`, in its order; none for no
    // data.
    static QStringList localFiles(const QMimeData* data);
};
