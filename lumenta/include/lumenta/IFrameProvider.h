#pragma once
// The frame provider: the object that asks a movie for a frame at a time and
// receives it. Every operation is optional; the defaults do nothing.
//
// Contract of the movies: each decode request is answered exactly once, in
// request order, by mediaEffectImage() (a null QImage when the movie has no
// video, the decode failed or the time lies past the end). mediaImage() comes
// first, and only when wantsMediaImage() says so. Callbacks may run on a
// thread of the movie's own; movie-like sources that draw their frame call
// fillImageBufferWithBlock() instead, on the requesting thread. A provider
// must outlive the requests it made; a movie answers what is still queued
// before it is destroyed.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>

#include "lumenta/LMFormats.h"

class IMovie;
class LMDrawContext;
struct AVFrame;

class IFrameProvider {
public:
    virtual ~IFrameProvider() = default;

    // movie:format:size: a buffer of `bytes` bytes the unedited frame (in the
    // given format) is copied into, or null to let the movie keep its own.
    virtual uint8_t* movieFormatSize(IMovie* /*movie*/, const LMFFVideoFormat& /*format*/,
                                     int32_t /*bytes*/)
    {
        return nullptr;
    }
    // movie:mediaImage: the frame before the movie's edits.
    virtual bool wantsMediaImage() const { return false; }
    virtual void mediaImage(IMovie* /*movie*/, const QImage& /*image*/) {}
    // movie:mediaEffectImage: the frame after all edits, at the movie's
    // output size, watermark included. Null when there is no frame.
    virtual void mediaEffectImage(IMovie* /*movie*/, const QImage& /*image*/) {}
    // The pixel size of the surface the provider stretches each edited
    // picture over (a frame of the file it writes), or an empty size when it
    // shows the picture as it is. A movie may then take the picture's pixels
    // straight at that size: the picture still covers the output size and
    // everything is laid out in it as before (bars, watermark, subtitles); it
    // is only sampled where the surface has its pixels, as drawing it there
    // would, so that the source is resampled once and never through a
    // coarser grid than the surface's.
    virtual QSize drawingSurfaceSize(IMovie* /*movie*/) const { return {}; }
    // Whether an edited picture that covers the surface exactly, with
    // nothing drawn over it, may come as the edits' own 4:2:0 frame
    // (mediaEffectFrame) instead of an image: it then never goes through
    // 8-bit RGB and back.
    virtual bool takesSurfaceFrames(IMovie* /*movie*/) const { return false; }
    // movie:mediaEffectFrame: the answer to a request in that form, a
    // yuv420p frame (limited range) of the surface's size, in place of
    // mediaEffectImage().
    virtual void mediaEffectFrame(IMovie* /*movie*/,
                                  const std::shared_ptr<const AVFrame>& /*frame*/)
    {
    }
    // Movie-like sources hand the provider a block that draws their frame into
    // the context it is given.
    virtual void fillImageBufferWithBlock(const std::function<void(LMDrawContext&)>& /*block*/) {}
};
