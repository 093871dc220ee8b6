#include "media/MusicConverter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"
#include "media/VCVideoConverter.h"

MusicConverter::MusicConverter() : m_movieFormat(defaultFormat()) {}

LMFFMovieFileOutputFormat MusicConverter::defaultFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.audio_bitrate = 192000;
    format.sample_rate = 44100;
    format.channel_layout = lm_get_channel_layout_by_name("stereo");
    return format;
}

QString MusicConverter::errorText() const
{
    std::lock_guard lock(m_lock);
    return m_error;
}

bool MusicConverter::fail(const QString& text)
{
    qWarning().noquote() << "Music conversion failed:" << text;
    std::lock_guard lock(m_lock);
    m_error = text;
    return false;
}

bool MusicConverter::startConverterMusic(IMovie& movie, float leftTrimTime, float rightTrimTime,
                                         float fadeInTime, float fadeOutTime,
                                         const QString& exportPath)
{
    constexpr int Block = VCVideoConverter::BlockFrames;
    {
        std::lock_guard lock(m_lock);
        m_error.clear();
    }
    QDir().mkpath(QFileInfo(exportPath).absolutePath());
    m_progress = 0.0;
    m_convertingTime = 0.0;
    m_canceled = false;

    LMFFMovieFileOutput writer;
    writer.setPath(exportPath);
    writer.setMovieFormat(m_movieFormat);
    writer.openAudio();
    if (!writer.isAudioOpen()) {
        return fail(QStringLiteral("no audio encoder for the format"));
    }
    LMFFAudioFormat input = writer.outputAudioFormat();
    input.sample_fmt = lm_get_default_sample_fmt();
    writer.setAudioInputFormat(input);
    if (!writer.startOutput()) {
        return fail(QStringLiteral("the file cannot be written: ") + exportPath);
    }

    const int channels = qMax(1, lm_get_channel_layout_nb_channels(m_movieFormat.channel_layout));
    std::vector<float> buffer(static_cast<size_t>(Block) * channels, 0.0f);
    const int rate = m_movieFormat.sample_rate;
    movie.configOutputFormat(writer.audioInputFormat());
    const auto fadeIn = static_cast<int64_t>(fadeInTime * static_cast<float>(rate));
    const auto fadeOut = static_cast<int64_t>(fadeOutTime * static_cast<float>(rate));
    const auto total =
        static_cast<int64_t>((rightTrimTime - leftTrimTime) * static_cast<float>(rate));
    const auto gapSamples = static_cast<int64_t>(m_gap * rate);
    movie.setCurrentTime(
        static_cast<LMMediaTime>(leftTrimTime * static_cast<float>(lm_default_time_base())));
    movie.flushOperation();

    int64_t written = 0;
    while (!m_canceled && written < total) {
        VCVideoConverter::readMovie(movie, buffer, Block, written, total, fadeIn, fadeOut);
        writer.writeAudioData(reinterpret_cast<const uint8_t*>(buffer.data()));
        written += Block;
        m_convertingTime = static_cast<double>(written / rate);
        m_progress = static_cast<double>(written) / qMax(static_cast<double>(total), 1.0);
    }
    std::fill(buffer.begin(), buffer.end(), 0.0f);
    for (int64_t i = 0; i < gapSamples / Block; ++i) {
        writer.writeAudioData(reinterpret_cast<const uint8_t*>(buffer.data()));
    }
    movie.setCurrentTime(0);
    movie.flushOperation();
    const bool complete = writer.stopOutput();
    if (m_canceled || !complete) {
        QFile::remove(exportPath);
        return fail(m_canceled ? QStringLiteral("canceled")
                               : QStringLiteral("the file could not be written completely"));
    }
    return true;
}
