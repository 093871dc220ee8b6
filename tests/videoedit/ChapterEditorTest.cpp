// The chapter editor as a whole: real widgets offscreen, a generated 6 s
// source cut into sections, the real title list installed as the main
// window's list editor, and recording alerts and main window. Opening, the
// marker controls (Add, the time field, Previous and Next, Delete, the arrow
// keys, a drag on the timeline), and both applies on plain clips and on
// sub-clips, down to the list, the source's sections and the one reload.
// Declining the question, Cancel and a refused apply change nothing.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a picture of the sheet with
// two chapter markers, one selected, is written there.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "ChapterTestSupport.h"
#include "common/widgets/AlertService.h"
#include "media/MoviePlayer.h"
#include "videoedit/ClipEditBackgroundView.h"
#include "videoedit/ClipEditPlayerProgressView.h"

using namespace chaptertest;

namespace {

QList<double> timesOf(const QList<ClipMarker::Ptr>& markers)
{
    QList<double> times;
    for (const auto& marker : markers) {
        times << marker->markDoubleTime();
    }
    return times;
}

// One source of 6 s cut at 2 s and 4 s: clips A and B in the first title,
// C in the second.
class ChapterEditor : public ChapterEditorTest {
protected:
    void SetUp() override
    {
        ChapterEditorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(cutSource());
        T1 = title({A, B});
        T2 = title({C});
        showList();
    }

    // The source of 6 s and its three clips, in no title yet.
    void cutSource()
    {
        source = makeSource(6.0);
        A = cut(source, "A", 0.0, 2.0);
        B = cut(source, "B", 2.0, 4.0);
        C = cut(source, "C", 4.0, 6.0);
        ASSERT_TRUE(A && B && C);
    }

    void open(const MediaData::Ptr& clip)
    {
        sheet->showWindowWithMediaData(clip);
        sheet->pause();
        settle();
    }
    // Moves the player and lets the timeline and the controls follow.
    void seekTo(double seconds)
    {
        sheet->seek(sec(seconds));
        // The frame arrives later; the position is the player's at once.
        sheet->flushPlayerProgress();
        settle();
    }
    void type(const QString& text)
    {
        QLineEdit* field = sheet->selectedMarkTimeField();
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
        settle();
    }
    ClipMarker::Ptr marker(int index) const { return sheet->markerArray().at(index); }
    std::string shown() const { return describe(*source).toStdString(); }

    std::shared_ptr<SectionDataResource> source;
    MediaData::Ptr A, B, C;
    std::shared_ptr<DVDTitleData> T1, T2;
};

}  // namespace

