#pragma once
// The movie's copy of a subtitle file rewritten as an ASS script for the
// renderer. The renderer (FFmpeg's subtitles filter) decodes a file of any
// other format itself and refuses the whole file when its last cue does not
// decode, as a SAMI file's closing blank cue ("&nbsp;") does not; the script
// holds the cues that do decode, with the decoder's own styles, so it draws
// as the file would.
//
// SubRip and ASS files are handed over as they are. The copy's text is
// UTF-8. Any thread.

#include <QString>

class SubtitleAssCopy {
public:
    SubtitleAssCopy() = delete;

    // The file to hand the renderer for the copy at `copy`: `copy` itself
    // for SubRip and ASS, and when no script can be made; else
    // "<copy>.ass", written beside it.
    static QString forRenderer(const QString& copy);
};
