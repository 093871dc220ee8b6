#pragma once
// Luminance sharpening: an unsharp mask on the brightness of each pixel, so
// edges gain contrast while colours keep their hue. `sharpness` scales the
// difference between a pixel's luminance and that of its 3 × 3 neighbourhood
// (weights 1-2-1); 0 returns the picture unchanged. Flat areas stay as they are.

#include <QImage>

QImage sharpenLuminance(const QImage& image, double sharpness);
