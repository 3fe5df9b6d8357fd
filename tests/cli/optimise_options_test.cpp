// --optimize, --snap and --bode-fano as parsed, applied and written in the JSON.
#include "cli/clioptions.h"
#include "cli/clirun.h"
#include "design/standardvalues.h"
#include "model/documentfile.h"
#include "model/smithchrt.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <numbers>
#include <sstream>

namespace {

TEST(OptimiseOptions, ParsedAndChecked) {
    const struct {
        std::vector<std::string> args;
        std::string error; // empty: accepted
    } cases[] = {
        {{"--optimize"}, ""},
        {{"--optimize", "VSWR"}, ""},
        {{"--optimize=gain"}, ""},
        {{"--optimize=loss"}, "--optimize: the objective must be vswr or gain, not 'loss'"},
        {{"--optimize", "--optimize-components", "1,3", "--optimize-seed", "7"}, ""},
        {{"--optimize", "--optimize-components", "0"}, "component numbers from 1 to 25"},
        {{"--optimize", "--optimize-components", "1,,2"}, "component numbers"},
        {{"--optimize", "--optimize-seed", "-1"}, "--optimize-seed: expected a whole number"},
        {{"--optimize-seed", "3"}, "need --optimize"},
        {{"--snap", "e96"}, ""},
        {{"--snap", "E7"}, "--snap: the series must be one of E6, E12, E24, E48, E96, E192"},
        {{"--bode-fano"}, ""},
    };
    for (const auto& c : cases) {
        const CliParseResult r = ParseCliOptions(c.args);
        if (c.error.empty()) {
            EXPECT_TRUE(r.options) << c.args[0] << " " << r.error;
        } else {
            EXPECT_FALSE(r.options) << c.args.back();
            EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
        }
    }
    // The objective is taken only when it is one; a document name after a bare option stays one.
    const CliOptions o = *ParseCliOptions({"--optimize", "net.qbl", "--optimize-components", "2,1",
                                           "--optimize-seed", "9", "--snap", "e12"})
                              .options;
    ASSERT_TRUE(o.optimise);
    EXPECT_EQ(o.optimise->objective, "vswr");
    EXPECT_EQ(o.document, "net.qbl");
    EXPECT_EQ(o.optimise->components, (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(o.optimise->seed, 9u);
    EXPECT_EQ(o.snapSeries, "E12");
}

struct CliOutcome {
    int status;
    std::string out;
    std::string err;
};

CliOutcome RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CCliRun run(out, err);
    const int status = run.Run(args);
    return {status, out.str(), err.str()};
}

QJsonObject JsonOf(const CliOutcome& r) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
}

TEST(OptimiseOptions, OptimisesThenSnapsAndReportsBoth) {
    const std::vector<std::string> args = {"--start", "8,-12",      "--matchme",  "2,lowpass",
                                           "--band",  "300:600:51", "--optimize", "vswr",
                                           "--snap",  "E12",        "--json"};
    const CliOutcome r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject json = JsonOf(r);
    const QJsonObject opt = json["optimization"].toObject();
    EXPECT_EQ(opt["objective"].toString(), "vswr");
    EXPECT_EQ(opt["components"].toArray().size(), json["componentCount"].toInt());
    EXPECT_EQ(opt["components"].toArray()[0].toInt(), 1);
    EXPECT_LT(opt["after"].toDouble(), opt["before"].toDouble());
    EXPECT_EQ(opt["seed"].toInt(), 1);
    EXPECT_EQ(opt["snapped"].toString(), "E12");
    // The figure reported after snapping is the band the document now has.
    EXPECT_NEAR(opt["afterSnap"].toDouble(), json["band"].toObject()["worstVswr"].toDouble(), 1e-9);
    const StandardSeries& e12 = *FindStandardSeries("E12");
    for (const QJsonValue& c : json["components"].toArray()) {
        const QJsonObject part = c.toObject();
        const double v = part["kind"].toInt() == KIND_CAPACITOR ? part["capacitance"].toDouble()
                                                                : part["inductance"].toDouble();
        EXPECT_EQ(NeighbourValues(e12, v).below, v) << v;
    }

    // Reproducible: the same seed gives the same network.
    const QJsonObject again = JsonOf(RunCli(args));
    EXPECT_EQ(again["components"], json["components"]);
    EXPECT_EQ(again["optimization"].toObject()["evaluations"], opt["evaluations"]);

    // Without either option the key is null.
    EXPECT_TRUE(JsonOf(RunCli({"--json"}))["optimization"].isNull());
}

// The gain objective with lossy inductors: reported in dB, and the snapping that follows serves
// it too; both figures are the band's own worst transducer gain of the network they leave.
TEST(OptimiseOptions, OptimisesAndSnapsForTheWorstTransducerGain) {
    const std::vector<std::string> base = {"--start", "8,-12",      "--matchme",    "2,lowpass",
                                           "--band",  "300:600:51", "--inductor-q", "15"};
    std::vector<std::string> args = base;
    args.insert(args.end(), {"--optimize", "gain", "--json"});
    const CliOutcome r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject json = JsonOf(r);
    const QJsonObject opt = json["optimization"].toObject();
    EXPECT_EQ(opt["objective"].toString(), "gain");
    EXPECT_GT(opt["after"].toDouble(), opt["before"].toDouble());
    EXPECT_LT(opt["after"].toDouble(), 0);
    const double bandGain = json["band"].toObject()["worstTransducerGainDb"].toDouble();
    EXPECT_NEAR(opt["after"].toDouble(), bandGain, 1e-9);

    args.insert(args.end() - 1, {"--snap", "E12"});
    const QJsonObject snapped = JsonOf(RunCli(args));
    EXPECT_NEAR(snapped["optimization"].toObject()["afterSnap"].toDouble(),
                snapped["band"].toObject()["worstTransducerGainDb"].toDouble(), 1e-9);
}

TEST(OptimiseOptions, RefusesWhatCannotBeOptimised) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--optimize"}, "--optimize: The network has no components to optimise."},
        {{"--snap", "E6"}, "--snap: The network has no components to optimise."},
        {{"--matchme", "1,lowpass", "--start", "5,5", "--optimize", "--optimize-components", "9"},
         "--optimize: A chosen component is not in the network."},
    };
    for (const auto& c : cases) {
        const CliOutcome r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
}