TEST_F(ChapterEditor, OpeningReadsTheSourceAndPlaysItFromTheStart)
{
    // Sections kept out of time order still give ascending markers.
    std::swap(source->mediaSectionArray()[0], source->mediaSectionArray()[2]);
    sheet->showWindowWithMediaData(B);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(sheet->player()->isPlay());
    sheet->pause();
    settle();
    EXPECT_EQ(sheet->importMedia(), B);
    EXPECT_EQ(sheet->sourceResource(), source);
    EXPECT_FALSE(sheet->importMediaIsSubMedia());
    EXPECT_EQ(sheet->oldMediaArray(), (MediaData::ClipList{C, B, A})) << "in section order";
    EXPECT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 2.0, 4.0, 6.0}));
    ASSERT_TRUE(sheet->vcMovie());
    EXPECT_NE(sheet->vcMovie(), B->vcmovie()) << "a fresh item of the whole source";
    EXPECT_NEAR(lm_ff_time_to_double(sheet->player()->duration()), 6.0, 0.1);
    EXPECT_TRUE(sheet->playTimeLabel()->text().startsWith("00:00:00.000/00:00:0"));
    EXPECT_EQ(sheet->selectedMarker(), nullptr);
    EXPECT_FALSE(sheet->preMarkerButton()->isEnabled());
    EXPECT_FALSE(sheet->nextMarkerButton()->isEnabled());
    EXPECT_FALSE(sheet->selectedMarkTimeField()->isEnabled());
    EXPECT_FALSE(sheet->deleteAction()->isEnabled());
    EXPECT_TRUE(sheet->applyToVideoButton()->isEnabled());
    EXPECT_TRUE(sheet->applyToSubmenuButton()->isEnabled());
    EXPECT_EQ(sheet->deleteAction()->shortcut(), QKeySequence(QKeySequence::Delete));

    sheet->cancelButtonAction();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(sheet->markerArray().isEmpty());
    EXPECT_TRUE(sheet->oldMediaArray().isEmpty());
    EXPECT_FALSE(sheet->player()->isPlay());

    // A clip that plays no section of a source is not opened.
    sheet->showWindowWithMediaData(nullptr);
    sheet->showWindowWithMediaData(std::make_shared<MediaData>());
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(ChapterEditor, AddTypeAndDeleteMarkersThroughTheControls)
{
    open(A);
    seekTo(2.5);  // 0.5 s after the marker at 2 s
    EXPECT_EQ(sheet->playerProgressView()->currentTime(), sec(2.5));
    EXPECT_FALSE(sheet->addMarkButton()->isEnabled());
    seekTo(3.0);  // exactly 1 s from the markers at 2 s and 4 s
    ASSERT_TRUE(sheet->addMarkButton()->isEnabled());
    QTest::mouseClick(sheet->addMarkButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 2.0, 3.0, 4.0, 6.0}));
    EXPECT_EQ(sheet->selectedMarker(), marker(2));
    EXPECT_EQ(sheet->selectedMarkTimeField()->text(), "00:00:03.000");
    EXPECT_TRUE(sheet->selectedMarkTimeField()->isEnabled());
    EXPECT_TRUE(sheet->deleteAction()->isEnabled());
    EXPECT_FALSE(sheet->addMarkButton()->isEnabled()) << "a marker is at the playhead now";

    // The marker at 2 s lies between 0 and 3: the field keeps it in 1 .. 2.
    sheet->setSelectedMarker(marker(1));
    settle();
    const struct {
        const char* typed;
        double kept;
        const char* shown;
    } cases[] = {
        {"1.5", 1.5, "00:00:01.500"},           {"0:0.5", 1.0, "00:00:01.000"},
        {"1:05", 2.0, "00:00:02.000"},          {"junk", 1.0, "00:00:01.000"},
        {"00:00:01.250", 1.25, "00:00:01.250"},
    };
    for (const auto& c : cases) {
        type(c.typed);
        EXPECT_EQ(marker(1)->markTime(), sec(c.kept)) << '"' << c.typed << '"';
        EXPECT_EQ(sheet->selectedMarkTimeField()->text(), c.shown) << '"' << c.typed << '"';
    }

    // Delete, from the keyboard, removes the selected chapter marker.
    sheet->deleteAction()->trigger();
    settle();
    EXPECT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 3.0, 4.0, 6.0}));
    EXPECT_EQ(sheet->selectedMarker(), nullptr);
    EXPECT_FALSE(sheet->deleteAction()->isEnabled());
    EXPECT_FALSE(sheet->selectedMarkTimeField()->isEnabled());
    sheet->removeSelectedMarker();  // nothing selected: nothing goes
    EXPECT_EQ(sheet->markerArray().size(), 4);
}

