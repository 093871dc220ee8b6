// Prints, one per line, where the program's own lookups find its resources
// when run from the folder it sits in: the two help documents, the
// slideshow transitions, the format tables and the menu template bundle. The
// install check copies it beside the installed program and runs it there.

#include <QCoreApplication>
#include <QTextStream>

#include "common/ResourceLocator.h"
#include "corvane/DVDLibraryResource.h"
#include "model/UserConfig.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << ResourceLocator::resourcePath(QStringLiteral("Brisane Help.pdf")) << '\n'
        << ResourceLocator::resourcePath(QStringLiteral("Orvella Help.pdf")) << '\n'
        << ResourceLocator::resourcePath(QStringLiteral("Slideshows.plugin")) << '\n'
        << UserConfig::tablesFolder() << '\n'
        << DVDLibraryResource().resourcePath() << '\n';
    return 0;
}
