#pragma once
// A movie the player tests drive by hand: its position moves only when set,
// it records volumes and decode requests, and answers them at once or when
// told to.

#include <QImage>
#include <QList>

#include "lumenta/IFrameProvider.h"
#include "lumenta/IMovie.h"
#include "media/MoviePlayer.h"
#include "media/VCMovie.h"

namespace playertest {

inline LMMediaTime sec(double s)
{
    return static_cast<LMMediaTime>(s * static_cast<double>(lm_default_time_base()));
}

inline double seconds(LMMediaTime t)
{
    return lm_ff_time_to_double(t);
}

class FakeMovie : public IMovie {
public:
    explicit FakeMovie(double durationSeconds, bool video = true)
        : length(sec(durationSeconds)), hasPicture(video)
    {
    }

    LMMediaTime length;
    bool hasPicture;
    mutable LMMediaTime position = 0;
    mutable bool playing = false;
    // Like a file: playing stops by itself once the position reaches the end.
    bool stopsAtEnd = false;
    bool answerAtOnce = true;
    QList<double> volumes;
    QList<LMMediaTime> decodes;
    QList<IFrameProvider*> waiting;

    LMMediaTime duration() const override { return length; }
    QList<LMMedia::Ptr> videos() const override
    {
        if (!hasPicture) {
            return {};
        }
        return {std::make_shared<LMMedia>(nullptr, QStringLiteral("fake"))};
    }
    QSizeF outputVideoSize() const override { return {32, 24}; }
    QSizeF videoSize() const override { return {40, 20}; }
    void play() override { playing = true; }
    void pause() override { playing = false; }
    void stop() override
    {
        playing = false;
        position = 0;
    }
    bool isPlay() const override { return playing; }
    LMMediaTime currentTime() const override
    {
        if (stopsAtEnd && position >= length) {
            position = length;
            playing = false;
        }
        return position;
    }
    void setCurrentTime(LMMediaTime t) override { position = qMax<LMMediaTime>(t, 0); }
    void setPlayVolume(double v) override { volumes << v; }
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool) override
    {
        decodes << time;
        if (answerAtOnce) {
            answer(provider);
        } else {
            waiting << provider;
        }
    }
    void answer(IFrameProvider* provider)
    {
        QImage frame(32, 24, QImage::Format_ARGB32);
        frame.fill(Qt::red);
        provider->mediaImage(this, frame);
        provider->mediaEffectImage(this, frame);
    }
    void answerWaiting()
    {
        const QList<IFrameProvider*> open = waiting;
        waiting.clear();
        for (IFrameProvider* p : open) {
            answer(p);
        }
    }
};

// An item over a fake movie with the kept range [start, stop] in seconds.
inline VCMovie::Ptr itemOver(const std::shared_ptr<FakeMovie>& movie, double start, double stop)
{
    auto item = VCMovie::create();
    item->setMovie(movie);
    item->setTrimStart(sec(start));
    item->setTrimStop(sec(stop));
    return item;
}

class CountingDelegate : public MoviePlayerDelegate {
public:
    int flushes = 0;
    void imageDidFlushInPlayer(MoviePlayer*) override { ++flushes; }
};

}  // namespace playertest
