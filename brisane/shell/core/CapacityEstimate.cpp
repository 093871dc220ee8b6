#include "shell/core/CapacityEstimate.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "lumenta/LMMediaTime.h"
#include "media/MovieTrimItem.h"
#include "media/VCMovie.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "platform/Numeric.h"

namespace {

// A duration as it may be added up: not finite or negative counts as 0.
double countable(double seconds)
{
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
}

// The section's length in seconds, computed without overflowing.
double sectionSeconds(const MediaSectionItem& section)
{
    qint64 span = 0;
    if (__builtin_sub_overflow(section.endTimeInMedia(), section.startTimeInMedia(), &span)) {
        return lm_ff_time_to_double(section.endTimeInMedia()) -
               lm_ff_time_to_double(section.startTimeInMedia());
    }
    return lm_ff_time_to_double(span);
}

// One clip's pieces, capped by its section, in single precision.
float pieceTime(const MediaData& clip)
{
    double sum = 0;
    if (const VCMovie::Ptr movie = clip.vcmovie()) {
        for (const auto& piece : movie->validTrimArray()) {
            if (piece) {
                sum += countable(piece->stop() - piece->start());
            }
        }
    }
    float seconds = static_cast<float>(sum);
    if (const auto section = clip.sectionItem()) {
        seconds = std::min(seconds, static_cast<float>(sectionSeconds(*section)));
    }
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0f;
}

}  // namespace

double CapacityEstimate::totalMediaDataTime(const MediaData& clip)
{
    if (clip.isSubMedia() || clip.subMediaArray().size() < 2) {
        return pieceTime(clip);
    }
    double sum = 0;
    for (const auto& member : clip.subMediaArray()) {
        if (member) {
            sum += pieceTime(*member);
        }
    }
    return sum;
}

double CapacityEstimate::totalSeconds(const DataResource* media, const DVDResource& disc)
{
    double seconds = 0;
    if (media) {
        for (const auto& page : media->dvdPageArray()) {
            for (const auto& title : page ? page->titleDataArray() : DVDPageData::TitleList()) {
                for (const auto& clip :
                     title ? title->mediaDataArray() : DVDTitleData::ClipList()) {
                    if (clip) {
                        seconds += countable(clip->isImageData() ? clip->imageDataDuration()
                                                                 : totalMediaDataTime(*clip));
                    }
                }
            }
        }
    }
    if (!disc.useNoMenu()) {
        for (const auto& page : disc.pageArray()) {
            if (page) {
                seconds += countable(page->menuDuration());
            }
        }
    }
    return seconds;
}

qint64 CapacityEstimate::usedSpaceForSeconds(double seconds, qint64 bitrate)
{
    const auto rate = static_cast<qint32>(
        std::clamp<qint64>(bitrate, minimumBitrate, std::numeric_limits<qint32>::max()));
    // NaN and negative count as nothing; too many seconds saturate below.
    const double played = seconds > 0 ? seconds : 0.0;
    const double bytes =
        played * rate / 1000 / 8 * 1048576 * 1.024 * (1 + 0.08 * (8000.0 / rate - 1));
    return saturatingCast<qint64>(bytes);
}

qint64 CapacityEstimate::capacityForDiscModel(int index)
{
    return index == 0 ? singleLayerCapacity : dualLayerCapacity;
}

CapacityEstimate::Result CapacityEstimate::resultForUsedSpace(qint64 totalUsedSpace,
                                                              qint64 capacity)
{
    Result result;
    result.totalUsedSpace = totalUsedSpace;
    result.showString = QString("Need Spend DVD Space: %1 MB").arg(totalUsedSpace / 1000000);
    result.capacityValue = capacity > 0 ? static_cast<float>(static_cast<double>(totalUsedSpace) /
                                                             static_cast<double>(capacity))
                                        : 0.0f;
    return result;
}

CapacityEstimate::Result CapacityEstimate::changeCapacityValue(const DataResource* media,
                                                               const DVDResource& disc,
                                                               int discModelIndex)
{
    const qint64 used = usedSpaceForSeconds(totalSeconds(media, disc), disc.dvdBitrate());
    return resultForUsedSpace(used, capacityForDiscModel(discModelIndex));
}
