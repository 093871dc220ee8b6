#pragma once
// The transitions of one transition folder, in a fixed order.
//
// The folder is walked recursively in sorted path order; every "*.plist" file
// at any depth describes one transition. Its compositions ("QuartzName",
// "QuartzIndex") and thumbnail ("ThumbnailName") lie beside it. A list that
// cannot be read, has no "QuartzName" or a non-positive "NormalDuration" is
// skipped; a missing composition leaves the item without it; a missing
// thumbnail logs its name and leaves none.

#include <QList>
#include <QString>
#include <memory>

#include "media/QuartzItem.h"

class QuartzController {
public:
    QuartzController() = default;
    explicit QuartzController(const QString& folder) { setupQuartzWithquartzDictoryPath(folder); }

    void setupQuartzWithquartzDictoryPath(const QString& folder);

    const QList<std::shared_ptr<QuartzItem>>& mtAryQuartzItems() const { return m_items; }
    // The first item of that name, or null.
    std::shared_ptr<QuartzItem> getQuartzItemByName(const QString& name) const;
    // Its index, or -1.
    int getQuartzIndexByName(const QString& name) const;

private:
    std::shared_ptr<QuartzItem> loadItem(const QString& plistPath) const;

    QList<std::shared_ptr<QuartzItem>> m_items;
};
