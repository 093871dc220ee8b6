#pragma once
// One element of a menu page: a title or chapter picture, a title shown as
// text, a static decoration text, or a play, previous or next button. It
// carries the element's kind, its frame on the page (points, origin at the
// lower left, y up), where its picture comes from, its template frame and
// button pictures, its text, its shadow and its jump target, and answers
// Corvane through DVDMenuElement.
//
// Element types: 1 title or chapter picture (and every unknown value),
// 2 static decoration text, 4 title shown as text, 11 play button,
// 12 previous-page button, 13 next-page button.
//
// `media` is the element's title (a MenuTitle) or chapter clip (a MenuClip);
// `media`, `jumpMenu` and `page` are back links that do not own. The setters
// named after the item dialogs (setButtonUseType, setTitleUseImageFrom...)
// bring the derived state up to date and ask for a redisplay through the
// element's page (displayCanvasView); plain setters only store.
//
// Pictures are rendered on demand at a media time, on whatever thread draws
// the menu; the element keeps its video timeline between calls and takes no
// lock, so one menu is rendered by one caller at a time.

#include <QImage>
#include <QList>
#include <QRectF>
#include <functional>
#include <limits>
#include <memory>

#include "corvane/DVDMenuElement.h"
#include "media/MenuElementClock.h"
#include "media/SegmentsMovie.h"
#include "platform/CodingBase.h"

class DVDLibraryButtonResource;
class DVDLibraryFrameResource;
class DVDLibraryResource;
class DVDPage;
class EffectTextImage;
class MenuClip;

class DVDPageItem : public CodingBase, public DVDMenuElement, public MenuElementClock {
public:
    // The media time at which no clock runs: title and chapter elements show
    // a still instead of live video.
    static constexpr qint64 stillTime = std::numeric_limits<qint64>::max();

    // Type 1 with the template library's first frame and first button: the
    // library given, else Corvane's shared template store; a null one gives
    // no template defaults.
    DVDPageItem();
    explicit DVDPageItem(const std::shared_ptr<DVDLibraryResource>& library);
    ~DVDPageItem() override;

    // --- DVDMenuElement ---
    double rotation() const override { return 0.0; }
    // 0 for a static element, 1 for every other, so static texts lie on top.
    int level() const override { return isStaticItem() ? 0 : 1; }
    bool isValid() const override { return true; }
    // Title and chapter pictures: neither static, nor text, nor a button.
    bool highlightModeEmptyInDVD() const override;
    bool isStaticItem() const override { return m_type == 2; }
    bool isTextItem() const override;
    bool isButtonItem() const override;
    QRectF frame() const override { return m_frame; }
    QImage imageAtTime(qint64 time) override;
    // None for a static element; the sub page when there is one; a button's
    // jumpMenu (a play button without one plays: itself; previous and next
    // without one: none); every other element itself.
    ObjectPtr jump() const override;
    std::optional<Shadow> shadow() const override { return getItemShadow(); }
    // itemRoundValue x frame width x 0.5 in points, 0 with a template frame.
    double roundValue() const override;

    // --- Kinds ---
    bool isPlayButtonItem() const { return m_type == 11; }
    bool isTextButtonItem() const { return isButtonItem() && m_useTextSource; }
    bool isTextTitleItem() const { return m_type == 4; }

    // --- MenuElementClock: what the menu's movie source sends every element ---
    // Drops the video timeline; the next live picture rebuilds it.
    void setCurrentTime(qint64 time) override;
    void setExportMovie(bool) override {}
    void flushOperation() override {}
    bool itemBehind() const { return false; }

    // --- The picture ---
    QImage thumbnailImage() { return imageAtTime(stillTime); }
    // Composes a title or chapter picture on a bitmap of the frame's size
    // rounded up to whole points: inside the template frame (inset 5 points,
    // cut by the frame's mask, framed), or in a box with rounded corners.
    // `draw` paints the picture into the rectangle it is given (y up). Null
    // when the frame has no area.
    QImage menuFrameItem(bool isStill, const std::function<void(QPainter&, const QRectF&)>& draw);
    // The element's shadow; none when hasShadow is off.
    std::optional<Shadow> getItemShadow() const;
    // The element's clips: a title's clips, or the chapter clip alone.
    QList<std::shared_ptr<MenuClip>> getMovieMediasForItem() const;
    // The trimmed pieces of those clips, members of group clips in order.
    static QList<SegmentsMovie::Piece> getVCMovieForMedias(
        const QList<std::shared_ptr<MenuClip>>& clips);
    const std::shared_ptr<SegmentsMovie>& itemSegmentMovie() const { return m_segmentMovie; }

