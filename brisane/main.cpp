#include <QApplication>
#include <QStringList>

#include "app/ApplicationParts.h"
#include "common/PooledThreads.h"
#include "common/SafeMessageOutput.h"
#include "shell/AppDelegate.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisane"));
    QApplication::setApplicationVersion(QStringLiteral(BRISANE_VERSION));
    QApplication::setOrganizationDomain(QStringLiteral("brisane.org"));
    // Closing the main window ends the program (after the save question);
    // closing a sheet or a panel never does.
    QApplication::setQuitOnLastWindowClosed(false);
    // While the program still has room for threads: a drawing made later,
    // when it may have none left, must not wait on one that never starts.
    PooledThreads::startAll();
    SafeMessageOutput::install();

    ApplicationParts::install();
    AppDelegate delegate;
    const QStringList arguments = QApplication::arguments();
    delegate.launch(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
