// The video edit sheet as a whole, with real widgets offscreen, a recording
// movie and the recording main window and list fakes: opening, the trim
// controls, the Delete command, preview, reset, the typed segment ends,
// the picture layout of the tabs, and closing.
//
// When BRISANE_TEST_ARTIFACTS names a folder, screenshots of the trim tab
// (two segments, one selected) and of the crop tab are written there.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include "RecordingControllers.h"
#include "VideoEditTestSupport.h"
#include "common/NamedImage.h"
#include "listedit/MediaDataView.h"
#include "listedit/TitleDataView.h"
#include "media/VideoEditPlayer.h"
#include "model/DVDTitleData.h"
#include "model/MediaRowView.h"
#include "videoedit/VEMoviePlayerDisplayView.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditTabView.h"
#include "videoedit/VideoEditWindowController.h"

using namespace videoedittest;

// A clip row of the title list: counts its time refreshes.
class RowSpy : public MediaRowView {
public:
    int refreshes = 0;
    void removeFromSuperview() override {}
    void initAllControls() override {}
    void updateMediaTimeAfterVideoEdit() override { ++refreshes; }
};

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void saveShot(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png"));
}

class VideoEditSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip = makeClip(8.0, 1.0, 7.0);  // the clip plays 1 s to 7 s of its file
        clip.movie->pictureSize = QSizeF(320, 180);
        clip.movie->outputSize = QSizeF(720, 576);
        clip.media->setMediaDataView(&row);
    }

    void open()
    {
        sheet.updateWindowWithMedia(clip.media);
        sheet.pause();
        settle();
    }
    VEPlayerProgressBarView& timeline() { return *sheet.playerProgressBarView(); }
    void select(int index)
    {
        timeline().setSelectedTrimIndex(index);
        sheet.flushProgressTimeLabel();
        sheet.flushPlayerProgressTimeStr();
        settle();
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
        settle();
    }
    Spans spans() const { return spansOf(clip.item()->trimArray()); }
    double playhead() const { return seconds(clip.movie->position) - 1.0; }

    testsupport::InstalledControllers installed;
    Clip clip;
    RowSpy row;
    VideoEditWindowController sheet{nullptr, installed.mainController};
};

TEST_F(VideoEditSheet, OpeningTakesTheSectionAndPlaysTheTrimTabFromZeroWritingNothing)
{
    clip.item()->setTrimArray(trims({{0.5, 1.5}}));
    const auto kept = clip.item()->trimArray();
    clip.movie->calls.clear();
    sheet.updateWindowWithMedia(clip.media);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_EQ(clip.item()->trimStart(), sec(1.0));
    EXPECT_EQ(clip.item()->trimStop(), sec(7.0));
    EXPECT_EQ(sheet.importMovieStart(), sec(1.0));
    EXPECT_EQ(sheet.importMovieStop(), sec(7.0));
    EXPECT_EQ(sheet.tabview()->currentIdentifier(), QString("trim"));
    EXPECT_EQ(sheet.editSegment()->checkedId(), 0);
    EXPECT_EQ(timeline().selectedTrimIndex(), 10000) << "no segment is selected on opening";
    EXPECT_TRUE(sheet.player()->isPlay());
    EXPECT_EQ(clip.movie->position, sec(1.0)) << "plays from the clip's start";
    EXPECT_FALSE(sheet.isPlayTrim());

    settle();  // the controls read their keys
    QStringList writes = clip.movie->calls;
    writes.removeAll("setCurrentTime");
    writes.removeAll("play");
    writes.removeAll("pause");
    // Opening hands the item's own watermark picture to the movie again; that
    // is drawn from the clip's settings, not a change of them.
    writes.removeAll("setWatermark");
    EXPECT_TRUE(writes.isEmpty()) << writes.join(", ").toStdString();
    EXPECT_EQ(clip.item()->trimArray(), kept);
    EXPECT_EQ(spans(), (Spans{{0.5, 1.5}}));
    EXPECT_TRUE(installed.mainController->calls.isEmpty());
    EXPECT_FALSE(sheet.deleteAction()->isEnabled());
    EXPECT_FALSE(sheet.trimStartField()->isEnabled());
    EXPECT_EQ(sheet.currentLeftTimeLabel()->text(), QString("-00:00:06"));
    sheet.doneVideoEdit();
}

