// Where Corvane finds dvdauthor, spumux and mkisofs: beside the executable
// first, then on PATH, genisoimage standing in for mkisofs; a test folder
// replaces the whole search.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "corvane/DVDToolLocator.h"

namespace {

bool makeExecutable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Puts `folder` first on PATH for the life of the object.
class PathPrefix {
public:
    explicit PathPrefix(const QString& folder) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folder) + ':' + m_saved);
    }
    ~PathPrefix() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

TEST(ToolLocator, findsTheInstalledToolsOnPath)
{
    for (const QString tool : {"dvdauthor", "spumux"}) {
        EXPECT_TRUE(DVDToolLocator::isToolAvailable(tool)) << qPrintable(tool);
        EXPECT_EQ(DVDToolLocator::pathForTool(tool), QStandardPaths::findExecutable(tool));
    }
    // Debian installs mkisofs as a link to genisoimage; either name serves.
    EXPECT_TRUE(DVDToolLocator::isToolAvailable("mkisofs"));
}

TEST(ToolLocator, besideTheExecutableComesBeforePath)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString tool =
        QStringLiteral("corvane-locator-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(makeExecutable(QDir(dir.path()).filePath(tool)));
    PathPrefix path(dir.path());
    EXPECT_EQ(DVDToolLocator::pathForTool(tool), QDir(dir.path()).filePath(tool));

    const QString beside = QDir(DVDToolLocator::executableFolder()).filePath(tool);
    ASSERT_TRUE(makeExecutable(beside));
    EXPECT_EQ(DVDToolLocator::pathForTool(tool), beside);
    QFile::remove(beside);
}

TEST(ToolLocator, genisoimageServesForMkisofs)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    tooltest::FakeTools tools(dir.path());
    tools.install("genisoimage", tooltest::Behaviour::Succeed);
    EXPECT_EQ(DVDToolLocator::pathForTool("mkisofs"), tools.folder() + "/genisoimage");
    tools.install("mkisofs", tooltest::Behaviour::Succeed);
    EXPECT_EQ(DVDToolLocator::pathForTool("mkisofs"), tools.folder() + "/mkisofs");
    // genisoimage is no stand-in for other tools.
    EXPECT_FALSE(DVDToolLocator::isToolAvailable("dvdauthor"));
}

TEST(ToolLocator, aMissingToolIsNamedBesideTheSearchedFolder)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    tooltest::FakeTools tools(dir.path());
    EXPECT_EQ(DVDToolLocator::pathForTool("spumux"), tools.folder() + "/spumux");
    EXPECT_FALSE(DVDToolLocator::isToolAvailable("spumux"));
}

TEST(ToolLocator, theTestFolderIsGivenBack)
{
    {
        QTemporaryDir dir = testsupport::makeTempDir();
        tooltest::FakeTools tools(dir.path());
        EXPECT_EQ(DVDToolLocator::toolFolder(), tools.folder());
    }
    EXPECT_TRUE(DVDToolLocator::toolFolder().isEmpty());
    EXPECT_TRUE(DVDToolLocator::isToolAvailable("dvdauthor"));
}

}  // namespace
