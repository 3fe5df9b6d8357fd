#include "design/matchmewizard.h"
#include "model/matchfigures.h"
#include "tests/design/wizardtestsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Strings = std::vector<std::string>;

SmithChrt DocumentAt(double frequencyMHz) {
    SmithChrt doc;
    doc.frequency = frequencyMHz;
    return doc;
}

MatchMeInput Input(int n, int topology, Complex start, Complex goal) {
    return {n, topology, start.re, start.im, goal.re, goal.im};
}

// Networks read from the generator to the load, values to three decimals.
struct NetworkCase {
    const char* name;
    MatchMeInput in;
    double frequencyMHz;
    Strings network;
};

void PrintTo(const NetworkCase& c, std::ostream* os) {
    *os << c.name;
}

class MatchMeNetwork : public testing::TestWithParam<NetworkCase> {};

TEST_P(MatchMeNetwork, ReadsFromTheGenerator) {
    const NetworkCase& c = GetParam();
    SmithChrt doc = DocumentAt(c.frequencyMHz);
    const int32_t added = RunMatchMe(doc, c.in, nullptr);
    EXPECT_EQ(Network(doc, 3), c.network);
    EXPECT_EQ(added, static_cast<int32_t>(c.network.size()));
    EXPECT_EQ(doc.activeIndex, doc.componentCount - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, MatchMeNetwork,
    testing::Values(NetworkCase{"EqualRealPartsGiveTheExample",
                                Input(1, TOPO_LOWPASS, {50, 0}, {50, 0}),
                                100,
                                {"series L 23.873", "shunt C 95.493"}},
                    NetworkCase{"ReversedHighPassLadder",
                                Input(2, TOPO_HIGHPASS, {100, 0}, {25, 0}),
                                100,
                                {"shunt L 159.155", "series C 31.831", "shunt L 79.577",
                                 "series C 63.662"}},
                    NetworkCase{"QuarterWaveLine",
                                Input(1, TOPO_QUARTER_WAVE, {50, 0}, {200, 0}),
                                100,
                                {"series line 100.000"}},
                    NetworkCase{"ReactiveStartIsCancelled",
                                Input(1, TOPO_LOWPASS, {50, -30}, {200, 0}),
                                100,
                                {"series L 47.746", "series L 137.832", "shunt C 13.783"}},
                    NetworkCase{"SmallStartReactanceIsKept",
                                Input(1, TOPO_LOWPASS, {50, 1}, {200, 0}),
                                100,
                                {"series L 137.832", "shunt C 13.783"}},
                    NetworkCase{"GoalReactanceIsReproduced",
                                Input(1, TOPO_LOWPASS, {25, 0}, {50, -30}),
                                100,
                                {"series L 39.789", "shunt C 31.831", "series C 53.052"}},
                    NetworkCase{"ReversedLowPassWithReactiveStart",
                                Input(1, TOPO_LOWPASS, {100, -20}, {25, 0}),
                                100,
                                {"series L 31.831", "shunt C 27.566", "series L 68.916"}}),
    [](const testing::TestParamInfo<NetworkCase>& info) { return std::string(info.param.name); });

TEST(MatchMe, ExampleStoresATenthAndSetsTheFlags) {
    SmithChrt doc = DocumentAt(100);
    SnapshotSink sink(doc);
    RunMatchMe(doc, Input(1, TOPO_LOWPASS, {50, 0}, {50, 0}), &sink);
    EXPECT_EQ(sink.messages, Strings{kMatchExampleMessage});
    // The message comes after the entered impedances and the VSWR flag are stored.
    ASSERT_EQ(sink.states.size(), 1u);
    EXPECT_EQ(sink.states[0].startZ, Complex(50, 0));
    EXPECT_TRUE(sink.states[0].showVswrCircles);
    EXPECT_EQ(sink.states[0].showQArcs, 0);
    EXPECT_EQ(doc.startZ, Complex(5, 0));
    EXPECT_EQ(doc.goalZ, Complex(50, 0));
    EXPECT_EQ(doc.showQArcs, 1);
    EXPECT_TRUE(doc.showVswrCircles);
    const MatchMeResult r = DesignMatchMe(Input(1, TOPO_LOWPASS, {50, 0}, {50, 0}), 100);
    ASSERT_EQ(r.sections.size(), 1u);
    EXPECT_DOUBLE_EQ(r.sections[0].q, 3.0);
}

TEST(MatchMe, LadderIsGeometricWithExactEnds) {
    const MatchMeResult r = DesignMatchMe(Input(2, TOPO_HIGHPASS, {100, 0}, {25, 0}), 100);
    EXPECT_TRUE(r.reversed);
    ASSERT_EQ(r.ladder.size(), 3u);
    EXPECT_EQ(r.ladder[0], 25.0);
    EXPECT_DOUBLE_EQ(r.ladder[1], 50.0);
    EXPECT_EQ(r.ladder[2], 100.0);
    for (const MatchMeSection& s : r.sections) {
        EXPECT_DOUBLE_EQ(s.q, 1.0);
        EXPECT_DOUBLE_EQ(s.lineZ0, std::sqrt(s.rLow * s.rHigh));
    }
    const MatchMeResult odd = DesignMatchMe(Input(7, TOPO_LOWPASS, {3, 0}, {1000, 0}), 10);
    EXPECT_EQ(odd.ladder.back(), 1000.0);
    EXPECT_EQ(odd.ladder.front(), 3.0);
}

TEST(MatchMe, CompensationNeedsMoreThanTwoPercent) {
    struct Row {
        Complex start;
        Complex goal;
        bool startFix;
        bool goalFix;
    };
    const Row rows[] = {
        {{50, 1}, {200, 0}, false, false},
        {{50, -1}, {200, 0}, false, false},
        {{50, 1.0001}, {200, 0}, true, false},
        {{50, 0}, {200, 4}, false, false},
        {{50, 0}, {200, -4.01}, false, true},
        {{500, -9.99}, {200, 4.1}, false, true},
        // The example case compares against the stored tenth of the start resistance.
        {{50, 0.5}, {50, 0}, true, false},
    };
    for (const Row& row : rows) {
        const MatchMeResult r = DesignMatchMe(Input(1, TOPO_LOWPASS, row.start, row.goal), 100);
        EXPECT_EQ(r.startFix.has_value(), row.startFix) << row.start.im;
        EXPECT_EQ(r.goalFix.has_value(), row.goalFix) << row.goal.im;
    }
}

TEST(MatchMe, TenSectionsWithReactiveEndsGiveTwentyTwoComponents) {
    for (int topology : {TOPO_LOWPASS, TOPO_HIGHPASS}) {
        for (auto [start, goal] : {std::pair{Complex{10, 30}, Complex{300, -70}},
                                   std::pair{Complex{300, -70}, Complex{10, 30}}}) {
            SmithChrt doc = DocumentAt(433);
            MessageCollector sink;
            EXPECT_EQ(RunMatchMe(doc, Input(10, topology, start, goal), &sink), 22);
            EXPECT_EQ(doc.componentCount, 22);
            EXPECT_EQ(doc.activeIndex, 21);
            EXPECT_TRUE(sink.messages.empty());
        }
    }
    SmithChrt doc = DocumentAt(433);
    EXPECT_EQ(RunMatchMe(doc, Input(10, TOPO_QUARTER_WAVE, {10, 30}, {300, -70}), nullptr), 12);
}

TEST(MatchMe, ReplacesTheWholeNetwork) {
    SmithChrt doc = DocumentAt(100);
    for (int i = 0; i < 6; ++i) {
        doc.AddComponent(NewResistor(PLACE_SERIES, 10 + i));
    }
    doc.activeIndex = 2;
    RunMatchMe(doc, Input(1, TOPO_QUARTER_WAVE, {50, 0}, {200, 0}), nullptr);
    ASSERT_EQ(doc.componentCount, 1);
    EXPECT_EQ(doc.components[0].kind, KIND_TLINE);
    EXPECT_EQ(doc.components[0].placement, PLACE_TL_SERIES);
    EXPECT_EQ(doc.components[0].lineAngle, 90.0);
    EXPECT_EQ(doc.components[0].lineFreq, 100.0);
    EXPECT_EQ(doc.components[0].lineZ0, 100.0);
    EXPECT_EQ(doc.components[0].resistance, 0.0);
    EXPECT_EQ(doc.activeIndex, 0);
}

TEST(MatchMe, UnknownTopologyAddsOnlyTheCompensation) {
    // From a reversed design: goal fix first, the message where the sections would go, start fix
    // last, then the reversal puts the start fix first.
    SmithChrt doc = DocumentAt(100);
    SnapshotSink sink(doc);
    EXPECT_EQ(RunMatchMe(doc, Input(3, 5, {100, -20}, {25, 10}), &sink), 2);
    EXPECT_EQ(sink.messages, Strings{kMatchTopologyMessage});
    EXPECT_EQ(sink.states[0].componentCount, 1);
    EXPECT_EQ(Network(doc, 3), (Strings{"series L 31.831", "series L 15.915"}));
    EXPECT_EQ(doc.components[0].inductance, 20 / (100e6 * 6.283185307) * 999999999.9999999);
    EXPECT_EQ(doc.activeIndex, 1);

    SmithChrt plain = DocumentAt(100);
    plain.AddComponent(NewResistor(PLACE_SERIES, 5));
    plain.AddComponent(NewResistor(PLACE_SERIES, 6));
    MessageCollector messages;
    EXPECT_EQ(RunMatchMe(plain, Input(1, -1, {50, 0}, {75, 0}), &messages), 0);
    EXPECT_EQ(messages.messages, Strings{kMatchTopologyMessage});
    EXPECT_EQ(plain.componentCount, 0);
    EXPECT_EQ(plain.activeIndex, -1);
}

TEST(MatchMe, DialogDefaultsComeFromTheDocument) {
    SmithChrt doc;
    doc.startZ = {12.5, -3};
    doc.goalZ = {75, 8};
    const MatchMeInput in = MatchMeInputFor(doc);
    EXPECT_EQ(in.sectionCount, 1);
    EXPECT_EQ(in.topology, TOPO_LOWPASS);
    EXPECT_EQ(in.startR, 12.5);
    EXPECT_EQ(in.startX, -3.0);
    EXPECT_EQ(in.goalR, 75.0);
    EXPECT_EQ(in.goalX, 8.0);
}

TEST(MatchMe, RangeChecksInFieldOrder) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string count = "Please enter an integer between 1 and 10.";
    const std::string r = "Please enter a number between 1e-15 and 1e+15.";
    const std::string x = "Please enter a number between -1e+15 and 1e+15.";
    struct Row {
        MatchMeInput in;
        std::optional<FieldError> expected;
    };
    const Row rows[] = {
        {Input(1, 0, {1e-15, -1e15}, {1e15, 1e15}), std::nullopt},
        {Input(10, 7, {50, 0}, {50, 0}), std::nullopt},
        {Input(0, 0, {50, 0}, {50, 0}), FieldError{MATCH_FIELD_SECTIONS, count}},
        {Input(11, 0, {0, 0}, {50, 0}), FieldError{MATCH_FIELD_SECTIONS, count}},
        {Input(1, 0, {0, 0}, {50, 0}), FieldError{MATCH_FIELD_START_R, r}},
        {Input(1, 0, {50, -1.1e15}, {50, nan}), FieldError{MATCH_FIELD_START_X, x}},
        {Input(1, 0, {50, 0}, {2e15, 0}), FieldError{MATCH_FIELD_GOAL_R, r}},
        {Input(1, 0, {50, 0}, {50, nan}), FieldError{MATCH_FIELD_GOAL_X, x}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ValidateMatchMe(row.in), row.expected) << row.in.sectionCount;
    }
}

