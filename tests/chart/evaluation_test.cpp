// The network is evaluated twice over: by the cascade (SmithChrt::EvaluateCascade, for the
// command-line tool) and by the draw, which walks each trace (PlotComponents). They must agree.
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
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

// With losses the draw still ends where the cascade does, and the readout gains one line after
// the closing lines with the dissipation and the transducer gain.
TEST(Evaluation, LossyCascadeAndDrawAgreeAndTheReadoutSaysSo) {
    std::mt19937 rng(9);
    for (int n = 0; n < 100; ++n) {
        RecordedDraw d;
        d.sc = RandomNetwork(rng);
        d.Draw();
        const std::vector<std::string> lossless = d.Texts();
        d.sc.losses.inductorQ = LossSpec{40, 1000, LossLaw::Sqrt};
        d.sc.losses.capacitorQ = LossSpec{300, 0, LossLaw::Constant};
        d.sc.losses.lineLoss = LossSpec{0.5, 1000, LossLaw::Linear};
        SmithChrt cascade = d.sc;
        ASSERT_TRUE(cascade.EvaluateCascade());
        d.Draw();
        EXPECT_EQ(d.sc.endZ, cascade.endZ) << n;
        const std::vector<std::string> lossy = d.Texts();
        ASSERT_EQ(lossy.size(), lossless.size() + 1) << n;
        EXPECT_EQ(lossy.back().rfind("Loss in parts=", 0), 0u) << lossy.back();
        EXPECT_NE(lossy.back().find(", GT=-"), std::string::npos) << lossy.back();
    }
}

// A lossy line's trace spirals inward: every point lies no farther from the chart's centre than
// the one before it (to the pixel), and the 2000-degree line ends well inside where it began.
TEST(Evaluation, LossyLineTraceCurvesInward) {
    RecordedDraw d;
    d.sc.startZ = {500, 0};
    Component line = NewLine(PLACE_TL_SERIES, 50, 1000);
    line.lineAngle = 2000;
    line.loss = LossSpec{0.5, 1000, LossLaw::Constant};
    d.sc.AddComponent(line);
    d.Draw(800, 800);
    const std::vector<DrawCall> steps = d.CallsWithPen(DrawCall::Op::LineTo, kActiveTrace);
    ASSERT_GT(steps.size(), 100u);
    const auto radius = [&](Point p) {
        return std::hypot(double(p.x) - d.sc.chartCentre.x, double(p.y) - d.sc.chartCentre.y);
    };
    for (const DrawCall& c : steps) {
        EXPECT_LE(radius(c.to), radius(c.from) + 1.5);
    }
    EXPECT_LT(radius(steps.back().to), 0.6 * radius(steps.front().from));
}

} // namespace
