#pragma once
// The photo crop sheet: the slideshow editor opens it on one photo to choose
// the part of it that the slideshow shows. The photo is fitted into a picture
// area and dimmed outside a crop frame that the user drags and resizes; the
// crop's width and height show, and can be typed, in whole pixels of the
// photo's own size. Reset goes back to the whole photo; Done (or Escape, or
// the close box) closes the sheet. There is no Cancel.
//
// The crop is the photo's own CropItem, edited in place: centre and size as
// fractions of the photo, the centre's y from its bottom edge (CropMapping
// holds the rules between the item, the frame and the pixel numbers). The
// item is written only after the user changes the crop (a drag step, an
// arrow key, a typed size, Reset) and again, from the pixel numbers, when
// the sheet closes after such a change; opening and closing the sheet alone
// leaves the item exactly as it was, so a crop never drifts by the pixel
// rounding. bDidChange tells the opener whether the user changed it.
//
// A typed width or height is held between m (the frame's 24-point minimum in
// photo pixels) and the room the photo leaves right of X or above Y, so the
// crop keeps its left and bottom edges; text that is not a plain number
// gives back what the field held before. A photo that could not be read
// (empty, or of no size) shows nothing, disables the fields and leaves the
// item untouched.
//
// startEdittingImage runs the sheet and returns when it closes;
// beginEdittingImage and endEditting are the same without the modal run.
// Main thread.

#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QSizeF>
#include <memory>
#include <optional>

#include "slideshow/SheetWindowController.h"
#include "slideshow/core/CropBackgroundViewDelegate.h"
#include "slideshow/core/CropFrameViewDelegate.h"
#include "slideshow/core/CropMapping.h"
#include "slideshow/core/ICropWndCtrl.h"

class CropBackgroundView;
class CropFrameView;
class CropItem;
class QAbstractButton;
class QPushButton;

class CropWndCtrl : public SheetWindowController,
                    public ICropWndCtrl,
                    public CropFrameViewDelegate,
                    public CropBackgroundViewDelegate {
    Q_OBJECT
public:
    static inline const QSize PictureAreaSize{640, 480};

    explicit CropWndCtrl(QWidget* sheetedWindow = nullptr);
    ~CropWndCtrl() override;

    // --- ICropWndCtrl ---
    void setWndSheetedWindow(QWidget* window) override;
    void startEdittingImage(const QImage& image, const QSizeF& originalSize,
                            const std::shared_ptr<CropItem>& crop) override;
    bool bDidChange() const override { return m_didChange; }

    // The opening without the modal run, and the closing.
    void beginEdittingImage(const QImage& image, const QSizeF& originalSize,
                            const std::shared_ptr<CropItem>& crop);
    void endEditting();

    // --- Actions ---
    void reset();
    void done();
    // A size field's editing began (the user's first change to it) and
    // ended (Return, or the field lost the focus). An end without a change
    // since the beginning changes nothing.
    void controlTextDidBeginEditing(QLineEdit* field);
    void controlTextDidEndEditing(QLineEdit* field);

    // --- Views ---
    // The user changed the frame: the numbers from it, then the item.
    void updateCropRatioRectInformation() override;
    QRectF getVisualCropFrame() const override;
    // The picture and the frame from the item.
    void updateCropFrame();
    // The item from the numbers, when the user changed the crop.
    void syncCropItem();

    // --- State ---
    CropBackgroundView* vCropBackgroundView() const { return m_background; }
    CropFrameView* vCropFrameView() const { return m_frame; }
    QLineEdit* edtCropX() const { return m_x.get(); }
    QLineEdit* edtCropY() const { return m_y.get(); }
    QLineEdit* edtCropW() const { return m_width; }
    QLineEdit* edtCropH() const { return m_height; }
    QAbstractButton* btnReset() const;
    QAbstractButton* btnDone() const;
    std::shared_ptr<CropItem> oCropItem() const { return m_item; }
    QImage cimgSourceImage() const { return m_source; }
    QImage imgCroppedImage() const { return m_display; }
    QSizeF szSourceSize() const { return m_sourceSize; }
    std::optional<QString> strTempStringValue() const { return m_tempStringValue; }
    // The four numbers as the fields hold them.
    CropPixels pixels() const;

protected:
    void sheetRejected() override { done(); }

private:
    void buildWindow();
    void awakeFromNib();
    // The four fields from the frame on the display (truncated pixels).
    void showFieldsFromFrame();
    // Drops the photo, the display bitmap, the item and the remembered text.
    void unload();
    // Where the photo is drawn; empty without a photo.
    QRectF pictureRect() const;
    bool canMap() const;
    void userChanged();
    // Shows a whole number in a field and remembers it as the field's text.
    void showNumber(QLineEdit* field, double value);
    static QImage imageFromImage(const QImage& image);

    std::unique_ptr<QLineEdit> m_x;  // never shown
    std::unique_ptr<QLineEdit> m_y;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    CropBackgroundView* m_background = nullptr;
    CropFrameView* m_frame = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_doneButton = nullptr;

    QImage m_source;
    QImage m_display;
    std::shared_ptr<CropItem> m_item;
    QSizeF m_sourceSize;
    std::optional<QString> m_tempStringValue;
    QHash<QLineEdit*, QString> m_shownText;  // what each field last showed
    bool m_didChange = false;
    bool m_userChanged = false;
};
