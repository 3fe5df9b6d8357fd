// The lossy network against a chain-matrix cascade written apart from the model, straight from
// the textbook forms (Pozar, Microwave Engineering, tables 4.1 and 2.91), with the power
// figures taken from the port voltages and currents of a driven network.
#include "model/losses.h"
#include "model/matchfigures.h"
#include "model/smithchrt.h"
#include "model/twoport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

namespace {

using C = std::complex<double>;

// The program's own units: its degree and its 2 pi (to ten digits) define the angles and
// reactances of a document, so the reference takes them as given.
constexpr double kDegree = 0.017453292519444445;
constexpr double kTwoPi = 6.283185307;

struct Matrix {
    C a{1}, b{0}, c{0}, d{1};
};

Matrix Times(const Matrix& x, const Matrix& y) {
    return {x.a * y.a + x.b * y.c, x.a * y.b + x.b * y.d, x.c * y.a + x.d * y.c,
            x.c * y.b + x.d * y.d};
}

double Law(LossLaw law, double ratio) {
    return law == LossLaw::Linear ? ratio : law == LossLaw::Sqrt ? std::sqrt(ratio) : 1.0;
}

const LossSpec* SpecFor(const SmithChrt& doc, const Component& c) {
    if (c.loss) {
        return &*c.loss;
    }
    const std::optional<LossSpec>& d = c.kind == KIND_INDUCTOR    ? doc.losses.inductorQ
                                       : c.kind == KIND_CAPACITOR ? doc.losses.capacitorQ
                                                                  : doc.losses.lineLoss;
    return d ? &*d : nullptr;
}

// The impedance of a lumped part at f MHz.
C Lumped(const SmithChrt& doc, const Component& c, double f) {
    const double w = kTwoPi * f * 1e6;
    const C jwl{0, w * c.inductance * 1e-9};
    const C jwc{0, w * c.capacitance * 1e-12};
    const LossSpec* s = SpecFor(doc, c);
    const double q = s != nullptr ? s->value * Law(s->law, f / s->mhz) : INFINITY;
    switch (c.kind) {
    case KIND_INDUCTOR:
        return jwl + jwl.imag() / q;
    case KIND_CAPACITOR:
        return 1.0 / jwc + 1.0 / jwc.imag() / q;
    case KIND_RESISTOR:
        return c.resistance;
    case KIND_SERIES_RLC:
        return c.resistance + jwl + 1.0 / jwc;
    case KIND_PARALLEL_RLC:
        return 1.0 / (1.0 / c.resistance + 1.0 / jwl + jwc);
    default: // a line placed as a lumped part is its characteristic impedance
        return c.lineZ0;
    }
}

Matrix Part(const SmithChrt& doc, const Component& c, double f) {
    if (c.placement == PLACE_SERIES) {
        return {1, Lumped(doc, c, f), 0, 1};
    }
    if (c.placement == PLACE_SHUNT) {
        return {1, 0, 1.0 / Lumped(doc, c, f), 1};
    }
    // Length in reference wavelengths (theta / 360)(f_ref / f_L); loss in dB over that length.
    const LossSpec* s = SpecFor(doc, c);
    const double db = s == nullptr ? 0
                                   : s->value * Law(s->law, f / s->mhz) * (c.lineAngle / 360) *
                                         (s->mhz / c.lineFreq);
    const double nepers = db * std::log(10.0) / 20;
    // Whole turns leave cosh, sinh and tanh as they are: dropped before the angle is in radians.
    const double degrees = c.lineAngle * f / c.lineFreq;
    const C gl{nepers, std::fmod(degrees, 360) * kDegree};
    const double z0 = c.lineZ0;
    if (c.placement == PLACE_TL_SERIES) {
        return {std::cosh(gl), z0 * std::sinh(gl), std::sinh(gl) / z0, std::cosh(gl)};
    }
    const C zStub = c.placement == PLACE_TL_SHUNT_OPEN ? z0 / std::tanh(gl) : z0 * std::tanh(gl);
    return {1, 0, 1.0 / zStub, 1};
}

Matrix Cascade(const SmithChrt& doc, double f) {
    Matrix m;
    for (int i = 0; i < doc.componentCount; ++i) {
        m = Times(m, Part(doc, doc.components[i], f));
    }
    return m;
}

// Drives the network from a 1 V generator of impedance zs into zl and measures the powers.
struct Powers {
    C zOut;
    double gain;        ///< load power over the generator's available power
    double dissipation; ///< port 1 power over load power
};

Powers Drive(const Matrix& m, C zs, C zl) {
    const C zin = (m.a * zl + m.b) / (m.c * zl + m.d);
    const C i1 = 1.0 / (zs + zin);
    const C v1 = 1.0 - zs * i1;
    const C det = m.a * m.d - m.b * m.c;
    const C i2 = (-m.c * v1 + m.a * i1) / det;
    const double load = std::norm(i2) * zl.real() / 2;
    const double input = (v1 * std::conj(i1)).real() / 2;
    return {(m.d * zs + m.b) / (m.c * zs + m.a), load / (1 / (8 * zs.real())), input / load};
}

LossSpec RandomSpec(std::mt19937_64& rng, bool line) {
    std::uniform_real_distribution<double> u(0, 1);
    LossSpec s;
    s.value = line ? 0.05 + 2 * u(rng) : 10 + 300 * u(rng);
    s.mhz = 50 + 2000 * u(rng);
    s.law = static_cast<LossLaw>(rng() % 3);
    return s;
}

SmithChrt RandomLossyNetwork(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> u(0, 1);
    SmithChrt doc;
    doc.startZ = {5 + 200 * u(rng), -100 + 200 * u(rng)};
    doc.goalZ = {5 + 200 * u(rng), -100 + 200 * u(rng)};
    doc.losses.inductorQ = RandomSpec(rng, false);
    doc.losses.capacitorQ = RandomSpec(rng, false);
    doc.losses.lineLoss = RandomSpec(rng, true);
    const int n = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) {
        Component c;
        const int pick = static_cast<int>(rng() % 9);
        const int32_t lumpedPlace = rng() % 2 == 0 ? PLACE_SERIES : PLACE_SHUNT;
        if (pick <= 1) {
            c = NewInductor(lumpedPlace, 20 + 80 * u(rng), 100 + 900 * u(rng));
        } else if (pick <= 3) {
            c = NewCapacitor(lumpedPlace, 20 + 80 * u(rng), 100 + 900 * u(rng));
        } else if (pick <= 6) {
            c = NewLine(PLACE_TL_SERIES + static_cast<int32_t>(rng() % 3), 20 + 100 * u(rng),
                        100 + 900 * u(rng));
            c.lineAngle = 5 + 200 * u(rng);
        } else if (pick == 7) {
            c = NewResistor(lumpedPlace, 10 + 200 * u(rng));
        } else {
            c = NewCompound(rng() % 2 == 0 ? KIND_SERIES_RLC : KIND_PARALLEL_RLC, lumpedPlace);
            c.resistance = 10 + 200 * u(rng);
            c.inductance = 1 + 50 * u(rng);
            c.capacitance = 0.5 + 10 * u(rng);
        }
        // Some parts take their own loss, some are made lossless against the defaults.
        const int own = static_cast<int>(rng() % 4);
        if (own == 1 && LossClassOf(c.kind) != LossClass::None) {
            c.loss = RandomSpec(rng, c.kind == KIND_TLINE);
        } else if (own == 2 && LossClassOf(c.kind) != LossClass::None) {
            c.loss = LossSpec{c.kind == KIND_TLINE ? 0.0 : INFINITY, 0, LossLaw::Constant};
        }
        doc.AddComponent(c);
    }
    return doc;
}

