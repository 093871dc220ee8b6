// End to end: a text title styled through the title dialog ("Hello", a red
// solid fill, an outline) and zoomed 1.5 times with its slider, then the disc
// authored: the decoded menu shows red inside the title's place, and the menu's
// navigation packet holds the title's button, 1.5 times as wide as the
// title's frame before the zoom.
//
// The disc is made the way production makes it today, step by step: the disc
// model from the project, each stream converted, spumux and dvdauthor
// through Corvane, then read back with libdvdread and ffmpeg.

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

#include "DialogOnDiscTest.h"
#include "MenuDiscRoad.h"
#include "dialogs/ColorWell.h"
#include "dialogs/ItemZoomSlider.h"
#include "shell/core/DiscModelBuilder.h"

namespace {

using dialogtest::DialogOnDiscTest;

// The button area a frame of the page gives on the disc (y from the top).
QRect buttonArea(const QRectF& frame, const DVDPage& page, const DVDLibrary& disc)
{
    const double height = disc.dvdVideoSize().height();
    const QRectF r = DVDMenuMake::scaleRect(frame, page.menuSize(), disc.dvdVideoSize());
    return QRect(QPoint(int(r.x()), int(height - r.bottom())),
                 QPoint(int(r.right()), int(height - r.y())));
}

class TextTitleOnDiscTest : public DialogOnDiscTest {};

TEST_F(TextTitleOnDiscTest, StyledAndZoomedTextTitleReachesTheMenu)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));
    const QString movie = dir.filePath("one.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(movie, 1.2, 160, 120));

    // One clip, one title, one list page; the disc side rebuilt from it.
    const auto [title, page] =
        dialogtest::oneTitlePage(services->media, services->disc, movie, 1.2);
    ASSERT_TRUE(page);
    page->setMenuDuration(1.0);
    controller->flushDVDPageEditWhenOpen();
    const auto item = title->menuItem();
    ASSERT_TRUE(item);
    item->setFrame(QRectF(327, 200, 200, 100));
    item->setHasShadow(false);

    // The dialog: text title, "Hello", red solid fill, an outline, no backdrop.
    select({item});
    TitleTextEditWindowController& dialog = titleDialog();
    dialog.updateWndSettingWhenEditTitleMedia();
    dialog.useImageOrTextTitleRadioAction(1);
    TextStylePanel& panel = dialog.textStylePanel();
    panel.setTextViewString("Hello");
    panel.sizeSlider()->setValue(40);
    panel.fillCategory()->setCurrentIndex(0);
    emit panel.fillCategory()->activated(0);
    panel.fillColorWell()->chooseColor(Qt::red);
    panel.outlineCheckBox()->setChecked(true);
    panel.backdropCheckBox()->setChecked(false);
    ASSERT_EQ(item->type(), 4);
    EXPECT_EQ(item->textSource()->textString(), "Hello");
    EXPECT_EQ(item->textSource()->textFillType(), 0u);
    EXPECT_TRUE(item->textSource()->hasOutline());

    // Opened again, its slider zooms the text's frame.
    dialog.updateWndSettingWhenEditTitleMedia();
    const QRectF before = item->frame();
    ASSERT_GE(dialog.zoomSlider().maxZoom(), 1.5f);
    dialog.zoomSlider().slider()->setValue(1500);
    const QRectF after = item->frame();
    EXPECT_DOUBLE_EQ(after.width(), std::trunc(before.width()) * 1.5);

    const auto model = DiscModelBuilder(services->disc).getDVDObj();
    ASSERT_TRUE(model);
    ASSERT_TRUE(testsupport::authorDisc(model, work));
    const QString folder = work + "/dvd.dvdmedia";

    const QRect expected = buttonArea(after, *page, *model);
    const QRect unzoomed = buttonArea(before, *page, *model);
    const QList<QRect> buttons = dialogtest::firstMenuButtons(folder);
    ASSERT_TRUE(buttons.contains(expected)) << "the title's button is not on the menu";
    EXPECT_NEAR(double(expected.width()) / unzoomed.width(), 1.5, 0.03);

    const QImage picture =
        testsupport::frameOf(folder + "/VIDEO_TS/VTS_01_0.VOB", 10, dir.filePath("menu.png"));
    ASSERT_FALSE(picture.isNull());
    int red = 0;
    for (int y = expected.top(); y <= expected.bottom(); y += 2) {
        for (int x = expected.left(); x <= expected.right(); x += 2) {
            const QColor c = picture.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 50) << "no red letters in the title's place";
    testsupport::writeArtifact(picture, "text-title-menu.png");
}

}  // namespace
