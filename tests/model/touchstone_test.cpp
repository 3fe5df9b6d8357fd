#include "model/touchstone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// 2.0 headers for one-port files: "[Version] 2.0", the option line, one port, n frequencies.
std::string V2(const std::string& option, int frequencies, const std::string& more = "") {
    return "[Version] 2.0\n" + option + "\n[Number of Ports] 1\n[Number of Frequencies] " +
           std::to_string(frequencies) + "\n" + more + "[Network Data]\n";
}

void ExpectNear(Complex actual, Complex expected) {
    const double scale = std::max(1.0, std::hypot(expected.re, expected.im));
    EXPECT_NEAR(actual.re, expected.re, 1e-12 * scale);
    EXPECT_NEAR(actual.im, expected.im, 1e-12 * scale);
}

struct OnePointCase {
    const char* what;
    std::string text;
    double frequency; // MHz
    Complex z;
    double reference;
};

// Every form below holds 30 + j40 ohm (gamma 0.5j on 50 ohm) at 1 MHz unless it says otherwise.
const OnePointCase kOnePoint[] = {
    {"Hz", "# Hz S RI R 50\n1e6 0 0.5\n", 1.0, {30, 40}, 50},
    {"kHz", "# kHz S RI R 50\n1000 0 0.5\n", 1.0, {30, 40}, 50},
    {"MHz", "# MHz S RI R 50\n1 0 0.5\n", 1.0, {30, 40}, 50},
    {"GHz", "# GHz S RI R 50\n0.001 0 0.5\n", 1.0, {30, 40}, 50},
    {"defaults GHz S MA R 50", "#\n0.001 0.5 90\n", 1.0, {30, 40}, 50},
    {"no option values but R", "# R 25\n2 0.5 90\n", 2000.0, {0.6 * 25, 0.8 * 25}, 25},
    {"S MA", "# MHz S MA R 50\n1 0.5 90\n", 1.0, {30, 40}, 50},
    {"S DB", "# MHz S DB R 50\n1 -6.0205999132796239 90\n", 1.0, {30, 40}, 50},
    {"Z RI normalised", "# MHz Z RI R 50\n1 0.6 0.8\n", 1.0, {30, 40}, 50},
    {"Z MA normalised", "# MHz Z MA R 50\n1 1 53.130102354155979\n", 1.0, {30, 40}, 50},
    {"Z DB normalised", "# MHz Z DB R 50\n1 0 53.130102354155979\n", 1.0, {30, 40}, 50},
    {"Y RI normalised", "# MHz Y RI R 50\n1 0.6 -0.8\n", 1.0, {30, 40}, 50},
    {"Y MA normalised", "# MHz Y MA R 50\n1 1 -53.130102354155979\n", 1.0, {30, 40}, 50},
    {"Z normalised to R 25", "# MHz Z RI R 25\n1 1.2 1.6\n", 1.0, {30, 40}, 25},
    {"Y normalised to R 25", "# MHz Y RI R 25\n1 0.3 -0.4\n", 1.0, {30, 40}, 25},
    {"2.0 Z in ohm", V2("# MHz Z RI R 25", 1) + "1 30 40\n[End]\n", 1.0, {30, 40}, 25},
    {"2.0 Y in siemens", V2("# MHz Y RI R 25", 1) + "1 0.012 -0.016\n", 1.0, {30, 40}, 25},
    {"2.0 S", V2("# MHz S RI R 50", 1) + "1 0 0.5\n", 1.0, {30, 40}, 50},
    {"2.1",
     "[Version] 2.1\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
     "[Network Data]\n1 0 0.5\n",
     1.0,
     {30, 40},
     50},
    {"2.0 [Reference] over R",
     V2("# MHz S RI R 50", 1, "[Reference] 25\n") + "1 0 0.5\n",
     1.0,
     {15, 20},
     25},
    {"2.0 [Reference] on the next line",
     V2("# MHz S RI R 50", 1, "[Reference]\n25\n") + "1 0 0.5\n",
     1.0,
     {15, 20},
     25},
    {"2.0 information block skipped",
     V2("# MHz S RI", 1, "[Begin Information]\n[Manufacturer] X\n12 13\n[End Information]\n") +
         "1 0 0.5\n",
     1.0,
     {30, 40},
     50},
    {"any case", "# mhz s Ri r 50\n1 0 0.5\n", 1.0, {30, 40}, 50},
    {"options in any order", "# RI R 25 Z MHZ\n1 1.2 1.6\n", 1.0, {30, 40}, 25},
    {"only the first option line",
     "# MHz S RI R 50\n# GHz Z MA R 75\n1 0 0.5\n",
     1.0,
     {30, 40},
     50},
    {"comments anywhere",
     "! head\n# MHz S RI R 50 ! units\n1 0 ! split\n0.5 ! end\n! tail\n",
     1.0,
     {30, 40},
     50},
    {"a row on three lines", "# MHz S RI R 50\n1\n0\n\n0.5\n", 1.0, {30, 40}, 50},
    {"tabs, plus signs, exponents", "#\tMHz S RI\n+1E0\t0.0e0\t+5e-1\n", 1.0, {30, 40}, 50},
    {"CR LF lines", "# MHz S RI R 50\r\n1 0 0.5\r\n", 1.0, {30, 40}, 50},
    {"CR lines", "# MHz S RI R 50\r1 0 0.5\r", 1.0, {30, 40}, 50},
    {"byte order mark", "\xEF\xBB\xBF# MHz S RI R 50\n1 0 0.5\n", 1.0, {30, 40}, 50},
    {"port impedance comment",
     "# MHz S RI R 50\n1 0 0.5\n! Port Impedance 25 0\n",
     1.0,
     {15, 20},
     25},
    {"port impedance, number glued, tabs",
     "# MHz S RI R 50\n1 0 0.5\n!Port Impedance25\t0\n",
     1.0,
     {15, 20},
     25},
    {"port impedance on the data line",
     "# MHz S RI R 50\n1 0 0.5 ! Port Impedance 25 0\n",
     1.0,
     {15, 20},
     25},
    {"port impedance before data is a plain comment",
     "# MHz S RI R 50\n! Port Impedance 25 0\n1 0 0.5\n",
     1.0,
     {30, 40},
     50},
    {"other port comments",
     "# MHz S RI R 50\n! Port[1] = P1\n! Port impedance is 25\n1 0 0.5\n",
     1.0,
     {30, 40},
     50},
};

