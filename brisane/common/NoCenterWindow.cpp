#include "common/NoCenterWindow.h"

NoCenterWindow::NoCenterWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}
