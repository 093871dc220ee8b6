// glibc gives each thread that allocates an arena of its own, up to eight per
// core, and each arena reserves 64 MiB of address space: the decoding, editing
// and encoding threads of a production would reserve gigabytes they never
// use, and run out of address space under a limit long before memory. The
// arenas are capped at the cores' count, eight at most (MALLOC_ARENA_MAX,
// when set, rules).

#include <malloc.h>

#include <QThread>
#include <QtGlobal>

namespace {

const bool arenasCapped = [] {
#ifdef M_ARENA_MAX
    if (qEnvironmentVariableIsEmpty("MALLOC_ARENA_MAX")) {
        return mallopt(M_ARENA_MAX, qBound(2, QThread::idealThreadCount(), 8)) == 1;
    }
#endif
    return false;
}();

}  // namespace
