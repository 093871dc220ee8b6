#include "lumenta/LMDrawContext.h"

LMDrawContext::LMDrawContext(int width, int height)
    : m_image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32)
{
    m_image.fill(Qt::black);
}
