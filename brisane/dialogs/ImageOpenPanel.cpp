#include "dialogs/ImageOpenPanel.h"

#include <QDebug>
#include <QFileDialog>
#include <QImageReader>
#include <QStringList>

QString ImageOpenPanel::nameFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    return QStringLiteral("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

void ImageOpenPanel::open(QWidget* window, std::function<void(const QString&)> chosen)
{
    auto* panel = new QFileDialog(window ? window->window() : nullptr);
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setNameFilter(nameFilter());
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(panel, &QFileDialog::filesSelected, panel,
                     [chosen = std::move(chosen)](const QStringList& files) {
                         qInfo().noquote() << "chosen pictures" << files;
                         if (!files.isEmpty() && chosen) {
                             chosen(files.first());
                         }
                     });
    panel->open();
}
