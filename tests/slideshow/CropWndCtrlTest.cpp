// The photo crop sheet on real widgets: what it shows on opening, typed
// sizes, Reset, drags with real mouse events, the drawing of the frame, and
// that merely opening and closing it never changes a crop.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstring>

#include "SlideshowEditTestSupport.h"
#include "media/CropItem.h"
#include "slideshow/CropBackgroundView.h"
#include "slideshow/CropFrameView.h"
#include "slideshow/CropWndCtrl.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

const QSizeF Source(4000, 3000);

// 800 × 600 with a red left half and a blue right half.
QImage halves(QSize size = {800, 600})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() / 2; ++x) {
            image.setPixelColor(x, y, Qt::red);
        }
    }
    return image;
}

std::shared_ptr<CropItem> itemOf(double cx, double cy, double w, double h)
{
    auto item = std::make_shared<CropItem>();
    item->setDCenterXRatio(cx);
    item->setDCenterYRatio(cy);
    item->setDWidthRatio(w);
    item->setDHeightRatio(h);
    return item;
}

bool sameBits(const CropItem& a, const CropItem& b)
{
    const double av[] = {a.dCenterXRatio(), a.dCenterYRatio(), a.dWidthRatio(), a.dHeightRatio()};
    const double bv[] = {b.dCenterXRatio(), b.dCenterYRatio(), b.dWidthRatio(), b.dHeightRatio()};
    return std::memcmp(av, bv, sizeof av) == 0;
}

class CropSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.resize(900, 700);
        mainWindow.show();
    }

    void open(const QImage& image, const QSizeF& size, const std::shared_ptr<CropItem>& item)
    {
        sheet.beginEdittingImage(image, size, item);
        slideshowedit::showActive(sheet.window());
    }

    QRectF picture() const { return sheet.vCropBackgroundView()->displayImageFrame(); }
    QRectF crop() const { return sheet.vCropFrameView()->getDisplayRect(); }
    CropPixels fields() const { return sheet.pixels(); }

    // A mouse event on the crop frame at a point of the picture area (y up).
    void mouse(QEvent::Type type, const QPointF& up, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = {})
    {
        CropFrameView* frame = sheet.vCropFrameView();
        const QPointF onArea = UpCoordinates::toWidget(up, sheet.vCropBackgroundView()->height());
        const QPointF local = onArea - QPointF(frame->pos());
        QMouseEvent event(type, local, frame->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          modifiers);
        QApplication::sendEvent(frame, &event);
    }
    void press(const QPointF& up) { mouse(QEvent::MouseButtonPress, up, Qt::LeftButton); }
    void moveTo(const QPointF& up) { mouse(QEvent::MouseMove, up, Qt::LeftButton); }
    void release(const QPointF& up) { mouse(QEvent::MouseButtonRelease, up, Qt::NoButton); }

    // Types into a size field as a user does: focus, select, type, Return.
    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        } else {
            QTest::keyClicks(field, text);
        }
        QTest::keyClick(field, Qt::Key_Return);
        sheet.vCropFrameView()->setFocus();  // leaves the field
    }

    QWidget mainWindow;
    CropWndCtrl sheet{&mainWindow};
};

TEST_F(CropSheet, AResetItemOpensAsTheWholePhotoAndClosesUnchanged)
{
    const auto item = std::make_shared<CropItem>();
    open(halves(), Source, item);
    // 800 × 600 in 640 × 480 less the margins: fitted by height.
    EXPECT_EQ(picture(), QRectF(16, 12, 608, 456));
    EXPECT_EQ(crop(), picture());
    EXPECT_EQ(sheet.edtCropW()->text(), "4000");
    EXPECT_EQ(sheet.edtCropH()->text(), "3000");
    EXPECT_EQ(sheet.edtCropX()->text(), "0");
    EXPECT_EQ(sheet.edtCropY()->text(), "0");
    EXPECT_TRUE(sheet.edtCropW()->isEnabled());
    sheet.btnDone()->click();
    EXPECT_TRUE(sameBits(*item, CropItem()));
    EXPECT_FALSE(sheet.bDidChange());
    EXPECT_FALSE(sheet.window()->isVisible());
    EXPECT_FALSE(sheet.oCropItem());
    EXPECT_TRUE(sheet.cimgSourceImage().isNull());
}

