#include "slideshow/DownRenderBackView.h"

#include <cmath>

RenderBackView::Look DownRenderBackView::look(double height) const
{
    const double top = std::floor(height);
    return {0.26, 0.18, {{0.03, top - 0.5}, {0.29, top - 1.5}}};
}
