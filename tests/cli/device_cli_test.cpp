// A two-port device on the command line: its figures and circles in the JSON and readout, the
// goal bound to it, the band's device lists, and the options' usage errors.
#include "tests/cli/cliprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QJsonObject Json(const std::string& out) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
}

// The GaAs FET of Pozar's Microwave Engineering, example 12.3, at 4 GHz, with noise data; and a
// potentially unstable device at 1 GHz.
constexpr const char* kFet = "# GHz S MA R 50\n"
                             "3.5 0.75 -110 2.7 80 0.028 58 0.74 -50\n"
                             "4 0.72 -116 2.60 76 0.03 57 0.73 -54\n"
                             "4.5 0.70 -122 2.5 72 0.032 56 0.72 -58\n"
                             "4 0.6 0.5 130 0.4\n";
constexpr const char* kUnstable = "# GHz S MA R 50\n1 0.9 -60 5 100 0.2 40 0.8 -40\n"
                                  "2 0.9 -70 5 90 0.2 40 0.8 -50\n";

double Abs(const QJsonArray& pair) {
    return std::hypot(pair[0].toDouble(), pair[1].toDouble());
}

TEST(DeviceCli, FiguresCirclesAndTheGoalFromTheDevice) {
    CScratchDir dir;
    WriteFileBytes(dir.Path("fet.s2p"), kFet);
    const CliOutcome r =
        RunCliProcess({"--device", dir.Path("fet.s2p"), "--frequency", "4000", "--circles",
                       "stability;available-gain;operating-gain:1,2;noise:0.5", "--goal-device",
                       "source-gain", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject json = Json(r.out);
    const QJsonObject d = json["device"].toObject();
    EXPECT_EQ(d["name"].toString(), "fet.s2p");
    EXPECT_EQ(d["points"].toInt(), 3);
    EXPECT_EQ(d["noisePoints"].toInt(), 1);
    EXPECT_NEAR(d["k"].toDouble(), 1.195, 0.0005);
    EXPECT_TRUE(d["unconditionallyStable"].toBool());
    EXPECT_NEAR(d["magDb"].toDouble(), 16.7, 0.05);
    EXPECT_NEAR(Abs(d["gammaMS"].toArray()), 0.872, 0.0005);
    EXPECT_NEAR(d["fminDb"].toDouble(), 0.6, 1e-12);
    EXPECT_NEAR(d["rn"].toDouble(), 20, 1e-12);
    const QJsonArray circles = d["circles"].toArray();
    ASSERT_EQ(circles.size(), 2 + 3 + 2 + 1);
    EXPECT_EQ(circles[0].toObject()["type"].toString(), "source-stability");
    EXPECT_TRUE(circles[0].toObject()["value"].isNull());
    EXPECT_TRUE(circles[0].toObject().contains("unstableInside"));
    EXPECT_EQ(circles[7].toObject()["type"].toString(), "noise");
    EXPECT_NEAR(circles[7].toObject()["value"].toDouble(), 1.1, 1e-12);
    // The goal is the impedance of Gamma_MS itself, not its conjugate.
    const QJsonArray gms = d["gammaMS"].toArray();
    const double gr = gms[0].toDouble(), gi = gms[1].toDouble();
    const double den = (1 - gr) * (1 - gr) + gi * gi;
    const QJsonArray goal = json["goalZ"].toArray();
    EXPECT_NEAR(goal[0].toDouble(), 50 * (1 - gr * gr - gi * gi) / den, 1e-9);
    EXPECT_NEAR(goal[1].toDouble(), 50 * 2 * gi / den, 1e-9);

    // On a 75 ohm chart the reflections are those of the same impedances on 75 ohm.
    const CliOutcome r75 = RunCliProcess(
        {"--device", dir.Path("fet.s2p"), "--frequency", "4000", "--z0", "75", "--json"});
    ASSERT_EQ(r75.status, 0) << r75.err;
    const QJsonArray g75 = Json(r75.out)["device"].toObject()["gammaMS"].toArray();
    const double zr = goal[0].toDouble(), zi = goal[1].toDouble();
    const double d75 = (zr + 75) * (zr + 75) + zi * zi;
    EXPECT_NEAR(g75[0].toDouble(), ((zr - 75) * (zr + 75) + zi * zi) / d75, 1e-9);
    EXPECT_NEAR(g75[1].toDouble(), 2 * 75 * zi / d75, 1e-9);

    const CliOutcome readout =
        RunCliProcess({"--device", dir.Path("fet.s2p"), "--frequency", "4000", "--readout"});
    ASSERT_EQ(readout.status, 0) << readout.err;
    EXPECT_NE(readout.out.find("Device fet.s2p: K=1.195 mu="), std::string::npos) << readout.out;
    EXPECT_NE(readout.out.find("Fmin=0.60dB"), std::string::npos) << readout.out;
}

TEST(DeviceCli, NoMatchWithoutStabilityAndTheBandsLists) {
    CScratchDir dir;
    WriteFileBytes(dir.Path("u.s2p"), kUnstable);
    // A network to end the readout with its goal line.
    ASSERT_EQ(
        RunCliProcess({"--filter", "lowpass,2000,0.1,3,50,shunt", "--save", dir.Path("n.qbl")})
            .status,
        0);
    const CliOutcome r =
        RunCliProcess({dir.Path("n.qbl"), "--device", dir.Path("u.s2p"), "--frequency", "1000",
                       "--goal-device", "load-gain", "--readout"});
    EXPECT_NE(r.out.find("Goal [Load]: no simultaneous match: K="), std::string::npos)
        << r.out << r.err;
    const CliOutcome wizard =
        RunCliProcess({"--device", dir.Path("u.s2p"), "--frequency", "1000", "--goal-device",
                       "source-gain", "--matchme", "2,lowpass", "--readout"});
    EXPECT_NE(wizard.status, 0);
    EXPECT_NE(wizard.err.find("--matchme: the matching wizard needs both impedances: the goal "
                              "from the device has no value here: no simultaneous match: K="),
              std::string::npos)
        << wizard.err;
    const CliOutcome band =
        RunCliProcess({"--device", dir.Path("u.s2p"), "--band", "1000:2000:3", "--json"});
    ASSERT_EQ(band.status, 0) << band.err;
    const QJsonObject lists = Json(band.out)["band"].toObject()["device"].toObject();
    ASSERT_EQ(lists["k"].toArray().size(), 3);
    EXPECT_LT(lists["k"].toArray()[0].toDouble(), 1);
    EXPECT_TRUE(lists["magDb"].toArray()[1].isNull());
    EXPECT_NEAR(lists["msgDb"].toArray()[2].toDouble(), 10 * std::log10(25.0), 1e-9);
    EXPECT_TRUE(lists["fminDb"].toArray()[0].isNull());
}

TEST(DeviceCli, UsageErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
        int status;
    };
    const Case cases[] = {
        {{"--goal-device", "gain"}, "expected source-gain, source-noise or load-gain", 2},
        {{"--circles", "stability;gain"}, "unknown circle family 'gain'", 2},
        {{"--circles", "noise:0,1"}, "bad circle steps in 'noise:0,1'", 2},
        {{"--device-ports", "1,2"}, "--device-ports needs --device", 2},
        {{"--goal-device", "source-gain", "--readout"}, "--goal-device: no device is loaded", 2},
        {{"--device", "/nonexistent/x.s2p", "--readout"}, "x.s2p: The file cannot be opened", 1},
    };
    for (const Case& c : cases) {
        const CliOutcome r = RunCliProcess(c.args);
        EXPECT_EQ(r.status, c.status) << c.error << r.err;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
}

} // namespace
