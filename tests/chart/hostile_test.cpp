#include "chart/trace.h"
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kHostile[] = {kNaN, kInf, -kInf, 0.0, -0.0, 1e300, -1e300, 1e-300, 5e15};

// Every kind in every placement, with one value put into every field.
void FillNetwork(SmithChrt& sc, double v) {
    sc.componentCount = 0;
    sc.activeIndex = 0;
    int32_t kind = KIND_RESISTOR;
    int32_t placement = PLACE_SERIES;
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c;
        c.kind = kind;
        c.placement = placement;
        c.resistance = c.capacitance = c.inductance = c.lineZ0 = c.lineAngle = c.lineFreq = v;
        c.tunedElement = 1;
        sc.AddComponent(c);
        kind = kind == KIND_SERIES_RLC ? KIND_RESISTOR : kind + 1;
        placement = placement == PLACE_TL_SHUNT_SHORTED ? PLACE_SERIES : placement + 1;
    }
}

// Every draw must come back; the recorded calls stay within the per-trace bounds.
void DrawAndCheck(RecordedDraw& d, int32_t w, int32_t h) {
    d.Draw(w, h);
    const size_t bound = 1000 + static_cast<size_t>(MAX_COMPONENTS) * 2 * (kMaxTracePoints + 1);
    EXPECT_LT(d.surface.calls.size(), bound);
    for (const DrawCall& c : d.surface.calls) {
        if (c.op == DrawCall::Op::LineTo) {
            EXPECT_NE(c.to.x, kInvalidCoordinate);
            EXPECT_NE(c.to.y, kInvalidCoordinate);
            EXPECT_NE(c.from.x, kInvalidCoordinate);
        }
    }
    // However often a message was raised, it reaches the sink once per draw.
    std::vector<std::string> seen;
    for (const std::string& m : d.messages.messages) {
        EXPECT_EQ(std::count(seen.begin(), seen.end(), m), 0) << m;
        seen.push_back(m);
    }
    d.messages.messages.clear();
}

class HostileValues : public ::testing::TestWithParam<double> {};

TEST_P(HostileValues, InEveryComponentField) {
    RecordedDraw d;
    FillNetwork(d.sc, GetParam());
    d.sc.showQArcs = 1;
    d.sc.showVswrCircles = true;
    d.sc.showAdmittance = 1;
    DrawAndCheck(d, 800, 400);
    d.sc.gammaMode = 1;
    DrawAndCheck(d, 3000, 7000);
}

TEST_P(HostileValues, InEveryDocumentField) {
    const double v = GetParam();
    RecordedDraw d;
    FillNetwork(d.sc, 50);
    d.sc.startZ = {v, v};
    d.sc.goalZ = {v, -v};
    d.sc.frequency = v;
    d.sc.tunePercent = v;
    d.sc.showQArcs = 1;
    d.sc.showVswrCircles = true;
    d.sc.showAdmittance = 1;
    DrawAndCheck(d, 800, 400);
    d.sc.chartZ0 = {v, 0};
    DrawAndCheck(d, 800, 400);
    d.sc.chartZ0 = {50, v};
    DrawAndCheck(d, 1, 1);
    DrawAndCheck(d, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(Values, HostileValues, ::testing::ValuesIn(kHostile));

TEST(Hostile, CountsAndIndicesOutOfRange) {
    RecordedDraw d;
    FillNetwork(d.sc, 50);
    for (const int32_t count : {-7, 26, INT32_MAX}) {
        d.sc.componentCount = count;
        d.sc.activeIndex = -count;
        DrawAndCheck(d, 800, 400);
    }
}

TEST(Hostile, HugeWindowAndUnreachableEnd) {
    RecordedDraw d;
    Component c = NewCapacitor(PLACE_SERIES, 50, 1000);
    c.capacitance = 1e-30; // practically an open circuit: the trace runs to the rim's edge
    d.sc.AddComponent(c);
    d.sc.AddComponent(NewLine(PLACE_TL_SERIES, 50, 1000));
    d.sc.components[1].lineAngle = 1e18;
    DrawAndCheck(d, 2000000000, 2000000000);
    DrawAndCheck(d, 800, 400);
}

TEST(Hostile, EndWithoutAChartPointStopsAtThePointBound) {
    RecordedDraw d;
    Component c = NewResistor(PLACE_SERIES, -100); // ends at -Z0, which has no chart point
    d.sc.AddComponent(c);
    d.Draw();
    EXPECT_EQ(d.sc.endZ, (Complex{-50, 0}));
    const auto segments = d.CallsWithPen(DrawCall::Op::LineTo, kActiveTrace);
    EXPECT_GT(segments.size(), 10u);
    EXPECT_LE(segments.size(), static_cast<size_t>(kMaxTracePoints));
    // The readout still closes normally.
    EXPECT_EQ(d.Texts().back().rfind(" VSWR=", 0), 0u);
}

// Lines of a huge impedance and angle: the traces and the figures are those of the angles reduced
// to one turn, and the ending impedance is the evaluation's.
TEST(Hostile, HugeLinesDrawAsTheirAnglesReducedToOneTurn) {
    RecordedDraw huge;
    RecordedDraw reduced;
    for (const double z0 : {5e204, 1e3, 5e204}) {
        Component c = NewLine(PLACE_TL_SERIES, 50, 1000);
        c.lineZ0 = z0;
        c.lineAngle = 1.6e211;
        huge.sc.AddComponent(c);
        c.lineAngle = std::fmod(c.lineAngle, 360);
        reduced.sc.AddComponent(c);
    }
    huge.Draw(1920, 1080);
    reduced.Draw(1920, 1080);
    for (const Pen pen : {kInactiveTrace, kActiveTrace}) {
        const auto a = huge.CallsWithPen(DrawCall::Op::LineTo, pen);
        const auto b = reduced.CallsWithPen(DrawCall::Op::LineTo, pen);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].to, b[i].to) << i;
        }
    }
    EXPECT_EQ(huge.sc.maxNetworkQ, reduced.sc.maxNetworkQ);
    SmithChrt evaluated = huge.sc;
    ASSERT_TRUE(evaluated.EvaluateCascade());
    EXPECT_EQ(huge.sc.endZ, evaluated.endZ);
}

} // namespace

