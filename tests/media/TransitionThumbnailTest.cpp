// The shipped chooser thumbnails are what our generator makes of each
// transition. With BRISANE_WRITE_TRANSITION_THUMBNAILS set to a transition
// folder (tools/make-transition-thumbnails), the thumbnails are (re)written
// there beside each transition's property list first.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFileInfo>

#include "TransitionTestSupport.h"
#include "platform/PropertyList.h"
#include "media/QuartzController.h"
#include "media/TransitionPreview.h"

using namespace transitiontest;

namespace {

void writeThumbnails(const QString& folder)
{
    QDirIterator lists(folder, {"*.plist"}, QDir::Files, QDirIterator::Subdirectories);
    while (lists.hasNext()) {
        const QFileInfo list(lists.next());
        // One transition per folder: load that folder alone to get its paced composition.
        QuartzController single(list.absolutePath());
        ASSERT_EQ(single.mtAryQuartzItems().size(), 1) << list.filePath().toStdString();
        const auto& item = single.mtAryQuartzItems().first();
        const QString name = item->dicInformation.value("ThumbnailName").toString().value_or("");
        ASSERT_FALSE(name.isEmpty());
        ASSERT_TRUE(TransitionPreview::thumbnail(item->oComposition)
                        .save(list.dir().filePath(name), "PNG"));
    }
}

}  // namespace

TEST(TransitionThumbnailTest, ShippedThumbnailsMatchTheGenerator)
{
    const QString target = qEnvironmentVariable("BRISANE_WRITE_TRANSITION_THUMBNAILS");
    if (!target.isEmpty()) {
        writeThumbnails(target);
    }
    QuartzController controller(target.isEmpty() ? shippedTransitionFolder() : target);
    ASSERT_GE(controller.mtAryQuartzItems().size(), 10);
    for (const auto& item : controller.mtAryQuartzItems()) {
        SCOPED_TRACE(item->strQuartzName.toStdString());
        const QImage made = TransitionPreview::thumbnail(item->oComposition);
        ASSERT_EQ(made.size(), TransitionPreview::ThumbnailSize);
        EXPECT_LT(meanDifference(made, item->imgThumbnail), 1.0);
    }
}
