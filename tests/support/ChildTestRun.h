#pragma once
// Runs one test of the running test executable again in a child process,
// for the cases the test process itself cannot set up: permissions that do
// not bind the superuser, or a small file system of its own (a full disk).
// The child's outcome becomes the caller's: it must pass.

#include <QString>

namespace testsupport {

// As the unprivileged user "nobody" (setpriv, from util-linux), with HOME,
// TMPDIR and BRISANE_TEST_TMP in a scratch folder that user owns. For a
// superuser test process only.
void rerunUnprivileged(const QString& test);

// In a mount namespace of its own (unshare, from util-linux; a user namespace
// too when not run as the superuser), so that it may mount a small tmpfs
// that goes away with it. The child sees isOwnMountsChild().
void rerunWithOwnMounts(const QString& test);
bool isOwnMountsChild();

// Mounts a tmpfs of `bytes` at the folder `path` (in the child above).
bool mountSmallTmpfs(const QString& path, qint64 bytes);

// With its address space limited to `bytes` (prlimit, from util-linux), so
// that a reader that never stops ends the child instead of filling the
// machine's memory. The child sees isMemoryLimitedChild().
void rerunWithMemoryLimit(const QString& test, qint64 bytes);
bool isMemoryLimitedChild();

}  // namespace testsupport