TEST_F(CropSheet, TypedWidthsAreHeldToThePhotoAndTheMinimum)
{
    // X = 1000, W = 2000: the right of the crop at 3000.
    const auto item = itemOf(0.5, 0.5, 0.5, 0.5);
    open(halves(), Source, item);
    ASSERT_EQ(fields().x, 1000);
    ASSERT_EQ(fields().width, 2000);
    const double m = std::floor(24 * Source.width() / picture().width());
    struct Case {
        QString typed;
        QString shown;
    };
    const Case cases[] = {
        {"5000", "3000"},                           // beyond the photo: the photo's width less X
        {"2500", "2500"},         {"12a", "2500"},  // a letter: the text before the edit
        {"-5", "2500"},                             // a minus sign likewise
        {"", QString::number(m)},                   // empty: the minimum
        {"2600.6", "2601"},                         // whole pixels
    };
    for (const Case& c : cases) {
        type(sheet.edtCropW(), c.typed);
        EXPECT_EQ(sheet.edtCropW()->text(), c.shown) << qPrintable(c.typed);
        EXPECT_EQ(sheet.edtCropX()->text(), "1000") << qPrintable(c.typed);
    }
    EXPECT_TRUE(sheet.bDidChange());
    // The item follows the fields; the frame follows the item, left edge kept.
    EXPECT_DOUBLE_EQ(item->dWidthRatio(), 2601 / 4000.0);
    EXPECT_DOUBLE_EQ(item->dCenterXRatio(), (1000 + 1300.5) / 4000.0);
    EXPECT_NEAR(crop().x(), picture().x() + picture().width() * 0.25, 1e-9);
}

TEST_F(CropSheet, ATypedHeightKeepsTheBottomEdge)
{
    const auto item = std::make_shared<CropItem>();
    open(halves(), Source, item);
    type(sheet.edtCropH(), "1500");
    EXPECT_EQ(sheet.edtCropH()->text(), "1500");
    EXPECT_DOUBLE_EQ(item->dHeightRatio(), 0.5);
    EXPECT_DOUBLE_EQ(item->dCenterYRatio(), 0.25);
    EXPECT_DOUBLE_EQ(item->dWidthRatio(), 1.0);
    EXPECT_NEAR(crop().y(), picture().y(), 1e-9);
    EXPECT_NEAR(crop().height(), picture().height() / 2, 1e-9);
    // A typed height beyond the room above Y is cut to it.
    type(sheet.edtCropH(), "4000");
    EXPECT_EQ(sheet.edtCropH()->text(), "3000");
}

TEST_F(CropSheet, AFrameDraggedToTheTopGivesYOfThePhotoLessH)
{
    const auto item = itemOf(0.5, 0.5, 0.5, 0.5);
    open(halves(), Source, item);
    const QPointF centre = crop().center();
    press(centre);
    moveTo(centre + QPointF(37, 1000));
    release(centre + QPointF(37, 1000));
    EXPECT_NEAR(crop().y() + crop().height(), picture().y() + picture().height(), 1e-9);
    const CropPixels p = fields();
    EXPECT_NEAR(p.y, Source.height() - p.height, 1.0);
    EXPECT_TRUE(sheet.bDidChange());
    EXPECT_NEAR(item->dCenterYRatio(), (p.y + p.height / 2) / Source.height(), 1e-12);
    EXPECT_GT(item->dCenterXRatio(), 0.5);
}

