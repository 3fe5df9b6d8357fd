#include "model/bandcascade.h"
#include "model/bandevaluation.h"
#include "model/losses.h"
#include "model/twoport.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
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

// A network of every kind and placement, lossy by the document's defaults and by parts' own
// settings; with oddPlacements some lumped parts placed as lines after a line (the chart's
// cascade gives them its angle; the two-port figures know no such part).
SmithChrt RandomNetwork(std::mt19937_64& rng, int32_t points, bool oddPlacements) {
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Component> parts;
    const int n = 1 + static_cast<int>(rng() % MAX_COMPONENTS);
    for (int i = 0; i < n; ++i) {
        const double z = 10 + 150 * u(rng);
        Component c;
        switch (rng() % 7) {
        case 0:
            c = NewInductor(PLACE_SERIES + static_cast<int32_t>(rng() % 2), z, 435);
            break;
        case 1:
            c = NewCapacitor(PLACE_SERIES + static_cast<int32_t>(rng() % 2), z, 435);
            break;
        case 2:
        case 3:
            c = NewLine(PLACE_TL_SERIES + static_cast<int32_t>(rng() % 3), z, 300 + 300 * u(rng));
            c.lineAngle = 1 + 400 * u(rng);
            break;
        case 4:
            c = NewResistor(PLACE_SERIES + static_cast<int32_t>(rng() % 2), z);
            break;
        case 5:
            c = NewCompound(rng() % 2 == 0 ? KIND_SERIES_RLC : KIND_PARALLEL_RLC,
                            PLACE_SERIES + static_cast<int32_t>(rng() % 2));
            c.resistance = z;
            c.inductance = 1 + 50 * u(rng);
            c.capacitance = 0.5 + 10 * u(rng);
            break;
        default: // a lumped part placed as a line after one: that line's angle
            c = NewCapacitor(PLACE_SERIES + static_cast<int32_t>(rng() % 2), z, 435);
            if (oddPlacements && std::any_of(parts.begin(), parts.end(), [](const Component& p) {
                    return p.kind == KIND_TLINE;
                })) {
                c.placement = PLACE_TL_SERIES + static_cast<int32_t>(rng() % 3);
            }
            break;
        }
        if (rng() % 4 == 0 && LossClassOf(c.kind) != LossClass::None) {
            c.loss = c.kind == KIND_TLINE ? LossSpec{0.1 + u(rng), 500, LossLaw::Sqrt}
                                          : LossSpec{20 + 200 * u(rng), 0, LossLaw::Constant};
        }
        parts.push_back(c);
    }
    SmithChrt doc = DocumentWith(parts);
    doc.frequency = 435;
    doc.startZ = {5 + 100 * u(rng), -50 + 100 * u(rng)};
    doc.goalZ = {5 + 100 * u(rng), -50 + 100 * u(rng)};
    if (rng() % 2 == 0) {
        doc.losses.inductorQ = LossSpec{30 + 100 * u(rng), 435, LossLaw::Sqrt};
        doc.losses.capacitorQ = LossSpec{100 + 300 * u(rng), 435, LossLaw::Linear};
        doc.losses.lineLoss = LossSpec{0.05 + u(rng), 435, LossLaw::Linear};
    }
    doc.band = {380, 490, points, true, false};
    return doc;
}

