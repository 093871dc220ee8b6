#pragma once
// A movie for editor tests: it keeps every edit value it is given and answers
// it back, records the calls it receives by name in `calls`, moves its
// position only when told, and answers every decode request at once with a
// picture of its output size filled with `frameColour`. Set `length`,
// `pictureSize`, `outputSize` and `withVideo` / `withAudio` to shape it.
//
// Header-only; needs only Lumenta's movie interface.

#include <QColor>
#include <QImage>
#include <QList>
#include <QStringList>
#include <memory>

#include "lumenta/IFrameProvider.h"
#include "lumenta/IMovie.h"
#include "lumenta/LMMedia.h"
#include "lumenta/LMStreamInfo.h"

namespace testsupport {

class RecordingMovie : public IMovie {
public:
    explicit RecordingMovie(double seconds = 6.0)
        : length(static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base())))
    {
    }

    // --- Shape ---
    LMMediaTime length;
    QSizeF pictureSize{320, 180};
    QSizeF outputSize{320, 180};
    bool withVideo = true;
    bool withAudio = true;
    QColor frameColour = Qt::darkCyan;
    // False: decode requests are answered with null pictures, as when
    // decoding fails.
    bool answerWithPictures = true;

    // --- Record ---
    mutable QStringList calls;
    QList<LMMediaTime> decodes;
    int count(const QString& call) const { return static_cast<int>(calls.count(call)); }

    // --- Play state ---
    mutable LMMediaTime position = 0;
    bool playing = false;

    // Structure
    LMMediaTime duration() const override { return length; }
    QList<LMMedia::Ptr> videos() const override
    {
        return withVideo ? QList{media()} : QList<LMMedia::Ptr>{};
    }
    QList<LMMedia::Ptr> audios() const override
    {
        return withAudio ? QList{media()} : QList<LMMedia::Ptr>{};
    }
    QList<LMMedia::Ptr> medias() const override { return {media()}; }
    QList<LMStreamInfo> audioStreams() const override { return streams; }
    void setSelectAudioStreams(const IndexSet& s) override
    {
        record("setSelectAudioStreams");
        selected = s;
    }
    IndexSet selectAudioStreams() const override { return selected; }

    // Edits
    bool hflip() const override { return m_hflip; }
    void setHflip(bool v) override
    {
        record("setHflip");
        m_hflip = v;
    }
    bool vflip() const override { return m_vflip; }
    void setVflip(bool v) override
    {
        record("setVflip");
        m_vflip = v;
    }
    float rotate() const override { return m_rotate; }
    void setRotate(float v) override
    {
        record("setRotate");
        m_rotate = v;
    }
    float brightness() const override { return m_brightness; }
    void setBrightness(float v) override
    {
        record("setBrightness");
        m_brightness = v;
    }
    float saturation() const override { return m_saturation; }
    void setSaturation(float v) override
    {
        record("setSaturation");
        m_saturation = v;
    }
    float contrast() const override { return m_contrast; }
    void setContrast(float v) override
    {
        record("setContrast");
        m_contrast = v;
    }
    float hue() const override { return m_hue; }
    void setHue(float v) override
    {
        record("setHue");
        m_hue = v;
    }
    QString effectName() const override { return m_effectName; }
    void setEffectName(const QString& v) override
    {
        record("setEffectName");
        m_effectName = v;
    }
    int zoomType() const override { return m_zoomType; }
    void setZoomType(int v) override
    {
        record("setZoomType");
        m_zoomType = v;
    }
    QRectF cropRect() const override { return m_cropRect; }
    void setCropRect(const QRectF& v) override
    {
        record("setCropRect");
        m_cropRect = v;
    }
    QSizeF videoSize() const override { return pictureSize; }
    void setVideoSize(const QSizeF& v) override
    {
        record("setVideoSize");
        pictureSize = v;
    }
    QSizeF outputVideoSize() const override { return outputSize; }
    void setOutputVideoSize(const QSizeF& v) override
    {
        record("setOutputVideoSize");
        outputSize = v;
    }
    float volume() const override { return m_volume; }
    void setVolume(float v) override
    {
        record("setVolume");
        m_volume = v;
    }
    LMPicture watermark() const override { return m_watermark; }
    void setWatermark(const LMPicture& v) override
    {
        record("setWatermark");
        m_watermark = v;
    }

    // Subtitles: the path is remembered, the file is not read.
    bool openSubtitle(const QString& path) override
    {
        record("openSubtitle");
        subtitlePath = path;
        return true;
    }
    bool hasSubtitle() const override { return !subtitlePath.isEmpty(); }
    QFont subtitleFont() const override { return m_subtitleFont; }
    void setSubtitleFont(const QFont& v) override
    {
        record("setSubtitleFont");
        m_subtitleFont = v;
    }
    QColor subtitleColor() const override { return m_subtitleColor; }
    void setSubtitleColor(const QColor& v) override
    {
        record("setSubtitleColor");
        m_subtitleColor = v;
    }
    int subtitlePosition() const override { return m_subtitlePosition; }
    void setSubtitlePosition(int v) override
    {
        record("setSubtitlePosition");
        m_subtitlePosition = v;
    }

    // Decoding
    using IMovie::decodeImageAtTime;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool) override
    {
        decodes << time;
        const QImage frame = picture(outputSize);
        if (provider->wantsMediaImage()) {
            provider->mediaImage(this, picture(pictureSize));
        }
        provider->mediaEffectImage(this, frame);
    }
    QImage thumbnailAtTime(LMMediaTime, const QSize& size) override
    {
        return withVideo ? picture(size.isEmpty() ? outputSize : QSizeF(size)) : QImage();
    }

    // Playing
    void play() override
    {
        record("play");
        playing = true;
    }
    void pause() override
    {
        record("pause");
        playing = false;
    }
    void stop() override
    {
        record("stop");
        playing = false;
        position = 0;
    }
    bool isPlay() const override { return playing; }
    LMMediaTime currentTime() const override { return position; }
    void setCurrentTime(LMMediaTime t) override
    {
        record("setCurrentTime");
        position = qMax<LMMediaTime>(t, 0);
    }
    void setPlayVolume(double) override {}

    QList<LMStreamInfo> streams;
    IndexSet selected{0};
    QString subtitlePath;

private:
    void record(const char* call) const { calls << QString::fromLatin1(call); }
    static LMMedia::Ptr media()
    {
        static const LMMedia::Ptr shared =
            std::make_shared<LMMedia>(nullptr, QStringLiteral("recording"));
        return shared;
    }
    QImage picture(const QSizeF& size) const
    {
        if (!withVideo || !answerWithPictures || size.isEmpty()) {
            return {};
        }
        QImage image(size.toSize(), QImage::Format_ARGB32);
        image.fill(frameColour);
        return image;
    }

    bool m_hflip = false;
    bool m_vflip = false;
    float m_rotate = 0.0f;
    float m_brightness = 0.5f;
    float m_saturation = 0.5f;
    float m_contrast = 0.25f;
    float m_hue = 0.5f;
    QString m_effectName;
    int m_zoomType = 2;
    QRectF m_cropRect;
    float m_volume = 1.0f;
    LMPicture m_watermark;
    QFont m_subtitleFont;
    QColor m_subtitleColor = Qt::white;
    int m_subtitlePosition = 0;
};

}  // namespace testsupport
