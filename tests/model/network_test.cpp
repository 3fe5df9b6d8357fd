#include "model/matchfigures.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

Component Tagged(double r) {
    return NewResistor(PLACE_SERIES, r);
}

std::vector<double> Order(const SmithChrt& s) {
    std::vector<double> v;
    for (int i = 0; i < s.componentCount; ++i) {
        v.push_back(s.components[i].resistance);
    }
    return v;
}

TEST(NetworkList, AddGoesAfterTheActiveComponent) {
    SmithChrt s;
    for (double r : {1.0, 2.0, 3.0}) {
        ASSERT_EQ(s.AddComponent(Tagged(r)), 1);
    }
    EXPECT_EQ(s.activeIndex, 2);
    s.activeIndex = 0;
    s.AddComponent(Tagged(9));
    EXPECT_EQ(Order(s), (std::vector<double>{1, 9, 2, 3}));
    EXPECT_EQ(s.activeIndex, 1);
}

TEST(NetworkList, TwentySixthAddIsRefused) {
    SmithChrt s;
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(s.AddComponent(Tagged(i)), 1);
    }
    const SmithChrt before = s;
    EXPECT_EQ(s.AddComponent(Tagged(99)), 0);
    EXPECT_EQ(s.componentCount, 25);
    EXPECT_EQ(Order(s), Order(before));
}

TEST(NetworkList, DeleteSelectsThePreviousOrWraps) {
    SmithChrt s;
    for (double r : {1.0, 2.0, 3.0}) {
        s.AddComponent(Tagged(r));
    }
    s.activeIndex = 1;
    s.DeleteActiveComponent();
    EXPECT_EQ(Order(s), (std::vector<double>{1, 3}));
    EXPECT_EQ(s.activeIndex, 0);
    s.DeleteActiveComponent();
    EXPECT_EQ(Order(s), (std::vector<double>{3}));
    EXPECT_EQ(s.activeIndex, 0);
    EXPECT_EQ(s.DeleteActiveComponent(), 1);
    EXPECT_EQ(s.componentCount, 0);
    EXPECT_EQ(s.activeIndex, -1);
    EXPECT_EQ(s.DeleteActiveComponent(), 1);
    EXPECT_EQ(s.activeIndex, -1);
    s.AddComponent(Tagged(5));
    EXPECT_EQ(s.activeIndex, 0);
    EXPECT_EQ(Order(s), (std::vector<double>{5}));
}

TEST(NetworkList, SelectionWrapsBothWays) {
    SmithChrt s;
    s.SelectNext();
    EXPECT_EQ(s.activeIndex, 0);
    for (double r : {1.0, 2.0, 3.0}) {
        s.AddComponent(Tagged(r));
    }
    s.SelectNext();
    EXPECT_EQ(s.activeIndex, 0);
    s.SelectPrevious();
    EXPECT_EQ(s.activeIndex, 2);
    s.SelectPrevious();
    EXPECT_EQ(s.activeIndex, 1);
}

TEST(NetworkList, PickChoosesNearestAnchorTiesToLowerIndex) {
    SmithChrt s;
    s.chartRadius = 190;
    s.chartCentre = {610, -200};
    s.AddComponent(Tagged(1));
    EXPECT_EQ(s.activeIndex, 0);
    s.PickComponentAt(610, 200);
    EXPECT_EQ(s.activeIndex, 0);
    for (double r : {2.0, 3.0}) {
        s.AddComponent(Tagged(r));
    }
    s.tracePoints[0] = {600, -190};
    s.tracePoints[1] = {620, -210};
    s.tracePoints[2] = {700, -200};
    s.labelPoints[0] = {0, -30};
    s.labelPoints[1] = {0, -50};
    s.labelPoints[2] = {0, -70};
    s.PickComponentAt(610, 200); // equidistant from anchors 0 and 1
    EXPECT_EQ(s.activeIndex, 0);
    s.PickComponentAt(690, 200);
    EXPECT_EQ(s.activeIndex, 2);
    s.PickComponentAt(5, 52); // beside the chart: nearest readout line
    EXPECT_EQ(s.activeIndex, 1);
}

