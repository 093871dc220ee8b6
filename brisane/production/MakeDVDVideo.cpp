#include "production/MakeDVDVideo.h"

#include <sys/stat.h>
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <system_error>
#include <utility>

#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMedia.h"
#include "media/DVDMenuVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/ImageAudioVideo.h"
#include "media/ImageRenderVideo.h"
#include "platform/ThreadBudget.h"

namespace {

QList<IMediaItem::Ptr> items(const QList<VCMovie::Ptr>& movies)
{
    return {movies.begin(), movies.end()};
}

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

}  // namespace

MakeDVDVideo::MakeDVDVideo() : m_maximumConcurrentTitles(defaultConcurrentTitles()) {}

MakeDVDVideo::~MakeDVDVideo()
{
    // A run always waits for its converters' finish, so none can still
    // report to this object.
    cancel();
    waitForConversions(0);
}

// --- Settings and state ---

void MakeDVDVideo::setMaximumConcurrentTitles(int count)
{
    m_maximumConcurrentTitles = std::max(count, 1);
}

int MakeDVDVideo::defaultConcurrentTitles()
{
    return ThreadBudget::cores();
}

int MakeDVDVideo::titlesInPieces() const
{
    std::lock_guard lock(m_mutex);
    return m_titlesInPieces;
}

QList<MakeDVDVideo::TitleStream> MakeDVDVideo::titleStreams() const
{
    std::lock_guard lock(m_mutex);
    return m_titleStreams;
}

int MakeDVDVideo::mostConcurrentConversions() const
{
    std::lock_guard lock(m_mutex);
    return m_mostConcurrent;
}

