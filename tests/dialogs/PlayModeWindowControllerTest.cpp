// The play mode sheet: flags, loop lengths written into every page, the
// highlight colours and the preview that shows a change for 2 seconds.

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "PageDialogFixture.h"
#include "SpinBoxArrows.h"
#include "dialogs/ChooseBorderPreviewView.h"
#include "dialogs/PlayModeWindowController.h"
#include "dialogs/core/PlayModeRules.h"
#include "dialogs/core/PreviewHideSchedule.h"
#include "model/MusicData.h"

using pagedialogs::ticks;

namespace {

class PlayModeTest : public pagedialogs::PageDialogTest {
protected:
    // Music over a generated file, trimmed to `kept` seconds.
    std::shared_ptr<MusicData> musicKeeping(double kept)
    {
        if (!musicFile_) {
            musicFile_ = std::make_unique<QTemporaryDir>(testsupport::makeTempDir());
            EXPECT_TRUE(testsupport::makeTestClip(musicFile_->filePath("tone.mp4"), 1.0));
        }
        auto music = MusicData::musicDataWithPath(musicFile_->filePath("tone.mp4"));
        EXPECT_TRUE(music);
        music->vcmovie()->setTrimStart(ticks(10));
        music->vcmovie()->setTrimStop(ticks(10 + kept));
        return music;
    }

    std::unique_ptr<QTemporaryDir> musicFile_;
};

TEST_F(PlayModeTest, LoopMenuAndOpeningSelection)
{
    PlayModeWindowController dialog{host()};
    struct Case {
        bool byMusic;
        double duration;
        QString selected;
    };
    const Case cases[] = {
        {false, 15.0, "15"}, {false, 30.0, "30"}, {false, 42.5, ""},
        {false, 60.0, "60"}, {false, 65.0, ""},   {true, 30.0, "Background Music Length"},
    };
    for (const Case& c : cases) {
        services->disc->setUseBackMusicLengthAsPageDuration(c.byMusic);
        installed->mainController->menuDuration = c.duration;
        dialog.showWindowInModel();
        EXPECT_EQ(dialog.selectedLoopTitle(), c.selected) << c.duration;
        dialog.doneAction();
    }
    const QStringList titles = dialog.loopTitles();
    ASSERT_EQ(titles.size(), 14);
    EXPECT_EQ(titles.first(), "5");
    EXPECT_EQ(titles.at(11), "60");
    EXPECT_EQ(titles.at(12), "");  // the separator
    EXPECT_EQ(titles.last(), "Background Music Length");
    // Opening writes nothing.
    EXPECT_EQ(installed->mainController->count("changeCapacityValue"), 0);
}

TEST_F(PlayModeTest, SecondsSetEveryPageAndMusicLengthFollowsTheMusic)
{
    addPages(3);
    pages()[0]->setMusic(musicKeeping(42.5));
    services->disc->setUseBackMusicLengthAsPageDuration(true);
    PlayModeWindowController dialog{host()};
    dialog.showWindowInModel();

    dialog.chooseLoopTitle("30");
    EXPECT_FALSE(services->disc->useBackMusicLengthAsPageDuration());
    for (const auto& page : pages()) {
        EXPECT_DOUBLE_EQ(page->menuDuration(), 30.0);
    }
    dialog.chooseLoopTitle("Background Music Length");
    EXPECT_TRUE(services->disc->useBackMusicLengthAsPageDuration());
    EXPECT_NEAR(pages()[0]->menuDuration(), 42.5, 1e-6);
    EXPECT_DOUBLE_EQ(pages()[1]->menuDuration(), 15.0);
    EXPECT_DOUBLE_EQ(pages()[2]->menuDuration(), 15.0);
    EXPECT_EQ(installed->mainController->count("changeCapacityValue"), 2);

    dialog.checkAutoPlayFirstAction(true);
    dialog.checkPlayByTurnAction(true);
    EXPECT_TRUE(services->disc->autoPlayFirstTitle());
    EXPECT_TRUE(services->disc->playTitleSequence());
    dialog.doneAction();
    EXPECT_EQ(installed->mainController->count("setDocumentEdited:YES"), 1);
}

TEST_F(PlayModeTest, ColoursOpenOpaqueAndKeepTheirOpacityApart)
{
    QColor red(Qt::red);
    red.setAlphaF(0.4f);
    services->disc->setBorderColor(red);
    services->disc->setFillColor(QColor(Qt::green));
    services->disc->setBorderWidth(6);
    PlayModeWindowController dialog{host()};
    dialog.showWindowInModel();
    EXPECT_EQ(dialog.borderColor(), QColor(Qt::red));
    EXPECT_NEAR(dialog.borderColorAlpha(), 0.4, 0.01);
    EXPECT_DOUBLE_EQ(dialog.borderWidth(), 6.0);

    dialog.borderColorAlphaChanged(0.6);
    EXPECT_EQ(services->disc->borderColor().rgb(), QColor(Qt::red).rgb());
    EXPECT_NEAR(services->disc->borderColor().alphaF(), 0.6, 0.01);
    dialog.fillColorAlphaChanged(0.25);
    dialog.fillColorChangedAction(QColor(0, 0, 255, 10));
    EXPECT_EQ(services->disc->fillColor().rgb(), QColor(Qt::blue).rgb());
    EXPECT_NEAR(services->disc->fillColor().alphaF(), 0.25, 0.01);
    EXPECT_NEAR(services->disc->borderColor().alphaF(), 0.6, 0.01);
    dialog.borderWidthSliderChangedAction(12);
    testsupport::writeArtifact(dialog.grab().toImage(), "play-mode-dialog.png");
    EXPECT_DOUBLE_EQ(services->disc->borderWidth(), 12.0);
    EXPECT_TRUE(dialog.previewView()->isChangingValue());
}

// The opacity fields show their whole value and arrows that can be seen
// on the light buttons (the dialog's light window text is not theirs).
TEST_F(PlayModeTest, OpacityFieldsShowTheirValuesAndArrows)
{
    PlayModeWindowController dialog{host()};
    dialog.showWindowInModel();
    dialog.show();
    QApplication::processEvents();
    const QList<QAbstractSpinBox*> fields = dialog.findChildren<QAbstractSpinBox*>();
    ASSERT_EQ(fields.size(), 2);
    for (QAbstractSpinBox* field : fields) {
        static_cast<QDoubleSpinBox*>(field)->setValue(0.5);  // both arrows enabled
        SCOPED_TRACE(field->text().toStdString());
        EXPECT_GE(field->width(), field->sizeHint().width());
        EXPECT_GE(field->height(), field->sizeHint().height());
        EXPECT_TRUE(testsupport::hasDarkArrows(*field));
    }
    dialog.hide();
}

TEST_F(PlayModeTest, ColourWellsShowTheChosenColourOpaque)
{
    QColor red(Qt::red);
    red.setAlphaF(0.4f);
    services->disc->setBorderColor(red);
    services->disc->setFillColor(QColor(0, 128, 0, 64));
    PlayModeWindowController dialog{host()};
    dialog.showWindowInModel();
    QList<QPushButton*> wells;
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().isEmpty()) {
            wells << button;
        }
    }
    ASSERT_EQ(wells.size(), 2);
    const QRgb expected[] = {qRgb(255, 0, 0), qRgb(0, 128, 0)};  // border, fill
    for (int i = 0; i < 2; ++i) {
        const QImage well = wells[i]->grab().toImage();
        EXPECT_EQ(well.pixel(well.rect().center()), expected[i]) << i;
    }
    dialog.doneAction();
}

