#pragma once
// What a probe tells about one stream of a media container.

#include <QString>
#include <cstdint>

#include "lumenta/LMMediaTime.h"

struct LMStreamInfo {
    enum class Kind { Video, Audio, Subtitle, Other };
    // The field shown first of an interlaced video stream.
    enum class FieldOrder { Progressive, TopFirst, BottomFirst };

    Kind kind = Kind::Other;
    int index = -1;       // stream index inside its container
    int32_t codecId = 0;  // lm_get_codec_name_by_id() names it
    QString codecName;
    LMMediaTime duration = 0;
    QString language;  // ISO 639 tag, or empty
    // Video. Width and height are those of the picture as it is shown: a
    // stream whose display matrix turns it a quarter reports them swapped.
    int width = 0;
    int height = 0;
    // Counter-clockwise degrees (0, 90, 180 or 270) that turn a decoded frame
    // upright, from the stream's display matrix (a phone recording held
    // upright). The edit chain turns every frame by it before any edit.
    int rotation = 0;
    double frameRate = 0.0;
    double sampleAspect = 1.0;  // pixel width / height
    // Progressive also when the container does not tell (DV is always
    // bottom field first).
    FieldOrder fieldOrder = FieldOrder::Progressive;
    // Audio
    int sampleRate = 0;
    int channels = 0;
    int64_t channelLayout = 0;
};
