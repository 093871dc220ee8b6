#pragma once
// The page background picture sheet: a grid of the template backgrounds (or
// the user's own picture file) and a canvas showing the chosen picture with
// an aspect-locked crop frame. Apply writes the picture, its canvas
// rectangle and its crop rectangle to the current page; Apply to all to
// every page. The dialog works on its own copies until then; closing it any
// way redraws the menu canvas and marks the document edited.
//
// A newly shown picture gets the default crop (the whole 16:9 canvas
// rectangle, or its centred 4:3 part); reopening a page restores its stored
// crop. Choosing a file switches to the own-file source, so that Apply
// writes the picture shown. A file that cannot be read is refused and the
// previous picture kept; while the chosen picture is empty Apply is
// disabled, so no empty picture or rectangle reaches a page. Main thread.

#include <QDialog>
#include <QList>
#include <memory>

#include "shell/core/IBackgroundPictureWindowController.h"

class IDocumentHost;
class BgPictureCanvasView;
class DVDMenuBackgroundResource;
class DVDPage;
class QPushButton;
class QRadioButton;
class QScrollArea;
class SingleBackgroundView;

class BackgroundPictureWindowController : public QDialog,
                                          public IBackgroundPictureWindowController {
    Q_OBJECT
public:
    using Resource = std::shared_ptr<DVDMenuBackgroundResource>;

    // A sheet on `parent` for the open project of `host` (not owned,
    // outliving the dialog; null: no project, no main window), whose menu
    // editor gives the page.
    explicit BackgroundPictureWindowController(IDocumentHost* host, QWidget* parent = nullptr);

    QWidget* window() override { return this; }
    void showWindowInModel() override;

    std::shared_ptr<DVDPage> currentMenu() const;
    QList<std::shared_ptr<DVDPage>> dvdPageArray() const;
    void updateSettingWhenPageChanged();
    // Takes a picture file as the own picture; false (nothing changed) when
    // it cannot be read.
    bool choosePictureFile(const QString& path);
    void choosePictureAction();
    void checkUseLocalPicture(bool useLocal);
    void chooseTemplate(const Resource& source);
    void applyAction();
    void applyToAllAction();
    void cancelAction() { reject(); }

    bool isDvd16_9() const { return m_isDvd16_9; }
    bool useLocal() const { return m_useLocal; }
    QString localPath() const { return m_localPath; }
    Resource templateSource() const { return m_templateSource; }
    Resource localPicResource() const { return m_localPicResource; }
    // The picture Apply writes; null when there is none to write.
    Resource chosenResource() const;
    QRectF imageCanvasRect() const { return m_imageCanvasRect; }
    QRectF imageCropRect() const { return m_imageCropRect; }
    bool canApply() const;
    BgPictureCanvasView* canvasView() const { return m_canvasView; }
    QList<SingleBackgroundView*> tiles() const { return m_tiles; }
    QWidget* pictureTableView() const { return m_pictureTableView; }
    // Lays the tiles out for a grid `width` wide; answers the grid height.
    double layoutFrameView(double width, double minimumHeight);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void loadTemplatePictureResource();
    void flushCanvasImageWhenChanged(const QImage& image);
    void showStoredPicture(const QImage& image);
    void refreshControls();
    void relayout();
    void writePage(const std::shared_ptr<DVDPage>& page, const Resource& picture) const;
    void windowWillClose();

    IDocumentHost* const m_host;
    BgPictureCanvasView* m_canvasView = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_pictureTableView = nullptr;
    QList<SingleBackgroundView*> m_tiles;
    QRadioButton* m_templateChoice = nullptr;
    QRadioButton* m_localChoice = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_applyAllButton = nullptr;
    bool m_isDvd16_9 = true;
    bool m_useLocal = false;
    QString m_localPath;
    Resource m_templateSource;
    Resource m_localPicResource;
    QImage m_shownImage;
    QRectF m_imageCanvasRect;
    QRectF m_imageCropRect;
};
