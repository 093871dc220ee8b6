#pragma once
// One chapter of a disc title as the application builds it for preview and
// production: the media items played for it, and the menu elements that lead
// to it. Corvane reads it through its DVDChapterVideo protocol; the class
// keeps that name inside the application's own namespace.
//
// Made empty and filled by the caller (the main window when it builds the
// disc); not archived.

#include <QList>
#include <memory>

#include "corvane/DVDChapterVideo.h"
#include "lumenta/LMMediaTime.h"
#include "media/VCMovie.h"

namespace brisane {

class DVDChapterVideo : public ::DVDChapterVideo {
public:
    using Ptr = std::shared_ptr<DVDChapterVideo>;

    static Ptr create() { return std::make_shared<DVDChapterVideo>(); }

    // --- DVDChapterVideo ---
    QList<std::shared_ptr<DVDMenuElement>> titles() const override { return m_titles; }
    // Seconds: the sum of the pieces' kept lengths.
    double duration() const override;

    void setTitles(const QList<std::shared_ptr<DVDMenuElement>>& titles) { m_titles = titles; }
    // The chapter's pieces in play order (a clip's segment movies).
    const QList<VCMovie::Ptr>& movies() const { return m_movies; }
    void setMovies(const QList<VCMovie::Ptr>& movies) { m_movies = movies; }

    // The sum of every item's trimDuration; 0 for none.
    static LMMediaTime durationForVcMovies(const QList<VCMovie::Ptr>& movies);

private:
    QList<VCMovie::Ptr> m_movies;
    QList<std::shared_ptr<DVDMenuElement>> m_titles;
};

}  // namespace brisane
