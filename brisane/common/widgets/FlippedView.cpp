#include "common/widgets/FlippedView.h"

FlippedView::FlippedView(QWidget* parent) : QWidget(parent) {}

void FlippedView::paintEvent(QPaintEvent*) {}
