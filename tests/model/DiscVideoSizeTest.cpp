#include "DVDResourceTestFixture.h"

using namespace disctest;

namespace {

// Anything with setVideoOutputSize, as a media item has.
struct SizedItem {
    QSizeF size;
    int calls = 0;
    void setVideoOutputSize(const QSizeF& s)
    {
        size = s;
        ++calls;
    }
};

TEST(DiscVideoSizeTest, CanvasSizeFollowsTheAspect)
{
    struct Case {
        qint64 aspect;
        QSizeF size;
    } cases[] = {{1, {854, 480}}, {2, {854, 480}}, {-1, {854, 480}}, {0, {640, 480}}};
    DVDResource disc;
    for (const auto& c : cases) {
        disc.setAspectType(c.aspect);
        EXPECT_EQ(disc.dvdVideoSize(), c.size) << c.aspect;
        EXPECT_EQ(disc.menuCanvasSize(), c.size);
        EXPECT_EQ(disc.menuCanvasRect(), QRectF(QPointF(0, 0), c.size));
    }
}

TEST(DiscVideoSizeTest, MediaItemsTakeTheCanvasAsOutputSize)
{
    DVDResource disc;
    disc.setAspectType(0);
    auto item = std::make_shared<SizedItem>();
    disc.changeVideoOutputSizeWithVCMovie(item);
    EXPECT_EQ(item->size, QSizeF(640, 480));
    disc.setAspectType(1);
    disc.changeVideoOutputSizeWithVCMovie(item);
    EXPECT_EQ(item->size, QSizeF(854, 480));
    EXPECT_EQ(item->calls, 2);
    disc.changeVideoOutputSizeWithVCMovie(std::shared_ptr<SizedItem>());  // ignored
}

}  // namespace