TEST_F(CropSheet, ResetThenDoneLeavesTheWholePhoto)
{
    const auto item = itemOf(0.3, 0.7, 0.2, 0.4);
    open(halves(), Source, item);
    sheet.btnReset()->click();
    EXPECT_EQ(sheet.edtCropW()->text(), "4000");
    EXPECT_EQ(crop(), picture());
    sheet.btnDone()->click();
    EXPECT_TRUE(sameBits(*item, CropItem()));
    EXPECT_FALSE(item->isCropped());
    EXPECT_TRUE(sheet.bDidChange());
}

TEST_F(CropSheet, ATypedSizeEndsAndAppliesWhenDoneIsPressed)
{
    const auto item = std::make_shared<CropItem>();
    open(halves(), Source, item);
    QLineEdit* field = sheet.edtCropW();
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClicks(field, "2000");
    sheet.btnDone()->click();  // no Return: Done ends the edit first
    EXPECT_DOUBLE_EQ(item->dWidthRatio(), 0.5);
    EXPECT_DOUBLE_EQ(item->dCenterXRatio(), 0.25);
}

// Opened and closed fifty times, through the modal run as the editor does,
// a crop keeps every bit, and an uncropped photo stays uncropped.
TEST_F(CropSheet, OpeningAndClosingFiftyTimesChangesNothing)
{
    const auto odd = itemOf(0.61234567, 0.3333333, 0.4567891, 0.29);
    const auto before = odd->copy();
    const auto whole = std::make_shared<CropItem>();
    for (int i = 0; i < 50; ++i) {
        QTimer::singleShot(0, [this] { sheet.btnDone()->click(); });
        sheet.startEdittingImage(halves({7, 5}), QSizeF(7, 5), whole);
        EXPECT_FALSE(sheet.bDidChange());
        QTimer::singleShot(0, [this] { sheet.window()->reject(); });  // Escape
        sheet.startEdittingImage(halves(), Source, odd);
    }
    EXPECT_TRUE(sameBits(*odd, *before));
    EXPECT_TRUE(sameBits(*whole, CropItem()));
    EXPECT_FALSE(whole->isCropped());
}

// A photo that cannot be read: nothing to map onto, the fields are off and
// the crop is never written (no NaN or infinite ratio).
TEST_F(CropSheet, AnUnreadablePhotoLeavesTheCropAlone)
{
    const auto item = itemOf(0.4, 0.6, 0.5, 0.5);
    const auto before = item->copy();
    open(QImage(), Source, item);
    EXPECT_FALSE(sheet.edtCropW()->isEnabled());
    EXPECT_FALSE(sheet.edtCropH()->isEnabled());
    EXPECT_FALSE(sheet.vCropFrameView()->isVisible());
    sheet.btnReset()->click();
    sheet.controlTextDidEndEditing(sheet.edtCropW());
    sheet.updateCropRatioRectInformation();
    sheet.btnDone()->click();
    EXPECT_TRUE(sameBits(*item, *before));

    open(halves(), QSizeF(0, 3000), item);  // a photo of no size
    EXPECT_FALSE(sheet.edtCropW()->isEnabled());
    sheet.btnReset()->click();
    sheet.btnDone()->click();
    EXPECT_TRUE(sameBits(*item, *before));
}

// The corner marks: while a resize is dragged exactly one (the corner that
// stays) is yellow; while the crop is moved none is.
int yellowCorners(const QImage& area, const QRectF& frameOnArea)
{
    int corners = 0;
    for (const QPointF corner : {frameOnArea.topLeft(), frameOnArea.topRight(),
                                 frameOnArea.bottomLeft(), frameOnArea.bottomRight()}) {
        bool yellow = false;
        for (int dy = -12; dy <= 12 && !yellow; ++dy) {
            for (int dx = -12; dx <= 12 && !yellow; ++dx) {
                const QPoint p = (corner + QPointF(dx, dy)).toPoint();
                if (!area.rect().contains(p)) {
                    continue;
                }
                const QColor c = area.pixelColor(p);
                yellow = c.red() > 200 && c.green() > 200 && c.blue() < 90;
            }
        }
        corners += yellow ? 1 : 0;
    }
    return corners;
}

