#include "lumenta/LMMedia.h"

#include "lumenta/LMMediaSource.h"

LMMedia::LMMedia(std::shared_ptr<LMMediaSource> source, QString url)
    : m_source(std::move(source)), m_url(std::move(url))
{
}

static QList<LMStreamInfo> ofKind(const QList<LMStreamInfo>& streams, LMStreamInfo::Kind kind)
{
    QList<LMStreamInfo> result;
    for (const LMStreamInfo& s : streams) {
        if (s.kind == kind) {
            result << s;
        }
    }
    return result;
}

QList<LMStreamInfo> LMMedia::videos() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Video);
}

QList<LMStreamInfo> LMMedia::audios() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Audio);
}

QList<LMStreamInfo> LMMedia::subtitles() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Subtitle);
}

Value LMMedia::value(const QString& key) const
{
    if (key == QLatin1String("source.path")) {
        return m_source ? Value(m_source->path()) : Value();
    }
    if (key == QLatin1String("url")) {
        return m_url;
    }
    if (key == QLatin1String("duration")) {
        return static_cast<qint64>(m_duration);
    }
    if (key == QLatin1String("audios.@count")) {
        return static_cast<int>(audios().size());
    }
    if (key == QLatin1String("title_set.display_aspect_ratio")) {
        return m_displayAspect.isEmpty() ? Value() : Value(m_displayAspect);
    }
    return {};
}

void LMMedia::setProbe(QList<LMStreamInfo> streams, LMMediaTime duration, LMMediaTime startTime,
                       QString formatName)
{
    m_streams = std::move(streams);
    m_duration = duration;
    m_startTime = startTime;
    m_formatName = std::move(formatName);
}
