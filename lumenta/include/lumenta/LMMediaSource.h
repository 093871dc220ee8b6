#pragma once
// A media path as the user chose it: a file, a DVD folder (holding VIDEO_TS)
// or a DVD image. createMedias() probes it; an unreadable, truncated or
// missing file, or one whose streams hold no data, gives an empty list (and
// a reason), never a crash. Where the container only estimates its length
// from the bit rate, the probe measures it once by reading every packet
// (no decoding), so probe on a worker thread, as import does.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "lumenta/LMMedia.h"

class Q_DECL_EXPORT LMMediaSource : public std::enable_shared_from_this<LMMediaSource> {
public:
    using Ptr = std::shared_ptr<LMMediaSource>;

    // Never null.
    static Ptr mediaWithPath(const QString& path);

    const QString& path() const { return m_path; }
    // True when a stream of the source is encrypted.
    bool isDRM();
    // True for a DVD-Video folder or image.
    bool isDVD() const { return m_isDVD; }
    // One media per container; for a DVD folder one per title set. The same
    // medias are answered while any of them is alive (they keep the source
    // alive, the source does not keep them).
    QList<LMMedia::Ptr> createMedias();
    // Why the last createMedias() gave nothing, in words a user can act on
    // ("the file holds no audio or video data", "the file name is not valid
    // UTF-8; rename the file"); empty after a probe that found media.
    QString errorString() const { return m_error; }

private:
    explicit LMMediaSource(QString path);
    QList<LMMedia::Ptr> probeFile(const QString& url, const QString& aspect);
    QList<LMMedia::Ptr> probeDVD();

    QString m_path;
    bool m_isDVD = false;
    bool m_probed = false;
    bool m_drm = false;
    QString m_error;
    QList<std::weak_ptr<LMMedia>> m_medias;
};
