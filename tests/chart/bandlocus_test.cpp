// The band on the chart: its locus, the junction loci, the end markers and the readout's band
// line, drawn by the one draw routine.
#include "chart/bandlocus.h"
#include "chart/chartgeometry.h"
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Op = DrawCall::Op;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A matched L network at 435 MHz (12.5-j8 to 50 ohm), band 400 to 470 MHz in 11 points.
void MatchedNetwork(SmithChrt& sc) {
    sc.frequency = 435;
    sc.startZ = {12.5, -8};
    sc.AddComponent(NewInductor(PLACE_SERIES, 20, 435));
    sc.AddComponent(NewCapacitor(PLACE_SHUNT, 40, 435));
    sc.band = {400, 470, 11, true, false};
}

// The runs of connected segments drawn with pen: one per MoveTo followed by LineTos.
std::vector<std::vector<Point>> Runs(const RecordedDraw& d, Pen pen) {
    std::vector<std::vector<Point>> runs;
    for (const DrawCall& c : d.surface.calls) {
        if (c.pen != pen || (c.op != Op::MoveTo && c.op != Op::LineTo)) {
            continue;
        }
        if (c.op == Op::MoveTo) {
            runs.push_back({c.to});
        } else {
            EXPECT_FALSE(runs.empty());
            EXPECT_EQ(c.from, runs.back().back()) << "a segment that does not join the last";
            runs.back().push_back(c.to);
        }
    }
    return runs;
}

// The readout lines: the texts written at the left edge (labels sit on the chart).
std::vector<std::string> LineTexts(const RecordedDraw& d) {
    std::vector<std::string> out;
    for (const DrawCall& c : d.surface.calls) {
        if (c.op == Op::Text && c.to.x == 0) {
            out.push_back(c.text);
        }
    }
    return out;
}

size_t IndexOf(const RecordedDraw& d, const std::function<bool(const DrawCall&)>& match) {
    for (size_t i = 0; i < d.surface.calls.size(); ++i) {
        if (match(d.surface.calls[i])) {
            return i;
        }
    }
    return d.surface.calls.size();
}

TEST(BandLocus, OneConnectedCurveInItsOwnColourFromLowToHigh) {
    RecordedDraw d;
    MatchedNetwork(d.sc);
    d.Draw();
    const auto runs = Runs(d, kBandLocusPen);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_GE(runs[0].size(), 3u);
    EXPECT_EQ(runs[0].front(), d.sc.ZToScreen(d.sc.bandResult.endZ.front()));
    EXPECT_EQ(runs[0].back(), d.sc.ZToScreen(d.sc.bandResult.endZ.back()));
    // No other curve of the chart uses its colour.
    for (const Pen other : {kRimPen, kImpedancePen, kAdmittancePen, kInactiveTrace, kActiveTrace,
                            kQPen, MarkerPen({0, 255, 255}), MarkerPen({0, 255, 0}),
                            MarkerPen({0, 0, 255}), MarkerPen({0, 0, 0}), Pen{3, {245, 206, 0}}}) {
        EXPECT_NE(other.colour, kBandLocusPen.colour);
        EXPECT_NE(other.colour, kJunctionLocusPen.colour);
    }
}

TEST(BandLocus, LiesAboveTheNetworksTracesAndItsLinesCloseTheReadout) {
    RecordedDraw d;
    MatchedNetwork(d.sc);
    d.sc.showQArcs = 1;
    d.Draw();
    const size_t lastGrid = IndexOf(d, [](const DrawCall& c) {
        return c.op == Op::Arc && c.pen == kImpedancePen && c.box.left > 700;
    });
    const size_t locus = IndexOf(d, [](const DrawCall& c) { return c.pen == kBandLocusPen; });
    const size_t trace = IndexOf(d, [](const DrawCall& c) {
        return c.op == Op::LineTo && (c.pen == kActiveTrace || c.pen == kInactiveTrace);
    });
    EXPECT_LT(lastGrid, trace);
    EXPECT_LT(trace, locus) << "the band's locus is not hidden under the active trace";
    const std::vector<std::string> texts = LineTexts(d);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 3].rfind("Max Network Q", 0), 0u);
    EXPECT_EQ(texts[texts.size() - 2], "Band 400.000-470.000 MHz:");
    EXPECT_EQ(texts.back().rfind(" VSWR<=", 0), 0u) << texts.back();
}

