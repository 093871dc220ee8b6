#pragma once
// The file writer: encodes composed frames, decoded frames and float audio,
// or copies compressed streams, into one output file.
//
// Order of use: setPath, setMovieFormat, openVideo or copyVideoMedia,
// openAudio or copyAudioMedia, startOutput, then the write calls, then
// stopOutput. The container follows the path's extension. ".dvd" writes a
// DVD-ready MPEG program stream (2048-byte packs, 10.08 Mbit/s): MPEG-2 video
// in yuv420p at 720x576 / 25 or 720x480 / 30000/1001 with the DVD sample
// aspect for 4:3 or 16:9, groups of dvdGroupFrames() frames, peak rate
// 9 Mbit/s within the DVD buffer; AC-3 stereo at 48 kHz and 448 kbit/s. Its
// audio never runs past the end of its video, so that an authored cell ending
// at the stream's length keeps the last video unit. ".dvdpart" encodes the
// same way into a NUT file, a piece that LMDVDStreamJoin joins into a ".dvd".
//
// Video frames are brought to the encoder's shape (scaled, colours converted)
// on a thread of the writer's own and encoded on another, so a caller that
// composes or decodes frames runs in parallel with both: a write call only
// hands its frame over (a context's pixels copied, a decoded frame shared).
// Write calls may come from different threads but not at the same time as
// stopOutput().
// A failed write is logged; stopOutput() then removes the file and answers
// false. A file whose output never started is removed as well. Threads and
// memory that cannot be had fail the file the same way (failureReason() says
// which), never the program.

#include <QImage>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "lumenta/LMDrawContext.h"
#include "lumenta/LMFFItem.h"
#include "lumenta/LMFormats.h"
#include "lumenta/LMMedia.h"
#include "lumenta/LMMediaTime.h"
#include "lumenta/LMPicture.h"

class Q_DECL_EXPORT LMFFMovieFileOutput {
public:
    LMFFMovieFileOutput();
    ~LMFFMovieFileOutput();
    LMFFMovieFileOutput(const LMFFMovieFileOutput&) = delete;
    LMFFMovieFileOutput& operator=(const LMFFMovieFileOutput&) = delete;

    // Frames of one group of pictures in a DVD stream at the frame rate
    // (a scene change may start a group early).
    static int dvdGroupFrames(int framerate, int frameTime);

    void setPath(const QString& path);
    QString path() const;
    void setMovieFormat(const LMFFMovieFileOutputFormat& format);
    LMFFMovieFileOutputFormat movieFormat() const;
    // Before openVideo: a DVD stream that carries fields (false by default).
    // Its video is coded interlaced, and an interlaced frame handed to
    // writeImage() keeps its two fields apart: each is scaled on its own and
    // the frame keeps its field order. Frames of another rate than the
    // output's (50 fields a second onto NTSC, 60000/1001 onto PAL) are
    // brought to its field rate instead: each output field shows the
    // source's field nearest its time, so that the motion only goes forward.
    // A frame of fields repeated (a gap, a held end) shows its field shown
    // last in both. Composed frames stay whole pictures.
    void setInterlaced(bool interlaced);
    bool isInterlaced() const;
    // Output times at which a new group of pictures starts (each on the frame
    // nearest it) whose first picture shown is that frame, so that an
    // authored chapter opens on the picture of its own time. Set after
    // setMovieFormat() and before openVideo().
    void setKeyFrameTimes(const QList<LMMediaTime>& times);

    // Opens a video encoder for the format; isVideoOpen() tells the result.
    void openVideo();
    // Copies the media's video stream unchanged instead of encoding.
    bool copyVideoMedia(const LMMedia::Ptr& media);
    bool isVideoOpen() const;
    void openAudio();
    bool copyAudioMedia(const LMMedia::Ptr& media);
    bool isAudioOpen() const;

    // Creates the file and writes its header. False when it cannot be written.
    bool startOutput();

    // The format the encoded audio has, and the one writeAudioData() takes
    // (interleaved float at the output rate and layout unless set).
    LMFFAudioFormat outputAudioFormat() const;
    LMFFAudioFormat audioInputFormat() const;
    void setAudioInputFormat(const LMFFAudioFormat& format);

    // A new context of one output frame, owned by the caller.
    std::shared_ptr<LMDrawContext> createCGContext() const;
    // Clears the context to black and draws the picture stretched over it.
    void drawImage(const QImage& image, LMDrawContext& context) const;
    // Encodes the context as the next frame (constant frame rate). The
    // context may be drawn into again as soon as the call returns.
    void writeCGContext(const LMDrawContext& context);
    // Direct path: a decoded frame is scaled to the output and placed on the
    // constant-rate timeline by its output time (repeating or dropping
    // frames; the first places of a new piece, told by its
    // movie_real_start_time, show its own frames nearest them); a packet is
    // copied with its times moved to the output.
    void writeImage(LMFFItem* item);
    // Direct path: the last decoded frame stands on the timeline up to the
    // place nearest the output time given (a piece whose pictures end before
    // its length, or whose last places its frames left empty).
    void holdImage(LMMediaTime outputTime);
    // Output time reached by the video: frames written x frameTime / framerate.
    LMMediaTime video_output_time() const;
    // 1024 sample frames of interleaved float in audioInputFormat().
    void writeAudioData(const uint8_t* buffer);
    // The same with an explicit count of sample frames.
    void writeAudioSamples(const uint8_t* buffer, int frames);
    void writeAudioPacket(LMFFItem* item);

    // Flushes the encoders, writes the trailer and closes the file. True when
    // the file was written completely; false (file removed) otherwise.
    bool stopOutput();
    // What failed first (a thread, memory, the encoder, the file), or empty.
    QString failureReason() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
