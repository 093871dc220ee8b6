#pragma once
// The main window: a QMainWindow that asks its controller before it closes
// and tells it once it has closed.

#include <QMainWindow>
#include <QPointer>

class MainWindowController;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The controller is not owned.
    explicit MainWindow(MainWindowController* controller, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<MainWindowController> m_controller;
};
