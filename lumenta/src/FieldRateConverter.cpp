#include "FieldRateConverter.h"

#include <QDebug>
#include <cmath>
#include <cstring>

namespace lumenta {

namespace {

constexpr double kGapSeconds = 10.0;

bool isWeavable(int format)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    const uint64_t unsupported =
        AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL;
    return desc && !(desc->flags & unsupported) && (desc->flags & AV_PIX_FMT_FLAG_PLANAR);
}

}  // namespace

void FieldRateConverter::start(int64_t first)
{
    stop();
    m_running = true;
    m_next = first;
}

void FieldRateConverter::stop()
{
    m_running = false;
    m_taken = 0;
    m_shift = 0;
    m_lastSlot = 0;
    m_last.reset();
    m_graph.reset();
    m_source = nullptr;
    m_sink = nullptr;
    m_expected.clear();
    m_pictures.clear();
}

bool FieldRateConverter::build(const AVFrame* frame)
{
    m_graph.reset();
    if (!isWeavable(frame->format) || frame->width < 3 || frame->height < 4) {
        return false;
    }
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph) {
        return false;
    }
    graph->nb_threads = m_threads;
    AVFilterContext* source = nullptr;
    AVFilterContext* deinterlace = nullptr;
    AVFilterContext* sink = nullptr;
    const AVRational aspect{qMax(frame->sample_aspect_ratio.num, 1),
                            qMax(frame->sample_aspect_ratio.den, 1)};
    int ret = addFrameSource(graph.get(), frame, aspect, &source);
    if (ret >= 0) {
        // One picture a field, every frame taken as interlaced, the field
        // order each frame tells.
        ret = avfilter_graph_create_filter(&deinterlace, avfilter_get_by_name("bwdif"), "fields",
                                           "mode=send_field:parity=auto:deint=all", nullptr,
                                           graph.get());
    }
    if (ret >= 0) {
        ret = avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out",
                                           nullptr, nullptr, graph.get());
    }
    if (ret >= 0) {
        // Pictures of the frames' own format, to be woven with their rows.
        const AVPixelFormat formats[] = {static_cast<AVPixelFormat>(frame->format),
                                         AV_PIX_FMT_NONE};
        ret =
            av_opt_set_int_list(sink, "pix_fmts", formats, AV_PIX_FMT_NONE, AV_OPT_SEARCH_CHILDREN);
    }
    if (ret >= 0) {
        ret = avfilter_link(source, 0, deinterlace, 0);
    }
    if (ret >= 0) {
        ret = avfilter_link(deinterlace, 0, sink, 0);
    }
    if (ret >= 0) {
        ret = avfilter_graph_config(graph.get(), nullptr);
    }
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: the fields cannot be made pictures:" << errorText(ret);
        return false;
    }
    m_graph = std::move(graph);
    m_source = source;
    m_sink = sink;
    m_width = frame->width;
    m_height = frame->height;
    m_format = frame->format;
    return true;
}

bool FieldRateConverter::push(const AVFrame* frame, double place, double length,
                              std::vector<FramePtr>& done)
{
    if (!m_running) {
        return false;
    }
    const bool reshaped = m_graph && (frame->width != m_width || frame->height != m_height ||
                                      frame->format != m_format);
    if (reshaped) {
        // The filter serves one shape: the frames of the last one are woven
        // to its last field before the first of the new one.
        weaveAll(done);
        m_pictures.clear();
    }
    if (m_taken == 0) {
        m_topFirst = frame->top_field_first != 0;
    }
    FramePtr input(av_frame_clone(frame));
    if (!input || (!m_graph && !build(frame))) {
        stop();
        return false;
    }
    double first = 2.0 * place - m_shift;
    const double gap = 2.0 * kGapSeconds * av_q2d(m_rate);
    if (m_taken > 0 && first > m_lastSlot + gap) {
        m_shift += first - (m_lastSlot + gap);
        first = m_lastSlot + gap;
    }
    // The filter keeps its own clock: the frames' count, two ticks a frame.
    input->pts = 2 * m_taken;
    input->interlaced_frame = 1;
    const int ret = av_buffersrc_add_frame_flags(m_source, input.get(), 0);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: the fields of a frame cannot be made pictures:"
                             << errorText(ret);
        stop();
        return false;
    }
    ++m_taken;
    m_expected.push_back(first);
    m_expected.push_back(first + std::max(length, 0.0));
    m_lastSlot = m_expected.back();
    m_last.reset(av_frame_clone(frame));
    drain();
    weaveReady(false, done);
    return true;
}

