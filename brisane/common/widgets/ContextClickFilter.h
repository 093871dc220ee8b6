#pragma once
// Control-click opens the context menu anywhere a view offers one.
//
// Installed once on the application, it turns a left-button press with the
// Control key into a context menu request for the widget under the mouse.
// When the widget (or a parent) shows a menu, the press ends there; when none
// does, the press goes on to the widget unchanged. Right-clicks are Qt's own
// context menu requests already.

#include <QObject>

class ContextClickFilter : public QObject {
    Q_OBJECT
public:
    // Installs the one filter on the running application; repeated calls do
    // nothing. False when no application runs.
    static bool install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ContextClickFilter(QObject* parent);
};
