#include "bandevaluation.h"
#include "documentfile.h"
#include "matchfigures.h"
#include "sampledocuments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Equal bit for bit, NaN equal to NaN.
void ExpectSame(double a, double b, const char* what, size_t k) {
    if (std::isnan(a) || std::isnan(b)) {
        EXPECT_TRUE(std::isnan(a) && std::isnan(b)) << what << " at point " << k;
    } else {
        EXPECT_EQ(a, b) << what << " at point " << k;
    }
}

void ExpectSame(Complex a, Complex b, const char* what, size_t k) {
    ExpectSame(a.re, b.re, what, k);
    ExpectSame(a.im, b.im, what, k);
}

struct BandCheckCase {
    double low, high;
    int64_t points;
    BandProblem expected;
};

TEST(BandSettings, CheckTakesOnlyFiniteIncreasingPositiveBands) {
    const BandCheckCase cases[] = {
        {400, 470, 101, BandProblem::None},
        {1e-9, 1e9, 2, BandProblem::None},
        {400, 470, 10001, BandProblem::None},
        {kNaN, 470, 101, BandProblem::NotFinite},
        {400, kInf, 101, BandProblem::NotFinite},
        {0, 470, 101, BandProblem::LowNotPositive},
        {-10, 470, 101, BandProblem::LowNotPositive},
        {470, 470, 101, BandProblem::HighNotAboveLow},
        {470, 400, 101, BandProblem::HighNotAboveLow},
        {400, 470, 1, BandProblem::PointsOutOfRange},
        {400, 470, 10002, BandProblem::PointsOutOfRange},
        {400, 470, int64_t{1} << 40, BandProblem::PointsOutOfRange},
    };
    for (const BandCheckCase& c : cases) {
        EXPECT_EQ(CheckBand(c.low, c.high, c.points), c.expected) << c.low << " " << c.high;
        SmithChrt s = NewDocument();
        EXPECT_EQ(SetBand(s, c.low, c.high, c.points), c.expected);
        EXPECT_EQ(s.band.IsSet(), c.expected == BandProblem::None);
        EXPECT_EQ(std::string(BandProblemText(c.expected)).empty(),
                  c.expected == BandProblem::None);
    }
}

struct DefaultBandCase {
    double frequency, f1, f2, f3;
    bool turnsOn;
    double low, high;
};

TEST(BandSettings, FirstTurnOnTakesTheDefaultBand) {
    const DefaultBandCase cases[] = {
        {435, 1000, 1000, 1000, true, 435 * 0.9, 435 * 1.1},
        {1000, 470, 400, 435, true, 400, 470},
        {1000, 400, 470, 470, true, 400, 470},
        {100, 0, 470, 470, true, 100 * 0.9, 100 * 1.1}, // a zero F key: the frequency serves
        {100, kNaN, 470, 470, true, 100 * 0.9, 100 * 1.1},
        {0, 1000, 1000, 1000, false, 0, 0},
        {kNaN, 5, 5, 5, false, 0, 0},
        {-50, 5, 5, 5, false, 0, 0},
    };
    for (const DefaultBandCase& c : cases) {
        SmithChrt s = NewDocument();
        s.frequency = c.frequency;
        s.f1Freq = c.f1;
        s.f2Freq = c.f2;
        s.f3Freq = c.f3;
        s.band.points = 7;
        EXPECT_EQ(TurnBandDisplayOn(s), c.turnsOn) << c.frequency << " " << c.f1;
        EXPECT_EQ(s.band.display, c.turnsOn);
        EXPECT_EQ(s.band.low, c.low);
        EXPECT_EQ(s.band.high, c.high);
        EXPECT_EQ(s.band.points, 7);
    }
    // A band already set is kept.
    SmithChrt s = NewDocument();
    ASSERT_EQ(SetBand(s, 10, 20, 3), BandProblem::None);
    EXPECT_TRUE(TurnBandDisplayOn(s));
    EXPECT_EQ(s.band, (BandSettings{10, 20, 3, true, false}));
}

TEST(BandSettings, FileNewClearsTheExtensionsAndKeepsTheFrequencies) {
    SmithChrt s = NewDocument();
    s.frequency = 435;
    s.band = {400, 470, 201, true, true};
    s.unknownRecords.push_back({MakeRecordTag('Z', 'Z', 'Z', 'Z'), {1, 2}});
    s.ResetForNewDocument();
    EXPECT_EQ(s.band, BandSettings{});
    EXPECT_FALSE(s.band.IsSet());
    EXPECT_TRUE(s.unknownRecords.empty());
    EXPECT_EQ(s.frequency, 435);
}

class BandEvaluation : public ::testing::TestWithParam<SampleNetwork> {};

