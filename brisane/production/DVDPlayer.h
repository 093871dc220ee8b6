#pragma once
// Plays a disc model the way a DVD player would: it starts where the disc
// starts, plays menus and titles on the joined timeline of MultiMoviePlayer,
// keeps the highlight of the menu button under the mouse, activates a menu
// item on a click and, when a menu or title runs out, goes where the disc
// model's navigation (DVDLibrary::jumpForActionItem) says. The player holds no
// navigation rules of its own, so what it plays is what the authored disc
// plays.
//
// A chapter always plays inside its whole title: the timeline holds all the
// title's chapters and starts at the sum of the earlier chapters' lengths, so
// "next" and "previous" move between chapters of that title. A target without
// media plays one second of nothing. A disc that has nothing left to play
// (noMenu at a title's end, or a disc without menus and titles) pauses.
//
// Points handed to clickPoint/moveAtPoint are fractions of the picture
// measured from its bottom-left corner; item frames and the highlight
// rectangle are in menu canvas units, origin bottom left, y up.
//
// Main thread only.

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <memory>

#include "media/MultiMoviePlayer.h"
#include "platform/Object.h"

class DVDChapterVideo;
class DVDLibrary;
class DVDMenuElement;
class DVDMenuPage;
class DVDTitleVideo;

class DVDPlayer : public MultiMoviePlayer {
    Q_OBJECT
public:
    using ChapterPtr = std::shared_ptr<DVDChapterVideo>;
    using MenuPtr = std::shared_ptr<DVDMenuPage>;
    using ElementPtr = std::shared_ptr<DVDMenuElement>;
    using TitlePtr = std::shared_ptr<DVDTitleVideo>;

    explicit DVDPlayer(QObject* parent = nullptr);

    std::shared_ptr<DVDLibrary> dvd() const { return m_dvd; }
    void setDvd(const std::shared_ptr<DVDLibrary>& dvd) { m_dvd = dvd; }
    // What the timeline holds: a menu page, a chapter, or null.
    ObjectPtr current_play() const { return m_currentPlay; }
    MenuPtr lastMenu() const { return m_lastMenu; }
    // The current menu's highlight picture at the menu canvas size.
    QImage dvd_highlight_image() const { return m_highlightImage; }
    // The frame of the highlighted button; empty when none.
    QRectF dvd_highlight_rect() const { return m_highlightRect; }
    bool play_warn_video() const { return m_playWarnVideo; }

    // Plays the target of `item`; null plays the disc's start. A chapter or
    // a menu page plays itself (once the warning title has played).
    void playDVDItem(const ObjectPtr& item);
    virtual void clickPoint(const QPointF& point);
    // Highlights the item at the point; elsewhere the highlight stays.
    virtual void moveAtPoint(const QPointF& point);
    // The first valid, non-static item of the current menu whose frame holds
    // the point scaled by the menu's size; null when none.
    ElementPtr findItemAtPoint(const QPointF& point) const;
    // The highlight picture cropped to the button under the mouse, laid on a
    // transparent image of the menu's size; null when no button is lit.
    QImage getDVDHighlightImage() const;

    void playMenu();
    void playPrevious();
    void playNext();
    bool canPlayMenu() const;
    bool canPlayPrevious() const;
    bool canPlayNext() const;

    // Null with noMenu; else the first top-level page.
    MenuPtr firstMenu() const;
    // DVDLibrary::NotFound with noMenu, without menus, or for a foreign page.
    qint64 indexOfMenu(const MenuPtr& menu) const;
    MenuPtr currentPlayMenu() const;
    TitlePtr currentPlayTitle() const;
    // The chapter `offset` away from the one at the current time within the
    // current title (the last chapter when none holds the time); null past
    // either end or when no title plays.
    ChapterPtr currentPlayItemRelative(int offset) const;
    // The first chapter ending after `time` on the joined timeline.
    static ChapterPtr findChapterIn(const QList<ChapterPtr>& chapters, LMMediaTime time);
    // Where `target` starts on its title's timeline.
    static LMMediaTime startTimeOfChapter(const QList<ChapterPtr>& chapters,
                                          const ChapterPtr& target);
    ObjectPtr getWarnDVDTitle() const;

    void resetDVDPlayer();
    void clearPlayer() override;

    // The joined timeline has run out: navigate on.
    void timeIsAfterAllMovieTime() override;

protected:
    void updatePlayerPlaySegment() override;
    void playerIsAfterPreviewTime() override;

private:
    ObjectPtr resolveTarget(const ObjectPtr& item) const;
    void loadHighlight(const MenuPtr& menu);
    QList<IMediaItem::Ptr> moviesForTarget(const ObjectPtr& target, LMMediaTime& start) const;
    static IMediaItem::Ptr emptySecond();

    std::shared_ptr<DVDLibrary> m_dvd;
    ObjectPtr m_currentPlay;
    MenuPtr m_lastMenu;
    QImage m_highlightImage;
    QRectF m_highlightRect;
    bool m_playWarnVideo = false;
};
