#pragma once
// One conversion job: an ordered list of media items written back to back into
// one output file in a given format through Lumenta's file writer. Files and
// movie-like sources (menu pages, slideshows, picture-plus-music titles) are
// treated alike.
//
// Use: create(); setMovies, setDelegate, setPath, setMovieOutputFormat;
// updateConverterContent(); startConvert(); then poll progress(), isFinished()
// and isCanceled(), and cancel() at will. The job runs on a thread of its
// own; its finish (status 16 and converterDidFinished) is queued to the main
// thread, so a caller that waits for it needs a running main event loop.
//
// The output is written to a hidden temporary file beside the destination and
// renamed into place at the end; an existing file at the destination is never
// replaced. A job that could not write its file still ends with its status,
// but succeeded() is false and errorText() says why.
//
// Status is a bit set: 1 ready, 2 paused, 4 running, 8 canceled, 16 finished.
// isRunning, isCanceled and isFinished test the whole value, isReady,
// isPaused and isExecuting their bit.
//
// Video takes one of two roads per piece: unedited files go straight from the
// movie to the writer (decoded frames, or packets when streams are copied);
// movie-like sources and edited movies are composed through a pool of ten
// drawing contexts (VCImagePool) filled by the movies' frame callbacks.
//
// A long DVD title stream (a ".dvd" path, with pictures and sound) of one
// plain range of one file is encoded in pieces side by side (TitlePieces):
// up to maximumPieces() pieces of at least minimumPieceLength() seconds, each
// by a job of its own over its own movie into a hidden ".dvdpart" file beside
// the destination, its sound whole by one more (each over a movie of its
// own, the job's movies left alone), then joined (LMDVDStreamJoin)
// into the one title stream, the piece files removed. Every stage of a piece
// sizes its threads to its share of the cores (lm_add_running_exports). The
// stream holds the same frames, times and groups as one encoded whole. A job
// told to join its pieces later (setJoinsPiecesLater) stops once they are
// encoded: it succeeds with nothing at its destination, and piecesToJoin()
// names the files that whoever joins them (LMDVDStreamJoin) then removes.

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFFMovieFileOutput.h"
#include "media/IMediaItem.h"
#include "media/VCImagePool.h"
#include "media/VCVideoConverterDelegate.h"
#include "platform/Object.h"

