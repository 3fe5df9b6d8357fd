#include "chart/grid.h"
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

namespace {

using Op = DrawCall::Op;

TEST(Grid, RimAndAxisOf800x400) {
    RecordedDraw d;
    d.Draw();
    EXPECT_EQ(d.sc.clientRect, (Rect{0, 0, 800, -400}));
    const auto rim = d.CallsWithPen(Op::Ellipse, kRimPen);
    ASSERT_EQ(rim.size(), 1u);
    EXPECT_EQ(rim[0].box, (Rect{420, -10, 800, -390}));
    EXPECT_EQ(rim[0].brush, Brush::White);
    const auto axis = d.CallsWithPen(Op::LineTo, kRimPen);
    ASSERT_EQ(axis.size(), 1u);
    EXPECT_EQ(axis[0].from, (Point{420, -200}));
    EXPECT_EQ(axis[0].to, (Point{800, -200}));
}

TEST(Grid, FillsWhiteFirstAndDrawsTheRimAfterTheHeader) {
    RecordedDraw d;
    d.Draw();
    const auto& calls = d.surface.calls;
    auto firstOf = [&](Op op) {
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].op == op) {
                return i;
            }
        }
        return calls.size();
    };
    EXPECT_LT(firstOf(Op::FillWhite), firstOf(Op::Text));
    EXPECT_EQ(calls[firstOf(Op::FillWhite)].box, (Rect{0, 0, 800, -400}));
    EXPECT_LT(firstOf(Op::Text), firstOf(Op::Ellipse));
}

// Centre x and radius of a circle box on the axis.
std::pair<int32_t, int32_t> CentreAndRadius(const Rect& b) {
    return {(b.left + b.right) / 2, (b.right - b.left) / 2};
}

TEST(Grid, ResistanceCirclesFollowTheGridValues) {
    RecordedDraw d;
    d.Draw();
    const auto circles = d.CallsWithPen(Op::Circle, kImpedancePen);
    ASSERT_EQ(circles.size(), GRID_VALUES.size());
    EXPECT_EQ(CentreAndRadius(circles[5].box), std::make_pair(705, 95));  // v = 1.0
    EXPECT_EQ(CentreAndRadius(circles[2].box), std::make_pair(657, 142)); // v = 0.333
    EXPECT_EQ(circles[10].box, (Rect{782 - 17, -200 + 17, 782 + 17, -200 - 17}));
}

TEST(Grid, ReactanceArcsRunFromTheRimToTheAxisEnd) {
    RecordedDraw d;
    d.Draw();
    const auto arcs = d.CallsWithPen(Op::Arc, kImpedancePen);
    ASSERT_EQ(arcs.size(), 22u);
    const DrawCall& plusOne = arcs[2 * 5];
    EXPECT_EQ(plusOne.box, (Rect{610, 180, 990, -200}));
    EXPECT_EQ(plusOne.from, (Point{610, -10}));
    EXPECT_EQ(plusOne.to, (Point{800, -200}));
    const DrawCall& minusOne = arcs[2 * 5 + 1];
    EXPECT_EQ(minusOne.box, (Rect{610, -200, 990, -580}));
    EXPECT_EQ(minusOne.from, (Point{800, -200}));
    EXPECT_EQ(minusOne.to, (Point{610, -390}));
    EXPECT_EQ(arcs[0].box.right - arcs[0].box.left, 2 * 1900); // v = 0.1
}

TEST(Grid, AdmittanceDoublesTheGrid) {
    RecordedDraw d;
    d.sc.showAdmittance = 1;
    d.Draw();
    const auto circles = d.CallsWithPen(Op::Circle, kAdmittancePen);
    const auto arcs = d.CallsWithPen(Op::Arc, kAdmittancePen);
    ASSERT_EQ(circles.size(), 11u);
    ASSERT_EQ(arcs.size(), 22u);
    EXPECT_EQ(d.CallsWithPen(Op::Circle, kImpedancePen).size(), 11u);
    EXPECT_EQ(d.CallsWithPen(Op::Arc, kImpedancePen).size(), 22u);
    EXPECT_EQ(CentreAndRadius(circles[5].box), std::make_pair(515, 95));
    EXPECT_EQ(CentreAndRadius(circles[0].box), std::make_pair(438, 17));
    EXPECT_EQ(CentreAndRadius(circles[10].box), std::make_pair(593, 172));
    const DrawCall& upper = arcs[2 * 5];
    const DrawCall& lower = arcs[2 * 5 + 1];
    EXPECT_EQ(upper.box, (Rect{230, 180, 610, -200}));
    EXPECT_EQ(upper.to, (Point{610, -10}));
    EXPECT_EQ(lower.from, (Point{610, -390}));
    for (size_t i = 0; i < arcs.size(); i += 2) {
        EXPECT_EQ(arcs[i].from, (Point{420, -200}));
        EXPECT_EQ(arcs[i + 1].to, (Point{420, -200}));
    }
}

TEST(Grid, GammaModeLeavesTheGridAlone) {
    RecordedDraw plain;
    plain.Draw();
    RecordedDraw gamma;
    gamma.sc.gammaMode = 1;
    gamma.Draw();
    auto grid = [](const RecordedDraw& d) {
        return d.Calls([](const DrawCall& c) {
            return c.pen == kImpedancePen || c.pen == kRimPen || c.pen == kAdmittancePen;
        });
    };
    const auto a = grid(plain);
    const auto b = grid(gamma);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].box, b[i].box);
        EXPECT_EQ(a[i].from, b[i].from);
        EXPECT_EQ(a[i].to, b[i].to);
    }
}

} // namespace