bool MakeDVDVideo::isCancelled() const
{
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

double MakeDVDVideo::totalLength() const
{
    std::lock_guard lock(m_mutex);
    return m_totalLength;
}

double MakeDVDVideo::convertedLength() const
{
    std::lock_guard lock(m_mutex);
    return m_convertedLength;
}

double MakeDVDVideo::convertingLength() const
{
    std::lock_guard lock(m_mutex);
    double weight = 0.0;
    for (const Conversion& running : m_running) {
        weight += running.weight;
    }
    return weight;
}

VCVideoConverter::Ptr MakeDVDVideo::task() const
{
    std::lock_guard lock(m_mutex);
    return m_running.isEmpty() ? nullptr : m_running.last().converter;
}

void MakeDVDVideo::cancel()
{
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    for (const Conversion& running : m_running) {
        running.converter->cancel();
    }
}

double MakeDVDVideo::progress() const
{
    std::lock_guard lock(m_mutex);
    double done = m_convertedLength;
    for (const Conversion& running : m_running) {
        done += running.weight * running.converter->progress();
    }
    m_shownProgress = std::max(m_shownProgress, done / std::max(m_totalLength, 1.0));
    return m_shownProgress;
}

// --- The run ---

ProductionResult MakeDVDVideo::makeDVDVideo(const std::shared_ptr<DVDLibrary>& dvd,
                                            const QString& work)
{
    if (!dvd) {
        return ProductionResult::failed(QStringLiteral("There is no disc to render."));
    }
    QList<TitleJob> jobs = titleJobs(*dvd);
    const QList<DVDLibrary::MenuPtr> menus =
        dvd->noMenu() ? QList<DVDLibrary::MenuPtr>() : dvd->menus();
    double total = 0.0;
    for (const auto& menu : menus) {
        total += menu ? menu->duration() * 2 : 0.0;
    }
    for (const TitleJob& job : jobs) {
        total += job.length;
    }
    {
        std::lock_guard lock(m_mutex);
        m_totalLength = total;
    }
    // The converters report their finish on the main thread: waiting for
    // them there would wait for ever.
    if (onMainThread() && !isCancelled() && !(jobs.isEmpty() && menus.isEmpty())) {
        qWarning() << "MakeDVDVideo: called on the main thread; nothing is rendered";
        return ProductionResult::failed(
            QStringLiteral("The disc is rendered on a production thread, not on the main "
                           "thread."));
    }
    // A source file gone since it was imported would give a short or broken
    // title: refuse before anything is encoded.
    for (const TitleJob& job : jobs) {
        const QString missing = missingSource(job.movies);
        if (!missing.isEmpty()) {
            return ProductionResult::failed(
                QStringLiteral("The source file %1 of title %2 is missing.")
                    .arg(missing)
                    .arg(job.index + 1));
        }
    }

    // The menus draw the titles' own movies, so they are drawn beside the
    // titles in pieces only (whose encoders read the files through movies of
    // their own), after every other title. With fewer titles than places,
    // one place is kept for them.
    const auto beside =
        std::count_if(jobs.begin(), jobs.end(), [](const TitleJob& job) { return !job.alone; });
    const int places = m_maximumConcurrentTitles;
    const bool keepPlace = !menus.isEmpty() && places > 2 && beside < places;
    ProductionResult result = startTitles(jobs, *dvd, work, keepPlace ? places - 1 : places);
    if (result.isSucceeded()) {
        result = waitUntil([this] {
            return std::none_of(m_running.begin(), m_running.end(),
                                [](const Conversion& running) { return running.sharesMovies; });
        });
    }
    for (qsizetype i = 0; result.isSucceeded() && i < menus.size(); ++i) {
        result = renderMenu(menus[i], i, dvd, work);
    }
    const ProductionResult drained = waitForConversions(0);
    lm_set_concurrent_exports(1);
    return result.isSucceeded() ? drained : result;
}

QList<MakeDVDVideo::TitleJob> MakeDVDVideo::titleJobs(const DVDLibrary& dvd) const
{
    QList<TitleJob> jobs;
    const QList<ObjectPtr>& titles = dvd.titles();
    for (qsizetype i = 0; i < titles.size(); ++i) {
        TitleJob job;
        job.index = i;
        const auto title = std::dynamic_pointer_cast<brisane::DVDTitleVideo>(titles[i]);
        job.movies = getMoviesFromTitle(title.get());
        job.chapterStarts = title ? title->chapterStartTimes() : QList<LMMediaTime>();
        job.length = lengthFromMovies(job.movies);
        // Drawn sources (slideshows, pictures) keep state of their own.
        job.alone = std::any_of(job.movies.begin(), job.movies.end(), [](const auto& piece) {
            return !std::dynamic_pointer_cast<LMFFMovie>(piece->movie());
        });
        jobs.append(job);
    }
    markSharedMovies(jobs);
    return jobs;
}

void MakeDVDVideo::markSharedMovies(QList<TitleJob>& jobs)
{
    QHash<const IMovie*, qsizetype> owner;
    QSet<qsizetype> shared;
    for (qsizetype j = 0; j < jobs.size(); ++j) {
        for (const VCMovie::Ptr& piece : jobs[j].movies) {
            const IMovie* movie = piece->movie().get();
            const auto found = owner.constFind(movie);
            if (found == owner.constEnd()) {
                owner.insert(movie, j);
            } else if (found.value() != j) {
                shared << found.value() << j;
            }
        }
    }
    for (const qsizetype j : shared) {
        jobs[j].alone = true;
    }
}

QList<int> MakeDVDVideo::placeShares(const QList<double>& lengths, int places)
{
    // A place each, then the places left by length.
    const int left = std::max(places - static_cast<int>(lengths.size()), 0);
    double total = 0.0;
    for (const double length : lengths) {
        total += std::max(length, 0.0);
    }
    QList<int> shares;
    QList<std::pair<double, qsizetype>> remainders;
    int given = 0;
    for (qsizetype i = 0; i < lengths.size(); ++i) {
        const double exact = total > 0.0 ? left * std::max(lengths[i], 0.0) / total : 0.0;
        shares << 1 + static_cast<int>(exact);
        given += shares.last() - 1;
        remainders.append({exact - (shares.last() - 1), i});
    }
    // The largest remainders take what is still left, the earlier title
    // first among equals.
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (qsizetype k = 0; k < remainders.size() && given < left; ++k, ++given) {
        ++shares[remainders[k].second];
    }
    return shares;
}

ProductionResult MakeDVDVideo::startTitles(QList<TitleJob>& jobs, const DVDLibrary& dvd,
                                           const QString& work, int places)
{
    const LMFFMovieFileOutputFormat format = movieOutputFormat(dvd);
    // The titles encoded side by side share the places by their lengths; a
    // title cut into pieces takes a place for each.
    QList<double> lengths;
    for (const TitleJob& job : jobs) {
        lengths << (job.alone || places <= 1 ? 0.0 : job.length);
    }
    const QList<int> shares = placeShares(lengths, places);
    // They are all planned before the first starts, so that every encoder
    // sizes its threads for all the encoders beside it: one sized for those
    // started before it would run on more threads than its share, and the
    // last title would end long after the others.
    QList<VCVideoConverter::Ptr> beside;
    for (qsizetype j = 0; j < jobs.size(); ++j) {
        if (!jobs[j].alone && places > 1) {
            jobs[j].converter = titleConverter(jobs[j], format, work, shares[j]);
            beside << jobs[j].converter;
        }
    }
    const int encoders = planPieces(beside) + m_maximumConcurrentTitles - places;  // and the menus'
    lm_set_concurrent_exports(std::clamp(encoders, 1, m_maximumConcurrentTitles));
    for (TitleJob& job : jobs) {
        const bool alone = !job.converter;
        ProductionResult room = waitForConversions(alone ? 0 : places - 1);
        if (!room.isSucceeded()) {
            return room;
        }
        if (alone) {
            const ProductionResult music = renderSlideshowMusic(job, dvd, work);
            if (!music.isSucceeded()) {
                return music;
            }
            job.converter = titleConverter(job, format, work, places);
        }
        const VCVideoConverter::Ptr converter = std::exchange(job.converter, nullptr);
        const int taken = converter->planPieces();
        if (taken > 1) {
            std::lock_guard lock(m_mutex);
            ++m_titlesInPieces;
        }
        room = waitForConversions(alone ? 0 : places - taken);
        if (!room.isSucceeded()) {
            return room;
        }
        if (!startConversion(converter, job.length, taken, !converter->readsMoviesOfItsOwn())) {
            return stopResult();
        }
        if (alone) {
            const ProductionResult done = waitForConversions(0);
            if (!done.isSucceeded()) {
                return done;
            }
        }
    }
    return stopResult();
}

int MakeDVDVideo::planPieces(const QList<VCVideoConverter::Ptr>& converters)
{
    // Each plan reads its title's file (its key frames): the titles' files
    // are read at once, each plan on a thread of its own.
    std::vector<std::future<int>> plans;
    for (const VCVideoConverter::Ptr& converter : converters) {
        try {
            plans.push_back(
                std::async(std::launch::async, [converter] { return converter->planPieces(); }));
        } catch (const std::system_error&) {
            plans.push_back(
                std::async(std::launch::deferred, [converter] { return converter->planPieces(); }));
        }
    }
    int encoders = 0;
    for (std::future<int>& plan : plans) {
        encoders += plan.get();
    }
    return encoders;
}

VCVideoConverter::Ptr MakeDVDVideo::titleConverter(const TitleJob& job,
                                                   const LMFFMovieFileOutputFormat& format,
                                                   const QString& work, int pieces)
{
    const VCVideoConverter::Ptr converter =
        convertMovies(items(job.movies), work + titleFileName(job.index), format);
    // Each chapter opens on a group of pictures of its own, so that the
    // authored cell starts on the chapter's first picture.
    converter->setKeyFrameTimes(job.chapterStarts);
    converter->setMaximumPieces(pieces);
    converter->setMinimumPieceLength(m_minimumPieceLength);
    converter->setJoinsPiecesLater(m_streamsTitlesInPieces);
    return converter;
}

ProductionResult MakeDVDVideo::renderSlideshowMusic(TitleJob& job, const DVDLibrary& dvd,
                                                    const QString& work)
{
    int counter = 0;
    for (const VCMovie::Ptr& piece : job.movies) {
        const auto slideshow = std::dynamic_pointer_cast<ImageRenderVideo>(piece->movie());
        if (!slideshow) {
            continue;
        }
        const QString path = work + titleMusicFileName(job.index, counter++);
        const QList<VCMovie::Ptr> music = slideshow->musicVcMovies();
        if (music.isEmpty()) {
            continue;  // a silent slideshow
        }
        const ProductionResult made =
            waitForConverter(convertMovies(items(music), path, musicOutputFormat(dvd)), 0);
        if (!made.isSucceeded()) {
            return made;
        }
        const VCMovie::Ptr sound = VCMovie::movieWithPath(path);
        if (!sound) {
            return ProductionResult::failed(
                QStringLiteral("The slideshow music %1 cannot be read back.").arg(nameOf(path)));
        }
        piece->setMovie(std::make_shared<ImageAudioVideo>(slideshow, sound->movie()));
    }
    return ProductionResult::succeeded();
}

ProductionResult MakeDVDVideo::renderMenu(const std::shared_ptr<DVDMenuPage>& page, qsizetype index,
                                          const std::shared_ptr<DVDLibrary>& dvd,
                                          const QString& work)
{
    if (isCancelled()) {
        return stopResult();
    }
    const QList<DVDMenuVideo::Ptr> videos = DVDMenuVideo::vcmovies(page);
    if (!page || videos.isEmpty()) {
        return ProductionResult::failed(QStringLiteral("Menu %1 cannot be drawn.").arg(index + 1));
    }
    const DVDMenuVideo::Ptr menu = videos.last();
    const QString musicPath = work + menuMusicFileName(index);
    const QString videoPath = work + menuVideoFileName(index);
    const auto removeTemporaryStreams = [&] {
        QFile::remove(videoPath);
        QFile::remove(musicPath);
    };

    const QList<VCMovie::Ptr> music = menu->musicVcMovies();
    if (!music.isEmpty()) {
        const ProductionResult made =
            waitForConverter(convertMovies(items(music), musicPath, musicOutputFormat(*dvd)), 0);
        if (!made.isSucceeded()) {
            removeTemporaryStreams();
            return made;
        }
    }
    if (QFileInfo::exists(musicPath)) {
        const VCMovie::Ptr sound = VCMovie::movieWithPath(musicPath);
        if (!sound) {
            removeTemporaryStreams();
            return ProductionResult::failed(
                QStringLiteral("The music of menu %1 cannot be read back.").arg(index + 1));
        }
        menu->setAudioMovie(sound);
    }

    ProductionResult result = waitForConverter(
        convertMovies({menu}, videoPath, movieOutputFormat(*dvd)), page->duration() * 2);
    if (result.isSucceeded() && !isCancelled()) {
        DVDMenuMake spumux;
        spumux.makeMenu(page, dvd, work + menuFileName(index), videoPath, work);
        if (!spumux.start()) {
            result = ProductionResult::failed(
                QStringLiteral("spumux could not add the buttons of menu %1.").arg(index + 1));
        }
    }
    removeTemporaryStreams();
    return result.isSucceeded() ? stopResult() : result;
}

// --- Conversions ---

LMFFMovieFileOutputFormat MakeDVDVideo::movieOutputFormat(const DVDLibrary& dvd)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    const QSize size = dvd.dvdVideoSize();
    const QSize timebase = dvd.dvdVideoTimebase();
    format.width = size.width();
    format.height = size.height();
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = static_cast<int32_t>(dvd.dvdBitrate() * 1000);
    format.framerate = timebase.height();
    format.frameTime = timebase.width();
    format.aspect = static_cast<float>(dvd.aspectType() == 1 ? 16.0 / 9.0 : 4.0 / 3.0);
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    return format;
}

