#include "model/MusicData.h"

#include "model/DVDFileSource.h"
#include "model/MediaEditSnapshot.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(MusicData)

namespace {

const QStringList& musicMovieKeys()
{
    static const QStringList keys = MediaEditSnapshot::movieAttributesKeys(false);
    return keys;
}

}  // namespace

MusicData::Ptr MusicData::musicDataWithPath(const QString& path)
{
    auto music = std::make_shared<MusicData>();
    music->m_fileSource = DVDFileSource::sourceWithPath(path);
    music->m_vcmovie = VCMovie::movieWithPath(path);
    if (!music->m_vcmovie || !music->m_vcmovie->hasAudio()) {
        return nullptr;
    }
    return music;
}

double MusicData::musicDuration() const
{
    return m_vcmovie ? lm_ff_time_to_double(m_vcmovie->trimDuration()) : 0.0;
}

void MusicData::loadVCMovieFromProject()
{
    loadVCMovieWithPath(m_fileSource ? m_fileSource->path() : QString());
    updateMovieAttributesToMovie();
}

void MusicData::loadVCMovieWithPath(const QString& path)
{
    m_vcmovie = path.isEmpty() ? nullptr : VCMovie::movieWithPath(path);
}

void MusicData::newMediaEditDic()
{
    takeSnapshot();
}

void MusicData::takeSnapshot() const
{
    if (!m_vcmovie) {
        return;
    }
    if (auto snapshot = MediaEditSnapshot::take(*m_vcmovie, musicMovieKeys())) {
        m_movieAttributes = *snapshot;
    }
}

void MusicData::updateMovieAttributesToMovie()
{
    if (m_vcmovie) {
        MediaEditSnapshot::apply(m_movieAttributes, *m_vcmovie, musicMovieKeys());
    }
}

IMovie::Ptr MusicData::ffmovie() const
{
    return m_vcmovie ? m_vcmovie->movie() : nullptr;
}

void MusicData::encodeWithCoder(KeyedArchiver& coder) const
{
    takeSnapshot();
    CodingBase::encodeWithCoder(coder);
}

QStringList MusicData::allCoderKeys() const
{
    return {"fileSource", "movieAttributes"};
}

const PropertyTable& MusicData::properties()
{
    using M = MusicData;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("fileSource", &M::fileSource, &M::setFileSource)
            .add("movieAttributes", &M::movieAttributes, &M::setMovieAttributes)
            .add("vcmovie", &M::vcmovie, &M::setVcmovie);
    return table;
}
