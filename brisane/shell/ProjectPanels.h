#pragma once
// The panels that choose a project folder: the open panel (a project folder,
// or the "project.data" inside one) and the save panel (a new folder name,
// given the project extension when it has none). Tests install a chooser of
// their own that answers in place of the file dialogs. Main thread.

#include <QString>
#include <functional>

class QWidget;

class ProjectPanels {
public:
    ProjectPanels() = delete;

    // Which chooser a panel is.
    enum class Panel { Open, Save };
    // Answers the chosen path, empty when cancelled.
    using Chooser = std::function<QString(Panel panel, QWidget* parent)>;

    // Runs the installed chooser, or the file dialog, on `parent`.
    static QString choose(Panel panel, QWidget* parent);
    // Replaces the file dialogs (tests script them); null restores them.
    static void setChooser(Chooser chooser);

private:
    static QString chooseWithDialog(Panel panel, QWidget* parent);
};
