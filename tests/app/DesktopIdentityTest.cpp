// How the desktop knows the program's windows once the program is set up as
// main() sets it up: the desktop entry "brisane" (Wayland's application id of
// the windows, matching the installed brisane.desktop) and the window icon,
// the desktop theme's "brisane" icon where the theme has one, else the
// program's own pictures. The icon is written as "window-icon.png" and
// "window-icon-themed.png" where BRISANE_TEST_ARTIFACTS names a folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

#include "LaunchedShellTest.h"
#include "TestSupport.h"
#include "shell/MainWindowController.h"

namespace {

class DesktopIdentityTest : public LaunchedShellTest {
protected:
    void TearDown() override
    {
        LaunchedShellTest::TearDown();
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(themeName);
    }

    // The icon every window of the program shows, at `size` pixels.
    QImage windowIcon(int size) const
    {
        const QIcon icon = shell->controller()->window()->windowIcon();
        return icon.pixmap(QSize(size, size)).toImage();
    }

    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
};

// A theme in a folder of its own: "hicolor" with a 48-pixel "brisane" icon
// of one colour, as an installation puts it there.
class ThemedDesktopIdentityTest : public DesktopIdentityTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(themes.isValid());
        const QString apps = themes.filePath("hicolor/48x48/apps");
        ASSERT_TRUE(QDir().mkpath(apps));
        QFile index(themes.filePath("hicolor/index.theme"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(
            "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
            "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(QColor(20, 160, 60));
        ASSERT_TRUE(picture.save(apps + "/brisane.png"));
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName("hicolor");
        DesktopIdentityTest::SetUp();
    }

    QTemporaryDir themes;
};

}  // namespace

TEST_F(DesktopIdentityTest, TheWindowNamesItsDesktopEntryAndShowsTheProgramsIcon)
{
    EXPECT_EQ(QGuiApplication::desktopFileName(), "brisane");
    const QIcon icon = QGuiApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    // The program's own pictures, in the sizes docks and title bars ask for.
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
    const QImage picture = windowIcon(256);
    ASSERT_EQ(picture.size(), QSize(256, 256));
    testsupport::writeArtifact(picture, "window-icon.png");
    // A disc: opaque in its middle, transparent in its corners.
    EXPECT_EQ(qAlpha(picture.pixel(128, 40)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(2, 2)), 0);
}

TEST_F(ThemedDesktopIdentityTest, TheThemesIconComesFirst)
{
    EXPECT_EQ(QGuiApplication::desktopFileName(), "brisane");
    const QImage picture = windowIcon(48);
    ASSERT_FALSE(picture.isNull());
    testsupport::writeArtifact(picture, "window-icon-themed.png");
    EXPECT_EQ(picture.pixelColor(24, 24), QColor(20, 160, 60));
}
