// The main window's drawn parts and its menu set-up on constructed menus:
// the capacity bar's fill, the header strip's title, and the depth-first
// search behind "Show Log File".
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "TestSupport.h"
#include "shell/CustomCapacityView.h"
#include "shell/HelperExtention.h"
#include "shell/MainDownView.h"
#include "shell/WndTitleBackView.h"

namespace {

bool isGradient(QRgb pixel)
{
    return qRed(pixel) > 200 && qBlue(pixel) < 60;
}

bool isDarkTrack(QRgb pixel)
{
    return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

QAction* addItem(QWidget* menu, const QString& title, const QString& selector)
{
    auto* item = new QAction(title, menu);
    HelperExtention::setSelector(item, selector);
    menu->addAction(item);
    return item;
}

}  // namespace

TEST(CustomCapacityViewTest, TheGradientFillsTheValueAndTheOutlineClipsIt)
{
    struct Row {
        float value;
        bool quarter, threeQuarters;
    };
    const Row rows[] = {
        {0.0f, false, false}, {0.5f, true, false}, {1.0f, true, true}, {1.3f, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        CustomCapacityView view;
        view.resize(400, 30);
        view.setCapacityValue(row.value);
        const QImage image = view.grab().toImage();
        testsupport::writeArtifact(image, QString("capacity-%1.png").arg(row.value));

        const QRectF content = CustomCapacityView::contentRect(view.rect());
        const QRectF outline = CustomCapacityView::outlineRect(content);
        const int y = int(outline.center().y()) + 3;  // below the glass highlight
        const auto at = [&](double fraction) {
            return image.pixel(int(content.left() + fraction * content.width()), y);
        };
        EXPECT_EQ(isGradient(at(0.25)), row.quarter);
        EXPECT_EQ(isGradient(at(0.75)), row.threeQuarters);
        if (!row.threeQuarters) {
            EXPECT_TRUE(isDarkTrack(at(0.75)));
        }
        // Never outside the rounded outline: not in the strip between the
        // outline's end and the track's end, not in the rounded corner.
        const QRgb past = image.pixel(int(outline.right()) + 2, y);
        EXPECT_FALSE(isGradient(past));
        const QRgb corner = image.pixel(int(outline.right()) - 1, int(outline.top()) + 1);
        EXPECT_FALSE(isGradient(corner));
        if (row.value >= 1.0f) {
            // Yellow at the left, red at the right.
            const QRgb left = image.pixel(int(outline.left()) + 12, y);
            const QRgb right = image.pixel(int(outline.right()) - 12, y);
            EXPECT_GT(qGreen(left), 200);
            EXPECT_LT(qGreen(right), 60);
        }
    }
}

TEST(CustomCapacityViewTest, ANaNOrNegativeValueFillsNothing)
{
    const QRectF content(5, 4, 100, 20);
    EXPECT_EQ(CustomCapacityView::filledRect(content, -0.5f).width(), 0);
    EXPECT_EQ(CustomCapacityView::filledRect(content, std::nanf("")).width(), 0);
    EXPECT_EQ(CustomCapacityView::filledRect(content, 0.25f), QRectF(5, 4, 25, 20));
}

TEST(ChromeViewsTest, TheHeaderStripDrawsTheTitleAndTheBottomBarItsEdge)
{
    // A window that asks for its title in the strip.
    QWidget window;
    window.resize(300, 80);
    window.setWindowTitle("Untitled[*]");
    window.setProperty(WndTitleBackView::DrawsTitleProperty, true);
    auto* strip = new WndTitleBackView(&window);
    strip->resize(300, WndTitleBackView::TitleHeight);
    EXPECT_EQ(strip->drawnTitle(), "Untitled");
    window.setWindowModified(true);
    EXPECT_EQ(strip->drawnTitle(), "Untitled*");

    const QImage drawn = strip->grab().toImage();
    testsupport::writeArtifact(drawn, "header-strip.png");
    bool lightText = false;
    for (int x = 100; x < 200; ++x) {
        lightText = lightText || qGray(drawn.pixel(x, 12)) > 120;
    }
    EXPECT_TRUE(lightText);
    window.setWindowTitle(QString());
    const QImage empty = strip->grab().toImage();
    for (int x = 0; x < 300; x += 7) {
        ASSERT_LT(qGray(empty.pixel(x, 12)), 80);  // only the dark gradient
    }

    MainDownView bar;
    bar.resize(100, 40);
    const QImage bottom = bar.grab().toImage();
    EXPECT_EQ(qGray(bottom.pixel(50, 0)), qRound(0.03 * 255));
    EXPECT_EQ(qGray(bottom.pixel(50, 1)), qRound(0.16 * 255));
    EXPECT_LT(qGray(bottom.pixel(50, 30)), qRound(0.14 * 255) + 1);
}

TEST(HelperExtentionTest, TheSearchIsDepthFirstAndShowLogFileFollowsSupportInASubmenu)
{
    QMenuBar bar;
    QMenu* application = bar.addMenu("App");
    addItem(application, "About", HelperExtention::AboutSelector);
    QMenu* help = bar.addMenu("Help");
    QMenu* more = help->addMenu("More");
    addItem(more, "Read Me", "readMe:");
    QAction* inside = addItem(more, "Support Inside", HelperExtention::SupportSelector);
    addItem(more, "Last", "last:");
    QAction* outside = addItem(help, "Support Outside", HelperExtention::SupportSelector);

    EXPECT_EQ(HelperExtention::findMenuItemBySelector(&bar, HelperExtention::SupportSelector),
              inside);
    EXPECT_EQ(HelperExtention::findMenuItemBySelector(help, "last:"), more->actions().last());
    EXPECT_EQ(HelperExtention::findMenuItemBySelector(&bar, "nothing:"), nullptr);

    QAction* showLog = HelperExtention::setupSupportMenu(&bar);
    ASSERT_NE(showLog, nullptr);
    const QList<QAction*> items = more->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items.at(1), inside);
    EXPECT_EQ(items.at(2), showLog);
    EXPECT_EQ(items.at(2)->text(), "Show Log File");
    EXPECT_EQ(items.at(3)->text(), "Last");
    EXPECT_FALSE(help->actions().contains(showLog));
    EXPECT_TRUE(help->actions().contains(outside));

    // The support item as a menu's last item.
    QMenuBar last;
    QMenu* lastHelp = last.addMenu("Help");
    addItem(lastHelp, "Support", HelperExtention::SupportSelector);
    HelperExtention::setupSupportMenu(&last);
    ASSERT_EQ(lastHelp->actions().size(), 2);
    EXPECT_EQ(lastHelp->actions().at(1)->text(), "Show Log File");

    // Without a support item nothing is inserted.
    QMenuBar none;
    addItem(none.addMenu("File"), "New", "new:");
    EXPECT_EQ(HelperExtention::setupSupportMenu(&none), nullptr);
}

TEST(HelperExtentionTest, OnlyAboutHideAndQuitAreRetitled)
{
    QMenuBar bar;
    QMenu* application = bar.addMenu("App");
    QAction* about = addItem(application, "About", HelperExtention::AboutSelector);
    QAction* prefs = addItem(application, "Settings", "preferences:");
    QAction* hide = addItem(application, "Hide", HelperExtention::HideSelector);
    QAction* quit = addItem(application, "Quit", HelperExtention::QuitSelector);
    HelperExtention::setupApp(&bar, "Brisane");
    EXPECT_EQ(about->text(), "About Brisane");
    EXPECT_EQ(prefs->text(), "Settings");
    EXPECT_EQ(hide->text(), "Hide Brisane");
    EXPECT_EQ(quit->text(), "Quit Brisane");

    QMenuBar plain;
    QMenu* first = plain.addMenu("First");
    QAction* other = addItem(first, "Other", "other:");
    HelperExtention::setupApp(&plain, "Brisane");
    EXPECT_EQ(other->text(), "Other");

    // Without an application menu: Quit in File, About in Help.
    QMenuBar desktop;
    QMenu* file = desktop.addMenu("File");
    QAction* open = addItem(file, "Open", "open:");
    QAction* quitInFile = addItem(file, "Quit", HelperExtention::QuitSelector);
    QAction* aboutInHelp =
        addItem(desktop.addMenu("Help"), "About", HelperExtention::AboutSelector);
    HelperExtention::setupApp(&desktop, "Brisane");
    EXPECT_EQ(open->text(), "Open");
    EXPECT_EQ(quitInFile->text(), "Quit Brisane");
    EXPECT_EQ(aboutInHelp->text(), "About Brisane");
}