void PrintTo(const OnePointCase& c, std::ostream* out) {
    *out << c.what;
}

class OnePoint : public testing::TestWithParam<OnePointCase> {};

TEST_P(OnePoint, GivesTheImpedance) {
    const OnePointCase& c = GetParam();
    const TouchstoneResult r = ReadTouchstone(c.text, "/some/folder/load.s1p");
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.data->name, "load.s1p");
    EXPECT_EQ(r.ports, 1);
    ASSERT_EQ(r.data->points.size(), 1u);
    const MeasuredPoint& p = r.data->points[0];
    EXPECT_DOUBLE_EQ(p.frequency, c.frequency);
    EXPECT_EQ(p.reference, c.reference);
    ExpectNear(p.impedance, c.z);
    const Complex r0(c.reference, 0);
    ExpectNear(p.gamma, (c.z - r0) / (c.z + r0));
}

INSTANTIATE_TEST_SUITE_P(Touchstone, OnePoint, testing::ValuesIn(kOnePoint));

struct FaultCase {
    std::string text;
    std::string error;
    const char* name = "load.s1p";
    int port = 0;
};

const std::string kTwoPort = "# MHz S RI\n1 0 0 0 0 0 0 0 0\n";
const std::string kV2Ports2 =
    "[Version] 2.0\n# MHz S RI\n[Number of Ports] 2\n[Number of Frequencies] 1\n";

