// Revealing through the desktop, on a D-Bus session bus of the test's own:
// the file manager's ShowItems call when one answers, the folder opened
// when none does or the item is gone.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include "TestSupport.h"
#include "common/DesktopRevealService.h"

namespace {

class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> shown;
public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId);
        shown.append(uris);
    }
};

template <typename Predicate>
bool waitUntil(Predicate done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

class DesktopRevealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForStarted()) << "dbus-daemon is needed (package dbus-daemon)";
        ASSERT_TRUE(waitUntil([&] { return daemon.canReadLine(); }));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty());
        file = dir.path() + "/My Disc.iso";
        QFile made(file);
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus("reveal-client");
        QDBusConnection::disconnectFromBus("reveal-manager");
        daemon.kill();
        daemon.waitForFinished();
    }

    QDBusConnection client() { return QDBusConnection::connectToBus(address, "reveal-client"); }
    DesktopRevealService service()
    {
        return DesktopRevealService(client(), [this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QProcess daemon;
    QString address;
    QString file;
    QList<QUrl> opened;
};

TEST_F(DesktopRevealTest, theFileManagerSelectsTheItem)
{
    FakeFileManager manager;
    QDBusConnection bus = QDBusConnection::connectToBus(address, "reveal-manager");
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));

    service().selectFile(file);
    ASSERT_TRUE(waitUntil([&] { return !manager.shown.isEmpty(); }));
    EXPECT_EQ(manager.shown.first(), QStringList{QUrl::fromLocalFile(file).toString()});
    QCoreApplication::processEvents();
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(DesktopRevealTest, withoutAFileManagerTheFolderOpens)
{
    service().selectFile(file);
    ASSERT_TRUE(waitUntil([&] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
}

// No file manager on the bus and no program to open the folder: the caller
// hears that nothing was shown, after the bus has answered. With a file
// manager it hears nothing.
TEST_F(DesktopRevealTest, theCallerHearsWhenNothingCouldShowTheItem)
{
    DesktopRevealService nothingOpens(client(), [](const QUrl&) { return false; });
    int notShown = 0;
    nothingOpens.selectFile(file, [&notShown] { ++notShown; });
    ASSERT_TRUE(waitUntil([&] { return notShown > 0; }));
    EXPECT_EQ(notShown, 1);

    FakeFileManager manager;
    QDBusConnection bus = QDBusConnection::connectToBus(address, "reveal-manager");
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    nothingOpens.selectFile(file, [&notShown] { ++notShown; });
    ASSERT_TRUE(waitUntil([&] { return manager.shown.size() == 1; }));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(notShown, 1);
}

TEST_F(DesktopRevealTest, aMissingItemOpensTheNearestFolder)
{
    service().selectFile(dir.path() + "/gone/deeper/My Disc.iso");
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
}

}  // namespace

#include "DesktopRevealServiceTest.moc"