TEST(BandLocus, AnUnfinishedPointBreaksTheCurve) {
    struct Case {
        const char* name;
        std::vector<Complex> locus;
        std::vector<size_t> runLengths; // points of each run drawn
    };
    const Complex a{25, 10}, b{50, 0}, c{100, -30}, e{10, 5};
    const Complex nan{kNaN, 0}, inf{INFINITY, 0};
    const std::vector<Case> cases = {
        {"Whole", {a, b, c, e}, {4}},
        {"NaNInTheMiddle", {a, b, nan, c, e}, {2, 2}},
        {"InfinityInTheMiddle", {a, inf, b, c}, {1, 2}},
        {"NaNAtBothEnds", {nan, a, b, nan}, {2}},
        {"EveryOtherNaN", {a, nan, b, nan, c}, {1, 1, 1}},
        {"AllNaN", {nan, nan}, {}},
        {"RepeatedPointDrawnOnce", {a, a, a, b}, {2}},
    };
    for (const Case& k : cases) {
        RecordedDraw d;
        d.Draw();
        d.surface.calls.clear();
        d.sc.surface = &d.surface;
        d.surface.pen = kBandLocusPen;
        DrawLocus(d.sc, k.locus);
        std::vector<size_t> lengths;
        for (const auto& run : Runs(d, kBandLocusPen)) {
            lengths.push_back(run.size());
        }
        EXPECT_EQ(lengths, k.runLengths) << k.name;
    }
}

TEST(BandLocus, EndMarkersAndTheirLabels) {
    for (const int32_t markers : {1, 0}) {
        RecordedDraw d;
        MatchedNetwork(d.sc);
        d.sc.textMarkers = markers;
        d.Draw();
        const auto squares = Runs(d, kBandEndPen);
        ASSERT_EQ(squares.size(), 2u);
        const Point ends[] = {d.sc.ZToScreen(d.sc.bandResult.endZ.front()),
                              d.sc.ZToScreen(d.sc.bandResult.endZ.back())};
        for (size_t i = 0; i < 2; ++i) {
            ASSERT_EQ(squares[i].size(), 5u);
            EXPECT_EQ(squares[i].front(), squares[i].back());
            // Centred on the band's end.
            EXPECT_EQ(squares[i][0].x + squares[i][2].x, 2 * ends[i].x);
            EXPECT_EQ(squares[i][0].y + squares[i][2].y, 2 * ends[i].y);
        }
        const auto labels = d.Calls(
            [](const DrawCall& c) { return c.op == Op::Text && c.textColour == kBandLabelText; });
        if (markers == 1) {
            ASSERT_EQ(labels.size(), 2u);
            EXPECT_EQ(labels[0].text, "400.000 MHz");
            EXPECT_EQ(labels[1].text, "470.000 MHz");
        } else {
            EXPECT_TRUE(labels.empty());
        }
    }
}

