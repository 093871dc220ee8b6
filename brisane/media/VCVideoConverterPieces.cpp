// The piece road of a conversion job: a long title encoded in pieces side by
// side and joined into its one stream.

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "lumenta/LMDVDStreamJoin.h"
#include "lumenta/LMFunctions.h"
#include "media/TitlePieces.h"
#include "media/VCVideoConverter.h"

void VCVideoConverter::setMaximumPieces(int count)
{
    m_maximumPieces = std::max(count, 1);
}

int VCVideoConverter::maximumPieces() const
{
    return m_maximumPieces;
}

void VCVideoConverter::setMinimumPieceLength(double seconds)
{
    m_minimumPieceLength = seconds;
}

double VCVideoConverter::minimumPieceLength() const
{
    return m_minimumPieceLength;
}

bool VCVideoConverter::readsMoviesOfItsOwn() const
{
    return m_readsMoviesOfItsOwn;
}

void VCVideoConverter::setJoinsPiecesLater(bool later)
{
    m_joinsPiecesLater = later;
}

VCVideoConverter::PiecesToJoin VCVideoConverter::piecesToJoin() const
{
    std::lock_guard lock(m_lock);
    return m_piecesToJoin;
}

QList<VCVideoConverter::Ptr> VCVideoConverter::pieceJobs() const
{
    std::lock_guard lock(m_lock);
    return m_pieceJobs;
}

int VCVideoConverter::planPieces()
{
    if (m_piecesPlanned) {
        return std::max<int>(1, static_cast<int>(m_pieceMovies.size()));
    }
    m_piecesPlanned = true;
    const LMFFMovieFileOutputFormat format = movieOutputFormat();
    const bool titleStream = QFileInfo(path()).suffix().toLower() == QLatin1String("dvd") &&
                             format.sample_rate > 0 && format.framerate >= 1 &&
                             format.frameTime >= 1;
    if (m_maximumPieces < 2 || !titleStream || m_skipDecodeImage) {
        return 1;
    }
    const QList<TitlePieces::Piece> pieces =
        TitlePieces::split(movies(), format.framerate, format.frameTime, m_maximumPieces,
                           m_minimumPieceLength, keyFrameTimes());
    m_pieceSound = pieces.isEmpty() ? nullptr : TitlePieces::cloneRange(movies());
    if (!m_pieceSound) {
        return 1;
    }
    for (const TitlePieces::Piece& piece : pieces) {
        m_pieceMovies << piece.movie;
        m_pieceKeyFrameTimes << piece.keyFrameTimes;
    }
    m_readsMoviesOfItsOwn = true;
    return std::max<int>(1, static_cast<int>(m_pieceMovies.size()));
}

QString VCVideoConverter::piecePath(int index) const
{
    const QFileInfo destination(path());
    const QString name =
        index < 0 ? QStringLiteral(".%1-audio.dvdpart") : QStringLiteral(".%1-piece%2.dvdpart");
    return destination.absoluteDir().filePath(
        index < 0 ? name.arg(destination.completeBaseName())
                  : name.arg(destination.completeBaseName()).arg(index));
}

VCVideoConverter::Ptr VCVideoConverter::pieceJob(const QList<IMediaItem::Ptr>& movies,
                                                 const QString& path, bool pictures,
                                                 const QList<LMMediaTime>& keyFrameTimes) const
{
    Ptr job = create();
    job->setMovies(movies);
    job->setPath(path);
    LMFFMovieFileOutputFormat format = movieOutputFormat();
    if (pictures) {
        format.sample_rate = 0;
    } else {
        format.frameTime = 0;
    }
    job->setMovieOutputFormat(format);
    job->setKeyFrameTimes(keyFrameTimes);
    job->setMaximumPieces(1);
    job->updateConverterContent();
    job->m_status = StatusRunning;
    return job;
}

void VCVideoConverter::convertInPieces()
{
    QList<Ptr> jobs;
    QStringList videoPaths;
    QString audioPath;
    try {
        for (qsizetype i = 0; i < m_pieceMovies.size(); ++i) {
            videoPaths << piecePath(static_cast<int>(i));
            jobs << pieceJob({m_pieceMovies[i]}, videoPaths.last(), true, m_pieceKeyFrameTimes[i]);
        }
        audioPath = piecePath(-1);
        jobs << pieceJob({m_pieceSound}, audioPath, false, {});
    } catch (const std::bad_alloc&) {
        failForLackOfMemory();
        return;
    }
    const auto removePieces = [&] {
        for (const Ptr& job : jobs) {
            QFile::remove(job->path());
        }
    };
    removePieces();  // left by an earlier job that was ended before its join
    {
        std::lock_guard lock(m_lock);
        m_pieceJobs = jobs;
    }
    // A cancel or a pause that came before the jobs were listed.
    for (const Ptr& job : jobs) {
        if (isCanceled()) {
            job->cancel();
        } else if (isPaused()) {
            job->pause();
        }
    }

    // The first piece to fail stops the others, and its reason is the job's.
    std::mutex failureMutex;
    QString failure;
    const auto runJob = [&](const Ptr& job) {
        job->convertHere();
        if (job->succeeded()) {
            return;
        }
        std::lock_guard lock(failureMutex);
        if (failure.isEmpty() && !job->isCanceled()) {
            failure = job->errorText();
            for (const Ptr& other : jobs) {
                other->cancel();
            }
        }
    };
    const int pictures = static_cast<int>(m_pieceMovies.size());
    QElapsedTimer timer;
    timer.start();
    lm_add_running_exports(pictures);
    std::vector<std::thread> threads;
    try {
        threads.reserve(static_cast<size_t>(jobs.size()));
        for (const Ptr& job : jobs) {
            threads.emplace_back(runJob, job);
        }
    } catch (const std::exception& error) {
        std::lock_guard lock(failureMutex);
        failure = QStringLiteral("no thread could be started for a piece (%1)")
                      .arg(QString::fromLocal8Bit(error.what()));
        for (const Ptr& job : jobs) {
            job->cancel();
        }
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    lm_add_running_exports(-pictures);
    // The pieces' movies (and their decoders) are done with.
    m_pieceMovies.clear();
    m_pieceSound.reset();
    for (const Ptr& job : jobs) {
        job->setMovies({});
    }

    if (isCanceled()) {
        fail(QStringLiteral("canceled"));
    } else if (!failure.isEmpty()) {
        fail(failure);
    } else if (m_joinsPiecesLater) {
        qInfo().noquote() << QFileInfo(path()).fileName() << "encoded in" << pictures << "pieces in"
                          << timer.elapsed() / 1000.0 << "s, to be joined later";
        std::lock_guard lock(m_lock);
        m_piecesToJoin = {videoPaths, audioPath};
        m_succeeded = true;
        return;
    } else if (const QString tempPath = makeTemporaryOutput(); !tempPath.isEmpty()) {
        const qint64 encoded = timer.elapsed();
        LMDVDStreamJoin join;
        join.setReleasesInput(true);  // removed below in any case
        if (join.join(videoPaths, audioPath, tempPath)) {
            qInfo().noquote() << QFileInfo(path()).fileName() << "encoded in" << pictures
                              << "pieces in" << encoded / 1000.0 << "s, joined in"
                              << (timer.elapsed() - encoded) / 1000.0 << "s";
            placeOutput(tempPath);
        } else {
            fail(QStringLiteral("its pieces cannot be joined: %1").arg(join.errorText()));
        }
        if (QFileInfo::exists(tempPath)) {
            QFile::remove(tempPath);
        }
    }
    removePieces();
}
