#include "model/complex.h"
#include "model/geometry.h"
#include "model/matchfigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool IsNaNPair(Complex z) {
    return std::isnan(z.re) && std::isnan(z.im);
}

TEST(Complex, DivisionTakesTheScaledBranches) {
    // |d| < |c| and the opposite branch both give the exact quotient of easy values.
    const Complex a{3, 4};
    EXPECT_EQ(a / Complex(2, 0), Complex(1.5, 2));
    EXPECT_EQ(a / Complex(0, 2), Complex(2, -1.5));
    const Complex q = Complex(1, 0) / Complex(1, 1);
    EXPECT_DOUBLE_EQ(q.re, 0.5);
    EXPECT_DOUBLE_EQ(q.im, -0.5);
}

struct BadDivisor {
    Complex b;
};

void PrintTo(const BadDivisor& c, std::ostream* os) {
    *os << c.b.re << "," << c.b.im;
}

class ComplexBadDivisor : public ::testing::TestWithParam<BadDivisor> {};

TEST_P(ComplexBadDivisor, GivesNaNInBothParts) {
    EXPECT_TRUE(IsNaNPair(Complex(1, 2) / GetParam().b));
}

INSTANTIATE_TEST_SUITE_P(Divisors, ComplexBadDivisor,
                         ::testing::Values(BadDivisor{{0, 0}}, BadDivisor{{kNaN, 1}},
                                           BadDivisor{{1, kNaN}}, BadDivisor{{kInf, kInf}},
                                           BadDivisor{{-0.0, 0.0}}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(Complex, InfiniteOverFiniteDenominatorFlowsOn) {
    const Complex q = Complex(kInf, 0) / Complex(2, 0);
    EXPECT_EQ(q.re, kInf);
}

TEST(Geometry, TruncToInt32IsDefinedForEveryDouble) {
    EXPECT_EQ(TruncToInt32(-0.9), 0);
    EXPECT_EQ(TruncToInt32(0.9), 0);
    EXPECT_EQ(TruncToInt32(-189.99), -189);
    EXPECT_EQ(TruncToInt32(2147483647.9), 2147483647);
    EXPECT_EQ(TruncToInt32(-2147483648.9), INT32_MIN);
    EXPECT_EQ(TruncToInt32(2147483648.0), kInvalidCoordinate);
    EXPECT_EQ(TruncToInt32(kNaN), kInvalidCoordinate);
    EXPECT_EQ(TruncToInt32(kInf), kInvalidCoordinate);
    EXPECT_EQ(TruncToInt32(-kInf), kInvalidCoordinate);
    EXPECT_EQ(TruncToInt32(1e300), kInvalidCoordinate);
}

TEST(MatchFigures, SeriesCapacitorExample) {
    const MatchFigures m = ComputeMatch({50, -50}, {50, 0});
    EXPECT_EQ(m.vswr, 2.618033988749895);
    EXPECT_EQ(m.returnLossDb, 6.989700043360188);
    EXPECT_EQ(m.mismatchLossDb, 0.969100130080564);
}

TEST(MatchFigures, PerfectMatchAndShort) {
    const MatchFigures m = ComputeMatch({50, 0}, {50, 0});
    EXPECT_EQ(m.vswr, 1.0);
    EXPECT_EQ(m.returnLossDb, kInf);
    EXPECT_EQ(m.mismatchLossDb, 0.0);
    EXPECT_TRUE(std::signbit(m.mismatchLossDb));
    EXPECT_EQ(Vswr({0, 0}, {50, 0}), kInf);
}

TEST(MatchFigures, QOfImpedance) {
    EXPECT_EQ(QOf({10, -30}), 3.0);
    EXPECT_EQ(QOf({0, 50}), kInf);
    EXPECT_TRUE(std::isnan(QOf({0, 0})));
}

} // namespace