const FaultCase kFaults[] = {
    {"", "The file holds no data."},
    {"! nothing\n# MHz S RI\n", "The file holds no data."},
    {"1 0 0\n", "line 1: data before the option line (# GHz S MA R 50, say)"},
    {"# MHz H RI\n1 0 0\n",
     "line 1: H-parameter (hybrid) data cannot be read: only S, Y and Z data give an impedance"},
    {"# g\n", "line 1: G-parameter (hybrid) data cannot be read: only S, Y and Z data give an "
              "impedance"},
    {"# MHz S XY\n", "line 1: unknown option 'XY' in the option line"},
    {"# MHz S RI R\n", "line 1: R must be followed by the reference impedance in ohm"},
    {"# MHz S RI R ohm\n", "line 1: R must be followed by the reference impedance in ohm, not "
                           "'ohm'"},
    {"# MHz S RI R 0\n", "line 1: the reference impedance '0' must be above 0 ohm"},
    {"# MHz S RI R (50+50j)\n",
     "line 1: the reference impedance '(50+50j)' is complex: a complex reference cannot be used, "
     "since its conversion depends on a wave definition the file does not state"},
    {"# MHz S RI\n1 0 abc\n", "line 2: 'abc' is not a number"},
    {"# MHz S RI\n1 0 nan\n", "line 2: 'nan' is not a number"},
    {"# MHz S RI\n1 0 1e999\n", "line 2: '1e999' is not a number"},
    {"# MHz S RI\n1,0,0\n", "line 2: '1,0,0' is not a number"},
    {"# MHz S RI\n2 0 0\n1 0 0\n", "line 3: the frequency 1 does not increase (it follows 2)"},
    {"# MHz S RI\n2 0 0\n2 0 0\n", "line 3: the frequency 2 does not increase (it follows 2)"},
    {"# MHz S RI\n-1 0 0\n", "line 2: the frequency -1 is negative"},
    {"# GHz S RI\n1e306 0 0\n", "line 2: the frequency 1e+306 is out of range"},
    {"# MHz S RI\n1 0 0\n2 0\n",
     "line 3: the last data row is incomplete: it has 2 of the 3 numbers a row needs (it lacks "
     "the imaginary part of S11)"},
    // A row short of a number names its own line and what it lacks, not the line after it.
    {"# MHz S RI\n1 0 0\n2 0.5\n3 0.5 0.1\n",
     "line 3: the data row is incomplete: it has 2 of the 3 numbers a row needs (it lacks the "
     "imaginary part of S11); line 4 starts with more numbers than it lacks"},
    {"# MHz S MA\n1 0.5 -3\n2 0.5\n3 0.5 0\n! Port Impedance 50 0\n",
     "line 3: the data row is incomplete: it has 2 of the 3 numbers a row needs (it lacks the "
     "angle of S11); line 4 starts with more numbers than it lacks"},
    {"# MHz S DB\n1 0 0 0 0 0 0 0 0\n2 0 0 0 0 0\n",
     "line 3: the last data row is incomplete: it has 6 of the 9 numbers a row needs (it lacks "
     "the angle of S12 and the 2 numbers after it)",
     "amp.s2p", 1},
    {"# MHz S RI\n1 0 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 0 0\n1 2 .5\n1.5 2 .5 10 .2\n",
     "line 4: the noise data row is incomplete: it has 3 of the 5 numbers a row needs "
     "(frequency, minimum noise figure in dB, magnitude and angle of the optimum source "
     "reflection, noise resistance)",
     "amp.s2p", 1},
    {"# MHz S RI\n1 0 0 0 0 0 0 0 0\n1 0.1 0 0 0 0 0 0 0\n",
     "line 3: the frequency 1 repeats line 2 with other numbers", "amp.s2p", 1},
    {"# MHz S DB\n1 7000 0\n", "line 2: the value is out of range"},
    {"# MHz Z RI R 50\n1 -1 0\n",
     "line 2: this impedance has no reflection coefficient on the 50 ohm reference"},
    {"# MHz S RI\n1 0 0\n",
     "The number of ports is unknown: a version 1 file states it in its "
     "name's extension (.s1p, .s2p, ...).",
     "load.txt"},
    {kTwoPort, "The file holds data of 2 ports; choose a port (1 to 2) to read its reflection.",
     "amp.s2p"},
    {kTwoPort, "Port 3 was chosen, but the file holds data of 2 ports.", "amp.s2p", 3},
    {"# MHz Z RI\n1 0 0 0 0 0 0 0 0\n",
     "Z-parameter data of 2 ports cannot be read: only one-port Y or Z data, or one port's "
     "reflection from S-parameter data.",
     "amp.z2p", 1},
    {"# MHz S RI R 50 75\n1 0 0\n", "line 1: R gives 2 reference impedances for 1 port"},
    {"[Number of Ports] 1\n", "line 1: the keyword [Number of Ports] belongs to version 2 files, "
                              "and this file has no [Version] before its option line"},
    {"# MHz S RI\n[Version] 2.0\n", "line 2: [Version] must come before the option line"},
    {"[Version] 3.0\n", "line 1: Touchstone version 3.0 cannot be read (versions 1.0, 1.1, 2.0 "
                        "and 2.1 can)"},
    {"[Version 2.0\n", "line 1: the keyword '[Version 2.0' has no closing ']'"},
    {"[Version] 2.0\n# MHz S RI R 50 75\n",
     "line 2: a version 2 file gives one reference impedance after R; one for each port goes in "
     "[Reference]"},
    {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Network Data]\n",
     "line 4: [Network Data] must follow [Number of Frequencies]"},
    {"[Version] 2.0\n[Number of Ports] 1\n[Number of Frequencies] 1\n[Network Data]\n",
     "line 4: [Network Data] must follow the option line"},
    {"[Version] 2.0\n# MHz S RI\n[Number of Frequencies] 1\n[Network Data]\n",
     "line 4: [Network Data] must follow [Number of Ports]"},
    {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 0\n",
     "line 3: [Number of Ports] must be a whole number from 1 to 10000, not '0'"},
    {"[Version] 2.0\n# MHz S RI\n[Number of Frequencies] 1.5\n",
     "line 3: [Number of Frequencies] must be a whole number from 1 to 1000000, not '1.5'"},
    {V2("# MHz S RI", 2) + "1 0 0\n", "line 6: [Network Data] ends after 1 frequency; [Number of "
                                      "Frequencies] gives 2"},
    {V2("# MHz S RI", 1) + "1 0 0\n2 0 0\n",
     "line 7: more data rows than [Number of Frequencies] gives (1)"},
    {V2("# MHz S RI", 1) + "[Foo]\n", "line 6: [Foo] must come before [Network Data]"},
    {"[Version] 2.0\n[Foo] 1\n", "line 2: unknown keyword [Foo]"},
    {"[Version] 2.0\n1 0 0\n", "line 2: numbers before [Network Data]: '1 0 0'"},
    {"[Version] 2.0\n# MHz S RI\n", "The file has no [Network Data]."},
    {kV2Ports2 + "[Mixed-Mode Order] D1,2 C1,2\n", "line 5: mixed-mode data cannot be read"},
    {kV2Ports2 + "[Reference] 50\n[Network Data]\n",
     "line 5: [Reference] gives 1 reference impedance for 2 ports"},
    {kV2Ports2 + "[Reference]\n50 50 75\n",
     "line 6: [Reference] gives more than 2 reference impedances"},
    {kV2Ports2 + "[Matrix Format] Diagonal\n",
     "line 5: [Matrix Format] must be given once, as Full, Upper or Lower"},
    {kV2Ports2 + "[Two-Port Data Order] 11_22\n",
     "line 5: [Two-Port Data Order] must be given once, as 12_21 or 21_12"},
    {"[Version] 2.0\n[Reference] 50\n", "line 2: [Reference] must follow [Number of Ports]"},
    {"[Version] 2.0\n[Begin Information]\n", "line 2: [Begin Information] without [End "
                                             "Information]"},
    {V2("# MHz S RI", 1) + "1 0 0\n[Network Data]\n", "line 7: a second [Network Data]"},
    {V2("# MHz S RI", 1) + "1 0 0\n[End] 2\n", "line 7: unexpected '2' after [End]"},
    {"# MHz S RI\n1 0 0\n! Port Impedance 0 29.25\n",
     "line 3: the port impedance 0 + j29.25 ohm is complex: a complex reference cannot be used, "
     "since its conversion depends on a wave definition the file does not state"},
    {"# MHz S RI\n1 0 0\n! Port Impedance 50\n2 0 0\n",
     "line 3: the port impedance comment should hold 2 numbers (real and imaginary part for each "
     "of 1 port)"},
    {"# MHz S RI\n1 0 0\n! Port Impedance 50 0 1\n",
     "line 3: the port impedance comment should hold 2 numbers (real and imaginary part for each "
     "of 1 port)"},
    {"# MHz S RI\n1 0 0\n! Port Impedance -50 0\n",
     "line 3: the port impedance -50 ohm must be above 0 ohm"},
    {"# MHz S RI\n1 0 0\n! Port Impedance 50 0\n! Port Impedance 50 0\n",
     "line 4: a second port impedance comment for the frequency on line 2"},
    {"# MHz S RI\n1 0 0\n! Port Impedance 50 0\n2 0 0\n3 0 0\n! Port Impedance 50 0\n",
     "line 4: no port impedance comment follows this frequency's data, while other frequencies "
     "have one"},
    {"# MHz S RI\n1 0 0\n2 0 ! Port Impedance 50 0\n0\n",
     "line 3: the data row is incomplete: it has 2 of the 3 numbers a row needs (it lacks the "
     "imaginary part of S11) when the port impedance comment on line 3 comes"},
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.error;
}

