#include "common/widgets/NoCenterWindow.h"

NoCenterWindow::NoCenterWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}
