#include "videoedit/ClipEditMovieDisplayView.h"

ClipEditMovieDisplayView::ClipEditMovieDisplayView(QWidget* parent)
    : VEMoviePlayerDisplayView(parent, QColor::fromRgbF(0.12f, 0.12f, 0.12f, 1.0f))
{
}