// The goal put on the band's end in the lower half, where the end's label would go below the
// square and onto the goal's label: it moves clear of every other label on the chart.
TEST(BandLocus, EndLabelsKeepClearOfTheMarkersLabels) {
    RecordedDraw first;
    MatchedNetwork(first.sc);
    first.Draw();
    const BandResult& r = first.sc.bandResult;
    const Complex lower = first.sc.ZToScreen(r.endZ.front()).y < first.sc.chartCentre.y
                              ? r.endZ.front()
                              : r.endZ.back();
    RecordedDraw d;
    MatchedNetwork(d.sc);
    d.sc.goalZ = lower;
    d.Draw();
    const int32_t h = d.sc.lineHeight;
    const auto box = [&](const DrawCall& c) {
        return std::array<int64_t, 4>{c.to.x, c.to.y - h, c.to.x + d.surface.TextWidth(c.text),
                                      c.to.y};
    };
    const auto labels = d.Calls(
        [](const DrawCall& c) { return c.op == Op::Text && !c.text.empty() && c.to.x != 0; });
    int bandLabels = 0;
    for (const DrawCall& a : labels) {
        if (a.textColour != kBandLabelText) {
            continue;
        }
        ++bandLabels;
        for (const DrawCall& b : labels) {
            if (&a == &b) {
                continue;
            }
            const auto p = box(a), q = box(b);
            EXPECT_FALSE(p[0] < q[2] && q[0] < p[2] && p[1] < q[3] && q[1] < p[3])
                << "'" << a.text << "' at " << a.to.x << "," << a.to.y << " covers '" << b.text
                << "' at " << b.to.x << "," << b.to.y;
        }
    }
    EXPECT_EQ(bandLabels, 2);
}

TEST(BandLocus, JunctionLociThinAndLightOnlyWhenAsked) {
    for (const bool junctions : {false, true}) {
        RecordedDraw d;
        MatchedNetwork(d.sc);
        d.sc.AddComponent(NewResistor(PLACE_SERIES, 5));
        d.sc.band.junctionLoci = junctions;
        d.Draw();
        EXPECT_EQ(Runs(d, kJunctionLocusPen).size(), junctions ? 2u : 0u);
        // Each labelled with its component's number.
        std::vector<std::string> numbers;
        for (const DrawCall& c : d.Calls([](const DrawCall& c) {
                 return c.op == Op::Text && c.textColour == kJunctionLabelText;
             })) {
            numbers.push_back(c.text);
        }
        const std::vector<std::string> expected =
            junctions ? std::vector<std::string>{"1", "2"} : std::vector<std::string>();
        EXPECT_EQ(numbers, expected);
        EXPECT_EQ(kJunctionLocusPen.width, 1);
        EXPECT_EQ(Runs(d, kBandLocusPen).size(), 1u);
    }
}

TEST(BandLocus, BandOffDrawsExactlyAsWithoutOne) {
    RecordedDraw plain;
    MatchedNetwork(plain.sc);
    plain.sc.band = {};
    plain.Draw();
    RecordedDraw off;
    MatchedNetwork(off.sc);
    off.sc.band.display = false;
    off.sc.band.junctionLoci = true;
    off.Draw();
    ASSERT_EQ(plain.surface.calls.size(), off.surface.calls.size());
    for (size_t i = 0; i < plain.surface.calls.size(); ++i) {
        const DrawCall& a = plain.surface.calls[i];
        const DrawCall& b = off.surface.calls[i];
        EXPECT_TRUE(a.op == b.op && a.to == b.to && a.from == b.from && a.box == b.box &&
                    a.text == b.text && a.pen == b.pen)
            << "call " << i;
    }
}

TEST(BandLocus, RedrawsReuseTheEvaluationsStorage) {
    RecordedDraw d;
    MatchedNetwork(d.sc);
    d.sc.band.junctionLoci = true;
    d.Draw();
    const Complex* end = d.sc.bandResult.endZ.data();
    const Complex* junctions = d.sc.bandResult.junctionZ.data();
    d.sc.components[0].inductance *= 1.025;
    d.Draw();
    EXPECT_EQ(d.sc.bandResult.endZ.data(), end);
    EXPECT_EQ(d.sc.bandResult.junctionZ.data(), junctions);
}

