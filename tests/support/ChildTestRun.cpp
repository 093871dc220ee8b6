#include "ChildTestRun.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "TestSupport.h"

namespace testsupport {

namespace {

const char* const OwnMountsVariable = "BRISANE_TEST_OWN_MOUNTS";
const char* const MemoryLimitVariable = "BRISANE_TEST_MEMORY_LIMIT";

// Runs `program arguments… <this executable> --gtest_filter=test` and
// expects that one test to pass.
void runChild(const QString& program, QStringList arguments, const QString& test,
              const QProcessEnvironment& environment)
{
    arguments << QCoreApplication::applicationFilePath() << "--gtest_filter=" + test;
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, arguments);
    ASSERT_TRUE(child.waitForStarted()) << qPrintable(program) << " (util-linux) is needed";
    ASSERT_TRUE(child.waitForFinished(300000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

}  // namespace

void rerunUnprivileged(const QString& test)
{
    QTemporaryDir scratch = makeTempDir();
    ASSERT_TRUE(scratch.isValid());
    const QString home = scratch.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    const uid_t nobody = 65534;
    ASSERT_EQ(::chmod(QFile::encodeName(scratch.path()).constData(), 0755), 0);
    ASSERT_EQ(::chown(QFile::encodeName(home).constData(), nobody, nobody), 0);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"BRISANE_TEST_TMP", "HOME", "TMPDIR"}) {
        environment.insert(name, home);
    }
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        environment.remove(name);
    }
    runChild("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups"}, test, environment);
}

void rerunWithOwnMounts(const QString& test)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(OwnMountsVariable, "1");
    QStringList arguments{"--mount", "--propagation", "private"};
    if (::geteuid() != 0) {
        arguments.prepend("--map-root-user");
        arguments.prepend("--user");
    }
    runChild("unshare", arguments, test, environment);
}

bool isOwnMountsChild()
{
    return qEnvironmentVariableIsSet(OwnMountsVariable);
}

void rerunWithMemoryLimit(const QString& test, qint64 bytes)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(MemoryLimitVariable, QString::number(bytes));
    runChild("prlimit", {"--as=" + QString::number(bytes)}, test, environment);
}

bool isMemoryLimitedChild()
{
    return qEnvironmentVariableIsSet(MemoryLimitVariable);
}

bool mountSmallTmpfs(const QString& path, qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        ADD_FAILURE() << "cannot mount a tmpfs at " << qPrintable(path) << ": "
                      << std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace testsupport
