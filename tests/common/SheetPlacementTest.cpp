// Sheets and dialogs open centred on their window, at every opening, and
// inside the screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>

#include "common/SheetPlacement.h"

namespace {

TEST(SheetPlacementTest, CentredOnTheOwnerAndKeptOnTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    struct Case {
        QRect owner;
        QSize size;
        QPoint topLeft;
    };
    const QList<Case> cases = {
        {{100, 40, 1024, 700}, {480, 260}, {372, 260}},
        {{100, 40, 1024, 700}, {1024, 700}, {100, 40}},
        {{-300, 40, 600, 400}, {480, 260}, {0, 110}},    // left of the screen
        {{900, 600, 600, 400}, {480, 260}, {800, 540}},  // past the bottom right
        {{100, 40, 400, 300}, {2000, 1000}, {0, 0}},     // larger than the screen
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SheetPlacement::centredFrame(c.owner, c.size, screen).topLeft(), c.topLeft)
            << c.owner.x() << "," << c.owner.y() << " " << c.size.width();
    }
}

TEST(SheetPlacementTest, EveryOpeningIsCentredOnTheWindow)
{
    SheetPlacement::install();
    QMainWindow window;
    window.setGeometry(50, 40, 640, 480);  // inside the offscreen screen
    window.show();
    QDialog sheet(&window);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(new QLabel("A sheet of some size"));
    sheet.setMinimumSize(420, 220);
    QList<QPoint> centres;
    for (int i = 0; i < 3; ++i) {
        sheet.open();
        QApplication::processEvents();
        centres.append(sheet.geometry().center());
        sheet.reject();
        QApplication::processEvents();
        if (i == 1) {
            sheet.move(0, 0);  // moved away between openings
        }
    }
    for (const QPoint& centre : centres) {
        EXPECT_LE((centre - window.geometry().center()).manhattanLength(), 2)
            << centre.x() << "," << centre.y();
    }
}

}  // namespace
