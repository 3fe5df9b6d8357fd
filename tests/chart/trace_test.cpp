#include "chart/trace.h"
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Op = DrawCall::Op;

Component Series(int32_t kind, double value) {
    Component c;
    c.kind = kind;
    c.placement = PLACE_SERIES;
    c.resistance = c.capacitance = c.inductance = value;
    return c;
}

TEST(Trace, ShortTraceIsTwoSegments) {
    RecordedDraw d;
    d.sc.AddComponent(Series(KIND_RESISTOR, 10));
    d.Draw(8000, 4000);
    const auto segments = d.CallsWithPen(Op::LineTo, kActiveTrace);
    ASSERT_EQ(segments.size(), 2u);
    const SmithChrt& sc = d.sc;
    EXPECT_EQ(segments[0].from, sc.ZToScreen({50, 0}));
    EXPECT_EQ(segments[0].to, sc.ZToScreen({50.2, 0}));
    EXPECT_EQ(segments[1].from, segments[0].to);
    EXPECT_EQ(segments[1].to, sc.ZToScreen({60, 0}));
    EXPECT_EQ(sc.endZ, (Complex{60, 0}));
}

TEST(Trace, LongTraceSegmentsStayWithinTheBand) {
    RecordedDraw d;
    d.sc.AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    d.sc.components[0].inductance *= 4;
    d.Draw();
    const auto segments = d.CallsWithPen(Op::LineTo, kActiveTrace);
    ASSERT_GT(segments.size(), 3u);
    for (size_t i = 0; i + 1 < segments.size(); ++i) {
        const double k = d.sc.ScreenDistancePercent(segments[i].from, segments[i].to);
        EXPECT_GE(k, 0.001);
        EXPECT_LE(k, 10.0);
    }
    // A series reactance from Z0 keeps to the resistance circle through the centre.
    for (const DrawCall& s : segments) {
        const double r = std::hypot(s.to.x - 705.0, s.to.y + 200.0);
        EXPECT_NEAR(r, 95.0, 2.0);
    }
}

TEST(Trace, ActiveTraceIsThickBlueOthersThinBlack) {
    RecordedDraw d;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.sc.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    d.sc.activeIndex = 0;
    d.Draw();
    const auto thin = d.CallsWithPen(Op::LineTo, kInactiveTrace);
    const auto thick = d.CallsWithPen(Op::LineTo, kActiveTrace);
    ASSERT_FALSE(thin.empty());
    ASSERT_FALSE(thick.empty());
    EXPECT_EQ(thick.front().from, d.sc.ZToScreen(d.sc.startZ));
    EXPECT_EQ(thick.back().to, thin.front().from);
    EXPECT_EQ(thin.back().to, d.sc.ZToScreen(d.sc.endZ));
}

TEST(Trace, MarkersAtJunctionsEndAndGoal) {
    RecordedDraw d;
    for (int i = 0; i < 3; ++i) {
        d.sc.AddComponent(NewCapacitor(i % 2 == 0 ? PLACE_SERIES : PLACE_SHUNT, 50, 1000));
    }
    d.Draw();
    auto markers = [&](Rgb colour) { return d.CallsWithPen(Op::Circle, MarkerPen(colour)); };
    EXPECT_EQ(markers({0, 255, 255}).size(), 1u);
    EXPECT_EQ(markers({0, 0, 0}).size(), 2u);
    EXPECT_EQ(markers({0, 0, 255}).size(), 1u);
    EXPECT_EQ(markers({0, 255, 0}).size(), 2u);
    // The marker circle has a radius of one seventy-fifth of the chart radius: T(2.53) = 2.
    const DrawCall end = markers({0, 0, 255})[0];
    const Point p = d.sc.ZToScreen(d.sc.endZ);
    EXPECT_EQ(end.box, (Rect{p.x + 2, p.y + 2, p.x - 2, p.y - 2}));
}

TEST(Trace, GoalMarkerOnceWithoutComponents) {
    RecordedDraw d;
    d.sc.maxNetworkQ = 7;
    d.Draw();
    EXPECT_EQ(d.CallsWithPen(Op::Circle, MarkerPen({0, 255, 0})).size(), 1u);
    EXPECT_EQ(d.sc.maxNetworkQ, 0.0);
}

