#include "listedit/MediaOpenPanel.h"

#include <QFileDialog>
#include <QImageReader>

MediaOpenPanel::Request MediaOpenPanel::videoRequest()
{
    return Request{};
}

MediaOpenPanel::Request MediaOpenPanel::pictureRequest()
{
    Request request;
    request.allowedFileTypes = imageUnfilteredTypes();
    return request;
}

QStringList MediaOpenPanel::imageUnfilteredTypes()
{
    QStringList types;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString type = QString::fromLatin1(format).toLower();
        if (!types.contains(type)) {
            types.append(type);
        }
    }
    return types;
}

QString MediaOpenPanel::nameFilter(const Request& request)
{
    if (request.allowedFileTypes.isEmpty()) {
        return {};
    }
    QStringList patterns;
    for (const QString& type : request.allowedFileTypes) {
        patterns << QStringLiteral("*.") + type.toLower() << QStringLiteral("*.") + type.toUpper();
    }
    patterns.removeDuplicates();
    return QStringLiteral("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

void MediaOpenPanel::beginSheetModalForWindow(const Request& request, QWidget* window,
                                              Completion completion)
{
    auto* panel = new QFileDialog(window, request.title);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setLabelText(QFileDialog::Accept, request.prompt);
    panel->setFileMode(request.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                       : QFileDialog::ExistingFile);
    if (const QString filter = nameFilter(request); !filter.isEmpty()) {
        panel->setNameFilter(filter);
    }
    QObject::connect(panel, &QFileDialog::finished, panel,
                     [panel, completion = std::move(completion)](int result) {
                         const QStringList paths =
                             result == QDialog::Accepted ? panel->selectedFiles() : QStringList();
                         if (completion) {
                             completion(paths);
                         }
                     });
    panel->open();
}
