// Photos of every shape, from the title list to the disc. Five pictures made
// here, each with a marker of its own colour in every corner (red top left,
// green top right, blue bottom left, yellow bottom right) on grey: 3:2, 4:3,
// square, 3:4, and a 16:9 JPEG stored on its side that its EXIF orientation
// turns upright (9:16). They are imported as one slideshow title, the way
// the title list imports a pick of pictures, with keep-ratio on; a second
// slideshow title of three plain photos runs at a best duration equal to its
// seconds per photo. The project is saved and reopened through the project
// document (the user's pictures and working copies gone), then produced on a
// PAL or NTSC disc of 16:9 or 4:3 by production's own rendering step and
// dvdauthor, and read back with libdvdread and ffmpeg:
// - every photo shows whole, centred, at its own shape within two pixels in
//   display terms, with its four markers, on black bars where its shape
//   differs from the frame's;
// - the plain slideshow shows each of its photos in turn, as a title and as
//   the live picture of its title on the menu.
// Frames are written into $BRISANE_TEST_ARTIFACTS as
// "photo-shapes-<disc>-<photo>.png" for a look.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTest>
#include <cmath>

#include "../media/TransitionTestSupport.h"
#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "ShellLaunch.h"
#include "SlideshowEditTestSupport.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDToolLocator.h"
#include "listedit/core/ListMediaFactory.h"
#include "lumenta/LMFunctions.h"
#include "media/PhotoItem.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindowController.h"

namespace {

// --- The photos ---------------------------------------------------------

struct Shape {
    QString name;
    QSize shown;  // upright, as a viewer shows it
    bool turned;  // stored on its side, turned upright by its EXIF orientation
};

const QList<Shape> shapes{{"three-two", {360, 240}, false},
                          {"four-three", {320, 240}, false},
                          {"square", {240, 240}, false},
                          {"portrait", {240, 320}, false},
                          {"turned", {180, 320}, true}};

const QList<QColor> markerColours{Qt::red, Qt::green, Qt::blue, Qt::yellow};
const QColor body(140, 140, 140);

// Grey with a square marker, a quarter of the shorter side, in each corner.
QImage markedPicture(const QSize& size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(body);
    const int m = std::min(size.width(), size.height()) / 4;
    QPainter painter(&picture);
    painter.fillRect(0, 0, m, m, markerColours[0]);
    painter.fillRect(size.width() - m, 0, m, m, markerColours[1]);
    painter.fillRect(0, size.height() - m, m, m, markerColours[2]);
    painter.fillRect(size.width() - m, size.height() - m, m, m, markerColours[3]);
    return picture;
}

// An APP1 segment holding an EXIF block whose one tag is Orientation.
QByteArray exifOrientation(quint16 orientation)
{
    QByteArray tiff("MM\x00\x2a\x00\x00\x00\x08", 8);    // big-endian, first IFD at 8
    tiff.append("\x00\x01", 2);                          // one entry
    tiff.append("\x01\x12\x00\x03\x00\x00\x00\x01", 8);  // Orientation, SHORT, count 1
    tiff.append(char(orientation >> 8)).append(char(orientation & 0xff)).append(2, '\0');
    tiff.append(4, '\0');  // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
}

// Writes the photo of `shape` as a JPEG into `folder`; answers its path.
QString writePhoto(const Shape& shape, const QString& folder)
{
    const QImage shown = markedPicture(shape.shown);
    // Orientation 6: the stored picture is turned a quarter right to show.
    const QImage stored = shape.turned ? shown.transformed(QTransform().rotate(-90)) : shown;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(stored.save(&buffer, "jpg", 95));
    if (shape.turned) {
        jpeg.insert(2, exifOrientation(6));  // right after the start of image
    }
    const QString path = folder + "/" + shape.name + ".jpg";
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    return path;
}

QString plainPhoto(const QColor& colour, const QString& folder)
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = folder + "/plain-" + colour.name().mid(1) + ".png";
    EXPECT_TRUE(picture.save(path));
    return path;
}

// --- Reading a frame ----------------------------------------------------

double lightness(const QImage& frame, int x, int y)
{
    const QColor c =
        frame.pixelColor(std::clamp(x, 0, frame.width() - 1), std::clamp(y, 0, frame.height() - 1));
    return (c.red() + c.green() + c.blue()) / 3.0;
}

