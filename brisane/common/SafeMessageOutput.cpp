#include "common/SafeMessageOutput.h"

#include <QtGlobal>
#include <cstdio>
#include <new>

namespace {

QtMessageHandler guarded = nullptr;

void guardedOutput(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    try {
        if (guarded) {
            guarded(type, context, message);
        }
    } catch (const std::bad_alloc&) {
        std::fputs("(a message was lost: out of memory)\n", stderr);
    }
}

}  // namespace

void SafeMessageOutput::install()
{
    if (guarded) {
        return;
    }
    guarded = qInstallMessageHandler(guardedOutput);
}
