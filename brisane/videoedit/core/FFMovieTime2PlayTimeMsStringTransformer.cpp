#include "videoedit/core/FFMovieTime2PlayTimeMsStringTransformer.h"

#include <QStringList>
#include <cmath>

#include "platform/Numeric.h"

QString FFMovieTime2PlayTimeMsStringTransformer::timeString(double seconds)
{
    const float s = static_cast<float>(seconds);
    const float whole = std::trunc(s);
    const long long w = saturatingCast<long long>(whole);
    const long long ms = saturatingCast<long long>(std::trunc((s - whole) * 1000.0f));
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", w / 3600, (w / 60) % 60, w % 60, ms);
}

double FFMovieTime2PlayTimeMsStringTransformer::stringToSecond(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const auto part = [&parts](qsizetype i) { return doubleValue(Value(parts.at(i))); };
    switch (parts.size()) {
        case 3:
            return 3600.0 * part(0) + 60.0 * part(1) + part(2);
        case 2:
            return 60.0 * part(0) + part(1);
        case 1:
            return part(0);
        default:
            return 0.0;
    }
}

Value FFMovieTime2PlayTimeMsStringTransformer::transformedValue(const Value& value) const
{
    const qint64 time = value.toInt().value_or(saturatingCast<qint64>(doubleValue(value)));
    return Value(timeString(lm_ff_time_to_double(time)));
}

Value FFMovieTime2PlayTimeMsStringTransformer::reverseTransformedValue(const Value& value) const
{
    const double seconds = stringToSecond(value.toString().value_or(QString()));
    return Value(saturatingCast<qint64>(seconds * static_cast<double>(lm_default_time_base())));
}