// Each element's value at each point, worked out from the factors kept per band, is exactly
// the model's element function's, before and after every component's value changes.
TEST(BandCascade, ElementValuesAreExactlyTheElementFunctionsOwn) {
    std::mt19937_64 rng(11);
    for (int trial = 0; trial < 40; ++trial) {
        SmithChrt doc = RandomNetwork(rng, 21 + trial % 3, true);
        CBandCascade cascade;
        ASSERT_TRUE(cascade.Prepare(doc, JudgedFrequencies(doc)));
        for (int round = 0; round < 2; ++round) {
            for (int32_t i = 0; i < doc.componentCount; ++i) {
                const Component& c = doc.components[static_cast<size_t>(i)];
                for (size_t k = 0; k < cascade.Frequencies().size(); ++k) {
                    const ElementValue want =
                        EvaluateElement(doc.losses, c, cascade.Frequencies()[k]);
                    const ElementValue got = cascade.ElementAt(i, k);
                    EXPECT_EQ(got.ze, want.ze) << trial << " part " << i << " point " << k;
                    EXPECT_EQ(got.nepersPerDegree, want.nepersPerDegree) << trial << " " << i;
                    if (c.kind == KIND_TLINE) {
                        EXPECT_EQ(got.theta, want.theta) << trial << " part " << i;
                    }
                }
            }
            // Every value changes, as the optimiser changes them; the cascade then gives what a
            // fresh evaluation of the changed document gives.
            for (int32_t i = 0; i < doc.componentCount; ++i) {
                Component& c = doc.components[static_cast<size_t>(i)];
                const double f = 0.5 + std::uniform_real_distribution<double>(0, 1.5)(rng);
                c.capacitance *= f;
                c.inductance *= f;
                c.resistance *= f;
                c.lineAngle *= f;
                cascade.SetComponent(i, c);
            }
            // Compared as reflections: near a stub's pole a high VSWR is rounding's to choose.
            const auto gamma = [](double vswr) {
                return std::isinf(vswr) ? 1.0 : (vswr - 1) / (vswr + 1);
            };
            const double worst = cascade.Evaluate();
            const double want = EvaluateBand(doc).worstVswr;
            EXPECT_EQ(std::isnan(worst), std::isnan(want)) << trial;
            if (!std::isnan(want)) {
                EXPECT_NEAR(gamma(worst), gamma(want), 1e-9) << trial << " round " << round;
            }
        }
    }
}

// Pozar, Microwave Engineering (12.13): G_T from the S-parameters on a real reference Z0, with
// the source and load reflections on the same reference.
double PozarTransducerGain(const SParameters& s, Complex zs, Complex zl, double z0) {
    using C = std::complex<double>;
    const auto c = [](Complex z) { return C{z.re, z.im}; };
    const C gs = (c(zs) - z0) / (c(zs) + z0);
    const C gl = (c(zl) - z0) / (c(zl) + z0);
    const C s11 = c(s.s11), s12 = c(s.s12), s21 = c(s.s21), s22 = c(s.s22);
    const C gin = s11 + s12 * s21 * gl / (1.0 - s22 * gl);
    return std::norm(s21) * (1 - std::norm(gs)) * (1 - std::norm(gl)) /
           (std::norm(1.0 - gs * gin) * std::norm(1.0 - s22 * gl));
}

// The cascade's transducer gain against the textbook figure from the network's S-parameters,
// with lossy parts, varying loads (measured data, and points without it) and no loads at all.
TEST(BandCascade, TransducerGainIsPozarsFromTheSParameters) {
    std::mt19937_64 rng(5);
    for (int trial = 0; trial < 40; ++trial) {
        const SmithChrt doc = RandomNetwork(rng, 25, false);
        BandLoads loads;
        if (trial % 2 == 1) {
            loads.start = [](double f) {
                return f < 390 ? Complex{NAN, NAN} : Complex{f / 20, 30 - f / 10};
            };
            loads.goal = [](double f) { return Complex{40 + f / 50, f / 30 - 10}; };
        }
        CBandCascade cascade;
        ASSERT_TRUE(cascade.Prepare(doc, JudgedFrequencies(doc), loads));
        cascade.SetTransducerGain(true);
        cascade.Evaluate();
        double worst = INFINITY;
        for (size_t k = 0; k < cascade.Frequencies().size(); ++k) {
            const double f = cascade.Frequencies()[k];
            const Complex zs = loads.start ? loads.start(f) : doc.startZ;
            const Complex goal = loads.goal ? loads.goal(f) : doc.goalZ;
            const double got = cascade.TransducerGain()[k];
            if (std::isnan(zs.re)) {
                EXPECT_TRUE(std::isnan(got)) << trial << " point " << k;
                continue;
            }
            const SParameters s = AbcdToS(*NetworkAbcd(doc, f), 50);
            const double want = PozarTransducerGain(s, zs, Conjugate(goal), 50);
            EXPECT_NEAR(got, want, 1e-8 * want + 1e-12) << trial << " point " << k;
            EXPECT_LE(got, 1 + 1e-12) << trial; // a passive network gains nothing
            worst = std::min(worst, want);
        }
        EXPECT_NEAR(cascade.WorstTransducerGain(), worst, 1e-8 * worst + 1e-12) << trial;
    }
}

} // namespace
