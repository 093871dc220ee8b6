#pragma once
// The application's one music player: plays a list of media items back to
// back on a joined timeline, keeps each inside its kept range and applies its
// fades as playing volume. Past the end of the list nothing plays.
//
// Positions are media time on the joined timeline, where a boundary between
// two items belongs to the later one. An empty list is replaced by one item of
// silence (100 hours), so positions behave as over a real list.
//
// Threads: used on the main thread. The play loop (every 0.05 s while playing)
// always runs there; asked for on another thread it is posted to the main
// thread. The list and the current item may be read from any thread.

#include <QList>
#include <QObject>
#include <QTimer>
#include <mutex>

#include "lumenta/LMMediaTime.h"
#include "media/VCMovie.h"

class AudioPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int LoopIntervalMs = 50;

    // The shared player, made on first use (on the main thread).
    static AudioPlayer& share();

    // Players other than the shared one must be made on the main thread.
    AudioPlayer();
    ~AudioPlayer() override;

    // clearPlayer, then the new list; no item is current until the next seek.
    void updatePlayMovies(const QList<VCMovie::Ptr>& movies);
    // Pauses and forgets the list and the current item.
    void clearPlayer();

    bool isPlay() const;
    void play();
    void pause();

    // Joined media time; the list's total length once past the end.
    LMMediaTime currentTime() const;
    double playTime() const;
    void seekPlayTime(double seconds);
    void seek(LMMediaTime time);

    // One pass of the play loop: moves on past the current item's range,
    // applies the fades, and keeps the loop going while playing.
    void updatePlayerPlayLoop();
    void updatePlayerPlaySegment();
    void updatePlayMovieVolume();
    // The fade volume of an item at position `time` of its movie: 0 outside
    // the kept range.
    static double fadeVolume(const IMediaItem& item, LMMediaTime time);

    QList<VCMovie::Ptr> play_movies() const;
    VCMovie::Ptr cur_movie() const;
    LMMediaTime cur_movie_offset_time() const;

private:
    IMovie::Ptr currentMovie() const;

    mutable std::mutex m_lock;  // the three fields below
    QList<VCMovie::Ptr> m_playMovies;
    VCMovie::Ptr m_curMovie;
    LMMediaTime m_curMovieOffsetTime = 0;
    QTimer m_loopTimer;
};