class Fault : public testing::TestWithParam<FaultCase> {};

TEST_P(Fault, NamesTheLineAndTheFault) {
    const FaultCase& c = GetParam();
    TouchstoneOptions options;
    options.port = c.port;
    const TouchstoneResult r = ReadTouchstone(c.text, c.name, options);
    EXPECT_FALSE(r.data.has_value());
    EXPECT_EQ(r.error, c.error);
    const std::string prefix = "line " + std::to_string(r.errorLine) + ": ";
    EXPECT_EQ(r.errorLine > 0, r.error.rfind(prefix, 0) == 0) << r.error;
}

INSTANTIATE_TEST_SUITE_P(Touchstone, Fault, testing::ValuesIn(kFaults));

struct PortCase {
    const char* what;
    std::string text;
    const char* name;
    int ports; // in the file
};

// Each port's reflection on the diagonal is 0.1 times the port number, 0.9 elsewhere.
const PortCase kPorts[] = {
    {"1.1 two-port with noise data",
     "# MHz S RI\n1 .1 0 .9 0 .9 0 .2 0\n2 .1 0 .9 0 .9 0 .2 0\n"
     "1 2 .5 10 .2\n2 2 .5 10 .2\n",
     "amp.s2p", 2},
    {"1.1 three-port, one matrix row a line",
     "# MHz S RI\n1 .1 0 .9 0 .9 0\n .9 0 .2 0 .9 0\n .9 0 .9 0 .3 0\n", "tee.s3p", 3},
    {"1.1 four-port, rows split anyhow",
     "# MHz S RI\n1 .1 0 .9 0 .9 0\n .9 0 .9 0 .2 0 .9 0 .9 0 .9 0 .9 0 .3 0\n"
     ".9 0 .9 0 .9 0 .9 0 .4 0\n",
     "x.s4p", 4},
    {"2.0 two-port",
     kV2Ports2 + "[Two-Port Data Order] 21_12\n[Network Data]\n1 .1 0 .9 0 .9 0 "
                 ".2 0\n[Noise Data]\n1 2 .5 10 .2\n[End]\n",
     "amp.ts", 2},
    {"2.0 three-port upper",
     "[Version] 2.0\n# MHz S RI\n[Number of Ports] 3\n[Number of Frequencies] 1\n"
     "[Matrix Format] Upper\n[Network Data]\n1 .1 0 .9 0 .9 0\n .2 0 .9 0\n .3 0\n",
     "x.ts", 3},
    {"2.0 three-port lower",
     "[Version] 2.0\n# MHz S RI\n[Number of Ports] 3\n[Number of Frequencies] 1\n"
     "[Matrix Format] Lower\n[Network Data]\n1 .1 0\n .9 0 .2 0\n .9 0 .9 0 .3 0\n",
     "x.ts", 3},
};