TEST(OptimiseOptions, BodeFanoOfDataBoundToTheStart) {
    // A series RC load, 30 ohm and 5 pF, as impedance data over 400 to 500 MHz.
    QTemporaryDir dir;
    const std::string path = dir.filePath("load.z1p").toStdString();
    {
        std::ofstream f(path);
        f.precision(17);
        f << "# MHz Z RI R 50\n";
        for (int k = 0; k <= 20; ++k) {
            const double mhz = 400 + 5 * k;
            const double x = -1 / (2 * std::numbers::pi * mhz * 1e6 * 5e-12);
            f << mhz << " " << 30 / 50.0 << " " << x / 50 << "\n";
        }
    }
    const CliOutcome r =
        RunCli({"--start-data", path, "--band", "400:500:21", "--bode-fano", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject bf = JsonOf(r)["band"].toObject()["bodeFano"].toObject();
    EXPECT_EQ(bf["termination"].toString(), "start");
    EXPECT_EQ(bf["model"].toString(), "series RC");
    EXPECT_NEAR(bf["r"].toDouble(), 30, 1e-6);
    EXPECT_NEAR(bf["c"].toDouble(), 5, 1e-6);
    const double w1 = 2 * std::numbers::pi * 400e6;
    const double w2 = 2 * std::numbers::pi * 500e6;
    const double gamma = std::exp(-std::numbers::pi * 30 * 5e-12 / (1 / w1 - 1 / w2));
    EXPECT_NEAR(bf["minReflection"].toDouble(), gamma, 1e-6);
    EXPECT_NEAR(bf["maxReturnLossDb"].toDouble(), -20 * std::log10(gamma), 1e-4);

    // Typed impedances are constant: no limit.
    const CliOutcome typed = RunCli({"--band", "400:500:21", "--bode-fano", "--json"});
    EXPECT_TRUE(JsonOf(typed)["band"].toObject()["bodeFano"].isNull());
}

// Every JSON output must parse, non-finite figures included (they are written as the strings
// "inf", "-inf" and "nan", never bare): documents at the edges with every design option.
TEST(OptimiseOptions, EveryJsonOutputParsesAtTheEdges) {
    QTemporaryDir dir;
    const auto save = [&](const char* name, const SmithChrt& doc) {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        const std::vector<uint8_t> bytes = WriteDocument(doc);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    };
    const auto network = [](Complex start, std::vector<Component> parts) {
        SmithChrt doc;
        doc.ResetForNewDocument();
        doc.startZ = start;
        doc.goalZ = {50, 0};
        for (const Component& c : parts) {
            doc.AddComponent(c);
        }
        return doc;
    };
    // A series resistor of 0 ohm between 50 and 50 ohm: an exact match, its return loss infinite.
    Component none = NewResistor(PLACE_SERIES, 50);
    none.resistance = 0;
    const std::vector<Component> ladder = {NewInductor(PLACE_SERIES, 30, 1000),
                                           NewCapacitor(PLACE_SHUNT, 40, 1000)};
    const std::string documents[] = {
        save("perfect.qbl", network({50, 0}, {none})),
        save("empty.qbl", network({25, 10}, {})),
        save("open.qbl", network({1e15, 0}, ladder)),
        save("short.qbl", network({1e-15, 0}, ladder)),
        save("perfectladder.qbl", network({50, 0}, {none, ladder[0], ladder[1]})),
    };
    const std::vector<std::vector<std::string>> options = {
        {},
        {"--band", "900:1100:5"},
        {"--band", "900:1100:5", "--inductor-q", "40", "--bode-fano"},
        {"--band", "900:1100:5", "--optimize", "--snap", "E6"},
        {"--band", "900:1100:5", "--inductor-q", "40", "--optimize", "gain"},
    };
    for (const std::string& document : documents) {
        for (std::vector<std::string> args : options) {
            args.insert(args.begin(), document);
            args.push_back("--json");
            const CliOutcome r = RunCli(args);
            if (r.status != 0) {
                // Refused (nothing to optimise): a usage error with nothing on stdout.
                EXPECT_EQ(r.status, 2) << document << " " << args[1];
                EXPECT_TRUE(r.out.empty());
                continue;
            }
            QJsonParseError error;
            const QJsonDocument json =
                QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError)
                << document << " " << args.size() << ": " << error.errorString().toStdString()
                << " at " << r.out.substr(static_cast<size_t>(std::max(0, error.offset - 40)), 80);
            EXPECT_TRUE(json.isObject()) << document;
        }
    }
    // The exact match's infinite return loss is the string, as the help says.
    const QJsonObject perfect = JsonOf(RunCli({documents[0], "--band", "900:1100:5", "--json"}));
    EXPECT_EQ(perfect["returnLossDb"].toString(), "inf");
    EXPECT_EQ(perfect["band"].toObject()["returnLossDb"].toArray()[0].toString(), "inf");
}

} // namespace