TEST(PreviewHideSchedule, ShowsTwoSecondsAfterTheFirstChangeOfABurst)
{
    PreviewHideSchedule schedule;
    EXPECT_TRUE(schedule.valueChanged(0));
    EXPECT_FALSE(schedule.valueChanged(1500));  // not restarted
    EXPECT_TRUE(schedule.shownAt(1999));
    EXPECT_FALSE(schedule.shownAt(2000));
    schedule.hide();
    EXPECT_FALSE(schedule.isChangingValue());
    EXPECT_TRUE(schedule.valueChanged(3000));
    EXPECT_TRUE(schedule.shownAt(4999));
    EXPECT_FALSE(schedule.shownAt(5000));
}

TEST(ChooseBorderPreviewView, OneTimerHidesTheHighlight)
{
    ChooseBorderPreviewView view;
    view.resize(200, 90);
    view.closeTimer()->setInterval(200);
    view.displayPreviewView();
    EXPECT_TRUE(view.showsHighlight());
    const int remaining = view.closeTimer()->remainingTime();
    QTest::qWait(20);
    view.displayPreviewView();
    EXPECT_LE(view.closeTimer()->remainingTime(), remaining);  // not restarted
    QTRY_VERIFY_WITH_TIMEOUT(!view.isChangingValue(), 5000);
    EXPECT_FALSE(view.showsHighlight());
}

TEST(ChooseBorderPreviewView, BorderWiderThanHalfFillsTheWholePreview)
{
    ChooseBorderPreviewView view;
    view.resize(100, 60);
    view.setHighlight(QColor(Qt::red), 40, QColor(Qt::blue));
    view.displayPreviewView();
    const QImage shot = view.grab().toImage();
    testsupport::writeArtifact(shot, "play-mode-preview-wide-border.png");
    EXPECT_EQ(shot.pixelColor(50, 30).rgb(), QColor(Qt::red).rgb());
    view.setHighlight(QColor(Qt::red), 10, QColor(Qt::blue));
    const QImage narrow = view.grab().toImage();
    EXPECT_EQ(narrow.pixelColor(50, 30).rgb(), QColor(Qt::blue).rgb());
    EXPECT_EQ(narrow.pixelColor(3, 30).rgb(), QColor(Qt::red).rgb());
}

}  // namespace