void PrintTo(const PortCase& c, std::ostream* out) {
    *out << c.what;
}

class Port : public testing::TestWithParam<PortCase> {};

TEST_P(Port, TakesTheChosenPortsReflection) {
    const PortCase& c = GetParam();
    for (int port = 1; port <= c.ports; ++port) {
        TouchstoneOptions options;
        options.port = port;
        const TouchstoneResult r = ReadTouchstone(c.text, c.name, options);
        ASSERT_TRUE(r.data.has_value()) << r.error;
        EXPECT_EQ(r.ports, c.ports);
        ASSERT_FALSE(r.data->points.empty());
        ExpectNear(r.data->points[0].gamma, Complex(0.1 * port, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Touchstone, Port, testing::ValuesIn(kPorts));

TEST(Touchstone, CallerGivesTheNumberOfPortsOfAVersionOneFile) {
    TouchstoneOptions options;
    options.ports = 2;
    options.port = 2;
    const TouchstoneResult r = ReadTouchstone(kTwoPort, "export.txt", options);
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.ports, 2);
}

TEST(Touchstone, PerPortReferencesAndPortImpedanceSpanningComments) {
    // Five ports: the simulator writes five complex port impedances over two comment lines.
    std::string text = "# MHz S RI R 10 20 30 40 50\n";
    for (int f = 1; f <= 2; ++f) {
        text += std::to_string(f);
        for (int i = 0; i < 25; ++i) {
            text += (i % 6 == 0) ? " 0.5 0" : " 0 0";
            text += (i % 5 == 4) ? "\n" : "";
        }
        text += "! Port Impedance 11 0 22 0 33 0 44 0\n!  55 0\n";
    }
    for (int port = 1; port <= 5; ++port) {
        TouchstoneOptions options;
        options.port = port;
        const TouchstoneResult r = ReadTouchstone(text, "x.s5p", options);
        ASSERT_TRUE(r.data.has_value()) << r.error;
        ASSERT_EQ(r.data->points.size(), 2u);
        EXPECT_EQ(r.data->points[1].reference, 11.0 * port);
        ExpectNear(r.data->points[1].impedance, Complex(33.0 * port, 0));
    }
    text.erase(text.find("! Port"));
    TouchstoneOptions options;
    options.port = 4;
    const TouchstoneResult r = ReadTouchstone(text, "x.s5p", options);
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.data->points[0].reference, 40.0);
}

TEST(Touchstone, ZDataKeepsTheFilesImpedanceExactly) {
    const TouchstoneResult r =
        ReadTouchstone(V2("# MHz Z RI R 50", 2) + "1 0.1 0.7\n2 1e-300 3\n", "x.ts");
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.data->points[0].impedance, Complex(0.1, 0.7));
    EXPECT_EQ(r.data->points[1].impedance, Complex(1e-300, 3));
    EXPECT_EQ(CheckMeasuredData(*r.data), "");
}