    // --- Dialog views of values, with their updates ---
    qint64 buttonUseType() const { return m_dvdbuttonUseType; }
    void setButtonUseType(qint64 useType);
    QImage buttonLocalImage() const { return m_dvdbuttonLocalImage; }
    void setButtonLocalImage(const QImage& image);
    qint64 titleUseType() const { return m_dvdTitleUseType; }
    void setTitleUseType(qint64 useType);
    double titleRoundValue() const { return m_itemRoundValue; }
    void setTitleRoundValue(double value);
    qint64 titleUseImageFrom() const { return m_useImageFrom; }
    void setTitleUseImageFrom(qint64 from);
    qint64 titleVideoImageTime() const { return m_videoImageTime; }
    void setTitleVideoImageTime(qint64 time);
    QImage titleVideoImage() const { return m_videoImage; }
    void setTitleVideoImage(const QImage& image);
    QImage titleLocalImage() const { return m_localImage; }
    void setTitleLocalImage(const QImage& image);
    QRectF titleOldFrame() const { return m_oldFrame; }
    void setTitleOldFrame(const QRectF& frame) { m_oldFrame = frame; }
    // The frames in rectangle text form "{{x, y}, {w, h}}".
    QString itemFrame() const;
    void setItemFrame(const QString& text);
    QString lastTitleFrame() const;
    void setLastTitleFrame(const QString& text);

    // --- Updates ---
    // A non-static element shows its text when the button use type is 1.
    void updateItemDisplayType();
    // Brings the still picture and its flag in line with the use types.
    void updateItemImage();
    void updateItemRound();
    // All three, in that order; run on every element after a project load.
    void updateAllEditToItem();
    // Refits a text's or button's frame to the shape of its picture.
    void updateItemFrameAutoFit();
    // `rect` with its width kept and its height following `size`'s aspect,
    // about the same vertical centre. A size with a side below 1 leaves the
    // rectangle unchanged.
    static QRectF adjustRect(const QRectF& rect, const QSizeF& size);

    // --- Properties ---
    qint64 type() const { return m_type; }
    void setType(qint64 type) { m_type = type; }
    void setFrame(const QRectF& frame) { m_frame = frame; }
    ObjectPtr media() const { return m_media.lock(); }
    void setMedia(const ObjectPtr& media) { m_media = media; }
    // The page that holds the element, set when the page takes it; null
    // before. A back link that does not own; not archived.
    std::shared_ptr<DVDPage> page() const { return m_page.lock(); }
    void setPage(const std::weak_ptr<DVDPage>& page);
    // Asks the canvas showing the element's page to redisplay
    // (DVDPage::displayCanvasView); nothing off a page. Any thread.
    void displayCanvasView() const;

