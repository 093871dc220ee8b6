#include "corvane/DVDAuthorDocument.h"

#include <cmath>

#include <algorithm>

#include "corvane/DVDChapterVideo.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleResource.h"
#include "corvane/DVDTitleVideo.h"
#include "platform/Numeric.h"

namespace {

const QString kNothing = QStringLiteral("g3=0;");

QString number(qint64 value)
{
    return QString::number(value);
}

bool isWarningTitle(const ObjectPtr& title)
{
    auto video = std::dynamic_pointer_cast<DVDTitleVideo>(title);
    return video && video->isWarningVideo();
}

}  // namespace

QString DVDAuthorDocument::document() const
{
    return QStringLiteral("<dvdauthor>\n") + firstPlayPart() + QStringLiteral("\n") +
           titleSetPart() + QStringLiteral("\n</dvdauthor>");
}

// ---- commands

QString DVDAuthorDocument::commandFor(const ObjectPtr& target) const
{
    if (!target) {
        return kNothing;
    }
    if (auto menu = std::dynamic_pointer_cast<DVDMenuPage>(target)) {
        const qint64 index = m_library.indexOfMenu(menu);
        return index == DVDLibrary::NotFound
                   ? kNothing
                   : QStringLiteral("jump menu %1;").arg(number(index + 1));
    }
    if (auto chapter = std::dynamic_pointer_cast<DVDChapterVideo>(target)) {
        const auto title = m_library.getTitleForChapter(chapter);
        const qsizetype titleIndex = title ? m_library.titles().indexOf(ObjectPtr(title)) : -1;
        const qsizetype chapterIndex = title ? title->chapters().indexOf(chapter) : -1;
        if (titleIndex < 0 || chapterIndex < 0) {
            return kNothing;
        }
        return QStringLiteral("jump title %1 chapter %2;")
            .arg(number(titleIndex + 1), number(chapterIndex + 1));
    }
    if (std::dynamic_pointer_cast<DVDTitleResource>(target) ||
        std::dynamic_pointer_cast<DVDTitleVideo>(target)) {
        const qsizetype index = m_library.titles().indexOf(target);
        return index < 0 ? kNothing : QStringLiteral("jump title %1;").arg(number(index + 1));
    }
    return kNothing;
}

QString DVDAuthorDocument::titleEndCommand(const ObjectPtr& next) const
{
    if (next) {
        return commandFor(next);
    }
    return m_library.noMenu() ? QStringLiteral("g1=1;g2=1;")
                              : QStringLiteral("g2=1;call menu entry root;");
}

// The start with playFirstTitle, the end of the warning title and a root
// without pages all jump to the first normal title. That is title 1 unless a
// warning title stands first, which would otherwise be replayed for ever.
QString DVDAuthorDocument::jumpToFirstNormalTitle() const
{
    const auto normal = m_library.getAllNormalTitles();
    const qsizetype index = normal.isEmpty() ? -1 : m_library.titles().indexOf(normal.first());
    return QStringLiteral("jump title %1;").arg(number(index < 0 ? 1 : index + 1));
}

QString DVDAuthorDocument::warningCheck() const
{
    return QStringLiteral("if (g5 != 93) ") + commandFor(m_library.getWarningTitle());
}

QString DVDAuthorDocument::warningEnd() const
{
    return QStringLiteral("g5=93; ") + (m_library.playFirstTitle()
                                            ? jumpToFirstNormalTitle()
                                            : QStringLiteral("call menu entry root;"));
}

// ---- top level

QString DVDAuthorDocument::firstPlayPart() const
{
    const QString start = m_library.playFirstTitle()
                              ? QStringLiteral("g4=1;") + jumpToFirstNormalTitle()
                              : QStringLiteral("jump titleset 1 menu entry root;");
    return QStringLiteral("<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; ") + start +
           QStringLiteral("</fpc></vmgm>");
}

QString DVDAuthorDocument::titleSetPart() const
{
    return QStringLiteral("<titleset><menus>\n") + menuList() +
           QStringLiteral("\n</menus><titles>\n") + titleList() +
           QStringLiteral("\n</titles></titleset>");
}

QString DVDAuthorDocument::streamLines() const
{
    const QString aspect =
        m_library.aspectType() == 1 ? QStringLiteral("16:9") : QStringLiteral("4:3");
    return QStringLiteral("<video aspect=\"%1\" resolution=\"720x%2\" />")
               .arg(aspect, number(m_library.dvdVideoSize().height())) +
           QStringLiteral("<audio lang=\"en\" />");
}

// ---- menus

QString DVDAuthorDocument::menuList() const
{
    QString list = streamLines();
    const qint64 pageCount = m_library.noMenu() ? 0 : m_library.menus().size();
    for (qint64 k = 0; k < pageCount; ++k) {
        list += menuChain(k);
    }
    return list + rootChain(pageCount);
}

