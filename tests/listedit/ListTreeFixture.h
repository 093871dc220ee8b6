#pragma once
// A small title list built in memory, without media: page P0 with titles T0
// (clips A, B and the merged clip G of sub-clips S0, S1, S2) and T1 (clip C),
// and page P1 with title T2 (clip D). Links go both ways, as a reload leaves
// them.

#include <memory>

#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"

namespace listtest {

struct ListTree {
    std::shared_ptr<DataResource> project = std::make_shared<DataResource>();
    std::shared_ptr<DVDPageData> P0, P1;
    std::shared_ptr<DVDTitleData> T0, T1, T2;
    MediaData::Ptr A, B, G, S0, S1, S2, C, D;

    ListTree()
    {
        P0 = page();
        P1 = page();
        T0 = title(P0);
        T1 = title(P0);
        T2 = title(P1);
        A = clip(T0);
        B = clip(T0);
        G = clip(T0);
        G->setHasSubMedia(true);
        S0 = member(G);
        S1 = member(G);
        S2 = member(G);
        C = clip(T1);
        D = clip(T2);
    }

    std::shared_ptr<DVDPageData> page()
    {
        auto p = std::make_shared<DVDPageData>();
        project->addDvdPageToArray(p);
        return p;
    }
    static std::shared_ptr<DVDTitleData> title(const std::shared_ptr<DVDPageData>& p)
    {
        auto t = std::make_shared<DVDTitleData>();
        t->setSuperPage(p);
        p->titleDataArray().append(t);
        return t;
    }
    static MediaData::Ptr clip(const std::shared_ptr<DVDTitleData>& t)
    {
        auto m = std::make_shared<MediaData>();
        m->flushSuperTitleData(t);
        t->mediaDataArray().append(m);
        return m;
    }
    static MediaData::Ptr member(const MediaData::Ptr& group)
    {
        auto m = std::make_shared<MediaData>();
        m->flushSuperMediaData(group);
        group->subMediaArray().append(m);
        return m;
    }
};

}  // namespace listtest
