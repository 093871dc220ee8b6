#include "ToolTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "corvane/DVDToolLocator.h"

namespace tooltest {

std::shared_ptr<ToolElement> element(const QRectF& rect, const ObjectPtr& target, bool video)
{
    auto e = std::make_shared<ToolElement>();
    e->rect = rect;
    e->target = target;
    e->video = video;
    return e;
}

std::shared_ptr<ToolPage> page(const QList<std::shared_ptr<ToolElement>>& elements, qint64 aspect)
{
    auto p = std::make_shared<ToolPage>();
    p->aspect = aspect;
    for (const auto& e : elements) {
        p->elements.append(e);
    }
    return p;
}

namespace {

// What each fake writes as its output: partial output on failure, full on success.
QString outputCommands(const QString& tool, const QString& bytes)
{
    const QString fill = QStringLiteral("head -c %1 /dev/zero").arg(bytes);
    if (tool == QLatin1String("dvdauthor")) {
        return QStringLiteral(
                   "mkdir -p dvd.dvdmedia/VIDEO_TS && %1 > dvd.dvdmedia/VIDEO_TS/VTS_01_1.VOB\n")
            .arg(fill);
    }
    if (tool == QLatin1String("spumux")) {
        return fill + QStringLiteral("\n");
    }
    return fill + QStringLiteral(" > dvd.iso\n");
}

QString script(const QString& tool, const QString& record, Behaviour behaviour, int bytes)
{
    QString s = QStringLiteral("#!/bin/sh\nR='%1'\nmkdir -p \"$R\"\n").arg(record);
    s += QStringLiteral("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$R/args\"\n");
    s += QStringLiteral("pwd > \"$R/cwd\"\n");
    s += QStringLiteral("tr '\\000' '\\n' < /proc/$$/environ > \"$R/env\"\n");
    s += QStringLiteral("cat > \"$R/stdin\"\n");
    if (tool == QLatin1String("dvdauthor")) {
        s += QStringLiteral("cp author.xml \"$R/author.xml\" 2>/dev/null\n");
    }
    if (tool == QLatin1String("spumux")) {
        s += QStringLiteral("cp \"$1\" \"$R/control.xml\"\n");
        s += QStringLiteral("cp menu_highlight.png menu_select.png menu_image.png \"$R/\"\n");
    }
    s += QStringLiteral("touch \"$R/started\"\n");
    switch (behaviour) {
        case Behaviour::Succeed:
            s += outputCommands(tool, QString::number(bytes)) + QStringLiteral("exit 0\n");
            break;
        case Behaviour::Fail:
            s += outputCommands(tool, QStringLiteral("10")) + QStringLiteral("exit 3\n");
            break;
        case Behaviour::Crash:
            s += outputCommands(tool, QStringLiteral("10")) + QStringLiteral("kill -SEGV $$\n");
            break;
        case Behaviour::Hang:
            s += outputCommands(tool, QStringLiteral("10")) + QStringLiteral("exec sleep 30\n");
            break;
        case Behaviour::Silent:
            s += QStringLiteral("exit 0\n");
            break;
    }
    return s;
}

}  // namespace

FakeTools::FakeTools(const QString& root)
    : m_folder(root + QStringLiteral("/tools")), m_records(root + QStringLiteral("/records"))
{
    QDir().mkpath(m_folder);
    QDir().mkpath(m_records);
    DVDToolLocator::setToolFolder(m_folder);
}

FakeTools::~FakeTools()
{
    DVDToolLocator::setToolFolder(QString());
}

void FakeTools::install(const QString& tool, Behaviour behaviour, int bytes)
{
    const QString path = QDir(m_folder).filePath(tool);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return;
    }
    file.write(script(tool, record(tool), behaviour, bytes).toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString FakeTools::record(const QString& tool) const
{
    return QDir(m_records).filePath(tool);
}

QStringList FakeTools::lines(const QString& tool, const QString& file) const
{
    QString text = QString::fromUtf8(bytes(tool, file));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QByteArray FakeTools::bytes(const QString& tool, const QString& file) const
{
    return readFile(QDir(record(tool)).filePath(file));
}

bool FakeTools::ran(const QString& tool) const
{
    return QFile::exists(QDir(record(tool)).filePath(QStringLiteral("args")));
}

bool FakeTools::waitUntilStarted(const QString& tool) const
{
    QElapsedTimer timer;
    timer.start();
    const QString marker = QDir(record(tool)).filePath(QStringLiteral("started"));
    while (!QFile::exists(marker)) {
        if (timer.elapsed() > 10000) {
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

}  // namespace tooltest
