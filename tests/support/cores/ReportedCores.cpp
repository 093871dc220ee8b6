// A library put in front of the C library (LD_PRELOAD) that makes a process
// believe it runs on as many cores as BRISANE_TEST_CORES says: the CPU set,
// the processors online and configured, as Qt (QThread::idealThreadCount),
// FFmpeg (av_cpu_count) and the C++ library ask for them. Without the
// variable every call goes to the C library. The threads still run on the
// machine's own cores; only the count the program sizes its work by changes.
#include <dlfcn.h>
#include <sched.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

int reportedCores()
{
    const char* value = std::getenv("BRISANE_TEST_CORES");
    return value ? std::atoi(value) : 0;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int sched_getaffinity(pid_t pid, size_t size, cpu_set_t* set)
{
    const int cores = reportedCores();
    if (cores <= 0) {
        return next<int (*)(pid_t, size_t, cpu_set_t*)>("sched_getaffinity")(pid, size, set);
    }
    std::memset(set, 0, size);
    for (int cpu = 0; cpu < cores && static_cast<size_t>(cpu) < size * 8; ++cpu) {
        CPU_SET_S(cpu, size, set);
    }
    return 0;
}

int get_nprocs()
{
    const int cores = reportedCores();
    return cores > 0 ? cores : next<int (*)()>("get_nprocs")();
}

int get_nprocs_conf()
{
    const int cores = reportedCores();
    return cores > 0 ? cores : next<int (*)()>("get_nprocs_conf")();
}

long sysconf(int name)
{
    const int cores = reportedCores();
    if (cores > 0 && (name == _SC_NPROCESSORS_ONLN || name == _SC_NPROCESSORS_CONF)) {
        return cores;
    }
    return next<long (*)(int)>("sysconf")(name);
}
}
