#pragma once
// The watermark tab of the video edit sheet: a picture or one line of text
// laid over every frame of the clip. The watermark lives on the clip's media
// item (VCMovie), which draws it and hands it to its movie; this tab edits
// the item's values, keeps the sheet's overlay and picture in step and
// announces the keys its controls are bound to: "enableWatermark",
// "watermarkType", "watermarkOpacity", "watermarkText", "watermarkImage",
// "watermarkPointX", "watermarkPointY", "watermarkImageDisplayWidth",
// "watermarkImageDisplayHeight", "maxWatermarkPointX", "maxWatermarkPointY",
// "maxWatermarkImageDisplayWidth", "maxWatermarkImageDisplayHeight",
// "maxWatermarkRect".
//
// Geometry is in pixels of the encoded picture, origin at the lower left.
// The origin is stored as typed (it may lie outside the picture; the item
// draws only the part inside); a typed width or height is limited to 0 ..
// the room beside the origin. The picture comes from an open panel or a file
// dropped on the picture well; the text's font, size and colour from the
// popover (WaterMarkTextViewController) or the sheet's font and colour
// panels, which reach the watermark only while this tab is active.
//
// The refresh chain: updateWatermarkRect announces the geometry keys, places
// the overlay and goes on to updateWatermarkImage, which drops the item's
// rendered watermark, asks for a new one and shows it in the picture;
// updateWatermarkFontImage first measures the text. Without a clip every
// getter answers a neutral value and every setter does nothing. Main thread.

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>

#include "media/VCMovie.h"

class FontColorPanelRouter;
class MenuPictureShowView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class QTimer;
class QToolButton;
class VideoEditWindowController;
class WaterMarkTextViewController;

class VideoEditWatermarkTab : public QWidget {
    Q_OBJECT
public:
    // The sheet and the router outlive the tab (it is one of the sheet's
    // pages); the tab registers its font and colour route as "watermark".
    VideoEditWatermarkTab(VideoEditWindowController& sheet, FontColorPanelRouter& panels,
                          QWidget* parent);
    ~VideoEditWatermarkTab() override;

    // --- Keys ---
    bool enableWatermark() const;
    void setEnableWatermark(bool on);
    // 0 picture, 1 text.
    int watermarkType() const;
    void setWatermarkType(int type);
    float watermarkOpacity() const;
    void setWatermarkOpacity(float opacity);
    QString watermarkText() const;
    void setWatermarkText(const QString& text);
    QImage watermarkImage() const;
    void setWatermarkImage(const QImage& image);
    float watermarkPointX() const;
    void setWatermarkPointX(float x);
    float watermarkPointY() const;
    void setWatermarkPointY(float y);
    float watermarkImageDisplayWidth() const;
    void setWatermarkImageDisplayWidth(float width);
    float watermarkImageDisplayHeight() const;
    void setWatermarkImageDisplayHeight(float height);
    float maxWatermarkPointX() const;
    float maxWatermarkPointY() const;
    float maxWatermarkImageDisplayWidth() const;
    float maxWatermarkImageDisplayHeight() const;
    QRectF maxWatermarkRect() const;
    // The movie's picture laid over every frame.
    LMPicture watermark() const;
    void setWatermark(const LMPicture& picture);

    // --- Refreshing ---
    void flushWatermarkType();
    void updateWatermarkImage();
    void updateWatermarkFontImage();
    void updateWatermarkRect();
    // At opening and after a reset.
    void updateWatermark();

    // --- Actions ---
    // Asks for a picture file with an open panel on the sheet.
    void changeWatermarkImage();
    // Stores the path and the picture loaded from it (none when it does not
    // load).
    void choosewatermarkImagePath(const QString& path);
    // Ends field editing and shows the font, size and colour popover beside
    // `sender`.
    void changeWatermarkFont(QWidget* sender);
    // The font and colour panels' choices (routed here on this tab only).
    void changeFont(const QFont& font);
    void colorPanelColorDidChange(const QColor& colour);
    void resetWatermark();
    // Hides the popover (the sheet closes).
    void closePopover();

    // --- Parts ---
    VCMovie::Ptr currentMovie() const;
    VideoEditWindowController& sheet() const { return m_sheet; }
    FontColorPanelRouter& panels() const { return m_panels; }
    WaterMarkTextViewController* watermarkTextController() const { return m_textController; }
    MenuPictureShowView* watermarkShowView() const { return m_showView; }
    QCheckBox* enableBox() const { return m_enableBox; }
    QComboBox* typeButton() const { return m_typeButton; }
    QSlider* opacitySlider() const { return m_opacitySlider; }
    QLineEdit* textField() const { return m_textField; }
    QToolButton* fontButton() const { return m_fontButton; }
    QToolButton* chooseImageButton() const { return m_chooseImageButton; }
    QLineEdit* pointXField() const { return m_pointXField; }
    QLineEdit* pointYField() const { return m_pointYField; }
    QLineEdit* widthField() const { return m_widthField; }
    QLineEdit* heightField() const { return m_heightField; }
    QToolButton* resetButton() const { return m_resetButton; }

private:
    void announce(const QString& key);
    void buildControls();
    void bindControls();
    void registerRoute();

    VideoEditWindowController& m_sheet;
    FontColorPanelRouter& m_panels;
    WaterMarkTextViewController* m_textController = nullptr;
    MenuPictureShowView* m_showView = nullptr;
    QCheckBox* m_enableBox = nullptr;
    QComboBox* m_typeButton = nullptr;
    QSlider* m_opacitySlider = nullptr;
    QLineEdit* m_textField = nullptr;
    QToolButton* m_fontButton = nullptr;
    QToolButton* m_chooseImageButton = nullptr;
    QLineEdit* m_pointXField = nullptr;
    QLineEdit* m_pointYField = nullptr;
    QLineEdit* m_widthField = nullptr;
    QLineEdit* m_heightField = nullptr;
    QToolButton* m_resetButton = nullptr;
    // Redraws the sheet's picture once the item has handed its new watermark
    // to the movie.
    QTimer* m_pictureRefresh = nullptr;
};
