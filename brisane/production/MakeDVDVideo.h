#pragma once
// The rendering step of production: every title and every menu page of a
// disc encoded into the MPEG-2 / AC-3 streams dvdauthor reads, in a work
// folder:
//
//   "/title%ld.dvd"                 one title (index in the disc's titles)
//   "/title_music_temp-%ld-%d.dvd"  the music of the title's %d-th slideshow
//   "/menu-music-temp-%ld.dvd"      a menu's music (removed after the menu)
//   "/menu-temp-%ld.dvd"            a menu before its buttons (removed after)
//   "/menu%ld.dvd"                  the menu with its button subpictures
//
// Titles start first, then menus (none when the disc has noMenu): a menu
// draws the titles' own movies, so it is drawn beside the titles encoded in
// pieces (whose encoders read the files through movies of their own, see
// VCVideoConverter::readsMoviesOfItsOwn) and after every other title; with
// fewer titles side by side than places, one place is kept for it. Slideshow
// music and menu music are encoded on their own first (weight 0), then
// carried as the sound of the slideshow or the menu. Progress is weighted by
// seconds of material: a title by its length, a menu by twice its duration.
//
// Titles made only of plain files, sharing no movie with another title, are
// encoded side by side, each by its own converter into its own file; the
// rest (slideshows, other sources) alone. The files are the same as in
// sequence. Up to maximumConcurrentTitles() encoders run at once: the titles
// side by side share these places by their lengths, and a converter cuts a
// long title of one range of one file into as many pieces as its share
// gives (each at least minimumPieceLength() seconds), taking a place for
// each (see VCVideoConverter). The titles side by side are all planned (their
// files read at once) before the first starts, so that every encoder sizes
// its threads for all those beside it. A title's chapters open groups of
// their own in its pieces as in the title whole, and an interlaced source is
// coded in fields in every piece.
//
// The titles' source files must all exist before anything starts. Every
// conversion is checked: the converter succeeded and its file exists
// and is not empty; every spumux run must succeed. The first failure cancels
// whatever still runs and ends the run as failed; nothing later starts. A
// cancel reaches every running converter, and no title, menu or spumux run
// starts after it. Files already written stay in the work folder, which the
// caller removes.
//
// With streamsTitlesInPieces, a title encoded in pieces is not joined into
// its file: its pieces stay in the work folder, its "/title%ld.dvd" is a named
// pipe, and titleStreams() lists both, for the pieces to be joined into the
// pipe as dvdauthor reads it (TitleStreamFeed), so that the title is never on
// disk beside its pieces and its VOBs.
//
// makeDVDVideo runs on the production thread and blocks it; a wait sleeps
// until a converter reports its finish. The converters report their finish on
// the main thread, so the main event loop must run meanwhile, and the run
// never runs there: called on the main thread with anything to encode, it
// starts nothing and fails. cancel, progress and task may be called from any
// thread.

#include <QList>
#include <QSet>
#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "lumenta/LMFormats.h"
#include "media/IMediaItem.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"
#include "media/VCVideoConverterDelegate.h"
#include "production/IProductionStep.h"
#include "production/ProductionResult.h"

class DVDLibrary;
class DVDMenuPage;

namespace brisane {
class DVDTitleVideo;
}

class MakeDVDVideo : public IProductionStep, private VCVideoConverterDelegate {
public:
    MakeDVDVideo();
    ~MakeDVDVideo() override;
    MakeDVDVideo(const MakeDVDVideo&) = delete;
    MakeDVDVideo& operator=(const MakeDVDVideo&) = delete;

    // Renders the disc into `work` (an existing folder). Once per object.
    ProductionResult makeDVDVideo(const std::shared_ptr<DVDLibrary>& dvd, const QString& work);

    // --- IProductionStep ---
    // Sets isCancelled and cancels every running converter.
    void cancel() override;
    // (converted + the running weights times their progress) / max(total, 1);
    // never less than an earlier answer; not capped at 1.
    double progress() const override;

