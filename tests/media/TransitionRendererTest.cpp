// Every shipped transition rendered: holds show the photo, changes show both,
// frames repeat exactly; the renderer's inputs and outputs.
#include <gtest/gtest.h>

#include <QPainter>
#include <set>

#include "TransitionTestSupport.h"
#include "media/Composition.h"
#include "media/RenderController.h"
#include "media/SlideshowRenderer.h"
#include "media/TransitionPreview.h"
#include "media/TransitionTimeline.h"

using namespace transitiontest;

namespace {

const QSize FrameSize(320, 240);

const RenderController& shipped()
{
    static const RenderController registry(shippedTransitionFolder());
    return registry;
}

Value::Dictionary sized(Value::Dictionary information, const QSize& size)
{
    information.insert("RenderingWidth", size.width());
    information.insert("RenderingHeight", size.height());
    return information;
}

std::shared_ptr<SlideshowRenderer> rendererFor(const QuartzItem& item, const QSize& size,
                                               int photos)
{
    auto renderer = shipped().slideshowRendererWithInformation(sized(item.dicInformation, size));
    if (renderer) {
        renderer->setValueForInputKey(Value(TransitionPreview::sampleImages(photos, size)),
                                      "Images");
    }
    return renderer;
}

class EveryTransition : public ::testing::TestWithParam<int> {
protected:
    const QuartzItem& item() const
    {
        return *shipped().oSlideshowQuartzController().mtAryQuartzItems().at(GetParam());
    }
};

}  // namespace

TEST_P(EveryTransition, HoldShowsThePhotoAndChangeShowsBoth)
{
    SCOPED_TRACE(item().strQuartzName.toStdString());
    auto renderer = rendererFor(item(), FrameSize, 3);
    ASSERT_TRUE(renderer);
    const TransitionTimeline line(item().oComposition->timing(), 3);
    ASSERT_GT(line.changeLength(0), 0.0);

    QList<QImage> holds;
    for (int position = 0; position < 3; ++position) {
        const double middle =
            line.start(position) + (line.length(position) - line.changeLength(position)) / 2;
        const QImage frame = renderer->snapshotCIImageAtTime(middle);
        ASSERT_EQ(frame.size(), FrameSize);
        const QImage photo = TransitionPreview::samplePicture(position, FrameSize);
        EXPECT_LT(meanDifference(frame, renderer->sharpenImageOn(photo)), 0.01) << position;
        EXPECT_LT(meanDifference(frame, photo), 2.0) << position;
        holds << frame;
    }
    for (int position = 0; position < 2; ++position) {
        const double middle =
            line.start(position) + line.length(position) - line.changeLength(position) / 2;
        const QImage change = renderer->snapshotCIImageAtTime(middle);
        EXPECT_GT(meanDifference(change, holds[position]), 4.0) << position;
        EXPECT_GT(meanDifference(change, holds[position + 1]), 4.0) << position;
    }
}

TEST_P(EveryTransition, FramesRepeatExactly)
{
    auto first = rendererFor(item(), FrameSize, 3);
    auto second = rendererFor(item(), FrameSize, 3);
    ASSERT_TRUE(first && second);
    for (double time : {0.3, 2.2, 2.5, 2.9, 5.6, 7.0}) {
        const QImage a = first->snapshotCIImageAtTime(time);
        EXPECT_EQ(a, second->snapshotCIImageAtTime(time)) << time;
        EXPECT_EQ(a, first->snapshotCIImageAtTime(time)) << time;
    }
}

