#include "shell/core/RemainingTimeEstimate.h"

#include <algorithm>
#include <utility>

RemainingTimeEstimate::RemainingTimeEstimate(QList<Stage> stages) : m_stages(std::move(stages)) {}

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
        m_stageStart = m_current == 0 ? 0.0 : m_lastSeconds;
        m_stageFrom = m_current == 0 ? 0.0 : std::max(m_lastShown, m_stages[stage].from);
    }
    m_lastSeconds = seconds;
    m_lastShown = shown;
}

double RemainingTimeEstimate::currentPace() const
{
    const double ran = m_lastSeconds - m_stageStart;
    const double moved = m_lastShown - m_stageFrom;
    return ran >= settleSeconds && moved > 0.0 ? moved / ran : 0.0;
}

double RemainingTimeEstimate::leftOfCurrent(double pace) const
{
    const Stage& stage = m_stages[m_current];
    if (pace > 0.0) {
        return std::max(stage.to - m_lastShown, 0.0) / pace;
    }
    return std::max(stage.predictedSeconds - (m_lastSeconds - m_stageStart), 0.0);
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
