#include <gtest/gtest.h>

#include <QLinearGradient>
#include <thread>
#include <vector>

#include "TemplateFixture.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuItem.h"

using namespace templatefixture;

namespace {

// A title whose "video" is a small landscape in its own hue.
class LandscapeTitle : public DVDTitleResource {
public:
    explicit LandscapeTitle(int hue) : m_hue(hue) {}
    bool useVideoFrame() const override { return true; }
    void item(DVDMenuElement&, qint64, QPainter& context) override
    {
        const double w = context.device()->width();
        const double h = context.device()->height();
        QLinearGradient sky(0, h, 0, 0);  // y up: from the top down
        sky.setColorAt(0, QColor::fromHsv(m_hue, 120, 250));
        sky.setColorAt(1, QColor::fromHsv((m_hue + 40) % 360, 200, 120));
        context.fillRect(QRectF(0, 0, w, h), sky);
        context.setPen(Qt::NoPen);
        context.setBrush(QColor::fromHsv((m_hue + 180) % 360, 160, 90));
        context.drawEllipse(QPointF(w * 0.3, 0), w * 0.5, h * 0.4);
        context.setBrush(QColor(255, 250, 220));
        context.drawEllipse(QPointF(w * 0.75, h * 0.75), h * 0.12, h * 0.12);
    }
    void setVideoSize(QSizeF) override {}
    QList<ObjectPtr> vcmovies() const override { return {}; }
    void setExportMovie(bool) override {}
    void setCurrentTime(qint64) override {}
    void flushOperation() override {}

private:
    int m_hue;
};

QString outputFolder()
{
    QString root = qEnvironmentVariable("BRISANE_TEST_TMP");
    if (root.isEmpty()) {
        root = QDir::tempPath();
    }
    const QString folder = root + QStringLiteral("/template-pages");
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

TEST(TemplatePageRenderTest, ShippedPagesRenderAsMenus)
{
    DVDLibraryResource::setBundleSearchPath(QString());
    auto store = std::make_shared<DVDLibraryResource>();
    store->load();
    ASSERT_FALSE(store->menus().isEmpty());
    for (const auto& page : store->menus()) {
        const QString identifier = page->identifier();
        const QImage thumbnail = page->menuThumbnailImage();
        ASSERT_EQ(thumbnail.size(), page->menuSize().toSize()) << identifier.toStdString();
        EXPECT_TRUE(thumbnail.save(outputFolder() + "/" + identifier + "-thumbnail.png"));

        // Give the page a disc to lead to: every element becomes live.
        QList<std::shared_ptr<LandscapeTitle>> titles;
        auto live = page->copy();
        for (const auto& element : live->items()) {
            titles.append(std::make_shared<LandscapeTitle>(static_cast<int>(titles.size()) * 55));
            auto item = std::dynamic_pointer_cast<DVDMenuItem>(element);
            item->setJump(titles.last());
            item->setUseFrame(item->isVideoItem());
        }
        const QImage image = live->imageAtTime(0);
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(outputFolder() + "/" + identifier + "-live.png"));
        EXPECT_EQ(live->imageAtTime(0), image) << "rendering is deterministic";

        // Each video element shows its title inside its frame; buttons show their picture.
        for (const auto& element : live->items()) {
            const QRectF frame = element->frame();
            const QColor centre = pixelUp(image, static_cast<int>(frame.center().x()),
                                          static_cast<int>(frame.center().y()));
            const QColor background =
                pixelUp(page->thumbnailImage(), static_cast<int>(frame.center().x()),
                        static_cast<int>(frame.center().y()));
            EXPECT_NE(centre, background)
                << identifier.toStdString() << " element at " << frame.x() << "," << frame.y();
        }
    }
}

TEST(TemplatePageRenderTest, PagesRenderOnWorkerThreads)
{
    DVDLibraryResource::setBundleSearchPath(QString());
    auto store = std::make_shared<DVDLibraryResource>();
    store->load();
    auto page = store->dvdMenuForIdentifier("Showcase-1");
    ASSERT_TRUE(page);
    const QImage expected = page->copy()->menuThumbnailImage();
    QImage results[4];
    std::vector<std::thread> workers;
    for (QImage& result : results) {
        workers.emplace_back([&page, &result] { result = page->menuThumbnailImage(); });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    for (const QImage& result : results) {
        EXPECT_EQ(result, expected);
    }
}
