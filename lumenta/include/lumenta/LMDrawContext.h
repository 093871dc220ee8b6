#pragma once
// A drawing context of exactly one output frame of LMFFMovieFileOutput: an
// opaque 32-bit image of the output size. Draw into image() with QPainter;
// the writer reads it back in writeCGContext().

#include <QImage>
#include <QtGlobal>

class Q_DECL_EXPORT LMDrawContext {
public:
    LMDrawContext(int width, int height);

    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    QImage m_image;
};
