#pragma once
// Free functions of the Lumenta interface: codec and channel-layout lookups
// and the writer's default output format.

#include <QtGlobal>
#include <cstdint>

#include "lumenta/LMFormats.h"

// The channel mask for a layout name ("mono", "stereo", "5.1", ...); 0 when
// the name is unknown.
Q_DECL_EXPORT int64_t lm_get_channel_layout_by_name(const char* name);

// The number of channels of a channel mask (0 for 0).
Q_DECL_EXPORT int lm_get_channel_layout_nb_channels(int64_t layout);

// The codec id for a name: "mpeg2" and "mpeg2video" give MPEG-2 video, "ac3"
// AC-3, "flv" Sorenson/FLV1; any FFmpeg codec or encoder name works too.
// 0 (no codec) when the name is unknown.
Q_DECL_EXPORT int32_t lm_get_codec_id_by_name(const char* name);

// The short codec name for an id, as the stream-copy table spells it
// ("h264", "mpeg4", "mpeg2video", "aac", "ac3", "mp3", "flv", ...); "none"
// for 0 and unknown ids.
Q_DECL_EXPORT const char* lm_get_codec_name_by_id(int32_t codecId);

// Fills the record with the writer's defaults: no video, stereo AAC at
// 44100 Hz and 128 kbit/s. Callers set what they need and keep the rest.
Q_DECL_EXPORT void lm_get_default_movie_file_ouput_format(LMFFMovieFileOutputFormat* format);

// The sample format audio passes in between movies and the writer:
// interleaved 32-bit float (AV_SAMPLE_FMT_FLT).
Q_DECL_EXPORT int32_t lm_get_default_sample_fmt();

// How many exports (writers fed by decoding movies) run side by side; 1 by
// default. Each export then sizes its decoding, editing and encoding threads
// to its share of the cores the program counts (ThreadBudget: the machine's,
// eight at most), so that all of them together run
// about one busy thread per core. Takes effect for exports started afterwards.
Q_DECL_EXPORT void lm_set_concurrent_exports(int exports);

// Exports a job runs side by side on its own (the pieces of one long title),
// added while they run and taken off after: the shares above count the more
// of these and the number set, so that pieces started without a caller that
// set it still size their threads for one another.
Q_DECL_EXPORT void lm_add_running_exports(int exports);

// The threads each stage of one export may run (its decoder, its edits, its
// encoder's slices): half its share of the cores, since the stages run side
// by side; at least 1 and at most 8.
Q_DECL_EXPORT int lm_get_export_threads();

// The frame threads of one export's decoder: its whole share of the cores,
// at least 1 and at most 8. Decoding a large source is the slowest stage of
// an export, and a frame-threaded decoder's threads wait on one another for
// much of their time, so it takes the share the other stages only half use.
Q_DECL_EXPORT int lm_get_export_decoder_threads();

// Bytes the video readers of this process (decoding, seeking, finding key
// frames) have read from their files so far: the work a seek costs, for
// tests and benchmarks. Thread-safe.
Q_DECL_EXPORT int64_t lm_video_bytes_read();
