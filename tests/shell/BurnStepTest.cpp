// The burn step of the workflow: the space check, the start attempts, the
// watch of a running burn, the "Burn Failed" sheet and its Retry button, and
// the end reports. A scripted burner plays the drive, then the real burner on
// libburn's pseudo-drives.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QWidget>
#include <future>

#include "../corvane/BurnTestSupport.h"
#include "../production/TwoTitleDisc.h"
#include "FastBurnIntervals.h"
#include "RecordingServices.h"
#include "RoadRun.h"
#include "ScriptedDiscBurner.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "common/widgets/WidgetAlertService.h"
#include "corvane/DVDBurn.h"
#include "production/BurnDVDWorkflow.h"
#include "production/DVDBurnAdapter.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/SheetProductionInteraction.h"

namespace {

using testsupport::ScriptedDiscBurner;
using Outcome = ScriptedDiscBurner::Outcome;

constexpr qint64 ImageBytes = 300 * 1024;

BurnDVDWorkflow::BurnIntervals fastIntervals()
{
    return testsupport::fastBurnIntervals(300);
}

bool writeRandomFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray block(int(bytes), '\0');
    for (int i = 0; i < block.size(); ++i) {
        block[i] = char((i * 7919) >> 5);
    }
    return file.write(block) == block.size();
}

class BurnStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        iso = folders.root() + "/image.iso";
        ASSERT_TRUE(writeRandomFile(iso, ImageBytes));
        flow.setBurnIntervals(fastIntervals());
        flow.setInteraction(std::make_shared<SheetProductionInteraction>(&window));
    }

    // Runs the burn step on a worker thread; this thread serves the main
    // loop and calls `meanwhile` until the step ends.
    ProductionResult burn(const std::shared_ptr<IDiscBurner>& burner,
                          const std::function<void()>& meanwhile = {})
    {
        std::future<ProductionResult> done =
            std::async(std::launch::async, [&] { return flow.burn(iso, burner); });
        QElapsedTimer clock;
        clock.start();
        while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (meanwhile) {
                meanwhile();
            }
            if (clock.elapsed() > 30000) {
                ADD_FAILURE() << "the burn step did not end";
                flow.cancel();
                for (const auto& sheet : installed.alerts->sheets) {
                    sheet->dismiss();
                }
            }
        }
        return done.get();
    }

    std::shared_ptr<AlertSheet> sheet() const { return installed.alerts->sheets.value(0); }
    QStringList messages() const { return installed.alerts->messages(); }
    // The alerts the step waited for, as "message|informative text".
    QStringList reports() const
    {
        QStringList texts;
        for (const auto& shown : installed.alerts->alerts) {
            if (shown.waited) {
                texts << shown.content.message + "|" + shown.content.informativeText;
            }
        }
        return texts;
    }

    testsupport::UserFolders folders;
    testsupport::InstalledServices installed;
    QWidget window;
    BurnDVDWorkflow flow;
    QString iso;
    std::shared_ptr<ScriptedDiscBurner> burner = std::make_shared<ScriptedDiscBurner>();
};

TEST_F(BurnStep, FinishedBurnIsReportedOnceWithTheBurnerUsedOnTheMainThread)
{
    const ProductionResult result = burn(burner);
    EXPECT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    EXPECT_TRUE(flow.burnSuccess());
    EXPECT_EQ(reports(), QStringList{"DVD Burn Success|"});
    ASSERT_EQ(installed.alerts->alerts.size(), 1);
    EXPECT_EQ(installed.alerts->alerts[0].window, &window);
    EXPECT_EQ(installed.alerts->alerts[0].content.defaultButton, "OK");
    EXPECT_EQ(burner->prepares(), 1);
    EXPECT_EQ(burner->attemptedPaths(), QStringList{iso});
    EXPECT_FALSE(burner->calledOffTheMainThread());
    EXPECT_EQ(flow.task(), nullptr);
}

