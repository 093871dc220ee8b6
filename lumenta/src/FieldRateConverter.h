#pragma once
// Brings the fields of an interlaced stream at one frame rate onto the fields
// of another. Each field is made a picture of its own (bwdif, one picture a
// field: the field's own rows kept, the others filled in from it and the
// fields around it), and each field of the output shows the picture nearest
// its time, woven into frames at the output's rate in the source's field
// order. So the motion keeps its pace and only goes forward: 50 fields a
// second onto 60000/1001 show one field in six twice, 60000/1001 onto 50
// leave one in six out. Repeating or dropping whole frames instead shows the
// fields in the order a, b, a, b (the motion stepping back) or skips two.
//
// A run takes the frames of one piece in order, each with its place on the
// output's timeline, and gives the output frames one after the other from
// the place it was started at: a place before the first picture shows that
// picture. A picture that comes more than ten seconds after the one before
// is moved up to ten seconds after it (a gap in the source, not ten minutes
// of one picture). Not thread-safe.

#include <cstdint>
#include <deque>
#include <vector>

#include "FFmpeg.h"

namespace lumenta {

class FieldRateConverter {
public:
    // `rate`: the output's frames per second; `threads`: of the filter.
    FieldRateConverter(AVRational rate, int threads) : m_rate(rate), m_threads(threads) {}

    // Starts a run whose first output frame has the place `first`; what an
    // earlier run still held is dropped.
    void start(int64_t first);
    bool isRunning() const { return m_running; }
    // Takes the next frame of the run: its first field at `place` (in output
    // frames from the timeline's start), `length` output frames long. Adds
    // the output frames it completes to `done`, in order. False (logged, the
    // run ended, `done` left as it was) when its fields cannot be made
    // pictures.
    bool push(const AVFrame* frame, double place, double length, std::vector<FramePtr>& done);
    // Ends the run: adds the frames up to the last field taken to `done`.
    void finish(std::vector<FramePtr>& done);
    // The place after the last frame of the run once it is finished.
    int64_t end() const;

private:
    struct Picture {
        double slot = 0;  // in output fields: frame k shows slots 2k and 2k + 1
        FramePtr frame;
    };

    bool build(const AVFrame* frame);
    void stop();
    // Takes the pictures the filter gives, each at the slot it was expected.
    void drain();
    void take(FramePtr picture);
    // Drops the pictures that no place from the next one on can show.
    void prune();
    // The frames whose fields are settled (all up to the last field taken
    // when `finishing`) into `done`.
    void weaveReady(bool finishing, std::vector<FramePtr>& done);
    // Takes what the filter still owes and weaves every frame up to the
    // last field taken; the filter is built anew for the next frame.
    void weaveAll(std::vector<FramePtr>& done);
    const AVFrame* nearest(double slot) const;
    FramePtr weave(const AVFrame* first, const AVFrame* second) const;

    AVRational m_rate;
    int m_threads = 1;
    bool m_running = false;
    int64_t m_next = 0;      // the place of the next output frame
    int64_t m_taken = 0;     // frames given to the filter
    double m_shift = 0;      // slots taken off every place: the gaps closed
    double m_lastSlot = 0;   // of the last field taken, once one is
    bool m_topFirst = true;  // of the run's first frame
    FramePtr m_last;         // the last frame taken
    FilterGraphPtr m_graph;  // bwdif, built for the run's first frame
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_format = -1;
    std::deque<double> m_expected;  // slots of the pictures the filter owes
    std::deque<Picture> m_pictures;
};

}  // namespace lumenta
