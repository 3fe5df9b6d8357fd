#include "chart/readout.h"
#include "model/measuredbinding.h"
#include "tests/chart/chart_test_support.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

using Op = DrawCall::Op;

// The readout lines: the texts written at the left edge (marker labels sit on the chart).
std::vector<DrawCall> Lines(const RecordedDraw& d) {
    return d.Calls([](const DrawCall& c) { return c.op == Op::Text && c.to.x == 0; });
}

std::vector<std::string> LineTexts(const RecordedDraw& d) {
    std::vector<std::string> out;
    for (const DrawCall& c : Lines(d)) {
        out.push_back(c.text);
    }
    return out;
}

TEST(Readout, HeaderOnlyWithoutComponents) {
    RecordedDraw d;
    d.sc.showQArcs = 1;
    d.Draw();
    const std::string title =
        "Title:   " + std::string(57, ' ') + "Abc" + "      " + "07.12.2026 23:59";
    EXPECT_EQ(LineTexts(d),
              (std::vector<std::string>{title, "Freq=1000.000 MHz, Z0=50.00 Ohms, 2.50% tune step",
                                        "Starting [Generator] Z is 50.00+j0.00"}));
    const auto lines = Lines(d);
    EXPECT_EQ(lines[0].to, (Point{0, 0}));
    EXPECT_EQ(lines[1].to, (Point{0, -16}));
    EXPECT_EQ(lines[2].to, (Point{0, -32}));
}

TEST(Readout, LineHeightAddsTheExternalLeading) {
    RecordedDraw d;
    d.surface.metrics = {13, 2};
    d.Draw();
    EXPECT_EQ(d.sc.lineHeight, 15);
    EXPECT_EQ(Lines(d)[2].to, (Point{0, -30}));
}

TEST(Readout, TitleField) {
    EXPECT_EQ(readout::TitleLine(std::string(70, 'x'), "now"),
              "Title:   " + std::string(70, 'x') + "      now");
    // The field counts characters, not the bytes of their UTF-8 form.
    EXPECT_EQ(readout::TitleLine("\xc3\xa9t\xc3\xa9", "d").size(), 9 + 60 + 2 + 6 + 1);
}

TEST(Readout, InvalidDateTime) {
    RecordedDraw d;
    d.clock.text.reset();
    d.Draw();
    const std::string first = LineTexts(d)[0];
    EXPECT_EQ(first.substr(first.size() - 16), "Invalid DateTime");
}

TEST(Readout, StartingLineForms) {
    SmithChrt sc;
    sc.startZ = {25, -10};
    EXPECT_EQ(readout::StartingLine(sc), "Starting [Generator] Z is 25.00-j10.00");
    sc.startZ = {50, -0.0};
    EXPECT_EQ(readout::StartingLine(sc), "Starting [Generator] Z is 50.00+j0.00");
    sc.gammaMode = 1;
    EXPECT_EQ(readout::StartingLine(sc), "Starting [Generator] Gamma is 0.000 @ 0.00 deg.");
}

TEST(Readout, ComponentLinesAndClosingLines) {
    RecordedDraw d;
    Component cap = NewCapacitor(PLACE_SERIES, 50, 1000);
    cap.capacitance = 10;
    Component ind = NewInductor(PLACE_SHUNT, 50, 1000);
    ind.inductance = 10;
    d.sc.AddComponent(cap);
    d.sc.AddComponent(ind);
    d.sc.AddComponent(NewLine(PLACE_TL_SERIES, 50, 1000));
    d.sc.showQArcs = 1;
    d.Draw();
    const auto texts = LineTexts(d);
    ASSERT_EQ(texts.size(), 3u + 3u + 4u);
    EXPECT_EQ(texts[3], "SERIES CAP 10.00 pF X=-j 15.92 ohms ");
    EXPECT_EQ(texts[4], "SHUNT IND 10.00 nH X=+j 62.83 ohms ");
    EXPECT_EQ(texts[5], "SERIES TRL Z0=50.00 (Ohms) ANG=45.00 (deg) @Freq=1000.00");
    EXPECT_EQ(texts[6].rfind("Ending [Load] Z is ", 0), 0u);
    EXPECT_EQ(texts[7], "Goal [Load] Z is 50.00+j0.00");
    EXPECT_EQ(texts[8].rfind(" VSWR=", 0), 0u);
    EXPECT_EQ(texts[9].rfind("Max Network Q", 0), 0u);
}

TEST(Readout, ActiveLineIsBlueAndTheNextBlack) {
    RecordedDraw d;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.sc.AddComponent(NewCapacitor(PLACE_SHUNT, 50, 1000));
    d.sc.AddComponent(NewResistor(PLACE_SERIES, 50));
    d.sc.activeIndex = 1;
    d.Draw();
    const auto lines = Lines(d);
    const Rgb black{0, 0, 0};
    const Rgb blue{0, 0, 255};
    EXPECT_EQ(lines[3].textColour, black);
    EXPECT_EQ(lines[4].textColour, blue);
    EXPECT_EQ(lines[5].textColour, black);
    EXPECT_EQ(lines[5].text, "SERIES RES 50.00 (Ohms) ");
    EXPECT_EQ(lines[6].textColour, black);
}

TEST(Readout, MatchFiguresOfTheDefaultSeriesCapacitor) {
    RecordedDraw d;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.Draw();
    const auto texts = LineTexts(d);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[4], "Ending [Load] Z is 50.00-j50.00");
    EXPECT_EQ(texts[6], " VSWR=2.62, RL=6.99dB, ML=0.97dB");
}