// The mean colour of the 7 × 7 pixels around (x, y).
QColor meanColour(const QImage& frame, double x, double y)
{
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            const QPoint at(int(std::lround(x)) + dx, int(std::lround(y)) + dy);
            if (frame.rect().contains(at)) {
                const QColor c = frame.pixelColor(at);
                r += c.red();
                g += c.green();
                b += c.blue();
                ++n;
            }
        }
    }
    return n == 0 ? QColor() : QColor(r / n, g / n, b / n);
}

// Whether `seen` is plainly `expected` (one of the marker colours, or black).
bool looksLike(const QColor& seen, const QColor& expected)
{
    const auto near = [](int value, int target) { return target > 0 ? value > 150 : value < 90; };
    return near(seen.red(), expected.red()) && near(seen.green(), expected.green()) &&
           near(seen.blue(), expected.blue());
}

// Where the picture's lightness first falls below `half` going from `from`
// by `step` along one row or column, between two pixel centres; the frame's
// edge (half a pixel out) when it never does.
double edgeFrom(const std::function<double(int)>& light, int from, int step, int count, double half)
{
    int i = from;
    while (i + step >= 0 && i + step < count && light(i + step) >= half) {
        i += step;
    }
    const int out = i + step;
    if (out < 0 || out >= count) {
        return i + step * 0.5;
    }
    const double inside = light(i);
    const double outside = light(out);
    return i + step * (inside - half) / std::max(inside - outside, 1e-6);
}

// The photo's rectangle in the stored frame's pixels (sub-pixel edges, found
// where the lightness crosses half the grey's across the middle rows and
// columns, where only grey meets black), around the frame's centre.
QRectF photoRect(const QImage& frame)
{
    const int cx = frame.width() / 2;
    const int cy = frame.height() / 2;
    const double half = lightness(frame, cx, cy) / 2.0;
    double left = 0, right = 0, top = 0, bottom = 0;
    constexpr int Lines = 9;
    for (int k = -Lines / 2; k <= Lines / 2; ++k) {
        const auto row = [&](int x) { return lightness(frame, x, cy + k * 2); };
        const auto column = [&](int y) { return lightness(frame, cx + k * 2, y); };
        left += edgeFrom(row, cx, -1, frame.width(), half);
        right += edgeFrom(row, cx, 1, frame.width(), half);
        top += edgeFrom(column, cy, -1, frame.height(), half);
        bottom += edgeFrom(column, cy, 1, frame.height(), half);
    }
    // From pixel centres to pixel edges: a photo filling the frame is the frame.
    return QRectF(QPointF(left / Lines + 0.5, top / Lines + 0.5),
                  QPointF(right / Lines + 0.5, bottom / Lines + 0.5));
}

// --- The disc -----------------------------------------------------------

struct DiscKind {
    const char* name;
    bool pal;
    bool wide;
};

std::ostream& operator<<(std::ostream& out, const DiscKind& kind)
{
    return out << kind.name;
}

// The frames of a disc: stored at 720 pixels across, shown at the disc's aspect.
struct DiscFrame {
    explicit DiscFrame(const DiscKind& kind)
        : stored(720, kind.pal ? 576 : 480),
          aspect(kind.wide ? 16.0 / 9.0 : 4.0 / 3.0),
          rate(kind.pal ? 25.0 : 30000.0 / 1001.0)
    {
    }
    QSizeF display() const { return QSizeF(stored.height() * aspect, stored.height()); }
    // Display pixels per stored pixel across; down they are the same.
    double across() const { return aspect * stored.height() / stored.width(); }

    QSize stored;
    double aspect;
    double rate;
};

