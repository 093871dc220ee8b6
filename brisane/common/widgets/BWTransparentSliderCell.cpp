#include "common/widgets/BWTransparentSliderCell.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "common/NamedImage.h"

namespace {

constexpr double kKnobWidth = 15;
constexpr double kTickLength = 4;
constexpr double kTickGap = 2;

// The slider's pictures, loaded once for the life of the process.
struct SliderPictures {
    ThreePartImage track{"TransparentSliderTrackLeft.tiff", "TransparentSliderTrackFill.tiff",
                         "TransparentSliderTrackRight.tiff"};
    QImage thumbN = NamedImage::imageNamed("TransparentSliderThumbN.tiff");
    QImage thumbP = NamedImage::imageNamed("TransparentSliderThumbP.tiff");
    QImage triangleN = NamedImage::imageNamed("TransparentSliderTriangleThumbN.tiff");
    QImage triangleP = NamedImage::imageNamed("TransparentSliderTriangleThumbP.tiff");
};

const SliderPictures& pictures()
{
    static const SliderPictures loaded;
    return loaded;
}

}  // namespace

BWTransparentSliderCell::BWTransparentSliderCell(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
}

void BWTransparentSliderCell::setNumberOfTickMarks(int count)
{
    tickMarks_ = std::max(0, count);
    updateGeometry();
    update();
}

double BWTransparentSliderCell::trackAreaHeight() const
{
    const double full = height();
    return hasTickMarks() ? std::max(0.0, full - kTickLength - kTickGap) : full;
}

QRectF BWTransparentSliderCell::barRect() const
{
    QRectF rect(0, 0, width(), trackAreaHeight());
    const double fillHeight = pictures().track.height();
    if (fillHeight < rect.height()) {
        rect.moveTop(rect.y() + ThreePartImage::nearest((rect.height() - fillHeight) * 0.5));
    }
    rect.setHeight(fillHeight);
    rect.adjust(2, 0, -3, 0);  // x + 2, width - 5
    if (hasTickMarks()) {
        rect.translate(0, -1);
        rect.setWidth(rect.width() + 1);
    }
    return rect;
}

double BWTransparentSliderCell::knobX(double ratio) const
{
    return ratio * std::max(0.0, width() - kKnobWidth);
}

QRectF BWTransparentSliderCell::knobRectFlipped() const
{
    const int span = maximum() - minimum();
    const double ratio = span > 0 ? double(sliderPosition() - minimum()) / span : 0.0;
    QRectF rect(knobX(ratio), 0, kKnobWidth, trackAreaHeight());
    if (hasTickMarks()) {
        rect.setHeight(rect.height() + 2);
        rect.translate(0, 2);
    }
    return rect;
}

QString BWTransparentSliderCell::knobImageName() const
{
    if (hasTickMarks()) {
        return isPressed_ ? QStringLiteral("TransparentSliderTriangleThumbP.tiff")
                          : QStringLiteral("TransparentSliderTriangleThumbN.tiff");
    }
    return isPressed_ ? QStringLiteral("TransparentSliderThumbP.tiff")
                      : QStringLiteral("TransparentSliderThumbN.tiff");
}

QRectF BWTransparentSliderCell::knobImageRect() const
{
    const SliderPictures& all = pictures();
    const QImage& knob = hasTickMarks() ? (isPressed_ ? all.triangleP : all.triangleN)
                                        : (isPressed_ ? all.thumbP : all.thumbN);
    const QRectF rect = knobRectFlipped();
    // The knob rectangle's y is left out on purpose: the picture sits
    // against the track area's top.
    double x = rect.x() + ThreePartImage::nearest((rect.width() - knob.width()) / 2.0) - 1;
    double y = ThreePartImage::nearest((rect.height() - knob.height()) / 2.0) - 1;
    if (hasTickMarks()) {
        x += 1;
        y += 1;
    }
    return {x, y, static_cast<double>(knob.width()), static_cast<double>(knob.height())};
}

QRectF BWTransparentSliderCell::tickMarkRect(int index) const
{
    const double ratio = tickMarks_ > 1 ? double(index) / (tickMarks_ - 1) : 0.5;
    const double centre = knobX(ratio) + kKnobWidth * 0.5;
    return {std::floor(centre), trackAreaHeight() + kTickGap, 1, kTickLength};
}

QSize BWTransparentSliderCell::sizeHint() const
{
    const int knobHeight = pictures().thumbN.height();
    const int ticks = hasTickMarks() ? static_cast<int>(kTickLength + kTickGap) : 0;
    return {100, std::max(knobHeight + 2, 15) + ticks};
}

QSize BWTransparentSliderCell::minimumSizeHint() const
{
    return {static_cast<int>(kKnobWidth) * 2, sizeHint().height()};
}

void BWTransparentSliderCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    pictures().track.draw(painter, barRect(), isEnabled() ? 0.75 : 0.2);
    for (int i = 0; i < tickMarks_; ++i) {
        painter.fillRect(tickMarkRect(i), Qt::white);
    }
    const QImage knob = NamedImage::imageNamed(knobImageName());
    if (!knob.isNull()) {
        painter.drawImage(knobImageRect().topLeft(), knob);
    }
}

int BWTransparentSliderCell::valueAt(double x) const
{
    const double travel = std::max(1.0, width() - kKnobWidth);
    const double ratio = std::clamp((x - kKnobWidth * 0.5) / travel, 0.0, 1.0);
    return minimum() + static_cast<int>(std::lround(ratio * (maximum() - minimum())));
}

void BWTransparentSliderCell::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    isPressed_ = true;
    setSliderDown(true);
    setSliderPosition(valueAt(event->position().x()));
    update();
    event->accept();
}

void BWTransparentSliderCell::mouseMoveEvent(QMouseEvent* event)
{
    if (!isPressed_) {
        QSlider::mouseMoveEvent(event);
        return;
    }
    setSliderPosition(valueAt(event->position().x()));
    event->accept();
}

void BWTransparentSliderCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isPressed_) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    isPressed_ = false;
    setSliderPosition(valueAt(event->position().x()));
    setSliderDown(false);
    update();
    event->accept();
}
