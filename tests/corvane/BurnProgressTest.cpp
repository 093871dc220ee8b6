// The burner's single progress figure and its state machine, fed with
// statuses announced for its burn on a pseudo-drive.
#include <gtest/gtest.h>
#include <QDateTime>
#include <cmath>

#include "BurnTestSupport.h"
#include "corvane/DVDBurn.h"
#include "platform/DRNotificationCenter.h"
#include "platform/DRStatus.h"

namespace {

QVariantMap statusOf(QLatin1String state, double fraction)
{
    return {{DRStatusStateKey, QString(state)}, {DRStatusPercentCompleteKey, fraction}};
}

class BurnProgressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.iso")));
        ASSERT_TRUE(device);
        burner.setDevice(device);
        ASSERT_TRUE(burner.burn());
    }
    void TearDown() override { DRDevice::forgetPseudoDevice(device); }

    void post(const QVariantMap& status)
    {
        DRNotificationCenter::currentRunLoopCenter()->postBurnStatus(burner.burn().get(), status);
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    DRDevicePtr device;
    DVDBurn burner;
};

double now()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

struct ProgressCase {
    const char* name;
    qint64 fileSize;
    bool allowVerify;
    bool hasStatus;
    QLatin1String state;
    double fraction;
    double presetWrite;  // writeProgress before the call
    double closingAgo;   // seconds since closing was first seen; 0 = not seen
    double expected;
};

// w = 300 / E, with E = 330 below 30 "megabytes" of 1.35e6 bytes, else m + 300.
constexpr double SmallWeight = 300.0 / 330.0;
constexpr double DvdSize = 4.7e9;
const double DvdWeight = 300.0 / (DvdSize / 1.35e6 + 300.0);

void PrintTo(const ProgressCase& row, std::ostream* out)
{
    *out << row.name;
}

class BurnProgressTableTest : public BurnProgressTest,
                              public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(BurnProgressTableTest, MatchesTheFormula)
{
    const ProgressCase& row = GetParam();
    burner.setBurnFileSize(row.fileSize);
    burner.setAllowVerify(row.allowVerify);
    burner.setWriteProgress(row.presetWrite);
    if (row.closingAgo > 0) {
        burner.setWriteDiscStartTime(now() - row.closingAgo);
    }
    if (row.hasStatus) {
        post(statusOf(row.state, row.fraction));
    }
    EXPECT_NEAR(burner.progress(), row.expected, 1e-4) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, BurnProgressTableTest,
    ::testing::Values(
        // Nothing reported yet: only the close fraction 1/300 counts.
        ProgressCase{"before_any_status", 0, false, false, DRStatusStateDone, 0, 0, 0,
                     SmallWeight / 300},
        ProgressCase{"unknown_fraction_records_0", 0, false, true, DRStatusStateTrackWrite, -1, 0.7,
                     0, SmallWeight / 300},
        ProgressCase{"half_written_small_image", 40'000'000, false, true, DRStatusStateTrackWrite,
                     0.5, 0, 0, SmallWeight / 300 + (1 - SmallWeight) * 0.5},
        ProgressCase{"half_written_single_layer_DVD", qint64(DvdSize), false, true,
                     DRStatusStateTrackWrite, 0.5, 0, 0, DvdWeight / 300 + (1 - DvdWeight) * 0.5},
        ProgressCase{"weight_switches_at_30_m", 135'000'000, false, true, DRStatusStateTrackWrite,
                     1.0, 0, 0, 0.75 / 300 + 0.25},
        ProgressCase{"closing_just_seen", 0, false, true, DRStatusStateSessionClose, -1, 0, 0,
                     1 - SmallWeight},
        ProgressCase{"closing_for_150_s", 0, false, true, DRStatusStateSessionClose, -1, 0, 150,
                     0.5 * SmallWeight + (1 - SmallWeight)},
        ProgressCase{"closing_longer_than_estimated", 0, false, true, DRStatusStateSessionClose, -1,
                     0, 600, 1.0},
        ProgressCase{"verifying_under_one_percent", 0, true, true, DRStatusStateVerifying, 0.005,
                     1.0, 0, SmallWeight / 300 + (1 - SmallWeight) * (0.5 + 0.0025)},
        ProgressCase{"verifying_past_one_percent_completes_closing", 0, true, true,
                     DRStatusStateVerifying, 0.2, 1.0, 0, SmallWeight + (1 - SmallWeight) * 0.6},
        ProgressCase{"other_states_record_nothing", 0, false, true, DRStatusStatePreparing, 0.9,
                     0.25, 0, SmallWeight / 300 + (1 - SmallWeight) * 0.25}),
    [](const ::testing::TestParamInfo<ProgressCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(BurnProgressTest, ClosingTimeIsTakenByTheFirstPollNotByTheStatus)
{
    post(statusOf(DRStatusStateSessionClose, -1));
    EXPECT_EQ(burner.writeDiscStartTime(), 0.0);
    const double before = now();
    burner.progress();
    const double started = burner.writeDiscStartTime();
    EXPECT_GE(started, before - 0.01);
    EXPECT_EQ(burner.writeProgress(), 1.0);
    burner.progress();
    EXPECT_EQ(burner.writeDiscStartTime(), started);
}

TEST_F(BurnProgressTest, FinishedAndFailedStayUntilPrepareForBurn)
{
    EXPECT_TRUE(burner.isDeviceFree());
    post(statusOf(DRStatusStateDone, 1));
    EXPECT_TRUE(burner.isFinished());
    post(statusOf(DRStatusStateFailed, -1));
    EXPECT_TRUE(burner.isFinished());
    EXPECT_EQ(burner.status().value(DRStatusStateKey).toString(), DRStatusStateFailed);

    burner.setWriteProgress(0.5);
    burner.setBurnFileSize(1234);
    burner.prepareForBurn();
    EXPECT_TRUE(burner.isDeviceFree());
    EXPECT_EQ(burner.writeProgress(), 0.0);
    EXPECT_EQ(burner.burnFileSize(), 0);
    // The last status stays readable.
    EXPECT_EQ(burner.status().value(DRStatusStateKey).toString(), DRStatusStateFailed);

    post(statusOf(DRStatusStateFailed, -1));
    EXPECT_TRUE(burner.isFailed());
    post(statusOf(DRStatusStateDone, 1));
    EXPECT_TRUE(burner.isFailed());
}

TEST_F(BurnProgressTest, StatusesOfAReplacedBurnAreIgnored)
{
    const std::shared_ptr<DRBurn> replaced = burner.burn();
    burner.prepareForBurn();
    ASSERT_NE(burner.burn(), replaced);
    EXPECT_EQ(burner.device(), device);

    DRNotificationCenter::currentRunLoopCenter()->postBurnStatus(replaced.get(),
                                                                 statusOf(DRStatusStateDone, 1));
    EXPECT_TRUE(burner.isDeviceFree());
    EXPECT_TRUE(burner.status().isEmpty());
    EXPECT_EQ(burner.progress(), SmallWeight / 300);
}

}  // namespace
