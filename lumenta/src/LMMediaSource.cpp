#include "lumenta/LMMediaSource.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FFmpeg.h"
#include "lumenta/LMFunctions.h"

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
}

namespace {

LMMediaTime toMediaTime(int64_t value, AVRational timeBase)
{
    if (value == AV_NOPTS_VALUE) {
        return 0;
    }
    return av_rescale_q(value, timeBase, AVRational{1, AV_TIME_BASE});
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

// Common encryption marks its packets; a few are enough to tell.
bool hasEncryptedPackets(AVFormatContext* input)
{
    lumenta::PacketPtr packet = lumenta::makePacket();
    for (int i = 0; i < 16 && av_read_frame(input, packet.get()) >= 0; ++i) {
        size_t size = 0;
        const bool encrypted =
            av_packet_get_side_data(packet.get(), AV_PKT_DATA_ENCRYPTION_INFO, &size) != nullptr;
        av_packet_unref(packet.get());
        if (encrypted) {
            return true;
        }
    }
    return false;
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
    medias = m_isDVD ? probeDVD() : probeFile(m_path, QString());
    m_medias.clear();
    for (const auto& media : medias) {
        m_medias << media;
    }
    return medias;
}

QList<LMMedia::Ptr> LMMediaSource::probeFile(const QString& url, const QString& aspect)
{
    if (!url.startsWith(QLatin1String("concat:")) && !QFileInfo(url).isFile()) {
        qWarning().noquote() << "Lumenta: no file at" << url;
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
        qWarning().noquote() << "Lumenta: no audio or video stream in" << url;
        return {};
    }
    if (!m_drm && hasEncryptedPackets(input.get())) {
        m_drm = true;
    }
    LMMediaTime duration = input->duration == AV_NOPTS_VALUE ? 0 : input->duration;
    if (duration <= 0) {
        for (const LMStreamInfo& s : streams) {
            duration = qMax(duration, s.duration);
        }
    }
    const LMMediaTime start = input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
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
