#include "design/filterwizard.h"
#include "model/matchfigures.h"
#include "tests/design/wizardtestsupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Strings = std::vector<std::string>;

FilterInput Input(int type, int first, int order = 3, double ripple = 0.1, double fc = 100,
                  double ro = 50) {
    return {fc, ripple, order, ro, type, first};
}

Strings Rounded(const std::vector<double>& v, int decimals) {
    Strings out;
    for (double x : v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        out.push_back(buf);
    }
    return out;
}

TEST(ChebyshevPrototype, EqualRippleValues) {
    EXPECT_EQ(Rounded(ChebyshevPrototype(0.1, 3), 4), (Strings{"1.0316", "1.1474", "1.0316"}));
    EXPECT_EQ(Rounded(ChebyshevPrototype(0.5, 5), 4),
              (Strings{"1.7058", "1.2296", "2.5409", "1.2296", "1.7058"}));
    for (int n : {3, 5, 9, 15}) {
        const std::vector<double> g = ChebyshevPrototype(0.25, n);
        for (size_t k = 0; k < g.size(); ++k) {
            EXPECT_NEAR(g[k], g[g.size() - 1 - k], 1e-9 * g[k]) << n << " " << k;
        }
    }
    EXPECT_TRUE(ChebyshevPrototype(0.1, 0).empty());
    EXPECT_TRUE(ChebyshevPrototype(0.1, 1000000).empty());
}

