#include "dialogs/PlayModeWindowController.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "common/widgets/ViewExtention.h"
#include "dialogs/ChooseBorderPreviewView.h"
#include "dialogs/PlayModePanelView.h"
#include "dialogs/core/PlayModeRules.h"
#include "model/DVDResource.h"
#include "shell/core/IDocumentHost.h"

namespace {

// A well shows its colour flat: with a border of its own the style sheet
// draws the whole button, where a bare background colour would only tint the
// style's shaded button and show a paler colour than the one chosen.
void paintWell(QPushButton* well, const QColor& color)
{
    well->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                       "#3c3c3c; border-radius: 2px; min-width: 40px; "
                                       "min-height: 18px; }")
                            .arg(color.name(QColor::HexRgb)));
}

}  // namespace

PlayModeWindowController::PlayModeWindowController(IDocumentHost* host, QWidget* parent)
    : QDialog(parent), m_host(host)
{
    setWindowTitle(tr("Play Mode"));
    setWindowModality(Qt::WindowModal);
    buildWindow();
    connect(this, &QDialog::finished, this, [this] {
        if (m_host) {
            m_host->setDocumentEdited(true);
        }
    });
}

void PlayModeWindowController::buildWindow()
{
    QPalette text = palette();
    text.setColor(QPalette::WindowText, Qt::white);
    setPalette(text);
    auto* ground = new PlayModePanelView(PlayModePanelView::Kind::Ground, this);
    auto* middle = new PlayModePanelView(PlayModePanelView::Kind::Middle, ground);
    auto* bottom = new PlayModePanelView(PlayModePanelView::Kind::Bottom, ground);

    m_autoPlay = new QCheckBox(tr("Play the first title when the disc is inserted"), ground);
    m_playByTurn = new QCheckBox(tr("Play titles one after another"), ground);
    m_loopSecPopButton = new QComboBox(ground);
    auto* flags = new QFormLayout;
    flags->addRow(m_autoPlay);
    flags->addRow(m_playByTurn);
    flags->addRow(new QLabel(tr("Menu loop (seconds):"), ground), m_loopSecPopButton);

    m_borderWell = new QPushButton(middle);
    m_fillWell = new QPushButton(middle);
    m_borderAlpha = new QDoubleSpinBox(middle);
    m_fillAlpha = new QDoubleSpinBox(middle);
    for (auto* alpha : {m_borderAlpha, m_fillAlpha}) {
        alpha->setRange(0.0, 1.0);
        alpha->setSingleStep(0.05);
        alpha->setDecimals(2);
        ViewExtention::useApplicationWindowText(alpha);
    }
    m_widthSlider = new QSlider(Qt::Horizontal, middle);
    m_widthSlider->setRange(0, 40);
    m_previewView = new ChooseBorderPreviewView(middle);
    auto* highlight = new QFormLayout;
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(m_borderWell);
    borderRow->addWidget(new QLabel(tr("Opacity:"), middle));
    borderRow->addWidget(m_borderAlpha);
    auto* fillRow = new QHBoxLayout;
    fillRow->addWidget(m_fillWell);
    fillRow->addWidget(new QLabel(tr("Opacity:"), middle));
    fillRow->addWidget(m_fillAlpha);
    highlight->addRow(tr("Border colour:"), borderRow);
    highlight->addRow(tr("Border width:"), m_widthSlider);
    highlight->addRow(tr("Fill colour:"), fillRow);
    auto* middleLayout = new QHBoxLayout(middle);
    middleLayout->addLayout(highlight, 1);
    middleLayout->addWidget(m_previewView);

    auto* done = new QPushButton(tr("Done"), bottom);
    done->setDefault(true);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->addStretch(1);
    bottomLayout->addWidget(done);

    auto* groundLayout = new QVBoxLayout(ground);
    groundLayout->addLayout(flags);
    groundLayout->addWidget(middle, 1);
    groundLayout->addWidget(bottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ground);
    resize(520, 320);

    connect(m_autoPlay, &QCheckBox::toggled, this,
            [this](bool on) { checkAutoPlayFirstAction(on); });
    connect(m_playByTurn, &QCheckBox::toggled, this,
            [this](bool on) { checkPlayByTurnAction(on); });
    connect(m_loopSecPopButton, &QComboBox::activated, this,
            [this](int index) { chooseLoopTitle(m_loopSecPopButton->itemText(index)); });
    connect(m_borderWell, &QPushButton::clicked, this, [this] { chooseColor(true); });
    connect(m_fillWell, &QPushButton::clicked, this, [this] { chooseColor(false); });
    connect(m_borderAlpha, &QDoubleSpinBox::valueChanged, this,
            [this](double a) { borderColorAlphaChanged(a); });
    connect(m_fillAlpha, &QDoubleSpinBox::valueChanged, this,
            [this](double a) { fillColorAlphaChanged(a); });
    connect(m_widthSlider, &QSlider::valueChanged, this,
            [this](int w) { borderWidthSliderChangedAction(w); });
    connect(done, &QPushButton::clicked, this, [this] { doneAction(); });
    refreshHighlightControls();
}

