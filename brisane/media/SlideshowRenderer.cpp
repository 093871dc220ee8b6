#include "media/SlideshowRenderer.h"

std::shared_ptr<SlideshowRenderer> SlideshowRenderer::initOffScreenWithSize(
    const QSizeF& size, std::shared_ptr<Composition> composition)
{
    return create<SlideshowRenderer>(size, std::move(composition));
}

QImage SlideshowRenderer::snapshotCIImageAtTime(double time)
{
    setValueForInputKey(Value(time), QStringLiteral("Time"));
    renderAtTime(0.0);
    return sharpenImageOn(snapshotImage());
}

void SlideshowRenderer::updateBackground(const QImage& image)
{
    setValueForInputKey(image.isNull() ? Value() : Value(image), QStringLiteral("BackgroundImage"));
}

void SlideshowRenderer::clear()
{
    setValueForInputKey(Value(), QStringLiteral("Time"));
    setValueForInputKey(Value(), QStringLiteral("BackgroundImage"));
    setValueForInputKey(Value(), QStringLiteral("Images"));
}
