#include "production/DVDPlayer.h"

#include <QPainter>

#include "common/ArrayExtension.h"
#include "corvane/DVDChapterVideo.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuImageGenerator.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleVideo.h"
#include "lumenta/LMMediaTime.h"
#include "media/DVDMenuVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/VCMovie.h"

namespace {

LMMediaTime mediaTimeOfSeconds(double seconds)
{
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

// A rectangle of the y-up menu canvas in the top-down rows of an image of
// that canvas's height.
QRectF imageRectOfCanvasRect(const QRectF& rect, qreal canvasHeight)
{
    return QRectF(rect.x(), canvasHeight - rect.y() - rect.height(), rect.width(), rect.height());
}

}  // namespace

DVDPlayer::DVDPlayer(QObject* parent) : MultiMoviePlayer(parent) {}

// --- Playing a target ---

void DVDPlayer::playDVDItem(const ObjectPtr& item)
{
    pause();
    if (!m_dvd) {
        return;
    }
    if (!item) {
        if (!m_playWarnVideo) {
            m_playWarnVideo = getWarnDVDTitle() == nullptr;
        }
        m_lastMenu = nullptr;
    }
    const ObjectPtr target = resolveTarget(item);

    MenuPtr previousMenu = currentPlayMenu();
    if (!previousMenu) {
        previousMenu = m_lastMenu;
    }
    resetDVDPlayer();
    m_lastMenu = previousMenu;
    m_currentPlay = target;
    m_highlightImage = QImage();
    m_highlightRect = QRectF();

    if (auto menu = std::dynamic_pointer_cast<DVDMenuPage>(target)) {
        loadHighlight(menu);
    }
    LMMediaTime start = 0;
    QList<IMediaItem::Ptr> movies = moviesForTarget(target, start);
    if (movies.isEmpty()) {
        movies = {emptySecond()};
        start = 0;
    }
    playMovies(movies);
    // A position exactly on a piece boundary belongs to the earlier piece;
    // one tick later the chapter's own first piece holds it.
    seek(start > 0 ? start + 1 : start);
    play();
}

ObjectPtr DVDPlayer::resolveTarget(const ObjectPtr& item) const
{
    if (std::dynamic_pointer_cast<DVDChapterVideo>(item)) {
        return item;
    }
    // A page handed in is where navigation has already led (a menu's or a
    // title's end, the Menu button): it plays itself. Asking the disc model
    // again would give what follows the page's end, which the disc plays
    // only after the page.
    if (m_playWarnVideo && std::dynamic_pointer_cast<DVDMenuPage>(item)) {
        return item;
    }
    ObjectPtr target = m_playWarnVideo ? m_dvd->jumpForActionItem(item) : getWarnDVDTitle();
    if (auto title = std::dynamic_pointer_cast<DVDTitleVideo>(target)) {
        target = firstObject(title->chapters());
    }
    return target;
}

QList<IMediaItem::Ptr> DVDPlayer::moviesForTarget(const ObjectPtr& target, LMMediaTime& start) const
{
    QList<IMediaItem::Ptr> movies;
    start = 0;
    if (auto chapter = std::dynamic_pointer_cast<DVDChapterVideo>(target)) {
        const TitlePtr title = m_dvd->getTitleForChapter(chapter);
        if (!title) {
            return movies;
        }
        const auto chapters = title->chapters();
        for (const auto& piece : brisane::DVDTitleVideo::vcmoviesForChapters(chapters)) {
            movies.append(piece);
        }
        start = startTimeOfChapter(chapters, chapter);
    } else if (auto menu = std::dynamic_pointer_cast<DVDMenuPage>(target)) {
        for (const auto& piece : DVDMenuVideo::vcmovies(menu)) {
            movies.append(piece);
        }
    }
    return movies;
}

IMediaItem::Ptr DVDPlayer::emptySecond()
{
    VCMovie::Ptr movie = VCMovie::movieWithEmptyFFMovie();
    movie->setTrimStart(0);
    movie->setTrimStop(lm_default_time_base());
    return movie;
}

void DVDPlayer::loadHighlight(const MenuPtr& menu)
{
    DVDMenuImageGenerator generator;
    generator.setDvd(m_dvd);
    generator.setMenu(menu);
    QImage picture = generator.generatorImageForName(QStringLiteral("menu_highlight"));
    if (picture.isNull()) {
        return;
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QSizeF canvas = menu->menuSize();
    if (picture.width() > 1 && picture.height() > 1 && !canvas.isEmpty()) {
        picture = picture.scaled(canvas.toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    m_highlightImage = picture;
}

// --- Mouse ---

void DVDPlayer::clickPoint(const QPointF& point)
{
    if (const ElementPtr item = findItemAtPoint(point)) {
        playDVDItem(item);
    }
}

void DVDPlayer::moveAtPoint(const QPointF& point)
{
    if (const ElementPtr item = findItemAtPoint(point)) {
        m_highlightRect = item->frame();
    }
}

DVDPlayer::ElementPtr DVDPlayer::findItemAtPoint(const QPointF& point) const
{
    const MenuPtr menu = currentPlayMenu();
    if (!menu) {
        return nullptr;
    }
    const QSizeF size = menu->menuSize();
    const QPointF canvasPoint(point.x() * size.width(), point.y() * size.height());
    for (const auto& item : menu->items()) {
        if (item && item->isValid() && !item->isStaticItem() &&
            item->frame().contains(canvasPoint)) {
            return item;
        }
    }
    return nullptr;
}

QImage DVDPlayer::getDVDHighlightImage() const
{
    if (m_highlightRect.isEmpty() || m_highlightImage.isNull()) {
        return {};
    }
    const QRectF grown = m_highlightRect.adjusted(-0.5, -0.5, 0.5, 0.5);
    const QRectF inImage = imageRectOfCanvasRect(grown, m_highlightImage.height());
    const QRect crop = inImage.toAlignedRect().intersected(m_highlightImage.rect());
    if (crop.isEmpty()) {
        return {};
    }
    QImage result(m_highlightImage.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawImage(crop.topLeft(), m_highlightImage, crop);
    return result;
}

// --- Menus and chapters ---

void DVDPlayer::playMenu()
{
    playDVDItem(firstMenu());
}

void DVDPlayer::playPrevious()
{
    if (const ChapterPtr chapter = currentPlayItemRelative(-1)) {
        playDVDItem(chapter);
    }
}

void DVDPlayer::playNext()
{
    if (const ChapterPtr chapter = currentPlayItemRelative(1)) {
        playDVDItem(chapter);
    }
}

bool DVDPlayer::canPlayMenu() const
{
    return firstMenu() != nullptr;
}

bool DVDPlayer::canPlayPrevious() const
{
    return currentPlayItemRelative(-1) != nullptr;
}

bool DVDPlayer::canPlayNext() const
{
    return currentPlayItemRelative(1) != nullptr;
}

DVDPlayer::MenuPtr DVDPlayer::firstMenu() const
{
    if (!m_dvd || m_dvd->noMenu()) {
        return nullptr;
    }
    for (const auto& menu : m_dvd->menus()) {
        if (menu && !menu->parent()) {
            return menu;
        }
    }
    return nullptr;
}

qint64 DVDPlayer::indexOfMenu(const MenuPtr& menu) const
{
    if (!m_dvd || m_dvd->noMenu() || m_dvd->menus().isEmpty()) {
        return DVDLibrary::NotFound;
    }
    const qsizetype index = m_dvd->menus().indexOf(menu);
    return index < 0 ? DVDLibrary::NotFound : index;
}

DVDPlayer::MenuPtr DVDPlayer::currentPlayMenu() const
{
    return std::dynamic_pointer_cast<DVDMenuPage>(m_currentPlay);
}

DVDPlayer::TitlePtr DVDPlayer::currentPlayTitle() const
{
    if (auto title = std::dynamic_pointer_cast<DVDTitleVideo>(m_currentPlay)) {
        return title;
    }
    if (auto chapter = std::dynamic_pointer_cast<DVDChapterVideo>(m_currentPlay)) {
        return m_dvd ? m_dvd->getTitleForChapter(chapter) : nullptr;
    }
    return nullptr;
}

DVDPlayer::ChapterPtr DVDPlayer::currentPlayItemRelative(int offset) const
{
    const TitlePtr title = currentPlayTitle();
    if (!title) {
        return nullptr;
    }
    const auto chapters = title->chapters();
    ChapterPtr here = findChapterIn(chapters, currentTime());
    if (!here && !chapters.isEmpty()) {
        here = chapters.last();
    }
    return object(chapters, here, offset);
}

DVDPlayer::ChapterPtr DVDPlayer::findChapterIn(const QList<ChapterPtr>& chapters, LMMediaTime time)
{
    LMMediaTime start = 0;
    for (const auto& chapter : chapters) {
        const LMMediaTime length = chapter ? mediaTimeOfSeconds(chapter->duration()) : 0;
        if (start + length > time) {
            return chapter;
        }
        start += length;
    }
    return nullptr;
}

LMMediaTime DVDPlayer::startTimeOfChapter(const QList<ChapterPtr>& chapters,
                                          const ChapterPtr& target)
{
    LMMediaTime start = 0;
    for (const auto& chapter : chapters) {
        if (chapter == target) {
            break;
        }
        start += chapter ? mediaTimeOfSeconds(chapter->duration()) : 0;
    }
    return start;
}

ObjectPtr DVDPlayer::getWarnDVDTitle() const
{
    if (!m_dvd) {
        return nullptr;
    }
    for (const auto& title : m_dvd->titles()) {
        auto video = std::dynamic_pointer_cast<DVDTitleVideo>(title);
        if (video && video->isWarningVideo()) {
            return title;
        }
    }
    return nullptr;
}

// --- State ---

void DVDPlayer::resetDVDPlayer()
{
    m_currentPlay = nullptr;
    m_lastMenu = nullptr;
}

void DVDPlayer::clearPlayer()
{
    m_playWarnVideo = false;
    resetDVDPlayer();
    m_highlightImage = QImage();
    m_highlightRect = QRectF();
    m_dvd = nullptr;
    MultiMoviePlayer::clearPlayer();
}

// --- Navigation at the end of the timeline ---

void DVDPlayer::timeIsAfterAllMovieTime()
{
    if (!m_dvd) {
        pause();
        return;
    }
    ObjectPtr item = currentPlayMenu();
    if (!item) {
        item = currentPlayTitle();
    }
    ObjectPtr next = item ? m_dvd->jumpForActionItem(item) : nullptr;
    if (!next) {
        next = m_lastMenu;
    }
    if (!next) {
        next = firstMenu();
    }
    if (!m_playWarnVideo) {
        m_playWarnVideo = true;
        next = nullptr;
    }
    // The disc's start gives nothing to play: stay paused rather than
    // looping over a second of nothing.
    const bool startIsEmpty = !next && !m_dvd->jumpForActionItem(nullptr) && !item;
    if (!next && (m_dvd->noMenu() || startIsEmpty)) {
        pause();
        return;
    }
    playDVDItem(next);
}

void DVDPlayer::updatePlayerPlaySegment()
{
    MultiMoviePlayer::updatePlayerPlaySegment();
    const IMediaItem::Ptr piece = vcMovie();
    if (!piece) {
        return;
    }
    if (auto menuVideo = std::dynamic_pointer_cast<DVDMenuVideo>(piece)) {
        menuVideo->updatePlayerPlaySegment();
    } else if (auto movieMenu = std::dynamic_pointer_cast<DVDMenuVideo>(piece->movie())) {
        movieMenu->updatePlayerPlaySegment();
    }
}

void DVDPlayer::playerIsAfterPreviewTime()
{
    seek(currentTime());
}
