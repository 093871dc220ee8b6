#pragma once
// The application delegate: one per run. It owns the main window controller
// and is reached from anywhere through AppDelegate::current() or
// ControllerFunction::appDelegate().

#include <QObject>
#include <memory>

class MainWindowController;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The new delegate becomes current() until it is destroyed.
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The running delegate; null before one exists. Any thread.
    static AppDelegate* current();

    // The main window controller; null before it is made. Any thread.
    MainWindowController* mainController() const;
    // Takes ownership (null releases the current one).
    void setMainController(std::unique_ptr<MainWindowController> controller);

private:
    std::unique_ptr<MainWindowController> mainController_;
};
