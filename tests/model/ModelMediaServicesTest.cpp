#include <gtest/gtest.h>

#include "media/MediaServices.h"
#include "model/DVDResource.h"
#include "model/ModelMediaServices.h"

TEST(ModelMediaServicesTest, MediaEngineSeesTheOpenProjectsCanvas)
{
    std::shared_ptr<DVDResource> open;
    ModelMediaServices::installForMedia([&open] { return open; });
    // No project open: a new disc's canvas.
    EXPECT_EQ(MediaServices::current()->projectCanvasSize(), QSizeF(854, 480));

    open = std::make_shared<DVDResource>();
    for (const auto& [aspect, size] :
         QList<std::pair<qint64, QSizeF>>{{0, {640, 480}}, {1, {854, 480}}, {2, {854, 480}}}) {
        open->setAspectType(aspect);
        EXPECT_EQ(MediaServices::current()->projectCanvasSize(), size) << aspect;
    }
    MediaServices::install(nullptr);
}
