#include "dialogs/TitlePictureSource.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ControllerFunctionImages.h"
#include "dialogs/ImageOpenPanel.h"
#include "dialogs/ImageWell.h"
#include "lumenta/IMovie.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

namespace {

// The still-frame slider moves in milliseconds.
constexpr LMMediaTime ticksPerStep = 1000;

}  // namespace

TitlePictureSource::TitlePictureSource(MenuEditorAccess editor, QWidget* window)
    : QObject(window), editor_(editor), window_(window)
{
    makeImageTypeControlView(window);
}

void TitlePictureSource::makeImageTypeControlView(QWidget* window)
{
    imageTypeControlView_ = new QWidget(window);
    imageTypeControlView_->setObjectName(QStringLiteral("imageTypeControlView"));
    auto* layout = new QVBoxLayout(imageTypeControlView_);
    layout->setContentsMargins(8, 4, 8, 4);
    auto* sourceRow = new QHBoxLayout;
    imageTypePopUp_ = new QComboBox(imageTypeControlView_);
    imageTypePopUp_->addItems({tr("Video"), tr("Video frame"), tr("Picture file")});
    sourceRow->addWidget(new QLabel(tr("Picture from:"), imageTypeControlView_));
    sourceRow->addWidget(imageTypePopUp_);
    sourceRow->addStretch(1);
    layout->addLayout(sourceRow);

    imageTabView_ = new QStackedWidget(imageTypeControlView_);
    auto* timeTab = new QWidget(imageTabView_);
    auto* timeRow = new QHBoxLayout(timeTab);
    timeRow->setContentsMargins(0, 0, 0, 0);
    imageFromTimeSlider_ = new QSlider(Qt::Horizontal, timeTab);
    imageFromTimeField_ = new QLineEdit(timeTab);
    imageFromTimeField_->setFixedWidth(70);
    timeRow->addWidget(new QLabel(tr("Frame at:"), timeTab));
    timeRow->addWidget(imageFromTimeSlider_, 1);
    timeRow->addWidget(imageFromTimeField_);
    timeRow->addWidget(new QLabel(tr("s"), timeTab));
    auto* pictureTab = new QWidget(imageTabView_);
    auto* pictureRow = new QHBoxLayout(pictureTab);
    pictureRow->setContentsMargins(0, 0, 0, 0);
    localImageWell_ = new ImageWell(pictureTab);
    localImageWell_->setAcceptDrops(false);
    loadLocalImageButton_ = new QPushButton(tr("Choose..."), pictureTab);
    pictureRow->addWidget(localImageWell_);
    pictureRow->addWidget(loadLocalImageButton_);
    pictureRow->addStretch(1);
    imageTabView_->addWidget(timeTab);
    imageTabView_->addWidget(pictureTab);
    layout->addWidget(imageTabView_);

    connect(imageTypePopUp_, &QComboBox::activated, this,
            [this](int type) { imageFromTypePopBtnChanged(type); });
    connect(imageFromTimeSlider_, &QSlider::valueChanged, this, [this](int step) {
        videoImageFromTimeSliderChanged(static_cast<LMMediaTime>(step) * ticksPerStep);
    });
    connect(imageFromTimeField_, &QLineEdit::editingFinished, this, [this] {
        bool ok = false;
        const double seconds = imageFromTimeField_->text().toDouble(&ok);
        if (ok) {
            videoImageFromTimeFieldChanged(
                static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base())));
        } else {
            showVideoImageTime();
        }
    });
    connect(loadLocalImageButton_, &QPushButton::clicked, this, [this] { loadLocalImageAction(); });
}

void TitlePictureSource::showImageTab()
{
    const QSignalBlocker blocker(imageTypePopUp_);
    imageTypePopUp_->setCurrentIndex(std::clamp(useImageType_, 0, 2));
    imageTabView_->setCurrentIndex(useImageType_ == 2 ? 1 : 0);
}

