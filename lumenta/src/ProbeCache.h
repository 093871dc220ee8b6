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

    // The file behind a path (device, inode, size, modification time), as
    // far as a changed file would change it; empty for anything but a
    // regular file. Links to one file give the same.
    static QString fileIdentity(const QString& url);

    // What `opened`, just opened from `url`, declares before probing: the
    // file (device, inode, size, modification time) and its streams (count,
    // kinds, codecs). A record is matched against it. Empty for anything but
    // a regular file, and for a container whose streams show up only in its
    // packets.
    static QString declaration(const QString& url, const AVFormatContext* opened);

    // Records what probing found in `probed`, opened from `url`, whose
    // declaration before probing was `declared`. Not recorded: an empty
    // declaration, and one that no longer holds after probing (other streams
    // found, or the file changed meanwhile).
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
