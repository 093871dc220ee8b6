#pragma once
// The player of the video edit sheet: one clip on the clip's own timeline,
// from oldMovieTrimStart to oldMovieTrimStop on its source (the clip's range
// when the editor opened it). In preview it plays only the clip's trim
// segments, jumping over the gaps between them and from the last segment back
// to the first; without preview it plays the whole clip and starts again at
// its beginning past its end.
//
// Segment times count from the start of the clip's range; a clip without
// segments previews its whole range as one segment.

#include <memory>

#include "media/MoviePlayer.h"
#include "media/MovieTrimItem.h"

class VideoEditPlayer : public MoviePlayer {
    Q_OBJECT
public:
    explicit VideoEditPlayer(QObject* parent = nullptr);

    // The segment that holds or follows the play position.
    std::shared_ptr<MovieTrimItem> currentTrim() const { return m_currentTrim; }
    void setCurrentTrim(const std::shared_ptr<MovieTrimItem>& trim) { m_currentTrim = trim; }
    LMMediaTime oldMovieTrimStart() const { return m_oldMovieTrimStart; }
    void setOldMovieTrimStart(LMMediaTime t) { m_oldMovieTrimStart = t; }
    LMMediaTime oldMovieTrimStop() const { return m_oldMovieTrimStop; }
    void setOldMovieTrimStop(LMMediaTime t) { m_oldMovieTrimStop = t; }

    // The clip's timeline.
    LMMediaTime currentTime() const override;
    LMMediaTime duration() const override;
    // t on the clip's timeline.
    void seek(LMMediaTime time) override;

    // The source frame before rotation.
    QRectF originVideoRect() const override;

    // The segments played in preview, on the clip's timeline, with their
    // bases.
    QList<std::shared_ptr<MovieTrimItem>> previewTrimArray() const;

protected:
    void updatePlayerPlaySegment() override;
    void playerTimeIsToEnd() override;
    void playerIsAfterPreviewTime() override;
    void playerIsBeforePreviewTime() override;

private:
    std::shared_ptr<MovieTrimItem> m_currentTrim;
    LMMediaTime m_oldMovieTrimStart = 0;
    LMMediaTime m_oldMovieTrimStop = 0;
};
