// Writes the two help documents, "Brisane Help.pdf" and "Orvella Help.pdf",
// into the folder given as the only argument.

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

namespace {

bool writeDocument(const QString& path, const QString& heading, const QStringList& paragraphs)
{
    QPdfWriter writer(path);
    writer.setTitle(heading);
    writer.setCreator(QStringLiteral("Brisane"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(144);
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    const int width = writer.width();
    QFont title = painter.font();
    title.setPointSize(20);
    title.setBold(true);
    painter.setFont(title);
    int y = 0;
    const QRect headingRect =
        painter.boundingRect(QRect(0, y, width, 200), Qt::TextWordWrap, heading);
    painter.drawText(headingRect, Qt::TextWordWrap, heading);
    y += headingRect.height() + 40;
    QFont body = painter.font();
    body.setPointSize(11);
    body.setBold(false);
    painter.setFont(body);
    for (const QString& paragraph : paragraphs) {
        const QRect rect =
            painter.boundingRect(QRect(0, y, width, 2000), Qt::TextWordWrap, paragraph);
        if (y + rect.height() > writer.height()) {
            writer.newPage();
            y = 0;
        }
        painter.drawText(QRect(0, y, width, rect.height()), Qt::TextWordWrap, paragraph);
        y += rect.height() + 24;
    }
    return painter.end();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool brisane = writeDocument(
        folder.filePath(QStringLiteral("Brisane Help.pdf")), QStringLiteral("Brisane Help"),
        {QStringLiteral("Brisane makes a DVD-Video disc with menus from your videos, photos "
                        "and music."),
         QStringLiteral("Projects. File > New Project starts an empty project with one menu "
                        "page. File > Save Project writes the project into a folder ending in "
                        ".brisane, with a copy of every file it uses; File > Open Project opens "
                        "such a folder again."),
         QStringLiteral("Titles. Import videos and photos into the title list, trim and edit "
                        "clips in the video editor, and arrange photos into slideshows."),
         QStringLiteral("Menus. Switch to Menu Edit to choose a template, set background "
                        "pictures and music, and edit titles and buttons."),
         QStringLiteral("Disc. Choose the quality and watch the capacity bar, then burn the "
                        "disc or write a disc folder or an image.")});
    const bool orvella = writeDocument(
        folder.filePath(QStringLiteral("Orvella Help.pdf")), QStringLiteral("Orvella Help"),
        {QStringLiteral("Orvella converts videos for other players and devices."),
         QStringLiteral("Add the videos, choose a format and an output folder, and start the "
                        "conversion.")});
    return brisane && orvella ? 0 : 1;
}
