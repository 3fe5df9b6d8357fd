#include "cli/frequencysweep.h"
#include "cli/spicenetlist.h"
#include "cli/wizardexchange.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

TEST(WizardExchange, FirstFailingFieldInDialogOrderWins) {
    struct Case {
        FilterRequest request;
        std::optional<FieldError> expected;
    };
    const auto req = [](std::string fc, std::string ripple, std::string n, std::string ro) {
        FilterRequest r;
        r.cutoff = fc;
        r.ripple = ripple;
        r.order = n;
        r.ro = ro;
        return r;
    };
    const std::vector<Case> cases = {
        {req("100", "0.1", "3", "50"), std::nullopt},
        {req("", "0.1", "3", "50"), FieldError{FILTER_FIELD_CUTOFF, "Please enter a number."}},
        {req("100", "20", "x", "50"),
         FieldError{FILTER_FIELD_RIPPLE, "Please enter a number between 0.0001 and 10."}},
        {req("100", "0.1", "x", "-5"), FieldError{FILTER_FIELD_ORDER, "Please enter an integer."}},
        {req("100", "0.1", "2", "x"),
         FieldError{FILTER_FIELD_ORDER, "Please enter an integer between 3 and 15."}},
        {req("100", "0.1", "5", "nan"),
         FieldError{FILTER_FIELD_RO, "Please enter a number between 1e-15 and 1e+15."}},
        {req("100", "0.1", "4294967299", "50"),
         FieldError{FILTER_FIELD_ORDER, "Please enter an integer between 3 and 15."}},
    };
    for (const Case& c : cases) {
        FilterInput in;
        EXPECT_EQ(ExchangeFilter(c.request, in), c.expected) << c.request.cutoff << c.request.ro;
    }
    FilterInput in;
    ASSERT_FALSE(ExchangeFilter(req("144", "0.25", "7", "75"), in));
    EXPECT_EQ(in.cutoffMHz, 144.0);
    EXPECT_EQ(in.order, 7);
}

TEST(WizardExchange, MatchMeTakesTheDocumentsImpedances) {
    SmithChrt doc;
    doc.startZ = {10, 5};
    doc.goalZ = {0, 0};
    MatchMeInput in;
    const std::optional<FieldError> e = ExchangeMatchMe({"4", TOPO_HIGHPASS}, doc, in);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->field, MATCH_FIELD_GOAL_R);
    EXPECT_EQ(in.sectionCount, 4);
    EXPECT_EQ(in.startX, 5.0);
}

TEST(FrequencySweep, RowsRunFromFirstToLastFrequency) {
    const FrequencyGrid s{100, 200, 3};
    EXPECT_EQ(s.At(0), 100.0);
    EXPECT_EQ(s.At(1), 150.0);
    EXPECT_EQ(s.At(2), 200.0);
    const FrequencyGrid down{0.3, 0.1, 7};
    EXPECT_EQ(down.At(6), 0.1);
    EXPECT_EQ(FrequencyGrid({5, 5, 1}).At(0), 5.0);
}

std::vector<std::vector<double>> SweepRows(const SmithChrt& doc, const FrequencyGrid& grid) {
    std::ostringstream out;
    WriteSweepCsv(doc, grid, out);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, kSweepHeader);
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        std::vector<double>& row = rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) {
            row.push_back(std::stod(cell));
        }
    }
    return rows;
}

TEST(FrequencySweep, AnEmptyNetworkEndsInTheStartingImpedance) {
    SmithChrt doc;
    doc.startZ = {25, 0};
    doc.goalZ = {50, 0};
    const std::vector<std::vector<double>> rows = SweepRows(doc, {100, 200, 3});
    ASSERT_EQ(rows.size(), 3u);
    // 25 ohm against 50: |gamma| = 1/3, VSWR 2, return loss 20 log10(3), mismatch loss
    // -10 log10(1 - 1/9) (Pozar, 2.7).
    for (const std::vector<double>& row : rows) {
        ASSERT_EQ(row.size(), 6u);
        EXPECT_EQ(row[1], 25.0);
        EXPECT_EQ(row[2], 0.0);
        EXPECT_NEAR(row[3], 2.0, 1e-12);
        EXPECT_NEAR(row[4], 20 * std::log10(3.0), 1e-12);
        EXPECT_NEAR(row[5], -10 * std::log10(8.0 / 9), 1e-12);
    }
}

