// Measured loads on the command line: the data options, their usage errors, an unreadable file,
// and one real one-port file from scikit-rf bound end to end.
#include "tests/cli/cliprocess.h"
#include "tests/support/missingtool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kRealFile = "/usr/lib/python3/dist-packages/skrf/data/ring slot measured.s1p";

QJsonObject Json(const std::string& out) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
}

class MeasuredCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kRealFile)) {
            SKIP_OR_FAIL_MISSING(kRealFile + " is missing (Debian package python3-scikit-rf)");
        }
    }
};

TEST(MeasuredCliUsage, DataAndAFixedValueOfOneImpedanceAreAUsageError) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--start", "1,1", "--start-data", "a.s1p"}, "--start and --start-data cannot be given"},
        {{"--goal-data", "a.s1p", "--goal", "1,1"}, "--goal and --goal-data cannot be given"},
        {{"--goal-port", "2"}, "--start-port and --goal-port need --start-data or --goal-data"},
        {{"--start-data", "a.s2p", "--start-port", "0"}, "expected a port number from 1"},
    };
    for (const Case& c : cases) {
        const CliOutcome r = RunCliProcess(c.args);
        EXPECT_EQ(r.status, 2) << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
    CScratchDir dir;
    WriteFileBytes(dir.Path("bad.s1p"), "# MHz S RI R 50\n100 0.1\n");
    const CliOutcome r = RunCliProcess({"--goal-data", dir.Path("bad.s1p"), "--readout"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("quorbel-cli: " + dir.Path("bad.s1p") + ": line 2: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());

    WriteFileBytes(dir.Path("two.s2p"), "# MHz S RI R 50\n100 0.1 0 0 0 0 0 0.3 0\n");
    const CliOutcome port = RunCliProcess(
        {"--goal-data", dir.Path("two.s2p"), "--goal-port", "2", "--frequency", "100", "--json"});
    ASSERT_EQ(port.status, 0) << port.err;
    EXPECT_NE(port.out.find("\"name\": \"two.s2p (port 2)\""), std::string::npos) << port.out;
}

TEST_F(MeasuredCli, RealFileBoundMatchedSavedAndReadBack) {
    CScratchDir dir;
    const CliOutcome r = RunCliProcess({"--start-data", kRealFile, "--frequency", "80000",
                                        "--matchme", "2,lowpass", "--band", "70000:115000:10",
                                        "--json", "--readout", "--save", dir.Path("slot.qbl")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    EXPECT_EQ(lines.at(2), "Starting [Generator] Z is 40.20+j42.38");
    const size_t brace = r.out.find("{\n");
    const QJsonObject j = Json(r.out.substr(brace));
    const QJsonObject data = j["startData"].toObject();
    EXPECT_EQ(data["name"].toString(), "ring slot measured.s1p");
    EXPECT_EQ(data["points"].toInt(), 101);
    EXPECT_EQ(data["fmin"].toDouble(), 75000);
    EXPECT_EQ(data["reference"].toDouble(), 50);
    EXPECT_TRUE(j["goalData"].isNull());
    EXPECT_NEAR(j["vswr"].toDouble(), 1.0, 1e-9) << "matched at the analysis frequency";
    const QJsonArray vswr = j["band"].toObject()["vswr"].toArray();
    EXPECT_EQ(vswr.at(0).toString(), "nan") << "70000 MHz lies below the data";
    EXPECT_GT(vswr.at(1).toDouble(), 1.0);
    EXPECT_NE(r.out.find("Measured data: start ring slot measured.s1p"), std::string::npos);

    // The saved document is self-contained: read back and saved again, byte for byte.
    const CliOutcome again =
        RunCliProcess({dir.Path("slot.qbl"), "--readout", "--save", dir.Path("again.qbl")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadFileBytes(dir.Path("again.qbl")), ReadFileBytes(dir.Path("slot.qbl")));
    EXPECT_EQ(Lines(again.out).at(2), lines.at(2));

    // Outside the data's range: no value anywhere, and nothing made up.
    const CliOutcome out = RunCliProcess({dir.Path("slot.qbl"), "--frequency", "120000",
                                          "--readout", "--json", "--sweep", "100000:120000:2"});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(Lines(out.out).at(2), "Starting [Generator]: no data at 120000.000 MHz");
    EXPECT_NE(out.out.find("\"startZ\": [\"nan\", \"nan\"]"), std::string::npos);
    EXPECT_NE(out.out.find("\n120000,nan,nan,nan,nan,nan\n"), std::string::npos) << out.out;
    const CliOutcome spice =
        RunCliProcess({dir.Path("slot.qbl"), "--frequency", "120000", "--spice"});
    EXPECT_EQ(spice.status, 2);
    EXPECT_NE(spice.err.find("has no value at 120000 MHz"), std::string::npos) << spice.err;

    // Unbinding keeps the value; --spice says how a bound impedance is terminated.
    const CliOutcome bound = RunCliProcess({dir.Path("slot.qbl"), "--spice"});
    EXPECT_NE(bound.out.find("* the starting impedance is bound to the data of ring slot"),
              std::string::npos);
    const CliOutcome unbound =
        RunCliProcess({dir.Path("slot.qbl"), "--unbind-data", "--frequency", "80000", "--json"});
    EXPECT_TRUE(Json(unbound.out)["startData"].isNull());
    EXPECT_EQ(Json(unbound.out)["startZ"], j["startZ"]);
}

// The workflow: the antenna bound as the goal is matched to its conjugate; a band partly
// outside the data is counted and a limit counted; --flip keeps the match at every frequency.
TEST_F(MeasuredCli, GoalDataIsMatchedAsTheConjugateAndFlipKeepsTheMatch) {
    const std::vector<std::string> design = {
        "--goal-data", kRealFile, "--frequency",     "92000",        "--matchme",
        "2,lowpass",   "--band",  "70000:100000:31", "--band-limit", "rl:10"};
    auto with = [&design](std::vector<std::string> more) {
        more.insert(more.begin(), design.begin(), design.end());
        return more;
    };
    const CliOutcome r = RunCliProcess(with({"--json"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject j = Json(r.out);
    EXPECT_TRUE(j["goalData"].toObject()["conjugate"].toBool());
    EXPECT_NEAR(j["vswr"].toDouble(), 1.0, 1e-6);
    const QJsonObject band = j["band"].toObject();
    EXPECT_EQ(band["missingPoints"].toInt(), 5) << "70 to 74 GHz lie below the data";
    EXPECT_EQ(band["limit"].toObject()["kind"].toString(), "rl");
    EXPECT_EQ(band["limit"].toObject()["value"].toDouble(), 10);
    const QJsonArray rl = band["returnLossDb"].toArray();
    int failing = 0;
    for (const QJsonValue v : rl) {
        failing += v.isDouble() && v.toDouble() < 10 ? 1 : 0;
    }
    EXPECT_EQ(band["failingPoints"].toInt(), failing);

    const CliOutcome text = RunCliProcess(with({"--readout"}));
    EXPECT_NE(text.out.find("\n 5 of 31 points without data\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(" of 31 points fail RL>=10 dB\n"), std::string::npos);
    EXPECT_NE(text.out.find("goal conjugate of ring slot measured.s1p"), std::string::npos);

    const CliOutcome flipped = RunCliProcess(with({"--flip", "--json"}));
    ASSERT_EQ(flipped.status, 0) << flipped.err;
    const QJsonObject f = Json(flipped.out);
    EXPECT_EQ(f["startData"].toObject()["name"].toString(), "ring slot measured.s1p");
    EXPECT_TRUE(f["goalData"].isNull());
    const QJsonArray before = band["vswr"].toArray();
    const QJsonArray after = f["band"].toObject()["vswr"].toArray();
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype k = 5; k < before.size(); ++k) {
        EXPECT_NEAR(after[k].toDouble(), before[k].toDouble(), 1e-9 * before[k].toDouble()) << k;
    }

    for (const char* bad : {"rl:0", "vswr:1", "swr:3", "rl"}) {
        const CliOutcome e = RunCliProcess({"--band-limit", bad});
        EXPECT_EQ(e.status, 2) << bad;
        EXPECT_NE(e.err.find("--band-limit: "), std::string::npos) << e.err;
    }
}

} // namespace