LMFFMovieFileOutputFormat MakeDVDVideo::musicOutputFormat(const DVDLibrary& dvd)
{
    LMFFMovieFileOutputFormat format = movieOutputFormat(dvd);
    format.frameTime = 0;
    return format;
}

QList<VCMovie::Ptr> MakeDVDVideo::getMoviesFromTitle(const brisane::DVDTitleVideo* title)
{
    QList<VCMovie::Ptr> movies = title ? title->vcmovies() : QList<VCMovie::Ptr>();
    if (movies.isEmpty()) {
        const auto empty = LMFFMovie::create();
        empty->openMedias({});
        movies << VCMovie::movieWithMovie(empty, lm_default_time_base());
    }
    return movies;
}

QString MakeDVDVideo::missingSource(const QList<VCMovie::Ptr>& movies)
{
    for (const VCMovie::Ptr& piece : movies) {
        const IMovie::Ptr movie = piece ? piece->movie() : nullptr;
        const QList<LMMedia::Ptr> medias = movie ? movie->medias() : QList<LMMedia::Ptr>();
        for (const LMMedia::Ptr& media : medias) {
            const QString path =
                media ? media->value(QStringLiteral("source.path")).toString().value_or(QString())
                      : QString();
            if (!path.isEmpty() && !QFileInfo::exists(path)) {
                return path;
            }
        }
    }
    return {};
}

