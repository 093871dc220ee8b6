#pragma once
// The title list's tree as one line of text, so that a test can state a
// whole tree in one expectation: "P0[T0(A,B,G{S0,S1,S2}),T1(C)] P1[T2(D)]".
// Pages show their names, titles their names (a title made for a placed clip,
// still named "Title _ 0", shows as "new"), clips their names and merged
// clips their sub-clips in braces. A back link that does not point at the
// entry's parent (a title's page, a clip's title, a sub-clip's merged clip,
// the sub-clip flags) shows as "!" after the entry.

#include <QString>
#include <QStringList>

#include "ListTreeFixture.h"

namespace listtest {

inline QString clipText(const MediaData::Ptr& clip, const std::shared_ptr<DVDTitleData>& title,
                        const MediaData::Ptr& group)
{
    QString text = clip->name();
    const bool linked = group ? (clip->isSubMedia() && clip->superMediaData() == group &&
                                 !clip->hasSubMedia() && !clip->superTitleData())
                              : (!clip->isSubMedia() && clip->superTitleData() == title);
    if (!linked) {
        text += QLatin1Char('!');
    }
    if (clip->hasSubMedia()) {
        QStringList subs;
        for (const auto& sub : clip->subMediaArray()) {
            subs << clipText(sub, nullptr, clip);
        }
        text += QLatin1Char('{') + subs.join(QLatin1Char(',')) + QLatin1Char('}');
    } else if (!clip->subMediaArray().isEmpty()) {
        text += QStringLiteral("{unmarked}");
    }
    return text;
}

inline QString treeText(const DataResource& project)
{
    QStringList pages;
    for (const auto& page : project.dvdPageArray()) {
        QStringList titles;
        for (const auto& title : page->titleDataArray()) {
            QString name = title->name() == QStringLiteral("Title _ 0") ? QStringLiteral("new")
                                                                        : title->name();
            if (title->superPage() != page) {
                name += QLatin1Char('!');
            }
            QStringList clips;
            for (const auto& clip : title->mediaDataArray()) {
                clips << clipText(clip, title, nullptr);
            }
            titles << name + QLatin1Char('(') + clips.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        pages << page->name() + QLatin1Char('[') + titles.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    return pages.join(QLatin1Char(' '));
}

// The fixture tree with its entries named as they are called there.
struct NamedListTree : ListTree {
    NamedListTree()
    {
        P0->setName("P0");
        P1->setName("P1");
        T0->setName("T0");
        T1->setName("T1");
        T2->setName("T2");
        const std::pair<MediaData::Ptr, const char*> clips[] = {
            {A, "A"}, {B, "B"}, {G, "G"}, {S0, "S0"}, {S1, "S1"}, {S2, "S2"}, {C, "C"}, {D, "D"}};
        for (const auto& [clip, name] : clips) {
            clip->setName(name);
        }
    }
    static inline const char* const Start = "P0[T0(A,B,G{S0,S1,S2}),T1(C)] P1[T2(D)]";

    // A new plain clip, in no title yet.
    static MediaData::Ptr loose(const char* name)
    {
        auto clip = std::make_shared<MediaData>();
        clip->setName(name);
        return clip;
    }
    QString text() const { return treeText(*project); }
};

}  // namespace listtest