TEST_F(CropSheet, OneCornerMarkIsYellowWhileResizingNoneWhileMoving)
{
    open(halves(), Source, itemOf(0.5, 0.5, 0.5, 0.5));
    CropBackgroundView* area = sheet.vCropBackgroundView();
    const auto frameOnArea = [&] {
        return UpCoordinates::toWidget(sheet.vCropFrameView()->frameUp(), area->height());
    };
    const QImage idle = area->grab().toImage();
    EXPECT_EQ(yellowCorners(idle, frameOnArea()), 0);

    const QRectF c = crop();
    const QPointF topRight(c.right() + 3, c.bottom() + 3);  // y up: bottom() is the top
    press(topRight);
    moveTo(topRight + QPointF(-40, -30));
    const QImage resizing = area->grab().toImage();
    EXPECT_EQ(yellowCorners(resizing, frameOnArea()), 1);
    EXPECT_EQ(sheet.vCropFrameView()->enumStationaryPointType(), CropFrameGeometry::BottomLeft);
    slideshowedit::writeArtifact(sheet.window()->grab().toImage(), "crop-sheet-resizing");
    release(topRight + QPointF(-40, -30));
    EXPECT_NEAR(crop().width(), c.width() - 40, 1e-9);
    EXPECT_NEAR(crop().height(), c.height() - 30, 1e-9);

    const QPointF centre = crop().center();
    press(centre);
    moveTo(centre + QPointF(-20, 10));
    EXPECT_EQ(yellowCorners(area->grab().toImage(), frameOnArea()), 0);
    release(centre + QPointF(-20, 10));
}

TEST_F(CropSheet, ArrowKeysMoveOnePointAndUpdateTheNumbers)
{
    const auto item = itemOf(0.5, 0.5, 0.5, 0.5);
    open(halves(), Source, item);
    CropFrameView* frame = sheet.vCropFrameView();
    frame->setFocus();
    const QRectF before = crop();
    QTest::keyClick(frame, Qt::Key_Right);
    QTest::keyClick(frame, Qt::Key_Up);
    EXPECT_EQ(crop().topLeft(), before.topLeft() + QPointF(1, 1));
    EXPECT_TRUE(sheet.bDidChange());
    for (int i = 0; i < 400; ++i) {
        QTest::keyClick(frame, Qt::Key_Left);
    }
    EXPECT_EQ(crop().x(), picture().x());
    EXPECT_EQ(sheet.edtCropX()->text(), "0");
    EXPECT_DOUBLE_EQ(item->dCenterXRatio(), 0.25);
}

TEST_F(CropSheet, TheCentreLinesShowByThemselvesWhenCentred)
{
    open(halves(), Source, itemOf(0.5, 0.5, 0.5, 0.5));
    CropFrameView* frame = sheet.vCropFrameView();
    // A white dashed guide crosses the middle of the crop only while centred.
    const auto guideAt = [&](const QImage& picture) {
        const QRectF f = UpCoordinates::toWidget(frame->frameUp(), frame->parentWidget()->height());
        const double x = f.center().x() - frame->x();
        int white = 0;
        for (int y = 14; y < frame->height() / 2 - 8; ++y) {
            const QColor c = picture.pixelColor(int(x), y);
            white += c.red() > 200 && c.green() > 200 && c.blue() > 200 ? 1 : 0;
        }
        return white;
    };
    EXPECT_GT(guideAt(frame->grab().toImage()), 10);
    frame->setFocus();
    QTest::keyClick(frame, Qt::Key_Left);
    QTest::keyClick(frame, Qt::Key_Left);
    EXPECT_EQ(guideAt(frame->grab().toImage()), 0);
}

}  // namespace
