#pragma once
// The play mode sheet: whether the first title plays on insertion and the
// titles one after another, how long each menu page runs before it loops
// (5 to 60 seconds, or each page's music length), and the highlight of the
// selected menu button (border colour and opacity, border width, fill
// colour and opacity) with a live preview. Every control writes into the
// project at once; there is no Cancel. Opening reloads the controls from the
// project under signal blockers; closing marks the document edited. Rules
// without a window in PlayModeRules. Main thread only.

#include <QColor>
#include <QDialog>
#include <memory>

#include "shell/core/IPlayModeWindowController.h"

class IDocumentHost;
class ChooseBorderPreviewView;
class DVDResource;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSlider;

class PlayModeWindowController : public QDialog, public IPlayModeWindowController {
    Q_OBJECT
public:
    // A sheet on `parent` for the open project of `host` (not owned,
    // outliving the dialog; null: no project, no main window), whose menu
    // editor gives the page.
    explicit PlayModeWindowController(IDocumentHost* host, QWidget* parent = nullptr);

    QWidget* window() override { return this; }
    void showWindowInModel() override;

    std::shared_ptr<DVDResource> dvd() const;
    void checkAutoPlayFirstAction(bool on);
    void checkPlayByTurnAction(bool on);
    // Chooses a loop title: "5" .. "60" or "Background Music Length".
    void chooseLoopTitle(const QString& title);
    void borderColorChangedAction(const QColor& color);
    void borderColorAlphaChanged(double alpha);
    void borderWidthSliderChangedAction(double width);
    void fillColorChangedAction(const QColor& color);
    void fillColorAlphaChanged(double alpha);
    void doneAction() { accept(); }

    bool autoPlayWhenInsert() const;
    bool playByTurn() const;
    // The selected loop title; empty when none is selected.
    QString selectedLoopTitle() const;
    QStringList loopTitles() const;
    QColor borderColor() const { return m_borderColor; }
    double borderColorAlpha() const { return m_borderColorAlpha; }
    double borderWidth() const { return m_borderWidth; }
    QColor fillColor() const { return m_fillColor; }
    double fillColorAlpha() const { return m_fillColorAlpha; }
    ChooseBorderPreviewView* previewView() const { return m_previewView; }

private:
    void buildWindow();
    void initSecPopBtn();
    void updateSecPopBtnSelect();
    void saveMenuDurationToPages();
    void writeHighlight();
    void refreshHighlightControls();
    void chooseColor(bool border);

    IDocumentHost* const m_host;
    QColor m_borderColor = Qt::blue;
    double m_borderColorAlpha = 1.0;
    double m_borderWidth = 20.0;
    QColor m_fillColor = Qt::yellow;
    double m_fillColorAlpha = 1.0;
    QCheckBox* m_autoPlay = nullptr;
    QCheckBox* m_playByTurn = nullptr;
    QComboBox* m_loopSecPopButton = nullptr;
    QPushButton* m_borderWell = nullptr;
    QPushButton* m_fillWell = nullptr;
    QDoubleSpinBox* m_borderAlpha = nullptr;
    QDoubleSpinBox* m_fillAlpha = nullptr;
    QSlider* m_widthSlider = nullptr;
    ChooseBorderPreviewView* m_previewView = nullptr;
};
