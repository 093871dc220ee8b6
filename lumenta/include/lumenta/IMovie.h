#pragma once
// The movie interface: what every playable or encodable thing answers, a
// media file (LMFFMovie) as well as the application's menu, slideshow and
// picture-plus-music sources. Every operation has a neutral default (no
// streams, no edits, nothing decoded, silence), so a source implements only
// what it has.
//
// Edits are stored values: answered back unchanged and applied to the next
// decoded frame or played sound. value()/setValue() read and write them by
// key ("hflip", "vflip", "rotate", "brightness", "saturation", "contrast",
// "hue", "effectName", "zoomType", "aspectType", "cropRect",
// "cropRectString", "videoSize", "outputVideoSize", "outputVideoSizeString",
// "volume", "subtitleFont", "subtitleColor", "subtitlePosition", "duration");
// an unknown key reads as null and a write to it is ignored.
//
// Threads: every operation may be called from any thread.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

#include "lumenta/LMFormats.h"
#include "lumenta/LMMedia.h"
#include "lumenta/LMMediaTime.h"
#include "lumenta/LMPicture.h"
#include "lumenta/LMStreamInfo.h"
#include "platform/Value.h"

class IFrameProvider;

class Q_DECL_EXPORT IMovie {
public:
    using Ptr = std::shared_ptr<IMovie>;
    using IndexSet = QList<int>;

    virtual ~IMovie();

    // --- Structure ---
    virtual LMMediaTime duration() const { return 0; }
    // Medias with a video stream, with an audio stream, and all of them.
    virtual QList<LMMedia::Ptr> videos() const { return {}; }
    virtual QList<LMMedia::Ptr> audios() const { return {}; }
    virtual QList<LMMedia::Ptr> medias() const { return {}; }
    // The audio streams of the audio media, one entry each.
    virtual QList<LMStreamInfo> audioStreams() const { return {}; }
    // Codec ids of the selected streams (0 when absent).
    virtual int32_t audioCodec() const { return 0; }
    virtual int32_t videoCodec() const { return 0; }
    bool hasVideo() const { return !videos().isEmpty(); }
    bool hasAudio() const { return !audios().isEmpty(); }
    // Indexes into audioStreams(); the first index plays and is exported.
    virtual void setSelectAudioStreams(const IndexSet& /*streams*/) {}
    virtual IndexSet selectAudioStreams() const { return {}; }
    // Absent (nullopt) and present-but-empty are told apart.
    virtual void setSelectSubtitleStreams(const std::optional<IndexSet>& /*streams*/) {}
    virtual std::optional<IndexSet> selectSubtitleStreams() const { return std::nullopt; }

    // --- Edits ---
    virtual bool hflip() const { return false; }
    virtual void setHflip(bool) {}
    virtual bool vflip() const { return false; }
    virtual void setVflip(bool) {}
    // Degrees, counter-clockwise.
    virtual float rotate() const { return 0.0f; }
    virtual void setRotate(float) {}
    // Colour values; neutral 0.5, 0.5, 0.25, 0.5 leave the picture unchanged.
    virtual float brightness() const { return 0.5f; }
    virtual void setBrightness(float) {}
    virtual float saturation() const { return 0.5f; }
    virtual void setSaturation(float) {}
    virtual float contrast() const { return 0.25f; }
    virtual void setContrast(float) {}
    virtual float hue() const { return 0.5f; }
    virtual void setHue(float) {}
    // A name of EffectManager::allFilterNames(), or empty for none.
    virtual QString effectName() const { return {}; }
    virtual void setEffectName(const QString&) {}
    // 1 stretch to the output size, 2 fit with bars (the default), 3 / 4 the
    // source taken as 16:9 / 4:3 and fitted, 5 fill (cut the overflow),
    // 6 custom (fitted).
    virtual int zoomType() const { return 2; }
    virtual void setZoomType(int) {}
    // 0: the source's own display aspect; other values override it.
    virtual int aspectType() const { return 0; }
    virtual void setAspectType(int) {}
    // Source pixels, origin at the lower left; clamped to the frame when used.
    virtual QRectF cropRect() const { return {}; }
    virtual void setCropRect(const QRectF&) {}
    // Source picture size before rotation.
    virtual QSizeF videoSize() const { return {}; }
    virtual void setVideoSize(const QSizeF&) {}
    // videoSize() in the shape the picture is shown in: widened or narrowed
    // by the first video stream's sample aspect (a camcorder's 4:3 pixels).
    QSizeF shownVideoSize() const;
    // Size of the pictures handed out by mediaEffectImage().
    virtual QSizeF outputVideoSize() const { return {}; }
    virtual void setOutputVideoSize(const QSizeF&) {}
    // Audio gain factor, 0 to 3.
    virtual float volume() const { return 1.0f; }
    virtual void setVolume(float) {}
    // Laid over every output frame; a null picture for none.
    virtual LMPicture watermark() const { return {}; }
    virtual void setWatermark(const LMPicture&) {}