double MakeDVDVideo::lengthFromMovies(const QList<VCMovie::Ptr>& movies)
{
    double seconds = 0.0;
    for (const VCMovie::Ptr& movie : movies) {
        seconds += movie ? lm_ff_time_to_double(movie->trimDuration()) : 0.0;
    }
    return seconds;
}

VCVideoConverter::Ptr MakeDVDVideo::convertMovies(const QList<IMediaItem::Ptr>& movies,
                                                  const QString& path,
                                                  const LMFFMovieFileOutputFormat& format)
{
    auto converter = VCVideoConverter::create();
    converter->setMovies(movies);
    converter->setDelegate(this);
    converter->setPath(path);
    QFile::remove(converter->path());
    converter->setMovieOutputFormat(format);
    converter->updateConverterContent();
    return converter;
}

ProductionResult MakeDVDVideo::waitForConverter(const VCVideoConverter::Ptr& converter,
                                                double weight)
{
    // A place of its own, beside the titles still running.
    const ProductionResult room = waitForConversions(m_maximumConcurrentTitles - 1);
    if (!room.isSucceeded()) {
        return room;
    }
    if (!startConversion(converter, weight)) {
        return stopResult();
    }
    return waitUntil([this, &converter] {
        return std::none_of(m_running.begin(), m_running.end(), [&](const Conversion& running) {
            return running.converter == converter;
        });
    });
}