namespace {

// The trace segments of a draw and the network's maximum Q after it.
struct Traces {
    std::vector<std::pair<Point, Point>> segments;
    double maxQ = 0;
};

Traces TraceSegments(const RecordingSurface& surface, double maxQ) {
    Traces t{{}, maxQ};
    for (const DrawCall& c : surface.calls) {
        if (c.op == DrawCall::Op::LineTo && (c.pen == kInactiveTrace || c.pen == kActiveTrace)) {
            t.segments.emplace_back(c.from, c.to);
        }
    }
    return t;
}

// The oracle: each component's trace drawn alone, from the output of the one before.
Traces OneByOne(const SmithChrt& doc) {
    RecordedDraw d;
    d.sc = doc;
    d.Draw(); // the chart's geometry
    d.surface.calls.clear();
    SmithChrt& sc = d.sc;
    sc.surface = &d.surface;
    sc.maxNetworkQ = 0;
    const double startQ = std::fabs(sc.startZ.im) / sc.startZ.re;
    if (startQ > sc.maxNetworkQ) {
        sc.maxNetworkQ = startQ;
    }
    Complex cur = sc.startZ;
    double theta = 0;
    for (int32_t i = 0; i < sc.componentCount; ++i) {
        const Component& c = sc.components[i];
        sc.plottingActive = i == sc.activeIndex ? 1 : 0;
        Complex ze;
        double loss = 0;
        EXPECT_TRUE(sc.ElementAt(c, ze, theta, loss));
        cur = PlotComponentTrace(sc, cur, ze, c.placement, theta, loss);
    }
    sc.surface = nullptr;
    return TraceSegments(d.surface, sc.maxNetworkQ);
}

bool SameQ(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// A network that comes back to the centre before each huge line: every such trace spends its
// step adjustments from the same impedance, and a later one is drawn from the first.
SmithChrt HugeLinesFromTheCentre(double z0, double angle) {
    SmithChrt sc;
    sc.ResetForNewDocument();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewResistor(PLACE_SHUNT, 50);
        if (i % 2 == 0) {
            c = NewLine(PLACE_TL_SERIES, 50, 1000);
            c.lineZ0 = z0;
            c.lineAngle = angle;
        }
        sc.AddComponent(c);
    }
    sc.activeIndex = 4;
    return sc;
}

TEST(HostileTraces, RepeatedCostlyTracesDrawAsEachAlone) {
    SmithChrt ordinary;
    ordinary.ResetForNewDocument();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        ordinary.AddComponent(i % 3 == 0   ? NewLine(PLACE_TL_SHUNT_OPEN, 50, 1000)
                              : i % 3 == 1 ? NewInductor(PLACE_SERIES, 30, 1000)
                                           : NewCapacitor(PLACE_SHUNT, 20, 1000));
    }
    ordinary.showQArcs = 1;
    const struct {
        const char* name;
        SmithChrt doc;
    } docs[] = {
        {"huge lines", HugeLinesFromTheCentre(5e204, 1.6e211)},
        {"long lines", HugeLinesFromTheCentre(2, 1e6 + 0.5)},
        {"ordinary", ordinary},
    };
    for (const auto& [name, doc] : docs) {
        RecordedDraw d;
        d.sc = doc;
        d.Draw();
        const Traces drawn = TraceSegments(d.surface, d.sc.maxNetworkQ);
        const Traces alone = OneByOne(doc);
        EXPECT_FALSE(drawn.segments.empty()) << name;
        EXPECT_TRUE(drawn.segments == alone.segments) << name;
        EXPECT_TRUE(SameQ(drawn.maxQ, alone.maxQ))
            << name << " " << drawn.maxQ << " " << alone.maxQ;
    }
}

} // namespace