    bool isCancelled() const;
    double totalLength() const;
    double convertedLength() const;
    // The weight of the conversions running now.
    double convertingLength() const;
    // The converter started last among those running; null between them.
    VCVideoConverter::Ptr task() const;

    // How many titles may be encoded at once (at least 1); set it before the run.
    int maximumConcurrentTitles() const { return m_maximumConcurrentTitles; }
    void setMaximumConcurrentTitles(int count);
    // The default: one place per core counted (ThreadBudget). An encoder whose stages each run on
    // one thread spends the least processor time per frame, so a disc is
    // made fastest by one such encoder per core.
    static int defaultConcurrentTitles();
    // The places of `places` each title of `lengths` seconds takes: one
    // each, and those left over shared by length (the largest remainders
    // first, earlier titles first among equals). With more titles than
    // places, one each: they wait for one another.
    static QList<int> placeShares(const QList<double>& lengths, int places);
    // The shortest piece a long title is cut into (default 10 s); a title
    // shorter than two of them is encoded whole. Side by side, pieces of a
    // title of 20 s or more make a disc faster than the titles whole with
    // their decoders on several threads each: one thread per stage spends
    // the least processor time per frame. Set it before the run.
    double minimumPieceLength() const { return m_minimumPieceLength; }
    void setMinimumPieceLength(double seconds) { m_minimumPieceLength = seconds; }
    // Titles encoded in pieces during the run.
    int titlesInPieces() const;

    // Whether titles in pieces are left to be streamed (see above); set it
    // before the run.
    void setStreamsTitlesInPieces(bool stream) { m_streamsTitlesInPieces = stream; }
    bool streamsTitlesInPieces() const { return m_streamsTitlesInPieces; }
    // A title left in pieces: its named pipe in the work folder and the
    // pieces that fill it.
    struct TitleStream {
        QString path;
        VCVideoConverter::PiecesToJoin pieces;
    };
    // Those of the run so far, in the order their encoding ended.
    QList<TitleStream> titleStreams() const;
    // The most encoders (places) that ran at once during the run.
    int mostConcurrentConversions() const;

    // --- The parts of a run ---
    // The writer's record for the disc: its frame size and rate, MPEG-2 at
    // dvdBitrate kbit/s, 16:9 when aspectType is 1 (else 4:3), AC-3 at 48 kHz
    // and 448 kbit/s; the rest as Lumenta's default record gives it.
    static LMFFMovieFileOutputFormat movieOutputFormat(const DVDLibrary& dvd);
    // The same record for music alone (frameTime 0: no picture).
    static LMFFMovieFileOutputFormat musicOutputFormat(const DVDLibrary& dvd);
    // The title's pieces; one second of an empty movie when it has none.
    static QList<VCMovie::Ptr> getMoviesFromTitle(const brisane::DVDTitleVideo* title);
    // The first source file of the pieces that no longer exists; empty when
    // every one is there (pieces drawn by the program have none).
    static QString missingSource(const QList<VCMovie::Ptr>& movies);
    // Seconds: the sum of the pieces' trimmed lengths.
    static double lengthFromMovies(const QList<VCMovie::Ptr>& movies);
    // A converter of `movies` into `path`, prepared and not started; any file
    // at the path is removed first.
    VCVideoConverter::Ptr convertMovies(const QList<IMediaItem::Ptr>& movies, const QString& path,
                                        const LMFFMovieFileOutputFormat& format);
    // Runs one conversion to its end with `weight`, in a place of its own
    // beside the titles still running; nothing (cancelled) when the run is
    // cancelled.
    ProductionResult waitForConverter(const VCVideoConverter::Ptr& converter, double weight);

