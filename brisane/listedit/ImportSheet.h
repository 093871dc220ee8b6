#pragma once
// The sheet the title list shows while an import runs: a window-modal dialog
// with an indeterminate progress bar. It cannot be dismissed by the user;
// the import closes it when it ends.

#include <QDialog>

class QProgressBar;

class ImportSheet : public QDialog {
    Q_OBJECT
public:
    explicit ImportSheet(QWidget* parent = nullptr);

    QProgressBar* importProgress() const { return m_progress; }

    // Shows the sheet on its parent's window and starts the bar moving.
    void begin();
    // Stops the bar and closes the sheet; nothing when it is not shown.
    void end();

protected:
    // Escape and the window's close button do not end an import.
    void reject() override {}

private:
    QProgressBar* m_progress;
};