TEST(Readout, GammaMode) {
    RecordedDraw d;
    d.sc.gammaMode = 1;
    d.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    d.Draw();
    const auto texts = LineTexts(d);
    EXPECT_EQ(texts[2], "Starting [Generator] Gamma is 0.000 @ 0.00 deg.");
    EXPECT_EQ(texts[4], "Ending [Load] Gamma = 0.447 @-63.43 deg.");
    EXPECT_EQ(texts[5], "Goal [Load] Gamma  = 0.000 @ 0.00 deg");
    const auto labels = d.Calls([](const DrawCall& c) { return c.op == Op::Text && c.to.x != 0; });
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front().text, "0.000@ 0.00 deg");
}

TEST(Readout, MarkerLabelsOnlyWithTextMarkers) {
    RecordedDraw d;
    d.sc.startZ = {25, -10};
    d.Draw();
    const auto labels = d.Calls([](const DrawCall& c) { return c.op == Op::Text && c.to.x != 0; });
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "25.00-j10.00");
    EXPECT_EQ(labels[0].to, d.sc.ZToScreen({25, -10}));
    d.sc.textMarkers = 0;
    d.Draw();
    for (const DrawCall& c : d.Calls([](const DrawCall& c) { return c.op == Op::Text; })) {
        EXPECT_TRUE(c.to.x == 0 || c.text.empty());
    }
}

TEST(Readout, QLineForms) {
    EXPECT_EQ(readout::QLine(10.0), "Max Network Q = 10.00, plot limited to Q=10.00 (curve)");
    EXPECT_EQ(readout::QLine(25.0), "Max Network Q = 25.00, plot limited to Q=10.00 (curve)");
    EXPECT_EQ(readout::QLine(9.5), "Max Network Q (curve) = 9.50");
}

TEST(Readout, PerfectMatch) {
    EXPECT_EQ(readout::MatchLine({50, 0}, {50, 0}), " VSWR=1.00, RL= infdB, ML=-0.00dB");
}

TEST(Readout, CompoundSignRules) {
    Component c = NewCompound(KIND_SERIES_RLC, PLACE_SERIES);
    c.resistance = 50;
    c.inductance = 0;
    c.capacitance = INFINITY;
    const Complex ze = ElementImpedance(c, 1000);
    ASSERT_EQ(ze.im, 0.0);
    const std::string line = readout::ComponentDescription(c, ze, 1000);
    EXPECT_EQ(
        line.rfind(" Series RLC (50.00 ohm, 0.00 nH,  inf pF) X=50.00 -j 0.00 (Ohm) Fres=", 0), 0u);
    Component p = NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT);
    p.resistance = 100;
    p.inductance = 10;
    p.capacitance = 1;
    EXPECT_EQ(readout::ComponentDescription(p, {1.5, 2.25}, 1000),
              " Parallel RLC (100.00 ohm, 10.00 nH, 1.00 pF) X=1.50 +j 2.25 (Ohm) Fres=1591.55");
    EXPECT_EQ(readout::ComponentDescription(p, {1.5, -2.25}, 1000),
              " Parallel RLC (100.00 ohm, 10.00 nH, 1.00 pF) X=1.50 -j 2.25 (Ohm) Fres=1591.55");
}

TEST(Readout, NumbersIgnoreTheUserLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
        SKIP_OR_FAIL_MISSING("no locale with a decimal comma (de_DE.UTF-8) is generated");
    }
    SmithChrt sc;
    EXPECT_EQ(readout::SettingsLine(sc), "Freq=1000.000 MHz, Z0=50.00 Ohms, 2.50% tune step");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace

// With data bound, figures that are not numbers get words; the goal without data has its line
// also when the network is empty, as the start's has.
TEST(Readout, BoundDataLinesNeverShowNaNOrInfinity) {
    auto data = std::make_shared<MeasuredData>();
    data->name = "probe.s1p";
    data->points = {MeasuredPointFromImpedance(100, {50, 0}, 50),
                    MeasuredPointFromImpedance(400, {25, 10}, 50)};
    struct Case {
        double frequency;
        bool withComponent;
        std::vector<std::string> expected; // lines after the header
    };
    const Case cases[] = {
        {1000,
         false,
         {"Goal [Load]: no data at 1000.000 MHz", "Measured data: goal conjugate of probe.s1p"}},
        {1000,
         true,
         {"SERIES RES 0.00 (Ohms) ", "Ending [Load] Z is 50.00+j0.00",
          "Goal [Load]: no data at 1000.000 MHz", " Match: no data at 1000.000 MHz",
          "Measured data: goal conjugate of probe.s1p"}},
        {100,
         true,
         {"SERIES RES 0.00 (Ohms) ", "Ending [Load] Z is 50.00+j0.00",
          "Goal [Load] Z is 50.00+j0.00", " VSWR=1.00, RL: perfect match, ML=0.00dB",
          "Measured data: goal conjugate of probe.s1p"}},
    };
    for (const Case& c : cases) {
        RecordedDraw d;
        d.sc.frequency = c.frequency;
        if (c.withComponent) {
            d.sc.AddComponent(NewResistor(PLACE_SERIES, 0));
        }
        BindMeasuredData(d.sc, LoadEnd::Goal, data);
        d.Draw();
        const std::vector<std::string> texts = LineTexts(d);
        EXPECT_EQ(std::vector<std::string>(texts.begin() + 3, texts.end()), c.expected)
            << c.frequency;
    }
}
