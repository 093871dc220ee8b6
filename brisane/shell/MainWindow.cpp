#include "shell/MainWindow.h"

#include <QCloseEvent>

#include "shell/MainWindowController.h"

MainWindow::MainWindow(MainWindowController* controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller)
{
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_controller && !m_controller->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_controller) {
        m_controller->windowWillClose(this);
    }
}
