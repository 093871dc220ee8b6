#include "media/QuartzController.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <cmath>

#include "platform/BoundedImage.h"
#include "platform/PropertyList.h"

namespace {

QStringList propertyListsUnder(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).suffix() == QLatin1String("plist")) {
            paths.append(path);
        }
    }
    // The order of a directory walk is not fixed; the registry's is.
    paths.sort();
    return paths;
}

}  // namespace

void QuartzController::setupQuartzWithquartzDictoryPath(const QString& folder)
{
    m_items.clear();
    if (!QFileInfo(folder).isDir()) {
        qWarning().noquote() << "No transition folder at" << folder;
        return;
    }
    for (const QString& path : propertyListsUnder(folder)) {
        if (auto item = loadItem(path)) {
            m_items.append(item);
        }
    }
}

std::shared_ptr<QuartzItem> QuartzController::loadItem(const QString& plistPath) const
{
    const auto information = PropertyList::readDictionary(plistPath);
    if (!information) {
        return nullptr;
    }
    const QString name =
        information->value(QStringLiteral("QuartzName")).toString().value_or(QString());
    if (name.isEmpty()) {
        qWarning().noquote() << "Transition without QuartzName skipped:" << plistPath;
        return nullptr;
    }
    const double normal =
        information->value(QStringLiteral("NormalDuration")).toDouble().value_or(0.0);
    if (!std::isfinite(normal) || normal <= 0.0) {
        qWarning().noquote() << "Transition with no positive NormalDuration skipped:" << plistPath;
        return nullptr;
    }
    const double first = information->value(QStringLiteral("FirstRatio")).toDouble().value_or(1.0);
    const double last = information->value(QStringLiteral("LastRatio")).toDouble().value_or(1.0);
    const QDir folder = QFileInfo(plistPath).dir();

    auto item = std::make_shared<QuartzItem>();
    item->strQuartzName = name;
    item->dicInformation = *information;
    item->oComposition = Composition::compositionWithFile(folder.filePath(name));
    const QString index =
        information->value(QStringLiteral("QuartzIndex")).toString().value_or(QString());
    if (!index.isEmpty()) {
        item->oCompositionIndexs = Composition::compositionWithFile(folder.filePath(index));
    }
    for (const auto& composition : {item->oComposition, item->oCompositionIndexs}) {
        if (composition) {
            composition->setTiming(normal, first, last);
        }
    }
    if (item->oComposition && item->oCompositionIndexs) {
        item->oCompositionIndexs->setTransitionTime(item->oComposition->timing().transitionTime);
    }
    const auto thumbnail = information->value(QStringLiteral("ThumbnailName")).toString();
    if (thumbnail) {
        item->imgThumbnail = BoundedImage::readUpright(folder.filePath(*thumbnail));
        if (item->imgThumbnail.isNull()) {
            qWarning("%s\n", qPrintable(*thumbnail));
        }
    }
    return item;
}

std::shared_ptr<QuartzItem> QuartzController::getQuartzItemByName(const QString& name) const
{
    const int index = getQuartzIndexByName(name);
    return index < 0 ? nullptr : m_items.at(index);
}

int QuartzController::getQuartzIndexByName(const QString& name) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i)->strQuartzName == name) {
            return i;
        }
    }
    return -1;
}
