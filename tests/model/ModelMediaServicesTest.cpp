#include <gtest/gtest.h>

#include "media/MediaServices.h"
#include "model/DVDResource.h"
#include "model/ModelMediaServices.h"
#include "model/ModelServices.h"

namespace {

struct OneDisc : ModelServices {
    std::shared_ptr<DVDResource> disc;
    std::shared_ptr<DVDResource> dvd() const override { return disc; }
};

}  // namespace

TEST(ModelMediaServicesTest, MediaEngineSeesTheOpenProjectsCanvas)
{
    ModelMediaServices::installForMedia();
    // No project open: a new disc's canvas.
    EXPECT_EQ(MediaServices::current()->projectCanvasSize(), QSizeF(854, 480));

    auto services = std::make_shared<OneDisc>();
    services->disc = std::make_shared<DVDResource>();
    ModelServices::install(services);
    for (const auto& [aspect, size] :
         QList<std::pair<qint64, QSizeF>>{{0, {640, 480}}, {1, {854, 480}}, {2, {854, 480}}}) {
        services->disc->setAspectType(aspect);
        EXPECT_EQ(MediaServices::current()->projectCanvasSize(), size) << aspect;
    }
    ModelServices::install(nullptr);
    MediaServices::install(nullptr);
}