    // --- Subtitles ---
    // Reads the file (UTF-8 "srt", "ass", "smi" or "sami") during the call;
    // the caller may delete it right after. An empty path removes the
    // subtitle. False when the file cannot be read.
    virtual bool openSubtitle(const QString& /*path*/) { return false; }
    virtual bool hasSubtitle() const { return false; }
    // The subtitle text as loaded, or null.
    virtual Value subtitle() const { return {}; }
    virtual QFont subtitleFont() const { return {}; }
    virtual void setSubtitleFont(const QFont&) {}
    virtual QColor subtitleColor() const { return Qt::white; }
    virtual void setSubtitleColor(const QColor&) {}
    // 0 bottom, 1 middle, 2 top.
    virtual int subtitlePosition() const { return 0; }
    virtual void setSubtitlePosition(int) {}

    // --- By key ---
    virtual Value value(const QString& key) const;
    virtual void setValue(const QString& key, const Value& value);

    // --- Decoding ---
    // Asks for the frame at `time`; returns at once. The provider is called
    // back as described in IFrameProvider.
    virtual void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider);
    // The same; with waitUntilDone the call returns after the answer (so the
    // provider's callbacks must not wait for the calling thread).
    virtual void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone);
    // The edited frame at `time` scaled to `size` (the output size when
    // empty); null without video.
    virtual QImage thumbnailAtTime(LMMediaTime /*time*/, const QSize& /*size*/) { return {}; }
    // The largest video time read so far by the export side.
    virtual LMMediaTime currentVideoMediaMaxTime() const { return 3600 * lm_default_time_base(); }

    // --- Playing ---
    virtual void play() {}
    virtual void pause() {}
    virtual void stop() {}
    virtual bool isPlay() const { return false; }
    // While playing it runs on past duration() until paused or moved.
    virtual LMMediaTime currentTime() const { return 0; }
    virtual void setCurrentTime(LMMediaTime) {}
    // 0 to 1, applied at once.
    virtual void setPlayVolume(double) {}

    // --- Audio for export ---
    // The format readSample() delivers (interleaved float, layout, rate).
    virtual void configOutputFormat(const LMFFAudioFormat& format) { m_outputAudioFormat = format; }
    virtual LMFFAudioFormat outputAudioFormat() const { return m_outputAudioFormat; }
    // Fills `buffer` with exactly `frames` sample frames from the current
    // position. False at the end or on failure; the buffer is then zero-filled
    // (as is any part the source could not fill).
    virtual bool readSample(uint8_t* buffer, int nbStream, int frames);
    virtual void setDisableVideo(bool) {}
    virtual void setExportMovie(bool) {}
    virtual void setCopy_audio_stream(bool) {}
    virtual void setCopy_video_stream(bool) {}
    // Makes the next reads start at the current time (after a seek or a
    // format change).
    virtual void flushOperation() {}

    // Byte size of `frames` sample frames of the format (0 when unknown).
    static int sampleBytes(const LMFFAudioFormat& format, int frames);

protected:
    LMFFAudioFormat m_outputAudioFormat;
};
