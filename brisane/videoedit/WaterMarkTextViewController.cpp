#include "videoedit/WaterMarkTextViewController.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "videoedit/FontColorPanelRouter.h"
#include "videoedit/VideoEditWatermarkTab.h"

namespace {

constexpr int kGap = 4;

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(28, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(30, 30, 30));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

}  // namespace

const QStringList& WaterMarkTextViewController::sizeTitles()
{
    static const QStringList titles{"15", "30",  "40",  "50",  "60",  "70",
                                    "80", "100", "120", "140", "160", "200"};
    return titles;
}

WaterMarkTextViewController::WaterMarkTextViewController(VideoEditWatermarkTab& owner)
    : QWidget(&owner, Qt::Popup), m_owner(owner)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    m_fontButton = new QComboBox(this);
    m_fontButton->addItems(QFontDatabase::families());
    m_fontButton->setCurrentIndex(0);
    m_fontButton->setMaxVisibleItems(16);
    m_sizeButton = new QComboBox(this);
    m_sizeButton->addItems(sizeTitles());
    m_sizeButton->setCurrentText(defaultSizeTitle());
    m_textColorWell = new QToolButton(this);
    m_textColorWell->setToolTip(tr("Text colour"));
    m_textColorWell->setIconSize(QSize(28, 14));
    setWellColor(Qt::white);
    m_fontsButton = new QToolButton(this);
    m_fontsButton->setText(tr("Fonts…"));
    grid->addWidget(new QLabel(tr("Font"), this), 0, 0);
    grid->addWidget(m_fontButton, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Size"), this), 1, 0);
    grid->addWidget(m_sizeButton, 1, 1);
    grid->addWidget(m_textColorWell, 1, 2);
    grid->addWidget(m_fontsButton, 2, 1, 1, 2, Qt::AlignRight);

    connect(m_fontButton, &QComboBox::activated, this,
            &WaterMarkTextViewController::fontSelectAction);
    connect(m_sizeButton, &QComboBox::activated, this,
            &WaterMarkTextViewController::sizeSelectAction);
    connect(m_textColorWell, &QToolButton::clicked, this,
            [this] { m_owner.panels().orderFrontColorPanel(); });
    connect(m_fontsButton, &QToolButton::clicked, this,
            [this] { m_owner.panels().orderFrontFontPanel(); });
    updateTextMediaAttributes();
}

VCMovie::Ptr WaterMarkTextViewController::currentMovie() const
{
    return m_owner.currentMovie();
}

void WaterMarkTextViewController::setWellColor(const QColor& colour)
{
    m_wellColor = colour;
    m_textColorWell->setIcon(swatch(colour));
}

void WaterMarkTextViewController::updateTextMediaAttributes()
{
    const VCMovie::Ptr item = currentMovie();
    if (!item) {
        return;
    }
    const QFont font = item->watermarkTextFont();
    const QSignalBlocker fonts(m_fontButton);
    const QSignalBlocker sizes(m_sizeButton);
    const int index = m_fontButton->findText(font.family());
    if (index >= 0) {
        m_fontButton->setCurrentIndex(index);
    }
    setWellColor(item->watermarkTextColor());
    const int size = m_sizeButton->findText(QString::asprintf("%.0f", font.pointSizeF()));
    if (size >= 0) {
        m_sizeButton->setCurrentIndex(size);
    }
}

QFont WaterMarkTextViewController::selectedFont() const
{
    QFont font(m_fontButton->currentText());
    font.setPointSizeF(m_sizeButton->currentText().toDouble());
    return font;
}

void WaterMarkTextViewController::fontSelectAction()
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkTextFont(selectedFont());
        m_owner.updateWatermarkFontImage();
    }
}

void WaterMarkTextViewController::sizeSelectAction()
{
    fontSelectAction();
}

void WaterMarkTextViewController::colorChangedAction(const QColor& colour)
{
    setWellColor(colour);
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkTextColor(colour);
        m_owner.updateWatermarkFontImage();
    }
}

void WaterMarkTextViewController::showRelativeTo(QWidget* anchor)
{
    adjustSize();
    if (anchor) {
        // Beside the anchor's right-hand side; on its left where the screen
        // ends first.
        const int y = anchor->mapToGlobal(QPoint(0, 0)).y() + (anchor->height() - height()) / 2;
        QPoint place(anchor->mapToGlobal(QPoint(anchor->width(), 0)).x() + kGap, y);
        const QScreen* screen = anchor->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        if (room.isValid() && place.x() + width() > room.right()) {
            place.setX(anchor->mapToGlobal(QPoint(0, 0)).x() - kGap - width());
        }
        if (room.isValid()) {
            place.setY(
                std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - height())));
        }
        move(place);
    }
    show();
    raise();
    m_fontButton->setFocus(Qt::PopupFocusReason);
}
