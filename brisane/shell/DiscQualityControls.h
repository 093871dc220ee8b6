#pragma once
// The disc-space controls of the main window's bottom bar: the video quality
// pop-up (QualityMenuModel over the open project's bitrate), the custom
// bitrate panel, the disc-size pop-up ("D5 / 4.7GB" first, "D9 / 8.3GB") and
// the capacity bar showing the disc size estimate (CapacityEstimate).
//
// A quality chosen is written into the open project's disc settings and the
// document host asked to recompute the estimate (its changeCapacityValue,
// which answers with changeCapacityValue here). The main window controller
// owns the controls, places their widgets in its bar and forwards its own
// operations of the same names; without widgets (a controller never set up)
// the model and the estimate still answer. Main thread.

#include <QObject>
#include <QStringList>

#include "shell/core/CapacityEstimate.h"
#include "shell/core/QualityMenuModel.h"

class CustomCapacityView;
class CustomQualityPanel;
class IDocumentHost;
class QComboBox;
class QWidget;

class DiscQualityControls : public QObject {
    Q_OBJECT
public:
    static inline const QStringList DvdModelTitles = {QStringLiteral("D5 / 4.7GB"),
                                                      QStringLiteral("D9 / 8.3GB")};

    // Works on the open project of `host`, which outlives the controls.
    explicit DiscQualityControls(IDocumentHost& host);

    // Makes the capacity bar and the two pop-ups, for the bar. Once.
    void makeBarWidgets();
    // Makes the custom bitrate panel on `window`. Once.
    void makeCustomQualityWindow(QWidget* window);
    // The set-up steps of the main window: the custom bitrate bounds and an
    // empty estimate, the disc sizes with D5 chosen, the quality pop-up, the
    // capacity bar.
    void setUp();

    QComboBox* dvdQualityPopBtn() const { return m_dvdQualityPopBtn; }
    QComboBox* dvdModelPopButton() const { return m_dvdModelPopButton; }
    CustomCapacityView* capacityView() const { return m_capacityView; }
    CustomQualityPanel* customQualityWindow() const { return m_customQualityWindow; }
    const QualityMenuModel& dvdQualityMenu() const { return m_dvdQualityMenu; }
    qint64 minQualityValue() const { return m_minQualityValue; }
    qint64 maxQualityValue() const { return m_maxQualityValue; }
    qint64 qualityValue() const { return m_qualityValue; }
    void setQualityValue(qint64 value) { m_qualityValue = value; }

    // Rebuilds the quality pop-up for the project's bitrate.
    void setDvdQualityMenu();
    // The pop-up's entry at `index` chosen.
    void dvdQualityChosen(int index);
    void menuItemDVDQualityAction(qint64 tag);
    void useExistQualityAction(const QString& title);
    // Shows the custom bitrate panel on the project's bitrate.
    void openCustomDvdQualityWnd();
    void changedQualityUseField(qint64 value);
    void changeQualityUseSlider(qint64 value);
    void customQualityOkAction();
    // The project's bitrate becomes qualityValue; the pop-up and the
    // estimate follow.
    void doCustomQualityOk();
    void dvdModelChangedAction();

    // The disc size chosen: 0 for D5 (also without the pop-up), 1 for D9.
    int dvdModelIndex() const;
    // Recomputes the estimate of the open project for the disc size
    // `modelIndex` and shows it on the capacity bar.
    void changeCapacityValue(int modelIndex);
    // The latest estimate, in bytes, and what the capacity bar shows for it.
    qint64 totalUsedSpace() const { return m_capacity.totalUsedSpace; }
    const CapacityEstimate::Result& capacityEstimate() const { return m_capacity; }

signals:
    // The custom bitrate panel is closing (its value has been applied).
    void customQualityWindowWillClose();

private:
    qint64 projectBitrate() const;
    void setProjectBitrate(qint64 bitrate);
    void showCapacity();

    IDocumentHost& m_host;
    QComboBox* m_dvdQualityPopBtn = nullptr;
    QComboBox* m_dvdModelPopButton = nullptr;
    CustomCapacityView* m_capacityView = nullptr;
    CustomQualityPanel* m_customQualityWindow = nullptr;
    QualityMenuModel m_dvdQualityMenu;
    qint64 m_minQualityValue = QualityMenuModel::minQualityValue;
    qint64 m_maxQualityValue = QualityMenuModel::maxQualityValue;
    qint64 m_qualityValue = 0;
    CapacityEstimate::Result m_capacity;
};
