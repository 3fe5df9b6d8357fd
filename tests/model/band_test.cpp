#include "model/bandevaluation.h"
#include "model/documentfile.h"
#include "model/matchfigures.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Equal bit for bit, NaN equal to NaN.
bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}
bool Same(Complex a, Complex b) {
    return Same(a.re, b.re) && Same(a.im, b.im);
}

TEST(BandSettings, CheckTakesOnlyFiniteIncreasingPositiveBands) {
    const struct {
        double low, high;
        int64_t points;
        BandProblem expected;
    } cases[] = {
        {1e-9, 1e9, 2, BandProblem::None},
        {400, 470, 10001, BandProblem::None},
        {kNaN, 470, 101, BandProblem::NotFinite},
        {400, INFINITY, 101, BandProblem::NotFinite},
        {0, 470, 101, BandProblem::LowNotPositive},
        {470, 470, 101, BandProblem::HighNotAboveLow},
        {470, 400, 101, BandProblem::HighNotAboveLow},
        {400, 470, 1, BandProblem::PointsOutOfRange},
        {400, 470, int64_t{1} << 40, BandProblem::PointsOutOfRange},
    };
    for (const auto& c : cases) {
        SmithChrt s = NewDocument();
        EXPECT_EQ(SetBand(s, c.low, c.high, c.points), c.expected) << c.low << " " << c.high;
        EXPECT_EQ(s.band.IsSet(), c.expected == BandProblem::None);
        EXPECT_EQ(*BandProblemText(c.expected) == '\0', c.expected == BandProblem::None);
    }
}

TEST(BandSettings, FirstTurnOnTakesTheDefaultBandAndFileNewClearsIt) {
    const struct {
        double frequency, f1, f2, f3;
        bool turnsOn;
        double low, high;
    } cases[] = {
        {435, 1000, 1000, 1000, true, 435 * 0.9, 435 * 1.1},
        {1000, 470, 400, 435, true, 400, 470},
        {100, 0, 470, 470, true, 100 * 0.9, 100 * 1.1}, // unusable F keys: the frequency serves
        {100, kNaN, 470, 470, true, 100 * 0.9, 100 * 1.1},
        {0, 1000, 1000, 1000, false, 0, 0},
        {-50, 5, 5, 5, false, 0, 0},
    };
    for (const auto& c : cases) {
        SmithChrt s = NewDocument();
        s.frequency = c.frequency;
        s.f1Freq = c.f1;
        s.f2Freq = c.f2;
        s.f3Freq = c.f3;
        s.band.points = 7;
        EXPECT_EQ(TurnBandDisplayOn(s), c.turnsOn) << c.frequency << " " << c.f1;
        EXPECT_EQ(s.band, (BandSettings{c.low, c.high, 7, c.turnsOn, false}));
    }
    SmithChrt s = NewDocument();
    ASSERT_EQ(SetBand(s, 10, 20, 3), BandProblem::None);
    EXPECT_TRUE(TurnBandDisplayOn(s));
    EXPECT_EQ(s.band, (BandSettings{10, 20, 3, true, false})); // a band set is kept
    s.frequency = 435;
    s.unknownRecords.push_back({MakeRecordTag('Z', 'Z', 'Z', 'Z'), {1, 2}});
    s.ResetForNewDocument();
    EXPECT_EQ(s.band, BandSettings{});
    EXPECT_TRUE(s.unknownRecords.empty());
    EXPECT_EQ(s.frequency, 435);
}

class BandEvaluation : public ::testing::TestWithParam<SampleNetwork> {};

// Every band point is what the cascade gives at that frequency on its own, bit for bit, and the
// document is left exactly as it was.
TEST_P(BandEvaluation, EqualsTheSingleFrequencyCascadeAtEveryPoint) {
    SmithChrt doc = DocumentWith(GetParam().components);
    doc.startZ = {12.5, -8};
    doc.band = {300, 700, 41, true, true};
    doc.activeIndex = 0;
    doc.maxNetworkQ = 1234;
    doc.endZ = {5, 6};
    const std::vector<uint8_t> bytes = WriteDocument(doc);

    const BandResult r = EvaluateBand(doc, {}, true);
    ASSERT_EQ(r.size(), 41u);
    ASSERT_TRUE(r.evaluated);
    ASSERT_EQ(r.junctionCount, doc.componentCount);
    SmithChrt single = doc;
    std::vector<Complex> outputs;
    for (size_t k = 0; k < r.size(); ++k) {
        single.frequency = r.frequencies[k];
        ASSERT_TRUE(single.EvaluateCascade(&outputs));
        EXPECT_TRUE(Same(r.endZ[k], single.endZ)) << k;
        for (int32_t i = 0; i < doc.componentCount; ++i) {
            EXPECT_TRUE(Same(r.JunctionLocus(i)[k], outputs[static_cast<size_t>(i)])) << k;
        }
        const MatchFigures m = ComputeMatch(single.endZ, doc.goalZ);
        EXPECT_TRUE(Same(r.vswr[k], m.vswr) && Same(r.returnLossDb[k], m.returnLossDb) &&
                    Same(r.mismatchLossDb[k], m.mismatchLossDb))
            << k;
    }
    EXPECT_EQ(WriteDocument(doc), bytes);
    EXPECT_EQ(doc.maxNetworkQ, 1234);
    EXPECT_EQ(doc.endZ, Complex(5, 6));
    EXPECT_EQ(doc.plottingActive, 0);
}

