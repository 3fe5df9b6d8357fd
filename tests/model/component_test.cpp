#include "model/component.h"

#include <gtest/gtest.h>

namespace {

TEST(Component, NewCapacitorAndInductorHaveReactanceZ0) {
    const Component c = NewCapacitor(PLACE_SERIES, 50, 1000);
    EXPECT_EQ(c.capacitance, 3.1830988619288862);
    EXPECT_EQ(ElementImpedance(c, 1000), Complex(0, -50.0));
    const Component l = NewInductor(PLACE_SHUNT, 50, 1000);
    EXPECT_EQ(l.inductance, 7.957747154822214);
    EXPECT_EQ(ElementImpedance(l, 1000).im, 49.99999999999999);
    EXPECT_EQ(l.placement, PLACE_SHUNT);
    EXPECT_EQ(l.resistance, 0.0);
}

TEST(Component, NewLineAndCompoundValues) {
    const Component t = NewLine(PLACE_TL_SHUNT_OPEN, 75, 433);
    EXPECT_EQ(t.kind, KIND_TLINE);
    EXPECT_EQ(t.lineZ0, 75.0);
    EXPECT_EQ(t.lineAngle, 45.0);
    EXPECT_EQ(t.lineFreq, 433.0);
    const Component r = NewCompound(KIND_SERIES_RLC, PLACE_SHUNT);
    EXPECT_EQ(r.resistance, 0.5);
    EXPECT_EQ(r.inductance, 0.65);
    EXPECT_EQ(r.capacitance, 1.0);
    EXPECT_EQ(r.tunedElement, TUNE_C);
    EXPECT_EQ(NewResistor(PLACE_SERIES, 50).resistance, 50.0);
}

TEST(Component, LineAngleScalesWithFrequency) {
    const Component t = NewLine(PLACE_TL_SERIES, 50, 1000);
    EXPECT_EQ(LineAngleAt(t, 2000), 90.0);
    EXPECT_EQ(LineAngleAt(t, 10000), 450.0);
}

TEST(Component, SeriesRlcResonance) {
    Component c = NewCompound(KIND_SERIES_RLC, PLACE_SERIES);
    EXPECT_EQ(ResonantFrequency(c), 6242.570465642452);
    const Complex z = ElementImpedance(c, 1000);
    EXPECT_EQ(z.re, 0.5);
    EXPECT_DOUBLE_EQ(z.im,
                     1000 * 0.65 * 0.006283185307 - 1 / (1000 * 1.0 * 6.2831853069999996e-06));
}

TEST(Component, ParallelRlcIsProductOverSum) {
    Component c = NewCompound(KIND_PARALLEL_RLC, PLACE_SERIES);
    c.resistance = 100;
    const Complex z = ElementImpedance(c, 1000);
    // R parallel jXL parallel jXC, by admittances.
    const double xl = 1000 * 0.65 * 0.006283185307;
    const double xc = -1 / (1000 * 1.0 * 6.2831853069999996e-06);
    const double g = 1 / 100.0;
    const double b = -1 / xl - 1 / xc;
    EXPECT_NEAR(z.re, g / (g * g + b * b), 1e-12);
    EXPECT_NEAR(z.im, -b / (g * g + b * b), 1e-12);
}

struct TuneCase {
    int32_t kind;
    int32_t tuned;
    double Component::*field;
    TunableLookup status;
};

void PrintTo(const TuneCase& c, std::ostream* os) {
    *os << "kind " << c.kind << " tuned " << c.tuned;
}

class ComponentTunable : public ::testing::TestWithParam<TuneCase> {};

TEST_P(ComponentTunable, FindsTheField) {
    const TuneCase& p = GetParam();
    Component c;
    c.kind = p.kind;
    c.tunedElement = p.tuned;
    TunableLookup status;
    double* f = TunableField(c, status);
    EXPECT_EQ(status, p.status);
    if (p.field == nullptr) {
        EXPECT_EQ(f, nullptr);
    } else {
        EXPECT_EQ(f, &(c.*p.field));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ComponentTunable,
    ::testing::Values(
        TuneCase{KIND_RESISTOR, 0, &Component::resistance, TunableLookup::Found},
        TuneCase{KIND_CAPACITOR, 0, &Component::capacitance, TunableLookup::Found},
        TuneCase{KIND_INDUCTOR, 0, &Component::inductance, TunableLookup::Found},
        TuneCase{KIND_TLINE, 0, &Component::lineAngle, TunableLookup::Found},
        TuneCase{KIND_PARALLEL_RLC, TUNE_R, &Component::resistance, TunableLookup::Found},
        TuneCase{KIND_SERIES_RLC, TUNE_L, &Component::inductance, TunableLookup::Found},
        TuneCase{KIND_SERIES_RLC, TUNE_C, &Component::capacitance, TunableLookup::Found},
        TuneCase{KIND_SERIES_RLC, 3, nullptr, TunableLookup::ScrewyTunedElement},
        TuneCase{9, 0, nullptr, TunableLookup::UnknownKind}));

} // namespace
