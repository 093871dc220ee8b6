#include "common/FlippedView.h"

FlippedView::FlippedView(QWidget* parent) : QWidget(parent) {}

void FlippedView::paintEvent(QPaintEvent*) {}