void TitlePictureSource::showVideoImageTime()
{
    const QSignalBlocker sliderBlocker(imageFromTimeSlider_);
    imageFromTimeSlider_->setRange(0, static_cast<int>(videoDuration() / ticksPerStep));
    imageFromTimeSlider_->setValue(static_cast<int>(videoImageFromTime_ / ticksPerStep));
    imageFromTimeSlider_->setEnabled(canEditVideoImage_);
    imageFromTimeField_->setEnabled(canEditVideoImage_);
    imageFromTimeField_->setText(
        QString::number(lm_ff_time_to_double(videoImageFromTime_), 'f', 2));
}

std::shared_ptr<MediaData> TitlePictureSource::currentMediaMediaData() const
{
    const auto item = editor_.currentItem();
    if (!item || (item->type() != 1 && item->type() != 4)) {
        return nullptr;
    }
    const ObjectPtr media = item->media();
    if (auto clip = std::dynamic_pointer_cast<MediaData>(media)) {
        return clip;
    }
    if (const auto title = std::dynamic_pointer_cast<DVDTitleData>(media)) {
        return title->mediaDataArray().isEmpty() ? nullptr : title->mediaDataArray().first();
    }
    return nullptr;
}

LMMediaTime TitlePictureSource::videoDuration() const
{
    const auto clip = currentMediaMediaData();
    const VCMovie::Ptr item = clip ? clip->vcmovie() : nullptr;
    const IMovie::Ptr movie = item ? item->movie() : nullptr;
    return movie ? std::max<LMMediaTime>(movie->duration(), 0) : 0;
}

void TitlePictureSource::updateTitleUseImage()
{
    const auto item = editor_.currentItem();
    if (!item) {
        return;
    }
    useImageType_ = static_cast<int>(item->titleUseImageFrom());
    showImageTab();
    canEditVideoImage_ = currentMediaMediaData() != nullptr;
    setVideoImageFromTime(item->titleVideoImageTime());
    videoImage_ = item->titleVideoImage();
    localImage_ = item->titleLocalImage();
    localImageWell_->setImage(localImage_);
}

void TitlePictureSource::imageFromTypePopBtnChanged(int type)
{
    useImageType_ = type;
    if (const auto item = editor_.currentItem()) {
        item->setTitleUseImageFrom(type);
    }
    showImageTab();
    editor_.displayCanvasView();
}

void TitlePictureSource::setVideoImageFromTime(LMMediaTime time)
{
    videoImageFromTime_ = time;
    showVideoImageTime();
    saveCurrentItemVideoImage();
}

void TitlePictureSource::videoImageFromTimeSliderChanged(LMMediaTime time)
{
    setVideoImageFromTime(time);
}

void TitlePictureSource::videoImageFromTimeFieldChanged(LMMediaTime time)
{
    setVideoImageFromTime(std::max<LMMediaTime>(std::min(time, videoDuration()), 0));
}

void TitlePictureSource::saveCurrentItemVideoImage()
{
    const auto item = editor_.currentItem();
    const auto clip = currentMediaMediaData();
    const IMovie::Ptr movie = clip ? clip->ffmovie() : nullptr;
    if (item && movie) {
        videoImage_ =
            movie->thumbnailAtTime(videoImageFromTime_, QSize(videoImageWidth, videoImageHeight));
        item->setTitleVideoImageTime(videoImageFromTime_);
        item->setTitleVideoImage(videoImage_);
    }
    editor_.displayCanvasView();
}

void TitlePictureSource::loadLocalImageAction()
{
    ImageOpenPanel::open(window_, [this](const QString& path) { loadLocalImageFromPath(path); });
}

void TitlePictureSource::loadLocalImageFromPath(const QString& path)
{
    const QImage image = ControllerFunctionImages::getNSImageFromPath(path);
    if (image.isNull()) {
        return;
    }
    localImage_ = image;
    localImageWell_->setImage(localImage_);
    if (const auto item = editor_.currentItem()) {
        item->setTitleLocalImage(localImage_);
    }
    editor_.displayCanvasView();
}
