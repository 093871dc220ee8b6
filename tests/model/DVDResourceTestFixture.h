#pragma once
// Shared helpers of the disc-side model tests: services that hand out a
// test's disc settings and the real template library and count redisplay
// requests; stand-ins for the media side (a list page, a title, a clip) that
// archive like model objects; a movie whose frames show the time asked for.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <memory>

#include "TestSupport.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryResource.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/IMovie.h"
#include "lumenta/LMMediaTime.h"
#include "model/DVDResource.h"
#include "model/MenuClip.h"
#include "model/MenuListPage.h"
#include "model/MenuTitle.h"
#include "platform/ClassRegistry.h"
#include "platform/CodingBase.h"
#include "shell/core/OpenProject.h"

namespace disctest {

inline qint64 seconds(double s)
{
    return static_cast<qint64>(s * static_cast<double>(lm_default_time_base()));
}

inline QImage solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// The colour at (x, y) counted from the bottom-left corner.
inline QColor pixelUp(const QImage& image, int x, int y)
{
    return image.pixelColor(x, image.height() - 1 - y);
}

inline bool near(QColor a, QColor b, int tolerance = 10)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance &&
           std::abs(a.alpha() - b.alpha()) <= tolerance;
}

// The largest difference of any channel between two pictures of one size
// (256 when the sizes differ).
inline int pictureDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return 256;
    }
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

// Writes a picture under $BRISANE_TEST_TMP/pictures for a person to look at.
inline QString savePicture(const QImage& image, const QString& name)
{
    QString root = qEnvironmentVariable("BRISANE_TEST_TMP");
    if (root.isEmpty()) {
        root = QDir::tempPath();
    }
    QDir().mkpath(root + "/pictures");
    const QString path = root + "/pictures/" + name + ".png";
    return image.save(path) ? path : QString();
}

// The real template bundle the build copies beside the test program.
inline std::shared_ptr<DVDLibraryResource> templateLibrary()
{
    static const std::shared_ptr<DVDLibraryResource> library = [] {
        auto l = std::make_shared<DVDLibraryResource>();
        l->loadMenuResourceTemplate(QCoreApplication::applicationDirPath() +
                                    "/menu_template.plugin");
        return l;
    }();
    return library;
}

// The disc a test works on, the template library it gives new pages and
// elements, and the canvas redisplays the disc asked for. The model takes
// them as given; editor tests also hand these to the document host of their
// editors as the open project.
struct DiscServices : OpenProject {
    std::shared_ptr<DVDResource> disc;
    std::shared_ptr<DVDLibraryResource> library;
    int redisplays = 0;

    std::shared_ptr<DVDResource> dvd() const override { return disc; }
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override { return library; }
};

// Makes the disc for one test, counting its canvas redisplays.
class DiscSideTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services = std::make_shared<DiscServices>();
        services->library = templateLibrary();
        ASSERT_FALSE(services->library->buttons().isEmpty());
        services->disc = std::make_shared<DVDResource>();
        services->disc->setCanvasRedisplay([counts = services.get()] { ++counts->redisplays; });
    }

    std::shared_ptr<DiscServices> services;
};

// A button picture held in memory instead of read from the bundle.
class PictureButton : public DVDLibraryButtonResource {
public:
    QImage picture;
    QImage image() const override { return picture; }
};

// A movie whose frame at time t is one colour: red = whole seconds,
// green = tenths of a second, so a frame tells the time it was decoded at.
class ClockMovie : public IMovie {
public:
    int seeks = 0;
    QList<LMMediaTime> decoded;

    static QColor colourFor(LMMediaTime time)
    {
        const qint64 tenths = time * 10 / lm_default_time_base();
        return QColor(static_cast<int>(tenths / 10 % 256), static_cast<int>(tenths % 10 * 20), 0);
    }
    void setCurrentTime(LMMediaTime) override { ++seeks; }
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool) override
    {
        decoded.append(time);
        provider->mediaEffectImage(this, solid(16, 12, colourFor(time)));
    }
};

// Media-side stand-ins.
class DiscTestListPage : public CodingBase, public MenuListPage {
public:
    qint64 titles = 0;
    qsizetype menuTitleCount() const override { return titles; }

    qint64 titleCount() const { return titles; }
    void setTitleCount(qint64 count) { titles = count; }
    QStringList allCoderKeys() const override { return {"titleCount"}; }
    const PropertyTable& propertyTable() const override
    {
        static const PropertyTable table =
            PropertyTable(CodingBase::properties())
                .add("titleCount", &DiscTestListPage::titleCount, &DiscTestListPage::setTitleCount);
        return table;
    }
};

class DiscTestClip : public CodingBase, public MenuClip {
public:
    QImage preview;
    QList<SegmentsMovie::Piece> pieces;
    QList<std::shared_ptr<MenuClip>> members;

    QImage previewImage() const override { return preview; }
    bool hasSubMedia() const override { return !members.isEmpty(); }
    QList<std::shared_ptr<MenuClip>> subMenuClips() const override { return members; }
    QList<SegmentsMovie::Piece> segmentPieces() const override { return pieces; }
};

class DiscTestTitle : public CodingBase, public MenuTitle {
public:
    QList<std::shared_ptr<MenuClip>> clips;
    QList<std::shared_ptr<MenuClip>> menuClips() const override { return clips; }
};

}  // namespace disctest
