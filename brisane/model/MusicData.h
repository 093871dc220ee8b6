#pragma once
// The background music of a menu page: an audio file (`fileSource`) played
// through a media item whose edits (trims, fades, watermark keys, colour
// values of the movie) come back after a load from the edit-attribute
// snapshot, as for a clip (see MediaData). Archived under "fileSource" and
// "movieAttributes"; the media item is not archived.

#include <QString>
#include <memory>

#include "media/VCMovie.h"
#include "platform/CodingBase.h"

class DVDFileSource;

class MusicData : public CodingBase {
public:
    using Ptr = std::shared_ptr<MusicData>;

    // Music over the file; null when the file has no audio.
    static Ptr musicDataWithPath(const QString& path);

    // The kept length of the media item in seconds; 0 without one.
    double musicDuration() const;

    // Rebuilds the media item from the file source, then applies the snapshot.
    void loadVCMovieFromProject();
    void loadVCMovieWithPath(const QString& path);
    void newMediaEditDic();
    void updateMovieAttributesToMovie();
    IMovie::Ptr ffmovie() const;

    std::shared_ptr<DVDFileSource> fileSource() const { return m_fileSource; }
    void setFileSource(const std::shared_ptr<DVDFileSource>& source) { m_fileSource = source; }
    VCMovie::Ptr vcmovie() const { return m_vcmovie; }
    void setVcmovie(const VCMovie::Ptr& item) { m_vcmovie = item; }
    Value::Dictionary movieAttributes() const { return m_movieAttributes; }
    void setMovieAttributes(const Value::Dictionary& snapshot) { m_movieAttributes = snapshot; }

    // Takes the snapshot, then writes the keys.
    void encodeWithCoder(KeyedArchiver& coder) const override;
    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    void takeSnapshot() const;

    std::shared_ptr<DVDFileSource> m_fileSource;
    VCMovie::Ptr m_vcmovie;
    // Refreshed by every archiving, hence mutable.
    mutable Value::Dictionary m_movieAttributes;
};
