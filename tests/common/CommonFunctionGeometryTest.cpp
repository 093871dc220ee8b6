// Rectangle arithmetic, angles and the perspective helpers of CommonFunction.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <ostream>

#include "common/CommonFunction.h"

namespace {

void expectRectNear(const QRectF& actual, const QRectF& expected, double tolerance)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

enum class Fit { In, Full, Contain };

struct FitCase {
    const char* name;
    Fit fit;
    QRectF rect;
    QRectF box;
    QRectF expected;
    double tolerance = 1e-9;
};

void PrintTo(const FitCase& c, std::ostream* os)
{
    *os << c.name;
}

const FitCase kFitCases[] = {
    {"wide_into_square", Fit::In, {0, 0, 200, 100}, {0, 0, 100, 100}, {0, 25, 100, 50}},
    {"small_is_enlarged", Fit::In, {0, 0, 50, 25}, {0, 0, 200, 200}, {0, 50, 200, 100}},
    // The floor 0.01 is single precision too.
    {"enlarged_at_most_100_times",
     Fit::In,
     {0, 0, 1, 1},
     {0, 0, 1000, 1000},
     {450, 450, 100, 100},
     1e-5},
    {"empty_goes_to_box_centre", Fit::In, {0, 0, 0, 0}, {10, 20, 100, 100}, {60, 70, 0, 0}},
    {"box_offset", Fit::In, {5, 5, 100, 200}, {10, 10, 100, 100}, {35, 10, 50, 100}},
    // A frame inset past its size must not blow the picture up 100 times.
    {"negative_box_gives_nothing", Fit::In, {0, 0, 200, 100}, {0, 0, -2, -2}, {-1, -1, 0, 0}},
    {"negative_rect_gives_nothing", Fit::In, {0, 0, -5, -5}, {0, 0, 100, 100}, {50, 50, 0, 0}},
    {"fill_wide_into_square", Fit::Full, {0, 0, 200, 100}, {0, 0, 100, 100}, {-50, 0, 200, 100}},
    {"fill_small_is_enlarged",
     Fit::Full,
     {0, 0, 40, 20},
     {0, 0, 100, 100},
     {-50, 0, 200, 100},
     1e-5},
    {"contain_already_covers", Fit::Contain, {3, 4, 200, 200}, {0, 0, 100, 100}, {3, 4, 200, 200}},
    // Covering one direction is not enough: enlarged until it covers both.
    {"contain_covers_one_way",
     Fit::Contain,
     {0, 0, 200, 50},
     {0, 0, 100, 100},
     {-50, 25, 400, 100}},
    {"contain_empty_unchanged", Fit::Contain, {1, 2, 0, 50}, {0, 0, 100, 100}, {1, 2, 0, 50}},
    {"contain_enlarges", Fit::Contain, {0, 0, 50, 100}, {0, 0, 100, 100}, {25, 0, 100, 200}},
    {"contain_negative_box_unchanged",
     Fit::Contain,
     {0, 0, 50, 50},
     {0, 0, -10, -10},
     {0, 0, 50, 50}},
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, MatchesWorkedExample)
{
    const FitCase& c = GetParam();
    QRectF result;
    switch (c.fit) {
        case Fit::In:
            result = CommonFunction::scaleRectIn(c.rect, c.box);
            break;
        case Fit::Full:
            result = CommonFunction::scaleRectFull(c.rect, c.box);
            break;
        case Fit::Contain:
            result = CommonFunction::scaleRectContain(c.rect, c.box);
            break;
    }
    expectRectNear(result, c.expected, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(CommonFunction, FitTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The ratio 1.6 is rounded to single precision before use, so the fitted
// rectangle misses the box by a few millionths.
TEST(CommonFunctionFit, RatiosAreSinglePrecision)
{
    const QRectF fitted = CommonFunction::scaleRectIn({0, 0, 160, 90}, {0, 0, 100, 100});
    expectRectNear(fitted, {0, 21.875, 100, 56.25}, 5e-6);
    EXPECT_NE(fitted.width(), 100.0);
    EXPECT_DOUBLE_EQ(fitted.width(), 160.0 / static_cast<double>(1.6f));
    EXPECT_NE(fitted.height(), 56.25);
}

TEST(CommonFunctionFit, MinLengthUsesBoxAtCentre)
{
    // The box is {centre x, centre y, 20, 20}: f = 0.5, the origin moves by
    // (15, 15) - (5, 5).
    expectRectNear(CommonFunction::scaleRectMinLength({0, 0, 10, 10}, 20), {10, 10, 20, 20}, 1e-9);
    expectRectNear(CommonFunction::scaleRectMinLength({0, 0, 30, 30}, 20), {0, 0, 30, 30}, 0);
}

TEST(CommonFunctionRect, CentreAndCorners)
{
    const QPointF p(10, 40);
    const QPointF q(-5, 15);
    EXPECT_EQ(CommonFunction::rectForPoint(p, q), QRectF(-5, 15, 15, 25));
    EXPECT_EQ(CommonFunction::rectForPoint(q, p), QRectF(-5, 15, 15, 25));
    EXPECT_EQ(CommonFunction::rectForPoint(p, p), QRectF(10, 40, 0, 0));
    EXPECT_EQ(CommonFunction::rectForCenter({10, 10}, {4, 6}), QRectF(8, 7, 4, 6));
    EXPECT_EQ(CommonFunction::centerForRect({8, 7, 4, 6}), QPointF(10, 10));
}

TEST(CommonFunctionRect, ScaleConversions)
{
    EXPECT_FLOAT_EQ(CommonFunction::convertLength(10, 0.5f), 5);
    EXPECT_EQ(CommonFunction::convertSize({4, 6}, 0.5f), QSizeF(2, 3));
    EXPECT_EQ(CommonFunction::convertPoint({4, 6}, 2), QPointF(8, 12));
    EXPECT_EQ(CommonFunction::convertRect({1, 2, 3, 4}, 0.5f), QRectF(0.5, 1, 1.5, 2));
}

TEST(CommonFunctionRect, MinAndMaxIgnoreNaN)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(CommonFunction::minOfOne(3, -1, 7, 2), -1);
    EXPECT_EQ(CommonFunction::maxOfOne(3, -1, 7, 2), 7);
    EXPECT_EQ(CommonFunction::minOfOne(nan, 4, 5, 6), 4);
    EXPECT_EQ(CommonFunction::maxOfOne(1, 2, 3, nan), 3);
}

struct AngleCase {
    QPointF point;
    double expected;
};

TEST(CommonFunctionAngle, Quadrants)
{
    constexpr double pi = std::numbers::pi;
    const AngleCase cases[] = {
        {{1, 0}, 0},           {{0, 1}, pi / 2},      {{-1, 0}, pi}, {{0, -1}, 3 * pi / 2},
        {{1, -1}, 7 * pi / 4}, {{-2, 2}, 3 * pi / 4}, {{0, 0}, 0},  // no direction: 0 rather than
                                                                    // NaN
    };
    for (const AngleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << ", " << c.point.y());
        EXPECT_NEAR(CommonFunction::angleForPoint(c.point), c.expected, 1e-6);
    }
}

TEST(CommonFunctionAngle, ProjectionLength)
{
    const QPointF p = CommonFunction::pointForLength(2, std::numbers::pi_v<float> / 2);
    EXPECT_NEAR(p.x(), 0, 1e-6);
    EXPECT_NEAR(p.y(), 2, 1e-6);
    // (3, 4) from (1, 1) projected on the direction towards (5, 1): 2.
    EXPECT_NEAR(CommonFunction::lengthForFixed({1, 1}, {5, 1}, {3, 5}), 2, 1e-5);
    // Projection length is unsigned.
    EXPECT_NEAR(CommonFunction::lengthForFixed({0, 0}, {1, 0}, {-3, 4}), 3, 1e-5);
}

Transform3D perspective()
{
    Transform3D t;
    t.m11 = 0.9;
    t.m12 = 0.1;
    t.m21 = -0.2;
    t.m22 = 1.1;
    t.m14 = 0.002;
    t.m24 = -0.001;
    t.m41 = 12;
    t.m42 = -7;
    return t;
}

TEST(CommonFunctionTransform, IdentityAndTranslation)
{
    Transform3D t;
    EXPECT_EQ(CommonFunction::convertPointFromTransform({3, 4}, t), QPointF(3, 4));
    t.m41 = 10;
    t.m42 = -2;
    EXPECT_EQ(CommonFunction::convertPointFromTransform({3, 4}, t), QPointF(13, 2));
    const QPointF back = CommonFunction::convertPointToTransform({13, 2}, t);
    EXPECT_NEAR(back.x(), 3, 1e-5);
    EXPECT_NEAR(back.y(), 4, 1e-5);
}

TEST(CommonFunctionTransform, ToTransformInvertsFromTransform)
{
    const Transform3D t = perspective();
    for (const QPointF p : {QPointF(0, 0), QPointF(50, -20), QPointF(-100, 80)}) {
        const QPointF projected = CommonFunction::convertPointFromTransform(p, t);
        const QPointF back = CommonFunction::convertPointToTransform(projected, t);
        EXPECT_NEAR(back.x(), p.x(), 1e-3);
        EXPECT_NEAR(back.y(), p.y(), 1e-3);
    }
}

TEST(CommonFunctionTransform, WidthProjectsToLength)
{
    EXPECT_FLOAT_EQ(CommonFunction::widthForLength(100, Transform3D()), 100);
    Transform3D scaled;
    scaled.m22 = 4;
    EXPECT_FLOAT_EQ(CommonFunction::heightForLength(100, scaled), 25);

    Transform3D t;
    t.m14 = 0.002;
    const float width = CommonFunction::widthForLength(100, t);
    const QPointF left = CommonFunction::convertPointFromTransform({-width / 2.0, 0}, t);
    const QPointF right = CommonFunction::convertPointFromTransform({width / 2.0, 0}, t);
    EXPECT_NEAR(right.x() - left.x(), 100, 1e-3);
}

TEST(CommonFunctionTransform, RectFromCornersWithIdentity)
{
    const QRectF r = CommonFunction::rectForPoint({10, 5}, {-10, -5}, Transform3D());
    expectRectNear(r, {-10, -5, 20, 10}, 1e-5);
}

// Degenerate transforms divide by zero; the results are not finite but the
// calls return.
TEST(CommonFunctionTransform, DegenerateTransformsDoNotCrash)
{
    Transform3D zero{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    (void)CommonFunction::convertPointFromTransform({1, 1}, zero);
    (void)CommonFunction::convertPointToTransform({1, 1}, zero);
    (void)CommonFunction::widthForLength(10, zero);
    (void)CommonFunction::heightForLength(10, zero);
    (void)CommonFunction::rectForPoint({1, 1}, {1, 1}, zero);
    const QPointF w = CommonFunction::convertPointFromTransform({1, 1}, zero);
    EXPECT_EQ(w, QPointF(0, 0));  // w is floored at 0.01
}

}  // namespace