TEST_P(EveryTransition, IndexOutputCoversTheLookAhead)
{
    auto index = shipped().indexsRenderWithInformation(sized(item().dicInformation, FrameSize));
    ASSERT_TRUE(index);
    constexpr int Count = 5;
    const TransitionTimeline line(item().oComposition->timing(), Count);
    index->setValueForInputKey(Value(Count), "Count");
    for (double x = -1.0; x < line.totalLength() + 1.0; x += 0.25) {
        index->setValueForInputKey(Value(x), "Time");
        index->renderAtTime(0.0);
        std::set<qint64> shown;
        for (const Value& v : index->valueForOutputKey("Indexs").dictionary()) {
            shown.insert(v.toInt().value_or(-1));
        }
        ASSERT_FALSE(shown.empty()) << x;
        for (double y = x; y <= x + 2.0; y += 0.05) {
            const auto frame = line.frameAt(y);
            EXPECT_TRUE(shown.count(frame.from)) << x << " " << y;
            if (frame.to >= 0) {
                EXPECT_TRUE(shown.count(frame.to)) << x << " " << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, EveryTransition, ::testing::Range(0, 10));

TEST(TransitionRendererTest, MissingPicturesShowTheBackgroundOrBlack)
{
    const auto& item = *shipped().oSlideshowQuartzController().getQuartzItemByName("Crossfade.qtz");
    auto renderer =
        shipped().slideshowRendererWithInformation(sized(item.dicInformation, FrameSize));
    ASSERT_TRUE(renderer);
    // Two positions, neither loaded yet.
    renderer->setValueForInputKey(Value(Value::Array{Value::Dictionary{}, Value::Dictionary{}}),
                                  "Images");
    QImage black(FrameSize, QImage::Format_ARGB32_Premultiplied);
    black.fill(Qt::black);
    EXPECT_EQ(meanDifference(renderer->snapshotCIImageAtTime(1.0), black), 0.0);

    const QImage background = TransitionPreview::samplePicture(2, QSize(640, 480));
    renderer->updateBackground(background);
    const QImage expected =
        background.scaled(FrameSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanDifference(renderer->snapshotCIImageAtTime(1.0), expected), 2.0);

    // After clear, no pictures and no background: black.
    renderer->clear();
    EXPECT_TRUE(renderer->valueForInputKey("Images").isNull());
    EXPECT_EQ(meanDifference(renderer->snapshotCIImageAtTime(1.0), black), 0.0);
}

TEST(TransitionRendererTest, PicturesCoverTheFrameCentred)
{
    // A 4:3 canvas handed to a 16:9 frame loses its top and bottom bands only.
    const auto& item = *shipped().oSlideshowQuartzController().getQuartzItemByName("Crossfade.qtz");
    auto renderer = shipped().renderWithInformation(sized(item.dicInformation, QSize(320, 180)));
    ASSERT_TRUE(renderer);
    QImage canvas(320, 240, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::red);
    QPainter(&canvas).fillRect(QRect(0, 30, 320, 180), Qt::blue);
    renderer->setValueForInputKey(Value(Value::Array{Value::Dictionary{{"Image", canvas}},
                                                     Value::Dictionary{{"Image", canvas}}}),
                                  "Images");
    renderer->renderAtTime(0.0);
    QImage blue(320, 180, QImage::Format_ARGB32_Premultiplied);
    blue.fill(Qt::blue);
    EXPECT_EQ(meanDifference(renderer->snapshotImage(), blue), 0.0);
}

TEST(TransitionRendererTest, SharpenOfNothingLogs)
{
    const auto& item = *shipped().oSlideshowQuartzController().getQuartzItemByName("Iris.qtz");
    auto renderer = shipped().renderWithInformation(sized(item.dicInformation, FrameSize));
    ASSERT_TRUE(renderer);
    LogCapture log;
    EXPECT_TRUE(renderer->sharpenImageOn(QImage()).isNull());
    EXPECT_TRUE(log.contains("sharpenImageOn::Image is nil"));
    EXPECT_DOUBLE_EQ(renderer->dSharpeness(), 0.4);
    // A flat picture stays flat; an edge gains contrast.
    QImage flat(8, 8, QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(100, 120, 140));
    EXPECT_EQ(renderer->sharpenImageOn(flat), flat);
    QImage edge = flat;
    QPainter(&edge).fillRect(QRect(4, 0, 4, 8), QColor(200, 200, 200));
    const QImage sharp = renderer->sharpenImageOn(edge);
    EXPECT_LT(qRed(sharp.pixel(3, 4)), 100);
    EXPECT_GT(qRed(sharp.pixel(4, 4)), 200);
}

TEST(TransitionRendererTest, ContactSheetOfEveryTransition)
{
    const auto& items = shipped().oSlideshowQuartzController().mtAryQuartzItems();
    const QSize cell(160, 120);
    const QList<double> progress{0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
    QImage sheet(cell.width() * progress.size(), cell.height() * items.size(),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    for (int row = 0; row < items.size(); ++row) {
        auto renderer = rendererFor(*items[row], cell, 2);
        ASSERT_TRUE(renderer);
        const TransitionTimeline line(items[row]->oComposition->timing(), 2);
        const double changeStart = line.length(0) - line.changeLength(0);
        for (int col = 0; col < progress.size(); ++col) {
            // Eased progress is symmetric, so the linear sampling shows the whole change.
            const double time = changeStart + line.changeLength(0) * progress[col];
            painter.drawImage(QPoint(col * cell.width(), row * cell.height()),
                              renderer->snapshotCIImageAtTime(time));
        }
    }
    painter.end();
    const QString path = pictureOutputFolder() + "/transitions-contact-sheet.png";
    ASSERT_TRUE(sheet.save(path));
    std::printf("contact sheet: %s\n", qPrintable(path));
}
