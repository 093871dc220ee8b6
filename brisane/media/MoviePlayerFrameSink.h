#pragma once
// The frame provider behind a MoviePlayer: it receives the decoded frames
// (on the movies' decoding threads) and keeps the last ones and the decode
// buffer.
//
// Movies hold their provider by plain pointer until they have answered every
// request, so the sink may outlive its player: a player that goes away while
// requests are still open hands the sink its own last reference, and the
// sink lets go of it with the last answer. Work for the player is posted to
// the player's thread and dropped once the player is gone.

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <functional>
#include <memory>
#include <mutex>

#include "lumenta/IFrameProvider.h"

class MoviePlayerFrameSink : public IFrameProvider,
                             public std::enable_shared_from_this<MoviePlayerFrameSink> {
public:
    explicit MoviePlayerFrameSink(QObject* owner);

    // Called by the owner before each decode request; `drawSize` is the
    // picture size for sources that draw their frame themselves.
    void requestStarted(const QSize& drawSize);
    // Requests not answered yet.
    int pendingRequests() const;

    // The owner is going away: nothing is posted to it any more, and the sink
    // keeps itself alive until the open requests are answered.
    void detach();

    // Runs `task` on the owner's thread (at once when called there), unless
    // the owner is gone by then.
    void postToOwner(std::function<void()> task);
    // Called on the owner's thread when a frame arrives.
    void setFrameArrived(std::function<void()> task);

    QByteArray imageData() const;
    QImage originImage() const;
    QImage effectImage() const;
    void setImages(const QImage& origin, const QImage& effect);

    // IFrameProvider
    uint8_t* movieFormatSize(IMovie* movie, const LMFFVideoFormat& format, int32_t bytes) override;
    bool wantsMediaImage() const override { return true; }
    void mediaImage(IMovie* movie, const QImage& image) override;
    void mediaEffectImage(IMovie* movie, const QImage& image) override;
    void fillImageBufferWithBlock(const std::function<void(LMDrawContext&)>& block) override;

private:
    void answered();

    mutable std::mutex m_mutex;
    QObject* m_owner;  // not owned; null once detached
    std::shared_ptr<MoviePlayerFrameSink> m_self;
    std::function<void()> m_frameArrived;
    int m_pending = 0;
    QSize m_drawSize;
    QByteArray m_imageData;
    // Buffers replaced while a movie may still write into them; freed once
    // no request is open.
    QList<QByteArray> m_retiredData;
    QImage m_originImage;
    QImage m_effectImage;
};
