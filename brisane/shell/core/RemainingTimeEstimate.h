#pragma once
// How long a production road still needs, from the progress its window shows.
//
// The road is a row of stages in order, each covering a range of the shown
// progress [from, to): the titles and menus encoded, dvdauthor, mkisofs, the
// burn. The shares of the bar are fixed, but the stages move through them at
// very different paces (encoding a film takes most of the time, dvdauthor
// and mkisofs go through their shares in seconds), so the bar's pace alone
// would overstate the time left by the tools' shares.
//
// The stage running is the last one whose range the progress has reached.
// Its time left is what is left of its range at its own pace: the progress
// it made over the later half of the time it has run (so that its start-up
// fades out and a change of pace shows), once it has run settleSeconds and
// moved; until then its predicted seconds stand for it, less the time it
// has run. Each later stage adds its predicted seconds, or,
// where it has none, its range at the pace of the stage running.
//
// Samples come in order, their times in seconds from the road's start.
// Nothing is known until the first stage has run settleSeconds (by default
// two seconds) and moved.

#include <QList>
#include <optional>
#include <utility>

class RemainingTimeEstimate {
public:
    struct Stage {
        double from = 0.0;
        double to = 1.0;
        // Seconds it is expected to take; negative when not known.
        double predictedSeconds = -1.0;
    };
    static constexpr double settleSeconds = 2.0;

    explicit RemainingTimeEstimate(QList<Stage> stages = {}, double settle = settleSeconds);

    void addSample(double seconds, double shown);
    // Seconds still needed after the last sample; none while not known.
    std::optional<double> remainingSeconds() const;

private:
    // The pace of the stage running (progress per second), 0 while not known.
    double currentPace() const;
    double leftOfCurrent(double pace) const;

    QList<Stage> m_stages;
    double m_settleSeconds = settleSeconds;
    qsizetype m_current = -1;
    // The samples of the stage running (time, progress), from its start.
    QList<std::pair<double, double>> m_samples;
    double m_lastSeconds = 0.0;
    double m_lastShown = 0.0;
};
