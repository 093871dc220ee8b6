#pragma once
// One opened container of a media source: its location and the streams a
// probe found in it. Movies are opened with lists of these
// (LMFFMovie::openMedias). A media keeps its source alive.
//
// The length a probe finds is what the container claims: a file cut short
// whose index or header comes first (an MP4 or M4A made for streaming, a
// Matroska file) still claims its whole length. reachesTime() looks at the
// packets themselves.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "lumenta/LMMediaTime.h"
#include "lumenta/LMStreamInfo.h"
#include "platform/Value.h"

class LMMediaSource;

class Q_DECL_EXPORT LMMedia {
public:
    using Ptr = std::shared_ptr<LMMedia>;

    // url is what FFmpeg opens: a file path, or "concat:a|b" for the parts of
    // a DVD title set.
    LMMedia(std::shared_ptr<LMMediaSource> source, QString url);

    std::shared_ptr<LMMediaSource> source() const { return m_source; }
    const QString& url() const { return m_url; }

    const QList<LMStreamInfo>& streams() const { return m_streams; }
    QList<LMStreamInfo> videos() const;
    QList<LMStreamInfo> audios() const;
    QList<LMStreamInfo> subtitles() const;
    LMMediaTime duration() const { return m_duration; }
    // Start of the first sample on the container's own clock.
    LMMediaTime startTime() const { return m_startTime; }
    QString formatName() const { return m_formatName; }

    // Keys: "source.path", "url", "duration", "title_set.display_aspect_ratio"
    // ("4:3" or "16:9", DVD title sets only), "audios.@count". Unknown keys
    // read as null.
    Value value(const QString& key) const;

    // Whether the container's packets really reach `time` (on the media's
    // timeline, like duration()): the file is opened afresh and read near
    // `time` only, never whole. A Matroska file (whose clusters carry their
    // own times) is read from its last megabytes; any other is sought to a
    // second before `time` and read until a packet of an audio or video
    // stream ends there. Unknown when the look would read more than 64 MiB,
    // and when the packets carry no times; EndsBefore (logged) when the
    // file ends, or cannot be read on, first, and when it is no longer a
    // regular file. Any thread; it blocks.
    enum class Reach { Reaches, EndsBefore, Unknown };
    Reach reachesTime(LMMediaTime time) const;

    // Filled by the source's probe.
    void setProbe(QList<LMStreamInfo> streams, LMMediaTime duration, LMMediaTime startTime,
                  QString formatName);
    void setDisplayAspectRatio(const QString& ratio) { m_displayAspect = ratio; }

private:
    std::shared_ptr<LMMediaSource> m_source;
    QString m_url;
    QList<LMStreamInfo> m_streams;
    LMMediaTime m_duration = 0;
    LMMediaTime m_startTime = 0;
    QString m_formatName;
    QString m_displayAspect;
};
