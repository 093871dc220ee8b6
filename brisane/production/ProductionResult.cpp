#include "production/ProductionResult.h"

#include <utility>

ProductionResult::ProductionResult(Status status, QString reason)
    : m_status(status), m_reason(std::move(reason))
{
}

ProductionResult ProductionResult::failed(const QString& reason)
{
    return ProductionResult(Status::Failed,
                            reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}

ProductionResult ProductionResult::failedAndShown(const QString& reason)
{
    ProductionResult result = failed(reason);
    result.m_shown = true;
    return result;
}

QString ProductionResult::toString() const
{
    switch (m_status) {
        case Status::Succeeded:
            return QStringLiteral("succeeded");
        case Status::Cancelled:
            return QStringLiteral("cancelled");
        case Status::Failed:
            break;
    }
    return QStringLiteral("failed: ") + m_reason;
}