// The photo of `shape` is whole on `frame`: centred, at its own shape within
// two display pixels, its four markers at its corners, black beside or above
// and below it where its shape is not the frame's.
void expectWholePhoto(const QImage& frame, const Shape& shape, const DiscFrame& disc)
{
    const QSizeF display = disc.display();
    const double r = double(shape.shown.width()) / shape.shown.height();
    const QSizeF expected = r >= disc.aspect ? QSizeF(display.width(), display.width() / r)
                                             : QSizeF(display.height() * r, display.height());
    const QRectF seen = photoRect(frame);
    const QRectF shown(seen.x() * disc.across(), seen.y(), seen.width() * disc.across(),
                       seen.height());
    EXPECT_NEAR(shown.width(), expected.width(), 2.0) << "width";
    EXPECT_NEAR(shown.height(), expected.height(), 2.0) << "height";
    EXPECT_NEAR(shown.center().x(), display.width() / 2, 2.0) << "centre";
    EXPECT_NEAR(shown.center().y(), display.height() / 2, 2.0) << "centre";
    // The markers, an eighth of the photo in from its corners.
    const double dx = seen.width() / 8;
    const double dy = seen.height() / 8;
    const QList<QPointF> corners{{seen.left() + dx, seen.top() + dy},
                                 {seen.right() - dx, seen.top() + dy},
                                 {seen.left() + dx, seen.bottom() - dy},
                                 {seen.right() - dx, seen.bottom() - dy}};
    for (int c = 0; c < 4; ++c) {
        const QColor colour = meanColour(frame, corners[c].x(), corners[c].y());
        EXPECT_TRUE(looksLike(colour, markerColours[c]))
            << "corner " << c << " is " << qPrintable(colour.name());
    }
    const QSize stored = disc.stored;
    if (display.width() - expected.width() > 8) {
        const double band = (stored.width() - seen.width()) / 4;
        for (double x : {band, stored.width() - band}) {
            EXPECT_TRUE(looksLike(meanColour(frame, x, stored.height() / 2.0), Qt::black)) << x;
        }
    }
    if (display.height() - expected.height() > 8) {
        const double band = (stored.height() - seen.height()) / 4;
        for (double y : {band, stored.height() - band}) {
            EXPECT_TRUE(looksLike(meanColour(frame, stored.width() / 2.0, y), Qt::black)) << y;
        }
    }
}

class PhotoShapesDisc : public ::testing::TestWithParam<DiscKind> {
protected:
    void SetUp() override
    {
        RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
        DVDToolLocator::setToolFolder(QString());  // the real tools
        AppDelegate::setProjectChooser(
            [this](AppDelegate::ProjectPanel, QWidget*) { return projectFolder; });
    }
    void TearDown() override { AppDelegate::setProjectChooser(nullptr); }

    AppDelegate* delegate() const { return shell.delegate.get(); }

    // One title on `page` holding the slideshow of `paths`, as the title
    // list's picture import makes it; answers its clip.
    std::shared_ptr<MediaData> importSlideshow(const std::shared_ptr<DVDPageData>& page,
                                               const QStringList& paths) const
    {
        const auto clip =
            ListMediaFactory::createMediaDataWithImagePaths(*delegate()->dateResource(), paths);
        if (!clip) {
            ADD_FAILURE() << "the pictures were not imported";
            return nullptr;
        }
        ListMediaFactory::appendTitleToPage(ListMediaFactory::createDVDTitleDataWithMedia(clip),
                                            page);
        return clip;
    }

    static std::shared_ptr<RenderItem> slideshowOf(const std::shared_ptr<MediaData>& clip)
    {
        const auto section = clip ? clip->sectionItem() : nullptr;
        const auto source = section ? section->superResource() : nullptr;
        return source ? source->imageSource() : nullptr;
    }

