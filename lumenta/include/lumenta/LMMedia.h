#pragma once
// One opened container of a media source: its location and the streams a
// probe found in it. Movies are opened with lists of these
// (LMFFMovie::openMedias). A media keeps its source alive.

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
