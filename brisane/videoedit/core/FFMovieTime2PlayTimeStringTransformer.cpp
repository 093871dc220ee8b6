#include "videoedit/core/FFMovieTime2PlayTimeStringTransformer.h"

#include <QStringList>

#include "lumenta/LMMediaTime.h"
#include "platform/Numeric.h"

Value FFMovieTime2PlayTimeStringTransformer::transformedValue(const Value& value) const
{
    const qint64 time = value.toInt().value_or(saturatingCast<qint64>(doubleValue(value)));
    const qint64 s = time / lm_default_time_base();
    return Value(QString::asprintf("%02lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60));
}

Value FFMovieTime2PlayTimeStringTransformer::reverseTransformedValue(const Value& value) const
{
    const QStringList parts = value.toString().value_or(QString()).split(QLatin1Char(':'));
    if (parts.size() != 3) {
        return Value(qint64(0));
    }
    const qint64 seconds =
        (qint64(intValue(Value(parts[0]))) * 60 + intValue(Value(parts[1]))) * 60 +
        intValue(Value(parts[2]));
    return Value(seconds * lm_default_time_base());
}