TEST_F(ChapterEditor, PreviousAndNextStepBetweenChapterMarkersAndSeek)
{
    open(A);
    sheet->setSelectedMarker(marker(2));  // 4 s
    settle();
    EXPECT_TRUE(sheet->preMarkerButton()->isEnabled());
    EXPECT_FALSE(sheet->nextMarkerButton()->isEnabled()) << "the end marker is not a chapter";
    QTest::mouseClick(sheet->preMarkerButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(sheet->selectedMarker(), marker(1));
    EXPECT_EQ(sheet->player()->currentTime(), sec(2.0));
    EXPECT_FALSE(sheet->preMarkerButton()->isEnabled()) << "the start marker is not a chapter";
    EXPECT_TRUE(sheet->nextMarkerButton()->isEnabled());
    sheet->preMarkerAction();  // disabled: nothing happens
    EXPECT_EQ(sheet->selectedMarker(), marker(1));
    QTest::mouseClick(sheet->nextMarkerButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(sheet->selectedMarker(), marker(2));
    EXPECT_EQ(sheet->player()->currentTime(), sec(4.0));

    // The start and end markers cannot be selected at all.
    sheet->setSelectedMarker(marker(0));
    EXPECT_EQ(sheet->selectedMarker(), nullptr);
    sheet->setSelectedMarker(marker(3));
    EXPECT_EQ(sheet->selectedMarker(), nullptr);
}

TEST_F(ChapterEditor, ArrowKeysMoveThePlayheadAndStopAtTheEnds)
{
    open(A);
    QWidget* background = sheet->backgroundView();
    seekTo(0.0);
    QTest::keyClick(background, Qt::Key_Left);
    EXPECT_EQ(sheet->player()->currentTime(), 0);
    QTest::keyClick(background, Qt::Key_Right);
    EXPECT_EQ(sheet->player()->currentTime(), sec(0.05));
    const LMMediaTime end = sheet->player()->duration();
    sheet->seek(end);
    QTest::keyClick(background, Qt::Key_Right);
    EXPECT_EQ(sheet->player()->currentTime(), end);
    QTest::keyClick(background, Qt::Key_Left);
    EXPECT_EQ(sheet->player()->currentTime(), end - sec(0.05));
    EXPECT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 2.0, 4.0, 6.0}))
        << "the arrows move the playhead, not a marker";
}

