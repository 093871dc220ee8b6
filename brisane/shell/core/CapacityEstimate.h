#pragma once
// The disc size estimate behind the capacity bar, the blank-disc test and the
// free-space test: the seconds the project plays (its clips, and unless the
// disc has no menus every menu page's loop), turned into bytes at the disc's
// bitrate with the overhead of the multiplexed stream.
//
// Plain functions over the project model; any thread that owns the model.
// Durations that are not finite numbers, and negative ones, count as 0, so
// the estimate is always a number; a figure too large for 64 bits saturates.

#include <QString>
#include <QtGlobal>

class DataResource;
class DVDResource;
class MediaData;

class CapacityEstimate {
public:
    // The bitrate (kbit/s) the estimate never goes below.
    static constexpr qint64 minimumBitrate = 500;
    // D5 and D9 discs, in bytes.
    static constexpr qint64 singleLayerCapacity = 4'700'000'000;
    static constexpr qint64 dualLayerCapacity = 8'300'000'000;

    // What the capacity bar shows.
    struct Result {
        qint64 totalUsedSpace = 0;  // bytes
        QString showString;         // "Need Spend DVD Space: %lld MB"
        float capacityValue = 0;    // used / capacity; above 1 when it does not fit
    };

    CapacityEstimate() = delete;

    // The seconds a video clip plays: the sum of its kept pieces, no longer
    // than its section (compared in single precision, as the result is); a
    // merged clip sums its members, each capped by its own section.
    static double totalMediaDataTime(const MediaData& clip);

    // The seconds the whole project plays: every clip of every title of every
    // list page (a slideshow by its own duration), plus each menu page's loop
    // unless the disc has no menus.
    static double totalSeconds(const DataResource* media, const DVDResource& disc);
    // Bytes for that many seconds at the bitrate (kbit/s; at least 500).
    static qint64 usedSpaceForSeconds(double seconds, qint64 bitrate);
    // The disc size for the disc-size choice: index 0 is D5, any other D9.
    static qint64 capacityForDiscModel(int index);
    // The bar's text and fraction for a used size on a disc of `capacity` bytes.
    static Result resultForUsedSpace(qint64 totalUsedSpace, qint64 capacity);

    // All of it: the project's bytes on the chosen disc.
    static Result changeCapacityValue(const DataResource* media, const DVDResource& disc,
                                      int discModelIndex);
};