// Impedances compared where the chart shows them: as reflection coefficients on its 50 ohm.
void ExpectNear(C got, C want, const char* what, int trial) {
    const auto gamma = [](C z) { return (z - 50.0) / (z + 50.0); };
    EXPECT_LE(std::abs(gamma(got) - gamma(want)), 1e-9) << what << " in network " << trial;
}

TEST(LossyNetwork, CascadeAndTwoPortAgreeWithTheChainMatrixReference) {
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> u(0, 1);
    for (int trial = 0; trial < 400; ++trial) {
        SmithChrt doc = RandomLossyNetwork(rng);
        doc.frequency = 50 + 1450 * u(rng);
        const Powers ref = Drive(Cascade(doc, doc.frequency), {doc.startZ.re, doc.startZ.im},
                                 {doc.goalZ.re, -doc.goalZ.im});
        ASSERT_TRUE(doc.EvaluateCascade());
        ExpectNear({doc.endZ.re, doc.endZ.im}, ref.zOut, "ending impedance", trial);
        const TwoPortFigures t = NetworkTwoPort(doc, doc.frequency, doc.startZ, doc.goalZ);
        EXPECT_NEAR(std::pow(10, t.transducerGainDb / 10), ref.gain, 1e-9 * ref.gain) << trial;
        EXPECT_NEAR(std::pow(10, t.dissipationLossDb / 10), ref.dissipation, 1e-9 * ref.dissipation)
            << trial;
        EXPECT_LE(t.transducerGainDb, 1e-12) << trial; // a passive network gains nothing
    }
}

TEST(LossyNetwork, BandAgreesWithTheReferenceAtEveryPoint) {
    std::mt19937_64 rng(7);
    SmithChrt doc = RandomLossyNetwork(rng);
    doc.band = {100, 1900, 37, true, false};
    const BandResult r = EvaluateBand(doc);
    ASSERT_TRUE(r.HasTwoPort());
    for (size_t k = 0; k < r.size(); ++k) {
        const Powers ref = Drive(Cascade(doc, r.frequencies[k]), {doc.startZ.re, doc.startZ.im},
                                 {doc.goalZ.re, -doc.goalZ.im});
        ExpectNear({r.endZ[k].re, r.endZ[k].im}, ref.zOut, "band ending impedance",
                   static_cast<int>(k));
        EXPECT_NEAR(std::pow(10, r.transducerGainDb[k] / 10), ref.gain, 1e-9 * ref.gain);
    }
}