TEST(MatchMe, RefusedInputChangesNothing) {
    SmithChrt doc = DocumentAt(100);
    doc.AddComponent(NewResistor(PLACE_SERIES, 5));
    MessageCollector sink;
    EXPECT_EQ(RunMatchMe(doc, Input(11, 0, {50, 0}, {20, 0}), &sink), 0);
    EXPECT_EQ(sink.messages, Strings{"Please enter an integer between 1 and 10."});
    EXPECT_EQ(doc.componentCount, 1);
    EXPECT_EQ(doc.goalZ, Complex(50, 0));
    EXPECT_FALSE(doc.showVswrCircles);
}

// The synthesised network, evaluated by the cascade at the analysis frequency, must carry the
// stored starting impedance to the goal.
struct PhysicsCase {
    int topology;
    int sections;
};

void PrintTo(const PhysicsCase& c, std::ostream* os) {
    *os << "topology " << c.topology << ", " << c.sections << " sections";
}

class MatchMePhysics : public testing::TestWithParam<PhysicsCase> {};

TEST_P(MatchMePhysics, CascadeReachesTheGoal) {
    const auto [topology, n] = GetParam();
    const std::pair<Complex, Complex> ends[] = {
        {{50, 0}, {50, 0}},     {{100, 0}, {25, 0}},       {{50, 0}, {200, 0}},
        {{50, -30}, {200, 0}},  {{100, -20}, {25, 0}},     {{25, 0}, {50, -30}},
        {{10, 40}, {300, -90}}, {{300, -90}, {10, 40}},    {{2, -5}, {2000, 700}},
        {{75, 3}, {50, -60}},   {{0.5, 0.2}, {0.51, 0.0}}, {{1e4, -3e3}, {7.5, 12}},
    };
    for (const auto& [start, goal] : ends) {
        // A 90-degree line is short of a quarter wave by 4.5e-11 rad (pi taken as 3.1415926535),
        // which one line stepping 1000:1 turns into a VSWR of 1 + 1.3e-9.
        if (topology == TOPO_QUARTER_WAVE && n == 1 && goal.re / start.re > 500) {
            continue;
        }
        for (double f : {1.8, 100.0, 2400.0}) {
            SCOPED_TRACE(testing::Message() << start.re << "," << start.im << " to " << goal.re
                                            << "," << goal.im << " at " << f << " MHz");
            SmithChrt doc = DocumentAt(f);
            ASSERT_GT(RunMatchMe(doc, Input(n, topology, start, goal), nullptr), 0);
            ASSERT_TRUE(doc.EvaluateCascade());
            const MatchFigures m = ComputeMatch(doc.endZ, doc.goalZ);
            EXPECT_NEAR(m.vswr, 1.0, 1e-9) << doc.endZ.re << " " << doc.endZ.im;
        }
    }
}

std::vector<PhysicsCase> PhysicsCases() {
    std::vector<PhysicsCase> cases;
    for (int topology : {TOPO_LOWPASS, TOPO_HIGHPASS, TOPO_QUARTER_WAVE}) {
        for (int n : {1, 2, 5, 10}) {
            cases.push_back({topology, n});
        }
    }
    return cases;
}

std::string PhysicsName(const testing::TestParamInfo<PhysicsCase>& info) {
    static const char* const kNames[] = {"LowPass", "HighPass", "QuarterWave"};
    return std::string(kNames[info.param.topology]) + "N" + std::to_string(info.param.sections);
}

INSTANTIATE_TEST_SUITE_P(Networks, MatchMePhysics, testing::ValuesIn(PhysicsCases()), PhysicsName);

} // namespace