TEST(FrequencySweep, ALongSweepKeepsItsGridAcrossSlices) {
    SmithChrt doc;
    doc.AddComponent(NewResistor(PLACE_SERIES, 25));
    const FrequencyGrid grid{900, 100, 10000};
    const std::vector<std::vector<double>> rows = SweepRows(doc, grid);
    ASSERT_EQ(rows.size(), 10000u);
    for (const int32_t k : {0, 4095, 4096, 8192, 9999}) {
        EXPECT_EQ(rows[static_cast<size_t>(k)][0], grid.At(k)) << k;
        EXPECT_EQ(rows[static_cast<size_t>(k)][1], doc.startZ.re + 25) << k;
    }
    EXPECT_EQ(rows.back()[0], 100.0);
}

SmithChrt OneComponent(Component c) {
    SmithChrt doc;
    doc.AddComponent(c);
    return doc;
}

TEST(SpiceNetlistText, ElementsAndTermination) {
    SmithChrt doc = OneComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    doc.startZ = {0, -25};
    const SpiceNetlist n = WriteSpiceNetlist(doc);
    ASSERT_EQ(n.error, "");
    EXPECT_NE(n.text.find("\nCstart gen 0 6.3661977"), std::string::npos) << n.text;
    EXPECT_NE(n.text.find("\nC1 gen load 3.18309886"), std::string::npos) << n.text;
    EXPECT_NE(n.text.find("\nIload 0 load DC 0 AC 1\n"), std::string::npos);
    EXPECT_NE(n.text.find("\n.ac lin 1 1000000000 1000000000\n"), std::string::npos);
    EXPECT_NE(n.text.find("\n.print ac real(v(load)) imag(v(load))\n.end\n"), std::string::npos);

    doc = OneComponent(NewResistor(PLACE_SHUNT, 0));
    doc.startZ = {0, 0};
    EXPECT_NE(WriteSpiceNetlist(doc).text.find("\nVstart load 0 0\nV1 load 0 0\n"),
              std::string::npos);
}

TEST(SpiceNetlistText, LinesOfNoLengthOrLessGetTheirPositiveEquivalent) {
    Component line = NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000);
    line.lineAngle = -90; // the same impedance as 90 degrees
    const SpiceNetlist n = WriteSpiceNetlist(OneComponent(line));
    EXPECT_NE(n.text.find("\nT1 load 0 0 0 Z0=50 TD=2.5000000000000002e-10\n"), std::string::npos)
        << n.text;
    line.lineAngle = 0;
    EXPECT_NE(WriteSpiceNetlist(OneComponent(line)).text.find("TD=5.0000000000000003e-10"),
              std::string::npos);
}

TEST(SpiceNetlistText, NetworksWithoutACircuitAreRefused) {
    Component capacitorAsLine = NewCapacitor(PLACE_TL_SERIES, 50, 1000);
    Component unknown;
    unknown.kind = 3;
    Component infinite = NewInductor(PLACE_SERIES, 50, 1000);
    infinite.inductance = std::numeric_limits<double>::infinity();
    for (const Component& c : {capacitorAsLine, unknown, infinite}) {
        EXPECT_NE(WriteSpiceNetlist(OneComponent(c)).error.find("component 1:"), std::string::npos);
    }
    SmithChrt doc;
    doc.frequency = 0;
    EXPECT_EQ(WriteSpiceNetlist(doc).error, "the analysis frequency must be a positive number");
}

} // namespace
