#include "ProbeCache.h"

#include <sys/stat.h>
#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

namespace lumenta {

namespace {

struct CodecParametersDeleter {
    void operator()(AVCodecParameters* p) const { avcodec_parameters_free(&p); }
};
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, CodecParametersDeleter>;

struct StreamRecord {
    CodecParametersPtr parameters;
    AVRational averageRate{};
    AVRational realRate{};
    AVRational sampleAspect{};
    int64_t start = AV_NOPTS_VALUE;
    int64_t duration = AV_NOPTS_VALUE;
};

struct Record {
    QString url;
    QString declared;
    std::vector<StreamRecord> streams;
    int64_t start = AV_NOPTS_VALUE;
    int64_t duration = AV_NOPTS_VALUE;
    int64_t bitRate = 0;
    AVDurationEstimationMethod durationMethod = AVFMT_DURATION_FROM_PTS;
};

}  // namespace

struct ProbeCache::Impl {
    mutable std::mutex mutex;
    std::deque<Record> records;  // the newest last
};

QString ProbeCache::fileIdentity(const QString& url)
{
    struct stat status {};
    if (::stat(url.toUtf8().constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(status.st_dev)
        .arg(status.st_ino)
        .arg(status.st_size)
        .arg(status.st_mtim.tv_sec)
        .arg(status.st_mtim.tv_nsec, 9, 10, QLatin1Char('0'));
}

ProbeCache::ProbeCache() : d(std::make_unique<Impl>()) {}

ProbeCache::~ProbeCache() = default;

ProbeCache& ProbeCache::shared()
{
    static ProbeCache cache;
    return cache;
}

QString ProbeCache::declaration(const QString& url, const AVFormatContext* opened)
{
    if (!opened || !opened->iformat || (opened->ctx_flags & AVFMTCTX_NOHEADER) ||
        opened->nb_streams == 0) {
        return {};
    }
    const QString file = fileIdentity(url);
    if (file.isEmpty()) {
        return {};
    }
    QString declared = file + QLatin1Char(';') + QString::fromLatin1(opened->iformat->name);
    for (unsigned i = 0; i < opened->nb_streams; ++i) {
        const AVCodecParameters* parameters = opened->streams[i]->codecpar;
        declared += QStringLiteral(";%1:%2").arg(parameters->codec_type).arg(parameters->codec_id);
    }
    return declared;
}

void ProbeCache::remember(const QString& url, const QString& declared,
                          const AVFormatContext* probed)
{
    // Streams found or recognised by probing would not be there on opening,
    // and a file that changed while it was probed may not be as found.
    if (declared.isEmpty() || declaration(url, probed) != declared) {
        return;
    }
    Record record{url,
                  declared,
                  {},
                  probed->start_time,
                  probed->duration,
                  probed->bit_rate,
                  probed->duration_estimation_method};
    for (unsigned i = 0; i < probed->nb_streams; ++i) {
        const AVStream* stream = probed->streams[i];
        CodecParametersPtr parameters(avcodec_parameters_alloc());
        if (!parameters || avcodec_parameters_copy(parameters.get(), stream->codecpar) < 0) {
            return;
        }
        record.streams.push_back({std::move(parameters), stream->avg_frame_rate,
                                  stream->r_frame_rate, stream->sample_aspect_ratio,
                                  stream->start_time, stream->duration});
    }
    std::lock_guard lock(d->mutex);
    std::erase_if(d->records, [&url](const Record& old) { return old.url == url; });
    d->records.push_back(std::move(record));
    while (d->records.size() > static_cast<size_t>(capacity())) {
        d->records.pop_front();
    }
}

bool ProbeCache::restore(const QString& url, AVFormatContext* opened) const
{
    const QString declared = declaration(url, opened);
    if (declared.isEmpty()) {
        return false;
    }
    std::lock_guard lock(d->mutex);
    const auto found = std::find_if(d->records.begin(), d->records.end(), [&](const Record& r) {
        return r.url == url && r.declared == declared;
    });
    if (found == d->records.end() || found->streams.size() != opened->nb_streams) {
        return false;
    }
    // Copied aside first, so that a copy that fails leaves the streams alone.
    std::vector<CodecParametersPtr> copies;
    for (const StreamRecord& stream : found->streams) {
        CodecParametersPtr copy(avcodec_parameters_alloc());
        if (!copy || avcodec_parameters_copy(copy.get(), stream.parameters.get()) < 0) {
            return false;
        }
        copies.push_back(std::move(copy));
    }
    for (unsigned i = 0; i < opened->nb_streams; ++i) {
        AVStream* stream = opened->streams[i];
        const StreamRecord& recorded = found->streams[i];
        // The stream owns whichever parameters it holds, and frees them.
        AVCodecParameters* declaredParameters = stream->codecpar;
        stream->codecpar = copies[i].release();
        avcodec_parameters_free(&declaredParameters);
        stream->avg_frame_rate = recorded.averageRate;
        stream->r_frame_rate = recorded.realRate;
        stream->sample_aspect_ratio = recorded.sampleAspect;
        stream->start_time = recorded.start;
        stream->duration = recorded.duration;
    }
    opened->start_time = found->start;
    opened->duration = found->duration;
    opened->bit_rate = found->bitRate;
    opened->duration_estimation_method = found->durationMethod;
    return true;
}

int ProbeCache::size() const
{
    std::lock_guard lock(d->mutex);
    return static_cast<int>(d->records.size());
}

}  // namespace lumenta
