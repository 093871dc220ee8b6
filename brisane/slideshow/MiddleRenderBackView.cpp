#include "slideshow/MiddleRenderBackView.h"

RenderBackView::Look MiddleRenderBackView::look(double) const
{
    return {0.1, 0.1, {}};
}
