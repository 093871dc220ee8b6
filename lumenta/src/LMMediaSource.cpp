#include "lumenta/LMMediaSource.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cmath>

#include "FFmpeg.h"
#include "lumenta/LMFunctions.h"

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
}

namespace {

LMStreamInfo::FieldOrder fieldOrderOf(const AVCodecParameters& par)
{
    switch (par.field_order) {
        case AV_FIELD_TT:
        case AV_FIELD_BT:
            return LMStreamInfo::FieldOrder::TopFirst;
        case AV_FIELD_BB:
        case AV_FIELD_TB:
            return LMStreamInfo::FieldOrder::BottomFirst;
        default:
            return par.codec_id == AV_CODEC_ID_DVVIDEO ? LMStreamInfo::FieldOrder::BottomFirst
                                                       : LMStreamInfo::FieldOrder::Progressive;
    }
}

LMMediaTime toMediaTime(int64_t value, AVRational timeBase)
{
    if (value == AV_NOPTS_VALUE) {
        return 0;
    }
    return av_rescale_q(value, timeBase, AVRational{1, AV_TIME_BASE});
}

// The quarter turn (counter-clockwise degrees) the stream's display matrix
// asks for; 0 without one or for an angle that is no quarter turn.
int displayRotation(const AVStream* stream)
{
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t)) {
        return 0;
    }
    const double angle = av_display_rotation_get(reinterpret_cast<const int32_t*>(data));
    if (!std::isfinite(angle)) {
        return 0;
    }
    const long quarter = std::lround(angle / 90.0);
    if (std::fabs(angle - quarter * 90.0) > 1.0) {
        return 0;
    }
    return static_cast<int>(((quarter % 4) + 4) % 4) * 90;
}

LMStreamInfo describe(const AVStream* stream)
{
    const AVCodecParameters* par = stream->codecpar;
    LMStreamInfo info;
    info.index = stream->index;
    info.codecId = par->codec_id;
    info.codecName = QString::fromUtf8(lm_get_codec_name_by_id(par->codec_id));
    info.duration = toMediaTime(stream->duration, stream->time_base);
    if (const AVDictionaryEntry* lang = av_dict_get(stream->metadata, "language", nullptr, 0)) {
        info.language = QString::fromUtf8(lang->value);
    }
    switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            info.kind = (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
                            ? LMStreamInfo::Kind::Other
                            : LMStreamInfo::Kind::Video;
            info.width = par->width;
            info.height = par->height;
            if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0) {
                info.frameRate = av_q2d(stream->avg_frame_rate);
            } else if (stream->r_frame_rate.num > 0 && stream->r_frame_rate.den > 0) {
                info.frameRate = av_q2d(stream->r_frame_rate);
            }
            if (par->sample_aspect_ratio.num > 0 && par->sample_aspect_ratio.den > 0) {
                info.sampleAspect = av_q2d(par->sample_aspect_ratio);
            }
            info.rotation = displayRotation(stream);
            info.fieldOrder = fieldOrderOf(*par);
            if (info.rotation == 90 || info.rotation == 270) {
                std::swap(info.width, info.height);
                info.sampleAspect = 1.0 / info.sampleAspect;
            }
            break;
        case AVMEDIA_TYPE_AUDIO:
            info.kind = LMStreamInfo::Kind::Audio;
            info.sampleRate = par->sample_rate;
            info.channels = par->ch_layout.nb_channels;
            if (par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE) {
                info.channelLayout = static_cast<int64_t>(par->ch_layout.u.mask);
            } else {
                AVChannelLayout layout{};
                av_channel_layout_default(&layout, par->ch_layout.nb_channels);
                info.channelLayout = static_cast<int64_t>(layout.u.mask);
            }
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            info.kind = LMStreamInfo::Kind::Subtitle;
            break;
        default:
            info.kind = LMStreamInfo::Kind::Other;
            break;
    }
    return info;
}

bool isEncrypted(const AVStream* stream)
{
    for (int i = 0; i < stream->nb_side_data; ++i) {
        if (stream->side_data[i].type == AV_PKT_DATA_ENCRYPTION_INIT_INFO) {
            return true;
        }
    }
    const uint32_t tag = stream->codecpar->codec_tag;
    return tag == MKTAG('e', 'n', 'c', 'v') || tag == MKTAG('e', 'n', 'c', 'a') ||
           tag == MKTAG('d', 'r', 'm', 's') || tag == MKTAG('d', 'r', 'm', 'i');
}