void FieldRateConverter::finish(std::vector<FramePtr>& done)
{
    if (m_running) {
        weaveAll(done);
    }
    stop();
}

void FieldRateConverter::weaveAll(std::vector<FramePtr>& done)
{
    if (m_graph) {
        // The end of the frames: the filter gives the last one's fields.
        if (av_buffersrc_add_frame_flags(m_source, nullptr, 0) >= 0) {
            drain();
        }
        m_graph.reset();
        m_source = nullptr;
        m_sink = nullptr;
    }
    // Pictures the filter never gave (it gives none for a run of one frame):
    // the last frame's own fields stand in for them.
    while (!m_expected.empty() && m_last) {
        take(FramePtr(av_frame_clone(m_last.get())));
    }
    m_expected.clear();
    weaveReady(true, done);
}

int64_t FieldRateConverter::end() const
{
    if (m_taken == 0) {
        return m_next;
    }
    return std::max<int64_t>(m_next, static_cast<int64_t>(std::floor((m_lastSlot + 0.5) / 2)) + 1);
}

void FieldRateConverter::drain()
{
    for (;;) {
        FramePtr picture = makeFrame();
        if (!picture || av_buffersink_get_frame(m_sink, picture.get()) < 0) {
            return;
        }
        take(std::move(picture));
    }
}

void FieldRateConverter::take(FramePtr picture)
{
    if (m_expected.empty()) {
        return;
    }
    const double slot = m_expected.front();
    m_expected.pop_front();
    // A picture out of time's order is left out, as a frame behind the
    // output's timeline is.
    if (picture && (m_pictures.empty() || slot > m_pictures.back().slot)) {
        m_pictures.push_back(Picture{slot, std::move(picture)});
        prune();
    }
}

void FieldRateConverter::prune()
{
    const double next = 2.0 * static_cast<double>(m_next);
    while (m_pictures.size() >= 2 && m_pictures[1].slot <= next) {
        m_pictures.pop_front();
    }
}

void FieldRateConverter::weaveReady(bool finishing, std::vector<FramePtr>& done)
{
    while (!m_pictures.empty()) {
        const double first = 2.0 * static_cast<double>(m_next);
        // A field is settled once a picture at or after it is known; at the
        // end, the frames up to the one the last field is nearest are.
        const bool settled = finishing ? first <= m_pictures.back().slot + 0.5
                                       : m_pictures.back().slot >= first + 1.0;
        if (!settled) {
            return;
        }
        FramePtr frame = weave(nearest(first), nearest(first + 1.0));
        if (!frame) {
            qWarning() << "Lumenta: no memory for a frame of fields";
            return;
        }
        done.push_back(std::move(frame));
        ++m_next;
        prune();
    }
}

const AVFrame* FieldRateConverter::nearest(double slot) const
{
    const Picture* best = &m_pictures.front();
    for (const Picture& picture : m_pictures) {
        if (std::abs(picture.slot - slot) < std::abs(best->slot - slot)) {
            best = &picture;
        }
    }
    return best->frame.get();
}

FramePtr FieldRateConverter::weave(const AVFrame* first, const AVFrame* second) const
{
    FramePtr frame = makeFrame();
    if (!frame) {
        return nullptr;
    }
    if (second->width != first->width || second->height != first->height ||
        second->format != first->format) {
        second = first;
    }
    frame->format = first->format;
    frame->width = first->width;
    frame->height = first->height;
    if (av_frame_get_buffer(frame.get(), 0) < 0 || av_frame_copy_props(frame.get(), first) < 0) {
        return nullptr;
    }
    const auto format = static_cast<AVPixelFormat>(frame->format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    const int firstParity = m_topFirst ? 0 : 1;
    for (int p = 0; p < av_pix_fmt_count_planes(format); ++p) {
        const int bytes = av_image_get_linesize(format, frame->width, p);
        const int shift = (p == 1 || p == 2) ? desc->log2_chroma_h : 0;
        const int rows = AV_CEIL_RSHIFT(frame->height, shift);
        for (int y = 0; y < rows; ++y) {
            const AVFrame* from = (y & 1) == firstParity ? first : second;
            std::memcpy(frame->data[p] + static_cast<ptrdiff_t>(y) * frame->linesize[p],
                        from->data[p] + static_cast<ptrdiff_t>(y) * from->linesize[p],
                        static_cast<size_t>(bytes));
        }
    }
    frame->interlaced_frame = 1;
    frame->top_field_first = m_topFirst ? 1 : 0;
    return frame;
}

}  // namespace lumenta
