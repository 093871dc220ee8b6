#pragma once
// Shared helpers of the media-side model tests: services that hand out a
// test's disc settings, its own settings and video folders, and a stand-in
// for the slideshow movie source; generated clips and pictures; archiving a
// project's two roots the way the program does.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "TestSupport.h"
#include "corvane/DVDLibraryResource.h"
#include "lumenta/IMovie.h"
#include "lumenta/LMMedia.h"
#include "lumenta/LMMediaTime.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/UserConfig.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "shell/core/OpenProject.h"

namespace mediatest {

inline qint64 seconds(double s)
{
    return static_cast<qint64>(s * static_cast<double>(lm_default_time_base()));
}

// What the media engine's slideshow source answers the model: a video of the
// slideshow's length.
class SlideshowStandIn : public IMovie {
public:
    explicit SlideshowStandIn(double length) : m_length(length) {}
    LMMediaTime duration() const override { return seconds(m_length); }
    QList<LMMedia::Ptr> videos() const override
    {
        return {std::make_shared<LMMedia>(nullptr, QStringLiteral("slideshow"))};
    }
    QSizeF outputVideoSize() const override { return m_size; }
    void setOutputVideoSize(const QSizeF& size) override { m_size = size; }

private:
    double m_length;
    QSizeF m_size;
};

// The project a test works on and the user folders it gives the settings.
// Editor tests also hand these to the document host of their editors as the
// open project.
struct MediaServices : OpenProject {
    std::shared_ptr<DVDResource> disc;
    std::shared_ptr<DataResource> media;
    QString supportFolder;
    QString videoFolder;

    std::shared_ptr<DVDResource> dvd() const override { return disc; }
    std::shared_ptr<DataResource> dateResource() const override { return media; }
};

// Makes the project and fresh folders for one test.
class MediaSideTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        services = std::make_shared<MediaServices>();
        services->supportFolder = dir.filePath("support/settings");
        services->videoFolder = dir.filePath("videos/out");
        services->disc = std::make_shared<DVDResource>();
        services->media = std::make_shared<DataResource>();
        QDir().mkpath(dir.filePath("temp-photo"));
        PhotoItem::updateAppTempPath(dir.filePath("temp-photo"));
    }

    // The test's folders for the user settings.
    UserConfig::Folders userFolders() const
    {
        return {services->supportFolder, services->videoFolder};
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A generated clip (160 x 120 unless told), with a tone.
    QString clip(const QString& name, double length, int width = 160, int height = 120,
                 bool audio = true) const
    {
        const QString file = path(name);
        EXPECT_TRUE(testsupport::makeTestClip(file, length, width, height, audio));
        return file;
    }

    // A picture file of one colour.
    QString picture(const QString& name, QColor colour, QSize size = QSize(64, 48)) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = path(name);
        EXPECT_TRUE(image.save(file));
        return file;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    std::shared_ptr<MediaServices> services;
};

// The project archive: {"DataResourceData": media side, "DVDData": disc side}.
inline QByteArray archiveProject(const std::shared_ptr<DataResource>& media,
                                 const std::shared_ptr<DVDResource>& disc)
{
    Value::Dictionary root;
    root.insert("DataResourceData", Value(media));
    root.insert("DVDData", Value(disc));
    return KeyedArchiver::archivedData(Value(root));
}

struct Project {
    std::shared_ptr<DataResource> media;
    std::shared_ptr<DVDResource> disc;
};

inline Project unarchiveProject(const QByteArray& data)
{
    const auto result = KeyedUnarchiver::unarchive(data);
    EXPECT_TRUE(result.root.has_value()) << result.error.toStdString();
    if (!result.root) {
        return {};
    }
    const auto& root = result.root->dictionary();
    return {root.value("DataResourceData").objectAs<DataResource>(),
            root.value("DVDData").objectAs<DVDResource>()};
}

// The same project as the open one: the editor tests hand `services` to the
// document host their editors are made with.
class OpenProjectTest : public MediaSideTest {};

}  // namespace mediatest
