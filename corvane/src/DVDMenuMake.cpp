#include "corvane/DVDMenuMake.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QSaveFile>
#include <QtDebug>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuImageGenerator.h"
#include "corvane/DVDMenuPage.h"
#include "platform/Numeric.h"

namespace {

const QStringList pictureNames = {QStringLiteral("menu_highlight"), QStringLiteral("menu_select"),
                                  QStringLiteral("menu_image")};

// Seconds between 1970-01-01 and 2001-01-01, the epoch of description names.
constexpr double referenceDateOffset = 978307200.0;

// Even, rounding toward zero: 7 gives 6, -5 gives -4.
int evenTowardZero(double value)
{
    const int whole = saturatingCast<int>(std::trunc(value));
    return whole - whole % 2;
}

QString controlFilePath(const QString& work)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(now).count() - referenceDateOffset;
    return work + QString::asprintf("/menu%f.xml", seconds);
}

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QFile::remove(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        qWarning("Cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

// Creates `path` empty, replacing any file there.
bool createEmpty(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning("Cannot create %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

void flushToDisk(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        ::fsync(file.handle());
    }
}

}  // namespace

QRectF DVDMenuMake::scaleRect(const QRectF& rect, const QSizeF& menuSize, const QSizeF& fitSize)
{
    const double sx = static_cast<float>(fitSize.width() / std::max(menuSize.width(), 1.0));
    const double sy = static_cast<float>(fitSize.height() / std::max(menuSize.height(), 1.0));
    const QRectF scaled =
        QRectF(rect.x() * sx, rect.y() * sy, rect.width() * sx, rect.height() * sy).normalized();
    if (!(scaled.width() > 0) || !(scaled.height() > 0)) {
        return {};
    }
    const double left = std::floor(scaled.left());
    const double bottom = std::floor(scaled.top());  // y up: top() is the low edge
    const double right = std::ceil(scaled.right());
    const double top = std::ceil(scaled.bottom());

    const double clipLeft = std::max(left, 0.0);
    const double clipBottom = std::max(bottom, 0.0);
    const double clipRight = std::min(right, fitSize.width());
    const double clipTop = std::min(top, fitSize.height());
    if (!(clipRight > clipLeft) || !(clipTop > clipBottom)) {
        return {};
    }
    return QRectF(evenTowardZero(clipLeft), evenTowardZero(clipBottom),
                  evenTowardZero(clipRight - clipLeft), evenTowardZero(clipTop - clipBottom));
}

QSize DVDMenuMake::getDVDVideoFormatSize(const DVDLibrary& dvd)
{
    return dvd.dvdVideoSize();
}

QString DVDMenuMake::xmlConfigForMenu(const std::shared_ptr<DVDMenuPage>& menu,
                                      const DVDLibrary& dvd)
{
    QString xml = QStringLiteral(
        "<subpictures><stream><spu start=\"00:00:00.00\" highlight=\"menu_highlight.png\" "
        "select=\"menu_select.png\" image=\"menu_image.png\" force=\"yes\" >\n");
    if (menu) {
        const QSizeF frameSize = getDVDVideoFormatSize(dvd);
        const double height = frameSize.height();
        const qint64 page = dvd.indexOfMenu(menu);
        const auto items = menu->items();
        for (qsizetype j = 0; j < items.size(); ++j) {
            const auto& element = items.at(j);
            if (!element || !element->jump()) {
                continue;
            }
            const QRectF r = scaleRect(element->frame(), menu->menuSize(), frameSize);
            xml += QString::asprintf(
                "<button name=\"b%lld%lld\" x0=\"%.0f\" y0=\"%.0f\" x1=\"%.0f\" y1=\"%.0f\" />\n",
                static_cast<long long>(page), static_cast<long long>(j), r.x(),
                height - (r.y() + r.height()), r.x() + r.width(), height - r.y());
        }
    }
    xml += QStringLiteral("</spu></stream></subpictures>");
    return xml;
}

void DVDMenuMake::makeMenu(const std::shared_ptr<DVDMenuPage>& menu,
                           const std::shared_ptr<const DVDLibrary>& dvd, const QString& path,
                           const QString& video, const QString& work)
{
    setAction([this, menu, dvd, path, video, work]() {
        setStreams(path, video);
        return run(menu, dvd, work);
    });
}

double DVDMenuMake::progress() const
{
    QString in, out;
    {
        QMutexLocker lock(&m_mutex);
        in = m_input;
        out = m_output;
    }
    if (out.isEmpty()) {
        return 0;
    }
    return double(fileSizeForFile(out)) / double(std::max<qint64>(fileSizeForFile(in), 1000));
}

QString DVDMenuMake::output() const
{
    QMutexLocker lock(&m_mutex);
    return m_output;
}

QString DVDMenuMake::input() const
{
    QMutexLocker lock(&m_mutex);
    return m_input;
}

void DVDMenuMake::setStreams(const QString& output, const QString& input)
{
    QMutexLocker lock(&m_mutex);
    m_output = output;
    m_input = input;
}

bool DVDMenuMake::run(const std::shared_ptr<DVDMenuPage>& menu,
                      const std::shared_ptr<const DVDLibrary>& dvd, const QString& work)
{
    const QString out = output();
    if (!dvd) {
        QFile::remove(out);
        return false;
    }
    const QString control = controlFilePath(work);
    bool succeeded = writeAtomically(control, xmlConfigForMenu(menu, *dvd).toUtf8()) &&
                     writePictures(menu, dvd, work) && runSpumux(*dvd, control, work);

    QFile::remove(control);
    for (const QString& name : pictureNames) {
        QFile::remove(QDir(work).filePath(name + QStringLiteral(".png")));
    }
    if (succeeded && fileSizeForFile(out) == 0) {
        qWarning("spumux wrote nothing to %s", qPrintable(out));
        succeeded = false;
    }
    succeeded = succeeded && !isCancelled();
    if (!succeeded) {
        QFile::remove(out);
    }
    return succeeded;
}

bool DVDMenuMake::writePictures(const std::shared_ptr<DVDMenuPage>& menu,
                                const std::shared_ptr<const DVDLibrary>& dvd,
                                const QString& work) const
{
    DVDMenuImageGenerator generator;
    generator.setMenu(menu);
    generator.setDvd(dvd);
    for (const QString& name : pictureNames) {
        if (!generator.generatorImageForName(name,
                                             QDir(work).filePath(name + QStringLiteral(".png")))) {
            return false;
        }
    }
    return true;
}

bool DVDMenuMake::runSpumux(const DVDLibrary& dvd, const QString& control, const QString& work)
{
    const QString out = output();
    if (!createEmpty(out)) {
        return false;
    }
    const auto task = dvd.taskCurrentArguments(QStringLiteral("spumux"), work, {control});
    task->setStandardInputFile(input());
    task->setStandardOutputFile(out);
    const bool succeeded = runTask(task) == DVDToolTask::Outcome::Succeeded;
    flushToDisk(out);
    return succeeded;
}