TEST(Trace, QCurveIsLimitedToTen) {
    RecordedDraw d;
    d.sc.startZ = {10, 250};
    d.sc.showQArcs = 1;
    d.sc.AddComponent(Series(KIND_RESISTOR, 0));
    d.Draw();
    EXPECT_EQ(d.sc.maxNetworkQ, 25.0);
    const auto q = d.CallsWithPen(Op::LineTo, kQPen);
    ASSERT_EQ(q.size(), 102u);
    const double r1 = 0.001 * 50;
    EXPECT_EQ(q[0].from, d.sc.ZToScreen({r1, 10 * r1}));
    EXPECT_EQ(q[1].from, d.sc.ZToScreen({r1, -10 * r1}));
    const double rLast = std::pow(10.0, 51 * 0.0196078431372549 * std::log10(50000.0)) * 0.001 * 50;
    EXPECT_EQ(q[100].to, d.sc.ZToScreen({rLast, 10 * rLast}));
}

TEST(Trace, QCurveOnTheAxisWithoutComponents) {
    RecordedDraw d;
    d.sc.showQArcs = 1;
    d.Draw();
    for (const DrawCall& c : d.CallsWithPen(Op::LineTo, kQPen)) {
        EXPECT_EQ(c.from.y, -200);
        EXPECT_EQ(c.to.y, -200);
    }
}

TEST(Trace, StubsStartAtTheirInputImpedance) {
    for (const int32_t placement : {PLACE_TL_SHUNT_OPEN, PLACE_TL_SHUNT_SHORTED}) {
        RecordedDraw d;
        d.sc.startZ = {25, 10};
        d.sc.AddComponent(NewLine(placement, 50, 1000));
        d.Draw();
        const auto segments = d.CallsWithPen(Op::LineTo, kActiveTrace);
        ASSERT_FALSE(segments.empty());
        EXPECT_EQ(segments.front().from, d.sc.ZToScreen({25, 10}));
        EXPECT_EQ(segments.back().to, d.sc.ZToScreen(d.sc.endZ));
    }
}

TEST(Trace, PickAnchorsAndEndZ) {
    RecordedDraw d;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.sc.AddComponent(NewCapacitor(PLACE_SHUNT, 50, 1000));
    d.Draw();
    const Point a = d.sc.ZToScreen({50, 0});
    const Point b = d.sc.ZToScreen({50, -50});
    EXPECT_EQ(d.sc.tracePoints[0], (Point{(a.x + b.x) / 2, (a.y + b.y) / 2}));
    // Header of three lines, then one line per component, 16 units each.
    EXPECT_EQ(d.sc.labelPoints[0], (Point{0, -64 + 8}));
    EXPECT_EQ(d.sc.labelPoints[1], (Point{0, -80 + 8}));
    EXPECT_NEAR(d.sc.endZ.re, 10.0, 1e-9);
    EXPECT_NEAR(d.sc.endZ.im, -30.0, 1e-9);
}

TEST(Trace, UnknownKindStopsPlotting) {
    RecordedDraw d;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.sc.AddComponent(Series(99, 1));
    d.sc.endZ = {1, 2};
    d.Draw();
    EXPECT_EQ(d.messages.messages,
              (std::vector<std::string>{"default case in plotcomponents type checking",
                                        "problem plotting components"}));
    EXPECT_EQ(d.sc.endZ, (Complex{1, 2}));
    EXPECT_TRUE(d.CallsWithPen(Op::Circle, MarkerPen({0, 0, 255})).empty());
}

TEST(Trace, BadPlacementIsReportedOncePerDraw) {
    RecordedDraw d;
    Component c = Series(KIND_CAPACITOR, 3);
    c.placement = 7;
    d.sc.AddComponent(c);
    d.sc.AddComponent(c);
    d.Draw();
    EXPECT_EQ(d.messages.messages,
              (std::vector<std::string>{"AddImpedancePercent -- you never should have gotten here!",
                                        "You never should have reached this point!"}));
    // Without a previous word the line starts with the description.
    const auto lines = d.Calls([](const DrawCall& c) { return c.text.rfind(" CAP 3.00", 0) == 0; });
    EXPECT_EQ(lines.size(), 2u);
}

TEST(Trace, TinyRadiusSkipsTheStepping) {
    RecordedDraw d;
    d.sc.AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    d.Draw(1, 1);
    EXPECT_TRUE(d.CallsWithPen(Op::LineTo, kActiveTrace).empty());
    EXPECT_NEAR(d.sc.endZ.im, 50.0, 1e-9);
}

} // namespace
