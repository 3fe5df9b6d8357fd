#include "design/bodefano.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

struct ExactCase {
    TerminationModel model;
    double r;
    double x; // pF or nH
};

Complex Exact(const ExactCase& c, double fMHz) {
    const double w = 2 * kPi * fMHz * 1e6;
    const Complex one{1, 0};
    switch (c.model) {
    case TerminationModel::SeriesRC:
        return {c.r, -1 / (w * c.x * 1e-12)};
    case TerminationModel::ParallelRC:
        return one / Complex{1 / c.r, w * c.x * 1e-12};
    case TerminationModel::SeriesRL:
        return {c.r, w * c.x * 1e-9};
    case TerminationModel::ParallelRL:
        return one / Complex{1 / c.r, -1 / (w * c.x * 1e-9)};
    }
    return {};
}

// Pozar, Microwave Engineering, section 5.9, figure 5.23: the integral of ln(1/|Gamma|) (against
// w, or against w^-2 w for the other two) is at most pi/RC, pi R C, pi R/L and pi L/R; a flat
// Gamma_m over w1..w2 gives the limits below.
double TextbookGamma(const ExactCase& c, double f1, double f2) {
    const double w1 = 2 * kPi * f1 * 1e6;
    const double w2 = 2 * kPi * f2 * 1e6;
    const double C = c.x * 1e-12;
    const double L = c.x * 1e-9;
    switch (c.model) {
    case TerminationModel::ParallelRC:
        return std::exp(-kPi / ((w2 - w1) * c.r * C));
    case TerminationModel::SeriesRC:
        return std::exp(-kPi * c.r * C / (1 / w1 - 1 / w2));
    case TerminationModel::SeriesRL:
        return std::exp(-kPi * c.r / ((w2 - w1) * L));
    case TerminationModel::ParallelRL:
        return std::exp(-kPi * L / (c.r * (1 / w1 - 1 / w2)));
    }
    return 0;
}

TEST(BodeFano, ExactModelDataGivesTheTextbookLimit) {
    const ExactCase cases[] = {
        {TerminationModel::SeriesRC, 20, 6},
        {TerminationModel::ParallelRC, 200, 3},
        {TerminationModel::SeriesRL, 15, 40},
        {TerminationModel::ParallelRL, 300, 25},
    };
    const double f1 = 400;
    const double f2 = 500;
    for (const ExactCase& c : cases) {
        std::vector<double> f;
        std::vector<Complex> z;
        for (int k = 0; k <= 40; ++k) {
            f.push_back(f1 + (f2 - f1) * k / 40);
            z.push_back(Exact(c, f.back()));
        }
        const auto fit = FitTermination(f, z);
        const char* name = TerminationModelName(c.model);
        ASSERT_TRUE(fit) << name;
        EXPECT_EQ(fit->model, c.model) << name;
        EXPECT_NEAR(fit->r, c.r, 1e-9 * c.r) << name;
        EXPECT_NEAR(fit->reactive, c.x, 1e-9 * c.x) << name;
        EXPECT_LT(fit->relativeError, 1e-12) << name;

        const BodeFanoLimit limit = BodeFanoFor(*fit, f1, f2);
        const double g = TextbookGamma(c, f1, f2);
        EXPECT_NEAR(limit.minReflection, g, 1e-9 * g) << name;
        EXPECT_NEAR(limit.minVswr, (1 + g) / (1 - g), 1e-9) << name;
        EXPECT_NEAR(limit.maxReturnLossDb, -20 * std::log10(g), 1e-9) << name;
    }
}

TEST(BodeFano, NoisyDataFitsTheNearestModelAndPointsWithoutDataAreLeftOut) {
    const ExactCase c{TerminationModel::SeriesRC, 25, 4};
    std::vector<double> f;
    std::vector<Complex> z;
    for (int k = 0; k <= 20; ++k) {
        f.push_back(300 + 10 * k);
        const Complex exact = Exact(c, f.back());
        z.push_back({exact.re * (1 + 0.01 * std::sin(k)), exact.im});
    }
    z[3] = {NAN, NAN};
    const auto fit = FitTermination(f, z);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->model, TerminationModel::SeriesRC);
    EXPECT_NEAR(fit->r, 25, 0.3);
    EXPECT_GT(fit->relativeError, 1e-4);
    EXPECT_LT(fit->relativeError, 0.02);

    // A negative resistance or fewer than two points fit nothing.
    EXPECT_FALSE(FitTermination(f, std::vector<Complex>(f.size(), Complex{-5, 3})));
    EXPECT_FALSE(FitTermination(std::vector<double>{300}, std::vector<Complex>{{10, -5}}));
}

TEST(BodeFano, DocumentTakesTheBoundTerminationOverItsBand) {
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.band = {400, 500, 21, true, false};
    EXPECT_FALSE(DocumentBodeFano(doc)); // typed impedances get none

    const ExactCase c{TerminationModel::ParallelRC, 150, 2};
    auto data = std::make_shared<MeasuredData>();
    data->name = "load.s1p";
    for (int k = 0; k <= 50; ++k) {
        const double f = 380 + 3 * k;
        data->points.push_back(MeasuredPointFromImpedance(f, Exact(c, f), 50));
    }
    BindMeasuredData(doc, LoadEnd::Goal, data);
    auto limit = DocumentBodeFano(doc);
    ASSERT_TRUE(limit);
    EXPECT_FALSE(limit->fromStart);
    EXPECT_EQ(limit->fit.model, TerminationModel::ParallelRC);
    // The data between its points is interpolated in Gamma: close to, not exactly, the model.
    EXPECT_NEAR(limit->minReflection, TextbookGamma(c, 400, 500), 0.01);

    doc.band = {};
    EXPECT_FALSE(DocumentBodeFano(doc));
}

} // namespace