    // Seconds per photo and best duration set as the slideshow editor sets
    // them, then the clip given the new length as the title list gives it
    // when the editor closes.
    static void setPace(const std::shared_ptr<MediaData>& clip, double seconds, double best)
    {
        const auto show = slideshowOf(clip);
        show->oSlideshowItem()->setDDuration(seconds);
        show->oSlideshowItem()->setDBestDuration(best);
        const double length = show->slideshowDuration();
        clip->setImageDataDuration(length);
        clip->sectionItem()->setEndTimeInMedia(
            static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * length));
    }

    // Saves through the Save command into `folder`, then opens it again as
    // the desktop would, over a new project.
    void saveAndReopen(const QString& folder)
    {
        projectFolder = folder;
        shell.controller()->setDocumentEdited(true);
        delegate()->saveProjectAction();
        QTRY_VERIFY_WITH_TIMEOUT(!delegate()->isBusy(), 60000);
        ASSERT_TRUE(shell.services.alerts->alerts.isEmpty())
            << shell.services.alerts->messages().join("|").toStdString();
        ASSERT_TRUE(QFileInfo(folder + "/slideshow-photo").isDir());
        delegate()->openNewProject();
        ASSERT_TRUE(delegate()->AppDelegate::applicationOpenFile(folder + "/project.data"));
        ASSERT_TRUE(shell.services.alerts->alerts.isEmpty());
    }

    // The project: the two slideshows as two titles of one list page, on a
    // disc of the test's kind, their title pictures placed on its menu.
    void buildProject(const QStringList& shapePaths, const QStringList& plainPaths)
    {
        delegate()->dvd()->setDvdFormat(GetParam().pal ? 1 : 0);
        delegate()->dvd()->setAspectType(GetParam().wide ? 1 : 0);
        auto list = std::make_shared<DVDPageData>();
        delegate()->dateResource()->addDvdPageToArray(list);
        const auto shapesClip = importSlideshow(list, shapePaths);
        const auto plainClip = importSlideshow(list, plainPaths);
        ASSERT_TRUE(slideshowOf(shapesClip) && slideshowOf(plainClip));
        ASSERT_EQ(slideshowOf(shapesClip)->mtAryPhotoItems().size(), shapes.size());
        ASSERT_TRUE(slideshowOf(shapesClip)->bKeepStandardRatio());
        // One second per photo, the transition at its own pace of 3 s per photo.
        ASSERT_DOUBLE_EQ(slideshowOf(shapesClip)->oSlideshowItem()->dBestDuration(), 3.0);
        setPace(shapesClip, 1.0, 3.0);
        // The best duration as short as the seconds per photo.
        setPace(plainClip, 1.0, 1.0);

        shell.controller()->initDvdResource();
        const auto menu = list->menuPage();
        ASSERT_TRUE(menu);
        menu->setMenuDuration(3.2);
        // The title pictures side by side, as the menu editor would place them.
        const QSizeF canvas = menu->menuSize();
        for (int t = 0; t < 2; ++t) {
            const auto item = list->titleDataArray()[t]->menuItem();
            ASSERT_TRUE(item);
            item->setFrame(QRectF(canvas.width() * (0.06 + 0.5 * t), canvas.height() * 0.2,
                                  canvas.width() * 0.38, canvas.height() * 0.5));
            item->setHasShadow(false);
        }
    }

    // Frame `seconds` into `stream`, written for a look as
    // "photo-shapes-<disc>-<name>.png" at the display's shape.
    QImage frameAt(const QString& stream, double seconds, const QString& name) const
    {
        const QString artifact = QString("photo-shapes-%1-%2").arg(GetParam().name, name);
        const QImage frame = testsupport::frameOf(stream, int(std::lround(seconds * disc.rate)),
                                                  dir.filePath(artifact + ".png"));
        EXPECT_EQ(frame.size(), disc.stored) << qPrintable(name);
        slideshowedit::writeArtifact(
            frame.scaled(disc.display().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
            artifact);
        return frame;
    }

    testsupport::ShellLaunch shell;
    QTemporaryDir dir = testsupport::makeTempDir();
    DiscFrame disc{GetParam()};
    QString projectFolder;
};

