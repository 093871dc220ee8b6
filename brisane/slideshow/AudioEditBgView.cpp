#include "slideshow/AudioEditBgView.h"

#include <QPaintEvent>
#include <QPainter>

AudioEditBgView::AudioEditBgView(QWidget* parent) : QWidget(parent) {}

void AudioEditBgView::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), QColor::fromRgbF(0.17f, 0.17f, 0.17f));
}