// What reading a container's packets (without decoding them) tells.
struct PacketScan {
    bool encrypted = false;
    bool anyMedia = false;              // a packet of an audio or video stream
    LMMediaTime end = AV_NOPTS_VALUE;   // the latest packet end, when measured
    QHash<int, LMMediaTime> streamEnds;  // per stream, when measured
};

// Common encryption marks its packets, and a file with media data has some
// in its first packets: a few are enough to tell both. With `measure` every
// packet is read to find where the streams really end.
PacketScan scanPackets(AVFormatContext* input, bool measure)
{
    PacketScan scan;
    lumenta::PacketPtr packet = lumenta::makePacket();
    for (int i = 0; (measure || i < 16) && av_read_frame(input, packet.get()) >= 0; ++i) {
        size_t size = 0;
        if (av_packet_get_side_data(packet.get(), AV_PKT_DATA_ENCRYPTION_INFO, &size)) {
            scan.encrypted = true;
        }
        const AVStream* stream = input->streams[packet->stream_index];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) {
            scan.anyMedia = true;
            const int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (measure && at != AV_NOPTS_VALUE) {
                const LMMediaTime end =
                    av_rescale_q(at + qMax<int64_t>(packet->duration, 0), stream->time_base,
                                 AVRational{1, AV_TIME_BASE});
                scan.end = scan.end == AV_NOPTS_VALUE ? end : qMax(scan.end, end);
                scan.streamEnds[stream->index] = qMax(scan.streamEnds.value(stream->index), end);
            }
        }
        av_packet_unref(packet.get());
    }
    return scan;
}

QString dvdRoot(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        if (info.fileName().compare(QLatin1String("VIDEO_TS"), Qt::CaseInsensitive) == 0 &&
            QFile::exists(info.filePath() + QLatin1String("/VIDEO_TS.IFO"))) {
            return info.filePath();
        }
        const QString sub = info.filePath() + QLatin1String("/VIDEO_TS");
        if (QFile::exists(sub + QLatin1String("/VIDEO_TS.IFO"))) {
            return sub;
        }
    }
    return {};
}

}  // namespace

LMMediaSource::LMMediaSource(QString path) : m_path(std::move(path))
{
    const QFileInfo info(m_path);
    if (!dvdRoot(m_path).isEmpty()) {
        m_isDVD = true;
    } else if (info.isFile() &&
               info.suffix().compare(QLatin1String("iso"), Qt::CaseInsensitive) == 0) {
        const QByteArray name = QFile::encodeName(m_path);
        if (dvd_reader_t* reader = DVDOpen(name.constData())) {
            if (ifo_handle_t* vmg = ifoOpen(reader, 0)) {
                m_isDVD = true;
                ifoClose(vmg);
            }
            DVDClose(reader);
        }
    }
}

LMMediaSource::Ptr LMMediaSource::mediaWithPath(const QString& path)
{
    return Ptr(new LMMediaSource(path));
}

bool LMMediaSource::isDRM()
{
    createMedias();
    return m_drm;
}

QList<LMMedia::Ptr> LMMediaSource::createMedias()
{
    QList<LMMedia::Ptr> medias;
    for (const auto& weak : m_medias) {
        if (auto media = weak.lock()) {
            medias << media;
        }
    }
    if (m_probed && medias.size() == m_medias.size()) {
        return medias;
    }
    m_probed = true;
    m_error.clear();
    medias = m_isDVD ? probeDVD() : probeFile(m_path, QString());
    if (medias.isEmpty() && m_error.isEmpty()) {
        m_error = QStringLiteral("the file cannot be read as audio or video");
    }
    m_medias.clear();
    for (const auto& media : medias) {
        m_medias << media;
    }
    return medias;
}