std::shared_ptr<DVDResource> PlayModeWindowController::dvd() const
{
    return m_host ? m_host->dvd() : nullptr;
}

void PlayModeWindowController::showWindowInModel()
{
    const auto disc = dvd();
    if (disc) {
        const QSignalBlocker blockAuto(m_autoPlay);
        const QSignalBlocker blockTurn(m_playByTurn);
        m_autoPlay->setChecked(disc->autoPlayFirstTitle());
        m_playByTurn->setChecked(disc->playTitleSequence());
        m_borderColor = PlayModeRules::opaque(disc->borderColor());
        m_borderColorAlpha = disc->borderColor().isValid() ? disc->borderColor().alphaF() : 1.0;
        m_borderWidth = disc->borderWidth();
        m_fillColor = PlayModeRules::opaque(disc->fillColor());
        m_fillColorAlpha = disc->fillColor().isValid() ? disc->fillColor().alphaF() : 1.0;
    }
    updateSecPopBtnSelect();
    refreshHighlightControls();
    open();
}

void PlayModeWindowController::initSecPopBtn()
{
    const QSignalBlocker block(m_loopSecPopButton);
    m_loopSecPopButton->clear();
    m_loopSecPopButton->addItems(PlayModeRules::secondsTitles());
    m_loopSecPopButton->insertSeparator(m_loopSecPopButton->count());
    m_loopSecPopButton->addItem(PlayModeRules::musicLengthTitle());
}

void PlayModeWindowController::updateSecPopBtnSelect()
{
    initSecPopBtn();
    const auto disc = dvd();
    auto* main = m_host;
    const bool byMusic = disc && disc->useBackMusicLengthAsPageDuration();
    const double duration = main ? main->getCurrentDVDMenuDuration() : 15.0;
    const QString title = PlayModeRules::selectedTitle(byMusic, duration);
    const QSignalBlocker block(m_loopSecPopButton);
    m_loopSecPopButton->setCurrentIndex(title.isEmpty() ? -1 : m_loopSecPopButton->findText(title));
}

QStringList PlayModeWindowController::loopTitles() const
{
    QStringList titles;
    for (int i = 0; i < m_loopSecPopButton->count(); ++i) {
        titles << m_loopSecPopButton->itemText(i);
    }
    return titles;
}

QString PlayModeWindowController::selectedLoopTitle() const
{
    return m_loopSecPopButton->currentIndex() < 0 ? QString() : m_loopSecPopButton->currentText();
}

bool PlayModeWindowController::autoPlayWhenInsert() const
{
    return m_autoPlay->isChecked();
}

bool PlayModeWindowController::playByTurn() const
{
    return m_playByTurn->isChecked();
}

