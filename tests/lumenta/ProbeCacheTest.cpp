// A file opened again takes what its first probe found: the same streams, the
// same parameters and the same decoded pictures as a fresh probe gives. A
// file changed on disk, or one whose streams show only in its packets, is
// probed again.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "FFmpeg.h"
#include "LumentaMedia.h"
#include "ProbeCache.h"
#include "TestSupport.h"

namespace {

using lumenta::FormatInputPtr;
using lumenta::ProbeCache;

// The container at `path`, opened and not probed.
FormatInputPtr openUnprobed(const QString& path)
{
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) {
        return nullptr;
    }
    return FormatInputPtr(context);
}

// Opens and probes `path`, and records what was found in `cache`.
FormatInputPtr openAndRemember(ProbeCache& cache, const QString& path)
{
    FormatInputPtr input = openUnprobed(path);
    if (!input) {
        return nullptr;
    }
    const QString declared = ProbeCache::declaration(path, input.get());
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        return nullptr;
    }
    cache.remember(path, declared, input.get());
    return input;
}

// What a reader sees of a stream before decoding.
QString describeStream(const AVFormatContext* input, unsigned index)
{
    const AVStream* stream = input->streams[index];
    const AVCodecParameters* p = stream->codecpar;
    return QStringLiteral(
               "codec %1 %2x%3 format %4 delay %5 rate %6 ch %7 extradata %8 fps %9/%10 "
               "real %11/%12 sar %13/%14 start %15 duration %16 base %17/%18")
        .arg(p->codec_id)
        .arg(p->width)
        .arg(p->height)
        .arg(p->format)
        .arg(p->video_delay)
        .arg(p->sample_rate)
        .arg(p->ch_layout.nb_channels)
        .arg(QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(p->extradata), p->extradata_size).toHex()))
        .arg(stream->avg_frame_rate.num)
        .arg(stream->avg_frame_rate.den)
        .arg(stream->r_frame_rate.num)
        .arg(stream->r_frame_rate.den)
        .arg(stream->sample_aspect_ratio.num)
        .arg(stream->sample_aspect_ratio.den)
        .arg(stream->start_time)
        .arg(stream->duration)
        .arg(stream->time_base.num)
        .arg(stream->time_base.den);
}

// Printable, for readable failures.
std::string describe(const AVFormatContext* input)
{
    QStringList streams{QStringLiteral("start %1 duration %2 method %3")
                            .arg(input->start_time)
                            .arg(input->duration)
                            .arg(input->duration_estimation_method)};
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        streams << describeStream(input, i);
    }
    return streams.join(QLatin1Char('\n')).toStdString();
}

// Every picture of the first video stream, decoded on one thread: its
// timestamp and a digest of its planes.
std::vector<std::string> decodedPictures(AVFormatContext* input)
{
    const int index = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        return {"no video"};
    }
    const AVStream* stream = input->streams[index];
    lumenta::CodecContextPtr decoder = lumenta::openDecoder(stream, 1);
    if (!decoder) {
        return {"no decoder"};
    }
    std::vector<std::string> pictures;
    lumenta::PacketPtr packet = lumenta::makePacket();
    lumenta::FramePtr frame = lumenta::makeFrame();
    bool demuxEnd = false;
    for (;;) {
        const int ret = avcodec_receive_frame(decoder.get(), frame.get());
        if (ret == AVERROR_EOF) {
            return pictures;
        }
        if (ret == AVERROR(EAGAIN)) {
            lumenta::feedDecoder(input, packet.get(), decoder.get(), stream, demuxEnd, "video");
            continue;
        }
        if (ret < 0) {
            pictures.push_back("error " + std::to_string(ret));
            return pictures;
        }
        QCryptographicHash digest(QCryptographicHash::Md5);
        for (int plane = 0; plane < 3 && frame->data[plane]; ++plane) {
            const int rows = plane == 0 ? frame->height : (frame->height + 1) / 2;
            const int bytes = plane == 0 ? frame->width : (frame->width + 1) / 2;
            for (int y = 0; y < rows; ++y) {
                digest.addData(
                    QByteArrayView(frame->data[plane] + y * frame->linesize[plane], bytes));
            }
        }
        pictures.push_back(QStringLiteral("%1 %2 %3")
                               .arg(frame->best_effort_timestamp)
                               .arg(frame->format)
                               .arg(QString::fromLatin1(digest.result().toHex()))
                               .toStdString());
    }
}

struct Container {
    const char* name;
    const char* file;
};

// The containers that declare their streams in their header.
constexpr Container declaring[] = {
    {"MP4 of H.264 and AAC", "clip.mp4"},
    {"Matroska of H.264 and AAC", "clip.mkv"},
    {"AVI of MPEG-4 and MP3", "clip.avi"},
};