QList<LMMedia::Ptr> LMMediaSource::probeFile(const QString& url, const QString& aspect)
{
    if (!url.startsWith(QLatin1String("concat:")) && !QFileInfo(url).isFile()) {
        m_error = url.contains(QChar::ReplacementCharacter)
                      ? QStringLiteral("the file name is not valid UTF-8; rename the file")
                      : QStringLiteral("there is no file at this path");
        qWarning().noquote() << "Lumenta:" << m_error << ":" << url;
        return {};
    }
    lumenta::FormatInputPtr input = lumenta::openInput(url);
    if (!input) {
        return {};
    }
    QList<LMStreamInfo> streams;
    bool any = false;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        LMStreamInfo info = describe(stream);
        if (isEncrypted(stream)) {
            m_drm = true;
        }
        if (info.kind == LMStreamInfo::Kind::Video || info.kind == LMStreamInfo::Kind::Audio) {
            any = true;
        }
        streams << info;
    }
    if (!any) {
        m_error = QStringLiteral("the file holds no audio or video stream");
        qWarning().noquote() << "Lumenta:" << m_error << "in" << url;
        return {};
    }
    // A length guessed from the bit rate (an MP3 without a VBR header, a file
    // cut short) can be far off: it is measured once from the packets.
    // An MP3's own header (when it has one) only claims a length: a file cut
    // short keeps the claim.
    const bool estimated = input->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE ||
                           qstrcmp(input->iformat->name, "mp3") == 0;
    const PacketScan scan = scanPackets(input.get(), estimated);
    if (scan.encrypted) {
        m_drm = true;
    }
    if (!scan.anyMedia) {
        m_error = QStringLiteral("the file holds no audio or video data");
        qWarning().noquote() << "Lumenta:" << m_error << "in" << url;
        return {};
    }
    const LMMediaTime start = input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
    LMMediaTime duration = input->duration == AV_NOPTS_VALUE ? 0 : input->duration;
    if (estimated && scan.end != AV_NOPTS_VALUE) {
        duration = qMax<LMMediaTime>(scan.end - start, 0);
        for (LMStreamInfo& s : streams) {
            if (scan.streamEnds.contains(s.index)) {
                s.duration = qMax<LMMediaTime>(scan.streamEnds.value(s.index) - start, 0);
            }
        }
    }
    if (duration <= 0) {
        for (const LMStreamInfo& s : streams) {
            duration = qMax(duration, s.duration);
        }
    }
    auto media = std::make_shared<LMMedia>(shared_from_this(), url);
    media->setProbe(streams, duration, start, QString::fromUtf8(input->iformat->name));
    media->setDisplayAspectRatio(aspect);
    return {media};
}

QList<LMMedia::Ptr> LMMediaSource::probeDVD()
{
    const QString root = dvdRoot(m_path);
    if (root.isEmpty()) {
        qWarning().noquote() << "Lumenta: DVD images are not decoded, open the DVD folder:"
                             << m_path;
        return {};
    }
    const QByteArray name = QFile::encodeName(m_path);
    dvd_reader_t* reader = DVDOpen(name.constData());
    if (!reader) {
        return {};
    }
    QList<LMMedia::Ptr> medias;
    ifo_handle_t* vmg = ifoOpen(reader, 0);
    const int titleSets = vmg ? vmg->vmgi_mat->vmg_nr_of_title_sets : 0;
    const QDir dir(root);
    for (int vts = 1; vts <= titleSets; ++vts) {
        QString aspect = QStringLiteral("4:3");
        if (ifo_handle_t* ifo = ifoOpen(reader, vts)) {
            if (ifo->vtsi_mat && ifo->vtsi_mat->vts_video_attr.display_aspect_ratio == 3) {
                aspect = QStringLiteral("16:9");
            }
            ifoClose(ifo);
        }
        QStringList parts;
        for (int part = 1; part <= 9; ++part) {
            const QString file = dir.filePath(
                QStringLiteral("VTS_%1_%2.VOB").arg(vts, 2, 10, QLatin1Char('0')).arg(part));
            if (!QFile::exists(file)) {
                break;
            }
            parts << file;
        }
        if (parts.isEmpty()) {
            continue;
        }
        const QString url =
            parts.size() == 1 ? parts.first() : QStringLiteral("concat:") + parts.join('|');
        medias << probeFile(url, aspect);
    }
    if (vmg) {
        ifoClose(vmg);
    }
    DVDClose(reader);
    return medias;
}
