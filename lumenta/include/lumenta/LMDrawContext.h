#pragma once
// A drawing context of exactly one output frame of LMFFMovieFileOutput: an
// opaque 32-bit image of the output size. Draw into image() with QPainter;
// the writer reads it back in writeCGContext().
//
// A movie whose edited picture covers the frame exactly may hand it over in
// its own 4:2:0 form instead (setSurfaceFrame): the writer then encodes that
// frame as it is, and no picture goes through 8-bit RGB and back. Taking
// image() to draw into drops such a frame, so what is drawn is what is
// written.

#include <QImage>
#include <QtGlobal>
#include <memory>

struct AVFrame;

class Q_DECL_EXPORT LMDrawContext {
public:
    LMDrawContext(int width, int height);

    QImage& image()
    {
        m_surfaceFrame.reset();
        return m_image;
    }
    const QImage& image() const { return m_image; }
    // The frame's picture as a 4:2:0 frame of the output size, limited range
    // (the image is then not drawn); null when the image holds it.
    void setSurfaceFrame(std::shared_ptr<const AVFrame> frame)
    {
        m_surfaceFrame = std::move(frame);
    }
    const std::shared_ptr<const AVFrame>& surfaceFrame() const { return m_surfaceFrame; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    QImage m_image;
    std::shared_ptr<const AVFrame> m_surfaceFrame;
};
