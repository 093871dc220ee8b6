#pragma once
// Playing an authored DVD folder with libdvdnav, the way a set-top player
// runs the disc's own navigation commands: start the disc, press a button of
// the menu that shows by its number, or let what plays run out. Each move
// reads on until a new program chain starts and reports where the disc then
// stands: a menu (its program chain among the title set's menus) or a title
// and chapter. Blocks are read as fast as libdvdnav hands them out; stills
// and waits are skipped. Header-only, for the tests that author a disc.

#include <dvdnav/dvdnav.h>

#include <QFile>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <ostream>

namespace discnavigation {

// Where a disc (or the preview) stands: a menu (1-based) or a title and
// chapter (1-based; 0 in a menu).
struct Place {
    QString domain;
    qint64 number = 0;
    qint64 chapter = 0;
    bool operator==(const Place&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Place& place)
{
    return out << place.domain.toStdString() << " " << place.number << "/" << place.chapter;
}

class DiscNavigator {
public:
    // Opens the DVD folder (the one holding VIDEO_TS) or image at `path`.
    explicit DiscNavigator(const QString& path)
    {
        if (dvdnav_open(&m_nav, QFile::encodeName(path).constData()) != DVDNAV_STATUS_OK) {
            m_error = QStringLiteral("libdvdnav cannot open ") + path;
            m_nav = nullptr;
            return;
        }
        dvdnav_menu_language_select(m_nav, const_cast<char*>("en"));
        dvdnav_audio_language_select(m_nav, const_cast<char*>("en"));
        dvdnav_spu_language_select(m_nav, const_cast<char*>("en"));
    }
    ~DiscNavigator()
    {
        if (m_nav) {
            dvdnav_close(m_nav);
        }
    }
    DiscNavigator(const DiscNavigator&) = delete;
    DiscNavigator& operator=(const DiscNavigator&) = delete;

    bool isOpen() const { return m_nav != nullptr; }
    // Why the last move gave no place.
    QString error() const { return m_error; }

    // Runs the first-play commands to the first chain that plays.
    std::optional<Place> start() { return readToNextChain(); }

    // Selects and activates button `number` (from 1) of the menu that shows,
    // then reads on to the chain its command starts.
    std::optional<Place> press(int number)
    {
        if (!isOpen()) {
            return fail(QStringLiteral("no disc"));
        }
        pci_t* pci = dvdnav_get_current_nav_pci(m_nav);
        if (!pci || dvdnav_button_select_and_activate(m_nav, pci, number) != DVDNAV_STATUS_OK) {
            return fail(QStringLiteral("button %1 cannot be activated: %2")
                            .arg(number)
                            .arg(QString::fromUtf8(dvdnav_err_to_string(m_nav))));
        }
        return readToNextChain();
    }

    // Reads what plays to the end of its last cell and on to the next chain:
    // a menu that starts over counts as the next chain.
    std::optional<Place> runOut() { return readToNextChain(); }

    // The button areas of the menu that shows, in button order, as the
    // navigation packet gives them (video pixels, y down, edges included).
    QList<QRect> buttons() const
    {
        QList<QRect> areas;
        const pci_t* pci = m_nav ? dvdnav_get_current_nav_pci(m_nav) : nullptr;
        if (!pci || !pci->hli.hl_gi.hli_ss) {
            return areas;
        }
        for (int i = 0; i < (pci->hli.hl_gi.btn_ns & 0x3f); ++i) {
            const btni_t& b = pci->hli.btnit[i];
            areas.append(
                QRect(QPoint(int(b.x_start), int(b.y_start)), QPoint(int(b.x_end), int(b.y_end))));
        }
        return areas;
    }

    // The number (from 1) of the button whose area holds `point`; 0 when none.
    int buttonAt(const QPoint& point) const
    {
        const QList<QRect> areas = buttons();
        for (qsizetype i = 0; i < areas.size(); ++i) {
            if (areas[i].contains(point)) {
                return int(i) + 1;
            }
        }
        return 0;
    }

private:
    // Reads blocks until a cell starts that does not continue the chain that
    // played, then on to that cell's first navigation packet, so that a menu's
    // buttons are known when the move ends.
    std::optional<Place> readToNextChain()
    {
        if (!isOpen()) {
            return fail(QStringLiteral("no disc"));
        }
        std::optional<Place> arrived;
        for (int blocks = 0; blocks < kBlockLimit; ++blocks) {
            int event = 0;
            int length = 0;
            if (dvdnav_get_next_block(m_nav, m_block, &event, &length) != DVDNAV_STATUS_OK) {
                return fail(QString::fromUtf8(dvdnav_err_to_string(m_nav)));
            }
            switch (event) {
                case DVDNAV_STILL_FRAME:
                    dvdnav_still_skip(m_nav);
                    break;
                case DVDNAV_WAIT:
                    dvdnav_wait_skip(m_nav);
                    break;
                case DVDNAV_STOP:
                    return fail(QStringLiteral("the disc stopped"));
                case DVDNAV_CELL_CHANGE: {
                    const auto* cell = reinterpret_cast<const dvdnav_cell_change_event_t*>(m_block);
                    const Place place = placeNow();
                    const bool continues = m_cell > 0 && place.domain == m_place.domain &&
                                           place.number == m_place.number &&
                                           cell->cellN == m_cell + 1;
                    m_place = place;
                    m_cell = cell->cellN;
                    if (!continues) {
                        arrived = place;
                    }
                    break;
                }
                case DVDNAV_NAV_PACKET:
                    if (arrived) {
                        return arrived;
                    }
                    break;
                default:
                    break;
            }
        }
        return fail(QStringLiteral("no new chain within %1 blocks").arg(kBlockLimit));
    }

    Place placeNow() const
    {
        int32_t title = 0;
        int32_t chain = 0;
        int32_t program = 0;
        if (dvdnav_is_domain_vts(m_nav)) {
            int32_t part = 0;
            dvdnav_current_title_info(m_nav, &title, &part);
            return {QStringLiteral("title"), title, part};
        }
        dvdnav_current_title_program(m_nav, &title, &chain, &program);
        if (dvdnav_is_domain_vtsm(m_nav)) {
            return {QStringLiteral("menu"), chain, 0};
        }
        return {dvdnav_is_domain_vmgm(m_nav) ? QStringLiteral("disc menu")
                                             : QStringLiteral("first play"),
                chain, 0};
    }

    std::optional<Place> fail(const QString& why)
    {
        m_error = why;
        return std::nullopt;
    }

    // Far more than the few seconds of a test disc hold.
    static constexpr int kBlockLimit = 200000;

    dvdnav_t* m_nav = nullptr;
    uint8_t m_block[DVD_VIDEO_LB_LEN] = {};
    Place m_place;
    int32_t m_cell = 0;
    QString m_error;
};

}  // namespace discnavigation
