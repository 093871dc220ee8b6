#pragma once
// The FFmpeg side of an LMFFItem: a decoded frame whose pts is already in
// movie time (microseconds), or a packet with its stream's time base and the
// container start that movie time counts from.

#include "FFmpeg.h"
#include "lumenta/LMFFItem.h"

struct LMFFItem::Data {
    lumenta::FramePtr frame;
    lumenta::PacketPtr packet;
    bool video = true;
    AVRational timeBase{1, AV_TIME_BASE};
    LMMediaTime containerStart = 0;  // packets: movie time = pts - containerStart
    LMMediaTime time = 0;
    LMMediaTime realStart = 0;
    LMMediaTime frameDuration = 0;  // decoded frames: the stream's frame length
};
