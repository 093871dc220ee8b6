#pragma once
// One music file of a slideshow's music list: its path, display name and
// picture, the file name of its project copy ("item-<SHA-256 of the path>.
// <file name>") and the kept range with fades in media time.
//
// Archived under the one key "attrs": a dictionary with "name",
// "itemPathName", "fadeIn", "fadeOut", "trimStart", "trimStop". The path is
// not archived: loadSourceAtPath points the item at its stored copy.
//
// The length of a file is asked of the duration probe the media layer
// installs (setDurationProbe); it is needed only for an item whose range was
// never set.

#include <QImage>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "media/MusicPiece.h"
#include "platform/Object.h"
#include "platform/Value.h"

class IMovie;
class VCMovie;

class MediaItem : public Object {
public:
    static constexpr qint64 TimeBase = 1000000;  // media time ticks per second
    using DurationProbe = std::function<std::optional<qint64>(const QString& path)>;

    MediaItem() = default;

    static std::shared_ptr<MediaItem> mediaItemWithPath(const QString& path);

    // An item over the whole file, its picture a frame of the file or
    // "default-audio-icon"; null for a file that does not open, has no sound
    // or lasts 0.2 s or less.
    static std::shared_ptr<MediaItem> itemWithPath(const QString& path);
    // itemWithPath, then the six values of an "attrs" dictionary (a missing
    // key reads as 0 or an empty text).
    static std::shared_ptr<MediaItem> itemWithPath(const QString& path,
                                                   const Value::Dictionary& attributes);
    // The "attrs" dictionary: name, itemPathName, fadeIn, fadeOut, trimStart,
    // trimStop.
    Value::Dictionary itemAttributes() const;
    void setItemAttributes(const Value::Dictionary& attributes);

    // SHA-256 of the UTF-8 text, 64 lowercase hexadecimal digits; an empty
    // text is digested as five spaces.
    static QString shaString(const QString& text);
    // A frame at min(5.5 s, duration / 2), fitted into 480 x 320 when larger;
    // null for a movie without video.
    static QImage thumbnailForMovie(const std::shared_ptr<IMovie>& movie);
    // The rectangle's size scaled by the largest of w / box w, h / box h and
    // 0.01, centred in the box (enlarges as well as shrinks).
    static QRectF scaleRect(const QRectF& rect, const QRectF& box);
    static void setDurationProbe(DurationProbe probe);

    // The music laid end to end from 0 under `duration` (media time): items in
    // list order, cycling; a piece under 0.5 s is skipped, one passing the
    // duration is cut to end at it, and only pieces over 0.1 s are laid.
    // Stops at the duration or after a pass that laid nothing. The last piece
    // fades out over at least 1 s.
    static QList<MusicPiece> getVcMovies(const QList<std::shared_ptr<MediaItem>>& items,
                                         qint64 duration);

    // The kept range of the file, opened through the probe when the range
    // was never set; empty when the file's length cannot be had.
    std::optional<MusicPiece> piece();

    // The item as a media item of the converter and the players: its file
    // with the kept range and fades, opened on first use; null when the file
    // cannot be opened.
    std::shared_ptr<VCMovie> vcmovie();
    std::shared_ptr<VCMovie> getVcMovie() { return vcmovie(); }

    QString itemName() const { return m_name; }
    // The kept length in seconds.
    double length() const { return double(m_trimStop - m_trimStart) / TimeBase; }

    // Stores the file as folder/itemPathName (hard link, else copy).
    bool saveSourceAtPath(const QString& folder) const;
    void loadSourceAtPath(const QString& folder);

    QString path() const { return m_path; }
    void setPath(const QString& v)
    {
        m_path = v;
        m_vcmovie.reset();
    }
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    QImage image() const { return m_image; }
    void setImage(const QImage& v) { m_image = v; }
    QString itemPathName() const { return m_itemPathName; }
    void setItemPathName(const QString& v) { m_itemPathName = v; }
    qint64 trimStart() const { return m_trimStart; }
    void setTrimStart(qint64 v);
    qint64 trimStop() const { return m_trimStop; }
    void setTrimStop(qint64 v);
    qint64 fadeIn() const { return m_fadeIn; }
    void setFadeIn(qint64 v);
    qint64 fadeOut() const { return m_fadeOut; }
    void setFadeOut(qint64 v);

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    void encodeWithCoder(KeyedArchiver& coder) const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;

private:
    QString m_path;
    QString m_name;
    QImage m_image;
    QString m_itemPathName;
    qint64 m_trimStart = 0;
    qint64 m_trimStop = 0;
    qint64 m_fadeIn = 0;
    qint64 m_fadeOut = 0;
    std::shared_ptr<VCMovie> m_vcmovie;
};
