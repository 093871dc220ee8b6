// What the canvas shows: a template page drawn upright into the fitted
// rectangle in both aspects, nothing outside it, and the editor in a main
// window. When BRISANE_TEST_ARTIFACTS names a folder the pictures are written
// there.
#include <QDir>
#include <QMainWindow>

#include "MenuEditTestFixture.h"
#include "corvane/DVDMenuBackgroundResource.h"

using namespace menutest;

namespace {

void saveArtifact(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")))
        << qPrintable(name);
}

class MenuCanvasPictureTest : public MenuEditorTest {
protected:
    // A page as the template makes it: three titles showing their first
    // clip, a heading, and the previous, play and next buttons.
    std::shared_ptr<DVDPage> templatePage()
    {
        auto page = topPage(3);
        QList<std::shared_ptr<DVDPageItem>> items;
        const QColor colours[] = {QColor(200, 60, 60), QColor(60, 170, 80), QColor(60, 90, 200)};
        for (int i = 0; i < 3; ++i) {
            auto title = item(1, {50.0 + 262 * i, 180, 230, 170});
            title->setHasShadow(true);
            title->setMedia(this->title({clip(colours[i])}));
            items.append(title);
        }
        auto heading = textItem({277, 390, 300, 60}, "Summer 2024");
        heading->textSource()->setMedia(heading);
        EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*heading->textSource());
        items.append(heading);
        for (const auto& button :
             {page->preButtonItem(), page->playButtonItem(), page->nextButtonItem()}) {
            items.append(button);
        }
        page->setItemArray(items);
        return page;
    }

    // The view's picture and where the canvas's fitted rectangle lies in it.
    QImage grabView(QRect* fitted)
    {
        processEvents();
        *fitted = canvas().canvasFit().fitted.toAlignedRect().translated(
            canvas().mapTo(controller->view(), QPoint(0, 0)));
        return controller->view()->grab().toImage();
    }
};

TEST_F(MenuCanvasPictureTest, TemplatePageInBothAspects)
{
    controller->view()->resize(960, 600);
    auto page = templatePage();
    open({page, topPage()});

    for (const int aspect : {1, 0}) {
        controller->setAspectIndex(aspect);
        controller->aspectChangedAction();
        QRect fitted;
        const QImage picture = grabView(&fitted);
        saveArtifact(picture, aspect ? "menu-canvas-16x9" : "menu-canvas-4x3");
        const double ratio = aspect ? 854.0 / 480.0 : 640.0 / 480.0;
        EXPECT_NEAR(double(fitted.width()) / fitted.height(), ratio, 0.01);
        // The first title's clip shows upright inside its frame: its middle
        // is red, in the left part of the page.
        const QRectF onCanvas = canvas().viewRectFromCanvas(page->itemArray().first()->frame());
        const QPoint middle =
            onCanvas.center().toPoint() + canvas().mapTo(controller->view(), QPoint());
        const QColor colour = picture.pixelColor(middle);
        EXPECT_GT(colour.red(), 150) << aspect;
        EXPECT_LT(colour.green(), 100) << aspect;
    }
}

TEST_F(MenuCanvasPictureTest, PageFillsTheFittedRectangleAndNothingElse)
{
    auto page = topPage();
    auto background = std::make_shared<DVDMenuBackgroundResource>();
    background->setImage(disctest::solid(320, 180, Qt::red));
    page->setBackgourndPictureResource(background);
    page->setImageCropRect(QRectF());
    open({page});

    struct Case {
        int aspect;
        QSize view;
    } cases[] = {{1, {900, 600}}, {0, {900, 600}}, {1, {1400, 500}}, {0, {500, 700}}};
    for (const auto& c : cases) {
        controller->view()->resize(c.view);
        controller->setAspectIndex(c.aspect);
        controller->aspectChangedAction();
        QRect fitted;
        const QImage picture = grabView(&fitted);
        const QString what =
            QStringLiteral("%1 in %2x%3").arg(c.aspect).arg(c.view.width()).arg(c.view.height());
        ASSERT_GT(fitted.width(), 100) << qPrintable(what);
        const QColor red(Qt::red);
        const QColor panel = QColor::fromRgbF(0.1f, 0.1f, 0.1f);
        const int l = fitted.left(), r = fitted.right(), t = fitted.top(), b = fitted.bottom();
        for (const QPoint inside : {QPoint(l + 1, t + 1), QPoint(r - 1, t + 1),
                                    QPoint(l + 1, b - 1), QPoint(r - 1, b - 1), fitted.center()}) {
            EXPECT_EQ(picture.pixelColor(inside), red)
                << qPrintable(what) << inside.x() << "," << inside.y();
        }
        for (const QPoint outside : {QPoint(l - 2, t + 10), QPoint(r + 2, b - 10),
                                     QPoint(l + 10, t - 2), QPoint(r - 10, b + 2)}) {
            EXPECT_TRUE(disctest::near(picture.pixelColor(outside), panel, 3))
                << qPrintable(what) << outside.x() << "," << outside.y();
        }
        if (c.view == QSize(900, 600)) {
            saveArtifact(picture, c.aspect ? "menu-fill-16x9" : "menu-fill-4x3");
        }
    }
}

TEST_F(MenuCanvasPictureTest, EditorInTheMainWindowShowsTheFirstPage)
{
    auto first = templatePage();
    auto second = topPage();
    open({first, second});
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Brisane"));
    window.setCentralWidget(controller->view());
    window.resize(1024, 700);
    window.show();
    processEvents();
    EXPECT_EQ(controller->currentMenu(), first);
    select({first->itemArray().first()});
    processEvents();
    const QImage picture = window.grab().toImage();
    saveArtifact(picture, "menu-editor-window");
    EXPECT_TRUE(controller->itemControlView()->isVisible());
    // The window keeps the editor's view; hand it back before both go.
    window.takeCentralWidget()->setParent(nullptr);
}

}  // namespace