// A band edge typed as the file writes it is the data's own first or last frequency, in any
// unit: the unit shifts the decimal exponent instead of multiplying (0.1 GHz * 1e3 is
// 100.00000000000001).
TEST(Touchstone, FrequenciesAreTheWrittenValuesInMegahertz) {
    struct Case {
        const char* unit;
        const char* written;
        double mhz;
    };
    const Case cases[] = {{"GHz", "0.1", 100.0},          {"GHz", "1.1", 1100.0},
                          {"GHz", "+2.45E-1", 245.0},     {"Hz", "100000000.7", 100.0000007},
                          {"Hz", "1.2345678e+09", 1234.5678}, {"kHz", "433920.3", 433.9203},
                          {"MHz", "0.3", 0.3},             {"GHz", "7e-3", 7.0}};
    for (const Case& c : cases) {
        const std::string text = std::string("# ") + c.unit + " S RI\n" + c.written + " 0 0\n";
        const TouchstoneResult r = ReadTouchstone(text, "x.s1p");
        ASSERT_TRUE(r.data.has_value()) << r.error;
        EXPECT_EQ(r.data->points[0].frequency, c.mhz) << c.unit << " " << c.written;
        EXPECT_TRUE(MeasuredImpedanceAt(*r.data, c.mhz).has_value()) << c.written;
    }
}

TEST(Touchstone, TheLastRowsMissingPortImpedanceTakesTheLastOneSeen) {
    const TouchstoneResult r = ReadTouchstone(
        "# MHz S RI\n1 0 0\n! Port Impedance 25 0\n2 0 0\n! Port Impedance 30 0\n3 0 0\n",
        "x.s1p");
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.data->points[2].reference, 30.0);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0], "line 6: no port impedance comment follows the last frequency's data; "
                          "the reference before it, 30 ohm, is used");
}

TEST(Touchstone, AReflectionOfOneIsAnOpen) {
    const TouchstoneResult r = ReadTouchstone("# MHz S MA\n1 1 0\n2 0.5 0\n", "x.s1p");
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(*MeasuredImpedanceAt(*r.data, 1), Complex(HUGE_VAL, 0));
    EXPECT_EQ(CheckMeasuredData(*r.data), "");
}

TEST(Touchstone, ReadsFilesAndRefusesWhatIsNoFile) {
    EXPECT_NE(ReadTouchstoneFile("/nonexistent/x.s1p").error.find("cannot be opened"),
              std::string::npos);
    EXPECT_EQ(ReadTouchstoneFile("/").error, "This is not a file.");
    const std::string path = testing::TempDir() + "quorbel_touchstone_test.s1p";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("# MHz S RI\n1 0 0.5\n", f);
    std::fclose(f);
    const TouchstoneResult r = ReadTouchstoneFile(path);
    std::remove(path.c_str());
    ASSERT_TRUE(r.data.has_value()) << r.error;
    EXPECT_EQ(r.data->name, "quorbel_touchstone_test.s1p");
}

} // namespace