TEST(ProbeCache, AFileOpenedAgainReadsAsAFreshProbeReadsIt)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    for (const Container& container : declaring) {
        SCOPED_TRACE(container.name);
        const QString path = dir.filePath(container.file);
        ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.2));
        ProbeCache cache;
        FormatInputPtr probed = openAndRemember(cache, path);
        ASSERT_TRUE(probed);
        EXPECT_EQ(cache.size(), 1);

        FormatInputPtr again = openUnprobed(path);
        ASSERT_TRUE(again);
        ASSERT_TRUE(cache.restore(path, again.get()));
        EXPECT_EQ(describe(again.get()), describe(probed.get()));
        const std::vector<std::string> pictures = decodedPictures(probed.get());
        EXPECT_EQ(pictures.size(), 30u);
        EXPECT_EQ(decodedPictures(again.get()), pictures);
    }
}

TEST(ProbeCache, ReadersOfTheLibraryRecordAndTakeWhatTheFirstProbeFound)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.2));
    FormatInputPtr probed = lumenta::openInput(path);
    ASSERT_TRUE(probed);
    FormatInputPtr reader = lumenta::openInput(path, lumenta::Probe::UnlessRecorded);
    ASSERT_TRUE(reader);
    // Restored, not probed: probing would have read packets ahead.
    EXPECT_EQ(avio_tell(reader->pb), avio_tell(openUnprobed(path)->pb));
    EXPECT_EQ(describe(reader.get()), describe(probed.get()));
    EXPECT_EQ(decodedPictures(reader.get()), decodedPictures(probed.get()));
}

TEST(ProbeCache, ChangedFilesAndStreamsFoundInPacketsAreProbedAgain)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 1.2));

    // A transport stream declares no streams: nothing to record or restore.
    const QString stream = dir.filePath("clip.ts");
    ASSERT_TRUE(testsupport::generateMedia(stream, {"-i", clip, "-c", "copy"}));
    ProbeCache cache;
    ASSERT_TRUE(openAndRemember(cache, stream));
    EXPECT_EQ(cache.size(), 0);
    FormatInputPtr unprobed = openUnprobed(stream);
    ASSERT_TRUE(unprobed);
    EXPECT_TRUE(ProbeCache::declaration(stream, unprobed.get()).isEmpty());
    EXPECT_FALSE(cache.restore(stream, unprobed.get()));

    // The same path, another picture size: the record is of another file.
    ASSERT_TRUE(openAndRemember(cache, clip));
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 1.2, 96, 64));
    FormatInputPtr replaced = openUnprobed(clip);
    ASSERT_TRUE(replaced);
    EXPECT_FALSE(cache.restore(clip, replaced.get()));
    const int video = 0;
    EXPECT_EQ(replaced->streams[video]->codecpar->width, 96);

    // A file that grows while it is probed (still being copied in) may
    // not be as probing found it: nothing is recorded.
    ProbeCache growing;
    FormatInputPtr copying = openUnprobed(clip);
    ASSERT_TRUE(copying);
    const QString declared = ProbeCache::declaration(clip, copying.get());
    ASSERT_FALSE(declared.isEmpty());
    QFile more(clip);
    ASSERT_TRUE(more.open(QIODevice::Append));
    ASSERT_EQ(more.write(QByteArray(4096, '\0')), 4096);
    more.close();
    ASSERT_GE(avformat_find_stream_info(copying.get(), nullptr), 0);
    growing.remember(clip, declared, copying.get());
    EXPECT_EQ(growing.size(), 0);

    // The same file under another name has a record of its own to make.
    const QString link = dir.filePath("link.mp4");
    ASSERT_TRUE(QFile::link(clip, link));
    FormatInputPtr linked = openUnprobed(link);
    ASSERT_TRUE(linked);
    EXPECT_FALSE(cache.restore(link, linked.get()));
}

TEST(ProbeCache, HoldsTheNewestRecordsUpToItsCapacity)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 0.4, 64, 48, false));
    ProbeCache cache;
    QStringList names;
    for (int i = 0; i <= ProbeCache::capacity(); ++i) {
        names << dir.filePath(QStringLiteral("name%1.mp4").arg(i));
        ASSERT_TRUE(QFile::link(clip, names.last()));
        ASSERT_TRUE(openAndRemember(cache, names.last()));
    }
    // Recording a name again replaces its record.
    ASSERT_TRUE(openAndRemember(cache, names.last()));
    EXPECT_EQ(cache.size(), ProbeCache::capacity());
    EXPECT_FALSE(cache.restore(names.first(), openUnprobed(names.first()).get()));
    EXPECT_TRUE(cache.restore(names[1], openUnprobed(names[1]).get()));
    EXPECT_TRUE(cache.restore(names.last(), openUnprobed(names.last()).get()));
}

}  // namespace