TEST_F(VideoEditSheet, ClosingWithNothingChangedMarksEditedAndRefreshesBothRows)
{
    auto group = std::make_shared<MediaData>();
    RowSpy groupRow;
    group->setMediaDataView(&groupRow);
    clip.media->setIsSubMedia(true);
    clip.media->setSuperMediaData(group);
    open();
    sheet.doneVideoEdit();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(installed.mainController->calls,
              (QStringList{"changeCapacityValue", "setDocumentEdited:YES"}));
    EXPECT_TRUE(installed.mainController->isDocumentEdited());
    EXPECT_EQ(row.refreshes, 1);
    EXPECT_EQ(groupRow.refreshes, 1);
    EXPECT_FALSE(sheet.media());
    EXPECT_FALSE(sheet.player()->vcMovie());
    EXPECT_FALSE(clip.movie->playing);
    EXPECT_EQ(timeline().selectedTrimIndex(), 10000);
}

// The list's own rows, reached through the clip and its title: closing the
// sheet shows the clip's new length in its row and the new total in its
// title's row.
TEST_F(VideoEditSheet, ClosingShowsTheKeptLengthInTheListsRows)
{
    const auto title = std::make_shared<DVDTitleData>();
    title->mediaDataArray().append(clip.media);
    clip.media->flushSuperTitleData(title);
    MediaDataView clipRow;
    clipRow.setMedia(clip.media);
    clip.media->setMediaDataView(&clipRow);
    TitleDataView titleRow;
    titleRow.setTitle(title);
    title->setTitleDataView(&titleRow);
    clipRow.updateMediaTimeAfterVideoEdit();
    ASSERT_EQ(clipRow.mediaTime()->text(), QString("00:00:06"));
    ASSERT_EQ(titleRow.titleTime()->text(), QString("00:00:06"));

    open();
    sheet.seek(sec(1.0));
    settle();
    sheet.addTrimButton()->click();
    settle();
    ASSERT_EQ(spans(), (Spans{{1.0, 2.0}}));
    EXPECT_EQ(clipRow.mediaTime()->text(), QString("00:00:06")) << "the rows learn it on closing";
    sheet.doneVideoEdit();
    EXPECT_EQ(clipRow.mediaTime()->text(), QString("00:00:01"));
    EXPECT_EQ(titleRow.titleTime()->text(), QString("00:00:01"));
}

TEST_F(VideoEditSheet, ClosingRunsWhoeverHasTheFocusAndOnlyOnce)
{
    QWidget panel;  // a colour or font panel, active while the sheet closes
    panel.show();
    open();
    QApplication::setActiveWindow(&panel);
    sheet.reject();  // Escape
    EXPECT_EQ(installed.mainController->count("setDocumentEdited:YES"), 1);
    EXPECT_EQ(row.refreshes, 1);
    sheet.reject();
    EXPECT_EQ(installed.mainController->count("setDocumentEdited:YES"), 1);
    // A row destroyed while the sheet is open is passed over.
    {
        RowSpy gone;
        clip.media->setMediaDataView(&gone);
        open();
    }
    sheet.doneVideoEdit();
    EXPECT_EQ(installed.mainController->count("setDocumentEdited:YES"), 2);
}

