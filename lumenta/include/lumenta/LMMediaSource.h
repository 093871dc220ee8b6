#pragma once
// A media path as the user chose it: a file, a DVD folder (holding VIDEO_TS)
// or a DVD image. createMedias() probes it; an unreadable, truncated or
// missing file gives an empty list, never a crash.

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

private:
    explicit LMMediaSource(QString path);
    QList<LMMedia::Ptr> probeFile(const QString& url, const QString& aspect);
    QList<LMMedia::Ptr> probeDVD();

    QString m_path;
    bool m_isDVD = false;
    bool m_probed = false;
    bool m_drm = false;
    QList<std::weak_ptr<LMMedia>> m_medias;
};
