#pragma once
// Feeds the titles a rendering left in pieces (MakeDVDVideo::titleStreams)
// into their named pipes while dvdauthor reads them: one thread per title
// joins its pieces into its pipe (LMDVDStreamJoin), each piece giving its
// room back as it is read, and removes what is left of them at the end. So
// the title never lies on disk beside its pieces, and its join runs while
// dvdauthor writes the VOBs.
//
// Construction starts every feed; each waits for its reader to open the pipe.
// finish() is called once the reader has ended, whatever its end: it stops
// every feed still running at its next packet (a feed still waiting for a
// reader is let go by opening the pipe's other end, which is read and
// dropped until the feed has ended) and waits for all of them. It answers
// succeeded when every title was fed whole, else the first failure. The
// destructor finishes when finish() was not called. Production thread.

#include <QList>
#include <QString>
#include <memory>
#include <vector>

#include "production/MakeDVDVideo.h"
#include "production/ProductionResult.h"

class TitleStreamFeed {
public:
    explicit TitleStreamFeed(const QList<MakeDVDVideo::TitleStream>& streams);
    ~TitleStreamFeed();
    TitleStreamFeed(const TitleStreamFeed&) = delete;
    TitleStreamFeed& operator=(const TitleStreamFeed&) = delete;

    ProductionResult finish();

private:
    struct Feed;
    static void feed(Feed& feed);
    static void letGo(Feed& feed);

    std::vector<std::unique_ptr<Feed>> m_feeds;
    bool m_finished = false;
};
