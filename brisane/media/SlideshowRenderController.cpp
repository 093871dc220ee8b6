#include "media/SlideshowRenderController.h"

#include <cmath>
#include <limits>

#include "media/PhotoItem.h"
#include "media/QuillonRenderer.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "media/SlideshowRenderer.h"

namespace {

const QString ImageKey = QStringLiteral("Image");

// The composition's own timing at the pace of `item`: a photo position lasts
// the slideshow's seconds per photo in composition time (dDuration ÷
// slideshowMetaRatio, its best duration), with the slideshow's shares for the
// first and last positions.
TransitionTiming paceOf(const RenderItem& item, const TransitionTiming& own)
{
    return own.withPace(item.slideshowMetaDuration() / item.slideshowMetaRatio(),
                        item.slideshowFirstRatio(), item.slideshowLastRatio());
}

}  // namespace

SlideshowRenderController::SlideshowRenderController()
    : SlideshowRenderController(RenderController::sharedRenderController())
{
}

SlideshowRenderController::SlideshowRenderController(RenderController& registry)
    : m_renderController(&registry)
{
}

SlideshowRenderController::~SlideshowRenderController()
{
    cancelAndWait();
}

void SlideshowRenderController::clear()
{
    m_renderQueue.cancelAllOperations();
    m_renderItem.reset();
    m_slideshowRenderer.reset();
    m_indexsRenderer.reset();
    m_information.clear();
    m_pace.reset();
    m_photoItems.clear();
    m_imageDics.clear();
}

void SlideshowRenderController::setupWith(const std::shared_ptr<RenderItem>& item,
                                          const QSizeF& size, double time)
{
    clear();
    ++m_setupCount;
    m_renderItem = item;
    m_displaySize = size;
    if (!item) {
        return;
    }
    m_photoItems = item->slideshowPhotoItems();
    const qsizetype count = m_photoItems.size();

    m_information.insert(QStringLiteral("QuartzName"), Value(item->slideshowName()));
    m_information.insert(QStringLiteral("RenderingWidth"), Value(size.width()));
    m_information.insert(QStringLiteral("RenderingHeight"), Value(size.height()));
    m_slideshowRenderer = m_renderController->slideshowRendererWithInformation(m_information);
    m_indexsRenderer = m_renderController->indexsRenderWithInformation(m_information);
    if (m_slideshowRenderer) {
        m_pace = paceOf(*item, m_slideshowRenderer->timing());
        m_slideshowRenderer->setTiming(*m_pace);
    }
    if (m_indexsRenderer) {
        m_indexsRenderer->setTiming(paceOf(*item, m_indexsRenderer->timing()));
        m_indexsRenderer->setValueForInputKey(Value(static_cast<qint64>(count)),
                                              QStringLiteral("Count"));
    }
    for (qsizetype i = 0; i < count; ++i) {
        m_imageDics.append(Value::Dictionary());
    }
    m_flushTime = 0;
    updateImagesContentAtTime(time);
}

double SlideshowRenderController::duration() const
{
    const auto item = m_renderItem.lock();
    return item ? item->slideshowDuration() : 0.0;
}

double SlideshowRenderController::compositionTime(double time) const
{
    const auto item = m_renderItem.lock();
    const double ratio = item ? item->slideshowMetaRatio() : 1.0;
    const double x = time / (ratio > 0.0 && std::isfinite(ratio) ? ratio : 1.0);
    return std::isfinite(x) ? x : 0.0;
}

Value::Dictionary SlideshowRenderController::currentIndexes(double x) const
{
    if (!m_indexsRenderer) {
        // A transition without an index composition: the window its pacing
        // shows, so its photos still appear.
        return m_renderController->defaultIndexsWithInformation(
            m_information, static_cast<int>(m_imageDics.size()), x, m_pace);
    }
    m_indexsRenderer->setValueForInputKey(Value(x), QStringLiteral("Time"));
    m_indexsRenderer->renderAtTime(0.0);
    return m_indexsRenderer->valueForOutputKey(QStringLiteral("Indexs")).dictionary();
}

