// The time left of a production road from the progress its window shows:
// each stage at its own pace, later stages by their predicted seconds, and
// nothing told before the first stage has run a while.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/core/RemainingTimeEstimate.h"

namespace {

using Stage = RemainingTimeEstimate::Stage;

// A road whose stages move through their ranges at even paces: `seconds[i]`
// for stage i, and the progress it shows at `t`.
struct EvenRoad {
    QList<Stage> stages;
    QList<double> seconds;

    double total() const
    {
        double sum = 0.0;
        for (double s : seconds) {
            sum += s;
        }
        return sum;
    }

    double shownAt(double t) const
    {
        for (qsizetype i = 0; i < stages.size(); ++i) {
            if (t < seconds[i]) {
                return stages[i].from + (stages[i].to - stages[i].from) * t / seconds[i];
            }
            t -= seconds[i];
        }
        return stages.last().to;
    }
};

// The worst error of the time left, estimated by `stages` (the road's own
// when empty), against the truth, sampled every 0.1 s from `after` seconds
// on, while the truth is at least `least` seconds.
double worstError(const EvenRoad& road, double after, double least, const QList<Stage>& stages = {})
{
    RemainingTimeEstimate estimate(stages.isEmpty() ? road.stages : stages);
    double worst = 0.0;
    for (double t = 0.1; t < road.total(); t += 0.1) {
        estimate.addSample(t, road.shownAt(t));
        const double truth = road.total() - t;
        if (t < after || truth < least) {
            continue;
        }
        const std::optional<double> left = estimate.remainingSeconds();
        if (!left) {
            return 1e9;
        }
        worst = std::max(worst, std::abs(*left - truth) / truth);
    }
    return worst;
}

// The ISO road of a film: the encoding takes most of the time through 81 %
// of the bar; dvdauthor and mkisofs go through their 19 % in seconds.
EvenRoad filmIsoRoad(double authorPredicted, double imagePredicted)
{
    return {{{0.0, 0.81, -1.0}, {0.81, 0.882, authorPredicted}, {0.9, 0.998, imagePredicted}},
            {216.0, 13.0, 4.0}};
}

TEST(RemainingTimeEstimate, EachStageGoesAtItsOwnPaceNotTheBars)
{
    // With the tools predicted right, the time left holds within 2 % from
    // the first minute on, where the bar's pace would be a quarter off.
    EXPECT_LT(worstError(filmIsoRoad(13.0, 4.0), 60.0, 1.0), 0.02);
    // Predictions off by a fifth move it little while the encoding runs.
    EXPECT_LT(worstError(filmIsoRoad(15.6, 4.8), 60.0, 20.0), 0.2);
    // The bar's own pace, for comparison: one stage over the whole bar.
    EXPECT_GT(worstError(filmIsoRoad(13.0, 4.0), 60.0, 20.0, {{0.0, 0.998, -1.0}}), 0.2);
}

// When the machine slows down halfway through the encoding, the time left
// follows the later half of the stage, not its average since the start.
TEST(RemainingTimeEstimate, AChangeOfPaceShowsThroughTheStagesLaterHalf)
{
    RemainingTimeEstimate estimate({{0.0, 0.81, -1.0}});
    for (double t = 0.1; t <= 200.0; t += 0.1) {
        estimate.addSample(t, t <= 100.0 ? 0.004 * t : 0.4 + 0.002 * (t - 100.0));
    }
    ASSERT_TRUE(estimate.remainingSeconds());
    EXPECT_NEAR(*estimate.remainingSeconds(), (0.81 - 0.6) / 0.002, 1.0);
}

TEST(RemainingTimeEstimate, AStageRunTooShortlyToTellTakesItsPrediction)
{
    const EvenRoad road = filmIsoRoad(13.0, 4.0);
    RemainingTimeEstimate estimate(road.stages);
    // Nothing is told before the encoding has run two seconds.
    estimate.addSample(1.0, road.shownAt(1.0));
    EXPECT_FALSE(estimate.remainingSeconds());
    estimate.addSample(100.0, road.shownAt(100.0));
    ASSERT_TRUE(estimate.remainingSeconds());
    EXPECT_NEAR(*estimate.remainingSeconds(), 233.0 - 100.0, 0.5);
    // dvdauthor begins at 216 s (after the sample at 215.9 s); 1.1 s in, it
    // has not settled: its prediction less the time it ran, and mkisofs's.
    estimate.addSample(215.9, road.shownAt(215.9));
    estimate.addSample(216.0, road.shownAt(216.0));
    estimate.addSample(217.0, 0.81);  // not moved yet
    ASSERT_TRUE(estimate.remainingSeconds());
    EXPECT_NEAR(*estimate.remainingSeconds(), 13.0 - 1.1 + 4.0, 1e-6);
    // A stage that stalls past its prediction counts 0 for itself.
    estimate.addSample(240.0, 0.81);
    ASSERT_TRUE(estimate.remainingSeconds());
    EXPECT_NEAR(*estimate.remainingSeconds(), 4.0, 1e-6);
}

TEST(RemainingTimeEstimate, LaterStagesWithoutPredictionGoAtThePaceOfTheRunningOne)
{
    RemainingTimeEstimate estimate({{0.0, 0.5, -1.0}, {0.5, 1.0, -1.0}});
    estimate.addSample(10.0, 0.1);
    ASSERT_TRUE(estimate.remainingSeconds());
    EXPECT_NEAR(*estimate.remainingSeconds(), 90.0, 1e-6);
    // The first stage of a road with no prediction for it tells nothing
    // until it moves.
    RemainingTimeEstimate still({{0.0, 1.0, -1.0}});
    still.addSample(10.0, 0.0);
    EXPECT_FALSE(still.remainingSeconds());
    // Before any sample, nothing.
    EXPECT_FALSE(RemainingTimeEstimate({{0.0, 1.0, 5.0}}).remainingSeconds());
}

}  // namespace
