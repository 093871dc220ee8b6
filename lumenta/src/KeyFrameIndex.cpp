#include "KeyFrameIndex.h"

#include <QHash>
#include <algorithm>
#include <mutex>

#include "FFmpeg.h"
#include "ProbeCache.h"
#include "VideoFrameReader.h"

namespace lumenta {

namespace {

struct ParserDeleter {
    void operator()(AVCodecParserContext* parser) const { av_parser_close(parser); }
};

// One file's index, read once by whoever asks first.
struct Slot {
    std::mutex reading;
    bool read = false;
    std::shared_ptr<const KeyFrameIndex> index;
};

struct Kept {
    std::mutex mutex;
    QHash<QString, std::shared_ptr<Slot>> files;
    QList<QString> order;  // oldest first
};

Kept& kept()
{
    static Kept shared;
    return shared;
}

// The file and the stream, as an index is kept for them; empty for
// anything but a regular file.
QString keyOf(const QString& url, int streamIndex)
{
    const QString file = ProbeCache::fileIdentity(url);
    return file.isEmpty() ? QString() : QStringLiteral("%1#%2").arg(file).arg(streamIndex);
}

std::shared_ptr<Slot> slotFor(const QString& key, bool make)
{
    Kept& all = kept();
    std::lock_guard lock(all.mutex);
    std::shared_ptr<Slot> slot = all.files.value(key);
    if (!slot && make) {
        slot = std::make_shared<Slot>();
        all.files.insert(key, slot);
        all.order << key;
        while (all.order.size() > KeyFrameIndex::capacity()) {
            all.files.remove(all.order.takeFirst());
        }
    }
    return slot;
}

// Whether the packet holds a picture decoding can start at.
bool startsDecoding(const AVPacket& packet, AVCodecParserContext* parser, AVCodecContext* codec)
{
    if (packet.flags & AV_PKT_FLAG_KEY) {
        return true;
    }
    if (!parser || !codec) {
        return false;
    }
    uint8_t* data = nullptr;
    int size = 0;
    av_parser_parse2(parser, codec, &data, &size, packet.data, packet.size, packet.pts, packet.dts,
                     packet.pos);
    return parser->key_frame == 1 ||
           (parser->key_frame == -1 && parser->pict_type == AV_PICTURE_TYPE_I);
}

}  // namespace

std::shared_ptr<const KeyFrameIndex> KeyFrameIndex::of(const QString& url, int streamIndex)
{
    const QString key = keyOf(url, streamIndex);
    if (key.isEmpty()) {
        return read(url, streamIndex);
    }
    const std::shared_ptr<Slot> slot = slotFor(key, true);
    std::lock_guard lock(slot->reading);
    if (!slot->read) {
        slot->index = read(url, streamIndex);
        slot->read = true;
    }
    return slot->index;
}

std::shared_ptr<const KeyFrameIndex> KeyFrameIndex::kept(const QString& url, int streamIndex)
{
    const QString key = keyOf(url, streamIndex);
    const std::shared_ptr<Slot> slot = key.isEmpty() ? nullptr : slotFor(key, false);
    if (!slot) {
        return nullptr;
    }
    std::lock_guard lock(slot->reading);
    return slot->index;
}

std::shared_ptr<const KeyFrameIndex> KeyFrameIndex::read(const QString& url, int streamIndex)
{
    FormatInputPtr input = openInput(url, Probe::UnlessRecorded);
    if (!input || streamIndex < 0 || streamIndex >= static_cast<int>(input->nb_streams)) {
        return nullptr;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        input->streams[i]->discard =
            static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    const AVStream* stream = input->streams[streamIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    const int64_t second =
        av_rescale_q(AV_TIME_BASE, AVRational{1, AV_TIME_BASE}, stream->time_base);
    std::unique_ptr<AVCodecParserContext, ParserDeleter> parser(
        av_parser_init(parameters->codec_id));
    CodecContextPtr codec(avcodec_alloc_context3(nullptr));
    if (parser) {
        parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
    }
    if (codec && avcodec_parameters_to_context(codec.get(), parameters) < 0) {
        codec.reset();
    }
    auto index = std::make_shared<KeyFrameIndex>();
    PacketPtr packet = makePacket();
    while (packet && av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == streamIndex &&
            startsDecoding(*packet, parser.get(), codec.get())) {
            Entry entry;
            entry.pts = packet->pts;
            entry.dts = packet->dts;
            entry.shown = packet->pts != AV_NOPTS_VALUE   ? packet->pts
                          : packet->dts != AV_NOPTS_VALUE ? packet->dts + second
                                                          : AV_NOPTS_VALUE;
            entry.pos = packet->pos;
            if (entry.shown != AV_NOPTS_VALUE) {
                index->m_entries << entry;
            }
        }
        av_packet_unref(packet.get());
    }
    VideoFrameReader::countBytesRead(input->pb ? input->pb->bytes_read : 0);
    std::stable_sort(index->m_entries.begin(), index->m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.shown < b.shown; });
    return index;
}

const KeyFrameIndex::Entry* KeyFrameIndex::atOrBefore(int64_t time) const
{
    if (m_entries.isEmpty()) {
        return nullptr;
    }
    const auto after = std::upper_bound(m_entries.cbegin(), m_entries.cend(), time,
                                        [](int64_t t, const Entry& e) { return t < e.shown; });
    return after == m_entries.cbegin() ? &m_entries.front() : &*(after - 1);
}

}  // namespace lumenta