bool MakeDVDVideo::startConversion(const VCVideoConverter::Ptr& converter, double weight,
                                   int places, bool sharesMovies)
{
    std::lock_guard lock(m_mutex);
    if (m_cancelled || m_failure) {
        return false;
    }
    // Started under the lock, so that a cancel either comes first (nothing
    // starts) or finds the converter running.
    m_running.append({converter, weight, places, sharesMovies});
    m_mostConcurrent = std::max(m_mostConcurrent, runningPlacesLocked());
    converter->startConvert();
    return true;
}

ProductionResult MakeDVDVideo::waitForConversions(int limit)
{
    return waitUntil([this, limit] {
        return runningPlacesLocked() <= ((m_cancelled || m_failure) ? 0 : limit);
    });
}

ProductionResult MakeDVDVideo::waitUntil(const std::function<bool()>& done)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        collectFinishedLocked();
        if (done()) {
            return stopResultLocked();
        }
        // Only the finish of a running converter (reported under the lock)
        // can make `done` true.
        m_ended.wait(lock, [this] {
            return std::any_of(m_running.begin(), m_running.end(), [this](const Conversion& c) {
                return m_finished.contains(c.converter.get());
            });
        });
    }
}

bool MakeDVDVideo::onMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void MakeDVDVideo::collectFinishedLocked()
{
    for (qsizetype i = 0; i < m_running.size();) {
        const Conversion conversion = m_running[i];
        if (!m_finished.remove(conversion.converter.get())) {
            ++i;
            continue;
        }
        m_running.removeAt(i);
        m_convertedLength += conversion.weight;
        ProductionResult ended = endedResult(conversion);
        if (ended.isSucceeded() && !conversion.converter->piecesToJoin().isEmpty()) {
            ended = takeTitleStreamLocked(*conversion.converter);
        }
        if (ended.isFailed() && !m_failure && !m_cancelled) {
            qWarning().noquote() << "Production stops:" << ended.reason();
            m_failure = ended;
            for (const Conversion& other : m_running) {
                other.converter->cancel();
            }
        }
    }
}

