#pragma once
// The crop tab of the video edit sheet, with the sheet's picture settings:
// which part of the source picture the clip keeps, quarter turns, mirroring,
// a named colour effect and four colour sliders. Every value lives on the
// clip's movie; each setter writes it there at once, refreshes the sheet's
// picture and announces the keys the controls are bound to:
//   "cropRect", "cropRectX", "maxCropRectX", "cropRectY", "maxCropRectY",
//   "cropRectWidth", "maxCropRectWidth", "cropRectHeight",
//   "maxCropRectHeight", "zoomType", and the effect keys "effectName",
//   "hflip", "vflip", "rotate", "saturation", "brightness", "contrast", "hue".
// The crop is stored as given (it may reach past the frame; the movie uses
// the part inside it); only the typed width and height are limited, to the
// smallest crop the overlay allows and the whole frame. The sheet's overlay
// follows every crop change.
//
// Without a clip every getter answers a neutral value and every setter does
// nothing. Main thread.

#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "lumenta/IMovie.h"

class QComboBox;
class QLineEdit;
class QSlider;
class QToolButton;
class VideoEditWindowController;

class VideoEditCropTab : public QWidget {
    Q_OBJECT
public:
    // The sheet outlives the tab (the tab is one of its pages).
    VideoEditCropTab(VideoEditWindowController& sheet, QWidget* parent);

    // --- Crop keys ---
    QRectF cropRect() const;
    void setCropRect(const QRectF& rect);
    float cropRectX() const;
    void setCropRectX(float v);
    float cropRectY() const;
    void setCropRectY(float v);
    float cropRectWidth() const;
    void setCropRectWidth(float v);
    float cropRectHeight() const;
    void setCropRectHeight(float v);
    // {0, 0, the movie's videoSize}, and the limits the controls take from it.
    QRectF maxCropRect() const;
    float maxCropRectX() const;
    float maxCropRectY() const;
    float maxCropRectWidth() const;
    float maxCropRectHeight() const;
    int zoomType() const;
    void setZoomType(int type);

    // --- Picture keys ---
    QString effectName() const;
    void setEffectName(const QString& name);
    static QStringList allFilterNames();
    bool hflip() const;
    void setHflip(bool on);
    bool vflip() const;
    void setVflip(bool on);
    float rotate() const;
    void setRotate(float degrees);
    float saturation() const;
    void setSaturation(float v);
    float brightness() const;
    void setBrightness(float v);
    float contrast() const;
    void setContrast(float v);
    float hue() const;
    void setHue(float v);

    // --- Announcements ---
    void flushCropRectAttribute();
    void flushZoomTypeAttribute();
    void flushEffectAttribute();

    // --- Actions ---
    // Fills the width and height fields (whole pixels); the sheet calls it
    // when it opens.
    void initCropFileds();
    // The smallest crop side in source pixels.
    double minLengthOfCropToVideo() const;
    void cropWidthChanged(double typed);
    void cropHeightChanged(double typed);
    void rotateLeft();
    void rotateRight();
    // Mirrors the picture as the user sees it.
    void hvFlip(bool vertical);
    void horizontalFlip() { hvFlip(false); }
    void verticalFlip() { hvFlip(true); }
    void resetCrop();
    void resetEffect();
    void resetRotate();

    // --- Controls ---
    QLineEdit* cropXField() const { return m_cropXField; }
    QLineEdit* cropYField() const { return m_cropYField; }
    QLineEdit* cropWidthField() const { return m_cropWidthField; }
    QLineEdit* cropHeightField() const { return m_cropHeightField; }
    QComboBox* effectButton() const { return m_effectButton; }
    QSlider* saturationSlider() const { return m_sliders[0]; }
    QSlider* brightnessSlider() const { return m_sliders[1]; }
    QSlider* contrastSlider() const { return m_sliders[2]; }
    QSlider* hueSlider() const { return m_sliders[3]; }
    QToolButton* rotateLeftButton() const { return m_rotateLeftButton; }
    QToolButton* rotateRightButton() const { return m_rotateRightButton; }
    QToolButton* horizontalFlipButton() const { return m_horizontalFlipButton; }
    QToolButton* verticalFlipButton() const { return m_verticalFlipButton; }
    QToolButton* resetCropButton() const { return m_resetCropButton; }
    QToolButton* resetEffectButton() const { return m_resetEffectButton; }
    QToolButton* resetRotateButton() const { return m_resetRotateButton; }

private:
    IMovie::Ptr movie() const;
    void announce(const QString& key);
    void afterPictureChange();
    void buildControls();
    void bindControls();

    VideoEditWindowController& m_sheet;
    QLineEdit* m_cropXField = nullptr;
    QLineEdit* m_cropYField = nullptr;
    QLineEdit* m_cropWidthField = nullptr;
    QLineEdit* m_cropHeightField = nullptr;
    QComboBox* m_effectButton = nullptr;
    QSlider* m_sliders[4] = {};
    QToolButton* m_rotateLeftButton = nullptr;
    QToolButton* m_rotateRightButton = nullptr;
    QToolButton* m_horizontalFlipButton = nullptr;
    QToolButton* m_verticalFlipButton = nullptr;
    QToolButton* m_resetCropButton = nullptr;
    QToolButton* m_resetEffectButton = nullptr;
    QToolButton* m_resetRotateButton = nullptr;
};
