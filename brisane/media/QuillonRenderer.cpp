#include "media/QuillonRenderer.h"

#include <QDebug>
#include <QPainter>
#include <cmath>

#include "media/Composition.h"
#include "media/LuminanceSharpen.h"
#include "media/TransitionEffects.h"
#include "media/TransitionTimeline.h"
#include "platform/Numeric.h"

namespace {

constexpr int MaximumSide = 16384;
constexpr qsizetype MaximumCachedCovers = 16;

}  // namespace

QuillonRenderer::QuillonRenderer(const QSize& size, std::shared_ptr<Composition> composition)
    : m_size(size), m_composition(std::move(composition)), m_timing(m_composition->timing())
{
    m_frame = QImage(m_size, QImage::Format_ARGB32_Premultiplied);
    m_frame.fill(Qt::black);
}

QuillonRenderer::~QuillonRenderer() = default;

bool QuillonRenderer::validSize(const QSizeF& size, const Composition* composition)
{
    const QSize pixels = pixelSizeOf(size);
    if (pixels.width() <= 0 || pixels.height() <= 0) {
        qWarning("Invilidate Size");
        return false;
    }
    if (pixels.width() > MaximumSide || pixels.height() > MaximumSide) {
        qWarning().noquote() << "Render size too large:" << size;
        return false;
    }
    if (!composition) {
        qWarning("No composition to render");
        return false;
    }
    return true;
}

QSize QuillonRenderer::pixelSizeOf(const QSizeF& size)
{
    return QSize(saturatingCast<int>(size.width()), saturatingCast<int>(size.height()));
}

std::shared_ptr<QuillonRenderer> QuillonRenderer::initOffScreenWithSize(
    const QSizeF& size, std::shared_ptr<Composition> composition)
{
    return create<QuillonRenderer>(size, std::move(composition));
}

QImage QuillonRenderer::sharpenImageOn(const QImage& image) const
{
    if (image.isNull()) {
        qWarning("%s:Image is nil", "sharpenImageOn:");
        return {};
    }
    return sharpenLuminance(image, dSharpeness());
}

void QuillonRenderer::setValueForInputKey(const Value& value, const QString& key)
{
    if (value.isNull()) {
        m_inputs.remove(key);
    } else {
        m_inputs.insert(key, value);
    }
}

Value QuillonRenderer::valueForInputKey(const QString& key) const
{
    return m_inputs.value(key);
}

Value QuillonRenderer::valueForOutputKey(const QString& key) const
{
    return m_outputs.value(key);
}

bool QuillonRenderer::renderAtTime(double, const Value::Dictionary&)
{
    if (m_composition->isIndexComposition()) {
        renderIndexes();
    } else {
        renderMain();
    }
    return true;
}

QImage QuillonRenderer::snapshotImage() const
{
    return m_frame;
}

void QuillonRenderer::renderIndexes()
{
    const qint64 count = m_inputs.value(QStringLiteral("Count")).toInt().value_or(0);
    const double time = m_inputs.value(QStringLiteral("Time")).toDouble().value_or(0.0);
    const double lookAhead = m_composition->doubleParameter(QStringLiteral("LookAhead"), 2.0);
    const TransitionTimeline timeline(m_timing,
                                      static_cast<int>(std::clamp<qint64>(count, 0, 1 << 20)));
    Value::Dictionary indexes;
    const auto [lo, hi] = timeline.visibleRange(time, lookAhead);
    for (int position = lo; lo >= 0 && position <= hi; ++position) {
        indexes.insert(QString::number(position - lo), Value(position));
    }
    m_outputs.insert(QStringLiteral("Indexs"), Value(indexes));
}

void QuillonRenderer::renderMain()
{
    const Value::Array images = m_inputs.value(QStringLiteral("Images")).array();
    const double time = m_inputs.value(QStringLiteral("Time")).toDouble().value_or(0.0);
    const TransitionTimeline timeline(m_timing, static_cast<int>(images.size()));
    const TransitionTimeline::Frame frame = timeline.frameAt(time);

    QImage result(m_size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::black);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (frame.from < 0) {
        painter.drawImage(QPointF(0, 0), positionPicture(images, -1));
    } else if (frame.to < 0) {
        painter.drawImage(QPointF(0, 0), positionPicture(images, frame.from));
    } else {
        TransitionEffects::paint(painter, m_size, positionPicture(images, frame.from),
                                 positionPicture(images, frame.to), frame.progress, *m_composition);
    }
    painter.end();
    m_frame = result;
    // Pictures no longer handed in are not kept.
    if (m_coverCache.size() > MaximumCachedCovers) {
        m_coverCache.clear();
    }
}

QImage QuillonRenderer::positionPicture(const Value::Array& images, int position) const
{
    if (position >= 0 && position < images.size()) {
        const auto picture =
            images.at(position).dictionary().value(QStringLiteral("Image")).toImage();
        if (picture && !picture->isNull()) {
            return coverFrame(*picture);
        }
    }
    const auto background = m_inputs.value(QStringLiteral("BackgroundImage")).toImage();
    if (background && !background->isNull()) {
        return coverFrame(*background);
    }
    QImage black(m_size, QImage::Format_ARGB32_Premultiplied);
    black.fill(Qt::black);
    return black;
}

// The picture scaled to cover the frame, centred, the overflow cut away.
QImage QuillonRenderer::coverFrame(const QImage& picture) const
{
    const qint64 key = picture.cacheKey();
    if (auto it = m_coverCache.constFind(key); it != m_coverCache.constEnd()) {
        return it.value();
    }
    QImage frame(m_size, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::black);
    if (picture.size() == m_size) {
        QPainter(&frame).drawImage(QPointF(0, 0), picture);
    } else {
        const double scale = std::max(double(m_size.width()) / picture.width(),
                                      double(m_size.height()) / picture.height());
        const QSizeF drawn(picture.width() * scale, picture.height() * scale);
        const QRectF target(QPointF((m_size.width() - drawn.width()) * 0.5,
                                    (m_size.height() - drawn.height()) * 0.5),
                            drawn);
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    }
    m_coverCache.insert(key, frame);
    return frame;
}
