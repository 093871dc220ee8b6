#pragma once
// One menu page of the disc: an ordered list of elements over a background
// picture, with its own music and loop length. A top page stands for a page
// of the title list (its `media` is that list page); a chapter sub page is
// opened from a title element with two or more clips (its `media` is that
// title, isSubPage on). When a disc is built, the pages themselves are its
// menus: Corvane reads them through DVDMenuPage.
//
// The page is drawn at a media time on whatever thread asks for a frame (the
// editor's canvas at the still time, preview and production at each menu
// time); it takes no lock. Canvas points have their origin at the lower left,
// y up. `superPage`, `media`, `dvd`, `dvdResource` and `parent` are back links
// that do not own.

#include <QImage>
#include <QList>
#include <QRectF>
#include <memory>

#include "corvane/DVDMenuPage.h"
#include "platform/CodingBase.h"

class DVDLibraryResource;
class DVDMenuBackgroundResource;
class DVDResource;
class DVDPageItem;
class MusicData;
class QPainter;

class DVDPage : public CodingBase, public DVDMenuPage {
public:
    using ItemList = QList<std::shared_ptr<DVDPageItem>>;

    // No items; play, previous and next buttons kept aside with the template
    // library's first button of each role; the first template background
    // with its largest 16:9 area as crop; a 15 s loop. The library is
    // Corvane's shared template store unless one is given; a null one gives
    // no template defaults.
    DVDPage();
    explicit DVDPage(const std::shared_ptr<DVDLibraryResource>& library);
    ~DVDPage() override;

    // The frame a new page gives its play (11), previous (12) or next (13)
    // button; the zero rectangle for any other type.
    static QRectF initialButtonFrame(qint64 type);

    // --- DVDMenuPage ---
    std::shared_ptr<DVDMenuElement> parent() const override { return m_parent.lock(); }
    double duration() const override { return m_menuDuration; }
    // The aspect of the disc the page belongs to (dvdResource), read at each
    // call; 1 for a page on no disc yet.
    qint64 aspectType() const override;
    // 854 x 480 for a non-zero aspect, 640 x 480 for 0.
    QSizeF menuSize() const override;
    // The page rendered at a media time, at the canvas size.
    QImage imageAtTime(qint64 time) override;
    QList<std::shared_ptr<DVDMenuElement>> items() const override;

    // Origin (0, 0), size menuSize.
    QRectF menuRect() const;
    // Draws the page into a y-up painter of the canvas size: the background
    // crop stretched over the page, then the elements by level (static texts
    // last, over everything), each with its shadow; button pictures keep
    // their aspect inside their frames, other pictures fill them.
    void drawDVDPageInDVDRectWithImage(QPainter& painter, qint64 time);
    // Refits the crop to the disc aspect about its centre: 16:9 keeps the
    // width, 4:3 keeps the height.
    void changedBackgroundImageCropRectIfAspectChanged();
    // Asks the canvas showing the page's disc to redisplay
    // (DVDResource::displayCanvasView); nothing on no disc. Any thread.
    void displayCanvasView() const;

    // --- Properties ---
    const ItemList& itemArray() const { return m_itemArray; }
    // The setters of elements make the page their page (DVDPageItem::page).
    void setItemArray(const ItemList& items);
    std::shared_ptr<DVDPageItem> playButtonItem() const { return m_playButtonItem; }
    void setPlayButtonItem(const std::shared_ptr<DVDPageItem>& item);
    std::shared_ptr<DVDPageItem> preButtonItem() const { return m_preButtonItem; }
    void setPreButtonItem(const std::shared_ptr<DVDPageItem>& item);
    std::shared_ptr<DVDPageItem> nextButtonItem() const { return m_nextButtonItem; }
    void setNextButtonItem(const std::shared_ptr<DVDPageItem>& item);
    // The page's background music.
    std::shared_ptr<MusicData> music() const { return m_music; }
    void setMusic(const std::shared_ptr<MusicData>& music) { m_music = music; }
    std::shared_ptr<DVDMenuBackgroundResource> backgourndPictureResource() const
    {
        return m_background;
    }
    void setBackgourndPictureResource(const std::shared_ptr<DVDMenuBackgroundResource>& resource)
    {
        m_background = resource;
    }
    // Picture pixels, origin at the picture's lower left.
    QRectF imageCanvasRect() const { return m_imageCanvasRect; }
    void setImageCanvasRect(const QRectF& rect) { m_imageCanvasRect = rect; }
    QRectF imageCropRect() const { return m_imageCropRect; }
    void setImageCropRect(const QRectF& rect) { m_imageCropRect = rect; }
    // Loop length in seconds.
    double menuDuration() const { return m_menuDuration; }
    void setMenuDuration(double seconds) { m_menuDuration = seconds; }
    bool isSubPage() const { return m_isSubPage; }
    void setIsSubPage(bool on) { m_isSubPage = on; }
    std::shared_ptr<DVDPage> superPage() const { return m_superPage.lock(); }
    void setSuperPage(const std::shared_ptr<DVDPage>& page) { m_superPage = page; }
    ObjectPtr media() const { return m_media.lock(); }
    void setMedia(const ObjectPtr& media) { m_media = media; }
    // The disc library built for preview or production; not archived.
    ObjectPtr dvd() const { return m_dvd.lock(); }
    void setDvd(const ObjectPtr& library) { m_dvd = library; }
    // The disc whose page list holds the page, set when the disc takes it
    // (DVDResource::setPageArray), which also makes the page the page of each
    // of its elements; null before. Not archived.
    std::shared_ptr<DVDResource> dvdResource() const { return m_dvdResource.lock(); }
    void setDvdResource(const std::weak_ptr<DVDResource>& disc);
    // Not archived.
    void setParent(const std::shared_ptr<DVDMenuElement>& element) { m_parent = element; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    void drawItem(QPainter& painter, DVDPageItem& item, qint64 time);
    // Makes this page the page of `item` (when the page is already shared).
    void adoptItem(const std::shared_ptr<DVDPageItem>& item);
    void adoptItems();

    ItemList m_itemArray;
    std::shared_ptr<DVDPageItem> m_playButtonItem;
    std::shared_ptr<DVDPageItem> m_preButtonItem;
    std::shared_ptr<DVDPageItem> m_nextButtonItem;
    std::shared_ptr<MusicData> m_music;
    std::shared_ptr<DVDMenuBackgroundResource> m_background;
    QRectF m_imageCanvasRect;
    QRectF m_imageCropRect;
    double m_menuDuration = 15.0;
    bool m_isSubPage = false;
    std::weak_ptr<DVDPage> m_superPage;
    std::weak_ptr<Object> m_media;
    std::weak_ptr<Object> m_dvd;
    std::weak_ptr<DVDResource> m_dvdResource;
    std::weak_ptr<DVDMenuElement> m_parent;
};
