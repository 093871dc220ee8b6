#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisane"));
    QApplication::setOrganizationDomain(QStringLiteral("brisane.org"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Brisane"));
    window.resize(1024, 700);
    window.show();
    return QApplication::exec();
}