TEST_F(BurnStep, ImageThatDoesNotFitShowsTheSpaceAlertAndBurnsNothing)
{
    // The image must be smaller than the writable space, not equal to it.
    burner->setMedia(true, ImageBytes);
    const ProductionResult result = burn(burner);
    EXPECT_TRUE(result.isFailed());
    EXPECT_TRUE(result.wasShown());
    EXPECT_FALSE(flow.burnSuccess());
    EXPECT_EQ(reports(), QStringList{"DVD Disc space is not enough.|"
                                     "you can remove some video and try again."});
    EXPECT_TRUE(burner->attemptedPaths().isEmpty());
    EXPECT_EQ(burner->prepares(), 1);
}

TEST_F(BurnStep, BurnerThatNeverStartsIsTriedFiveTimesThenTheImageIsDescribed)
{
    ASSERT_TRUE(twotitledisc::makeTwoTitleDisc(folders.root()));
    iso = folders.root() + "/disc.iso";
    burner->setStartAnswers({}, false);
    const ProductionResult result = burn(burner);
    EXPECT_TRUE(result.isFailed());
    EXPECT_TRUE(result.wasShown());
    EXPECT_EQ(burner->attemptedPaths().size(), BurnDVDWorkflow::StartAttempts);
    EXPECT_FALSE(burner->calledOffTheMainThread());
    ASSERT_EQ(messages(), QStringList{"DVD Burn Failed"});
    const QString text = installed.alerts->alerts[0].content.informativeText;
    const QRegularExpression form(
        "^ISO File Error 1:2 (\\d+\\.\\d)M disk:(\\d+\\.\\d)M \\niso path (.*)$");
    const QRegularExpressionMatch match = form.match(text);
    ASSERT_TRUE(match.hasMatch()) << qPrintable(text);
    EXPECT_EQ(match.captured(1),
              QString::number(double(QFileInfo(iso).size()) / 1024 / 1024, 'f', 1));
    EXPECT_GT(match.captured(2).toDouble(), 0.0);
    EXPECT_EQ(match.captured(3), iso);
}

TEST_F(BurnStep, RetryFollowsTheDiscAndBurnsAgain)
{
    // The failed disc is not blank: Retry stays off until a blank one with
    // room for the image is in the drive.
    burner->setOutcomes({Outcome::Fail}, Outcome::Finish);
    burner->setStartHook([this](int attempts, bool) {
        if (attempts == 1) {
            burner->setMedia(false, 1LL << 32);
        }
    });
    QList<bool> seen;  // Retry's state each time it changed
    int phase = 0;
    const ProductionResult result = burn(burner, [&] {
        const std::optional<bool> shown = installed.alerts->noteFirstSheetRetry(seen);
        if (!shown) {
            return;
        }
        const bool retry = *shown;
        if (phase == 0 && !retry) {
            burner->setMedia(true, 1LL << 32);  // a blank disc goes in
            phase = 1;
        } else if (phase == 1 && retry) {
            burner->setMedia(true, ImageBytes);  // too small for the image
            phase = 2;
        } else if (phase == 2 && !retry) {
            burner->setMedia(true, ImageBytes + 1);
            phase = 3;
        } else if (phase == 3 && retry) {
            installed.alerts->endSheet(0, AlertService::DefaultReturn);
            phase = 4;
        }
    });
    EXPECT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    EXPECT_TRUE(flow.burnSuccess());
    EXPECT_EQ(seen, (QList<bool>{false, true, false, true}));
    ASSERT_EQ(installed.alerts->sheets.size(), 1);
    const AlertContent& content = sheet()->content();
    EXPECT_EQ(content.message, "Burn Failed");
    EXPECT_EQ(content.informativeText,
              "It maybe caused by the DVD Disc or the DVD Driver. You can insert a blank disc "
              "and try again.");
    EXPECT_EQ(content.defaultButton, "Retry");
    EXPECT_EQ(content.alternateButton, "Cancel");
    EXPECT_TRUE(content.otherButton.isEmpty());
    EXPECT_EQ(installed.alerts->alerts[0].window, &window);
    EXPECT_FALSE(installed.alerts->alerts[0].waited);
    EXPECT_EQ(messages(), (QStringList{"Burn Failed", "DVD Burn Success"}));
    // Prepared before the first burn and again for the retry.
    EXPECT_EQ(burner->prepares(), 2);
    EXPECT_EQ(burner->startedBurns(), 2);
}

