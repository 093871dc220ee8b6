#pragma once
// Applies a movie's edits to decoded frames on several threads, one frame per
// thread at a time, each thread with an edit chain of its own, and hands the
// pictures on in the order the frames came in. An export decodes on one
// thread and edits on these, so decoding and editing overlap and frames are
// edited side by side: the edits are per frame, so the pictures are the ones
// a single chain would give.
//
// submit() blocks while `threads` x 2 frames wait, so the frames held stay
// few whatever the length of the movie. Deliveries run on the pipeline's
// threads, one at a time, in submission order; a delivery may block (it holds
// back the ones after it, not the editing). The destructor delivers what was
// submitted, then joins.

#include <QImage>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "EditSettings.h"
#include "FFmpeg.h"

namespace lumenta {

class EditPipeline {
public:
    // The edited picture, or (asked for with `surfaceFrame`, see
    // VideoEditChain) the frame that stands for it.
    using Delivery = std::function<void(const QImage&, const std::shared_ptr<const AVFrame>&)>;

    // Starts up to `threads` threads; fewer when no more can be had.
    explicit EditPipeline(int threads);
    ~EditPipeline();
    EditPipeline(const EditPipeline&) = delete;
    EditPipeline& operator=(const EditPipeline&) = delete;

    // Queues the frame (null for none: delivers a null picture) with the edits
    // to apply to it and the surface to sample it for (see VideoEditChain).
    void submit(FramePtr frame, AVRational sampleAspect, const EditSettings& edits,
                const QSize& surface, bool surfaceFrame, Delivery delivery);
    // Returns once everything submitted has been delivered.
    void drain();
    // False when not one thread could be started: submit() must not be used.
    bool isRunning() const;

private:
    struct Job {
        uint64_t number = 0;
        FramePtr frame;
        AVRational sampleAspect{1, 1};
        EditSettings edits;
        QSize surface;
        bool surfaceFrame = false;
        Delivery delivery;
    };

    void run();
    void deliverInTurn(uint64_t number, const Delivery& delivery, const QImage& picture,
                       const std::shared_ptr<const AVFrame>& surfaceFrame);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    uint64_t m_submitted = 0;
    uint64_t m_delivered = 0;
    size_t m_limit = 2;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace lumenta
