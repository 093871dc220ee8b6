#include "shell/core/RemainingTimeEstimate.h"

#include <algorithm>
#include <iterator>
#include <utility>

RemainingTimeEstimate::RemainingTimeEstimate(QList<Stage> stages, double settle)
    : m_stages(std::move(stages)), m_settleSeconds(settle)
{
}

void RemainingTimeEstimate::addSample(double seconds, double shown)
{
    qsizetype stage = m_current;
    while (stage + 1 < m_stages.size() && shown >= m_stages[stage + 1].from) {
        ++stage;
    }
    if (stage != m_current) {
        // A stage begins where the one before left off, at the last sample
        // still short of it.
        m_current = stage;
        m_samples.clear();
        m_samples.append(
            m_current == 0 ? std::pair{0.0, 0.0}
                           : std::pair{m_lastSeconds, std::max(m_lastShown, m_stages[stage].from)});
    }
    m_samples.append({seconds, shown});
    m_lastSeconds = seconds;
    m_lastShown = shown;
}

double RemainingTimeEstimate::currentPace() const
{
    const double start = m_samples.first().first;
    if (m_lastSeconds - start < m_settleSeconds) {
        return 0.0;
    }
    // From the last sample at the start of the later half of the stage's time.
    const double half = start + (m_lastSeconds - start) / 2.0;
    const auto from =
        std::prev(std::upper_bound(m_samples.begin(), m_samples.end(), half,
                                   [](double t, const auto& sample) { return t < sample.first; }));
    const double ran = m_lastSeconds - from->first;
    const double moved = m_lastShown - from->second;
    return ran > 0.0 && moved > 0.0 ? moved / ran : 0.0;
}

double RemainingTimeEstimate::leftOfCurrent(double pace) const
{
    const Stage& stage = m_stages[m_current];
    if (pace > 0.0) {
        return std::max(stage.to - m_lastShown, 0.0) / pace;
    }
    return std::max(stage.predictedSeconds - (m_lastSeconds - m_samples.first().first), 0.0);
}

std::optional<double> RemainingTimeEstimate::remainingSeconds() const
{
    if (m_current < 0) {
        return std::nullopt;
    }
    const double pace = currentPace();
    if (pace <= 0.0 && (m_current == 0 || m_stages[m_current].predictedSeconds < 0.0)) {
        return std::nullopt;
    }
    double left = leftOfCurrent(pace);
    for (qsizetype later = m_current + 1; later < m_stages.size(); ++later) {
        const Stage& stage = m_stages[later];
        if (stage.predictedSeconds >= 0.0) {
            left += stage.predictedSeconds;
        } else if (pace > 0.0) {
            left += (stage.to - stage.from) / pace;
        } else {
            return std::nullopt;
        }
    }
    return left;
}