Complex EndOf(SmithChrt& s, Component c) {
    s.componentCount = 0;
    s.activeIndex = 0;
    s.AddComponent(c);
    EXPECT_TRUE(s.EvaluateCascade());
    return s.endZ;
}

TEST(Cascade, LumpedElementsAtTheDefaults) {
    SmithChrt s;
    EXPECT_EQ(EndOf(s, NewCapacitor(PLACE_SERIES, 50, 1000)), Complex(50, -50));
    const MatchFigures m = ComputeMatch(s.endZ, s.goalZ);
    EXPECT_EQ(m.vswr, 2.618033988749895);
    EXPECT_EQ(m.returnLossDb, 6.989700043360188);
    EXPECT_EQ(m.mismatchLossDb, 0.969100130080564);
    const Complex shunt = EndOf(s, NewCapacitor(PLACE_SHUNT, 50, 1000));
    EXPECT_DOUBLE_EQ(shunt.re, 25);
    EXPECT_DOUBLE_EQ(shunt.im, -25);
    EXPECT_EQ(EndOf(s, NewResistor(PLACE_SHUNT, 50)), Complex(25, 0));
}

TEST(Cascade, QuarterWaveLineTransformsAndHalfWaveRestores) {
    SmithChrt s;
    s.startZ = {100, 0};
    Component line = NewLine(PLACE_TL_SERIES, 50, 1000);
    line.lineAngle = 90;
    const Complex quarter = EndOf(s, line);
    EXPECT_NEAR(quarter.re, 25, 1e-8);
    EXPECT_LT(std::fabs(quarter.im), 1e-8);
    s.frequency = 2000;
    const Complex half = EndOf(s, line);
    EXPECT_NEAR(half.re, 100, 1e-6);
    EXPECT_LT(std::fabs(half.im), 1e-6);
}

TEST(Cascade, NinetyDegreeStubsStayFinite) {
    SmithChrt s;
    Component shorted = NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000);
    shorted.lineAngle = 90;
    const Complex a = EndOf(s, shorted);
    EXPECT_NEAR(a.re, 50, 1e-6);
    EXPECT_FALSE(std::isnan(a.im));
    Component open = shorted;
    open.placement = PLACE_TL_SHUNT_OPEN;
    const Complex b = EndOf(s, open);
    EXPECT_LT(std::hypot(b.re, b.im), 1e-8);
    EXPECT_FALSE(std::isnan(b.re));
    // Seen from a near-open input, each stub shows its own reactance at 90 degrees.
    double acc = 0;
    const Complex viaShort = s.AddLinePercent(100, {1e30, 0}, {50, 0}, 5, 90, acc);
    EXPECT_NEAR(viaShort.im, 1.1e12, 0.1e12);
    acc = 0;
    const Complex viaOpen = s.AddLinePercent(100, {1e30, 0}, {50, 0}, 4, 90, acc);
    EXPECT_LT(viaOpen.im, 0.0);
    EXPECT_GT(viaOpen.im, -1e-8);
}

TEST(Cascade, QStartsFromTheStartImpedance) {
    SmithChrt s;
    s.startZ = {0, 50};
    EndOf(s, NewResistor(PLACE_SERIES, 50));
    EXPECT_EQ(s.maxNetworkQ, std::numeric_limits<double>::infinity());
    s.startZ = {0, 0};
    EndOf(s, NewResistor(PLACE_SERIES, 0));
    EXPECT_EQ(s.maxNetworkQ, 0.0);
}

TEST(Cascade, EmptyNetworkKeepsEndZ) {
    SmithChrt s;
    s.endZ = {12, 34};
    s.maxNetworkQ = 7;
    EXPECT_TRUE(s.EvaluateCascade());
    EXPECT_EQ(s.endZ, Complex(12, 34));
    EXPECT_EQ(s.maxNetworkQ, 0.0);
}

