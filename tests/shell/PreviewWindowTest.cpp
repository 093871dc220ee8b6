// The preview window on the offscreen platform: its width by aspect, the
// main window hidden while it shows, the time texts, clicks on the picture
// and its margins, seek drags past either end, and the highlight of the
// button under the mouse in a grab of the window.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QTest>

#include "../production/PreviewDiscFakes.h"
#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "lumenta/LMMediaTime.h"
#include "production/DVDPlayer.h"
#include "shell/DVDPlayCtrl.h"
#include "shell/PreviewDVDProgressView.h"
#include "shell/PreviewDisplayView.h"

namespace {

using previewtest::Element;
using previewtest::Page;

LMMediaTime mediaTime(double seconds)
{
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

// A menu disc of one page with a button high up and one low down, each
// opening a sub page.
struct MenuDisc {
    std::shared_ptr<DVDLibrary> dvd = std::make_shared<DVDLibrary>();
    std::shared_ptr<Page> menu = std::make_shared<Page>();
    std::shared_ptr<Page> high = std::make_shared<Page>();
    std::shared_ptr<Page> low = std::make_shared<Page>();
    std::shared_ptr<Element> toHigh = std::make_shared<Element>();
    std::shared_ptr<Element> toLow = std::make_shared<Element>();

    MenuDisc()
    {
        toHigh->rect = {220, 340, 200, 80};
        toHigh->target = high;
        toLow->rect = {220, 40, 200, 60};
        toLow->target = low;
        menu->elements = {toHigh, toLow};
        high->up = toHigh;
        low->up = toLow;
        dvd->setMenus({menu, high, low});
    }
};

class ClickRecordingPlayer : public DVDPlayer {
public:
    void clickPoint(const QPointF& point) override { clicks << point; }
    QList<QPointF> clicks;
};

class SeekRecordingPlayer : public MoviePlayer {
public:
    LMMediaTime duration() const override { return mediaTime(10); }
    LMMediaTime currentTime() const override { return now; }
    void seek(LMMediaTime time) override
    {
        seeks << time;
        now = time;
    }
    QList<LMMediaTime> seeks;
    LMMediaTime now = 0;
};

TEST(PreviewWindowTest, OpensAtTheDiscsWidthAndHidesTheMainWindowUntilClosed)
{
    QMainWindow main;
    main.show();
    DVDPlayCtrl preview;
    for (const auto& [aspect, width] : {std::pair{0, 640}, std::pair{1, 854}}) {
        SCOPED_TRACE(aspect);
        auto dvd = std::make_shared<DVDLibrary>();
        dvd->setAspectType(aspect);
        preview.setModalWindow(&main);
        preview.playDVD(dvd);
        EXPECT_EQ(preview.window()->width(), width);
        EXPECT_TRUE(preview.window()->isVisible());
        EXPECT_FALSE(main.isVisible());

        preview.closeDVD();
        EXPECT_FALSE(preview.window()->isVisible());
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(preview.modalWindow(), nullptr);
        EXPECT_EQ(preview.player()->dvd(), nullptr);
        EXPECT_FALSE(preview.player()->isPlay());
    }
}

TEST(PreviewWindowTest, TimesRoundToTheNearestSecondAndNeverGoNegative)
{
    struct Case {
        double seconds;
        const char* text;
    };
    for (const Case& c : {Case{59.5, "00:01:00"}, Case{59.49, "00:00:59"}, Case{0, "00:00:00"},
                          Case{3725.2, "01:02:05"}, Case{-4, "00:00:00"}}) {
        EXPECT_EQ(DVDPlayCtrl::timeStrFromFFTime(mediaTime(c.seconds)), QString(c.text))
            << c.seconds;
    }

    DVDPlayCtrl preview;
    preview.playDVD(std::make_shared<DVDLibrary>());  // one second of nothing
    preview.player()->seek(preview.player()->duration());
    preview.imageDidFlushInPlayer(preview.player());
    EXPECT_EQ(preview.playerPlayTime()->text(), QString("00:00:01"));
    EXPECT_EQ(preview.playerLeftTime()->text(), QString("00:00:00"));
    preview.closeDVD();
}

TEST(PreviewWindowTest, ClicksInTheMarginDoNothingAndInsideArriveAsBottomLeftFractions)
{
    MenuDisc disc;
    ClickRecordingPlayer player;
    player.setIsPreview(true);
    player.setDvd(disc.dvd);
    player.playDVDItem(nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!player.effectImage().isNull(), 10000);

    PreviewDisplayView view;
    view.setPlayer(&player);
    view.resize(800, 480);
    view.show();
    const QRectF picture = view.displayRect();
    ASSERT_GT(picture.left(), 1.0);  // grey margins left and right
    ASSERT_LT(picture.right(), 799.0);

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(int(picture.left()) / 2, 240));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(int(picture.right()) + 5, 100));
    EXPECT_TRUE(player.clicks.isEmpty());

