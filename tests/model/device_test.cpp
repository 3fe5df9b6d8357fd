// Two-port devices: reading them, their figures against a textbook example, and their circles
// against the defining gain, stability and noise formulas evaluated point by point.
#include "model/devicefigures.h"
#include "model/touchstone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

Complex Polar(double magnitude, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {magnitude * std::cos(a), magnitude * std::sin(a)};
}

double Abs(Complex z) {
    return std::hypot(z.re, z.im);
}

double Deg(Complex z) {
    return std::atan2(z.im, z.re) * 180.0 / std::numbers::pi;
}

const Complex kOne{1, 0};

// The reflection looking into port 1 with port 2 loaded by gammaL, and into port 2 with port 1
// driven from gammaS (Pozar, Microwave Engineering, sec. 12.1).
Complex GammaIn(const DevicePoint& s, Complex gammaL) {
    return s.s11 + s.s12 * s.s21 * gammaL / (kOne - s.s22 * gammaL);
}
Complex GammaOut(const DevicePoint& s, Complex gammaS) {
    return s.s22 + s.s12 * s.s21 * gammaS / (kOne - s.s11 * gammaS);
}
double Abs2(Complex z) {
    return z.re * z.re + z.im * z.im;
}
// Operating power gain and available power gain from their definitions (Pozar sec. 12.1).
double OperatingGainDb(const DevicePoint& s, Complex gl) {
    const double g =
        Abs2(s.s21) * (1 - Abs2(gl)) / ((1 - Abs2(GammaIn(s, gl))) * Abs2(kOne - s.s22 * gl));
    return 10 * std::log10(g);
}
double AvailableGainDb(const DevicePoint& s, Complex gs) {
    const double g =
        Abs2(s.s21) * (1 - Abs2(gs)) / (Abs2(kOne - s.s11 * gs) * (1 - Abs2(GammaOut(s, gs))));
    return 10 * std::log10(g);
}

DevicePoint Device(Complex s11, Complex s12, Complex s21, Complex s22) {
    return {1000, s11, s12, s21, s22, 50};
}

// Pozar, Microwave Engineering, 4th ed., example 12.3: a GaAs FET at 4 GHz, designed for maximum
// gain. The book gives |Delta| = 0.488, K = 1.195, Gamma_S = 0.872 at 123 degrees, Gamma_L =
// 0.876 at 61 degrees and a transducer gain of 16.7 dB, all rounded as printed.
TEST(DeviceFigures, AgreeWithTheTextbookExample) {
    const DevicePoint s =
        Device(Polar(0.72, -116), Polar(0.03, 57), Polar(2.60, 76), Polar(0.73, -54));
    const DeviceFigures f = ComputeDeviceFigures(s);
    EXPECT_NEAR(Abs(f.delta), 0.488, 0.0005);
    EXPECT_NEAR(f.k, 1.195, 0.0005);
    EXPECT_TRUE(f.unconditionallyStable);
    ASSERT_TRUE(f.gammaMS && f.gammaML);
    EXPECT_NEAR(Abs(*f.gammaMS), 0.872, 0.0005);
    EXPECT_NEAR(Deg(*f.gammaMS), 123, 0.5);
    EXPECT_NEAR(Abs(*f.gammaML), 0.876, 0.0005);
    EXPECT_NEAR(Deg(*f.gammaML), 61, 0.5);
    ASSERT_TRUE(f.magDb.has_value());
    EXPECT_NEAR(*f.magDb, 16.7, 0.05);
    EXPECT_NEAR(*f.msgDb, 10 * std::log10(2.60 / 0.03), 1e-12);
}

// A stable device, a potentially unstable one (K < 1), one with |S11| > 1, and a unilateral one.
const DevicePoint kDevices[] = {
    Device(Polar(0.72, -116), Polar(0.03, 57), Polar(2.60, 76), Polar(0.73, -54)),
    Device(Polar(0.65, -140), Polar(0.06, 50), Polar(2.4, 50), Polar(0.7, -40)),
    Device(Polar(1.2, -30), Polar(0.1, 40), Polar(3.0, 60), Polar(0.5, -60)),
    Device(Polar(0.5, -60), Polar(0, 0), Polar(2.0, 80), Polar(0.4, -30)),
};

