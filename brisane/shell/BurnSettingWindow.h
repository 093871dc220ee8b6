#pragma once
// The burn settings sheet of the main window: the disc name, the output
// kind (a disc, a DVD folder, a ".dvdmedia" package or an ISO image), the
// drive or the output folder, and the TV standard. A status line says why
// the project cannot be burnt yet; Start is enabled exactly when canBurn().
//
// awakeDVDBurnSettingWindow prepares it again at every opening. Drive and
// disc events (devicesDidChanged, deviceStatusDidChanged) re-run the disc
// tests only; the drive list is rebuilt only when the sheet opens.
//
// startBurnAction checks the name, the project's files and the free space,
// builds the disc model, closes the sheet and starts the chosen road in a new
// production window (BurnDVDCtrl); it returns at once, and productionEnded
// tells how the road ended. A
// project whose files are missing or unreadable, or whose disc model would
// leave a clip out, is refused before anything is made, with an alert that
// names them. The disc road
// burns with the main window's DVDBurn (setDVDBurn): the drive chosen in the
// pop-up is the one that burns.
//
// The burner state, the free-space figure, the folder panel and the burn
// step's waits can be replaced (tests). Everything runs on the main thread.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "corvane/DVDBurnDeviceStatusDelegate.h"
#include "corvane/DVDBurnDevicesDelegate.h"
#include "production/BurnDVDWorkflow.h"
#include "production/ProductionResult.h"

class BurnDVDCtrl;
class DataResource;
class DVDBurn;
class DVDLibrary;
class DVDResource;
class IBurnerState;
class MainWindowController;
class OpenProject;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class BurnSettingWindow : public QDialog,
                          public DVDBurnDevicesDelegate,
                          public DVDBurnDeviceStatusDelegate {
    Q_OBJECT
public:
    using FreeSpaceFunction = std::function<std::optional<qint64>(const QString& path)>;
    using FolderChooser = std::function<QString(QWidget* parent)>;

    // `owner` gives the size estimate and the disc model; `parent` is the
    // main window the sheet belongs to. The sheet works on `project`, or on
    // the owner's open project when `project` is null.
    BurnSettingWindow(MainWindowController* owner, QWidget* parent,
                      std::shared_ptr<OpenProject> project = nullptr);
    ~BurnSettingWindow() override;

    // The burner whose drives the pop-up lists and which burns the disc
    // (not owned; it outlives the sheet). Sets the burner state over it.
    void setDVDBurn(DVDBurn* burner);
    // What the sheet reads of the burner; without a DVDBurn a disc cannot
    // be burned.
    void setBurnerState(std::shared_ptr<IBurnerState> burner);
    void setFreeSpaceFunction(FreeSpaceFunction function) { m_freeSpace = std::move(function); }
    void setFolderChooser(FolderChooser chooser) { m_folderChooser = std::move(chooser); }
    void setBurnIntervals(const BurnDVDWorkflow::BurnIntervals& intervals)
    {
        m_burnIntervals = intervals;
    }
    // The size estimate; the main window's totalUsedSpace by default.
    void setEstimateFunction(std::function<qint64()> estimate) { m_estimate = std::move(estimate); }
    qint64 totalUsedSpace() const;

    // The Burn button: the TV standard from the locale, prepare, show.
    void burnDvdButtonAction();
    void awakeDVDBurnSettingWindow();
    void setStatusString(const QString& text);
    bool hasMediaInList() const;
    void burnTypeChangedAction();
    void updateDVDBurnStatus();
    void chooseFolderAction();
    void changeDVDBurnDevice();
    // Chooses the drive of the pop-up's entry `index`.
    void selectDVDDeviceWithIndex(int index);
    void deviceChangedAction();
    void devicesDidChanged() override;
    void deviceStatusDidChanged() override;
    void tvStandardChangedAction();
    void cancelBurnAction();
    // Answers why production was refused before anything was made, or
    // nothing: when the start stopped at the sheet (a name too long, "Stop
    // Burn") or when a road began, which ends with productionEnded.
    std::optional<ProductionResult> startBurnAction();

    bool canBurn() const { return m_canBurn; }
    int burnType() const;
    void setBurnType(int type);
    QString statusString() const;
    QColor statusColor() const;
    QString selectedDir() const;
    void setSelectedDir(const QString& path);
    QLineEdit* dvdNameField() const { return m_dvdNameField; }
    QComboBox* devicePopButton() const { return m_devicePopButton; }
    QWidget* dvdOptionView() const { return m_dvdOptionView; }
    QWidget* chooseFolderView() const { return m_chooseFolderView; }
    QPushButton* startButton() const { return m_startButton; }
    // The production window of the last road begun; null before.
    BurnDVDCtrl* dvdBurner() const { return m_dvdBurner; }

signals:
    // The road begun by startBurnAction has ended, its end shown.
    void productionEnded(const ProductionResult& result);

private:
    void buildWindow();
    void setCanBurn(bool canBurn);
    void writeDiagnostics() const;
    bool confirmFreeSpace(const QString& folder, qint64 need);
    std::optional<qint64> freeSpaceAt(const QString& path) const;
    // Production refused before anything is made, with an alert that names
    // the project's missing or unreadable files, or the clips the disc model
    // left out; nothing when there are none.
    std::optional<ProductionResult> refuseMissingSources();
    std::optional<ProductionResult> refuseClipsLeftOut();
    ProductionResult refuseProduction(const QString& heading, const QString& details);
    // Begins the chosen road; answers a failure when it cannot begin.
    std::optional<ProductionResult> runRoad(const std::shared_ptr<DVDLibrary>& dvd,
                                            const QString& folder, const QString& name);

    std::shared_ptr<DVDResource> dvd() const;
    std::shared_ptr<DataResource> dateResource() const;

    MainWindowController* m_owner;
    std::shared_ptr<OpenProject> m_project;
    std::shared_ptr<IBurnerState> m_burner;
    FreeSpaceFunction m_freeSpace;
    FolderChooser m_folderChooser;
    DVDBurn* m_dvdBurn = nullptr;
    BurnDVDWorkflow::BurnIntervals m_burnIntervals;
    std::function<qint64()> m_estimate;
    bool m_canBurn = false;

    QLineEdit* m_dvdNameField = nullptr;
    QButtonGroup* m_burnTypeGroup = nullptr;
    QButtonGroup* m_tvStandardGroup = nullptr;
    QWidget* m_dvdOptionView = nullptr;
    QWidget* m_chooseFolderView = nullptr;
    QComboBox* m_devicePopButton = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_selectedDirLabel = nullptr;
    QPushButton* m_startButton = nullptr;
    BurnDVDCtrl* m_dvdBurner = nullptr;
};
