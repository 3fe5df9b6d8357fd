#include "model/bandcascade.h"
#include "model/bandevaluation.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

bool Near(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

// The fast cascade must agree with the chart's own step-by-step evaluation, point by point, on
// every sample network (every kind and placement) and on random long ladders.
void ExpectSameAsBand(const SmithChrt& doc, const std::string& name) {
    const BandResult reference = EvaluateBand(doc);
    CBandCascade cascade;
    ASSERT_TRUE(cascade.Prepare(doc, JudgedFrequencies(doc))) << name;
    const double worst = cascade.Evaluate();
    ASSERT_EQ(cascade.EndZ().size(), reference.size()) << name;
    for (size_t k = 0; k < reference.size(); ++k) {
        EXPECT_TRUE(Near(cascade.EndZ()[k].re, reference.endZ[k].re)) << name << " point " << k;
        EXPECT_TRUE(Near(cascade.EndZ()[k].im, reference.endZ[k].im)) << name << " point " << k;
        EXPECT_TRUE(Near(cascade.Vswr()[k], reference.vswr[k])) << name << " point " << k;
    }
    EXPECT_TRUE(Near(worst, reference.worstVswr)) << name;
}

TEST(BandCascade, AgreesWithTheChartsEvaluationOnEverySampleNetwork) {
    for (const SampleNetwork& net : SampleNetworks()) {
        SmithChrt doc = DocumentWith(net.components);
        doc.startZ = {12.5, -8};
        doc.band = {doc.frequency * 0.8, doc.frequency * 1.25, 31, true, false};
        ExpectSameAsBand(doc, net.name);
    }
}

TEST(BandCascade, AgreesWithTheChartsEvaluationWithLossyParts) {
    for (const SampleNetwork& net : SampleNetworks()) {
        SmithChrt doc = DocumentWith(net.components);
        doc.startZ = {12.5, -8};
        doc.band = {doc.frequency * 0.8, doc.frequency * 1.25, 31, true, false};
        doc.losses.inductorQ = LossSpec{40, doc.frequency, LossLaw::Sqrt};
        doc.losses.capacitorQ = LossSpec{300, 0, LossLaw::Constant};
        doc.losses.lineLoss = LossSpec{0.8, doc.frequency, LossLaw::Linear};
        ExpectSameAsBand(doc, net.name + " lossy");
    }
}

TEST(BandCascade, AgreesOnRandomLongLaddersAndAfterChangingOneComponent) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> kind(0, 7);
    std::uniform_real_distribution<double> scale(0.2, 5);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<Component> parts;
        for (int i = 0; i < MAX_COMPONENTS; ++i) {
            const double z = 50 * scale(rng);
            const Component choices[] = {
                NewInductor(PLACE_SERIES, z, 435),       NewCapacitor(PLACE_SHUNT, z, 435),
                NewLine(PLACE_TL_SERIES, z, 435),        NewLine(PLACE_TL_SHUNT_OPEN, z, 435),
                NewLine(PLACE_TL_SHUNT_SHORTED, z, 435), NewCapacitor(PLACE_SERIES, z, 435),
                NewInductor(PLACE_SHUNT, z, 435),        NewResistor(PLACE_SERIES, z / 50),
            };
            parts.push_back(choices[kind(rng)]);
        }
        SmithChrt doc = DocumentWith(parts);
        doc.frequency = 435;
        doc.startZ = {12.5, -8};
        doc.band = {400, 470, 41, true, false};
        ExpectSameAsBand(doc, "ladder " + std::to_string(trial));

        // Changing one component in place gives what a fresh evaluation of the changed
        // document gives.
        CBandCascade cascade;
        ASSERT_TRUE(cascade.Prepare(doc, JudgedFrequencies(doc)));
        cascade.Evaluate();
        doc.components[5].capacitance *= 1.7;
        doc.components[5].inductance *= 1.7;
        doc.components[5].lineAngle *= 1.7;
        cascade.SetComponent(5, doc.components[5]);
        const double worst = cascade.Evaluate();
        EXPECT_TRUE(Near(worst, EvaluateBand(doc).worstVswr)) << trial;
    }
}

TEST(BandCascade, WithoutABandJudgesTheAnalysisFrequencyAndCountsPointsWithoutData) {
    SmithChrt doc = DocumentWith({NewInductor(PLACE_SERIES, 30, 1000)});
    doc.startZ = {20, 0};
    EXPECT_EQ(JudgedFrequencies(doc), std::vector<double>{doc.frequency});

    CBandCascade cascade;
    BandLoads loads;
    loads.start = [](double f) { return f < 150 ? Complex{NAN, NAN} : Complex{25, 5}; };
    const double f[] = {100, 200, 300};
    ASSERT_TRUE(cascade.Prepare(doc, f, loads));
    const double worst = cascade.Evaluate();
    EXPECT_EQ(cascade.PointsWithoutData(), 1);
    EXPECT_TRUE(std::isnan(cascade.Vswr()[0]));
    EXPECT_FALSE(std::isnan(worst));
    EXPECT_DOUBLE_EQ(worst, std::max(cascade.Vswr()[1], cascade.Vswr()[2]));

    std::vector<Component> unknown{NewResistor(PLACE_SERIES, 10)};
    unknown[0].kind = 99;
    EXPECT_FALSE(cascade.Prepare(DocumentWith(unknown), f));
}

} // namespace
