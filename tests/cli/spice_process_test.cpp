// Simulates the --spice netlists with ngspice, where it is installed, and compares the load
// node's voltage with the ending impedance the tool reports.
#include "model/documentfile.h"
#include "tests/cli/cliprocess.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// The real and imaginary part on the data row that follows ngspice's table header.
bool SimulatedLoadVoltage(const std::string& output, Complex& v) {
    const std::vector<std::string> lines = Lines(output);
    for (size_t i = 0; i + 2 < lines.size(); ++i) {
        if (lines[i].rfind("Index", 0) == 0 &&
            lines[i].find("real(v(load))") != std::string::npos) {
            std::istringstream row(lines[i + 2]);
            int index = -1;
            double hz = 0;
            return static_cast<bool>(row >> index >> hz >> v.re >> v.im);
        }
    }
    return false;
}

// The ending impedance that --json reports for the same command line.
Complex EndZ(std::vector<std::string> args) {
    args.push_back("--json");
    const CliOutcome r = RunCliProcess(args);
    const size_t at = r.out.find("\"endZ\": [");
    Complex z{NAN, NAN};
    if (at != std::string::npos) {
        std::istringstream in(r.out.substr(at + 9));
        char comma = 0;
        in >> z.re >> comma >> z.im;
    }
    return z;
}

TEST(SpiceNetlist, NgspiceReproducesTheEndingImpedance) {
    const std::string ngspice = FindOnPath("ngspice");
    if (ngspice.empty()) {
        SKIP_OR_FAIL_MISSING("ngspice is not installed (Debian package ngspice)");
    }
    CScratchDir dir;
    const std::string every = dir.Path("every.qbl");
    ASSERT_EQ(SaveDocumentFile(every, EveryKindDocument()), DocumentError::None);
    const std::vector<std::vector<std::string>> networks = {
        {},
        {"--frequency", "700"},
        {"--start", "0,35"},
        {"--start", "12,0", "--goal", "75,-40"},
        {"--start", "100,-20", "--goal", "25,0", "--matchme", "3,lowpass"},
        {"--start", "10,0", "--goal", "300,30", "--frequency", "50", "--matchme", "4,quarterwave"},
        {"--filter", "highpass,150,0.5,7,75,series", "--frequency", "200"},
        // Lumped losses: their series resistances at the analysis frequency, exactly.
        {"--inductor-q", "40@1000:sqrt", "--capacitor-q", "150", "--frequency", "800"},
    };
    for (const std::vector<std::string>& edits : networks) {
        std::vector<std::string> args{every};
        args.insert(args.end(), edits.begin(), edits.end());
        const Complex end = EndZ(args);
        args.push_back("--spice");
        const CliOutcome netlist = RunCliProcess(args);
        ASSERT_EQ(netlist.status, 0) << netlist.err;
        const std::string cir = dir.Path("net.cir");
        WriteFileBytes(cir, netlist.out);
        const CliOutcome sim = RunProcess(ngspice, {"-b", cir});
        Complex v;
        ASSERT_TRUE(SimulatedLoadVoltage(sim.out, v)) << sim.out << sim.err << netlist.out;
        // ngspice prints seven significant digits.
        const double tolerance = 2e-6 * (std::hypot(end.re, end.im) + 1);
        EXPECT_NEAR(v.re, end.re, tolerance) << netlist.out;
        EXPECT_NEAR(v.im, end.im, tolerance) << netlist.out;
    }
}

// Lossy lines go through ngspice's lossy line (LTRA), which takes no shunt conductance beside
// series loss: its R gives the attenuation and leaves Z0 complex by about R / (2 w L), here
// about 1%, so the agreement is that close; the losses themselves move the ending impedance far
// more.
TEST(SpiceNetlist, NgspiceLossyLinesAgreeToTheirLowLossApproximation) {
    const std::string ngspice = FindOnPath("ngspice");
    if (ngspice.empty()) {
        SKIP_OR_FAIL_MISSING("ngspice is not installed (Debian package ngspice)");
    }
    CScratchDir dir;
    SmithChrt doc = NewDocument();
    doc.startZ = {10, 0};
    Component line = NewLine(PLACE_TL_SERIES, 75, 1000);
    line.lineAngle = 585;
    doc.AddComponent(line);
    doc.AddComponent(NewInductor(PLACE_SERIES, 30, 1000));
    const std::string path = dir.Path("lines.qbl");
    ASSERT_EQ(SaveDocumentFile(path, doc), DocumentError::None);
    std::vector<std::string> args{path, "--line-loss", "0.5@1000", "--inductor-q", "60"};
    const Complex end = EndZ(args);
    args.push_back("--spice");
    const CliOutcome netlist = RunCliProcess(args);
    ASSERT_EQ(netlist.status, 0) << netlist.err;
    EXPECT_NE(netlist.out.find(" LTRA R="), std::string::npos) << netlist.out;
    const std::string cir = dir.Path("net.cir");
    WriteFileBytes(cir, netlist.out);
    const CliOutcome sim = RunProcess(ngspice, {"-b", cir});
    Complex v;
    ASSERT_TRUE(SimulatedLoadVoltage(sim.out, v)) << sim.out << sim.err << netlist.out;
    const double tolerance = 2e-2 * std::hypot(end.re, end.im);
    EXPECT_NEAR(v.re, end.re, tolerance) << netlist.out;
    EXPECT_NEAR(v.im, end.im, tolerance) << netlist.out;
    const Complex ideal = EndZ({path, "--inductor-q", "60"});
    EXPECT_GT(std::hypot(ideal.re - end.re, ideal.im - end.im), 5 * tolerance);
}

} // namespace