TEST(BandLine, Texts) {
    using Lines = std::vector<std::string>;
    BandResult r;
    r.frequencies = {400, 435, 470};
    r.worstIndex = 2;
    r.worstVswr = 1.8472;
    r.worstFrequency = 470;
    r.worstReturnLossDb = 10.5236;
    const BandSettings band{400, 470, 3, true, false};
    BandLimit limit;
    EXPECT_EQ(BandLines(band, limit, r),
              (Lines{"Band 400.000-470.000 MHz:", " VSWR<=1.85 @470.000 MHz, RL>=10.52dB"}));
    r.missingPoints = 1;
    r.failingPoints = 2;
    limit = {BandLimitKind::ReturnLoss, 12.5};
    EXPECT_EQ(BandLines(band, limit, r),
              (Lines{"Band 400.000-470.000 MHz:", " VSWR<=1.85 @470.000 MHz, RL>=10.52dB",
                     " 1 of 3 points without data", " 2 of 3 points fail RL>=12.5 dB"}));
    limit = {BandLimitKind::Vswr, 2};
    r.missingPoints = 0;
    r.failingPoints = 0;
    r.worstVswr = 1;
    r.worstReturnLossDb = INFINITY;
    EXPECT_EQ(BandLines(band, limit, r),
              (Lines{"Band 400.000-470.000 MHz:", " VSWR<=1.00 @470.000 MHz, perfect match",
                     " 0 of 3 points fail VSWR<=2"}));
    r.worstIndex = -1;
    EXPECT_EQ(BandLines({0.5, 2.25, 3, true, false}, {}, r),
              (Lines{"Band 0.500-2.250 MHz:", " no valid point"}));
    // Frequencies far up or down in a hostile file never give hundreds of digits.
    EXPECT_EQ(BandLines({1e300, 2e300, 3, true, false}, {}, r),
              (Lines{"Band 1e+300-2e+300 MHz:", " no valid point"}));
    r.worstIndex = 1;
    r.worstFrequency = 3.5e-6;
    EXPECT_EQ(BandLines({2.5e-6, 5e-6, 3, true, false}, {}, r),
              (Lines{"Band 2.5e-06-5e-06 MHz:", " VSWR<=1.00 @3.5e-06 MHz, perfect match"}));
    EXPECT_EQ(BandEndLabel(1e300), "1e+300 MHz");
}

TEST(BandLine, AnEmptyNetworkStillHasOne) {
    RecordedDraw d;
    d.sc.band = {900, 1100, 5, true, false};
    d.Draw();
    const std::vector<std::string> texts = LineTexts(d);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[4], " VSWR<=1.00 @900.000 MHz, perfect match");
}

TEST(BandPage, TheChartKeepsItsRuleAndThePlotGoesBelowIt) {
    struct Case {
        int32_t cw, ch;
        Rect page;
    };
    const Case cases[] = {
        {1000, 360, {0, 0, 4760, 6800}}, // portrait page, wide window
        {800, 800, {0, 0, 6800, 4760}},  // landscape page, square window
        {300, 900, {0, 0, 4760, 6800}},  // tall window
        {1000, 560, {0, 0, 0, 0}},       // no page
    };
    for (const Case& c : cases) {
        const BandPageLayout l = LayOutBandPage(c.cw, c.ch, c.page, 1.0);
        EXPECT_EQ(l.chart, ApplyPrintingRule(c.cw, c.ch, l.chartPart, 1.0));
        EXPECT_EQ(l.chartPart.top, c.page.top);
        EXPECT_LE(l.chartPart.bottom, c.page.bottom);
        EXPECT_GE(l.plot.top, l.chart.bottom);
        EXPECT_LE(l.plot.bottom, c.page.bottom);
        if (c.page.bottom > 0) {
            EXPECT_GT(l.plot.bottom - l.plot.top, (c.page.bottom - c.page.top) / 5);
            EXPECT_EQ(l.plot.right - l.plot.left, c.page.right - c.page.left);
        }
    }
}

} // namespace