// Every band point is what the cascade gives at that frequency on its own, bit for bit, and the
// document is left exactly as it was.
TEST_P(BandEvaluation, EqualsTheSingleFrequencyCascadeAtEveryPoint) {
    SmithChrt doc = DocumentWith(GetParam().components);
    doc.startZ = {12.5, -8};
    doc.goalZ = {50, 0};
    doc.frequency = 435;
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
        ExpectSame(r.endZ[k], single.endZ, "endZ", k);
        for (int32_t i = 0; i < doc.componentCount; ++i) {
            ExpectSame(r.JunctionLocus(i)[k], outputs[static_cast<size_t>(i)], "junction", k);
        }
        const MatchFigures m = ComputeMatch(single.endZ, doc.goalZ);
        ExpectSame(r.vswr[k], m.vswr, "vswr", k);
        ExpectSame(r.returnLossDb[k], m.returnLossDb, "return loss", k);
        ExpectSame(r.mismatchLossDb[k], m.mismatchLossDb, "mismatch loss", k);
    }
    EXPECT_EQ(WriteDocument(doc), bytes);
    EXPECT_EQ(doc.maxNetworkQ, 1234);
    EXPECT_EQ(doc.endZ, Complex(5, 6));
    EXPECT_EQ(doc.frequency, 435);
    EXPECT_EQ(doc.plottingActive, 0);
}

INSTANTIATE_TEST_SUITE_P(Networks, BandEvaluation, ::testing::ValuesIn(SampleNetworks()),
                         [](const auto& info) { return info.param.name; });

TEST(BandFrequencies, LinearWithExactEnds) {
    const BandSettings bands[] = {
        {0.1, 0.7, 3, false, false},
        {400, 470, 101, false, false},
        {1e-3, 1e6, 10001, false, false},
        {1.1, 1.3, 2, false, false},
    };
    for (const BandSettings& b : bands) {
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
        // An empty network: the ending impedance is the starting one.
        EXPECT_EQ(r.endZ[r.size() / 2], s.startZ);
        EXPECT_EQ(r.junctionCount, 0);
    }
}

TEST(BandEvaluationLoads, NaNPointsAreLeftOutOfTheWorstSearch) {
    SmithChrt doc = DocumentWith({NewCapacitor(PLACE_SERIES, 50, 100)});
    doc.band = {50, 150, 11, true, false};
    // Data from 70 to 120 MHz; the highest VSWR of the whole band would be at 50 MHz.
    BandLoads loads;
    loads.start = [](double f) { return f < 70 || f > 120 ? Complex{kNaN, kNaN} : Complex{50, 0}; };
    const BandResult r = EvaluateBand(doc, loads, true);
    ASSERT_EQ(r.size(), 11u);
    for (size_t k = 0; k < r.size(); ++k) {
        const bool inData = r.frequencies[k] >= 70 && r.frequencies[k] <= 120;
        EXPECT_EQ(std::isnan(r.endZ[k].re), !inData) << k;
        EXPECT_EQ(std::isnan(r.vswr[k]), !inData) << k;
        EXPECT_EQ(std::isnan(r.JunctionLocus(0)[k].im), !inData) << k;
    }
    EXPECT_EQ(r.worstFrequency, 70);
    EXPECT_EQ(r.worstIndex, 2);
    EXPECT_EQ(r.worstVswr, r.vswr[2]);
    EXPECT_EQ(r.worstReturnLossDb, ReturnLossDb(r.vswr[2]));

    // A goal without data leaves the ending impedance but not the figures.
    BandLoads goalOnly;
    goalOnly.goal = [](double f) { return f < 60 ? Complex{kNaN, 0} : Complex{50, 0}; };
    const BandResult g = EvaluateBand(doc, goalOnly);
    EXPECT_FALSE(std::isnan(g.endZ[0].re));
    EXPECT_TRUE(std::isnan(g.vswr[0]));
    EXPECT_EQ(g.worstIndex, 1); // 60 MHz, the lowest point with a goal

    loads.start = [](double) { return Complex{kNaN, 0}; };
    const BandResult none = EvaluateBand(doc, loads);
    EXPECT_EQ(none.worstIndex, -1);
    EXPECT_TRUE(std::isnan(none.worstVswr));
    EXPECT_TRUE(std::isnan(none.worstFrequency));
}

TEST(BandEvaluationLoads, UnsetBandsAndUnknownKinds) {
    SmithChrt doc = DocumentWith({NewResistor(PLACE_SERIES, 10)});
    EXPECT_EQ(EvaluateBand(doc).size(), 0u); // no band set
    doc.band = {470, 400, 11, true, false};
    EXPECT_EQ(EvaluateBand(doc).size(), 0u);
    doc.band = {400, 470, 11, true, false};
    doc.components[0].kind = 42;
    const BandResult r = EvaluateBand(doc, {}, true);
    ASSERT_EQ(r.size(), 11u);
    EXPECT_FALSE(r.evaluated);
    EXPECT_TRUE(std::isnan(r.endZ[3].re));
    EXPECT_TRUE(std::isnan(r.JunctionLocus(0)[3].re));
    EXPECT_EQ(r.worstIndex, -1);
}

} // namespace