void SlideshowRenderController::updateImagesContentAtTime(double time)
{
    const Value::Dictionary indexes = currentIndexes(compositionTime(time));
    qint64 lo = std::numeric_limits<qint64>::max();
    qint64 hi = 0;
    for (const Value& value : indexes) {
        const auto whole = value.toInt();
        const qint64 position =
            whole ? *whole : static_cast<qint64>(value.toDouble().value_or(0.0));
        lo = std::min(lo, position);
        hi = std::max(hi, position);
    }
    if (refreshSlots(lo, hi) && m_slideshowRenderer) {
        Value::Array images;
        for (const auto& slot : m_imageDics) {
            images.append(Value(slot));
        }
        m_slideshowRenderer->setValueForInputKey(Value(images), QStringLiteral("Images"));
    }
}

bool SlideshowRenderController::refreshSlots(qint64 lo, qint64 hi)
{
    bool changed = false;
    for (qsizetype i = 0; i < m_photoItems.size() && i < m_imageDics.size(); ++i) {
        Value::Dictionary& slot = m_imageDics[i];
        const bool loaded = slot.contains(ImageKey);
        if (i < lo || i > hi) {
            if (loaded) {
                slot.remove(ImageKey);
                changed = true;
            }
        } else if (!loaded && m_photoItems[i]) {
            const QImage picture = m_photoItems[i]->slideshowCIImageInSize(m_displaySize);
            if (!picture.isNull()) {
                slot.insert(ImageKey, Value(picture));
                changed = true;
            }
        }
    }
    return changed;
}

QImage SlideshowRenderController::imageAtTime(double time, bool linear)
{
    if (m_imageDics.isEmpty()) {
        return {};
    }
    const double x = compositionTime(time);
    if (!linear || std::abs(x - static_cast<double>(m_flushTime)) > 1.0) {
        m_flushTime = static_cast<qint64>(std::floor(x));
        updateImagesContentAtTime(time);
    }
    return doSnapshotImageAtTime(time);
}

QImage SlideshowRenderController::doSnapshotImageAtTime(double time)
{
    if (m_imageDics.isEmpty() || !m_slideshowRenderer) {
        return {};
    }
    return m_slideshowRenderer->snapshotCIImageAtTime(compositionTime(time));
}

void SlideshowRenderController::playAtTime(double time)
{
    queueStep(time, true);
}

void SlideshowRenderController::seekAtTime(double time)
{
    queueStep(time, false);
}

void SlideshowRenderController::queueStep(double time, bool linear)
{
    m_renderQueue.addOperationWithBlock([this, time, linear] { runStep(time, linear); });
}

void SlideshowRenderController::runStep(double time, bool linear)
{
    FeedBack feedBack;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (!m_feedBack || !m_enableFlag) {
            return;
        }
        m_enableFlag = false;
        feedBack = m_feedBack;
    }
    feedBack(imageAtTime(time, linear));
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_enableFlag = true;
}

void SlideshowRenderController::cancelAndWait()
{
    m_renderQueue.cancelAllOperations();
    m_renderQueue.waitUntilAllOperationsAreFinished();
}

double SlideshowRenderController::renderDurationOfIndex(qsizetype index) const
{
    const auto item = m_renderItem.lock();
    if (!item) {
        return 0.0;
    }
    const double d = item->oSlideshowItem()->dDuration();
    if (index == 0) {
        return item->slideshowFirstRatio() * d;
    }
    if (index == m_imageDics.size() - 1) {
        return item->slideshowLastRatio() * d;
    }
    return d;
}

qsizetype SlideshowRenderController::indexForTime(double time) const
{
    const qsizetype count = m_imageDics.size();
    double start = 0.0;
    for (qsizetype i = 0; i < count; ++i) {
        const double end = start + renderDurationOfIndex(i);
        if (time < end) {
            return i;
        }
        start = end;
    }
    return std::max<qsizetype>(count - 1, 0);
}

std::shared_ptr<PhotoItem> SlideshowRenderController::itemForTime(double time) const
{
    const qsizetype index = indexForTime(time);
    return index < m_photoItems.size() ? m_photoItems[index] : nullptr;
}

SlideshowRenderController::FeedBack SlideshowRenderController::blkFeedBack() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_feedBack;
}

void SlideshowRenderController::setBlkFeedBack(FeedBack feedBack)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_feedBack = std::move(feedBack);
}

bool SlideshowRenderController::bEnableFlag() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_enableFlag;
}
