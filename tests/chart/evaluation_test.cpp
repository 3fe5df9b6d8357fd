// The network is evaluated twice over: by the cascade (SmithChrt::EvaluateCascade, for the
// command-line tool) and by the draw, which walks each trace (PlotComponents). They must agree.
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A network of one to six components of every kind and placement, with values that keep the
// traces on the chart, from a fixed seed.
SmithChrt RandomNetwork(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const auto pick = [&](int n) { return static_cast<int32_t>(u(rng) * n); };
    SmithChrt sc;
    sc.startZ = {5 + 200 * u(rng), -100 + 200 * u(rng)};
    const int count = 1 + pick(6);
    for (int i = 0; i < count; ++i) {
        const int32_t lumped = u(rng) < 0.5 ? PLACE_SERIES : PLACE_SHUNT;
        Component c;
        switch (KIND_RESISTOR + pick(6)) {
        case KIND_RESISTOR:
            c = NewResistor(lumped, 1 + 100 * u(rng));
            break;
        case KIND_CAPACITOR:
            c = NewCapacitor(lumped, 50, sc.frequency);
            c.capacitance = 0.5 + 10 * u(rng);
            break;
        case KIND_INDUCTOR:
            c = NewInductor(lumped, 50, sc.frequency);
            c.inductance = 1 + 20 * u(rng);
            break;
        case KIND_TLINE:
            c = NewLine(PLACE_TL_SERIES + pick(3), 20 + 100 * u(rng), sc.frequency);
            c.lineAngle = 5 + 170 * u(rng);
            break;
        default:
            c = NewCompound(u(rng) < 0.5 ? KIND_PARALLEL_RLC : KIND_SERIES_RLC, lumped);
            c.resistance = 10 + 100 * u(rng);
            c.inductance = 1 + 20 * u(rng);
            c.capacitance = 0.5 + 5 * u(rng);
            break;
        }
        sc.AddComponent(c);
    }
    return sc;
}

bool HasLine(const SmithChrt& sc) {
    for (int32_t i = 0; i < sc.componentCount; ++i) {
        if (sc.components[i].kind == KIND_TLINE) {
            return true;
        }
    }
    return false;
}

// The ending impedance is the same; so is the largest Q, except that the draw also meets the Q
// of every point along a line's arc, where the cascade sees only the line's two ends.
TEST(Evaluation, CascadeAndDrawAgree) {
    std::mt19937 rng(7);
    int withLines = 0;
    for (int n = 0; n < 300; ++n) {
        RecordedDraw d;
        d.sc = RandomNetwork(rng);
        SmithChrt cascade = d.sc;
        ASSERT_TRUE(cascade.EvaluateCascade());
        d.Draw();
        EXPECT_EQ(d.sc.endZ, cascade.endZ) << n;
        if (HasLine(d.sc)) {
            ++withLines;
            EXPECT_GE(d.sc.maxNetworkQ, cascade.maxNetworkQ) << n;
        } else {
            EXPECT_EQ(d.sc.maxNetworkQ, cascade.maxNetworkQ) << n;
        }
        // Too small to step along any trace, the draw evaluates exactly as the cascade does.
        d.Draw(1, 1);
        EXPECT_EQ(d.sc.endZ, cascade.endZ) << n;
        EXPECT_EQ(d.sc.maxNetworkQ, cascade.maxNetworkQ) << n;
    }
    EXPECT_GT(withLines, 50);
    EXPECT_LT(withLines, 250);
}

} // namespace