void PlayModeWindowController::checkAutoPlayFirstAction(bool on)
{
    if (m_autoPlay->isChecked() != on) {
        const QSignalBlocker block(m_autoPlay);
        m_autoPlay->setChecked(on);
    }
    if (const auto disc = dvd()) {
        disc->setAutoPlayFirstTitle(on);
    }
}

void PlayModeWindowController::checkPlayByTurnAction(bool on)
{
    if (m_playByTurn->isChecked() != on) {
        const QSignalBlocker block(m_playByTurn);
        m_playByTurn->setChecked(on);
    }
    if (const auto disc = dvd()) {
        disc->setPlayTitleSequence(on);
    }
}

void PlayModeWindowController::chooseLoopTitle(const QString& title)
{
    const int index = m_loopSecPopButton->findText(title);
    if (index < 0) {
        return;
    }
    {
        const QSignalBlocker block(m_loopSecPopButton);
        m_loopSecPopButton->setCurrentIndex(index);
    }
    if (const auto disc = dvd()) {
        disc->setUseBackMusicLengthAsPageDuration(title == PlayModeRules::musicLengthTitle());
    }
    saveMenuDurationToPages();
}

void PlayModeWindowController::saveMenuDurationToPages()
{
    if (const auto disc = dvd()) {
        PlayModeRules::saveMenuDurationToPages(disc->pageArray(), selectedLoopTitle());
    }
    if (m_host) {
        m_host->changeCapacityValue();
    }
}

void PlayModeWindowController::chooseColor(bool border)
{
    auto* panel = new QColorDialog(border ? m_borderColor : m_fillColor, this);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QColorDialog::colorSelected, this, [this, border](const QColor& color) {
        border ? borderColorChangedAction(color) : fillColorChangedAction(color);
    });
    panel->open();
}

void PlayModeWindowController::borderColorChangedAction(const QColor& color)
{
    m_borderColor = PlayModeRules::opaque(color);
    writeHighlight();
}

void PlayModeWindowController::borderColorAlphaChanged(double alpha)
{
    m_borderColorAlpha = std::clamp(alpha, 0.0, 1.0);
    writeHighlight();
}

void PlayModeWindowController::borderWidthSliderChangedAction(double width)
{
    m_borderWidth = std::max(0.0, width);
    writeHighlight();
}

void PlayModeWindowController::fillColorChangedAction(const QColor& color)
{
    m_fillColor = PlayModeRules::opaque(color);
    writeHighlight();
}

void PlayModeWindowController::fillColorAlphaChanged(double alpha)
{
    m_fillColorAlpha = std::clamp(alpha, 0.0, 1.0);
    writeHighlight();
}

void PlayModeWindowController::writeHighlight()
{
    if (const auto disc = dvd()) {
        disc->setBorderColor(PlayModeRules::withAlpha(m_borderColor, m_borderColorAlpha));
        disc->setBorderWidth(m_borderWidth);
        disc->setFillColor(PlayModeRules::withAlpha(m_fillColor, m_fillColorAlpha));
    }
    refreshHighlightControls();
    m_previewView->displayPreviewView();
}

void PlayModeWindowController::refreshHighlightControls()
{
    const QSignalBlocker blockBorder(m_borderAlpha);
    const QSignalBlocker blockFill(m_fillAlpha);
    const QSignalBlocker blockWidth(m_widthSlider);
    paintWell(m_borderWell, m_borderColor);
    paintWell(m_fillWell, m_fillColor);
    m_borderAlpha->setValue(m_borderColorAlpha);
    m_fillAlpha->setValue(m_fillColorAlpha);
    m_widthSlider->setValue(int(m_borderWidth));
    m_previewView->setHighlight(PlayModeRules::withAlpha(m_borderColor, m_borderColorAlpha),
                                m_borderWidth,
                                PlayModeRules::withAlpha(m_fillColor, m_fillColorAlpha));
}
