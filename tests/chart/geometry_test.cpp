#include "chart/chartgeometry.h"

#include <gtest/gtest.h>

namespace {

struct GeometryCase {
    int32_t width;
    int32_t height;
    double chartRadius;
    int32_t rimRadius;
    Point centre;
};

class GeometryTest : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryTest, ShorterSideSetsTheChart) {
    const GeometryCase& c = GetParam();
    const Rect logical = DeviceToLogical({0, 0, c.width, c.height});
    EXPECT_EQ(logical, (Rect{0, 0, c.width, -c.height}));
    const ChartGeometry g = ComputeChartGeometry(logical);
    EXPECT_EQ(g.chartRadius, c.chartRadius);
    EXPECT_EQ(g.rimRadius, c.rimRadius);
    EXPECT_EQ(g.chartCentre, c.centre);
}

INSTANTIATE_TEST_SUITE_P(Windows, GeometryTest,
                         ::testing::Values(GeometryCase{800, 400, 190.0, 190, {610, -200}},
                                           GeometryCase{301, 600, 142.975, 142, {159, -300}},
                                           // A tie takes the height.
                                           GeometryCase{400, 400, 190.0, 190, {210, -200}},
                                           GeometryCase{0, 0, 0.0, 0, {0, 0}},
                                           GeometryCase{7, 1, 0.475, 0, {7, 0}}));

TEST(PrintingRule, WideWindowOnTallPageKeepsTheWidth) {
    const Rect r = ApplyPrintingRule(800, 400, {0, 0, 4800, 6400}, 1.0);
    EXPECT_EQ(r, (Rect{0, 0, 4800, 2400}));
}

TEST(PrintingRule, TallWindowKeepsThePageHeight) {
    const Rect r = ApplyPrintingRule(300, 900, {10, 20, 4810, 6420}, 1.0);
    // wr = 16, hr = 7.11..: hNew = 14400 > wNew = 2133, so the width shrinks.
    EXPECT_EQ(r, (Rect{10, 20, 10 + 2133, 6420}));
}

TEST(PrintingRule, NonSquareDotsScaleBothCandidates) {
    const Rect r = ApplyPrintingRule(800, 400, {0, 0, 4800, 6400}, 2.0);
    EXPECT_EQ(r, (Rect{0, 0, 4800, 4800}));
}

TEST(PrintingRule, EmptyClientAreaUsesTheWholePage) {
    const Rect page{0, 0, 4800, 6400};
    EXPECT_EQ(ApplyPrintingRule(0, 400, page, 1.0), page);
    EXPECT_EQ(ApplyPrintingRule(800, 0, page, 1.0), page);
    EXPECT_EQ(ApplyPrintingRule(-5, -5, page, 1.0), page);
}

TEST(Coordinates, InvalidCoordinatesPropagate) {
    EXPECT_EQ(AddCoord(kInvalidCoordinate, 5), kInvalidCoordinate);
    EXPECT_EQ(AddCoord(INT32_MAX, 1), kInvalidCoordinate);
    EXPECT_EQ(AddCoord(-3, 5), 2);
}

} // namespace