int MakeDVDVideo::runningPlacesLocked() const
{
    int places = 0;
    for (const Conversion& running : m_running) {
        places += running.places;
    }
    return places;
}

ProductionResult MakeDVDVideo::endedResult(const Conversion& conversion) const
{
    const VCVideoConverter& converter = *conversion.converter;
    if (m_cancelled || converter.isCanceled()) {
        return ProductionResult::cancelled();
    }
    const QString name = nameOf(converter.path());
    if (!converter.isFinished() || !converter.succeeded()) {
        return ProductionResult::failed(
            QStringLiteral("%1 could not be encoded: %2").arg(name, converter.errorText()));
    }
    const VCVideoConverter::PiecesToJoin pieces = converter.piecesToJoin();
    const QStringList files =
        pieces.isEmpty() ? QStringList() : pieces.video + QStringList{pieces.audio};
    for (const QString& piece : files) {
        if (!QFileInfo(piece).isFile()) {
            return ProductionResult::failed(
                QStringLiteral("A piece of %1 was not written.").arg(name));
        }
    }
    const QFileInfo written(converter.path());
    if (pieces.isEmpty() && (!written.isFile() || written.size() <= 0)) {
        return ProductionResult::failed(QStringLiteral("%1 was not written.").arg(name));
    }
    return ProductionResult::succeeded();
}

ProductionResult MakeDVDVideo::takeTitleStreamLocked(const VCVideoConverter& converter)
{
    const QString path = converter.path();
    QFile::remove(path);
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0) {
        return ProductionResult::failed(
            QStringLiteral("The stream of %1 cannot be made: %2")
                .arg(nameOf(path), QString::fromLocal8Bit(std::strerror(errno))));
    }
    m_titleStreams.append({path, converter.piecesToJoin()});
    return ProductionResult::succeeded();
}

ProductionResult MakeDVDVideo::stopResult() const
{
    std::lock_guard lock(m_mutex);
    return stopResultLocked();
}

ProductionResult MakeDVDVideo::stopResultLocked() const
{
    if (m_failure) {
        return *m_failure;
    }
    return m_cancelled ? ProductionResult::cancelled() : ProductionResult::succeeded();
}

void MakeDVDVideo::converterDidFinished(VCVideoConverter* converter)
{
    {
        std::lock_guard lock(m_mutex);
        m_finished.insert(converter);
    }
    m_ended.notify_all();
}

// --- File names ---

QString MakeDVDVideo::titleFileName(qsizetype index)
{
    return QStringLiteral("/title%1.dvd").arg(index);
}

QString MakeDVDVideo::titleMusicFileName(qsizetype index, int counter)
{
    return QStringLiteral("/title_music_temp-%1-%2.dvd").arg(index).arg(counter);
}

QString MakeDVDVideo::menuMusicFileName(qsizetype index)
{
    return QStringLiteral("/menu-music-temp-%1.dvd").arg(index);
}

QString MakeDVDVideo::menuVideoFileName(qsizetype index)
{
    return QStringLiteral("/menu-temp-%1.dvd").arg(index);
}

QString MakeDVDVideo::menuFileName(qsizetype index)
{
    return QStringLiteral("/menu%1.dvd").arg(index);
}