class VCVideoConverter : public IFrameProvider,
                         public std::enable_shared_from_this<VCVideoConverter> {
public:
    using Ptr = std::shared_ptr<VCVideoConverter>;

    enum StatusType : int64_t {
        StatusReady = 1,
        StatusPaused = 2,
        StatusRunning = 4,
        StatusCanceled = 8,
        StatusFinished = 16,
    };

    static constexpr int BlockFrames = 1024;  // sample frames of one audio block
    static constexpr int ContextCount = 10;   // drawing contexts, outstanding requests

    static Ptr create() { return Ptr(new VCVideoConverter()); }
    ~VCVideoConverter() override;

    // --- Setup ---
    // Not owned; must outlive the job's finish or be cleared first.
    void setDelegate(VCVideoConverterDelegate* delegate) { m_delegate = delegate; }
    VCVideoConverterDelegate* delegate() const { return m_delegate; }
    // The project clip the job is tied to; never read here.
    void setMedia(const std::shared_ptr<Object>& media) { m_media = media; }
    std::shared_ptr<Object> media() const { return m_media.lock(); }
    void setMovies(const QList<IMediaItem::Ptr>& movies);
    QList<IMediaItem::Ptr> movies() const;
    void setPath(const QString& path);
    QString path() const;
    void setMovieOutputFormat(const LMFFMovieFileOutputFormat& format);
    LMFFMovieFileOutputFormat movieOutputFormat() const;
    // Output times (media time) at which the encoded video starts a group of
    // pictures of its own: a title's chapter points.
    void setKeyFrameTimes(const QList<LMMediaTime>& times);
    QList<LMMediaTime> keyFrameTimes() const;

    // --- Pieces ---
    // At most this many pieces side by side; 1 encodes every job whole.
    // Defaults to the cores counted (ThreadBudget). Set before the job starts.
    void setMaximumPieces(int count);
    int maximumPieces() const;
    // The shortest piece in seconds (default 10); a title shorter than two
    // of them is encoded whole.
    void setMinimumPieceLength(double seconds);
    double minimumPieceLength() const;
    // Cuts the job into its pieces, once (the start does it otherwise): the
    // number of encoders it runs side by side, 1 when it is kept whole.
    int planPieces();
    // True once planned in pieces: the pieces and the sound read the file
    // through movies of their own, so the job's movies are free for others
    // (a menu drawing them) while it runs.
    bool readsMoviesOfItsOwn() const;
    // Set before the start: a job in pieces leaves them encoded beside the
    // destination rather than joining them into it.
    void setJoinsPiecesLater(bool later);
    // The encoded pieces of a job that succeeded without joining them: the
    // video pieces in order and the sound; empty otherwise.
    struct PiecesToJoin {
        QStringList video;
        QString audio;
        bool isEmpty() const { return video.isEmpty(); }
    };
    PiecesToJoin piecesToJoin() const;

    // --- Analysis ---
    // Durations, streams and the stream-copy flags of the pieces; repeatable.
    void updateConverterContent();
    // The pieces of the job: every item's valid trim pieces, in order.
    QList<IMediaItem::Ptr> validMovies() const;
    // Asks for stream copy (video, audio); only this turns the flags on.
    void updateConverterSpeedFast(bool video, bool audio);
    bool acceptCodecCopy(const QString& key) const;
    bool can_copy_codec_id(int32_t codecId, bool isVideo) const;
    // True when the movie carries no edit at all.
    static bool isNoneEditWithMovie(const IMovie& movie);
    // True when the piece may go straight from its movie to the writer.
    bool isCanCopyImageForMovie(const IMediaItem& piece) const;
    // Whether a piece on the direct road has an interlaced video stream: the
    // output then codes fields, and that piece's frames keep theirs (brought
    // to the disc's field rate when the source's frame rate is another).
    bool hasInterlacedDirectPiece() const;
    void updateConverterSpeedMode();
    // The 50 keys "<extension>:<video|audio>:<codec>"; "#" marks one off.
    static const QStringList& copyCodecKeys();

    // --- Control ---
    void startConvert();
    void pause();
    void resume();
    void cancel();
    // 0 to 0.99; the end is told by isFinished().
    double progress() const;
    // Estimated seconds still needed (0 before the first estimate).
    double timeNeedUse() const { return m_timeNeedUse.load(); }
    void updateConverterStatus();

    int64_t statusType() const { return m_status.load(); }
    bool isReady() const { return (statusType() & StatusReady) != 0; }
    bool isPaused() const { return (statusType() & StatusPaused) != 0; }
    bool isExecuting() const { return (statusType() & StatusRunning) != 0; }
    bool isRunning() const { return statusType() == StatusRunning; }
    bool isCanceled() const { return statusType() == StatusCanceled; }
    bool isFinished() const { return statusType() == StatusFinished; }
    // True once the job has put a complete file at path().
    bool succeeded() const;
    QString errorText() const;
    bool isEncodingInSingleThread() const { return true; }

    // --- State of the run ---
    int64_t currentMovieIndex() const { return m_currentMovieIndex.load(); }
    IMediaItem::Ptr currentMovie() const;
    int64_t convert_frames() const { return m_convertFrames.load(); }
    LMMediaTime duration() const { return m_duration.load(); }
    bool hasAudio() const { return m_hasAudio.load(); }
    bool hasVideo() const { return m_hasVideo.load(); }
    bool copyImage() const { return m_copyImage.load(); }
    void setCopyImage(bool v) { m_copyImage = v; }
    bool skipDecodeImage() const { return m_skipDecodeImage.load(); }
    bool skipDecodeAudio() const { return m_skipDecodeAudio.load(); }
    VCImagePool& imagePool() { return m_imagePool; }
    // Sample frames of decoded audio written so far, and the output time the
    // video has reached.
    int64_t writtenAudioFrames() const { return m_writtenAudioFrames.load(); }
    LMMediaTime writtenVideoTime() const;

    // --- Frame provider (called on the movies' threads) ---
    void mediaEffectImage(IMovie* movie, const QImage& image) override;
    void fillImageBufferWithBlock(const std::function<void(LMDrawContext&)>& block) override;
    // The size of the drawing contexts: every picture is stretched over one,
    // so the movies may take their pictures' pixels straight at that size.
    // Empty while no video is written.
    QSize drawingSurfaceSize(IMovie* movie) const override;
    // The edits' own frame of a picture that covers a context is written as
    // it is.
    bool takesSurfaceFrames(IMovie* movie) const override;
    void mediaEffectFrame(IMovie* movie, const std::shared_ptr<const AVFrame>& frame) override;
    // Draws the picture stretched over the context; a picture less than one
    // pixel wide (or null) gives a black frame.
    void drawImage(const QImage& image, LMDrawContext& context) const;

    // --- Audio blocks ---
    // The gain of the block starting `read` sample frames into a stretch of
    // `total`: a linear fade-in ramp wins over the fade-out ramp; 1 elsewhere.
    static double fadeGain(int64_t read, int64_t total, int64_t fadeIn, int64_t fadeOut);
    // Reads `frames` sample frames into the buffer and applies the block's
    // fade gain (below 0.99 only). A failed read leaves silence and answers
    // false.
    static bool readMovie(IMovie& movie, std::vector<float>& buffer, int frames, int64_t read,
                          int64_t total, int64_t fadeIn, int64_t fadeOut);

protected:
    VCVideoConverter();
    // Hooks for a view of the job; they do nothing here.
    virtual void updateProgressDisplay() {}
    virtual void updateConverterViewStatus() {}

private:
    struct Piece;

    void startConvertHelper();
    // The whole job on this thread, its finish not reported.
    void convertHere();
    // The job as pieces (planPieces() gave at least two): the piece jobs
    // side by side, then the join into the destination.
    void convertInPieces();
    // A job for one piece's pictures, or for the sound of the whole title.
    Ptr pieceJob(const QList<IMediaItem::Ptr>& movies, const QString& path, bool pictures,
                 const QList<LMMediaTime>& keyFrameTimes) const;
    QList<Ptr> pieceJobs() const;
    // The hidden part file beside the destination for piece `index` (-1 for
    // the sound).
    QString piecePath(int index) const;
    // A new empty hidden file beside the destination to write into; empty
    // (the job failed) when it cannot be made.
    QString makeTemporaryOutput();
    // Moves the written `tempPath` to the destination: the job succeeded.
    void placeOutput(const QString& tempPath);
    // Ends the run: the finish and the delegate's call on the main thread.
    void finishOnMainThread();
    void stopConvertHelper();
    void stopConvert();
    bool startMovieOutput();
    void stopMovieOutput();
    // False (the pool left empty) when the contexts' memory cannot be had.
    bool createImageContextPool();
    void destroyImageContextPool() {}
    void startConverting();
    void convertPiece(const IMediaItem::Ptr& item, Piece& piece);
    bool runPass(Piece& piece);
    void audioStep(Piece& piece);
    void videoStep(Piece& piece, bool wroteContext);
    void resetPiece(const IMediaItem::Ptr& item);
    bool writeOneBufferedContext(Piece& piece);
    void waitForFrame(int milliseconds);
    void waitForAnswers();
    void fail(const QString& text);
    // Fails the job without allocating (no message), for when memory ran out.
    void failForLackOfMemory();
    bool setStatusIf(const std::function<bool(int64_t)>& test,
                     const std::function<int64_t(int64_t)>& change);
    std::shared_ptr<LMFFMovieFileOutput> output() const;

    mutable std::mutex m_lock;  // the fields below up to m_output
    QList<IMediaItem::Ptr> m_movies;
    QString m_path;
    LMFFMovieFileOutputFormat m_format;
    QList<LMMediaTime> m_keyFrameTimes;
    IMediaItem::Ptr m_currentMovie;
    QString m_error;
    bool m_succeeded = false;
    std::shared_ptr<LMFFMovieFileOutput> m_output;
    QString m_tempPath;
    int m_maximumPieces;
    double m_minimumPieceLength = 10.0;
    bool m_piecesPlanned = false;
    QList<IMediaItem::Ptr> m_pieceMovies;  // the pictures' pieces, in order
    QList<QList<LMMediaTime>> m_pieceKeyFrameTimes;
    IMediaItem::Ptr m_pieceSound;        // the title's range over a movie of its own
    bool m_readsMoviesOfItsOwn = false;  // set when planned, before the start
    bool m_joinsPiecesLater = false;
    PiecesToJoin m_piecesToJoin;
    QList<Ptr> m_pieceJobs;  // while they run: the pictures', then the sound's

    VCVideoConverterDelegate* m_delegate = nullptr;
    std::weak_ptr<Object> m_media;
    std::atomic<int64_t> m_status{StatusReady};
    std::atomic<int64_t> m_currentMovieIndex{0};
    std::atomic<int64_t> m_convertFrames{0};
    std::atomic<int64_t> m_writtenAudioFrames{0};
    std::atomic<LMMediaTime> m_duration{1};
    std::atomic<bool> m_hasAudio{false};
    std::atomic<bool> m_hasVideo{false};
    std::atomic<bool> m_copyImage{true};
    std::atomic<bool> m_skipDecodeImage{false};
    std::atomic<bool> m_skipDecodeAudio{false};
    std::atomic<double> m_timeNeedUse{0.0};
    std::atomic<double> m_lastPercentCalculated{0.0};
    std::atomic<double> m_lastCalculateTime{0.0};

    VCImagePool m_imagePool;
    std::vector<float> m_audioBuffer;
    // Frame requests of the composed road and their answers.
    std::atomic<int64_t> m_requested{0};
    std::atomic<int64_t> m_answered{0};
    std::atomic<int> m_answersToDrop{0};
    std::mutex m_frameMutex;
    std::condition_variable m_frameArrived;
};
