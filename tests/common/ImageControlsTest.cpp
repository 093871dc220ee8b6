// The image-drawn controls render from their pictures by state.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "PictureOutput.h"
#include "common/NamedImage.h"
#include "common/widgets/BWTransparentSliderCell.h"
#include "common/widgets/CustomTransparentButtonCell.h"
#include "common/widgets/CustomTransparentCheckboxCell.h"
#include "common/widgets/CustomTransparentPopUpButtonCell.h"
#include "common/widgets/DrakPopUpCell.h"

namespace {

const QColor kBackground(40, 90, 140);

// The picture's pixel laid over the background at the opacity.
QColor over(const QImage& picture, QPoint at, qreal opacity = 1.0)
{
    const QColor top = picture.pixelColor(at);
    const double a = top.alphaF() * opacity;
    auto mix = [a](int t, int b) { return int(std::lround(t * a + b * (1 - a))); };
    return QColor(mix(top.red(), kBackground.red()), mix(top.green(), kBackground.green()),
                  mix(top.blue(), kBackground.blue()));
}

::testing::AssertionResult near(QColor actual, QColor expected, int tolerance = 3)
{
    if (std::abs(actual.red() - expected.red()) <= tolerance &&
        std::abs(actual.green() - expected.green()) <= tolerance &&
        std::abs(actual.blue() - expected.blue()) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual.name().toStdString() << " is not " << expected.name().toStdString();
}

// A control on a plain coloured panel, grabbed as the user would see it.
class Panel {
public:
    Panel()
    {
        widget.setAutoFillBackground(true);
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, kBackground);
        widget.setPalette(palette);
    }
    template <typename T>
    T* add(QSize size)
    {
        auto* control = new T(&widget);
        control->setGeometry(QRect(QPoint(0, 0), size));
        widget.resize(size);
        return control;
    }
    QImage grab() { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QWidget widget;
};

void sendMouse(QWidget* target, QEvent::Type type, QPointF at)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

TEST(ImageControls, ButtonBodyFollowsPressedState)
{
    Panel panel;
    auto* button = panel.add<CustomTransparentButtonCell>({80, 30});
    const QImage fillN = NamedImage::imageNamed("TransparentButtonFillN");
    const QImage fillP = NamedImage::imageNamed("TransparentButtonFillP");
    const QImage leftN = NamedImage::imageNamed("TransparentButtonLeftN");
    ASSERT_EQ(fillN.height(), 20);
    EXPECT_EQ(button->bezelRect(), QRectF(0, 5, 80, 20));

    QImage normal = panel.grab();
    EXPECT_TRUE(near(normal.pixelColor(40, 5 + 10), over(fillN, {1, 10})));
    EXPECT_TRUE(near(normal.pixelColor(2, 5 + 10), over(leftN, {2, 10})));
    EXPECT_TRUE(near(normal.pixelColor(40, 2), kBackground));

    button->setDown(true);
    const QImage pressed = panel.grab();
    EXPECT_TRUE(near(pressed.pixelColor(40, 5 + 10), over(fillP, {1, 10})));
    EXPECT_FALSE(near(pressed.pixelColor(40, 15), normal.pixelColor(40, 15)));

    EXPECT_EQ(button->interiorColor(), QColor(Qt::white));
    button->setEnabled(false);
    EXPECT_EQ(button->interiorColor(), QColor::fromRgbF(0.6f, 0.6f, 0.6f, 1.0f));
    EXPECT_EQ(button->controlSize(), 1);
    button->setControlSize(0);
    EXPECT_EQ(button->controlSize(), 1);
}

TEST(ImageControls, CheckboxPictureByStateAndDisabledOpacity)
{
    struct Case {
        Qt::CheckState state;
        bool down;
        bool enabled;
        const char* picture;
        qreal opacity;
    };
    const Case cases[] = {
        {Qt::Unchecked, false, true, "TransparentCheckboxOffN", 1.0},
        {Qt::Unchecked, true, true, "TransparentCheckboxOffP", 1.0},
        {Qt::Checked, false, true, "TransparentCheckboxOnN", 1.0},
        {Qt::Checked, true, true, "TransparentCheckboxOnP", 1.0},
        {Qt::PartiallyChecked, false, true, "TransparentCheckboxOnN", 1.0},  // mixed counts as on
        {Qt::Checked, false, false, "TransparentCheckboxOnN", 0.6},
        {Qt::Unchecked, false, false, "TransparentCheckboxOffN", 0.6},
    };
    for (const auto& c : cases) {
        Panel panel;
        auto* box = panel.add<CustomTransparentCheckboxCell>({120, 18});
        box->setTristate(true);
        box->setCheckState(c.state);
        box->setDown(c.down);
        box->setEnabled(c.enabled);
        const QImage picture = NamedImage::imageNamed(c.picture);
        ASSERT_EQ(picture.size(), QSize(15, 15));
        const QRectF where = box->boxRect();
        // nearest(18 - 1.5 - 15) rounds the half up: one pixel below the top.
        EXPECT_EQ(where, QRectF(1, 2, 15, 15)) << c.picture;
        const QImage shot = panel.grab();
        for (QPoint p : {QPoint(7, 7), QPoint(4, 8), QPoint(10, 5), QPoint(1, 7)}) {
            EXPECT_TRUE(
                near(shot.pixelColor(p + where.topLeft().toPoint()), over(picture, p, c.opacity)))
                << c.picture << " at " << p.x() << "," << p.y() << " enabled " << c.enabled;
        }
    }
    CustomTransparentCheckboxCell box;
    EXPECT_EQ(box.interiorColor(), QColor::fromRgbF(1, 1, 1, 0.9f));
}

TEST(ImageControls, PopUpsUsePressedPicturesAndThePullDownCap)
{
    struct Case {
        bool dark;
        bool pullsDown;
        bool highlighted;
        const char* left;
        const char* right;
    };
    const Case cases[] = {
        {false, false, false, "TransparentPopUpLeftN", "TransparentPopUpRightN"},
        {false, false, true, "TransparentPopUpLeftP", "TransparentPopUpRightP"},
        {false, true, false, "TransparentPopUpLeftN", "TransparentPopUpPullDownRightN"},
        {false, true, true, "TransparentPopUpLeftP", "TransparentPopUpPullDownRightP"},
        {true, false, false, "DrakPopUpLeftN.tiff", "DrakPopUpRightN.tiff"},
        {true, false, true, "DrakPopUpLeftP.tiff", "DrakPopUpRightP.tiff"},
        {true, true, false, "DrakPopUpLeftN.tiff", "DrakPopUpDownRightN.tif"},
        {true, true, true, "DrakPopUpLeftP.tiff", "DrakPopUplDownRightP.tif"},
    };
    for (const auto& c : cases) {
        Panel panel;
        TransparentPopUpBase* popUp = nullptr;
        if (c.dark) {
            popUp = panel.add<DrakPopUpCell>({120, 22});
        } else {
            popUp = panel.add<CustomTransparentPopUpButtonCell>({120, 22});
        }
        popUp->setPullsDown(c.pullsDown);
        popUp->setHighlighted(c.highlighted);
        const QImage left = NamedImage::imageNamed(c.left);
        const QImage right = NamedImage::imageNamed(c.right);
        ASSERT_FALSE(left.isNull());
        ASSERT_FALSE(right.isNull());
        const QImage shot = panel.grab();
        const int mid = left.height() / 2;
        EXPECT_TRUE(near(shot.pixelColor(2, mid), over(left, {2, mid}))) << c.left;
        // Every pixel of the right cap, arrows included.
        const int x0 = 120 - right.width();
        int mismatches = 0;
        for (int y = 0; y < right.height(); ++y) {
            for (int x = 0; x < right.width(); ++x) {
                mismatches += near(shot.pixelColor(x0 + x, y), over(right, {x, y})) ? 0 : 1;
            }
        }
        EXPECT_EQ(mismatches, 0) << c.right;
    }
}

TEST(ImageControls, PopUpTitlesAndSizes)
{
    CustomTransparentPopUpButtonCell transparent;
    transparent.addItems({"First", "Second"});
    transparent.setCurrentIndex(1);
    EXPECT_EQ(transparent.title(), "Second");
    transparent.setPullsDown(true);
    EXPECT_EQ(transparent.title(), "First");
    EXPECT_EQ(transparent.controlSize(), 0);
    EXPECT_EQ(transparent.titleFont().pixelSize(), 13);
    transparent.setControlSize(1);
    EXPECT_EQ(transparent.titleFont().pixelSize(), 11);
    transparent.setEnabled(false);
    EXPECT_EQ(transparent.titleColor(), QColor::fromRgbF(1, 1, 1, 0.6f));
    transparent.setClipAlpha(true);
    EXPECT_TRUE(transparent.clipAlpha());

    DrakPopUpCell dark;
    EXPECT_EQ(dark.controlSize(), 1);
    EXPECT_EQ(dark.titleFont().pixelSize(), 13);
    EXPECT_EQ(DrakPopUpCell::actionImage().size(), QSize(10, 10));
    dark.resize(120, 22);
    const QRectF plain = dark.titleRectForBounds(dark.rect());
    dark.setImage(DrakPopUpCell::actionImage());
    const QRectF withImage = dark.titleRectForBounds(dark.rect());
    EXPECT_GT(withImage.x(), plain.x() + 10);  // the picture goes first, then 2 more
    const QRectF imageRect = dark.imageRectForBounds(dark.rect());
    EXPECT_EQ(imageRect.size(), QSizeF(10, 10));
    EXPECT_LT(imageRect.right(), withImage.x());
}

TEST(ImageControls, SliderKnobTicksAndTrackOpacity)
{
    Panel panel;
    auto* slider = panel.add<BWTransparentSliderCell>({150, 21});
    slider->setRange(0, 100);
    slider->setValue(0);
    const QImage trackFill = NamedImage::imageNamed("TransparentSliderTrackFill.tiff");

    // Without tick marks: the round knob, no marks.
    EXPECT_EQ(slider->knobImageName(), "TransparentSliderThumbN.tiff");
    QImage shot = panel.grab();
    const QRectF bar = slider->barRect();
    const QPoint trackPoint(100, int(bar.y()) + trackFill.height() / 2);
    EXPECT_TRUE(
        near(shot.pixelColor(trackPoint), over(trackFill, {0, trackFill.height() / 2}, 0.75)));
    const QImage thumb = NamedImage::imageNamed("TransparentSliderThumbN.tiff");
    const QPoint knobCentre = slider->knobImageRect().topLeft().toPoint() + QPoint(6, 6);
    EXPECT_TRUE(near(shot.pixelColor(knobCentre), over(thumb, {6, 6})));

    // Disabled: the track fades to 0.2, the knob stays opaque.
    slider->setEnabled(false);
    shot = panel.grab();
    EXPECT_TRUE(
        near(shot.pixelColor(trackPoint), over(trackFill, {0, trackFill.height() / 2}, 0.2)));
    EXPECT_TRUE(near(shot.pixelColor(knobCentre), over(thumb, {6, 6})));
    slider->setEnabled(true);

    // With tick marks: the triangle knob and white marks.
    slider->setNumberOfTickMarks(5);
    EXPECT_EQ(slider->knobImageName(), "TransparentSliderTriangleThumbN.tiff");
    shot = panel.grab();
    for (int i = 0; i < 5; ++i) {
        const QRectF tick = slider->tickMarkRect(i);
        EXPECT_TRUE(near(shot.pixelColor(tick.topLeft().toPoint() + QPoint(0, 2)), Qt::white)) << i;
    }
    EXPECT_TRUE(near(shot.pixelColor(70, 20), kBackground));  // between marks
    const QImage triangle = NamedImage::imageNamed("TransparentSliderTriangleThumbN.tiff");
    const QPoint triangleCentre = slider->knobImageRect().topLeft().toPoint() + QPoint(5, 5);
    EXPECT_TRUE(near(shot.pixelColor(triangleCentre), over(triangle, {5, 5})));
    savePictureForViewing(shot, "slider-ticks");

    // Pressing on the track moves the knob there and shows the pressed knob.
    sendMouse(slider, QEvent::MouseButtonPress, {75, 8});
    EXPECT_TRUE(slider->isPressed());
    EXPECT_EQ(slider->knobImageName(), "TransparentSliderTriangleThumbP.tiff");
    EXPECT_NEAR(slider->value(), 50, 1);
    sendMouse(slider, QEvent::MouseMove, {150, 8});
    EXPECT_EQ(slider->value(), 100);
    sendMouse(slider, QEvent::MouseButtonRelease, {150, 8});
    EXPECT_FALSE(slider->isPressed());
    EXPECT_EQ(slider->knobImageName(), "TransparentSliderTriangleThumbN.tiff");
}

TEST(ImageControls, MissingPicturesDrawNothingAndDoNotFail)
{
    QImage canvas(40, 20, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    ThreePartImage("NoLeft", "NoFill", "NoRight").draw(painter, QRectF(0, 0, 40, 20));
    ThreePartImage().draw(painter, QRectF(0, 0, 40, 20));
    painter.end();
    EXPECT_EQ(canvas.pixelColor(20, 10).alpha(), 0);
}

TEST(ImageControls, ContactSheet)
{
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    QPalette palette = sheet.palette();
    palette.setColor(QPalette::Window, QColor(58, 58, 62));
    palette.setColor(QPalette::WindowText, Qt::white);
    sheet.setPalette(palette);
    auto* layout = new QVBoxLayout(&sheet);
    auto* button = new CustomTransparentButtonCell("Preview", &sheet);
    auto* pressedButton = new CustomTransparentButtonCell("Pressed", &sheet);
    pressedButton->setDown(true);
    auto* box = new CustomTransparentCheckboxCell("Loop", &sheet);
    box->setChecked(true);
    auto* offBox = new CustomTransparentCheckboxCell("Disabled", &sheet);
    offBox->setEnabled(false);
    auto* popUp = new CustomTransparentPopUpButtonCell(&sheet);
    popUp->addItems({"16:9", "4:3"});
    auto* pullDown = new CustomTransparentPopUpButtonCell(&sheet);
    pullDown->addItems({"Actions"});
    pullDown->setPullsDown(true);
    auto* dark = new DrakPopUpCell(&sheet);
    dark->addItems({"Fade"});
    dark->setImage(DrakPopUpCell::actionImage());
    auto* slider = new BWTransparentSliderCell(&sheet);
    slider->setValue(40);
    auto* ticks = new BWTransparentSliderCell(&sheet);
    ticks->setNumberOfTickMarks(6);
    ticks->setValue(60);
    for (QWidget* w : std::initializer_list<QWidget*>{button, pressedButton, box, offBox, popUp,
                                                      pullDown, dark, slider, ticks}) {
        layout->addWidget(w);
    }
    sheet.resize(180, 300);
    const QImage shot = sheet.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    savePictureForViewing(shot, "controls");
}
