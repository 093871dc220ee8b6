#include "common/TryBlock.h"

#include <cxxabi.h>
#include <execinfo.h>
#include <QStringList>
#include <QtDebug>
#include <cstdlib>
#include <exception>

namespace {

QString demangled(const char* name)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    QString result = QString::fromLatin1(status == 0 && readable ? readable : name);
    std::free(readable);
    return result;
}

// The symbols of the current call stack, on one line.
QString callStackSymbols()
{
    void* frames[64];
    const int count = backtrace(frames, 64);
    char** symbols = backtrace_symbols(frames, count);
    if (!symbols) {
        return QStringLiteral("()");
    }
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        lines << QString::fromLocal8Bit(symbols[i]);
    }
    std::free(symbols);
    return QStringLiteral("(") + lines.join(QStringLiteral(", ")) + QStringLiteral(")");
}

}  // namespace

namespace tryblock_detail {

QString describeReceiver(const std::type_info& type, const void* receiver)
{
    return QStringLiteral("<%1: 0x%2>")
        .arg(demangled(type.name()))
        .arg(reinterpret_cast<quintptr>(receiver), 0, 16);
}

bool run(const QString& receiver, const std::function<void()>& block,
         const std::function<void()>& onCatch)
{
    if (!block) {
        return true;
    }
    try {
        block();
        return true;
    } catch (const std::exception& exception) {
        if (onCatch) {
            onCatch();
        }
        const QString description = demangled(typeid(exception).name()) + QStringLiteral(": ") +
                                    QString::fromLocal8Bit(exception.what());
        qWarning().noquote()
            << QStringLiteral("tryBlock %1 %2 %3").arg(receiver, description, callStackSymbols());
        return false;
    }
}

}  // namespace tryblock_detail
