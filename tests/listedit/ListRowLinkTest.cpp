// A clip and a title point at their rows in the title list without owning
// them. The list may destroy a row while its entry lives on (the list itself
// goes, or a moved clip's old row is dropped); the entry must then read as
// having no row, or the list's core and the editors would call into a freed
// row.
#include <gtest/gtest.h>
#include <QWidget>
#include <memory>

#include "listedit/MediaDataView.h"
#include "listedit/TitleDataView.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

namespace {

TEST(ListRowLinkTest, AnEntryForgetsItsRowWhenTheRowIsDestroyed)
{
    const auto clip = std::make_shared<MediaData>();
    const auto title = std::make_shared<DVDTitleData>();
    auto list = std::make_unique<QWidget>();
    auto* clipRow = new MediaDataView(list.get());
    auto* titleRow = new TitleDataView(list.get());
    clip->setMediaDataView(clipRow);
    title->setTitleDataView(titleRow);
    EXPECT_EQ(clip->mediaDataView(), clipRow);
    EXPECT_EQ(title->titleDataView(), titleRow);

    // A row that took another's place stays linked when the old one goes.
    auto newer = std::make_unique<MediaDataView>();
    clip->setMediaDataView(newer.get());
    delete clipRow;
    EXPECT_EQ(clip->mediaDataView(), newer.get());

    // The list goes with its rows.
    clip->setMediaDataView(new MediaDataView(list.get()));
    list.reset();
    EXPECT_EQ(clip->mediaDataView(), nullptr);
    EXPECT_EQ(title->titleDataView(), nullptr);
}

}  // namespace
