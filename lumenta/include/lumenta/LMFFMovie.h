#pragma once
// A media file as a movie: probing, decoding with edits, thumbnails, audio
// for export, playback, and the direct path for unedited files.
//
// Decoding: decode requests are served in order by one worker thread of the
// movie; each gets exactly one answer (see IFrameProvider). While the movie
// is exported, requests that are not waited for are decoded on the worker and
// edited on a few threads of their own, side by side, and answered from those
// threads, still in request order. Thumbnails, the
// export audio, the direct path and playback each read the file through their
// own demuxer, so none of them disturbs the others' position.
//
// Edits are applied by one libavfilter chain that is rebuilt when an edit
// value changes: crop, rotation, flips, colour, effect, subtitles, then the
// zoom to outputVideoSize; the watermark is laid over last. A provider that
// names a drawing surface gets the picture sampled at the surface's pixels,
// laid out in outputVideoSize all the same (IFrameProvider).
//
// A movie opened with no medias (or with medias that failed to probe) has no
// streams: it decodes null pictures and reads silence.

#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

#include "lumenta/IMovie.h"
#include "lumenta/LMFFItem.h"
#include "lumenta/LMMediaSource.h"

class Q_DECL_EXPORT LMFFMovie : public IMovie {
public:
    using Ptr = std::shared_ptr<LMFFMovie>;

    LMFFMovie();
    ~LMFFMovie() override;

    static Ptr create() { return std::make_shared<LMFFMovie>(); }

    // Opens the first media with video and the first with audio. An empty
    // list gives a movie without streams. False when nothing could be opened
    // from a non-empty list.
    bool openMedias(const QList<LMMedia::Ptr>& medias);
    // openSource(mediaWithPath(path)).
    bool open(const QString& path);
    // Opens the source's medias and disables video: an audio-only movie.
    bool openSource(const LMMediaSource::Ptr& source);

    // IMovie: structure
    LMMediaTime duration() const override;
    QList<LMMedia::Ptr> videos() const override;
    QList<LMMedia::Ptr> audios() const override;
    QList<LMMedia::Ptr> medias() const override;
    QList<LMStreamInfo> audioStreams() const override;
    int32_t audioCodec() const override;
    int32_t videoCodec() const override;
    void setSelectAudioStreams(const IndexSet& streams) override;
    IndexSet selectAudioStreams() const override;
    void setSelectSubtitleStreams(const std::optional<IndexSet>& streams) override;
    std::optional<IndexSet> selectSubtitleStreams() const override;

    // IMovie: edits
    bool hflip() const override;
    void setHflip(bool v) override;
    bool vflip() const override;
    void setVflip(bool v) override;
    float rotate() const override;
    void setRotate(float v) override;
    float brightness() const override;
    void setBrightness(float v) override;
    float saturation() const override;
    void setSaturation(float v) override;
    float contrast() const override;
    void setContrast(float v) override;
    float hue() const override;
    void setHue(float v) override;
    QString effectName() const override;
    void setEffectName(const QString& v) override;
    int zoomType() const override;
    void setZoomType(int v) override;
    int aspectType() const override;
    void setAspectType(int v) override;
    QRectF cropRect() const override;
    void setCropRect(const QRectF& v) override;
    QSizeF videoSize() const override;
    void setVideoSize(const QSizeF& v) override;
    // The quarter turn (counter-clockwise degrees) the video stream's display
    // matrix asks for; the edit chain applies it before every edit, so frames
    // taken straight from the decoder (the direct path) are not upright.
    int displayRotation() const;
    // For each of `times`, the movie time of the video's key frame at or
    // before it, where decoding from that time on has to start; none when it
    // cannot be told (no video). Reads the file through one demuxer of its
    // own; a stream whose container flags no key packets is told by its key
    // frame index, its file read once.
    QList<std::optional<LMMediaTime>> keyFrameTimesAtOrBefore(
        const QList<LMMediaTime>& times) const;
    QSizeF outputVideoSize() const override;
    void setOutputVideoSize(const QSizeF& v) override;
    float volume() const override;
    void setVolume(float v) override;
    LMPicture watermark() const override;
    void setWatermark(const LMPicture& v) override;
    // Called (on the setting thread) after every watermark change, so that
    // players can redraw.
    void setWatermarkObserver(std::function<void()> observer);
    // More observers of the same change, each called after the one above.
    // addWatermarkObserver() answers a token that removes it again; an
    // observer may still run once if a change is under way while removed.
    quint64 addWatermarkObserver(std::function<void()> observer);
    void removeWatermarkObserver(quint64 token);

    // IMovie: subtitles. The text encoding of the file is taken as UTF-8
    // unless setSubtitleEncoding() names another (an iconv name). The file is
    // checked when it is opened: a special or oversized file, one that is not
    // UTF-8 while no encoding is chosen, one in a format FFmpeg cannot read,
    // one without a single cue and one that would show more than 32 KiB of
    // cue text at one time (the renderer's cost grows with every character
    // shown) are refused (false), with the reason in subtitleError() ("not
    // UTF-8: choose an encoding", "no cues", "this subtitle format is not
    // supported", "a cue is too long", "too much text at one time"); the
    // subtitle shown before stays. A file of another format than SubRip and
    // ASS is drawn from an ASS script of its cues (see SubtitleAssCopy).
    bool openSubtitle(const QString& path) override;
    QString subtitleError() const;
    bool hasSubtitle() const override;
    Value subtitle() const override;
    void setSubtitleEncoding(const QString& encoding);
    QFont subtitleFont() const override;
    void setSubtitleFont(const QFont& v) override;
    QColor subtitleColor() const override;
    void setSubtitleColor(const QColor& v) override;
    int subtitlePosition() const override;
    void setSubtitlePosition(int v) override;

    // IMovie: decoding
    using IMovie::decodeImageAtTime;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone) override;
    QImage thumbnailAtTime(LMMediaTime time, const QSize& size) override;
    LMMediaTime currentVideoMediaMaxTime() const override;

    // Direct path for unedited files. Hands `action` the video items from the
    // last position up to `time` (at least one when the stream goes on), as
    // decoded frames (decode true) or compressed packets; null at the end.
    // Runs on the calling thread before returning.
    void decodeImageAtTime(LMMediaTime time, bool decode,
                           const std::function<void(LMFFItem*)>& action);
    bool copy_video_stream() const;
    bool copy_audio_stream() const;
    // The next compressed packet of the selected audio stream (copy path);
    // null at the end. Advances currentTime().
    std::unique_ptr<LMFFItem> readNextAudioPacket();

    // IMovie: playing
    void play() override;
    void pause() override;
    void stop() override;
    bool isPlay() const override;
    LMMediaTime currentTime() const override;
    void setCurrentTime(LMMediaTime time) override;
    void setPlayVolume(double volume) override;

    // IMovie: export
    void configOutputFormat(const LMFFAudioFormat& format) override;
    LMFFAudioFormat outputAudioFormat() const override;
    bool readSample(uint8_t* buffer, int nbStream, int frames) override;
    void setDisableVideo(bool v) override;
    bool disableVideo() const;
    void setExportMovie(bool v) override;
    void setCopy_audio_stream(bool v) override;
    void setCopy_video_stream(bool v) override;
    void flushOperation() override;

    // Not used by the application; hands the frame back unchanged.
    QImage processMosaicEffect(const QImage& frame) { return frame; }

private:
    struct Impl;
    class OpenThumbnailReaders;
    std::unique_ptr<Impl> d;
};
