#include "shell/DiscQualityControls.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <algorithm>

#include "model/DVDResource.h"
#include "shell/CustomCapacityView.h"
#include "shell/CustomQualityPanel.h"
#include "shell/core/FileLogger.h"
#include "shell/core/IDocumentHost.h"

DiscQualityControls::DiscQualityControls(IDocumentHost& host) : m_host(host) {}

void DiscQualityControls::makeBarWidgets()
{
    if (m_capacityView) {
        return;
    }
    m_capacityView = new CustomCapacityView;
    m_capacityView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_dvdQualityPopBtn = new QComboBox;
    m_dvdQualityPopBtn->setToolTip(QStringLiteral("Video quality"));
    connect(m_dvdQualityPopBtn, &QComboBox::activated, this,
            &DiscQualityControls::dvdQualityChosen);
    m_dvdModelPopButton = new QComboBox;
    m_dvdModelPopButton->setToolTip(QStringLiteral("Disc size"));
    connect(m_dvdModelPopButton, &QComboBox::activated, this,
            &DiscQualityControls::dvdModelChangedAction);
}

void DiscQualityControls::makeCustomQualityWindow(QWidget* window)
{
    if (m_customQualityWindow) {
        return;
    }
    m_customQualityWindow = new CustomQualityPanel(m_minQualityValue, m_maxQualityValue, window);
    connect(m_customQualityWindow, &CustomQualityPanel::fieldEdited, this,
            &DiscQualityControls::changedQualityUseField);
    connect(m_customQualityWindow, &CustomQualityPanel::sliderMoved, this,
            &DiscQualityControls::changeQualityUseSlider);
    connect(m_customQualityWindow, &CustomQualityPanel::willClose, this,
            &DiscQualityControls::customQualityWindowWillClose);
}

void DiscQualityControls::setUp()
{
    m_minQualityValue = QualityMenuModel::minQualityValue;
    m_maxQualityValue = QualityMenuModel::maxQualityValue;
    m_capacity = CapacityEstimate::resultForUsedSpace(0, CapacityEstimate::singleLayerCapacity);
    if (m_dvdModelPopButton) {
        const QSignalBlocker blocker(m_dvdModelPopButton);
        m_dvdModelPopButton->clear();
        m_dvdModelPopButton->addItems(DvdModelTitles);
        m_dvdModelPopButton->setCurrentIndex(0);
    }
    setDvdQualityMenu();
    showCapacity();
}

qint64 DiscQualityControls::projectBitrate() const
{
    const auto disc = m_host.dvd();
    return disc ? disc->dvdBitrate() : DVDResource().dvdBitrate();
}

void DiscQualityControls::setProjectBitrate(qint64 bitrate)
{
    if (const auto disc = m_host.dvd()) {
        disc->setDvdBitrate(bitrate);
    }
}

void DiscQualityControls::setDvdQualityMenu()
{
    m_dvdQualityMenu = QualityMenuModel::setDvdQualityMenu(projectBitrate());
    if (!m_dvdQualityPopBtn) {
        return;
    }
    const QSignalBlocker blocker(m_dvdQualityPopBtn);
    m_dvdQualityPopBtn->clear();
    for (const QualityMenuModel::Entry& entry : m_dvdQualityMenu.entries()) {
        if (entry.action == QualityMenuModel::Action::Separator) {
            m_dvdQualityPopBtn->insertSeparator(m_dvdQualityPopBtn->count());
        } else {
            m_dvdQualityPopBtn->addItem(entry.title);
        }
    }
    m_dvdQualityPopBtn->setCurrentIndex(int(m_dvdQualityMenu.selectedIndex()));
}

void DiscQualityControls::dvdQualityChosen(int index)
{
    const auto& entries = m_dvdQualityMenu.entries();
    if (index < 0 || index >= entries.size()) {
        return;
    }
    const QualityMenuModel::Entry& entry = entries.at(index);
    switch (entry.action) {
        case QualityMenuModel::Action::Preset:
            menuItemDVDQualityAction(entry.tag);
            break;
        case QualityMenuModel::Action::ExistQuality:
            useExistQualityAction(entry.title);
            break;
        case QualityMenuModel::Action::CustomSize:
            openCustomDvdQualityWnd();
            break;
        case QualityMenuModel::Action::Separator:
            break;
    }
}

void DiscQualityControls::menuItemDVDQualityAction(qint64 tag)
{
    if (const auto bitrate = QualityMenuModel::bitrateForPresetTag(tag)) {
        setProjectBitrate(*bitrate);
        m_host.changeCapacityValue();
    }
}

void DiscQualityControls::useExistQualityAction(const QString& title)
{
    setProjectBitrate(QualityMenuModel::bitrateForExistQualityTitle(title));
    m_host.changeCapacityValue();
}

void DiscQualityControls::openCustomDvdQualityWnd()
{
    m_qualityValue = projectBitrate();
    if (!m_customQualityWindow) {
        return;
    }
    m_customQualityWindow->showQualityValue(m_qualityValue);
    m_customQualityWindow->open();
}

void DiscQualityControls::changedQualityUseField(qint64 value)
{
    m_qualityValue = std::min(std::max(value, m_minQualityValue), m_maxQualityValue);
    if (m_customQualityWindow) {
        m_customQualityWindow->showQualityValue(m_qualityValue);
    }
    doCustomQualityOk();
}

void DiscQualityControls::changeQualityUseSlider(qint64 value)
{
    m_qualityValue = value;
    if (m_customQualityWindow) {
        m_customQualityWindow->showQualityValue(m_qualityValue);
    }
    doCustomQualityOk();
}

void DiscQualityControls::customQualityOkAction()
{
    if (m_customQualityWindow) {
        m_customQualityWindow->accept();  // closing applies the value
    }
}

void DiscQualityControls::doCustomQualityOk()
{
    setProjectBitrate(m_qualityValue);
    setDvdQualityMenu();
    m_host.changeCapacityValue();
}

void DiscQualityControls::dvdModelChangedAction()
{
    FileLogger::writeLine(QStringLiteral("dvd model change"));
    m_host.changeCapacityValue();
}

int DiscQualityControls::dvdModelIndex() const
{
    return m_dvdModelPopButton ? std::max(0, m_dvdModelPopButton->currentIndex()) : 0;
}

void DiscQualityControls::changeCapacityValue(int modelIndex)
{
    const auto disc = m_host.dvd();
    if (!disc) {
        m_capacity = CapacityEstimate::resultForUsedSpace(
            0, CapacityEstimate::capacityForDiscModel(modelIndex));
    } else {
        m_capacity =
            CapacityEstimate::changeCapacityValue(m_host.dateResource().get(), *disc, modelIndex);
    }
    showCapacity();
}

void DiscQualityControls::showCapacity()
{
    if (m_capacityView) {
        m_capacityView->setShowString(m_capacity.showString);
        m_capacityView->setCapacityValue(m_capacity.capacityValue);
    }
}