TEST_F(VideoEditSheet, AddSelectAndDeleteThroughTheControls)
{
    open();
    sheet.seek(sec(1.0));
    settle();
    EXPECT_TRUE(sheet.addTrimButton()->isEnabled());
    sheet.addTrimButton()->click();
    settle();
    EXPECT_EQ(spans(), (Spans{{1.0, 2.0}}));
    EXPECT_EQ(timeline().selectedTrimIndex(), 0);
    EXPECT_TRUE(sheet.deleteAction()->isEnabled());
    EXPECT_TRUE(sheet.deleteTrimButton()->isEnabled());
    EXPECT_EQ(sheet.trimStartField()->text(), QString("00:00:01"));
    EXPECT_EQ(sheet.trimEndFiled()->text(), QString("00:00:02"));
    EXPECT_FALSE(sheet.addTrimButton()->isEnabled()) << "the playhead is inside a segment";

    sheet.deleteAction()->trigger();
    settle();
    EXPECT_TRUE(spans().isEmpty());
    EXPECT_FALSE(sheet.deleteAction()->isEnabled());
    EXPECT_FALSE(sheet.deleteTrimButton()->isEnabled());
    EXPECT_EQ(sheet.deleteAction()->shortcut(), QKeySequence(QKeySequence::Delete));
}

TEST_F(VideoEditSheet, TypedStartAndEndClampAndMoveThePlayheadOnlyOnAChange)
{
    clip.item()->setTrimArray(trims({{1.0, 3.0}, {4.0, 5.5}}));
    open();
    select(1);
    EXPECT_EQ(sheet.trimStartField()->text(), QString("00:00:04"));

    type(sheet.trimStartField(), "00:00:02");  // before the previous end
    EXPECT_EQ(spans(), (Spans{{1.0, 3.0}, {3.0, 5.5}}));
    EXPECT_NEAR(playhead(), 3.0, 1e-6) << "the playhead goes to the clamped start";
    EXPECT_EQ(sheet.trimStartField()->text(), QString("00:00:03"));

    const int seeks = clip.movie->count("setCurrentTime");
    type(sheet.trimStartField(), "00:00:03");  // the same start
    EXPECT_EQ(clip.movie->count("setCurrentTime"), seeks);

    type(sheet.trimEndFiled(), "00:00:09");  // past the clip's 6 s
    EXPECT_EQ(spans(), (Spans{{1.0, 3.0}, {3.0, 6.0}}));
    EXPECT_NEAR(playhead(), 6.0, 1e-6);

    type(sheet.trimStartField(), "00:00:08");  // later than end minus 1 s
    EXPECT_EQ(spans(), (Spans{{1.0, 3.0}, {5.0, 6.0}}));

    // Focus passing through an untouched field writes nothing.
    sheet.trimEndFiled()->setText("00:00:05");
    emit sheet.trimEndFiled()->editingFinished();
    EXPECT_EQ(spans(), (Spans{{1.0, 3.0}, {5.0, 6.0}}));
    sheet.doneVideoEdit();
}

TEST_F(VideoEditSheet, PreviewPlaysTheKeptPiecesAndDeleteEndsIt)
{
    clip.item()->setTrimArray(trims({{1.0, 2.0}, {3.0, 5.0}}));
    open();
    EXPECT_TRUE(sheet.previewTrimButton()->isEnabled());
    sheet.previewTrimButton()->click();
    settle();
    EXPECT_TRUE(sheet.isPlayTrim());
    EXPECT_TRUE(sheet.player()->isPreview());
    EXPECT_TRUE(sheet.player()->isPlay());
    EXPECT_NEAR(playhead(), 1.0, 1e-6) << "from the first kept piece";
    EXPECT_EQ(sheet.playPreviewImage(), NamedImage::imageNamed("video_edit_preview_stop"));

    select(0);
    sheet.deleteAction()->trigger();
    settle();
    EXPECT_FALSE(sheet.isPlayTrim());
    EXPECT_FALSE(sheet.player()->isPreview());
    EXPECT_EQ(sheet.playPreviewImage(), NamedImage::imageNamed("video_edit_preview"));
    EXPECT_EQ(spans(), (Spans{{3.0, 5.0}}));
    sheet.doneVideoEdit();
}

