#include "design/standardvalues.h"
#include "model/bandevaluation.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(StandardValues, SeriesHoldTheTabulatedValues) {
    // E24 and below differ from rounding 10^(i/n) at several places; the wider series follow
    // the three-figure rounding except for E192's 9.20.
    const struct {
        const char* name;
        size_t count;
        std::vector<double> irregular;
    } cases[] = {
        {"E6", 6, {3.3, 4.7}},
        {"E12", 12, {2.7, 3.3, 3.9, 4.7, 8.2}},
        {"E24", 24, {2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7, 8.2}},
        {"E48", 48, {}},
        {"E96", 96, {}},
        {"E192", 192, {9.20}},
    };
    for (const auto& c : cases) {
        const StandardSeries* s = FindStandardSeries(c.name);
        ASSERT_NE(s, nullptr) << c.name;
        ASSERT_EQ(s->mantissas.size(), c.count) << c.name;
        for (size_t i = 0; i < c.count; ++i) {
            const double digits = c.count <= 24 ? 10 : 100;
            const double formula =
                std::round(std::pow(10.0, static_cast<double>(i) / c.count) * digits) / digits;
            const double v = s->mantissas[i];
            const bool listed =
                std::find(c.irregular.begin(), c.irregular.end(), v) != c.irregular.end();
            if (listed) {
                EXPECT_NE(v, formula) << c.name << " " << v;
            } else {
                EXPECT_NEAR(v, formula, 1e-12) << c.name << " index " << i;
            }
        }
    }
    EXPECT_EQ(FindStandardSeries("e96"), FindStandardSeries("E96"));
    EXPECT_EQ(FindStandardSeries("E7"), nullptr);
    EXPECT_EQ(FindStandardSeries(""), nullptr);
}

TEST(StandardValues, NeighboursAcrossDecades) {
    const struct {
        const char* series;
        double v, below, above;
    } cases[] = {
        {"E12", 50, 47, 56},
        {"E12", 47, 47, 47},
        {"E12", 0.0091, 0.0082, 0.01},
        {"E6", 7.5, 6.8, 10},
        {"E6", 1000, 1000, 1000},
        {"E24", 2.9, 2.7, 3.0},
        {"E192", 9.19, 9.09, 9.20},
        {"E96", 1e-3, 1e-3, 1e-3},
        {"E24", 0.99999999, 0.91, 1.0},
        {"E48", 123456, 121000, 127000},
    };
    for (const auto& c : cases) {
        const StandardNeighbours nb = NeighbourValues(*FindStandardSeries(c.series), c.v);
        EXPECT_DOUBLE_EQ(nb.below, c.below) << c.series << " " << c.v;
        EXPECT_DOUBLE_EQ(nb.above, c.above) << c.series << " " << c.v;
    }
}

SmithChrt LadderToSnap() {
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.frequency = 435;
    doc.startZ = {9, -14};
    doc.goalZ = {50, 0};
    doc.AddComponent(NewInductor(PLACE_SERIES, 27, 435));
    doc.AddComponent(NewCapacitor(PLACE_SHUNT, 33, 435));
    doc.AddComponent(NewInductor(PLACE_SERIES, 12, 435));
    doc.AddComponent(NewCapacitor(PLACE_SHUNT, 60, 435));
    doc.AddComponent(NewLine(PLACE_TL_SERIES, 60, 435));
    doc.band = {400, 470, 21, true, false};
    return doc;
}

// The chart's own band evaluation of a network as the objective shows it (gain from its two-port
// figures), negated for the gain so that lower is better.
double Judged(const SmithChrt& doc, OptimiseObjective objective) {
    const BandResult r = EvaluateBand(doc, {}, false, true);
    return objective == OptimiseObjective::Gain ? -r.worstTransducerGainDb : r.worstVswr;
}

// Snapping tries every neighbour combination: the choice must equal the best of all of them as
// the chart's own band evaluation judges each, for either objective (the gain with lossy parts,
// where the best gain and the best match differ).
TEST(StandardValues, SnapPicksTheBestNeighbourCombination) {
    for (const OptimiseObjective objective : {OptimiseObjective::Vswr, OptimiseObjective::Gain}) {
        SmithChrt doc = LadderToSnap();
        if (objective == OptimiseObjective::Gain) {
            doc.losses.inductorQ = LossSpec{8, 435, LossLaw::Constant};
            doc.losses.capacitorQ = LossSpec{30, 435, LossLaw::Constant};
        }
        const StandardSeries& e6 = *FindStandardSeries("E6");
        double best = 1e300;
        for (int mask = 0; mask < 16; ++mask) {
            SmithChrt trial = doc;
            for (int i = 0; i < 4; ++i) {
                double& v =
                    i % 2 == 0 ? trial.components[i].inductance : trial.components[i].capacitance;
                const StandardNeighbours nb = NeighbourValues(e6, v);
                v = (mask >> i) & 1 ? nb.above : nb.below;
            }
            best = std::min(best, Judged(trial, objective));
        }
        const double sign = objective == OptimiseObjective::Gain ? -1 : 1;

        const SnapResult r = SnapToStandard(doc, e6, objective);
        EXPECT_TRUE(r.exhaustive);
        EXPECT_EQ(r.snappedValues, 4);
        EXPECT_EQ(r.evaluations, 16);
        EXPECT_NEAR(sign * r.after, best, 1e-9 * std::fabs(best));
        EXPECT_NEAR(sign * r.before, Judged(doc, objective), 1e-9 * std::fabs(best));
        EXPECT_EQ(r.network[4], doc.components[4]); // lines are not snapped
        SmithChrt snapped = doc;
        std::copy(r.network.begin(), r.network.end(), snapped.components.begin());
        EXPECT_NEAR(Judged(snapped, objective), sign * r.after, 1e-9 * std::fabs(r.after));
        for (int i = 0; i < 4; ++i) {
            const double v = i % 2 == 0 ? r.network[i].inductance : r.network[i].capacitance;
            const StandardNeighbours nb = NeighbourValues(e6, v);
            EXPECT_EQ(nb.below, nb.above) << i; // a standard value itself
        }
    }
}

TEST(StandardValues, ManyValuesFallBackToACoordinateSearch) {
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.frequency = 435;
    doc.startZ = {20, -10};
    for (int i = 0; i < 7; ++i) {
        doc.AddComponent(NewCompound(KIND_SERIES_RLC, PLACE_SERIES));
        doc.components[i].inductance = 1.3 + i;
    }
    doc.band = {400, 470, 11, true, false};
    const SnapResult r = SnapToStandard(doc, *FindStandardSeries("E12"));
    EXPECT_FALSE(r.exhaustive);
    EXPECT_EQ(r.snappedValues, 21);
    EXPECT_LT(r.evaluations, 1 << 21);
    // No worse than rounding each value to its nearest standard value.
    SmithChrt nearest = doc;
    const StandardSeries& e12 = *FindStandardSeries("E12");
    for (int i = 0; i < 7; ++i) {
        for (double Component::*f :
             {&Component::resistance, &Component::inductance, &Component::capacitance}) {
            double& v = nearest.components[i].*f;
            const StandardNeighbours nb = NeighbourValues(e12, v);
            v = std::log(v / nb.below) <= std::log(nb.above / v) ? nb.below : nb.above;
            const double got = r.network[i].*f;
            EXPECT_TRUE(got == nb.below || got == nb.above) << i;
        }
    }
    EXPECT_LE(r.after, EvaluateBand(nearest).worstVswr * (1 + 1e-12));
}

} // namespace
