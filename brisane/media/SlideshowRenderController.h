#pragma once
// Turns a slideshow into frames of a display size at a time in seconds. The
// transition's index composition names the photo positions on screen at that
// time; exactly those photos are kept decoded in their slots, handed to the
// main composition, and the frame is snapshotted.
//
// Two uses: the slideshow editor queues play and seek requests, which render
// one after another on the controller's own serial queue and reach the
// feedback block on that queue's thread; a slideshow movie source asks for
// frames synchronously (imageAtTime) through a controller of its own.
//
// Time scales: slideshow time t in seconds from the start; composition time
// t / slideshowMetaRatio (1 when the ratio is unusable). The compositions run
// at the slideshow's own pace, its per-photo time and first and last shares
// in composition seconds, so their photos change where the slideshow's spans
// do whatever pace the transition was made for.
//
// Threads: imageAtTime, set-up and clear run on the caller's thread without a
// lock; callers that may have queued requests call cancelAndWait first. The
// busy flag and the feedback block are kept under the controller's lock.

#include <QImage>
#include <QList>
#include <QSizeF>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "common/OperationQueue.h"
#include "media/TransitionTiming.h"
#include "platform/Value.h"

class PhotoItem;
class QuillonRenderer;
class RenderController;
class RenderItem;
class SlideshowRenderer;

class SlideshowRenderController {
public:
    using FeedBack = std::function<void(const QImage&)>;

    // Over the shared transition registry, or over `registry` (not owned; it
    // must outlive the controller).
    SlideshowRenderController();
    explicit SlideshowRenderController(RenderController& registry);
    // Waits for a running step; queued ones never run.
    ~SlideshowRenderController();
    SlideshowRenderController(const SlideshowRenderController&) = delete;
    SlideshowRenderController& operator=(const SlideshowRenderController&) = delete;

    // Forgets the slideshow, the renderers, the photos and their slots, and
    // cancels the queued requests (without waiting).
    void clear();
    void setupWith(const std::shared_ptr<RenderItem>& item, const QSizeF& size, double time);
    // Seconds; 0 without a slideshow.
    double duration() const;

    // Queue a render of the frame at t (play: slots refreshed at most once per
    // composition second; seek: always refreshed).
    void playAtTime(double time);
    void seekAtTime(double time);
    // Cancels the requests not started and waits for the running one.
    void cancelAndWait();

    // The frame at t on the caller's thread; null before set-up, after clear
    // or without renderers.
    QImage imageAtTime(double time) { return imageAtTime(time, true); }
    QImage imageAtTime(double time, bool linear);
    void updateImagesContentAtTime(double time);
    QImage doSnapshotImageAtTime(double time);

    // Per-photo spans laid end to end from 0.
    double renderDurationOfIndex(qsizetype index) const;
    qsizetype indexForTime(double time) const;
    std::shared_ptr<PhotoItem> itemForTime(double time) const;

    FeedBack blkFeedBack() const;
    void setBlkFeedBack(FeedBack feedBack);
    bool bEnableFlag() const;

    RenderController* oRenderController() const { return m_renderController; }
    std::shared_ptr<SlideshowRenderer> oSlideshowRenderer() const { return m_slideshowRenderer; }
    std::shared_ptr<QuillonRenderer> oIndexsRenderer() const { return m_indexsRenderer; }
    std::shared_ptr<RenderItem> oRenderItem() const { return m_renderItem.lock(); }
    QList<std::shared_ptr<PhotoItem>> aryPhotoItems() const { return m_photoItems; }
    const QList<Value::Dictionary>& mtAryImageDics() const { return m_imageDics; }
    QSizeF szDisplaySize() const { return m_displaySize; }
    qint64 iFlushTime() const { return m_flushTime; }
    // Set-ups made since construction (for diagnostics).
    int setupCount() const { return m_setupCount; }
    // Composition time of slideshow time t.
    double compositionTime(double time) const;

private:
    void queueStep(double time, bool linear);
    void runStep(double time, bool linear);
    Value::Dictionary currentIndexes(double compositionTime) const;
    // Whether any slot changed.
    bool refreshSlots(qint64 lo, qint64 hi);

    mutable std::recursive_mutex m_lock;  // m_enableFlag, m_feedBack
    FeedBack m_feedBack;
    bool m_enableFlag = true;

    RenderController* m_renderController;  // the shared registry, not owned
    std::shared_ptr<SlideshowRenderer> m_slideshowRenderer;
    std::shared_ptr<QuillonRenderer> m_indexsRenderer;
    std::weak_ptr<RenderItem> m_renderItem;  // not owned
    Value::Dictionary m_information;
    std::optional<TransitionTiming> m_pace;  // of the set-up slideshow
    QList<std::shared_ptr<PhotoItem>> m_photoItems;
    QList<Value::Dictionary> m_imageDics;
    QSizeF m_displaySize;
    qint64 m_flushTime = 0;
    int m_setupCount = 0;
    OperationQueue m_renderQueue{1};  // last: stopped first on destruction
};