    // Work folder file names (with the leading "/").
    static QString titleFileName(qsizetype index);
    static QString titleMusicFileName(qsizetype index, int counter);
    static QString menuMusicFileName(qsizetype index);
    static QString menuVideoFileName(qsizetype index);
    static QString menuFileName(qsizetype index);

private:
    struct TitleJob {
        qsizetype index = 0;
        QList<VCMovie::Ptr> movies;
        double length = 0.0;
        // Where its chapters after the first begin, on the title's timeline.
        QList<LMMediaTime> chapterStarts;
        // Encoded with nothing else running beside it.
        bool alone = false;
        // Made and planned before the titles side by side start.
        VCVideoConverter::Ptr converter;
    };
    struct Conversion {
        VCVideoConverter::Ptr converter;
        double weight = 0.0;
        int places = 1;  // the encoders it runs side by side
        // It reads the project's own movies, which nothing else may use
        // meanwhile (a movie keeps the state of its one decoder).
        bool sharesMovies = true;
    };

    QList<TitleJob> titleJobs(const DVDLibrary& dvd) const;
    static void markSharedMovies(QList<TitleJob>& jobs);
    // Starts every title, those side by side sharing `places` places (the
    // ones that run alone waited for); the run's result so far.
    ProductionResult startTitles(QList<TitleJob>& jobs, const DVDLibrary& dvd, const QString& work,
                                 int places);
    // Plans every converter's pieces, side by side; the encoders they run.
    static int planPieces(const QList<VCVideoConverter::Ptr>& converters);
    // The title's converter, prepared to cut it into up to `pieces` pieces.
    VCVideoConverter::Ptr titleConverter(const TitleJob& job,
                                         const LMFFMovieFileOutputFormat& format,
                                         const QString& work, int pieces);
    ProductionResult renderSlideshowMusic(TitleJob& job, const DVDLibrary& dvd,
                                          const QString& work);
    ProductionResult renderMenu(const std::shared_ptr<DVDMenuPage>& page, qsizetype index,
                                const std::shared_ptr<DVDLibrary>& dvd, const QString& work);

    // Starts a prepared converter as a running conversion of `weight` that
    // takes `places` places; false (nothing started) once the run is
    // cancelled or has failed.
    bool startConversion(const VCVideoConverter::Ptr& converter, double weight, int places = 1,
                         bool sharesMovies = true);
    int runningPlacesLocked() const;  // m_mutex held
    // Waits until at most `limit` places are taken (none once the run has
    // failed or is cancelled).
    ProductionResult waitForConversions(int limit);
    // Waits until `done` (asked with m_mutex held) holds, checking each
    // conversion that ends: the first failure cancels the rest. The run's
    // result so far.
    ProductionResult waitUntil(const std::function<bool()>& done);
    static bool onMainThread();
    void collectFinishedLocked();  // m_mutex held
    ProductionResult endedResult(const Conversion& conversion) const;
    // The named pipe of a title that ended in pieces to be joined, and its
    // entry in the streams (m_mutex held); failed when no pipe can be made.
    ProductionResult takeTitleStreamLocked(const VCVideoConverter& converter);
    // Failed, cancelled or succeeded, as the run stands now.
    ProductionResult stopResult() const;
    ProductionResult stopResultLocked() const;  // m_mutex held

    void converterDidFinished(VCVideoConverter* converter) override;

    int m_maximumConcurrentTitles;
    double m_minimumPieceLength = 10.0;
    bool m_streamsTitlesInPieces = false;

    mutable std::mutex m_mutex;  // everything below
    std::condition_variable m_ended;
    double m_totalLength = 0.0;
    int m_titlesInPieces = 0;
    double m_convertedLength = 0.0;
    mutable double m_shownProgress = 0.0;
    QList<Conversion> m_running;
    QSet<const VCVideoConverter*> m_finished;
    bool m_cancelled = false;
    std::optional<ProductionResult> m_failure;
    int m_mostConcurrent = 0;
    QList<TitleStream> m_titleStreams;
};