TEST_F(ChapterEditor, AMarkerDraggedOnTheTimelineStopsOneSecondBeforeItsNeighbour)
{
    open(A);
    ClipEditPlayerProgressView* view = sheet->playerProgressView();
    view->resize(400, view->height());
    ClipEditTimeline& timeline = view->timeline();
    timeline.setBounds(QRectF(QPointF(0, 0), QSizeF(view->size())));
    const QRectF tab = timeline.markerButtonRect(timeline.timeToPoint(sec(2.0)));
    const QPointF from = view->toWidget().map(QPointF(tab.left() + 4.0, tab.top() + 3.0));
    const QPointF to = from + QPointF(timeline.timeToPoint(sec(5.0)) - timeline.timeToPoint(0), 0);
    const auto send = [view](QEvent::Type type, QPointF p, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
        QMouseEvent event(type, p, view->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settle();
    EXPECT_EQ(sheet->selectedMarker(), marker(1));
    EXPECT_EQ(marker(1)->markTime(), sec(3.0)) << "1 s before the marker at 4 s";
    EXPECT_EQ(sheet->selectedMarkTimeField()->text(), "00:00:03.000");
    EXPECT_EQ(sheet->player()->currentTime(), sec(3.0));

    sheet->setSelectedMarker(marker(2));
    seekTo(2.5);
    sheet->resize(760, 560);
    testsupport::writeArtifact(sheet->grab().toImage(), "chapter-editor-two-markers.png");
}

TEST_F(ChapterEditor, ApplyToVideoOnAPlainClipMakesItTheMergedClipOfTheChapters)
{
    open(A);
    // Chapters 0-2, 2-3 and 3-6: the markers, not the old sections, count.
    sheet->setSelectedMarker(marker(2));
    sheet->removeSelectedMarker();
    seekTo(3.0);
    sheet->addMarkButtonAction();
    ASSERT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 2.0, 3.0, 6.0}));

    ASSERT_TRUE(sheet->applyToVideoAction());
    settle();
    const auto& alerts = services_.alerts->alerts;
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].content.message, "Do you want to apply the chapter markers to Video ?");
    EXPECT_EQ(alerts[0].content.informativeText, "This will reset the video edit.");
    EXPECT_EQ(alerts[0].content.defaultButton, "Apply");
    EXPECT_EQ(alerts[0].content.alternateButton, "");
    EXPECT_EQ(alerts[0].content.otherButton, "Cancel");

    EXPECT_EQ(shown(), "(A{*[0-2] *[2-3] *[3-6]}) | 0-2 2-3 3-6");
    EXPECT_TRUE(A->hasSubMedia());
    for (const auto& member : A->subMediaArray()) {
        EXPECT_TRUE(member->isSubMedia());
        EXPECT_EQ(member->superMediaData(), A);
        EXPECT_EQ(member->sectionItem()->superResource(), source);
        EXPECT_TRUE(source->mediaSectionArray().contains(member->sectionItem()));
        EXPECT_EQ(member->sectionItem()->associatedMedia(), member);
        EXPECT_FALSE(member->previewImage().isNull());
    }
    // The list reloads once after merging the chapters in, and the sheet
    // once more after the old clips have gone.
    EXPECT_TRUE(listShowsTheModel());
    EXPECT_EQ(mainCalls().count("initDvdResource"), 2);
    EXPECT_EQ(mainCalls().count("setDocumentEdited:YES"), 3) << "the reloads' and the apply's";
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(ChapterEditor, ApplyToSubmenuOnAPlainClipKeepsItAsChapterZeroFollowedByTheOthers)
{
    A->vcmovie()->setTrimArray({std::make_shared<MovieTrimItem>(0.2, 1.0)});
    const VCMovie::Ptr edited = A->vcmovie();
    open(A);
    ASSERT_TRUE(sheet->applyToSubmenuAction());
    settle();
    EXPECT_EQ(services_.alerts->messages(),
              QStringList{"Do you want to apply the chapter markers to Submenu ?"});
    EXPECT_EQ(shown(), "(A[0-2] *[2-4] *[4-6]) | 0-2 2-4 4-6");
    EXPECT_NE(A->vcmovie(), edited);
    EXPECT_TRUE(A->vcmovie()->trimArray().isEmpty()) << "the video edits are reset";
    EXPECT_EQ(A->superTitleData(), T1);
    EXPECT_TRUE(listShowsTheModel());
    EXPECT_EQ(mainCalls().count("initDvdResource"), 2);
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(ChapterEditor, OneSectionAppliesAsOneChapterOverTheWholeSource)
{
    // B and C are deleted: A's section then covers the whole source.
    listEditor->listTableView()->removeSelectedMedia(B);
    listEditor->listTableView()->removeSelectedMedia(C);
    showList();
    ASSERT_EQ(shown(), "(A[0-6]) | 0-6");
    A->vcmovie()->setTrimArray({std::make_shared<MovieTrimItem>(0.2, 1.0)});
    const VCMovie::Ptr edited = A->vcmovie();
    open(A);
    EXPECT_EQ(timesOf(sheet->markerArray()), (QList<double>{0.0, 6.0}));
    ASSERT_TRUE(sheet->applyToVideoAction());
    settle();
    EXPECT_EQ(shown(), "(A[0-6]) | 0-6");
    EXPECT_EQ(mainCalls().count("initDvdResource"), 1) << "only the sheet's reload";
    EXPECT_NE(A->vcmovie(), edited);
    EXPECT_TRUE(A->vcmovie()->trimArray().isEmpty());
    EXPECT_FALSE(A->hasSubMedia());
}

TEST_F(ChapterEditor, NothingChangesWhenTheQuestionIsDeclinedOrTheSheetCancelled)
{
    const std::string before = shown();
    open(B);
    seekTo(5.0);
    sheet->addMarkButtonAction();
    services_.alerts->defaultAnswer = AlertService::OtherReturn;
    EXPECT_FALSE(sheet->applyToVideoAction());
    EXPECT_FALSE(sheet->applyToSubmenuAction());
    settle();
    EXPECT_EQ(services_.alerts->alerts.size(), 2);
    EXPECT_TRUE(sheet->isVisible()) << "declining leaves the sheet open";
    EXPECT_EQ(sheet->markerArray().size(), 5);
    EXPECT_EQ(shown(), before);

    QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(mainCalls().isEmpty()) << mainCalls().join(", ").toStdString();
}

TEST_F(ChapterEditor, ChaptersUnderASecondAreRefusedWithoutAQuestion)
{
    // A section of 0.5 s: the chapter it gives is too short to apply.
    A->sectionItem()->setEndTimeInMedia(sec(0.5));
    B->sectionItem()->setStartTimeInMedia(sec(0.5));
    showList();
    const std::string before = shown();
    open(B);
    EXPECT_FALSE(sheet->applyToVideoButton()->isEnabled());
    EXPECT_FALSE(sheet->applyToSubmenuButton()->isEnabled());
    EXPECT_FALSE(sheet->applyToVideoAction());
    EXPECT_FALSE(sheet->applyToSubmenuAction());
    EXPECT_TRUE(services_.alerts->alerts.isEmpty());
    EXPECT_EQ(shown(), before);
    // Moving the marker to a second after the start makes it applicable.
    sheet->setSelectedMarker(marker(1));
    sheet->setSelectedMarkerTime(sec(0.5));
    settle();
    EXPECT_EQ(marker(1)->markTime(), sec(1.0));
    EXPECT_TRUE(sheet->applyToVideoButton()->isEnabled());
}

TEST_F(ChapterEditor, AnApplyWhoseChaptersCannotBeMadeChangesNothing)
{
    // The source file goes away while the sheet is open: no chapter's clip
    // can be made, and no section may be left behind without one.
    const std::string before = shown();
    open(A);
    ASSERT_TRUE(QFile::rename(path("source.mp4"), path("moved.mp4")));
    EXPECT_FALSE(sheet->applyToVideoAction());
    EXPECT_FALSE(sheet->applyToSubmenuAction());
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(source->mediaSectionArray().size(), 3);
    EXPECT_TRUE(mainCalls().isEmpty()) << mainCalls().join(", ").toStdString();
}

namespace {

// The same source with A and B as the sub-clips of G in the first title.
class ChapterEditorSubClip : public ChapterEditor {
protected:
    void SetUp() override
    {
        ChapterEditorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(cutSource());
        G = merged("G", {A, B});
        T1 = title({G});
        T2 = title({C});
        showList();
    }

    MediaData::Ptr G;
};

}  // namespace

TEST_F(ChapterEditorSubClip, ApplyToVideoKeepsTheSubClipAsChapterZeroAmongItsMergedClip)
{
    open(A);
    EXPECT_TRUE(sheet->importMediaIsSubMedia());
    ASSERT_TRUE(sheet->applyToVideoAction());
    settle();
    EXPECT_EQ(shown(), "(G{A[0-2] *[2-4] *[4-6]}) | 0-2 2-4 4-6");
    EXPECT_TRUE(listShowsTheModel());
    EXPECT_EQ(mainCalls().count("initDvdResource"), 2);
}

TEST_F(ChapterEditorSubClip, ApplyToSubmenuPutsEveryChapterAfterTheMergedClipAndDropsIt)
{
    open(B);
    ASSERT_TRUE(sheet->applyToSubmenuAction());
    settle();
    EXPECT_EQ(shown(), "(*[0-2] *[2-4] *[4-6]) | 0-2 2-4 4-6");
    for (const auto& clip : T1->mediaDataArray()) {
        EXPECT_FALSE(clip->isSubMedia());
        EXPECT_EQ(clip->superTitleData(), T1);
    }
    EXPECT_TRUE(listShowsTheModel());
    EXPECT_EQ(mainCalls().count("initDvdResource"), 2);
}
