#include "shell/BurnSettingWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDebug>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/FileManagerExtention.h"
#include "common/widgets/AlertService.h"
#include "model/DVDFileSource.h"
#include "model/DVDResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/ProjectSourceCheck.h"
#include "model/SectionDataResource.h"
#include "production/DVDBurnAdapter.h"
#include "production/DVDFuncLib.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/MainWindowController.h"
#include "shell/core/BurnSettingRules.h"
#include "shell/core/DVDBurnerState.h"
#include "shell/core/IBurnerState.h"
#include "shell/core/OpenProject.h"

using namespace BurnSettingRules;

namespace {

const QColor ReadyColor(Qt::blue);
const QColor ProblemColor(Qt::red);

QString chooseFolderWithPanel(QWidget* parent)
{
    QFileDialog panel(parent, QStringLiteral("Choose Directory"));
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    panel.setLabelText(QFileDialog::Accept, QStringLiteral("Choose"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty()) {
        return {};
    }
    return panel.selectedFiles().constLast();
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

BurnSettingWindow::BurnSettingWindow(MainWindowController* owner, QWidget* parent,
                                     std::shared_ptr<OpenProject> project)
    : QDialog(parent),
      m_owner(owner),
      m_project(std::move(project)),
      m_folderChooser(chooseFolderWithPanel)
{
    setObjectName(QStringLiteral("burnSettingWindow"));
    setWindowTitle(QStringLiteral("Burn"));
    setWindowModality(Qt::WindowModal);
    m_freeSpace = [](const QString& path) { return freeBytesAt(path); };
    buildWindow();
}

BurnSettingWindow::~BurnSettingWindow() = default;

std::shared_ptr<DVDResource> BurnSettingWindow::dvd() const
{
    if (m_project) {
        return m_project->dvd();
    }
    return m_owner ? m_owner->dvd() : nullptr;
}

std::shared_ptr<DataResource> BurnSettingWindow::dateResource() const
{
    if (m_project) {
        return m_project->dateResource();
    }
    return m_owner ? m_owner->dateResource() : nullptr;
}

void BurnSettingWindow::buildWindow()
{
    m_dvdNameField = new QLineEdit;

    m_burnTypeGroup = new QButtonGroup(this);
    auto* kinds = new QVBoxLayout;
    const QStringList kindTitles = {QStringLiteral("DVD Disc"), QStringLiteral("DVD Folder"),
                                    QStringLiteral("DVD Media Package (.dvdmedia)"),
                                    QStringLiteral("ISO Image")};
    for (int tag = 0; tag < kindTitles.size(); ++tag) {
        auto* radio = new QRadioButton(kindTitles.at(tag));
        m_burnTypeGroup->addButton(radio, tag);
        kinds->addWidget(radio);
    }
    connect(m_burnTypeGroup, &QButtonGroup::idClicked, this, [this] { burnTypeChangedAction(); });

    m_tvStandardGroup = new QButtonGroup(this);
    auto* standards = new QHBoxLayout;
    const QStringList standardTitles = {QStringLiteral("NTSC"), QStringLiteral("PAL")};
    for (int tag = 0; tag < standardTitles.size(); ++tag) {
        auto* radio = new QRadioButton(standardTitles.at(tag));
        m_tvStandardGroup->addButton(radio, tag);
        standards->addWidget(radio);
    }
    standards->addStretch(1);
    connect(m_tvStandardGroup, &QButtonGroup::idClicked, this,
            [this] { tvStandardChangedAction(); });

    m_dvdOptionView = new QWidget;
    m_devicePopButton = new QComboBox;
    connect(m_devicePopButton, &QComboBox::activated, this, [this] { deviceChangedAction(); });
    auto* driveRow = new QHBoxLayout(m_dvdOptionView);
    driveRow->setContentsMargins(0, 0, 0, 0);
    driveRow->addWidget(new QLabel(QStringLiteral("Drive:")));
    driveRow->addWidget(m_devicePopButton, 1);

    m_chooseFolderView = new QWidget;
    m_selectedDirLabel = new QLabel;
    m_selectedDirLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_selectedDirLabel->setMinimumWidth(260);
    auto* chooseButton = new QPushButton(QStringLiteral("Choose"));
    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseFolderAction(); });
    auto* folderRow = new QHBoxLayout(m_chooseFolderView);
    folderRow->setContentsMargins(0, 0, 0, 0);
    folderRow->addWidget(new QLabel(QStringLiteral("Folder:")));
    folderRow->addWidget(m_selectedDirLabel, 1);
    folderRow->addWidget(chooseButton);

    m_statusLabel = new QLabel;

    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"));
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelBurnAction(); });
    m_startButton = new QPushButton(QStringLiteral("Start"));
    m_startButton->setDefault(true);
    m_startButton->setEnabled(false);
    connect(m_startButton, &QPushButton::clicked, this, [this] { startBurnAction(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(m_startButton);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Disc name:"), m_dvdNameField);
    form->addRow(QStringLiteral("Output:"), kinds);
    form->addRow(QStringLiteral("TV standard:"), standards);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_dvdOptionView);
    layout->addWidget(m_chooseFolderView);
    layout->addWidget(m_statusLabel);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

qint64 BurnSettingWindow::totalUsedSpace() const
{
    if (m_estimate) {
        return m_estimate();
    }
    return m_owner ? m_owner->totalUsedSpace() : 0;
}

void BurnSettingWindow::setDVDBurn(DVDBurn* burner)
{
    m_dvdBurn = burner;
    m_burner = burner ? std::make_shared<DVDBurnerState>(burner) : nullptr;
}

void BurnSettingWindow::setBurnerState(std::shared_ptr<IBurnerState> burner)
{
    m_burner = std::move(burner);
}

void BurnSettingWindow::burnDvdButtonAction()
{
    if (const auto disc = dvd()) {
        disc->setDvdFormat(DVDFuncLib::isDefaultUseDVDNTSC() ? 0 : 1);
    }
    awakeDVDBurnSettingWindow();
    open();
}

void BurnSettingWindow::awakeDVDBurnSettingWindow()
{
    const QString folder = FileManagerExtention::defaultOutputPath();
    FileManagerExtention::createDirectoryAtPathIfCan(folder);
    setSelectedDir(folder);
    m_dvdNameField->setText(InitialDiscName);
    setStatusString(ReadyToBurn);
    changeDVDBurnDevice();
    setBurnType(BurnDisc);
    const auto disc = dvd();
    const int format = disc && disc->dvdFormat() == 0 ? 0 : 1;
    if (QAbstractButton* standard = m_tvStandardGroup->button(format)) {
        const QSignalBlocker blocker(m_tvStandardGroup);
        standard->setChecked(true);
    }
}

void BurnSettingWindow::setStatusString(const QString& text)
{
    m_statusLabel->setText(text);
    QPalette palette = m_statusLabel->palette();
    palette.setColor(QPalette::WindowText, text == ReadyToBurn ? ReadyColor : ProblemColor);
    m_statusLabel->setPalette(palette);
}

QString BurnSettingWindow::statusString() const
{
    return m_statusLabel->text();
}

QColor BurnSettingWindow::statusColor() const
{
    return m_statusLabel->palette().color(QPalette::WindowText);
}

bool BurnSettingWindow::hasMediaInList() const
{
    const auto media = dateResource();
    return BurnSettingRules::hasMediaInList(media.get());
}

int BurnSettingWindow::burnType() const
{
    return std::max(0, m_burnTypeGroup->checkedId());
}

void BurnSettingWindow::setBurnType(int type)
{
    if (QAbstractButton* radio = m_burnTypeGroup->button(type)) {
        const QSignalBlocker blocker(m_burnTypeGroup);
        radio->setChecked(true);
    }
    burnTypeChangedAction();
}

QString BurnSettingWindow::selectedDir() const
{
    return m_selectedDirLabel->text();
}

void BurnSettingWindow::setSelectedDir(const QString& path)
{
    m_selectedDirLabel->setText(path);
}

void BurnSettingWindow::setCanBurn(bool canBurn)
{
    m_canBurn = canBurn;
    m_startButton->setEnabled(canBurn);
}

void BurnSettingWindow::burnTypeChangedAction()
{
    const bool disc = burnType() == BurnDisc;
    m_dvdOptionView->setVisible(disc);
    m_chooseFolderView->setVisible(!disc);
    if (disc) {
        updateDVDBurnStatus();
        return;
    }
    const QString status = fileStatus(hasMediaInList(), QFileInfo(selectedDir()).isDir());
    setCanBurn(status == ReadyToBurn);
    setStatusString(status);
}

void BurnSettingWindow::updateDVDBurnStatus()
{
    if (burnType() != BurnDisc) {
        return;
    }
    setCanBurn(false);
    if (!m_burner) {
        setStatusString(hasMediaInList() ? NoDevice : NoMedia);
        return;
    }
    const QString status = discStatus(hasMediaInList(), *m_burner, totalUsedSpace());
    setStatusString(status);
    setCanBurn(status == ReadyToBurn);
    writeDiagnostics();
}

void BurnSettingWindow::writeDiagnostics() const
{
    if (!m_burner || !m_burner->hasDevice() || !m_burner->mediaIsPresent()) {
        return;
    }
    qInfo().noquote() << QStringLiteral("blank:%1").arg(yesNo(m_burner->mediaIsBlank()));
    qInfo().noquote()
        << QStringLiteral("IsOverwritable:%1").arg(yesNo(m_burner->mediaIsOverwritable()));
    qInfo().noquote() << QStringLiteral("free:%1").arg(m_burner->mediaSpaceFree());
    qInfo().noquote() << QStringLiteral("used:%1").arg(m_burner->mediaSpaceUsed());
    qInfo().noquote() << QStringLiteral("writable:%1").arg(m_burner->mediaSpaceOverwritable());
}

void BurnSettingWindow::chooseFolderAction()
{
    const QString chosen = m_folderChooser ? m_folderChooser(this) : QString();
    if (chosen.isEmpty()) {
        return;
    }
    setSelectedDir(chosen);
    burnTypeChangedAction();
}

void BurnSettingWindow::changeDVDBurnDevice()
{
    const QSignalBlocker blocker(m_devicePopButton);
    m_devicePopButton->clear();
    if (!m_burner) {
        return;
    }
    // A drive without a name gets no entry: each entry keeps the index of
    // its own drive.
    const QStringList names = m_burner->deviceNames();
    for (int drive = 0; drive < names.size(); ++drive) {
        if (!names.at(drive).isEmpty()) {
            m_devicePopButton->addItem(names.at(drive), drive);
        }
    }
    if (!names.isEmpty()) {
        selectDVDDeviceWithIndex(0);
    }
}

void BurnSettingWindow::selectDVDDeviceWithIndex(int index)
{
    if (!m_burner || index < 0 || index >= m_devicePopButton->count()) {
        return;
    }
    const int drive = m_devicePopButton->itemData(index).toInt();
    if (drive < 0 || drive >= m_burner->deviceNames().size()) {
        return;
    }
    const QSignalBlocker blocker(m_devicePopButton);
    m_devicePopButton->setCurrentIndex(index);
    m_burner->setDevice(drive);
}

void BurnSettingWindow::deviceChangedAction()
{
    selectDVDDeviceWithIndex(m_devicePopButton->currentIndex());
    updateDVDBurnStatus();
}

void BurnSettingWindow::devicesDidChanged()
{
    updateDVDBurnStatus();
}

void BurnSettingWindow::deviceStatusDidChanged()
{
    updateDVDBurnStatus();
}

void BurnSettingWindow::tvStandardChangedAction()
{
    if (const auto disc = dvd()) {
        disc->setDvdFormat(std::max(0, m_tvStandardGroup->checkedId()));
    }
}

void BurnSettingWindow::cancelBurnAction()
{
    reject();
}

std::optional<qint64> BurnSettingWindow::freeSpaceAt(const QString& path) const
{
    return m_freeSpace ? m_freeSpace(path) : std::nullopt;
}

bool BurnSettingWindow::confirmFreeSpace(const QString& folder, qint64 need)
{
    // Every file system the road writes to must hold the need: the least
    // free one counts.
    std::optional<qint64> free;
    for (const QString& written :
         writtenFolders(burnType(), folder, FileManagerExtention::defaultOutputVideoPath(),
                        FileManagerExtention::tempUsedFileDirectory())) {
        const std::optional<qint64> there = freeSpaceAt(written);
        if (there && (!free || *there < *free)) {
            free = there;
        }
    }
    const qint64 freeBytes = free.value_or(0);
    if (freeBytes > need) {
        return true;
    }
    AlertContent alert;
    alert.message = QStringLiteral("Free disk space is not enough.");
    alert.informativeText =
        QStringLiteral(
            "%1 space is available on the disk.\n"
            "To continue, need %2 free hard space .")
            .arg(spaceDisplayStringWithSize(freeBytes), spaceDisplayStringWithSize(need));
    alert.defaultButton = QStringLiteral("Continue Burn");
    alert.alternateButton = QStringLiteral("Stop Burn");
    return AlertService::current()->runAlert(alert, this) == AlertService::DefaultReturn;
}

std::optional<ProductionResult> BurnSettingWindow::startBurnAction()
{
    if (!m_canBurn) {
        return std::nullopt;
    }
    const QString name = discName(m_dvdNameField->text());
    if (isNameTooLong(name)) {
        AlertContent alert;
        alert.message = QStringLiteral("DVD Name is too long, the max length is 31 chars .");
        alert.informativeText = QStringLiteral("'%1' is too long").arg(name);
        alert.defaultButton = QStringLiteral("OK");
        AlertService::current()->runAlert(alert, this);
        return std::nullopt;
    }
    if (auto refused = refuseMissingSources()) {
        return refused;
    }
    const std::shared_ptr<DVDLibrary> dvd = m_owner ? m_owner->getDVDObj() : nullptr;
    if (auto refused = refuseClipsLeftOut()) {
        return refused;
    }
    const QString folder = selectedDir();
    FileManagerExtention::createDirectoryAtPathIfCan(folder);
    if (!confirmFreeSpace(folder, neededSpace(totalUsedSpace()))) {
        return std::nullopt;
    }
    accept();
    return runRoad(dvd, folder, name);
}

std::optional<ProductionResult> BurnSettingWindow::refuseMissingSources()
{
    const ProjectRoots roots{dateResource(), dvd()};
    const QList<MissingSource> missing = ProjectSourceCheck::missingSources(roots);
    if (missing.isEmpty()) {
        return std::nullopt;
    }
    return refuseProduction(ProjectSourceCheck::refusalHeading(),
                            ProjectSourceCheck::describe(missing));
}

std::optional<ProductionResult> BurnSettingWindow::refuseClipsLeftOut()
{
    if (!m_owner || m_owner->clipsLeftOut().isEmpty()) {
        return std::nullopt;
    }
    QStringList lines;
    for (const auto& clip : m_owner->clipsLeftOut()) {
        const auto section = clip->sectionItem();
        const auto source = section ? section->superResource() : nullptr;
        const auto file = source ? source->fileSource() : nullptr;
        lines.append(QStringLiteral("clip \"%1\" (%2)")
                         .arg(clip->name(), file ? file->path() : clip->path()));
    }
    return refuseProduction(QStringLiteral("These clips have nothing to play:"), lines.join('\n'));
}

ProductionResult BurnSettingWindow::refuseProduction(const QString& heading, const QString& details)
{
    const QString reason = heading + QLatin1Char('\n') + details;
    qWarning().noquote() << "production refused:" << reason;
    AlertContent alert;
    alert.message = QStringLiteral("DVD Make Failed");
    alert.informativeText = reason + QStringLiteral("\nNothing was made.");
    alert.defaultButton = QStringLiteral("OK");
    AlertService::current()->runAlert(alert, this);
    return ProductionResult::failedAndShown(reason);
}

std::optional<ProductionResult> BurnSettingWindow::runRoad(const std::shared_ptr<DVDLibrary>& dvd,
                                                           const QString& folder,
                                                           const QString& name)
{
    const int type = burnType();
    if (type == BurnDisc && !m_dvdBurn) {
        // Only a sheet without the main window's burner gets here.
        qWarning().noquote() << "no burner to burn the disc with; nothing was burned";
        return ProductionResult::failed(QStringLiteral("No burner was chosen."));
    }
    delete m_dvdBurner;
    m_dvdBurner = new BurnDVDCtrl(parentWidget());
    BurnDVDCtrl& window = *m_dvdBurner;
    window.setBurnIntervals(m_burnIntervals);
    connect(&window, &BurnDVDCtrl::roadEnded, this, &BurnSettingWindow::productionEnded);
    switch (type) {
        case BurnDisc:
            window.burn(dvd, std::make_shared<DVDBurnAdapter>(m_dvdBurn), name);
            break;
        case BurnIso:
            window.burn(dvd, uniqueOutputPath(folder, name, type), name);
            break;
        default:
            window.burn(dvd, uniqueOutputPath(folder, name, type));
            break;
    }
    return std::nullopt;
}
