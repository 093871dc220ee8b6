#pragma once
// Helpers of the slideshow and transition tests: the shipped transition
// folder, log capture, picture comparison and small property-list fixtures.

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdlib>

namespace transitiontest {

inline QString shippedTransitionFolder()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("Slideshows.plugin"));
}

// Collects every log line while it lives.
class LogCapture {
public:
    LogCapture()
    {
        QMutexLocker lock(&mutex());
        lines().clear();
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    QStringList captured() const
    {
        QMutexLocker lock(&mutex());
        return lines();
    }
    bool contains(const QString& line) const { return captured().contains(line); }

private:
    static QMutex& mutex()
    {
        static QMutex m;
        return m;
    }
    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        QMutexLocker lock(&mutex());
        lines().append(message);
    }
    QtMessageHandler m_previous = nullptr;
};

// Mean absolute difference per channel (0..255) of two pictures of one size;
// 255 when the sizes differ.
inline double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull()) {
        return 255.0;
    }
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += std::abs(qRed(p[col]) - qRed(q[col])) +
                   std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

inline bool writeText(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A property list holding the given "key" -> XML value element pairs.
inline QByteArray plist(const QList<std::pair<QString, QString>>& entries)
{
    QByteArray text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : entries) {
        text += "<key>" + key.toUtf8() + "</key>" + value.toUtf8() + "\n";
    }
    return text + "</dict>\n</plist>\n";
}

inline QString str(const QString& s)
{
    return QStringLiteral("<string>%1</string>").arg(s);
}

inline QString real(double v)
{
    return QStringLiteral("<real>%1</real>").arg(v);
}

// Where pictures for looking at by eye go: $BRISANE_TEST_TMP or the temp folder.
inline QString pictureOutputFolder()
{
    const QString root = qEnvironmentVariableIsEmpty("BRISANE_TEST_TMP")
                             ? QDir::tempPath()
                             : qEnvironmentVariable("BRISANE_TEST_TMP");
    const QString folder = QDir(root).filePath(QStringLiteral("slideshow-pictures"));
    QDir().mkpath(folder);
    return folder;
}

// The archive with the given keys removed from every object of the class.
inline QByteArray withoutKeys(const QByteArray& archive, const QString& className,
                              const QStringList& keys)
{
    QCborMap root = QCborValue::fromCbor(archive).toMap();
    QCborArray objects = root.value(QStringLiteral("objects")).toArray();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        QCborMap object = objects.at(i).toMap();
        if (object.value(QStringLiteral("class")).toString() != className) {
            continue;
        }
        QCborMap values = object.value(QStringLiteral("keys")).toMap();
        for (const QString& key : keys) {
            values.remove(key);
        }
        object.insert(QStringLiteral("keys"), values);
        objects[i] = object;
    }
    root.insert(QStringLiteral("objects"), objects);
    return QCborValue(root).toCbor();
}

}  // namespace transitiontest
