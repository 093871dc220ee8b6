#include "platform/CodingBase.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/BoundedFile.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

namespace {

// Files larger than this are not project or settings archives.
constexpr qint64 MaximumArchiveFileSize = qint64(128) << 20;

}  // namespace

bool CodingBase::writeToFile(const QString& path, bool atomically) const
{
    // Archive through a shared pointer so that references back to this object
    // are recorded as the root; an object not owned by one gets a non-owning alias.
    ObjectPtr self = std::const_pointer_cast<Object>(weak_from_this().lock());
    if (!self) {
        self = ObjectPtr(const_cast<CodingBase*>(this), [](Object*) {});
    }
    const QByteArray data = KeyedArchiver::archivedData(Value(self));

    if (atomically) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() ||
            !file.commit()) {
            qWarning().noquote() << "could not write" << path << ":" << file.errorString();
            return false;
        }
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(data) != data.size()) {
        qWarning().noquote() << "could not write" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

bool CodingBase::initWithContentsOfFile(const QString& path)
{
    if (!QFileInfo::exists(path) && !BoundedFile::hasUndecodableName(path)) {
        return false;
    }
    QString error;
    const auto data = BoundedFile::read(path, MaximumArchiveFileSize, &error);
    if (!data || !KeyedUnarchiver::unarchiveInto(*data, *this, &error)) {
        qWarning().noquote() << "could not read" << path << ":" << error;
        return false;
    }
    return true;
}