TEST_F(VideoEditSheet, ResetLeavesNoSegmentsAndEndsThePreview)
{
    clip.item()->setTrimArray(trims({{1.0, 2.0}, {3.0, 5.0}}));
    open();
    sheet.playTrimAction();
    select(1);
    sheet.resetTrimButton()->click();
    settle();
    EXPECT_TRUE(spans().isEmpty());
    EXPECT_EQ(timeline().selectedTrimIndex(), 10000);
    EXPECT_FALSE(sheet.isPlayTrim());
    EXPECT_FALSE(sheet.player()->isPreview());
    EXPECT_FALSE(sheet.previewTrimButton()->isEnabled());
    sheet.doneVideoEdit();
}

TEST_F(VideoEditSheet, TabsLayThePicturesOutAndPlaceTheOverlay)
{
    clip.movie->setCropRect(QRectF(0, 0, 160, 90));
    sheet.resize(800, 680);
    open();
    const QRect area = sheet.pictureArea()->rect();
    ASSERT_GT(area.width(), 100);
    EXPECT_FALSE(sheet.originPlayerView()->isVisible());
    EXPECT_FALSE(sheet.playerCropView()->isVisible());

    sheet.segmentSelectChanged(1);
    settle();
    EXPECT_EQ(sheet.tabview()->currentIdentifier(), QString("crop"));
    EXPECT_TRUE(sheet.originPlayerView()->isVisible());
    const QRect origin = sheet.originPlayerView()->geometry();
    const QRect effect = sheet.effectPlayerView()->geometry();
    EXPECT_LE(origin.right(), area.width() / 2);
    EXPECT_GE(effect.left(), area.width() / 2);
    EXPECT_NEAR(origin.center().x(), 8 + (area.width() / 2.0 - 12) / 2.0, 1.5);
    EXPECT_NEAR(double(effect.width()) / effect.height(), 720.0 / 576.0, 0.02);
    // The overlay lies over the source picture and shows its crop, a
    // quarter of the source each way.
    EXPECT_TRUE(sheet.playerCropView()->isVisible());
    const QRect overlay = sheet.playerCropView()->geometry();
    EXPECT_LE(std::abs(overlay.left() - origin.left()), 1);
    EXPECT_LE(std::abs(overlay.width() - origin.width()), 1);
    EXPECT_LE(std::abs(overlay.height() - origin.height()), 1);
    EXPECT_NEAR(sheet.playerCropView()->cropRect().width(), origin.width() / 2.0, 1.0);
    saveShot(sheet, "video-edit-crop-tab");

    sheet.segmentSelectChanged(2);  // the watermark is off
    EXPECT_FALSE(sheet.playerCropView()->isVisible());
    clip.item()->setEnableWatermark(true);
    clip.item()->setWatermarkType(1);
    sheet.updatePlayCropViewPlace();
    EXPECT_TRUE(sheet.playerCropView()->isVisible());
    EXPECT_TRUE(sheet.playerCropView()->onlyMove());
    for (int segment : {0, 3, 4, 7}) {
        sheet.segmentSelectChanged(segment);
        EXPECT_FALSE(sheet.playerCropView()->isVisible()) << segment;
        EXPECT_FALSE(sheet.originPlayerView()->isVisible());
    }
    EXPECT_EQ(sheet.tabview()->currentIdentifier(), QString("audio"));
    EXPECT_EQ(sheet.effectPlayerView()->geometry(),
              QRectF(VEMoviePlayerDisplayView::pictureRect(QRectF(0, 0, 720, 576), QRectF(area)))
                  .toRect());
    sheet.doneVideoEdit();
}

TEST_F(VideoEditSheet, ScreenshotOfTheTrimTabWithTwoSegmentsOneSelected)
{
    clip.item()->setTrimArray(trims({{0.5, 2.0}, {3.0, 4.5}}));
    sheet.resize(800, 680);
    open();
    sheet.seek(sec(3.5));
    select(1);
    EXPECT_EQ(sheet.currentTimeStr(), QString("00:00:03"));
    EXPECT_EQ(sheet.currentLeftTimeStr(), QString("-00:00:02"));
    saveShot(sheet, "video-edit-trim-tab");
    sheet.doneVideoEdit();
}

}  // namespace