TEST(Cascade, OutputsListEachComponentsEndImpedance) {
    SmithChrt s;
    s.AddComponent(NewResistor(PLACE_SERIES, 50));
    s.AddComponent(NewResistor(PLACE_SHUNT, 100));
    Component bad;
    bad.kind = 42;
    s.AddComponent(bad);
    s.AddComponent(NewResistor(PLACE_SERIES, 1));
    std::vector<Complex> outputs{{9, 9}};
    EXPECT_FALSE(s.EvaluateCascade(&outputs));
    EXPECT_EQ(outputs, (std::vector<Complex>{{100, 0}, {50, 0}}));
    s.componentCount = 2;
    EXPECT_TRUE(s.EvaluateCascade(&outputs));
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs.back(), s.endZ);
}

TEST(Cascade, BadCodesRaiseTheirMessages) {
    SmithChrt s;
    MessageCollector sink;
    s.messages = &sink;
    Component bad;
    bad.kind = 42;
    s.endZ = {1, 2};
    s.AddComponent(bad);
    EXPECT_FALSE(s.EvaluateCascade());
    EXPECT_EQ(s.endZ, Complex(1, 2));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], "default case in plotcomponents type checking");

    sink.messages.clear();
    const Complex same = s.AddImpedancePercent(100, {30, 4}, {10, 0}, 7);
    EXPECT_EQ(same, Complex(30, 4));
    double acc = 0;
    const Complex zero = s.AddLinePercent(100, {30, 4}, {50, 0}, 1, 45, acc);
    EXPECT_EQ(zero, Complex(0, 0));
    EXPECT_EQ(sink.messages,
              (std::vector<std::string>{"AddImpedancePercent -- you never should have gotten here!",
                                        "You never should have reached this point!"}));
}

TEST(Cascade, PartialStepsOfAStubStartAtItsInput) {
    SmithChrt s;
    for (int placement : {PLACE_TL_SHUNT_OPEN, PLACE_TL_SHUNT_SHORTED}) {
        double acc = 0;
        const Complex start = s.AddLinePercent(1e-7, {30, 20}, {50, 0}, placement, 45, acc);
        EXPECT_NEAR(start.re, 30, 1e-6) << placement;
        EXPECT_NEAR(start.im, 20, 1e-6) << placement;
    }
}

TEST(NewDocument, ResetKeepsFrequenciesAndVswrFlag) {
    SmithChrt s;
    EXPECT_EQ(s.frequency, 1000.0);
    EXPECT_FALSE(s.showVswrCircles);
    EXPECT_TRUE(s.title.empty());
    s.frequency = 433;
    s.f2Freq = 7;
    s.showVswrCircles = true;
    s.chartZ0 = {75, 0};
    s.startZ = {1, 1};
    s.tunePercent = 9;
    s.textMarkers = 0;
    s.AddComponent(Tagged(1));
    s.ResetForNewDocument();
    EXPECT_EQ(s.frequency, 433.0);
    EXPECT_EQ(s.f2Freq, 7.0);
    EXPECT_TRUE(s.showVswrCircles);
    EXPECT_EQ(s.chartZ0, Complex(50, 0));
    EXPECT_EQ(s.startZ, Complex(50, 0));
    EXPECT_EQ(s.goalZ, Complex(50, 0));
    EXPECT_EQ(s.componentCount, 0);
    EXPECT_EQ(s.activeIndex, 0);
    EXPECT_EQ(s.tunePercent, 2.5);
    EXPECT_EQ(s.textMarkers, 1);
    EXPECT_EQ(s.title, DefaultTitle());
    EXPECT_EQ(s.title.substr(0, 4), " ***");
    EXPECT_EQ(s.title.substr(s.title.size() - 4), "*** ");
}

} // namespace
