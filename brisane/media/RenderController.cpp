#include "media/RenderController.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QRandomGenerator>

#include "common/ResourceLocator.h"
#include "media/TransitionTimeline.h"

const QString RenderController::DefaultQuartzName = QStringLiteral("Cube New.qtz");

namespace {

QMutex folderMutex;
QString& folderOverride()
{
    static QString folder;
    return folder;
}

}  // namespace

void RenderController::setTransitionFolderPath(const QString& folder)
{
    QMutexLocker lock(&folderMutex);
    folderOverride() = folder;
}

QString RenderController::transitionFolderPath()
{
    QMutexLocker lock(&folderMutex);
    if (!folderOverride().isEmpty()) {
        return folderOverride();
    }
    return ResourceLocator::resourcePath(QStringLiteral("Slideshows.plugin"));
}

RenderController& RenderController::sharedRenderController()
{
    static RenderController shared(transitionFolderPath());
    return shared;
}

std::optional<Value::Dictionary> RenderController::defaultInformation()
{
    return sharedRenderController().informationOfName(DefaultQuartzName);
}

std::optional<Value::Dictionary> RenderController::randomInformation()
{
    const RenderController& registry = sharedRenderController();
    const int count = registry.quartzsCount();
    if (count == 0) {
        return std::nullopt;
    }
    return registry.informationAtIndex(QRandomGenerator::global()->bounded(count));
}

RenderController::RenderController(const QString& folder) : m_quartz(folder) {}

int RenderController::quartzsCount() const
{
    return static_cast<int>(m_quartz.mtAryQuartzItems().size());
}

Value::Dictionary RenderController::informationAtIndex(qsizetype index) const
{
    const auto& items = m_quartz.mtAryQuartzItems();
    if (index < 0 || index >= items.size()) {
        return {};
    }
    return items.at(index)->dicInformation;
}

std::optional<Value::Dictionary> RenderController::informationOfName(const QString& name) const
{
    const int index = m_quartz.getQuartzIndexByName(name);
    if (index < 0) {
        return std::nullopt;
    }
    return informationAtIndex(index);
}

std::shared_ptr<QuartzItem> RenderController::quartzItemWithInformation(
    const Value::Dictionary& information) const
{
    const auto name = information.value(QStringLiteral("QuartzName")).toString();
    return name ? m_quartz.getQuartzItemByName(*name) : nullptr;
}

QImage RenderController::thumbnailWithInformation(const Value::Dictionary& information) const
{
    const auto item = quartzItemWithInformation(information);
    return item ? item->imgThumbnail : QImage();
}

QSizeF RenderController::renderingSize(const Value::Dictionary& information)
{
    return QSizeF(information.value(QStringLiteral("RenderingWidth")).toDouble().value_or(0.0),
                  information.value(QStringLiteral("RenderingHeight")).toDouble().value_or(0.0));
}

std::shared_ptr<QuillonRenderer> RenderController::renderWithInformation(
    const Value::Dictionary& information) const
{
    const auto item = quartzItemWithInformation(information);
    if (!item || !item->oComposition) {
        return nullptr;
    }
    return QuillonRenderer::initOffScreenWithSize(renderingSize(information), item->oComposition);
}

std::shared_ptr<SlideshowRenderer> RenderController::slideshowRendererWithInformation(
    const Value::Dictionary& information) const
{
    const auto item = quartzItemWithInformation(information);
    if (!item || !item->oComposition) {
        return nullptr;
    }
    return SlideshowRenderer::initOffScreenWithSize(renderingSize(information), item->oComposition);
}

std::shared_ptr<QuillonRenderer> RenderController::indexsRenderWithInformation(
    const Value::Dictionary& information) const
{
    const auto item = quartzItemWithInformation(information);
    if (!item || !item->oCompositionIndexs) {
        return nullptr;
    }
    return QuillonRenderer::initOffScreenWithSize(renderingSize(information),
                                                  item->oCompositionIndexs);
}

Value::Dictionary RenderController::defaultIndexsWithInformation(
    const Value::Dictionary& information, int count, double time,
    const std::optional<TransitionTiming>& pace) const
{
    constexpr double LookAhead = 2.0;
    const auto item = quartzItemWithInformation(information);
    if (!item || !item->oComposition || count <= 0) {
        return {};
    }
    const TransitionTimeline timeline(pace.value_or(item->oComposition->timing()), count);
    const auto [lo, hi] = timeline.visibleRange(time, LookAhead);
    Value::Dictionary indexes;
    for (int position = lo; lo >= 0 && position <= hi; ++position) {
        indexes.insert(QString::number(position - lo), Value(position));
    }
    return indexes;
}
