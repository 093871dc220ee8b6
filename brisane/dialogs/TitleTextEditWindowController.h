#pragma once
// The title dialog: edits the menu item the menu editor has selected, one of
// three kinds. An image title (type 1) shows a picture of its title, inside a
// frame template or with rounded corners; a text title (type 4) shows styled
// text instead; a static text (type 2) is styled text that is not a button.
// Titles are edited in the main window ("Frame Edit"), static texts in a
// second window, the static text window. The one text style panel (and its
// shadow controls) moves between the places of the two windows. The main
// window also carries the zoom slider and the frame template tiles.
//
// Every control writes into the item at once and the canvas is redisplayed;
// there is no Apply and no Cancel. Both windows run application-modal;
// closing either marks the document edited. The dialog also makes new static
// texts for the menu editor and answers the zoom limits of any item for the
// editor's corner drag.
//
// Refreshing the controls from an item runs with the controls' signals
// blocked and writes nothing back, but for the still frame of an image
// title's clip, which is taken again each time the dialog opens.
//
// The edited item is always the menu editor's current item, read at each
// call. Built for the life of the menu editor. Main thread.

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <memory>

#include "dialogs/MenuEditorAccess.h"
#include "lumenta/LMMediaTime.h"
#include "shell/core/ITitleTextEditWindowController.h"

class DVDPageItem;
class ImageWell;
class ItemZoomSlider;
class MediaData;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QStackedWidget;
class QUndoStack;
class QWidget;
class TextStylePanel;

class TitleTextEditWindowController : public QObject, public ITitleTextEditWindowController {
    Q_OBJECT
public:
    // The still frame's size.
    static constexpr int videoImageWidth = 480;
    static constexpr int videoImageHeight = 320;

    // A dialog of `editor` (which owns it and outlives it; may be null: no
    // item to edit), its window a child of `parent`.
    explicit TitleTextEditWindowController(MenuEditViewController* editor,
                                           QWidget* parent = nullptr);
    ~TitleTextEditWindowController() override;

    static QString nibName() { return QStringLiteral("TitleTextEditWindowController"); }

    // --- ITitleTextEditWindowController ---
    QWidget* window() override;
    void addTextMediaAction() override;
    void updateWndSettingWhenEditTitleMedia() override;
    void showStaticTextEditWindow() override;
    QWidget* staticTextEditWindow() override;
    float getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) override;
    float getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) override;

    // Prepares the static text window for the current item without running
    // it (showStaticTextEditWindow does this, then runs it).
    void prepareStaticTextEditWindow();

    // --- The edited item ---
    std::shared_ptr<DVDPageItem> currentMedia() const;
    // The clip behind the current title: its clip, or its title's first
    // clip; null for other items.
    std::shared_ptr<MediaData> currentMediaMediaData() const;

    // --- Values shown by the controls ---
    int radioSelectIndex() const { return radioSelectIndex_; }
    bool useImageTitle() const { return radioSelectIndex_ == 0; }
    bool useTextTitle() const { return radioSelectIndex_ == 1; }
    bool useFrame() const { return useFrame_; }
    double titleRoundValue() const { return titleRoundValue_; }
    int useImageType() const { return useImageType_; }
    bool canEditVideoImage() const { return canEditVideoImage_; }
    LMMediaTime videoImageFromTime() const { return videoImageFromTime_; }
    // Sets the still frame's time; a new still frame is taken at once.
    void setVideoImageFromTime(LMMediaTime time);
    QImage videoImage() const { return videoImage_; }
    QImage localImage() const { return localImage_; }
    // The media time the still-frame slider ends at; 0 without a clip.
    LMMediaTime videoDuration() const;

    // --- Actions (each runs after its control has set the value) ---
    // 0 image title, 1 text title.
    void useImageOrTextTitleRadioAction(int index);
    void checkUseFrameButtonAction(bool on);
    void roundChangeUseSlider(double value);
    void roundChangeUseField(double value);
    void imageFromTypePopBtnChanged(int type);
    void videoImageFromTimeSliderChanged(LMMediaTime time);
    void videoImageFromTimeFieldChanged(LMMediaTime time);
    void saveCurrentItemVideoImage();
    void loadLocalImageAction();
    // The confirmed choice of the user picture's open panel. A file that
    // does not read as a picture changes nothing.
    void loadLocalImageFromPath(const QString& path);
    void applyTextTitleEditToAllTextTitle();
    void applyStaticTextEditToAllAction();
    // The "Apply to all" copy without the question: the current item's text
    // style and shadow onto every item of `type` on every page.
    void applyTextStyleToAllItemsOfType(qint64 type);
    // Either window closing: the document is marked edited.
    void windowWillClose();

    // --- Parts ---
    TextStylePanel& textStylePanel() const { return *panel_; }
    ItemZoomSlider& zoomSlider() const { return *zoom_; }
    QUndoStack& undoStack() const { return *undoStack_; }
    QDialog* mainWindow() const { return window_; }
    QDialog* textEditWindow() const { return textEditWindow_; }
    QCheckBox* useFrameCheckBox() const { return useFrameCheckBox_; }
    QRadioButton* imageRadio() const { return imageRadio_; }
    QRadioButton* textRadio() const { return textRadio_; }
    QStackedWidget* titleTypeTabView() const { return titleTypeTabView_; }
    QStackedWidget* imageTabView() const { return imageTabView_; }
    QSlider* imageFromTimeSlider() const { return imageFromTimeSlider_; }
    QWidget* frameTableView() const { return frameTableView_; }
    QWidget* textContainerView() const { return textContainerView_; }
    QWidget* textEditContainerView() const { return textEditContainerView_; }
    QWidget* textShadowContainerView() const { return textShadowContainerView_; }
    QWidget* roundShadowContainerView() const { return roundShadowContainerView_; }
    QWidget* frameShadowContainerView() const { return frameShadowContainerView_; }
    QWidget* textTitleShadowContainerView() const { return textTitleShadowContainerView_; }
    QWidget* imageTypeControlView() const { return imageTypeControlView_; }
    QWidget* roundImageContainerView() const { return roundImageContainerView_; }
    QWidget* frameImageContainerView() const { return frameImageContainerView_; }

    // Lays the frame tiles out over the scroll area's width.
    void layoutFrameView();

