#include "shell/ProjectPanels.h"

#include <QFileDialog>

#include "shell/core/ProjectDocument.h"

namespace {

ProjectPanels::Chooser& installedChooser()
{
    static ProjectPanels::Chooser chooser;
    return chooser;
}

}  // namespace

QString ProjectPanels::choose(Panel panel, QWidget* parent)
{
    const Chooser& chooser = installedChooser();
    return chooser ? chooser(panel, parent) : chooseWithDialog(panel, parent);
}

void ProjectPanels::setChooser(Chooser chooser)
{
    installedChooser() = std::move(chooser);
}

QString ProjectPanels::chooseWithDialog(Panel panel, QWidget* parent)
{
    const QString extension = ProjectDocument::documentExtension();
    if (panel == Panel::Open) {
        // Project folders are plain folders: choose the folder, or the
        // "project.data" inside it.
        QFileDialog dialog(parent, QStringLiteral("Open"));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Open"));
        dialog.setNameFilter(QStringLiteral("Projects (*.%1)").arg(extension));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
    }
    QString chosen = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"),
                                                  QStringLiteral("Untitled.%1").arg(extension),
                                                  QStringLiteral("Projects (*.%1)").arg(extension));
    if (!chosen.isEmpty() && !chosen.endsWith(QStringLiteral(".") + extension)) {
        chosen += QStringLiteral(".") + extension;
    }
    return chosen;
}
