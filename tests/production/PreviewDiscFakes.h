#pragma once
// A menu page and element for the preview tests: the page is 640 x 480, lasts
// one second and shows dark blue; the element has a settable frame, target
// and flags.

#include <QImage>
#include <QList>
#include <QSizeF>
#include <memory>

#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"

namespace previewtest {

class Element : public DVDMenuElement {
public:
    double rotation() const override { return 0; }
    int level() const override { return 0; }
    bool isValid() const override { return valid; }
    bool highlightModeEmptyInDVD() const override { return false; }
    bool isStaticItem() const override { return isStatic; }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return false; }
    QRectF frame() const override { return rect; }
    QImage imageAtTime(qint64) override { return {}; }
    ObjectPtr jump() const override { return target.lock(); }
    std::optional<Shadow> shadow() const override { return std::nullopt; }
    double roundValue() const override { return 0; }

    QRectF rect;
    std::weak_ptr<Object> target;
    bool isStatic = false;
    bool valid = true;
};

class Page : public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return up.lock(); }
    double duration() const override { return 1.0; }
    qint64 aspectType() const override { return 0; }
    QSizeF menuSize() const override { return {640, 480}; }
    QImage imageAtTime(qint64) override
    {
        QImage image(640, 480, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkBlue);
        return image;
    }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return elements; }

    std::weak_ptr<DVDMenuElement> up;
    QList<std::shared_ptr<DVDMenuElement>> elements;
};

}  // namespace previewtest