TEST_P(PhotoShapesDisc, EveryPhotoShowsWholeAndEverySlideShows)
{
    ASSERT_TRUE(dir.isValid());
    const QString pictures = dir.filePath("pictures");
    QDir().mkpath(pictures);
    QStringList shapePaths;
    for (const Shape& shape : shapes) {
        shapePaths << writePhoto(shape, pictures);
    }
    // The turned picture is stored on its side and read upright.
    QImageReader stored(shapePaths.last());
    stored.setAutoTransform(false);
    ASSERT_EQ(stored.read().size(), QSize(320, 180));
    QImageReader upright(shapePaths.last());
    upright.setAutoTransform(true);
    ASSERT_EQ(upright.read().size(), QSize(180, 320));
    const QList<QColor> plainColours{Qt::red, Qt::green, Qt::blue};
    QStringList plainPaths;
    for (const QColor& colour : plainColours) {
        plainPaths << plainPhoto(colour, pictures);
    }
    ASSERT_NO_FATAL_FAILURE(buildProject(shapePaths, plainPaths));

    // --- Saved and reopened; the user's files and the working copies go ---
    ASSERT_NO_FATAL_FAILURE(saveAndReopen(dir.filePath("Shapes.brisane")));
    ASSERT_TRUE(QDir(pictures).removeRecursively());
    ASSERT_TRUE(QDir(PhotoItem::appTempPath()).removeRecursively());
    const auto media = delegate()->dateResource();
    ASSERT_EQ(media->sectionDataResourceArray().size(), 2);
    const auto shapesBack = media->sectionDataResourceArray()[0]->imageSource();
    const auto plainBack = media->sectionDataResourceArray()[1]->imageSource();
    ASSERT_TRUE(shapesBack && plainBack);
    ASSERT_EQ(shapesBack->mtAryPhotoItems().size(), shapes.size());
    EXPECT_TRUE(shapesBack->bKeepStandardRatio());
    EXPECT_DOUBLE_EQ(plainBack->oSlideshowItem()->dBestDuration(), 1.0);
    EXPECT_TRUE(shapesBack->mtAryPhotoItems().first()->strImagePath().startsWith(projectFolder));
    EXPECT_EQ(delegate()->dvd()->aspectType(), GetParam().wide ? 1 : 0);

    // --- Produced from the main window's disc model ---
    shell.controller()->initDvdResource();
    const auto model = shell.controller()->getDVDObj();
    ASSERT_TRUE(model);
    ASSERT_EQ(model->titles().size(), 2);
    const QString work = dir.filePath("work");
    QDir().mkpath(work);
    ASSERT_TRUE(testsupport::produceDisc(model, work));
    const QString folder = work + "/dvd.dvdmedia";
    const discreadback::ReadBack read = discreadback::readBack(folder);
    ASSERT_EQ(read.titleSeconds.size(), 2);
    EXPECT_NEAR(read.titleSeconds[0], 5.0, 2.0 / disc.rate);
    EXPECT_NEAR(read.titleSeconds[1], 3.0, 2.0 / disc.rate);

    // --- Every photo whole, at its own shape, on black ---
    const QString shapesTitle = dir.filePath("shapes.vob");
    ASSERT_TRUE(discreadback::extractTitle(folder, 1, shapesTitle));
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        SCOPED_TRACE(qPrintable(shapes[i].name));
        // Photo i holds the frame alone from i s to i + 0.6 s.
        const QImage frame = frameAt(shapesTitle, double(i) + 0.25, shapes[i].name);
        ASSERT_EQ(frame.size(), disc.stored);
        expectWholePhoto(frame, shapes[i], disc);
    }

    // --- The plain slideshow: each photo in turn, as a title ---
    const QString plainTitle = dir.filePath("plain.vob");
    ASSERT_TRUE(discreadback::extractTitle(folder, 2, plainTitle));
    const QPointF middle(disc.stored.width() / 2.0, disc.stored.height() / 2.0);
    for (qsizetype i = 0; i < plainColours.size(); ++i) {
        const QImage frame = frameAt(plainTitle, double(i) + 0.25, QString("plain-%1").arg(i));
        const QColor seen = meanColour(frame, middle.x(), middle.y());
        EXPECT_TRUE(looksLike(seen, plainColours[i]))
            << "photo " << i << " shows " << qPrintable(seen.name());
    }

    // --- ... and as the live picture of its title on the menu ---
    const auto page = std::dynamic_pointer_cast<DVDPage>(model->menus().value(0));
    ASSERT_TRUE(page);
    const auto list = media->dvdPageArray().value(0);
    ASSERT_TRUE(list && list->titleDataArray().size() == 2);
    const std::shared_ptr<DVDPageItem> item = list->titleDataArray()[1]->menuItem();
    ASSERT_TRUE(item && page->itemArray().contains(item));
    const QRectF area =
        DVDMenuMake::scaleRect(item->frame(), page->menuSize(), QSizeF(model->dvdVideoSize()));
    const QPointF centre(area.center().x(), disc.stored.height() - area.center().y());
    const QString menuStream = folder + "/VIDEO_TS/VTS_01_0.VOB";
    const double offset = double(item->videoImageTime()) / double(lm_default_time_base());
    for (qsizetype i = 0; i < plainColours.size(); ++i) {
        // The item plays the slideshow from its offset on, looping every 3 s.
        const double at = std::fmod(std::fmod(double(i) + 0.25 - offset, 3.0) + 3.0, 3.0);
        const QImage frame = frameAt(menuStream, at, QString("menu-%1").arg(i));
        const QColor seen = meanColour(frame, centre.x(), centre.y());
        EXPECT_TRUE(looksLike(seen, plainColours[i]))
            << "photo " << i << " shows " << qPrintable(seen.name()) << " at " << at << " s";
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, PhotoShapesDisc,
                         ::testing::Values(DiscKind{"pal-16x9", true, true},
                                           DiscKind{"pal-4x3", true, false},
                                           DiscKind{"ntsc-16x9", false, true},
                                           DiscKind{"ntsc-4x3", false, false}),
                         [](const auto& info) {
                             QString name = info.param.name;
                             return name.remove('-').toStdString();
                         });

}  // namespace