QString DVDAuthorDocument::menuChain(qint64 position) const
{
    const auto& menu = m_library.menus().at(position);
    const auto items = menu ? menu->items() : QList<std::shared_ptr<DVDMenuElement>>();
    QString buttons;
    qint64 targets = 0;
    for (qsizetype j = 0; j < items.size(); ++j) {
        const auto& element = items.at(j);
        if (!element || !element->jump()) {
            continue;
        }
        ++targets;
        buttons += QStringLiteral("<button name=\"b%1%2\"> g4=0;%3 </button>")
                       .arg(number(position), number(j), m_library.actionForJumpButton(element));
    }
    return QStringLiteral("<pgc>") +
           QStringLiteral(
               "<pre>g1=%1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt %2 ) "
               "g3=1;g3=g3*1024;button=g3; </pre>")
               .arg(number(position + 1), number(targets)) +
           QStringLiteral("<vob file=\"menu%1.dvd\" />").arg(number(position)) + buttons +
           QStringLiteral("<post>%1</post>").arg(m_library.actionForMenuPostItem(menu)) +
           QStringLiteral("</pgc>\n");
}

QString DVDAuthorDocument::rootChain(qint64 pageCount) const
{
    QString chain =
        QStringLiteral("<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; ") + warningCheck();
    if (pageCount > 0) {
        for (qint64 m = 1; m <= pageCount; ++m) {
            chain += QStringLiteral("if (g1 == %1) jump menu %1;").arg(number(m));
        }
        chain += QStringLiteral("if (g1 == 0 || g1 > %1) jump menu 1;").arg(number(pageCount));
    } else {
        chain += jumpToFirstNormalTitle();
    }
    return chain + QStringLiteral("</pre></pgc>\n");
}

// ---- titles

QString DVDAuthorDocument::titleList() const
{
    QString list = streamLines();
    for (qint64 t = 0; t < m_library.titles().size(); ++t) {
        list += titleChain(t);
    }
    return list;
}

QString DVDAuthorDocument::titleChain(qint64 position) const
{
    const ObjectPtr& title = m_library.titles().at(position);
    QString chain = QStringLiteral("<pgc>");
    if (!isWarningTitle(title)) {
        chain += QStringLiteral("<pre> %1 </pre>").arg(warningCheck());
    }
    if (std::dynamic_pointer_cast<DVDTitleVideo>(title)) {
        chain += QStringLiteral("<vob file=\"title%1.dvd\" >").arg(number(position)) +
                 titleCells(title) + QStringLiteral("</vob>");
    } else {
        chain += QStringLiteral("<vob file=\"title%1.dvd\" />").arg(number(position));
    }
    return chain + titlePost(title, position) + QStringLiteral("</pgc>\n");
}

QString DVDAuthorDocument::titleCells(const ObjectPtr& title) const
{
    QString cells;
    double start = 0;
    const auto chapters = std::dynamic_pointer_cast<DVDTitleVideo>(title)->chapters();
    for (qsizetype i = 0; i < chapters.size(); ++i) {
        const auto& chapter = chapters[i];
        const double end = start + (chapter ? chapter->duration() : 0.0);
        // The title's last cell runs to the end of its stream. dvdauthor counts
        // cell times from the stream's clock, which starts past zero, so an
        // explicit end equal to the title's length loses the final VOBU.
        if (i + 1 == chapters.size()) {
            cells += QStringLiteral("<cell start=\"%1\" chapter=\"yes\">").arg(cellTime(start));
        } else {
            cells += QStringLiteral("<cell start=\"%1\" end=\"%2\" chapter=\"yes\">")
                         .arg(cellTime(start), cellTime(end));
        }
        cells +=
                 m_library.actionForChapterVideo(chapter) + QStringLiteral("</cell>");
        start = end;
    }
    return cells;
}

QString DVDAuthorDocument::titlePost(const ObjectPtr& title, qint64 position) const
{
    if (isWarningTitle(title)) {
        return QStringLiteral("<post>%1</post>").arg(warningEnd());
    }
    // The count is widened with its sign and compared unsigned, so a negative
    // count puts every title in the chain.
    const auto chainLength = static_cast<quint64>(static_cast<qint64>(m_library.autoPlayVideos()));
    const QString ordinary = titleEndCommand(m_library.jumpForActionItem(title));
    if (!m_library.noMenu() && chainLength > static_cast<quint64>(position)) {
        const QString chained = titleEndCommand(m_library.jumpForAutoPlayVideoPostItem(title));
        return QStringLiteral("<post>if ( g4 gt 0 ){%1}else{%2}</post>").arg(chained, ordinary);
    }
    return QStringLiteral("<post>g4=0;%1</post>").arg(ordinary);
}

QString DVDAuthorDocument::cellTime(double seconds)
{
    // Truncated to whole milliseconds in 32 bits; NaN and negative times
    // (which dvdauthor cannot read) are written as 0.
    const qint32 ms = std::max<qint32>(0, saturatingCast<qint32>(seconds * 1000));
    const qint32 hours = ms / (3600 * 1000);
    const qint32 minutes = (ms / (60 * 1000)) % 60;
    const qint32 secs = (ms / 1000) % 60;
    const qint32 hundredths = (ms % 1000) / 10;
    return QString::asprintf("%02d:%02d:%02d.%02d", hours, minutes, secs, hundredths);
}