TEST_F(BurnStep, SheetCancelEndsWithoutReportAndRetryStartsDisabled)
{
    auto intervals = fastIntervals();
    intervals.sheetPoll = 400;  // long enough to see the sheet before its first look
    flow.setBurnIntervals(intervals);
    burner->setOutcomes({}, Outcome::Fail);
    QList<bool> seen;
    const ProductionResult result =
        burn(burner, [&] { installed.alerts->cancelFirstSheetOnceRetryIsOn(seen); });
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_FALSE(flow.burnSuccess());
    // Off at first, then on for the blank disc with room.
    EXPECT_EQ(seen, (QList<bool>{false, true}));
    EXPECT_EQ(messages(), QStringList{"Burn Failed"});
    EXPECT_EQ(burner->startedBurns(), 1);
}

TEST_F(BurnStep, CancelWhileTheSheetIsUpTakesTheSheetAway)
{
    burner->setOutcomes({}, Outcome::Fail);
    burner->setMedia(false, 1LL << 32);  // Retry stays off
    const ProductionResult result = burn(burner, [&] {
        if (sheet()) {
            flow.cancel();
        }
    });
    EXPECT_TRUE(result.isCancelled());
    ASSERT_EQ(installed.alerts->sheets.size(), 1);
    EXPECT_TRUE(sheet()->hasEnded());
    EXPECT_EQ(messages(), QStringList{"Burn Failed"});
}

