#pragma once
// What probing found in a file, kept for the readers that open it again.
//
// Probing (avformat_find_stream_info) decodes the first frames of every
// stream: some 40 ms of a processor for 1080p H.264. A title in pieces opens
// its file once for each piece and once for its sound, all at the start of
// the run. A container that declares its streams in its header (MP4, MOV,
// Matroska, AVI) holds the same streams each time it is opened, so what the
// first probe found serves the later openings.
//
// A record is used only for the same file: the same path, size, inode and
// modification time, with the same streams (count, kinds and codecs) as
// opening it declares before any probing. A container whose streams show up
// only in its packets (MPEG transport and program streams) is never
// recorded: it is probed each time. Thread-safe.

extern "C" {
#include <libavformat/avformat.h>
}

#include <QString>
#include <memory>

namespace lumenta {

class ProbeCache {
public:
    ProbeCache();
    ~ProbeCache();
    ProbeCache(const ProbeCache&) = delete;
    ProbeCache& operator=(const ProbeCache&) = delete;

    // The cache of this process.
    static ProbeCache& shared();

    // The streams of `opened` as opening declares them, before probing:
    // what a record is matched against. Empty for a container whose streams
    // show up only in its packets.
    static QString declaredStreams(const AVFormatContext* opened);

    // Records what probing found in `probed`, opened from `url`, whose
    // streams before probing were `declared`. A container that found other
    // streams by probing, or declares none, is not recorded.
    void remember(const QString& url, const QString& declared, const AVFormatContext* probed);

    // Gives `opened` (opened from `url`, not probed) what probing found in
    // the same file before; false when there is no record for it, and then
    // `opened` is left as it was.
    bool restore(const QString& url, AVFormatContext* opened) const;

    // Records held, at most `capacity()`; the oldest goes first.
    int size() const;
    static constexpr int capacity() { return 64; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace lumenta
