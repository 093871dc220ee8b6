#pragma once
// One title of the disc as the application builds it for preview and
// production: its chapters in play order and whether it is the disc's warning
// clip. Corvane reads it through its DVDTitleVideo protocol; the class keeps
// that name inside the application's own namespace.
//
// vcmovies() is what the preview player plays and the encoder writes for the
// title: the chapters' pieces one after another, where a piece that simply
// continues the one before it in the same file (no edits of its own, no gap)
// is joined onto it, so a file cut by chapter markers still plays and encodes
// as one run. The chapters' own media items are never changed.
//
// Made empty and filled by the caller; not archived.

#include <QList>
#include <memory>

#include "corvane/DVDTitleVideo.h"
#include "lumenta/LMMediaTime.h"
#include "media/DVDChapterVideo.h"
#include "media/VCMovie.h"

namespace brisane {

class DVDTitleVideo : public ::DVDTitleVideo {
public:
    using Ptr = std::shared_ptr<DVDTitleVideo>;
    using ChapterList = QList<std::shared_ptr<::DVDChapterVideo>>;

    static Ptr create() { return std::make_shared<DVDTitleVideo>(); }

    // --- DVDTitleVideo ---
    bool isWarningVideo() const override { return m_isWarningVideo; }
    ChapterList chapters() const override { return m_chapters; }
    // Seconds: the sum of the chapters' lengths; 0 without chapters.
    double duration() const override;

    void setIsWarningVideo(bool on) { m_isWarningVideo = on; }
    void setChapters(const ChapterList& chapters) { m_chapters = chapters; }

    // Where every chapter after the first starts on the title's timeline
    // (media time): the sum of the lengths of the chapters before it.
    QList<LMMediaTime> chapterStartTimes() const;

    // vcmoviesForChapters(chapters()).
    QList<VCMovie::Ptr> vcmovies() const;

    // The pieces of the chapters (chapters of other kinds give none), in
    // order, each a new item; adjacent pieces that canJoinVideo are joined.
    static QList<VCMovie::Ptr> vcmoviesForChapters(const ChapterList& chapters);
    // Whether `piece` continues `previous` (null: never): both unedited pieces
    // of one media file with the same edits, `piece` without fades or
    // watermark, starting within 0.01 s of where `previous` stops.
    static bool canJoinVideo(VCMovie& piece, const VCMovie* previous);

private:
    ChapterList m_chapters;
    bool m_isWarningVideo = false;
};

}  // namespace brisane
