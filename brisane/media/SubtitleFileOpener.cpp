#include "media/SubtitleFileOpener.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QtDebug>

#include "common/FileManagerExtention.h"
#include "media/SubtitleEncodings.h"

SubtitleFileOpener::Result SubtitleFileOpener::openSubtitlePath(VCMovie& item, const QString& path)
{
    item.setSubtitlePath(path);
    const IMovie::Ptr movie = item.movie();
    if (!movie) {
        return {false, QObject::tr("The clip has no movie to show subtitles on."), {}};
    }
    QString readError;
    const std::optional<SubtitleEncodings::Reading> reading =
        SubtitleEncodings::readFile(path, item.subtitleEncoding(), &readError);
    Result result;
    if (!reading) {
        movie->openSubtitle(QString());
        result.problem = readError.isEmpty()
                             ? QObject::tr("No text encoding reads this file.")
                             : QObject::tr("The file cannot be read: %1.").arg(readError);
    } else {
        result = handToMovie(*movie, reading->text, path);
        result.damagedLines = reading->damagedLines;
    }
    result.hasSubtitle = movie->hasSubtitle();
    qInfo("subtitle %d", result.hasSubtitle ? 1 : 0);
    return result;
}

SubtitleFileOpener::Result SubtitleFileOpener::handToMovie(IMovie& movie, const QString& text,
                                                           const QString& path)
{
    const QString copy =
        FileManagerExtention::tempFilePath(temporaryFolderName(), QFileInfo(path).suffix());
    if (copy.isEmpty()) {
        movie.openSubtitle(QString());
        return {false, QObject::tr("No temporary copy of the subtitle could be made."), {}};
    }
    QSaveFile out(copy);
    const QByteArray utf8 = text.toUtf8();
    const bool written =
        out.open(QIODevice::WriteOnly) && out.write(utf8) == utf8.size() && out.commit();
    Result result;
    if (!written) {
        movie.openSubtitle(QString());
        result.problem =
            QObject::tr("The subtitle's copy could not be written: %1.").arg(out.errorString());
    } else if (!movie.openSubtitle(copy)) {
        // A refused file must not leave the previous file's subtitles showing
        // under the new path.
        result.problem = refusalOf(movie);
        movie.openSubtitle(QString());
    }
    QFile::remove(copy);
    return result;
}

QString SubtitleFileOpener::refusalOf(const IMovie& movie)
{
    const auto* file = dynamic_cast<const LMFFMovie*>(&movie);
    const QString reason = file ? file->subtitleError() : QString();
    return reason.isEmpty() ? QObject::tr("The movie cannot show this subtitle.")
                            : QObject::tr("The subtitle is refused: %1.").arg(reason);
}