struct FilterCase {
    const char* name;
    FilterInput in;
    Strings network;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class FilterNetwork : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterNetwork, ReadsFromTheGenerator) {
    SmithChrt doc;
    doc.frequency = 100;
    EXPECT_EQ(RunFilter(doc, GetParam().in, nullptr),
              static_cast<int32_t>(GetParam().network.size()));
    EXPECT_EQ(Network(doc, 3), GetParam().network);
    EXPECT_EQ(doc.activeIndex, doc.componentCount - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FilterNetwork,
    testing::Values(FilterCase{"LowpassShuntFirst",
                               Input(FILTER_LOWPASS, FIRST_SHUNT),
                               {"shunt C 32.836", "series L 91.307", "shunt C 32.836"}},
                    FilterCase{"LowpassSeriesFirst",
                               Input(FILTER_LOWPASS, FIRST_SERIES),
                               {"series L 82.091", "shunt C 36.523", "series L 82.091"}},
                    FilterCase{"HighpassShuntFirst",
                               Input(FILTER_HIGHPASS, FIRST_SHUNT),
                               {"shunt L 77.141", "series C 27.742", "shunt L 77.141"}},
                    FilterCase{"HighpassSeriesFirst",
                               Input(FILTER_HIGHPASS, FIRST_SERIES),
                               {"series C 30.856", "shunt L 69.355", "series C 30.856"}}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST(FilterWizard, DefaultsGiveTheTitleAndTheTerminations) {
    SmithChrt doc;
    doc.frequency = 100;
    doc.chartZ0 = {50, 2};
    doc.startZ = {10, 3};
    doc.goalZ = {20, -4};
    doc.showQArcs = 0;
    const FilterInput in = FilterInputFor(doc);
    EXPECT_EQ(in.cutoffMHz, 100.0);
    EXPECT_EQ(in.rippleDb, 0.1);
    EXPECT_EQ(in.order, 3);
    EXPECT_EQ(in.ro, 50.0);
    EXPECT_EQ(in.filterType, FILTER_LOWPASS);
    EXPECT_EQ(in.firstElement, FIRST_SHUNT);
    MessageCollector sink;
    EXPECT_EQ(RunFilter(doc, in, &sink), 3);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.title,
              "Initial SimpleFilter Specs: Lowpass Fc=100.0 N=3 Ripple=0.10 dB R0=50.00 Ohms");
    EXPECT_EQ(doc.chartZ0, Complex(50, 2)); // the imaginary part is not written
    EXPECT_EQ(doc.startZ, Complex(50, 0));
    EXPECT_EQ(doc.goalZ, Complex(50, 0));
    EXPECT_EQ(doc.frequency, 100.0);
    EXPECT_TRUE(doc.showVswrCircles);
    EXPECT_EQ(doc.showQArcs, 0);
}

TEST(FilterWizard, TitleFollowsTheEntries) {
    EXPECT_EQ(FilterTitle(FILTER_HIGHPASS, 7.05, 15, 0.0001, 1e3),
              "Initial SimpleFilter Specs: Highpass Fc=  7.0 N=15 Ripple=0.00 dB R0=1000.00 Ohms");
    EXPECT_EQ(FilterTitle(FILTER_LOWPASS, 2450, 5, 10, 0.5),
              "Initial SimpleFilter Specs: Lowpass Fc=2450.0 N=5 Ripple=10.00 dB R0=0.50 Ohms");
}

TEST(FilterWizard, EvenOrderIsRaised) {
    SmithChrt doc;
    doc.frequency = 100;
    for (int i = 0; i < 4; ++i) {
        doc.AddComponent(NewResistor(PLACE_SHUNT, 7));
    }
    doc.chartZ0 = {75, 0};
    SnapshotSink sink(doc);
    EXPECT_EQ(RunFilter(doc, Input(FILTER_HIGHPASS, FIRST_SERIES, 4, 0.5, 144, 50), &sink), 5);
    EXPECT_EQ(sink.messages, Strings{kOrderRaisedMessage});
    // The message comes once the network is emptied, before Z0 and the title change.
    ASSERT_EQ(sink.states.size(), 1u);
    EXPECT_EQ(sink.states[0].componentCount, 0);
    EXPECT_EQ(sink.states[0].chartZ0, Complex(75, 0));
    EXPECT_TRUE(sink.states[0].showVswrCircles);
    EXPECT_EQ(doc.componentCount, 5);
    EXPECT_EQ(doc.title,
              "Initial SimpleFilter Specs: Highpass Fc=144.0 N=5 Ripple=0.50 dB R0=50.00 Ohms");
    const FilterResult r = DesignFilter(Input(FILTER_LOWPASS, FIRST_SHUNT, 15));
    EXPECT_EQ(r.order, 15);
    EXPECT_FALSE(r.orderMessage);
    EXPECT_EQ(r.components.size(), 15u);
}

TEST(FilterWizard, ElementsAlternateFromTheChosenFirst) {
    const FilterResult r = DesignFilter(Input(FILTER_LOWPASS, FIRST_SERIES, 7, 0.2, 50, 75));
    for (size_t i = 0; i < r.components.size(); ++i) {
        const Component& c = r.components[i];
        const bool shunt = i % 2 == 1;
        EXPECT_EQ(c.placement, shunt ? PLACE_SHUNT : PLACE_SERIES);
        EXPECT_EQ(c.kind, shunt ? KIND_CAPACITOR : KIND_INDUCTOR);
        const double w = 50 * 6283185.307;
        if (shunt) {
            EXPECT_EQ(c.capacitance, r.g[i] / (75 * w) * 1e12);
            EXPECT_EQ(c.inductance, 0.0);
        } else {
            EXPECT_EQ(c.inductance, 75 * r.g[i] / w * 999999999.9999999);
            EXPECT_EQ(c.capacitance, 0.0);
        }
        EXPECT_EQ(c.tunedElement, 0);
        EXPECT_EQ(c.resistance, 0.0);
    }
}

TEST(FilterWizard, RangeChecksInFieldOrder) {
    struct Row {
        FilterInput in;
        std::optional<FieldError> expected;
    };
    const std::string big = "Please enter a number between 1e-15 and 1e+15.";
    const Row rows[] = {
        {Input(0, 0, 3, 0.0001, 1e-15, 1e15), std::nullopt},
        {Input(1, 1, 15, 10, 1e15, 1e-15), std::nullopt},
        {Input(0, 0, 3, 0.1, 0), FieldError{FILTER_FIELD_CUTOFF, big}},
        {Input(0, 0, 2, 0, 100),
         FieldError{FILTER_FIELD_RIPPLE, "Please enter a number between 0.0001 and 10."}},
        {Input(0, 0, 2),
         FieldError{FILTER_FIELD_ORDER, "Please enter an integer between 3 and 15."}},
        {Input(0, 0, 17),
         FieldError{FILTER_FIELD_ORDER, "Please enter an integer between 3 and 15."}},
        {Input(0, 0, 3, 0.1, 100, -50), FieldError{FILTER_FIELD_RO, big}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ValidateFilter(row.in), row.expected) << row.in.order;
    }
    SmithChrt doc;
    doc.AddComponent(NewResistor(PLACE_SHUNT, 7));
    MessageCollector sink;
    EXPECT_EQ(RunFilter(doc, Input(0, 0, 17), &sink), 0);
    EXPECT_EQ(sink.messages, Strings{"Please enter an integer between 3 and 15."});
    EXPECT_EQ(doc.componentCount, 1);
    EXPECT_FALSE(doc.showVswrCircles);
}

// Between two Ro terminations a lossless equal-ripple ladder loses its ripple at the cutoff: the
// mismatch loss of the cascade's end against Ro. The design turns dB into nepers with 1/17.37
// instead of ln(10)/40, so the realised ripple is larger by 17.3718/17.37, about 1.0001; the
// prototype's pi of 3.1415926535 moves the band edge by parts in 1e10.
struct PhysicsCase {
    int filterType;
    int firstElement;
};

void PrintTo(const PhysicsCase& c, std::ostream* os) {
    *os << "type " << c.filterType << ", first " << c.firstElement;
}

class FilterPhysics : public testing::TestWithParam<PhysicsCase> {};

TEST_P(FilterPhysics, LossAtCutoffEqualsTheRipple) {
    for (int n : {3, 4, 7, 15}) {
        for (double ripple : {0.0001, 0.1, 0.5, 3.0, 10.0}) {
            SCOPED_TRACE(testing::Message() << "N " << n << ", ripple " << ripple);
            const FilterInput in = Input(GetParam().filterType, GetParam().firstElement, n, ripple,
                                         n * 37.5, 10 + 20 * n);
            SmithChrt doc;
            doc.frequency = in.cutoffMHz;
            ASSERT_EQ(RunFilter(doc, in, nullptr), n | 1);
            ASSERT_TRUE(doc.EvaluateCascade());
            const MatchFigures m = ComputeMatch(doc.endZ, doc.goalZ);
            EXPECT_NEAR(m.mismatchLossDb, ripple, 1.1e-4 * ripple);
            const double realised = ripple * 0.05757052389176741 * 40 / std::log(10.0);
            EXPECT_NEAR(m.mismatchLossDb, realised, 1e-7 * realised);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ladders, FilterPhysics,
                         testing::Values(PhysicsCase{FILTER_LOWPASS, FIRST_SHUNT},
                                         PhysicsCase{FILTER_LOWPASS, FIRST_SERIES},
                                         PhysicsCase{FILTER_HIGHPASS, FIRST_SHUNT},
                                         PhysicsCase{FILTER_HIGHPASS, FIRST_SERIES}),
                         [](const testing::TestParamInfo<PhysicsCase>& info) {
                             return std::string(info.param.filterType == FILTER_LOWPASS
                                                    ? "Lowpass"
                                                    : "Highpass") +
                                    (info.param.firstElement == FIRST_SHUNT ? "Shunt" : "Series");
                         });

} // namespace
