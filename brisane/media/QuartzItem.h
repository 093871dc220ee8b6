#pragma once
// One loaded transition of the registry: its compositions, name, chooser
// picture and whole property list.

#include <QImage>
#include <QString>
#include <memory>

#include "media/Composition.h"
#include "platform/Value.h"

struct QuartzItem {
    std::shared_ptr<Composition> oComposition;        // null when it could not be loaded
    std::shared_ptr<Composition> oCompositionIndexs;  // null when there is none
    QString strQuartzName;
    QImage imgThumbnail;  // null when the picture was not found
    Value::Dictionary dicInformation;
};
