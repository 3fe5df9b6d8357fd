// A goal bound to a measured load is matched to the load's conjugate, and the match figures are
// what the generator really sees: checked against an independent ABCD cascade of the network
// terminated in the real load (scikit-rf's measured ring-slot antenna), across a band, before and
// after the network is flipped.
#include "design/matchmewizard.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/matchfigures.h"
#include "model/measuredbinding.h"
#include "model/networkflip.h"
#include "model/smithchrt.h"
#include "model/touchstone.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <complex>
#include <filesystem>
#include <numbers>

namespace {

using Cx = std::complex<double>;

const std::string kRingSlot = "/usr/lib/python3/dist-packages/skrf/data/ring slot measured.s1p";

// A two-port's chain matrix [A B; C D].
struct Abcd {
    Cx a{1}, b{0}, c{0}, d{1};
    Abcd operator*(const Abcd& o) const {
        return {a * o.a + b * o.c, a * o.b + b * o.d, c * o.a + d * o.c, c * o.b + d * o.d};
    }
};

// One component at f MHz (Pozar, Microwave Engineering, table 4.1): a series impedance, a shunt
// admittance, or a line section whose electrical length scales with frequency.
Abcd ComponentMatrix(const Component& c, double mhz) {
    const double w = 2 * std::numbers::pi * mhz * 1e6;
    const Cx j(0, 1);
    Cx z;
    switch (c.kind) {
    case KIND_RESISTOR:
        z = c.resistance;
        break;
    case KIND_INDUCTOR:
        z = j * w * c.inductance * 1e-9;
        break;
    case KIND_CAPACITOR:
        z = 1.0 / (j * w * c.capacitance * 1e-12);
        break;
    default:
        ADD_FAILURE() << "component kind " << c.kind << " is not in the test's cascade";
        return {};
    }
    if (c.placement == PLACE_SHUNT) {
        return {1, 0, 1.0 / z, 1};
    }
    return {1, z, 0, 1};
}

// The VSWR a real generator impedance r0 sees looking into the network (component 0 at the
// generator) terminated in load.
double GeneratorVswr(const SmithChrt& doc, double mhz, Cx load, double r0) {
    Abcd m;
    for (int32_t i = 0; i < doc.componentCount; ++i) {
        m = m * ComponentMatrix(doc.components[static_cast<size_t>(i)], mhz);
    }
    const Cx zin = (m.a * load + m.b) / (m.c * load + m.d);
    const double g = std::abs((zin - r0) / (zin + r0));
    return (1 + g) / (1 - g);
}

Cx LoadAt(const MeasuredData& data, double mhz) {
    const Complex z = MeasuredImpedanceAt(data, mhz).value();
    return {z.re, z.im};
}

class ConjugateGoal : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kRingSlot)) {
            SKIP_OR_FAIL_MISSING(kRingSlot + " is missing (Debian package python3-scikit-rf)");
        }
        TouchstoneResult read = ReadTouchstoneFile(kRingSlot);
        ASSERT_TRUE(read.data) << read.error;
        data = std::make_shared<const MeasuredData>(std::move(*read.data));
        doc.frequency = 92000;
        doc.startZ = {50, 0};
        BindMeasuredData(doc, LoadEnd::Goal, data);
        SetBand(doc, 90000, 94000, 41);
        doc.band.display = true;
    }

    std::shared_ptr<const MeasuredData> data;
    SmithChrt doc;
};

TEST_F(ConjugateGoal, WizardMatchesTheLoadAsTheGeneratorSeesItAcrossTheBand) {
    const Cx load = LoadAt(*data, doc.frequency);
    EXPECT_EQ(doc.goalZ, Complex(load.real(), -load.imag())) << "the goal is the conjugate";

    MatchMeInput in = MatchMeInputFor(doc);
    in.sectionCount = 2;
    ASSERT_GT(RunMatchMe(doc, in, nullptr), 0);
    RefreshBoundImpedances(doc);
    ASSERT_TRUE(doc.EvaluateCascade());
    EXPECT_NEAR(GeneratorVswr(doc, doc.frequency, load, 50), 1.0, 1e-6)
        << "the antenna really connected is matched at the design frequency";
    EXPECT_NEAR(ChartMatch(doc, doc.endZ).vswr, 1.0, 1e-6);

    const BandResult before = EvaluateBand(doc);
    ASSERT_EQ(before.size(), 41u);
    EXPECT_EQ(before.missingPoints, 0);
    for (size_t k = 0; k < before.size(); ++k) {
        const double f = before.frequencies[k];
        EXPECT_NEAR(before.vswr[k], GeneratorVswr(doc, f, LoadAt(*data, f), 50),
                    1e-9 * before.vswr[k])
            << f << " MHz";
    }

    // Flipped, the load drives the network and the generator's 50 ohm is the goal: the same
    // physical match at every frequency, and flipping back restores the bindings.
    FlipNetwork(doc);
    EXPECT_EQ(doc.startData, data);
    EXPECT_EQ(doc.goalData, nullptr);
    EXPECT_EQ(doc.goalZ, Complex(50, -0.0));
    const BandResult flipped = EvaluateBand(doc);
    for (size_t k = 0; k < flipped.size(); ++k) {
        EXPECT_NEAR(flipped.vswr[k], before.vswr[k], 1e-9 * before.vswr[k])
            << flipped.frequencies[k] << " MHz";
    }
    FlipNetwork(doc);
    EXPECT_EQ(doc.goalData, data);
    EXPECT_EQ(doc.startData, nullptr);
    EXPECT_EQ(doc.goalZ, Complex(load.real(), -load.imag()));
}

TEST(MatchReflection, PowerWaveIsThePlainComparisonForARealGoalAndTheConjugateMatchOtherwise) {
    struct Case {
        Complex end, goal;
        double vswr;
    };
    // Worked by hand: |(Zend - G) / (Zend + conj(G))|, VSWR = (1 + |g|) / (1 - |g|).
    const Case cases[] = {
        {{100, 0}, {50, 0}, 2.0},         // 50 / 150 = 1/3
        {{21, 12}, {21, 12}, 1.0},        // the conjugate match itself
        {{21, -12}, {21, 12}, 2.9693482}, // |-24j| / |42 - 24j|
        {{25, 0}, {50, 0}, 2.0},
        {{30, 40}, {50, 10}, 2.4601948}, // |-20 + 30j| / |80 + 30j|
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(PowerWaveVswr(c.end, c.goal), c.vswr, 1e-6) << c.end.re << "," << c.end.im;
        if (c.goal.im == 0) {
            EXPECT_EQ(PowerWaveVswr(c.end, c.goal), Vswr(c.end, c.goal));
        }
    }
}

} // namespace
