// ngspice's AC sweep of the --spice netlist of random networks against the band's ending
// impedance that --json reports, frequency by frequency.
#include "model/bandevaluation.h"
#include "model/documentfile.h"
#include "tests/cli/cliprocess.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

namespace {

struct Row {
    double hz;
    Complex v;
};

// Rows "index frequency re im" of every table ngspice prints, in the order printed.
std::vector<Row> SimulatedRows(const std::string& output) {
    std::vector<Row> rows;
    bool inTable = false;
    for (const std::string& line : Lines(output)) {
        if (line.rfind("Index", 0) == 0) {
            inTable = line.find("real(v(load))") != std::string::npos;
            continue;
        }
        std::istringstream row(line);
        int index = -1;
        double hz = 0;
        Complex v;
        if (inTable && row >> index >> hz >> v.re >> v.im) {
            rows.push_back({hz, v});
        }
    }
    return rows;
}

// The band's ending impedances in the JSON: the pairs after "endZ" in the band object.
std::vector<Complex> BandEnds(const std::string& json) {
    std::vector<Complex> ends;
    const size_t band = json.find("\"band\": {");
    const size_t at = band == std::string::npos ? band : json.find("\"endZ\": [", band);
    if (at == std::string::npos) {
        return ends;
    }
    std::istringstream in(json.substr(at + 9));
    char c = 0;
    Complex z;
    while (in >> c && c == '[' && in >> z.re >> c >> z.im >> c) {
        ends.push_back(z);
        in >> c; // the comma between pairs, or the list's end
        if (c != ',') {
            break;
        }
    }
    return ends;
}

// A random network of 1 to 8 elements of every kind that a netlist can sweep.
SmithChrt RandomNetwork(std::mt19937& rng) {
    auto uniform = [&rng](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.frequency = std::exp(uniform(std::log(20.0), std::log(3000.0)));
    doc.startZ = {uniform(2, 200), uniform(-150, 150)};
    if (pick(4) == 0) {
        doc.startZ.im = 0;
    }
    const double f = doc.frequency;
    const int count = 1 + pick(8);
    for (int i = 0; i < count; ++i) {
        const int32_t placement = pick(2) == 0 ? PLACE_SERIES : PLACE_SHUNT;
        Component c;
        switch (pick(8)) {
        case 0:
            c = NewCapacitor(placement, uniform(10, 200), f);
            break;
        case 1:
            c = NewInductor(placement, uniform(10, 200), f);
            break;
        case 2:
            c = NewResistor(placement, uniform(1, 300));
            break;
        case 3:
        case 4:
        case 5: {
            const int32_t lines[] = {PLACE_TL_SERIES, PLACE_TL_SHUNT_OPEN, PLACE_TL_SHUNT_SHORTED};
            c = NewLine(lines[pick(3)], uniform(20, 120), f * uniform(0.5, 2));
            c.lineAngle = uniform(5, 400);
            break;
        }
        default:
            c = NewCompound(pick(2) == 0 ? KIND_SERIES_RLC : KIND_PARALLEL_RLC, placement);
            c.resistance = uniform(1, 500);
            c.inductance = uniform(1, 100);
            c.capacitance = uniform(0.5, 20);
        }
        doc.AddComponent(c);
    }
    const double span = uniform(0.05, 0.6);
    doc.band = {f * (1 - span / 2), f * (1 + span / 2), 2 + pick(40), true, false};
    return doc;
}

TEST(BandSpice, NgspiceSweepReproducesTheBandsEndingImpedance) {
    const std::string ngspice = FindOnPath("ngspice");
    if (ngspice.empty()) {
        SKIP_OR_FAIL_MISSING("ngspice is not installed (Debian package ngspice)");
    }
    CScratchDir dir;
    std::mt19937 rng(20261208);
    for (int n = 0; n < 12; ++n) {
        SmithChrt doc = RandomNetwork(rng);
        if (n == 0) {
            doc.band.points = 2; // two analyses in place of a sweep
        }
        const std::string path = dir.Path("net.qbl");
        ASSERT_EQ(SaveDocumentFile(path, doc), DocumentError::None);
        const CliOutcome json = RunCliProcess({path, "--json"});
        ASSERT_EQ(json.status, 0) << json.err;
        const std::vector<Complex> ends = BandEnds(json.out);
        ASSERT_EQ(ends.size(), static_cast<size_t>(doc.band.points)) << json.out;

        const CliOutcome netlist = RunCliProcess({path, "--spice"});
        ASSERT_EQ(netlist.status, 0) << netlist.err;
        const std::string cir = dir.Path("net.cir");
        WriteFileBytes(cir, netlist.out);
        const CliOutcome sim = RunProcess(ngspice, {"-b", cir});
        const std::vector<Row> rows = SimulatedRows(sim.out);
        ASSERT_EQ(rows.size(), ends.size()) << sim.out << sim.err << netlist.out;
        for (size_t k = 0; k < rows.size(); ++k) {
            const Complex end = ends[k];
            const Complex v = rows[k].v;
            const double hz = BandFrequency(doc.band, static_cast<int32_t>(k)) * 1e6;
            EXPECT_NEAR(rows[k].hz, hz, hz * 1e-6);
            // ngspice prints seven significant digits.
            const double tolerance = 5e-6 * (std::hypot(end.re, end.im) + 1);
            EXPECT_NEAR(v.re, end.re, tolerance) << "network " << n << " point " << k << "\n"
                                                 << netlist.out;
            EXPECT_NEAR(v.im, end.im, tolerance) << "network " << n << " point " << k;
        }
    }
}

} // namespace
