#include "lumenta/IMovie.h"

#include <QHash>
#include <cstring>
#include <functional>

#include "FFmpeg.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFunctions.h"
#include "platform/GeometryStrings.h"

IMovie::~IMovie() = default;

QSizeF IMovie::shownVideoSize() const
{
    const QSizeF size = videoSize();
    const QList<LMMedia::Ptr> media = videos();
    if (media.isEmpty() || media.first()->videos().isEmpty()) {
        return size;
    }
    const double aspect = media.first()->videos().first().sampleAspect;
    return aspect > 0 ? QSizeF(qRound(size.width() * aspect), size.height()) : size;
}

namespace {

struct KeyAccess {
    std::function<Value(const IMovie&)> get;
    std::function<void(IMovie&, const Value&)> set;
};

template <typename Getter, typename Setter>
KeyAccess boolKey(Getter g, Setter s)
{
    return {[g](const IMovie& m) { return Value((m.*g)()); },
            [s](IMovie& m, const Value& v) {
                if (auto b = v.toBool()) {
                    (m.*s)(*b);
                }
            }};
}

template <typename Getter, typename Setter>
KeyAccess floatKey(Getter g, Setter s)
{
    return {[g](const IMovie& m) { return Value((m.*g)()); },
            [s](IMovie& m, const Value& v) {
                if (auto d = v.toDouble()) {
                    (m.*s)(static_cast<float>(*d));
                }
            }};
}

template <typename Getter, typename Setter>
KeyAccess intKey(Getter g, Setter s)
{
    return {[g](const IMovie& m) { return Value((m.*g)()); },
            [s](IMovie& m, const Value& v) {
                if (auto i = v.toInt()) {
                    (m.*s)(static_cast<int>(*i));
                }
            }};
}

const QHash<QString, KeyAccess>& keyTable()
{
    static const QHash<QString, KeyAccess> table{
        {"hflip", boolKey(&IMovie::hflip, &IMovie::setHflip)},
        {"vflip", boolKey(&IMovie::vflip, &IMovie::setVflip)},
        {"rotate", floatKey(&IMovie::rotate, &IMovie::setRotate)},
        {"brightness", floatKey(&IMovie::brightness, &IMovie::setBrightness)},
        {"saturation", floatKey(&IMovie::saturation, &IMovie::setSaturation)},
        {"contrast", floatKey(&IMovie::contrast, &IMovie::setContrast)},
        {"hue", floatKey(&IMovie::hue, &IMovie::setHue)},
        {"volume", floatKey(&IMovie::volume, &IMovie::setVolume)},
        {"zoomType", intKey(&IMovie::zoomType, &IMovie::setZoomType)},
        {"aspectType", intKey(&IMovie::aspectType, &IMovie::setAspectType)},
        {"subtitlePosition", intKey(&IMovie::subtitlePosition, &IMovie::setSubtitlePosition)},
        {"effectName",
         {[](const IMovie& m) {
              const QString name = m.effectName();
              return name.isEmpty() ? Value() : Value(name);
          },
          [](IMovie& m, const Value& v) { m.setEffectName(v.toString().value_or(QString())); }}},
        {"cropRect",
         {[](const IMovie& m) { return Value(m.cropRect()); },
          [](IMovie& m, const Value& v) {
              if (auto r = v.toRect()) {
                  m.setCropRect(*r);
              }
          }}},
        {"cropRectString",
         {[](const IMovie& m) { return Value(stringFromRect(m.cropRect())); },
          [](IMovie& m, const Value& v) {
              if (auto s = v.toString()) {
                  m.setCropRect(rectFromString(*s));
              }
          }}},
        {"videoSize",
         {[](const IMovie& m) { return Value(m.videoSize()); },
          [](IMovie& m, const Value& v) {
              if (auto s = v.toSize()) {
                  m.setVideoSize(*s);
              }
          }}},
        {"outputVideoSize",
         {[](const IMovie& m) { return Value(m.outputVideoSize()); },
          [](IMovie& m, const Value& v) {
              if (auto s = v.toSize()) {
                  m.setOutputVideoSize(*s);
              }
          }}},
        {"outputVideoSizeString",
         {[](const IMovie& m) { return Value(stringFromSize(m.outputVideoSize())); },
          [](IMovie& m, const Value& v) {
              if (auto s = v.toString()) {
                  m.setOutputVideoSize(sizeFromString(*s));
              }
          }}},
        {"subtitleFont",
         {[](const IMovie& m) { return Value(m.subtitleFont()); },
          [](IMovie& m, const Value& v) {
              if (auto f = v.toFont()) {
                  m.setSubtitleFont(*f);
              }
          }}},
        {"subtitleColor",
         {[](const IMovie& m) { return Value(m.subtitleColor()); },
          [](IMovie& m, const Value& v) {
              if (auto c = v.toColor()) {
                  m.setSubtitleColor(*c);
              }
          }}},
        {"duration",
         {[](const IMovie& m) { return Value(static_cast<qint64>(m.duration())); },
          [](IMovie&, const Value&) {}}},
    };
    return table;
}

}  // namespace

Value IMovie::value(const QString& key) const
{
    const auto& table = keyTable();
    auto it = table.find(key);
    if (it == table.end()) {
        return {};
    }
    return it->get(*this);
}

void IMovie::setValue(const QString& key, const Value& value)
{
    const auto& table = keyTable();
    auto it = table.find(key);
    if (it != table.end()) {
        it->set(*this, value);
    }
}

void IMovie::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider)
{
    decodeImageAtTime(time, provider, false);
}

void IMovie::decodeImageAtTime(LMMediaTime, IFrameProvider* provider, bool)
{
    if (provider) {
        provider->mediaEffectImage(this, QImage());
    }
}

bool IMovie::readSample(uint8_t* buffer, int, int frames)
{
    const int bytes = sampleBytes(m_outputAudioFormat, frames);
    if (buffer && bytes > 0) {
        std::memset(buffer, 0, static_cast<size_t>(bytes));
    }
    return false;
}

int IMovie::sampleBytes(const LMFFAudioFormat& format, int frames)
{
    const int channels = lm_get_channel_layout_nb_channels(format.channel_layout);
    const int bytesPerSample =
        format.sample_fmt < 0
            ? 0
            : av_get_bytes_per_sample(static_cast<AVSampleFormat>(format.sample_fmt));
    return qMax(frames, 0) * channels * bytesPerSample;
}