INSTANTIATE_TEST_SUITE_P(Networks, BandEvaluation, ::testing::ValuesIn(SampleNetworks()),
                         [](const auto& info) { return info.param.name; });

TEST(BandEvaluationFrequencies, LinearWithExactEnds) {
    for (const BandSettings& b :
         {BandSettings{0.1, 0.7, 3, false, false}, BandSettings{1e-3, 1e6, 10001, false, false}}) {
        SmithChrt s = NewDocument();
        s.band = b;
        const BandResult r = EvaluateBand(s);
        ASSERT_EQ(r.size(), static_cast<size_t>(b.points));
        EXPECT_EQ(r.frequencies.front(), b.low);
        EXPECT_EQ(r.frequencies.back(), b.high);
        for (size_t k = 1; k < r.size(); ++k) {
            ASSERT_LT(r.frequencies[k - 1], r.frequencies[k]) << k;
            const double exact = b.low + (b.high - b.low) * static_cast<double>(k) / (b.points - 1);
            ASSERT_NEAR(r.frequencies[k], exact, 1e-12 * b.high) << k;
        }
        EXPECT_EQ(r.endZ[1], s.startZ); // an empty network ends where it starts
    }
}

TEST(BandEvaluationLoads, NaNPointsAreLeftOutOfTheWorstSearch) {
    SmithChrt doc = DocumentWith({NewCapacitor(PLACE_SERIES, 50, 100)});
    doc.band = {50, 150, 11, true, false};
    // Data from 70 to 120 MHz; over the whole band the VSWR would be highest at 50 MHz.
    BandLoads loads;
    loads.start = [](double f) { return f < 70 || f > 120 ? Complex{kNaN, kNaN} : Complex{50, 0}; };
    const BandResult r = EvaluateBand(doc, loads, true);
    for (size_t k = 0; k < r.size(); ++k) {
        const bool inData = r.frequencies[k] >= 70 && r.frequencies[k] <= 120;
        EXPECT_EQ(std::isnan(r.endZ[k].re) && std::isnan(r.vswr[k]), !inData) << k;
        EXPECT_EQ(std::isnan(r.JunctionLocus(0)[k].im), !inData) << k;
    }
    EXPECT_EQ(r.worstIndex, 2);
    EXPECT_EQ(r.worstFrequency, 70);
    EXPECT_EQ(r.worstVswr, r.vswr[2]);
    EXPECT_EQ(r.worstReturnLossDb, ReturnLossDb(r.vswr[2]));

    // A goal without data leaves the ending impedance but not the figures.
    BandLoads goalOnly;
    goalOnly.goal = [](double f) { return f < 60 ? Complex{kNaN, 0} : Complex{50, 0}; };
    const BandResult g = EvaluateBand(doc, goalOnly);
    EXPECT_FALSE(std::isnan(g.endZ[0].re));
    EXPECT_TRUE(std::isnan(g.vswr[0]));
    EXPECT_EQ(g.worstIndex, 1);

    loads.start = [](double) { return Complex{kNaN, 0}; };
    const BandResult none = EvaluateBand(doc, loads);
    EXPECT_EQ(none.worstIndex, -1);
    EXPECT_TRUE(std::isnan(none.worstVswr) && std::isnan(none.worstFrequency));

    doc.components[0].kind = 42; // the cascade cannot be evaluated at all
    const BandResult bad = EvaluateBand(doc, {}, true);
    EXPECT_FALSE(bad.evaluated);
    EXPECT_TRUE(std::isnan(bad.endZ[3].re) && std::isnan(bad.JunctionLocus(0)[3].re));
    EXPECT_EQ(bad.worstIndex, -1);
    doc.band = {470, 400, 11, true, false};
    EXPECT_EQ(EvaluateBand(doc).size(), 0u);
    doc.band = {};
    EXPECT_EQ(EvaluateBand(doc).size(), 0u);
}

} // namespace