protected:
    // Lays the frame tiles out again when their scroll area changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadView(QWidget* parent);
    QWidget* makeRoundTab();
    QWidget* makeFrameTab();
    QWidget* makeTextTab();
    void makeImageTypeControlView();
    void makeTextEditWindow(QWidget* parent);
    void awakeFromNib();
    void loadFrameView();
    void updateAllAttriWhenWindowOpen();
    void updateFrameAttributes();
    void updateTitleUseImage();
    void showImageTitleTab(bool withFrame);
    void showTextTitleTab();
    void showRadio(int index);
    void showUseFrame(bool on);
    void showRoundValue();
    void showImageTab();
    void showVideoImageTime();
    void addShadowControlViewToSuperView(QWidget* place);
    static void moveViewInto(QWidget* view, QWidget* place);
    QRectF remembredImageFrame(const DVDPageItem& item) const;

    MenuEditorAccess editor_;
    QUndoStack* undoStack_ = nullptr;
    TextStylePanel* panel_ = nullptr;
    ItemZoomSlider* zoom_ = nullptr;

    int radioSelectIndex_ = 0;
    bool useFrame_ = true;
    double titleRoundValue_ = 0.1;
    int useImageType_ = 0;
    bool canEditVideoImage_ = false;
    LMMediaTime videoImageFromTime_ = 0;
    QImage videoImage_;
    QImage localImage_;

    QDialog* window_ = nullptr;
    QDialog* textEditWindow_ = nullptr;
    QButtonGroup* radioGroup_ = nullptr;
    QRadioButton* imageRadio_ = nullptr;
    QRadioButton* textRadio_ = nullptr;
    QCheckBox* useFrameCheckBox_ = nullptr;
    QStackedWidget* titleTypeTabView_ = nullptr;
    QSlider* roundSlider_ = nullptr;
    QLineEdit* roundField_ = nullptr;
    QScrollArea* frameScrollView_ = nullptr;
    QWidget* frameTableView_ = nullptr;
    QWidget* textContainerView_ = nullptr;
    QWidget* textEditContainerView_ = nullptr;
    QWidget* textShadowContainerView_ = nullptr;
    QWidget* roundShadowContainerView_ = nullptr;
    QWidget* frameShadowContainerView_ = nullptr;
    QWidget* textTitleShadowContainerView_ = nullptr;
    QWidget* imageTypeControlView_ = nullptr;
    QWidget* roundImageContainerView_ = nullptr;
    QWidget* frameImageContainerView_ = nullptr;
    QComboBox* imageTypePopUp_ = nullptr;
    QStackedWidget* imageTabView_ = nullptr;
    QSlider* imageFromTimeSlider_ = nullptr;
    QLineEdit* imageFromTimeField_ = nullptr;
    ImageWell* localImageWell_ = nullptr;
    QPushButton* loadLocalImageButton_ = nullptr;
};
