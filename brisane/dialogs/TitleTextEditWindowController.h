#pragma once
// The title dialog: edits the menu item the menu editor has selected, one of
// three kinds. An image title (type 1) shows a picture of its title, inside a
// frame template or with rounded corners; a text title (type 4) shows styled
// text instead; a static text (type 2) is styled text that is not a button.
// Titles are edited in the main window ("Frame Edit"), static texts in a
// second window, the static text window. The one text style panel (and its
// shadow controls) moves between the places of the two windows. The main
// window also carries the zoom slider, the frame template tiles and the
// controls of where an image title's picture comes from (TitlePictureSource,
// whose operations the dialog forwards).
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
#include "dialogs/TitlePictureSource.h"
#include "lumenta/LMMediaTime.h"
#include "shell/core/ITitleTextEditWindowController.h"

class DVDPageItem;
class ItemZoomSlider;
class MediaData;
class QButtonGroup;
class QCheckBox;
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
    static constexpr int videoImageWidth = TitlePictureSource::videoImageWidth;
    static constexpr int videoImageHeight = TitlePictureSource::videoImageHeight;

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
    std::shared_ptr<MediaData> currentMediaMediaData() const
    {
        return picture_->currentMediaMediaData();
    }

    // --- Values shown by the controls ---
    int radioSelectIndex() const { return radioSelectIndex_; }
    bool useImageTitle() const { return radioSelectIndex_ == 0; }
    bool useTextTitle() const { return radioSelectIndex_ == 1; }
    bool useFrame() const { return useFrame_; }
    double titleRoundValue() const { return titleRoundValue_; }
    // The picture of an image title (TitlePictureSource).
    TitlePictureSource& pictureSource() const { return *picture_; }
    int useImageType() const { return picture_->useImageType(); }
    bool canEditVideoImage() const { return picture_->canEditVideoImage(); }
    LMMediaTime videoImageFromTime() const { return picture_->videoImageFromTime(); }
    void setVideoImageFromTime(LMMediaTime time) { picture_->setVideoImageFromTime(time); }
    QImage videoImage() const { return picture_->videoImage(); }
    QImage localImage() const { return picture_->localImage(); }
    LMMediaTime videoDuration() const { return picture_->videoDuration(); }

    // --- Actions (each runs after its control has set the value) ---
    // 0 image title, 1 text title.
    void useImageOrTextTitleRadioAction(int index);
    void checkUseFrameButtonAction(bool on);
    void roundChangeUseSlider(double value);
    void roundChangeUseField(double value);
    void imageFromTypePopBtnChanged(int type) { picture_->imageFromTypePopBtnChanged(type); }
    void videoImageFromTimeSliderChanged(LMMediaTime time)
    {
        picture_->videoImageFromTimeSliderChanged(time);
    }
    void videoImageFromTimeFieldChanged(LMMediaTime time)
    {
        picture_->videoImageFromTimeFieldChanged(time);
    }
    void saveCurrentItemVideoImage() { picture_->saveCurrentItemVideoImage(); }
    void loadLocalImageAction() { picture_->loadLocalImageAction(); }
    void loadLocalImageFromPath(const QString& path) { picture_->loadLocalImageFromPath(path); }
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
    QStackedWidget* imageTabView() const { return picture_->imageTabView(); }
    QSlider* imageFromTimeSlider() const { return picture_->imageFromTimeSlider(); }
    QWidget* frameTableView() const { return frameTableView_; }
    QWidget* textContainerView() const { return textContainerView_; }
    QWidget* textEditContainerView() const { return textEditContainerView_; }
    QWidget* textShadowContainerView() const { return textShadowContainerView_; }
    QWidget* roundShadowContainerView() const { return roundShadowContainerView_; }
    QWidget* frameShadowContainerView() const { return frameShadowContainerView_; }
    QWidget* textTitleShadowContainerView() const { return textTitleShadowContainerView_; }
    QWidget* imageTypeControlView() const { return picture_->imageTypeControlView(); }
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
    void makeTextEditWindow(QWidget* parent);
    void awakeFromNib();
    void loadFrameView();
    void updateAllAttriWhenWindowOpen();
    void updateFrameAttributes();
    void showImageTitleTab(bool withFrame);
    void showTextTitleTab();
    void showRadio(int index);
    void showUseFrame(bool on);
    void showRoundValue();
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
    QWidget* roundImageContainerView_ = nullptr;
    QWidget* frameImageContainerView_ = nullptr;
    TitlePictureSource* picture_ = nullptr;  // a child of the window
};