    bool hasSubPage() const { return m_hasSubPage; }
    void setHasSubPage(bool on) { m_hasSubPage = on; }
    std::shared_ptr<DVDPage> subPage() const { return m_subPage; }
    void setSubPage(const std::shared_ptr<DVDPage>& page) { m_subPage = page; }
    ObjectPtr jumpMenu() const { return m_jumpMenu.lock(); }
    void setJumpMenu(const ObjectPtr& menu) { m_jumpMenu = menu; }
    std::shared_ptr<DVDLibraryFrameResource> frameResource() const { return m_frameResource; }
    void setFrameResource(const std::shared_ptr<DVDLibraryFrameResource>& resource);
    std::shared_ptr<DVDLibraryButtonResource> buttonResource() const { return m_buttonResource; }
    void setButtonResource(const std::shared_ptr<DVDLibraryButtonResource>& resource);
    bool useFrame() const { return m_useFrame; }
    void setUseFrame(bool on) { m_useFrame = on; }
    std::shared_ptr<EffectTextImage> textSource() const { return m_textSource; }
    void setTextSource(const std::shared_ptr<EffectTextImage>& text);
    bool useTextSource() const { return m_useTextSource; }
    void setUseTextSource(bool on) { m_useTextSource = on; }
    bool useStaticImage() const { return m_useStaticImage; }
    void setUseStaticImage(bool on) { m_useStaticImage = on; }
    QImage menuStaticImage() const { return m_menuStaticImage; }
    void setMenuStaticImage(const QImage& image) { m_menuStaticImage = image; }
    bool hasShadow() const { return m_hasShadow; }
    void setHasShadow(bool on) { m_hasShadow = on; }
    qint64 shadowAngleValue() const { return m_shadowAngleValue; }
    void setShadowAngleValue(qint64 degrees) { m_shadowAngleValue = degrees; }
    float shadowOffsetValue() const { return m_shadowOffsetValue; }
    void setShadowOffsetValue(float points) { m_shadowOffsetValue = points; }
    qint32 shadowBlursizeValue() const { return m_shadowBlursizeValue; }
    void setShadowBlursizeValue(qint32 points) { m_shadowBlursizeValue = points; }
    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor& color) { m_shadowColor = color; }
    qint64 dvdbuttonUseType() const { return m_dvdbuttonUseType; }
    void setDvdbuttonUseType(qint64 useType) { m_dvdbuttonUseType = useType; }
    QImage dvdbuttonLocalImage() const { return m_dvdbuttonLocalImage; }
    void setDvdbuttonLocalImage(const QImage& image) { m_dvdbuttonLocalImage = image; }
    qint64 dvdTitleUseType() const { return m_dvdTitleUseType; }
    void setDvdTitleUseType(qint64 useType) { m_dvdTitleUseType = useType; }
    double itemRoundValue() const { return m_itemRoundValue; }
    void setItemRoundValue(double value) { m_itemRoundValue = value; }
    qint64 useImageFrom() const { return m_useImageFrom; }
    void setUseImageFrom(qint64 from) { m_useImageFrom = from; }
    qint64 videoImageTime() const { return m_videoImageTime; }
    void setVideoImageTime(qint64 time) { m_videoImageTime = time; }
    QImage videoImage() const { return m_videoImage; }
    void setVideoImage(const QImage& image) { m_videoImage = image; }
    QImage localImage() const { return m_localImage; }
    void setLocalImage(const QImage& image) { m_localImage = image; }
    QRectF lastTimeTitleFrame() const { return m_lastTimeTitleFrame; }
    void setLastTimeTitleFrame(const QRectF& frame) { m_lastTimeTitleFrame = frame; }
    QRectF oldFrame() const { return m_oldFrame; }
    void setOldFrame(const QRectF& frame) { m_oldFrame = frame; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QImage titlePictureAtTime(qint64 time);
    QImage liveVideoPicture(qint64 time, const QList<std::shared_ptr<MenuClip>>& clips);

    std::weak_ptr<DVDPage> m_page;
    qint64 m_type = 1;
    QRectF m_frame;
    std::weak_ptr<Object> m_media;
    bool m_hasSubPage = false;
    std::shared_ptr<DVDPage> m_subPage;
    std::weak_ptr<Object> m_jumpMenu;
    std::shared_ptr<DVDLibraryFrameResource> m_frameResource;
    std::shared_ptr<DVDLibraryButtonResource> m_buttonResource;
    bool m_useFrame = true;
    std::shared_ptr<EffectTextImage> m_textSource;
    bool m_useTextSource = false;
    bool m_useStaticImage = false;
    QImage m_menuStaticImage;
    bool m_hasShadow = true;
    qint64 m_shadowAngleValue = 0;
    float m_shadowOffsetValue = 3.0f;
    qint32 m_shadowBlursizeValue = 10;
    QColor m_shadowColor;
    qint64 m_dvdbuttonUseType = 0;
    QImage m_dvdbuttonLocalImage;
    qint64 m_dvdTitleUseType = 1;
    double m_itemRoundValue = 0.1;
    qint64 m_useImageFrom = 0;
    qint64 m_videoImageTime = 0;
    QImage m_videoImage;
    QImage m_localImage;
    QRectF m_lastTimeTitleFrame;
    QRectF m_oldFrame;
    std::shared_ptr<SegmentsMovie> m_segmentMovie;
};
