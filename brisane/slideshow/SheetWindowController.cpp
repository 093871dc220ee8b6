#include "slideshow/SheetWindowController.h"

// The dialog hands Escape and the close box to its controller.
class SheetWindowController::Window : public QDialog {
public:
    explicit Window(SheetWindowController* controller) : m_controller(controller) {}

    void reject() override
    {
        if (m_controller) {
            m_controller->sheetRejected();
        }
    }

private:
    QPointer<SheetWindowController> m_controller;
};

SheetWindowController::SheetWindowController(QWidget* sheetedWindow)
    : m_window(new Window(this)), m_sheetedWindow(sheetedWindow)
{
    attach();
}

SheetWindowController::~SheetWindowController()
{
    if (m_window) {
        if (m_running) {
            m_window->done(QDialog::Rejected);
        }
        delete m_window.data();
    }
}

void SheetWindowController::setWndSheetedWindow(QWidget* window)
{
    m_sheetedWindow = window;
    attach();
}

void SheetWindowController::attach()
{
    if (!m_window) {
        return;
    }
    const bool visible = m_window->isVisible();
    QWidget* parent = m_sheetedWindow ? m_sheetedWindow->window() : nullptr;
    if (m_window->parentWidget() != parent) {
        m_window->setParent(parent, Qt::Dialog);
    }
    m_window->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    m_window->setVisible(visible);
}

int SheetWindowController::runSheet()
{
    if (!m_window || m_running) {
        return QDialog::Rejected;
    }
    attach();
    m_running = true;
    const int result = m_window->exec();
    m_running = false;
    return result;
}

void SheetWindowController::beginSheet()
{
    if (!m_window) {
        return;
    }
    attach();
    m_window->show();
    m_window->raise();
}

void SheetWindowController::endSheet()
{
    if (!m_window) {
        return;
    }
    if (m_running) {
        m_window->done(QDialog::Accepted);
    }
    m_window->hide();
}

void SheetWindowController::sheetRejected()
{
    endSheet();
}

bool SheetWindowController::remakeWindowIfGone()
{
    if (m_window) {
        return false;
    }
    m_running = false;
    m_window = new Window(this);
    attach();
    return true;
}
