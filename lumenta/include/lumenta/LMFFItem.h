#pragma once
// One item of a movie's direct path: a decoded video frame or a compressed
// packet, handed straight to LMFFMovieFileOutput::writeImage() or
// writeAudioPacket() without composing a picture.

#include <QtGlobal>
#include <memory>

#include "lumenta/LMMediaTime.h"

class Q_DECL_EXPORT LMFFItem {
public:
    struct Data;  // FFmpeg side, private to Lumenta
    explicit LMFFItem(std::unique_ptr<Data> data);
    ~LMFFItem();
    LMFFItem(const LMFFItem&) = delete;
    LMFFItem& operator=(const LMFFItem&) = delete;

    bool isPacket() const;
    bool isVideo() const;
    // A packet that starts a group of pictures (a decoded frame is always key).
    bool isKeyPacket() const;
    // The item's time on its movie's timeline.
    LMMediaTime time() const;
    // Output time = movie time - offset.
    void set_movie_real_start_time(LMMediaTime offset);
    LMMediaTime movieRealStartTime() const;

    Data& data() const { return *m_data; }

private:
    std::unique_ptr<Data> m_data;
};
