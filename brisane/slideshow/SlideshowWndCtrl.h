#pragma once
// The transition chooser: a sheet on the slideshow editor in which the user
// picks a slideshow's transition and its seconds per photo.
//
// Every transition of the registry is a tile in a grid of four columns, built
// once when the chooser is made (the gaps between and beside the columns
// equal, rows 20 points apart with 20-point margins above and below). Hovering
// over a tile previews the transition at 160 × 120 and speed 1.5 on the eight
// stock pictures; clicking a tile chooses it: its settings are merged into the
// slideshow and the seconds per photo reset to its best duration. Below the
// grid: "Best Duration: %3.1f s", a slider from 1 to the transition's maximum
// (20 when it names none) and a field showing the seconds as "%.1f" + "S".
//
// Everything is written into the slideshow's settings at once; there is no
// Cancel. bDidChange tells the opener whether anything was touched. Closing
// the chooser stops every preview and drops the preview renderer. Main
// thread.

#include <QImage>
#include <QList>
#include <memory>
#include <optional>

#include "slideshow/SheetWindowController.h"
#include "slideshow/core/QuartzPreviewViewDelegate.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSlider;
class QuartzBackView;
class QuartzPreviewView;
class QuillonRenderer;
class RenderController;
class SlideshowItem;

class SlideshowWndCtrl : public SheetWindowController, public QuartzPreviewViewDelegate {
    Q_OBJECT
public:
    static constexpr int StockPictureCount = 8;
    static constexpr int Columns = 4;
    static constexpr double RowGap = 20.0;
    static constexpr double GridWidth = 700.0;
    static constexpr double PreviewSpeed = 1.5;
    static constexpr double DefaultMaxDuration = 20.0;

    // Over the shared transition registry, or `registry` (not owned; it must
    // outlive the chooser).
    explicit SlideshowWndCtrl(QWidget* sheetedWindow = nullptr);
    SlideshowWndCtrl(QWidget* sheetedWindow, RenderController& registry);
    ~SlideshowWndCtrl() override;

    // Stock picture "Preview<index>" of the hover previews.
    static QImage stockPreviewPicture(int index);

    // Opens the chooser on the settings and returns when it closes.
    void startEditting(const std::shared_ptr<SlideshowItem>& item);
    // The opening without the modal run (what startEditting does first).
    void beginEditting(const std::shared_ptr<SlideshowItem>& item);
    void endEditting();
    void done();

    bool bDidChange() const { return m_didChange; }
    std::shared_ptr<SlideshowItem> oItem() const { return m_item; }

    // The grid for a document `width` wide (once, at creation).
    void setupTemplates(double width);
    QuartzPreviewView* previewViewOfName(const QString& name) const;
    void stopAllPreviewings();
    // A tile's frame in the grid, y up.
    QRectF frameOfTile(const QuartzPreviewView* tile) const;

    // The slider moved; the duration field's editing began and ended.
    void changeDuration();
    void controlTextDidBeginEditing(QLineEdit* field);
    void controlTextDidEndEditing(QLineEdit* field);

    // QuartzPreviewViewDelegate
    void didEnterQuartzPreview(QuartzPreviewView* view) override;
    void didExitQuartzPreview(QuartzPreviewView* view) override;
    void didChooseQuartzPreview(QuartzPreviewView* view) override;
    void makeQuartzRendererImageOf(QuartzPreviewView* view, double time) override;

    // The slider in seconds (one decimal steps) and its range.
    double sliderValue() const;
    void setSliderValue(double seconds);
    double sliderMinValue() const;
    double sliderMaxValue() const;

    QAbstractButton* btnDone() const;
    QLabel* tldBestDuration() const { return m_bestDurationLabel; }
    QSlider* sldDuration() const { return m_durationSlider; }
    QLineEdit* edtDuration() const { return m_durationField; }
    QScrollArea* slvTemplates() const { return m_templates; }
    QuartzBackView* vQuartzBackView() const { return m_backView; }
    const QList<QuartzPreviewView*>& mtAryThumbnailViews() const { return m_tiles; }
    QuartzPreviewView* vPreviewView() const { return m_previewView; }
    std::shared_ptr<QuillonRenderer> oCurrentRender() const { return m_currentRender; }
    const QList<QImage>& mtAryPreviewThumbnails() const { return m_previewPictures; }
    std::optional<QString> strTempStringValue() const { return m_tempStringValue; }

protected:
    void sheetRejected() override { done(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    // The label, the slider's range and value and the field, from the item.
    void refreshDuration();
    void showDuration(double seconds);

    RenderController& m_registry;
    std::shared_ptr<QuillonRenderer> m_currentRender;
    QList<QImage> m_previewPictures;
    QList<QuartzPreviewView*> m_tiles;  // children of the grid
    QuartzPreviewView* m_previewView = nullptr;
    std::shared_ptr<SlideshowItem> m_item;
    bool m_didChange = false;
    std::optional<QString> m_tempStringValue;

    QLabel* m_bestDurationLabel = nullptr;
    QSlider* m_durationSlider = nullptr;
    QLineEdit* m_durationField = nullptr;
    QScrollArea* m_templates = nullptr;
    QuartzBackView* m_backView = nullptr;
    QAbstractButton* m_doneButton = nullptr;
};
