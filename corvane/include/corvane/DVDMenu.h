#pragma once
// Corvane's own menu page, built by the template store from the template
// bundle. It carries a canvas, a background and elements and renders itself
// at any media time: black, the elements behind the background, the
// background, then the other elements. Canvas coordinates are points with the
// origin at the bottom left, y up.

#include <QImage>
#include <QMutex>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <limits>
#include <memory>

#include "corvane/DVDMenuPage.h"

class DVDMenuBackgroundResource;
class DVDMenuItem;

class DVDMenu : public DVDMenuPage {
public:
    // Media times reserved for still pictures: the still time shows every
    // element's still picture, the menu thumbnail time the template's look.
    static constexpr qint64 stillTime = std::numeric_limits<qint64>::max();
    static constexpr qint64 menuThumbnailTime = std::numeric_limits<qint64>::max() - 10;

    // 854 x 480 for any aspect type but 0, 640 x 480 for 0.
    static QSizeF menuSizeForAspectType(qint64 aspectType);

    // Fit: `source`'s size scaled to fit inside `target`, centred on it.
    static QRectF scaleRectIn(const QRectF& source, const QRectF& target);
    // Fill: `source`'s size scaled to cover `target`, centred on it.
    static QRectF scaleRectFull(const QRectF& source, const QRectF& target);

    // DVDMenuPage
    std::shared_ptr<DVDMenuElement> parent() const override { return m_parent.lock(); }
    double duration() const override { return m_duration; }
    // 0 when the canvas is 4:3 (within 0.1), else 1.
    qint64 aspectType() const override;
    QSizeF menuSize() const override { return m_menuSize; }
    QImage imageAtTime(qint64 time) override;
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return m_items; }

    // The parent is not owned.
    void setParent(const std::shared_ptr<DVDMenuElement>& parent) { m_parent = parent; }
    void setDuration(double duration) { m_duration = duration; }
    void setMenuSize(const QSizeF& size) { m_menuSize = size; }
    void setItems(const QList<std::shared_ptr<DVDMenuElement>>& items) { m_items = items; }

    qint64 menuID() const { return m_menuID; }
    void setMenuID(qint64 menuID) { m_menuID = menuID; }
    std::shared_ptr<DVDMenuBackgroundResource> backgroundResource() const;
    void setBackgroundResource(const std::shared_ptr<DVDMenuBackgroundResource>& resource);
    // 0 fit, 1 fill, anything else stretch.
    qint64 backgroundImageDrawMode() const { return m_drawMode; }
    void setBackgroundImageDrawMode(qint64 mode) { m_drawMode = mode; }
    // The part of the background picture drawn, in its bottom-left pixel
    // coordinates; a zero rectangle means the whole picture.
    QRectF backgroundImageRect() const { return m_backgroundImageRect; }
    void setBackgroundImageRect(const QRectF& rect) { m_backgroundImageRect = rect; }
    QString thumbnailPath() const { return m_thumbnailPath; }
    void setThumbnailPath(const QString& path) { m_thumbnailPath = path; }
    // The page's music, kept for the caller.
    Value music() const { return m_music; }
    void setMusic(const Value& music) { m_music = music; }
    QString category() const { return m_category; }
    void setCategory(const QString& category) { m_category = category; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    // The canvas size and picture part in size and rectangle text forms.
    QString menuSizeObject() const;
    void setMenuSizeObject(const QString& text);
    QString backgroundImageRectObject() const;
    void setBackgroundImageRectObject(const QString& text);

    // "<name>-<aspect>", or "<category>-<name>-<aspect>" with a category.
    QString identifier() const;
    QImage thumbnailImage() { return imageAtTime(stillTime); }
    QImage menuThumbnailImage() { return imageAtTime(menuThumbnailTime); }
    // The background picture, loaded once and kept until updateBackgroundImage.
    QImage backgroundImage();
    void updateBackgroundImage();

    // The last button whose button name ends with `role` ("play", "pre", "next").
    std::shared_ptr<DVDMenuItem> buttonForButtonType(const QString& role) const;
    // The target of the first element whose target is set and is not a page.
    std::shared_ptr<Object> menuPlayJump() const;

    // Draws `image` into `rect` of a y-up painter by the page's draw mode and picture part.
    void drawBackgroundImage(QPainter& painter, const QImage& image, const QRectF& rect);
    void drawBackgroundImage(QPainter& painter, const QImage& image, const QRectF& rect,
                             qint64 mode);
    // Places an element's picture, fitted inside its frame less 2 points,
    // rotated about the frame's centre and with the element's shadow.
    static void drawItem(QPainter& painter, const DVDMenuElement& element, const QImage& image);

    // A page sharing every archived value, with a copy of each of our elements.
    std::shared_ptr<DVDMenu> copy() const;

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    qint64 m_menuID = 0;
    std::weak_ptr<DVDMenuElement> m_parent;
    double m_duration = 0.0;
    QSizeF m_menuSize;
    std::shared_ptr<DVDMenuBackgroundResource> m_backgroundResource;
    qint64 m_drawMode = 0;
    QRectF m_backgroundImageRect;
    QString m_thumbnailPath;
    Value m_music;
    QString m_category;
    QString m_name;
    QList<std::shared_ptr<DVDMenuElement>> m_items;
    mutable QMutex m_cacheLock;
    QImage m_backgroundCache;
};
