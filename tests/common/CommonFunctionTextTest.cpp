// Time strings, the SHA-256 digest, the system version and full subviews.

#include <gtest/gtest.h>

#include <QSysInfo>
#include <QWidget>
#include <limits>

#include "common/CommonFunction.h"
#include "common/widgets/CommonFunctionViews.h"

namespace {

struct TimeCase {
    float seconds;
    const char* expected;
};

TEST(CommonFunctionTime, TimeStrings)
{
    const TimeCase cases[] = {
        {-5, "00:00:00"},
        {0, "00:00:00"},
        {59.99f, "00:00:59"},
        {3661.5f, "01:01:01"},
        {360000, "100:00:00"},
        // Beyond 32 bits and NaN: saturated, never undefined.
        {1e20f, "596523:14:07"},
        {std::numeric_limits<float>::quiet_NaN(), "00:00:00"},
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(CommonFunction::timeStrFromSecond(c.seconds), QString::fromUtf8(c.expected));
    }
}

TEST(CommonFunctionTime, ShortTimeStrings)
{
    const TimeCase cases[] = {
        {3725, "62:05"},
        {59.9f, "00:59"},
        {0, "00:00"},
        {-65, "-1:-5"},  // not clamped: division and remainder truncate toward zero
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(CommonFunction::shortTimeStrFromSecond(c.seconds), QString::fromUtf8(c.expected));
    }
}

TEST(CommonFunctionHash, Sha256Hex)
{
    const QString empty =
        QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(CommonFunction::shaString(QString()), empty);
    EXPECT_EQ(CommonFunction::shaString(QStringLiteral("")), empty);
    EXPECT_EQ(CommonFunction::shaString(QStringLiteral("abc")),
              QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    // UTF-8 bytes, not UTF-16.
    EXPECT_EQ(CommonFunction::shaString(QString::fromUtf8("é")),
              QStringLiteral("4a99557e4033c3539de2eb65472017cad5f9557f7a0625a09f1c3f6e2ba69c4c"));
}

struct VersionCase {
    const char* release;
    bool ok;
    quint32 major, minor, bugFix;
};

TEST(CommonFunctionSystem, ParseVersion)
{
    const VersionCase cases[] = {
        {"6.1.0-18-amd64", true, 6, 1, 0},
        {"10.6.8", true, 10, 6, 8},
        {"5.15.90.1-microsoft-standard", true, 5, 15, 90},
        {"", false, 0, 0, 0},
        {"linux", false, 0, 0, 0},
        {"6.1", false, 0, 0, 0},
        {"6.x.0", false, 0, 0, 0},
        {"99999999999.1.0", false, 0, 0, 0},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.release);
        quint32 major = 77, minor = 77, bugFix = 77;
        EXPECT_EQ(CommonFunction::parseSystemVersion(QString::fromUtf8(c.release), &major, &minor,
                                                     &bugFix),
                  c.ok);
        if (c.ok) {
            EXPECT_EQ(major, c.major);
            EXPECT_EQ(minor, c.minor);
            EXPECT_EQ(bugFix, c.bugFix);
        } else {  // nothing written on failure
            EXPECT_EQ(major, 77u);
            EXPECT_EQ(minor, 77u);
            EXPECT_EQ(bugFix, 77u);
        }
    }
    EXPECT_TRUE(
        CommonFunction::parseSystemVersion(QStringLiteral("1.2.3"), nullptr, nullptr, nullptr));
}

TEST(CommonFunctionSystem, RunningSystem)
{
    quint32 major = 0, minor = 0, bugFix = 0;
    ASSERT_TRUE(CommonFunction::getSystemVersionMajor(&major, &minor, &bugFix));
    const QString release = QSysInfo::kernelVersion();
    EXPECT_TRUE(release.startsWith(QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(bugFix)))
        << release.toStdString();
    EXPECT_FALSE(CommonFunction::OSIsSnowLeopard());
}

TEST(CommonFunctionView, FullSubview)
{
    QWidget superview;
    superview.resize(300, 200);
    superview.show();
    auto* view = new QWidget;
    view->setGeometry(5, 5, 10, 10);
    CommonFunctionViews::setFullSubview(view, &superview);
    EXPECT_EQ(view->parentWidget(), &superview);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 300, 200));
    EXPECT_TRUE(view->isVisible());

    // A view hidden on purpose stays hidden.
    auto* hidden = new QWidget;
    hidden->hide();
    CommonFunctionViews::setFullSubview(hidden, &superview);
    EXPECT_EQ(hidden->parentWidget(), &superview);
    EXPECT_EQ(hidden->geometry(), QRect(0, 0, 300, 200));
    EXPECT_FALSE(hidden->isVisible());

    // Without a superview the frame becomes a zero rectangle.
    QWidget lone;
    lone.setGeometry(5, 5, 10, 10);
    CommonFunctionViews::setFullSubview(&lone, nullptr);
    EXPECT_EQ(lone.size(), QSize(0, 0));
    EXPECT_EQ(lone.parentWidget(), nullptr);
    CommonFunctionViews::setFullSubview(nullptr, &superview);  // no crash
}

}  // namespace