// Points on every circle have the circle's own value by the defining formula; a stability circle
// is where |Gamma_in| (or |Gamma_out|) is 1, with the unstable side where the circle says.
TEST(DeviceCircles, LieWhereTheirFormulasSay) {
    CircleSettings all;
    all.stability = all.availableGain = all.operatingGain = true;
    int checked = 0;
    for (const DevicePoint& s : kDevices) {
        for (const DeviceCircle& c : DeviceCircles(s, std::nullopt, all)) {
            for (int i = 0; i < 16; ++i) {
                const Complex u = Polar(1, 22.5 * i);
                const Complex on = c.circle.center + u * c.circle.radius;
                SCOPED_TRACE(std::string(CircleFamilyName(c.family)) + " " + std::to_string(i));
                switch (c.family) {
                case CircleFamily::LoadStability:
                case CircleFamily::SourceStability: {
                    const bool load = c.family == CircleFamily::LoadStability;
                    auto through = [&](Complex g) {
                        return Abs(load ? GammaIn(s, g) : GammaOut(s, g));
                    };
                    EXPECT_NEAR(through(on), 1.0, 1e-9);
                    const Complex inside = c.circle.center + u * (c.circle.radius * 0.999);
                    EXPECT_EQ(through(inside) > 1.0, c.unstableInside);
                    break;
                }
                case CircleFamily::AvailableGain:
                    if (Abs(on) < 1) {
                        EXPECT_NEAR(AvailableGainDb(s, on), *c.valueDb, 1e-9);
                    }
                    break;
                case CircleFamily::OperatingGain:
                    if (Abs(on) < 1) {
                        EXPECT_NEAR(OperatingGainDb(s, on), *c.valueDb, 1e-9);
                    }
                    break;
                case CircleFamily::Noise:
                    break;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 16 * 20);
}

// The simultaneous conjugate match: each port sees the conjugate of the other's termination.
TEST(DeviceFigures, TheSimultaneousMatchIsConjugateAtBothPorts) {
    for (const DevicePoint& s : kDevices) {
        const DeviceFigures f = ComputeDeviceFigures(s);
        EXPECT_EQ(f.gammaMS.has_value(), f.unconditionallyStable);
        EXPECT_EQ(f.unconditionallyStable, f.k > 1 && Abs(f.delta) < 1);
        if (f.gammaMS) {
            const Complex in = GammaIn(s, *f.gammaML);
            EXPECT_NEAR(in.re, f.gammaMS->re, 1e-9);
            EXPECT_NEAR(in.im, -f.gammaMS->im, 1e-9);
            EXPECT_NEAR(AvailableGainDb(s, *f.gammaMS), *f.magDb, 1e-9);
        }
    }
}

TEST(DeviceCircles, NoiseCirclesHoldTheirNoiseFigure) {
    const NoisePoint n{1000, 0.8, Polar(0.5, 130), 20, 50};
    CircleSettings noise;
    noise.noise = true;
    const auto circles = DeviceCircles(kDevices[0], n, noise);
    ASSERT_EQ(circles.size(), 4u);
    for (const DeviceCircle& c : circles) {
        for (int i = 0; i < 8; ++i) {
            const Complex on = c.circle.center + Polar(c.circle.radius, 45 * i);
            EXPECT_NEAR(NoiseFigureDb(n, on), *c.valueDb, 1e-9);
        }
    }
    EXPECT_NEAR(NoiseFigureDb(n, n.gammaOpt), n.fminDb, 1e-12);
    // The textbook form with admittances: F = Fmin + Rn/Gs |Ys - Yopt|^2.
    const Complex gs{0.3, -0.2};
    const Complex ys = (kOne - gs) / (kOne + gs) * (1.0 / 50);
    const Complex yopt = (kOne - n.gammaOpt) / (kOne + n.gammaOpt) * (1.0 / 50);
    const double f = std::pow(10, n.fminDb / 10) + n.rn / ys.re * Abs2(ys - yopt);
    EXPECT_NEAR(NoiseFigureDb(n, gs), 10 * std::log10(f), 1e-12);
}

// Mapped to another chart impedance, each point of a circle lands on the mapped circle, and the
// inside stays the inside unless the circle held the point that goes to infinity.
TEST(DeviceCircles, MapToAnotherReferenceAsCircles) {
    const ReflectionCircle circles[] = {
        {{0.3, 0.2}, 0.4}, {{-0.5, 0.1}, 0.2}, {{1.5, 0.5}, 1.0}, {{0, 0}, 0.9}};
    for (const double to : {25.0, 75.0, 200.0}) {
        for (const ReflectionCircle& c : circles) {
            bool flips = false;
            const std::optional<ReflectionCircle> m = MapCircle(c, 50, to, &flips);
            ASSERT_TRUE(m.has_value());
            for (int i = 0; i < 12; ++i) {
                const Complex u = Polar(1, 30 * i);
                const Complex p = MapReflection(c.center + u * c.radius, 50, to);
                EXPECT_NEAR(Abs(p - m->center), m->radius, 1e-9 * std::max(1.0, m->radius));
            }
            const Complex inside = MapReflection(c.center + Polar(c.radius * 0.5, 10), 50, to);
            EXPECT_EQ(Abs(inside - m->center) < m->radius, !flips);
        }
    }
    // The same impedance on both references.
    const Complex z{30, -40};
    const Complex g50 = (z - Complex{50, 0}) / (z + Complex{50, 0});
    const Complex g75 = (z - Complex{75, 0}) / (z + Complex{75, 0});
    const Complex mapped = MapReflection(g50, 50, 75);
    EXPECT_NEAR(mapped.re, g75.re, 1e-15);
    EXPECT_NEAR(mapped.im, g75.im, 1e-15);
}

// ---- Reading

// One device written every way a file may: the S-parameters of kDevices[1] at 1 and 2 GHz.
struct SameDeviceCase {
    const char* what;
    std::string text;
    const char* name;
    DeviceReadOptions options{};
};

std::string Row(const char* f, const DevicePoint& s, bool order21First) {
    auto ri = [](Complex z) {
        char b[80];
        std::snprintf(b, sizeof b, " %.17g %.17g", z.re, z.im);
        return std::string(b);
    };
    return f + ri(s.s11) + (order21First ? ri(s.s21) + ri(s.s12) : ri(s.s12) + ri(s.s21)) +
           ri(s.s22) + "\n";
}

const DevicePoint& S() {
    return kDevices[1];
}

std::string MaRow(const char* f, const DevicePoint& s, bool db) {
    auto ma = [db](Complex z) {
        char b[80];
        std::snprintf(b, sizeof b, " %.17g %.17g", db ? 20 * std::log10(Abs(z)) : Abs(z), Deg(z));
        return std::string(b);
    };
    return f + ma(s.s11) + ma(s.s21) + ma(s.s12) + ma(s.s22) + "\n";
}

// Z of the device on 50 ohm, normalised: z = (I + S)(I - S)^-1.
std::string ZRow(const char* f, const DevicePoint& s, double scale, bool admittance) {
    const Complex a = kOne - s.s11, b = Complex{0, 0} - s.s12, c = Complex{0, 0} - s.s21,
                  d = kOne - s.s22; // I - S
    const Complex det = a * d - b * c;
    // (I - S)^-1
    const Complex ia = d / det, ib = Complex{0, 0} - b / det, ic = Complex{0, 0} - c / det,
                  id = a / det;
    const Complex pa = kOne + s.s11, pb = s.s12, pc = s.s21, pd = kOne + s.s22; // I + S
    Complex z11 = pa * ia + pb * ic, z12 = pa * ib + pb * id, z21 = pc * ia + pd * ic,
            z22 = pc * ib + pd * id;
    if (admittance) { // y = z^-1
        const Complex dz = z11 * z22 - z12 * z21;
        const Complex y11 = z22 / dz, y12 = Complex{0, 0} - z12 / dz,
                      y21 = Complex{0, 0} - z21 / dz, y22 = z11 / dz;
        z11 = y11;
        z12 = y12;
        z21 = y21;
        z22 = y22;
    }
    return Row(f, {0, z11 * scale, z12 * scale, z21 * scale, z22 * scale, 50}, true);
}

// A three-port whose ports 3 and 1 are the device, port 2 coupled to both; one matrix row a line.
std::string ThreePort(const char* f) {
    const Complex m[3][3] = {{S().s22, {0.1, 0.2}, S().s21},
                             {{0.3, 0}, {0.2, -0.1}, {0.05, 0.05}},
                             {S().s12, {0.4, 0.1}, S().s11}};
    std::string text = f;
    for (const auto& row : m) {
        for (const Complex z : row) {
            char b[80];
            std::snprintf(b, sizeof b, " %.17g %.17g", z.re, z.im);
            text += b;
        }
        text += "\n";
    }
    return text;
}

const SameDeviceCase kSameDevice[] = {
    {"1.1 RI in GHz", "# GHz S RI R 50\n" + Row("1", S(), true) + Row("2", S(), true), "a.s2p"},
    {"1.1 MA in MHz", "# MHz S MA\n" + MaRow("1000", S(), false) + MaRow("2000", S(), false),
     "a.s2p"},
    {"1.1 DB in Hz", "# Hz S DB\n" + MaRow("1e9", S(), true) + MaRow("2E9", S(), true), "a.s2p"},
    {"1.1 Z normalised", "# GHz Z RI R 50\n" + ZRow("1", S(), 1, false) + ZRow("2", S(), 1, false),
     "a.z2p"},
    {"1.1 Y normalised", "# GHz Y RI R 50\n" + ZRow("1", S(), 1, true) + ZRow("2", S(), 1, true),
     "a.y2p"},
    {"2.0 Z in ohm, 12_21",
     "[Version] 2.0\n# GHz Z RI R 50\n[Number of Ports] 2\n[Two-Port Data Order] 12_21\n"
     "[Number of Frequencies] 2\n[Network Data]\n" +
         ZRow("1", {0, S().s11, S().s21, S().s12, S().s22, 50}, 50, false) +
         ZRow("2", {0, S().s11, S().s21, S().s12, S().s22, 50}, 50, false) + "[End]\n",
     "a.ts"},
    {"2.0 S, 12_21",
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 2\n[Two-Port Data Order] 12_21\n"
     "[Number of Frequencies] 2\n[Network Data]\n" +
         Row("1", S(), false) + Row("2", S(), false),
     "a.ts"},
    // Ports 3 and 1 of a three-port file: S33 is the device's S11, S31 its S12, S13 its S21.
    {"three-port, ports 3 and 1", "# GHz S RI\n" + ThreePort("1") + ThreePort("2"), "t.s3p",
     DeviceReadOptions{0, 3, 1}},
};

TEST(DeviceReading, EveryFormGivesTheSameDevice) {
    for (const SameDeviceCase& c : kSameDevice) {
        SCOPED_TRACE(c.what);
        const DeviceReadResult r = ReadTouchstoneDevice(c.text, c.name, c.options);
        ASSERT_TRUE(r.data.has_value()) << r.error;
        ASSERT_EQ(r.data->points.size(), 2u);
        EXPECT_EQ(r.data->points[1].frequency, 2000.0);
        EXPECT_EQ(CheckDeviceData(*r.data), "");
        const DevicePoint& p = r.data->points[0];
        for (const auto& [got, want] : {std::pair{p.s11, S().s11}, std::pair{p.s12, S().s12},
                                        std::pair{p.s21, S().s21}, std::pair{p.s22, S().s22}}) {
            EXPECT_NEAR(got.re, want.re, 1e-12);
            EXPECT_NEAR(got.im, want.im, 1e-12);
        }
    }
}

TEST(DeviceReading, NoiseDataMayCoverOtherFrequencies) {
    const std::string v1 = "# GHz S RI R 50\n" + Row("1", S(), true) + Row("2", S(), true) +
                           Row("3", S(), true) +
                           "! noise\n0.5 0.4 0.5 120 0.3\n1.5 0.6 0.45 130 0.4\n";
    const DeviceReadResult r = ReadTouchstoneDevice(v1, "a.s2p");
    ASSERT_TRUE(r.data.has_value()) << r.error;
    ASSERT_EQ(r.data->noise.size(), 2u);
    const NoisePoint& n = r.data->noise[1];
    EXPECT_EQ(n.frequency, 1500.0);
    EXPECT_EQ(n.fminDb, 0.6);
    EXPECT_NEAR(Abs(n.gammaOpt), 0.45, 1e-15);
    EXPECT_NEAR(Deg(n.gammaOpt), 130, 1e-12);
    EXPECT_EQ(n.rn, 20.0); // 0.4 of 50 ohm
    // Only where both exist: below 1 GHz there are no S-parameters, above 1.5 GHz no noise data.
    EXPECT_FALSE(DeviceNoiseAt(*r.data, 700).has_value());
    EXPECT_FALSE(DeviceNoiseAt(*r.data, 1600).has_value());
    const std::optional<NoisePoint> mid = DeviceNoiseAt(*r.data, 1250);
    ASSERT_TRUE(mid.has_value());
    EXPECT_NEAR(mid->fminDb, 0.55, 1e-15);
    EXPECT_NEAR(mid->rn, 18.75, 1e-12);
    ASSERT_TRUE(DeviceAt(*r.data, 1500).has_value());
    EXPECT_NEAR(DeviceAt(*r.data, 1500)->s21.re, S().s21.re, 1e-15);

    const std::string v2 = "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 2\n"
                           "[Two-Port Data Order] 21_12\n[Number of Frequencies] 1\n"
                           "[Number of Noise Frequencies] 1\n[Network Data]\n" +
                           Row("1", S(), true) + "[Noise Data]\n1 0.5 0.4 90 12.5\n[End]\n";
    const DeviceReadResult r2 = ReadTouchstoneDevice(v2, "a.ts");
    ASSERT_TRUE(r2.data.has_value()) << r2.error;
    ASSERT_EQ(r2.data->noise.size(), 1u);
    EXPECT_EQ(r2.data->noise[0].rn, 12.5); // ohm in version 2
}

struct DeviceFault {
    std::string text;
    const char* name;
    DeviceReadOptions options;
    std::string error;
};

const DeviceFault kDeviceFaults[] = {
    {"# GHz S RI\n1 0 0\n",
     "a.s1p",
     {},
     "The file holds one-port data; a device needs the data of two ports."},
    {"# GHz S RI\n" + ThreePort("1"),
     "t.s3p",
     {},
     "The file holds data of 3 ports; choose the device's two ports (1 to 3)."},
    {"# GHz S RI\n" + ThreePort("1"),
     "t.s3p",
     {0, 2, 2},
     "Ports 2 and 2 were chosen, but the file holds data of 3 ports: choose two different ones "
     "from 1 to 3."},
    {"# GHz Z RI\n" + ThreePort("1"),
     "t.z3p",
     {0, 1, 2},
     "Z-parameter data of 3 ports cannot be read as a device: only S-parameter data gives two of "
     "its ports with the others terminated."},
    {"# GHz S RI\n" + Row("1", S(), true) + Row("2", S(), true) + "1 0.5 0.4 120\n",
     "a.s2p",
     {},
     "line 4: the last noise data row is incomplete: it has 4 of the 5 numbers a row needs "
     "(frequency, minimum noise figure in dB, magnitude and angle of the optimum source "
     "reflection, noise resistance)"},
    {"# GHz S RI\n" + Row("1", S(), true) + Row("2", S(), true) +
         "1 0.5 0.4 120 0.3\n1 0.5 0.4 120 0.3\n",
     "a.s2p",
     {},
     "line 5: the noise frequency 1 does not increase (it follows 1)"},
    {"# GHz S RI\n" + Row("1", S(), true) + "1 0.5 1.2 120 0.3\n",
     "a.s2p",
     {},
     "line 3: the noise parameters are out of range: the minimum noise figure must be at least "
     "0 dB, the optimum reflection's magnitude below 1 and the noise resistance at least 0"},
    {"# GHz Y RI\n1 0 0 0 0 0 0 0 0\n",
     "a.y2p",
     {},
     "line 2: these parameters have no S-parameters on the 50 ohm reference"},
};

TEST(DeviceReading, NamesWhatIsWrong) {
    for (const DeviceFault& c : kDeviceFaults) {
        const DeviceReadResult r = ReadTouchstoneDevice(c.text, c.name, c.options);
        EXPECT_FALSE(r.data.has_value());
        EXPECT_EQ(r.error, c.error);
    }
    EXPECT_TRUE(ReadTouchstoneDevice("# GHz S RI\n" + ThreePort("1"), "t.s3p").portsNeeded);
}

} // namespace
