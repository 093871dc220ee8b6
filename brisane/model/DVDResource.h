#pragma once
// The disc side of a project: the settings of the whole disc (aspect, TV
// format, bitrate, play mode, button highlight colours), every menu page in
// one ordered list, the user's own button pictures and two tables of default
// frames for title items. Archived under the project's root key "DVDData".
//
// Two sizes must not be confused: dvdVideoSize() here is the menu canvas in
// points (854 x 480 for 16:9, 640 x 480 for 4:3), which is also the output
// size of every media item of the project; the DVD frame in pixels (720 x 576
// or 720 x 480) is DVDLibrary::dvdVideoSize() and belongs to production.
//
// Used on the main thread, except that a project load decodes a new instance
// on its own thread before it replaces the old one, and that a redisplay of
// the canvas showing its pages may be asked for from any thread.

#include <QColor>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/CodingBase.h"

class DataResource;
class DVDPage;
class DVDLibraryButtonResource;

class DVDResource : public CodingBase {
public:
    using PageList = QList<std::shared_ptr<DVDPage>>;
    using ButtonList = QList<std::shared_ptr<DVDLibraryButtonResource>>;

    DVDResource();

    // --- Page lists ---
    // The top pages the menu editor pages through: every page that is not a
    // sub page; with two or more of them, those whose list page has no
    // titles are left out; when nothing remains, the first page alone.
    PageList noSubMenuArray() const;
    // Every sub page, in order.
    PageList subMenuArray() const;
    // The pages that become a disc's menus: all pages; when there are two or
    // more (sub pages counted), top pages without titles are left out; when
    // nothing remains, the first page alone.
    PageList pageArrayForPreview() const;

    // --- Canvas redisplay ---
    // Asks whoever shows this disc's pages (the menu editor) to redisplay its
    // canvas: runs the callback set last, on the calling thread; nothing
    // without one. Any thread.
    void displayCanvasView() const;
    // The callback displayCanvasView runs; one that must reach widgets hands
    // the request to their thread itself. Not archived. Any thread.
    void setCanvasRedisplay(std::function<void()> redisplay);

    // --- Default frames of title items ---
    // 22 frames of 200 x 150 for the canvas of `aspect`: four quarter centres,
    // the middle, then 17 steps of (+10, -10) from the middle.
    static QList<QRectF> initialItemFrameArrayWithAspect(qint64 aspect);
    // The frame at `index` of the table for the disc's aspect; an index past
    // the end gives the last frame, an empty table the zero rectangle.
    QRectF initialPageItemFrameAtIndex(quint64 index) const;

    // --- Canvas size ---
    // The menu canvas for aspectType: 854 x 480 for any non-zero value,
    // 640 x 480 for 0. Not the DVD frame size.
    QSizeF menuCanvasSize() const;
    // The same size under the name the media side and the slideshow ask for.
    QSizeF dvdVideoSize() const { return menuCanvasSize(); }
    // Origin (0, 0), size dvdVideoSize.
    QRectF menuCanvasRect() const;
    // Gives a media item the canvas as its output size; a null item is
    // ignored. Any item with setVideoOutputSize(QSizeF) will do.
    template <typename MediaItemPtr>
    void changeVideoOutputSizeWithVCMovie(const MediaItemPtr& item) const
    {
        if (item) {
            item->setVideoOutputSize(dvdVideoSize());
        }
    }

    // Gives every clip of the title list of `media` (the members of a
    // merged clip in its place) the canvas as its output size, where it has
    // another.
    void changeVideoOutputSizeWithDataResource(const DataResource& media) const;

    // --- Properties ---
    const PageList& pageArray() const { return m_pageArray; }
    // Takes the pages and makes itself their disc (DVDPage::dvdResource).
    void setPageArray(const PageList& pages);
    const ButtonList& customButtonImageResourceArray() const { return m_customButtons; }
    void setCustomButtonImageResourceArray(const ButtonList& buttons) { m_customButtons = buttons; }
    // 1 = 16:9, 0 = 4:3; any non-zero value counts as 16:9.
    qint64 aspectType() const { return m_aspectType; }
    void setAspectType(qint64 aspectType) { m_aspectType = aspectType; }
    // Video bitrate in kbit/s.
    qint64 dvdBitrate() const { return m_dvdBitrate; }
    void setDvdBitrate(qint64 bitrate) { m_dvdBitrate = bitrate; }
    // 1 = PAL, any other value NTSC.
    qint64 dvdFormat() const { return m_dvdFormat; }
    void setDvdFormat(qint64 format) { m_dvdFormat = format; }
    bool useNoMenu() const { return m_useNoMenu; }
    void setUseNoMenu(bool on) { m_useNoMenu = on; }
    bool autoPlayFirstTitle() const { return m_autoPlayFirstTitle; }
    void setAutoPlayFirstTitle(bool on) { m_autoPlayFirstTitle = on; }
    bool playTitleSequence() const { return m_playTitleSequence; }
    void setPlayTitleSequence(bool on) { m_playTitleSequence = on; }
    bool useBackMusicLengthAsPageDuration() const { return m_useBackMusicLength; }
    void setUseBackMusicLengthAsPageDuration(bool on) { m_useBackMusicLength = on; }
    bool showPlayButton() const { return m_showPlayButton; }
    void setShowPlayButton(bool on) { m_showPlayButton = on; }
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color) { m_borderColor = color; }
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width) { m_borderWidth = width; }
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& color) { m_fillColor = color; }
    // Not archived: rebuilt by every new or decoded object.
    const QList<QRectF>& itemInitialFrame16_9Array() const { return m_frames16_9; }
    void setItemInitialFrame16_9Array(const QList<QRectF>& frames) { m_frames16_9 = frames; }
    const QList<QRectF>& itemInitialFrame4_3Array() const { return m_frames4_3; }
    void setItemInitialFrame4_3Array(const QList<QRectF>& frames) { m_frames4_3 = frames; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    PageList m_pageArray;
    ButtonList m_customButtons;
    bool m_useBackMusicLength = false;
    QColor m_borderColor;
    double m_borderWidth = 0.0;
    QColor m_fillColor;
    bool m_showPlayButton = false;
    bool m_autoPlayFirstTitle = false;
    bool m_playTitleSequence = false;
    qint64 m_aspectType = 1;
    qint64 m_dvdBitrate = 4000;
    bool m_useNoMenu = false;
    qint64 m_dvdFormat = 1;
    QList<QRectF> m_frames16_9;
    QList<QRectF> m_frames4_3;
    mutable std::mutex m_redisplayLock;
    std::function<void()> m_canvasRedisplay;
};