// Without loss in L, C and lines, the generator's available power reaches the load less only
// what the mismatch at the load reflects: GT = -ML for a real goal, and nothing is dissipated.
TEST(LossyNetwork, LosslessNetworkGainIsTheMismatchLoss) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (int trial = 0; trial < 100; ++trial) {
        SmithChrt doc = RandomLossyNetwork(rng);
        doc.losses = {};
        int kept = 0;
        for (int i = 0; i < doc.componentCount; ++i) {
            Component c = doc.components[i];
            c.loss.reset();
            if (LossClassOf(c.kind) != LossClass::None) {
                doc.components[kept++] = c;
            }
        }
        doc.componentCount = kept;
        doc.goalZ = {5 + 200 * u(rng), 0};
        doc.frequency = 50 + 1450 * u(rng);
        doc.endZ = doc.startZ;
        ASSERT_TRUE(doc.EvaluateCascade());
        const TwoPortFigures t = NetworkTwoPort(doc, doc.frequency, doc.startZ, doc.goalZ);
        EXPECT_NEAR(t.dissipationLossDb, 0, 1e-9) << trial;
        const C g = (C{doc.endZ.re, doc.endZ.im} - doc.goalZ.re) /
                    (C{doc.endZ.re, doc.endZ.im} + doc.goalZ.re);
        EXPECT_NEAR(std::pow(10, t.transducerGainDb / 10), 1 - std::norm(g), 1e-9) << trial;
        // The readout's mismatch loss goes through the VSWR, which costs it digits when high.
        const double ml = ComputeMatch(doc.endZ, doc.goalZ).mismatchLossDb;
        if (ml < 10) {
            EXPECT_NEAR(t.transducerGainDb, -ml, 1e-8) << trial;
        }
    }
}

struct LawCase {
    LossLaw law;
    double f;
    double expectedQ;
};

class QualityFactorLaw : public testing::TestWithParam<LawCase> {};

// An inductor of Q 50 at 100 MHz: its series resistance is X / Q(f).
TEST_P(QualityFactorLaw, SeriesResistanceIsReactanceOverQ) {
    const LawCase& p = GetParam();
    LossSettings d;
    d.inductorQ = LossSpec{50, 100, p.law};
    const Component l = NewInductor(PLACE_SERIES, 50, 100);
    const ElementValue v = EvaluateElement(d, l, p.f);
    EXPECT_NEAR(v.ze.im / v.ze.re, p.expectedQ, 1e-12 * p.expectedQ);
}

INSTANTIATE_TEST_SUITE_P(Laws, QualityFactorLaw,
                         testing::Values(LawCase{LossLaw::Constant, 400, 50},
                                         LawCase{LossLaw::Linear, 400, 200},
                                         LawCase{LossLaw::Sqrt, 400, 100},
                                         LawCase{LossLaw::Sqrt, 25, 25}));

// A matched lossy line: all that leaves port 2 is what the line lets through, so the
// dissipation in dB is the line's attenuation: 0.5 dB per wavelength at 1 GHz, a 180-degree
// line at 500 MHz (one wavelength at the reference) under a square-root law at 2 GHz.
TEST(LossyNetwork, MatchedLineDissipatesItsAttenuation) {
    SmithChrt doc;
    doc.losses.lineLoss = LossSpec{0.5, 1000, LossLaw::Sqrt};
    Component line = NewLine(PLACE_TL_SERIES, 50, 500);
    line.lineAngle = 180;
    doc.AddComponent(line);
    const TwoPortFigures t = NetworkTwoPort(doc, 2000, {50, 0}, {50, 0});
    EXPECT_NEAR(t.dissipationLossDb, 0.5 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(t.transducerGainDb, -0.5 * std::sqrt(2.0), 1e-12);
}

TEST(LossyNetwork, FiguresAreNaNForATerminationWithoutResistance) {
    SmithChrt doc;
    doc.AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    for (const Complex zs : {Complex{0, 10}, Complex{-5, 0}}) {
        const TwoPortFigures t = NetworkTwoPort(doc, 1000, zs, {50, 0});
        EXPECT_TRUE(std::isnan(t.transducerGainDb) && std::isnan(t.dissipationLossDb));
        const TwoPortFigures u = NetworkTwoPort(doc, 1000, {50, 0}, zs);
        EXPECT_TRUE(std::isnan(u.transducerGainDb) && std::isnan(u.dissipationLossDb));
    }
}

// With no loss set, nothing about the cascade changes: the same element values, bit for bit.
TEST(LossyNetwork, LosslessPartsEvaluateAsBefore) {
    for (const Component& c :
         {NewInductor(PLACE_SHUNT, 50, 300), NewCapacitor(PLACE_SERIES, 50, 300),
          NewLine(PLACE_TL_SHUNT_OPEN, 70, 300)}) {
        const ElementValue v = EvaluateElement({}, c, 777);
        EXPECT_EQ(v.ze, ElementImpedance(c, 777));
        EXPECT_EQ(v.nepersPerDegree, 0);
    }
}

} // namespace