TEST_F(BurnStep, CancelBeforeTheBurnStartsBurnsNothingAndReportsNothing)
{
    // At once, during the wait before the first attempt (a long one) ...
    auto intervals = fastIntervals();
    intervals.startAttempt = 60000;
    flow.setBurnIntervals(intervals);
    ProductionResult result = burn(burner, [&] { flow.cancel(); });
    EXPECT_TRUE(result.isCancelled());
    EXPECT_TRUE(burner->attemptedPaths().isEmpty());

    // ... and after two refused attempts, the next one would start.
    BurnDVDWorkflow second;
    second.setBurnIntervals(fastIntervals());
    second.setInteraction(std::make_shared<SheetProductionInteraction>(nullptr));
    auto refusing = std::make_shared<ScriptedDiscBurner>();
    refusing->setStartAnswers({false, false}, true);
    refusing->setStartHook([&second](int attempts, bool) {
        if (attempts == 2) {
            second.cancel();
        }
    });
    std::future<ProductionResult> done =
        std::async(std::launch::async, [&] { return second.burn(iso, refusing); });
    ASSERT_TRUE(burntest::waitUntil(
        [&] { return done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
    result = done.get();
    EXPECT_TRUE(result.isCancelled());
    EXPECT_EQ(refusing->attemptedPaths().size(), 2);
    EXPECT_EQ(refusing->startedBurns(), 0);
    EXPECT_FALSE(second.burnSuccess());

    EXPECT_FALSE(flow.burnSuccess());
    EXPECT_TRUE(installed.alerts->alerts.isEmpty());
}

// A running burn that does not end by itself: the watch still ends, without
// the retry sheet, with "DVD Burn Failed" and the burn's status.
struct StuckBurn {
    const char* name;
    Outcome outcome;
    bool cancelEndsBurn;
    bool cancel;       // the user cancels while it runs
    bool driveLeaves;  // the drive disappears while it runs
    const char* status;
};

void PrintTo(const StuckBurn& stuck, std::ostream* out)
{
    *out << stuck.name;
}

class BurnStepStuck : public BurnStep, public ::testing::WithParamInterface<StuckBurn> {};

TEST_P(BurnStepStuck, EndsFailedWithoutTheRetrySheet)
{
    const StuckBurn& stuck = GetParam();
    burner->setOutcomes({}, stuck.outcome);
    burner->setCancelEndsBurn(stuck.cancelEndsBurn);
    const ProductionResult result = burn(burner, [&] {
        if (burner->isBurning()) {
            if (stuck.cancel) {
                flow.cancel();
            }
            if (stuck.driveLeaves) {
                burner->setHasDevice(false);
            }
        }
    });
    EXPECT_FALSE(result.isSucceeded());
    EXPECT_EQ(result.isCancelled(), stuck.cancel) << qPrintable(result.toString());
    EXPECT_FALSE(flow.burnSuccess());
    EXPECT_TRUE(installed.alerts->sheets.isEmpty());
    ASSERT_EQ(messages(), QStringList{"DVD Burn Failed"});
    EXPECT_EQ(installed.alerts->alerts[0].content.informativeText, stuck.status);
    EXPECT_EQ(burner->startedBurns(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, BurnStepStuck,
    ::testing::Values(StuckBurn{"cancel_aborts_it", Outcome::KeepBurning, true, true, false,
                                "{State = Failed; ErrorStatus = The burn was cancelled.;}"},
                      StuckBurn{"cancel_ignored_until_the_settle_time", Outcome::KeepBurning, false,
                                true, false, "{State = TrackWrite;}"},
                      StuckBurn{"drive_leaves_while_burning", Outcome::KeepBurning, true, false,
                                true, "{State = TrackWrite;}"},
                      StuckBurn{"drive_lost_fails_the_burn", Outcome::LoseDrive, true, false, false,
                                "{State = Failed; ErrorStatus = The drive disappeared.;}"},
                      StuckBurn{"idle_without_finishing", Outcome::GoIdle, true, false, false,
                                "{State = TrackWrite;}"}),
    [](const ::testing::TestParamInfo<StuckBurn>& info) { return std::string(info.param.name); });

// The watch of a running burn and the "Burn Failed" question wait for what
// ends them rather than for their next look: with the looks ten minutes
// apart, each of these ends the step at once (the helper fails a step that
// has not ended after 30 s).
struct WakingEnd {
    const char* name;
    Outcome outcome;
    bool onTheSheet;  // acts once the question is up, else while burning
    enum class Act { Cancel, DriveLeaves, AnswerCancel } act;
};

void PrintTo(const WakingEnd& end, std::ostream* out)
{
    *out << end.name;
}

class BurnStepWakes : public BurnStep, public ::testing::WithParamInterface<WakingEnd> {};

TEST_P(BurnStepWakes, EndsWithoutWaitingForTheNextLook)
{
    const WakingEnd& end = GetParam();
    BurnDVDWorkflow::BurnIntervals intervals = fastIntervals();
    intervals.statusPoll = 600000;
    intervals.sheetPoll = 600000;
    flow.setBurnIntervals(intervals);
    burner->setOutcomes({}, end.outcome);
    burner->setMedia(false, 1LL << 32);  // Retry stays off
    bool acted = false;
    const ProductionResult result = burn(burner, [&] {
        if (acted || (end.onTheSheet ? !sheet() : !burner->isBurning())) {
            return;
        }
        acted = true;
        switch (end.act) {
            case WakingEnd::Act::Cancel:
                flow.cancel();
                break;
            case WakingEnd::Act::DriveLeaves:
                burner->setHasDevice(false);
                break;
            case WakingEnd::Act::AnswerCancel:
                installed.alerts->endSheet(0, AlertService::AlternateReturn);
                break;
        }
    });
    EXPECT_TRUE(acted);
    EXPECT_EQ(result.isCancelled(), end.act != WakingEnd::Act::DriveLeaves)
        << qPrintable(result.toString());
    EXPECT_FALSE(flow.burnSuccess());
}

INSTANTIATE_TEST_SUITE_P(
    Ends, BurnStepWakes,
    ::testing::Values(
        WakingEnd{"cancel_while_burning", Outcome::KeepBurning, false, WakingEnd::Act::Cancel},
        WakingEnd{"drive_leaves_while_burning", Outcome::KeepBurning, false,
                  WakingEnd::Act::DriveLeaves},
        WakingEnd{"cancel_while_asking", Outcome::Fail, true, WakingEnd::Act::Cancel},
        WakingEnd{"question_answered", Outcome::Fail, true, WakingEnd::Act::AnswerCancel}),
    [](const ::testing::TestParamInfo<WakingEnd>& info) { return std::string(info.param.name); });

TEST_F(BurnStep, SheetOnTheProductionWindowAsAMessageBox)
{
    AlertService::install(std::make_shared<WidgetAlertService>());
    BurnDVDCtrl production;
    production.updateBurnWindowWithProgress(0.62);
    production.show();
    flow.setInteraction(std::make_shared<SheetProductionInteraction>(&production));
    burner->setOutcomes({}, Outcome::Fail);
    burner->setMedia(false, 1LL << 32);  // the failed disc: Retry stays off
    QImage picture;
    const ProductionResult result = burn(burner, [&] {
        const QList<QMessageBox*> boxes = production.findChildren<QMessageBox*>();
        if (boxes.isEmpty() || !boxes.first()->isVisible() || !picture.isNull()) {
            return;
        }
        QMessageBox* box = boxes.first();
        EXPECT_EQ(box->text(), "Burn Failed");
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        QAbstractButton* retry = nullptr;
        QAbstractButton* cancel = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            (button->text() == "Retry" ? retry : cancel) = button;
        }
        ASSERT_TRUE(retry && cancel);
        EXPECT_FALSE(retry->isEnabled());
        EXPECT_EQ(cancel->text(), "Cancel");
        box->adjustSize();
        const QImage window = production.grab().toImage();
        const QImage sheet = box->grab().toImage();
        picture = QImage(std::max(window.width(), sheet.width()), window.height() + sheet.height(),
                         QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QPainter painter(&picture);
        painter.drawImage(0, 0, window);
        painter.drawImage(0, window.height(), sheet);
        painter.end();
        cancel->click();
    });
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    ASSERT_FALSE(picture.isNull());
    testsupport::writeArtifact(picture, "production-window-burn-failed.png");
    AlertService::install(installed.alerts);
}

// --- The production window's burn of the image an earlier disc road left ---

TEST_F(BurnStep, LeftoverImageIsBurnedAndClosingTheWindowCancelsTheBurn)
{
    const QString image = BurnDVDCtrl::currentBurnVideoIso();
    EXPECT_TRUE(image.endsWith("/currentBurnVideoISO.iso"));
    BurnDVDCtrl window;
    window.setBurnIntervals(fastIntervals());
    // Nothing left behind: nothing to burn, nothing asked of the burner.
    EXPECT_FALSE(
        testsupport::runRoad(window, [&] { window.burnCurrentIsoDVD(burner); }).isSucceeded());
    EXPECT_TRUE(burner->attemptedPaths().isEmpty());

    QDir().mkpath(QFileInfo(image).absolutePath());
    ASSERT_TRUE(writeRandomFile(image, ImageBytes));
    EXPECT_TRUE(
        testsupport::runRoad(window, [&] { window.burnCurrentIsoDVD(burner); }).isSucceeded());
    EXPECT_EQ(burner->attemptedPaths(), QStringList{image});
    EXPECT_EQ(messages(), QStringList{"DVD Burn Success"});

    // A burn that ignores the abort: the window's close, once confirmed,
    // still ends the run.
    installed.alerts->alerts.clear();
    auto stuck = std::make_shared<ScriptedDiscBurner>();
    stuck->setOutcomes({}, Outcome::KeepBurning);
    stuck->setCancelEndsBurn(false);
    window.setRefreshObserver([&](BurnDVDCtrl& shown) {
        if (stuck->isBurning() && !shown.isCancelled()) {
            shown.reject();
            ASSERT_TRUE(shown.isAskingToStop());
            installed.alerts->endSheet(int(installed.alerts->sheets.size()) - 1,
                                       AlertService::AlternateReturn);  // "Stop"
        }
    });
    const ProductionResult result =
        testsupport::runRoad(window, [&] { window.burnCurrentIsoDVD(stuck); });
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_TRUE(window.isCancelled());
    EXPECT_FALSE(window.isVisible());
    EXPECT_GE(stuck->cancels(), 1);
    EXPECT_EQ(messages(),
              (QStringList{"Stop making the DVD?", "DVD Burn Failed", "DVD Make Cancelled"}));
    EXPECT_TRUE(QFileInfo::exists(image));
}

// The window starts its road and returns: the road runs on its own thread
// while the caller's loop goes on, and its end comes once, as roadEnded.
TEST_F(BurnStep, RoadStartsAndReturnsWithTheWindowUpAndEndsWithOneSignal)
{
    const QString image = BurnDVDCtrl::currentBurnVideoIso();
    QDir().mkpath(QFileInfo(image).absolutePath());
    ASSERT_TRUE(writeRandomFile(image, ImageBytes));
    burner->setOutcomes({}, Outcome::KeepBurning);
    QWidget owner;
    owner.show();
    BurnDVDCtrl window(&owner);
    window.setBurnIntervals(fastIntervals());
    QList<ProductionResult> ended;
    QObject::connect(&window, &BurnDVDCtrl::roadEnded,
                     [&](const ProductionResult& result) { ended << result; });

    window.burnCurrentIsoDVD(burner);
    EXPECT_TRUE(window.isRunning());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::WindowModal);
    EXPECT_TRUE(ended.isEmpty());
    ASSERT_TRUE(burntest::waitUntil([&] { return burner->isBurning(); }));
    window.cancel();
    ASSERT_TRUE(burntest::waitUntil([&] { return !ended.isEmpty(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_TRUE(ended[0].isCancelled()) << qPrintable(ended[0].toString());
    EXPECT_FALSE(window.isRunning());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(messages(), (QStringList{"DVD Burn Failed", "DVD Make Cancelled"}));
}

// A window closed for good during its road cancels it; the road ends on its
// own thread without reaching for the window.
TEST_F(BurnStep, WindowGoneDuringTheRoadCancelsIt)
{
    const QString image = BurnDVDCtrl::currentBurnVideoIso();
    QDir().mkpath(QFileInfo(image).absolutePath());
    ASSERT_TRUE(writeRandomFile(image, ImageBytes));
    burner->setOutcomes({}, Outcome::KeepBurning);
    auto* window = new BurnDVDCtrl;
    window->setBurnIntervals(fastIntervals());
    window->burnCurrentIsoDVD(burner);
    ASSERT_TRUE(burntest::waitUntil([&] { return burner->isBurning(); }));
    delete window;
    ASSERT_TRUE(burntest::waitUntil([&] { return !messages().isEmpty(); }));
    EXPECT_GE(burner->cancels(), 1);
    EXPECT_EQ(messages(), QStringList{"DVD Burn Failed"});
    EXPECT_EQ(installed.alerts->alerts[0].window, nullptr);
}

// --- The real burner on pseudo-drives ---

// The real burner, doing something right after each start it makes.
class DVDBurnAfterStart : public DVDBurnAdapter {
public:
    DVDBurnAfterStart(DVDBurn* burner, std::function<void()> afterStart)
        : DVDBurnAdapter(burner), m_afterStart(std::move(afterStart))
    {
    }
    bool burnISOPath(const QString& path) override
    {
        const bool started = DVDBurnAdapter::burnISOPath(path);
        if (started && m_afterStart) {
            m_afterStart();
        }
        return started;
    }

private:
    std::function<void()> m_afterStart;
};

class BurnStepOnDrives : public BurnStep {
protected:
    void SetUp() override
    {
        BurnStep::SetUp();
        ASSERT_TRUE(burntest::makeIso(folders.root(), iso, 2 * 1024 * 1024 + 77));
    }
    void TearDown() override
    {
        if (device) {
            DRDevice::forgetPseudoDevice(device);
        }
    }
    void choose(const QString& target)
    {
        device = DRDevice::pseudoDevice(target);
        ASSERT_TRUE(device) << qPrintable(target);
        dvdBurn.setDevice(device);
    }

    DVDBurn dvdBurn;
    DRDevicePtr device;
};

TEST_F(BurnStepOnDrives, WritesTheImageToTheChosenDrive)
{
    const QString target = folders.root() + "/disc.bin";
    choose(target);
    const ProductionResult result = burn(std::make_shared<DVDBurnAdapter>(&dvdBurn));
    EXPECT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    EXPECT_EQ(messages(), QStringList{"DVD Burn Success"});
    EXPECT_TRUE(burntest::readFile(target).startsWith(burntest::readFile(iso)));
}

TEST_F(BurnStepOnDrives, FailedWriteOffersRetryOnceTheDriveLooksBlank)
{
    // A pseudo-drive on /dev/full takes the burn and fails it; it still
    // looks blank and large afterwards, so Retry comes on.
    choose("/dev/full");
    auto intervals = fastIntervals();
    intervals.sheetPoll = 400;
    flow.setBurnIntervals(intervals);
    QList<bool> seen;
    const ProductionResult result = burn(std::make_shared<DVDBurnAdapter>(&dvdBurn), [&] {
        installed.alerts->cancelFirstSheetOnceRetryIsOn(seen);
    });
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_EQ(seen, (QList<bool>{false, true}));
    EXPECT_EQ(messages(), QStringList{"Burn Failed"});
}

TEST_F(BurnStepOnDrives, DriveForgottenOrCancelDuringTheBurnEndsItFailed)
{
    const QString target = folders.root() + "/disc.bin";
    for (const bool forget : {true, false}) {
        installed.alerts->alerts.clear();
        BurnDVDWorkflow run;
        run.setBurnIntervals(fastIntervals());
        run.setInteraction(std::make_shared<SheetProductionInteraction>(nullptr));
        choose(target);
        const DRDevicePtr chosen = device;
        auto burnerThen = std::make_shared<DVDBurnAfterStart>(&dvdBurn, [&run, forget, chosen] {
            if (forget) {
                DRDevice::forgetPseudoDevice(chosen);
            } else {
                run.cancel();
            }
        });
        std::future<ProductionResult> done =
            std::async(std::launch::async, [&] { return run.burn(iso, burnerThen); });
        ASSERT_TRUE(burntest::waitUntil([&] {
            return done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
        }));
        const ProductionResult result = done.get();
        EXPECT_FALSE(result.isSucceeded()) << forget;
        EXPECT_EQ(result.isCancelled(), !forget);
        EXPECT_TRUE(installed.alerts->sheets.isEmpty());
        ASSERT_EQ(messages(), QStringList{"DVD Burn Failed"}) << forget;
        const QString status = installed.alerts->alerts[0].content.informativeText;
        EXPECT_TRUE(status.contains("State = Failed;")) << qPrintable(status);
        EXPECT_TRUE(status.contains(forget ? "disappeared" : "cancelled")) << qPrintable(status);
        if (forget) {
            device.reset();
        }
    }
}

}  // namespace