    const QPoint inside(int(picture.left() + picture.width() / 4),
                        int(picture.top() + picture.height() * 3 / 4));
    QTest::mouseClick(&view, Qt::LeftButton, {}, inside);
    ASSERT_EQ(player.clicks.size(), 1);
    EXPECT_NEAR(player.clicks.first().x(), 0.25, 0.01);
    EXPECT_NEAR(player.clicks.first().y(), 0.25, 0.01);
    view.setPlayer(nullptr);
    player.pause();
}

TEST(PreviewWindowTest, SeekDragsPastEitherEndSeekToTheStartOrTheEnd)
{
    SeekRecordingPlayer player;
    PreviewDVDProgressView bar;
    bar.setPlayer(&player);
    bar.resize(412, 24);
    bar.show();
    const int y = 12;

    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(206, y));
    EXPECT_EQ(player.seeks.last(), mediaTime(5));
    QMouseEvent farLeft(QEvent::MouseMove, QPointF(-50, y), bar.mapToGlobal(QPointF(-50, y)),
                        Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&bar, &farLeft);
    EXPECT_EQ(player.seeks.last(), 0);
    QMouseEvent farRight(QEvent::MouseMove, QPointF(900, y), bar.mapToGlobal(QPointF(900, y)),
                         Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&bar, &farRight);
    EXPECT_EQ(player.seeks.last(), player.duration());
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(900, y));
    const qsizetype count = player.seeks.size();
    QMouseEvent after(QEvent::MouseMove, QPointF(100, y), bar.mapToGlobal(QPointF(100, y)),
                      Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(&bar, &after);
    EXPECT_EQ(player.seeks.size(), count);  // no seeking once released
    EXPECT_DOUBLE_EQ(bar.progress(), 1.0);
}

TEST(PreviewWindowTest, HoveringALowButtonLightsOnlyThatButton)
{
    MenuDisc disc;
    DVDPlayCtrl preview;
    preview.playDVD(disc.dvd);
    PreviewDisplayView* view = preview.playerView();
    QTRY_VERIFY_WITH_TIMEOUT(!view->displayRect().isEmpty(), 10000);
    preview.player()->pause();
    QTest::qWait(100);
    const QImage before = view->grab().toImage();

    const QRectF picture = view->displayRect();
    // Canvas point (320, 70), y up: in the low button.
    const auto toView = [&](double x, double yUp) {
        return QPoint(int(picture.left() + x / 640 * picture.width()),
                      int(picture.bottom() - yUp / 480 * picture.height()));
    };
    QTest::mouseMove(view, toView(320, 70));
    QTRY_COMPARE(preview.player()->dvd_highlight_rect(), disc.toLow->rect);
    const QImage after = view->grab().toImage();
    testsupport::writeArtifact(after, "preview-window-highlight.png");

    EXPECT_NE(after.pixel(toView(320, 70)), before.pixel(toView(320, 70)));
    EXPECT_EQ(after.pixel(toView(320, 380)), before.pixel(toView(320, 380)));  // high button
    EXPECT_EQ(after.pixel(toView(320, 240)), before.pixel(toView(320, 240)));  // between them
    EXPECT_EQ(after.pixel(toView(100, 70)), before.pixel(toView(100, 70)));    // left of it
    preview.closeDVD();
}

}  // namespace
