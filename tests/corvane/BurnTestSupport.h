#pragma once
// Helpers of the burning tests: a real ISO image made by mkisofs, and waiting
// on the main thread's event loop.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <functional>

#include "TestSupport.h"

namespace burntest {

// An ISO image of a folder holding `payloadBytes` of random data, at `isoPath`.
inline bool makeIso(const QString& workDir, const QString& isoPath, qint64 payloadBytes)
{
    const QString content = workDir + QStringLiteral("/iso-content");
    QDir().mkpath(content + QStringLiteral("/VIDEO_TS"));
    QFile payload(content + QStringLiteral("/payload.bin"));
    if (!payload.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write the payload";
        return false;
    }
    QByteArray block(64 * 1024, '\0');
    for (qint64 left = payloadBytes; left > 0; left -= block.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                              block.size() / 4);
        payload.write(block.constData(), std::min<qint64>(left, block.size()));
    }
    payload.close();
    QString output;
    const int code = testsupport::runProgram(
        QStringLiteral("mkisofs"),
        {QStringLiteral("-quiet"), QStringLiteral("-V"), QStringLiteral("BURN_TEST"),
         QStringLiteral("-o"), isoPath, content},
        &output);
    if (code != 0) {
        ADD_FAILURE() << "mkisofs failed (genisoimage installed?): " << output.toStdString();
        return false;
    }
    return true;
}

// Runs the event loop until `done` answers true; false after `timeoutMs`.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace burntest
