#pragma once
// Where the picture of an image title comes from, as the title dialog sets
// it: the clip's video, a still frame of the clip at a chosen time (taken
// again at each change of the time), or a picture file the user chooses.
// Its controls (the kind pop-up, the still frame's slider and field, the
// picture well and its button) sit in a view of their own, which the dialog
// moves between its tabs. Every change is written into the edited item at
// once and the canvas redisplayed; filling the controls from an item
// (updateTitleUseImage) runs with their signals blocked, but for the still
// frame, which is taken again.
//
// The edited item is the menu editor's current item, asked for at each call.
// Made and owned by the title dialog. Main thread.

#include <QImage>
#include <QObject>
#include <memory>

#include "dialogs/MenuEditorAccess.h"
#include "lumenta/LMMediaTime.h"

class ImageWell;
class MediaData;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QStackedWidget;
class QWidget;

class TitlePictureSource : public QObject {
    Q_OBJECT
public:
    // The still frame's size.
    static constexpr int videoImageWidth = 480;
    static constexpr int videoImageHeight = 320;

    // Builds the view as a child of `window`, where the open panel attaches.
    TitlePictureSource(MenuEditorAccess editor, QWidget* window);

    QWidget* imageTypeControlView() const { return imageTypeControlView_; }
    QStackedWidget* imageTabView() const { return imageTabView_; }
    QSlider* imageFromTimeSlider() const { return imageFromTimeSlider_; }

    // The clip behind the current title: its clip, or its title's first
    // clip; null for other items.
    std::shared_ptr<MediaData> currentMediaMediaData() const;
    // Fills the controls from the current item.
    void updateTitleUseImage();

    // --- Values ---
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
    void imageFromTypePopBtnChanged(int type);
    void videoImageFromTimeSliderChanged(LMMediaTime time);
    void videoImageFromTimeFieldChanged(LMMediaTime time);
    void saveCurrentItemVideoImage();
    void loadLocalImageAction();
    // The confirmed choice of the open panel. A file that does not read as
    // a picture changes nothing.
    void loadLocalImageFromPath(const QString& path);

private:
    void makeImageTypeControlView(QWidget* window);
    void showImageTab();
    void showVideoImageTime();

    MenuEditorAccess editor_;
    QWidget* window_;
    int useImageType_ = 0;
    bool canEditVideoImage_ = false;
    LMMediaTime videoImageFromTime_ = 0;
    QImage videoImage_;
    QImage localImage_;

    QWidget* imageTypeControlView_ = nullptr;
    QComboBox* imageTypePopUp_ = nullptr;
    QStackedWidget* imageTabView_ = nullptr;
    QSlider* imageFromTimeSlider_ = nullptr;
    QLineEdit* imageFromTimeField_ = nullptr;
    ImageWell* localImageWell_ = nullptr;
    QPushButton* loadLocalImageButton_ = nullptr;
};
