// Runs the built quorbel-cli as a process, as users and scripts do.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/documentfile.h"
#include "model/matchfigures.h"
#include "tests/cli/cliprocess.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

namespace {

QJsonObject ParseJson(const std::string& text) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

Complex PairOf(const QJsonValue& v) {
    const QJsonArray a = v.toArray();
    return {a.at(0).toDouble(), a.at(1).toDouble()};
}

// The ending impedance that the window's draw of doc's first n components leaves: the
// evaluation the tool's cascade must agree with.
Complex DrawnEnd(SmithChrt doc, int32_t n) {
    doc.componentCount = n;
    RecordingSurface surface;
    FixedDateTimeText clock(std::nullopt);
    DrawChart(doc, surface, DeviceToLogical({0, 0, 800, 400}), clock);
    return doc.endZ;
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');) {
        cells.push_back(cell);
    }
    return cells;
}

std::string Saved(const CScratchDir& dir, const std::string& name, const SmithChrt& doc) {
    const std::string path = dir.Path(name);
    EXPECT_EQ(SaveDocumentFile(path, doc), DocumentError::None);
    return path;
}

TEST(CliProcess, HelpPrintsTheUsage) {
    const CliOutcome r = RunCliProcess({"--json", "--help", "--no-such-option"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("quorbel-cli [DOCUMENT.qbl] [OPTION]...\n", 0), 0u);
    EXPECT_NE(r.out.find("    --sweep F1:F2:N      CSV with the header"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(CliProcess, VersionShortHelpAndABareRun) {
    CliOutcome r = RunCliProcess({"--version", "--bogus"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(std::regex_match(r.out, std::regex("quorbel-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << r.out;
    EXPECT_EQ(r.err, "");
    const CliOutcome help = RunCliProcess({"--help"});
    r = RunCliProcess({"-h"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, help.out);
    // Nothing at all to do: the usage goes to stderr and the run counts as a usage error.
    r = RunCliProcess({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, help.out);
}

struct UsageCase {
    std::vector<std::string> args;
    std::string problem;
};

TEST(CliProcess, UsageErrorsExitWithTwo) {
    const std::vector<UsageCase> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--frequency"}, "option '--frequency' needs a value"},
        {{"--frequency", "ten"}, "--frequency: not a number: 'ten'"},
        {{"--frequency", "12abc"}, "not a number"},
        {{"--frequency", "0"}, "Please enter a number between 1e-15 and 1e+20."},
        {{"--z0", "50", "--z0=75"}, "option '--z0' given more than once"},
        {{"--json=yes"}, "option '--json' takes no value"},
        {{"a.qbl", "b.qbl"}, "more than one document given"},
        {{"--start", "50"}, "expected R,X"},
        {{"--goal", "-1,0"}, "Please enter a number between 0 and 1e+15."},
        {{"--matchme", "2"}, "expected N,TOPOLOGY"},
        {{"--matchme", "2,bandpass"}, "TOPOLOGY must be one of lowpass, highpass, quarterwave"},
        {{"--filter", "bandstop,100,0.1,3,50,shunt"}, "TYPE must be one of lowpass, highpass"},
        {{"--filter", "lowpass,100,0.1,3,50,middle"}, "FIRST must be one of shunt, series"},
        {{"--filter", "lowpass,100,0.1,3,50"}, "expected TYPE,FC,RIPPLE,N,RO,FIRST"},
        {{"-o", "chart.bmp"}, "must end in .png, .svg or .pdf"},
        {{"--size", "800"}, "expected WxH"},
        {{"--size", "0x400"}, "expected WxH"},
        {{"--sweep", "1:2"}, "expected F1:F2:N"},
        {{"--sweep", "1:2:0"}, "N must be a whole number of rows from 2 to 2147483647"},
        {{"--sweep", "1:2:1"}, "N must be a whole number of rows from 2 to 2147483647"},
        {{"--sweep", "1:1:0"}, "(or 1 when F1 equals F2)"},
    };
    for (const UsageCase& c : cases) {
        const CliOutcome r = RunCliProcess(c.args);
        EXPECT_EQ(r.status, 2) << c.args[0];
        EXPECT_NE(r.err.find(c.problem), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Try 'quorbel-cli --help'"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliProcess, WizardValuesOutsideTheDialogRangeGiveItsMessage) {
    const std::vector<UsageCase> cases = {
        {{"--matchme", "11,lowpass"}, "Please enter an integer between 1 and 10.\n"},
        {{"--matchme", "two,lowpass"}, "Please enter an integer.\n"},
        {{"--start", "0,0", "--matchme", "1,lowpass"},
         "Please enter a number between 1e-15 and 1e+15.\n"},
        {{"--filter", "lowpass,100,0,3,50,shunt"},
         "Please enter a number between 0.0001 and 10.\n"},
        {{"--filter", "lowpass,100,0.1,17,50,shunt"},
         "Please enter an integer between 3 and 15.\n"},
        {{"--filter", "lowpass,0,0.1,x,50,shunt"},
         "Please enter a number between 1e-15 and 1e+15.\n"},
        {{"--filter", "highpass,100,0.1,x,0,series"}, "Please enter an integer.\n"},
    };
    for (const UsageCase& c : cases) {
        const CliOutcome r = RunCliProcess(c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_EQ(r.err, "quorbel-cli: " + c.problem);
    }
}

TEST(CliProcess, UnreadableDocumentsExitWithOne) {
    CScratchDir dir;
    const std::string good = ReadFileBytes(Saved(dir, "good.qbl", EveryKindDocument()));
    WriteFileBytes(dir.Path("cut.qbl"), good.substr(0, good.size() - 100));
    CliOutcome r = RunCliProcess({dir.Path("cut.qbl"), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorbel-cli: " + dir.Path("cut.qbl") + ": Unexpected file format.\n");
    EXPECT_EQ(r.out, "");

    r = RunCliProcess({dir.Path("missing.qbl")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorbel-cli: " + dir.Path("missing.qbl") + ": Failed to open document.\n");

    r = RunCliProcess({"--save", dir.Path("no/such/dir/out.qbl")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorbel-cli: " + dir.Path("no/such/dir/out.qbl") +
                         ": Failed to save document. (No such file or directory)\n");
}

TEST(CliProcess, SaveRoundTripsByteForByte) {
    CScratchDir dir;
    SmithChrt unusual = EveryKindDocument();
    unusual.title = std::string(300, 'x') + " \xC3\xA9\xE2\x82\xAC"; // long, with e-acute and euro
    unusual.showVswrCircles = true;
    unusual.activeIndex = 4;
    for (const SmithChrt& doc : {NewDocument(), EveryKindDocument(), unusual}) {
        const std::string in = Saved(dir, "in.qbl", doc);
        const CliOutcome r = RunCliProcess({in, "--save", dir.Path("out.qbl")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFileBytes(dir.Path("out.qbl")), ReadFileBytes(in));
    }
}

TEST(CliProcess, WithoutADocumentStartsFromANewOne) {
    CScratchDir dir;
    const std::string fresh = ReadFileBytes(Saved(dir, "fresh.qbl", NewDocument()));
    WriteFileBytes(dir.Path("empty.qbl"), "");
    for (const std::vector<std::string>& first :
         {std::vector<std::string>{}, {dir.Path("empty.qbl")}}) {
        std::vector<std::string> args = first;
        args.insert(args.end(), {"--save", dir.Path("new.qbl")});
        ASSERT_EQ(RunCliProcess(args).status, 0);
        EXPECT_EQ(ReadFileBytes(dir.Path("new.qbl")), fresh);
    }
}

TEST(CliProcess, JsonGivesTheEvaluatedNetwork) {
    CScratchDir dir;
    SmithChrt doc = EveryKindDocument();
    const CliOutcome r = RunCliProcess({Saved(dir, "every.qbl", doc), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject json = ParseJson(r.out);
    EXPECT_EQ(json["title"].toString(), "every kind");
    EXPECT_EQ(PairOf(json["startZ"]), doc.startZ);
    EXPECT_EQ(json["componentCount"].toInt(), doc.componentCount);
    EXPECT_EQ(json["activeIndex"].toInt(), doc.activeIndex);
    const QJsonArray components = json["components"].toArray();
    ASSERT_EQ(components.size(), doc.componentCount);
    for (int i = 0; i < doc.componentCount; ++i) {
        const QJsonObject c = components[i].toObject();
        EXPECT_EQ(c["kind"].toInt(), doc.components[i].kind);
        EXPECT_EQ(c["inductance"].toDouble(), doc.components[i].inductance);
        EXPECT_EQ(PairOf(c["outZ"]), DrawnEnd(doc, i + 1)) << i;
    }
    const Complex endZ = DrawnEnd(doc, doc.componentCount);
    EXPECT_EQ(PairOf(json["endZ"]), endZ);
    const MatchFigures m = ComputeMatch(endZ, doc.goalZ);
    EXPECT_EQ(json["vswr"].toDouble(), m.vswr);
    EXPECT_EQ(json["returnLossDb"].toDouble(), m.returnLossDb);
    EXPECT_EQ(json["mismatchLossDb"].toDouble(), m.mismatchLossDb);
}

TEST(CliProcess, JsonWritesNonFiniteNumbersAsStrings) {
    // A pure reactance at the start makes the first Q infinite; a 0 pF series capacitor leaves
    // no finite impedance behind it.
    SmithChrt doc = NewDocument();
    doc.startZ = {0, 50};
    doc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    doc.components[0].capacitance = 0;
    doc.AddComponent(NewResistor(PLACE_SHUNT, 50));
    CScratchDir dir;
    const CliOutcome r = RunCliProcess({Saved(dir, "odd.qbl", doc), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject json = ParseJson(r.out);
    EXPECT_EQ(json["maxNetworkQ"].toString(), "inf");
    EXPECT_EQ(json["components"][0]["outZ"][1].toString(), "-inf");
    EXPECT_EQ(json["endZ"][0].toString(), "nan");
    EXPECT_EQ(json["vswr"].toString(), "nan");
}

TEST(CliProcess, EmptyAndBrokenNetworksHaveNoEnd) {
    CliOutcome r = RunCliProcess({"--json"});
    QJsonObject json = ParseJson(r.out);
    for (const char* key : {"endZ", "vswr", "returnLossDb", "mismatchLossDb"}) {
        EXPECT_TRUE(json[key].isNull()) << key;
    }
    EXPECT_EQ(json["maxNetworkQ"].toDouble(-1), 0.0);

    SmithChrt doc = NewDocument();
    doc.AddComponent(NewResistor(PLACE_SERIES, 50));
    Component unknown;
    unknown.kind = 42;
    doc.AddComponent(unknown);
    CScratchDir dir;
    r = RunCliProcess({Saved(dir, "bad.qbl", doc), "--json", "--sweep", "100:200:3"});
    EXPECT_EQ(r.status, 0);
    json = ParseJson(r.out.substr(0, r.out.find("frequency_mhz")));
    EXPECT_TRUE(json["endZ"].isNull());
    EXPECT_EQ(PairOf(json["components"][0]["outZ"]), Complex(100, 0));
    EXPECT_TRUE(json["components"][1]["outZ"].isNull());
    EXPECT_NE(r.out.find("\n100,,,,,\n150,,,,,\n200,,,,,\n"), std::string::npos);
    // Four evaluations, each message once.
    EXPECT_EQ(r.err, "quorbel-cli: default case in plotcomponents type checking\n"
                     "quorbel-cli: problem plotting components\n");
}

TEST(CliProcess, EditsApplyInTheirFixedOrder) {
    // The filter reads nothing the earlier edits set except through the document, so the
    // frequency given after it on the line still counts; MatchMe uses --start and --goal.
    const CliOutcome a = RunCliProcess({"--matchme", "2,highpass", "--goal", "25,0", "--start",
                                        "100,0", "--frequency", "100", "--json"});
    const CliOutcome b = RunCliProcess({"--frequency", "100", "--start", "100,0", "--goal", "25,0",
                                        "--matchme", "2,highpass", "--json"});
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const QJsonObject json = ParseJson(a.out);
    const QJsonArray c = json["components"].toArray();
    ASSERT_EQ(c.size(), 4);
    EXPECT_NEAR(c[0]["inductance"].toDouble(), 159.155, 1e-3);
    EXPECT_NEAR(c[3]["capacitance"].toDouble(), 63.662, 1e-3);

    const CliOutcome f = RunCliProcess(
        {"--filter", "lowpass,100,0.1,4,50,shunt", "--matchme", "1,quarterwave", "--json"});
    ASSERT_EQ(f.status, 0) << f.err;
    // MatchMe first (equal impedances: the example), then the filter replaces its network.
    EXPECT_EQ(f.err, "quorbel-cli: no need to match!!, I'm gonna give you an example instead!!\n"
                     "quorbel-cli: N was not Odd, I've increased the order to the nearest odd "
                     "number\n");
    EXPECT_EQ(ParseJson(f.out)["componentCount"].toInt(), 5);
}

TEST(CliProcess, SweepRowsMatchTheJsonAtEachFrequency) {
    CScratchDir dir;
    const std::string path = Saved(dir, "every.qbl", EveryKindDocument());
    const CliOutcome r = RunCliProcess({path, "--sweep", "500:1500:5"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db");
    const char* frequencies[] = {"500", "750", "1000", "1250", "1500"};
    for (size_t i = 0; i < 5; ++i) {
        const CliOutcome one = RunCliProcess({path, "--frequency", frequencies[i], "--json"});
        const QJsonObject json = ParseJson(one.out);
        const std::vector<std::string> cells = Fields(rows[i + 1]);
        ASSERT_EQ(cells.size(), 6u);
        EXPECT_EQ(cells[0], frequencies[i]);
        EXPECT_EQ(PairOf(json["endZ"]), Complex(std::stod(cells[1]), std::stod(cells[2])));
        EXPECT_EQ(json["vswr"].toDouble(), std::stod(cells[3]));
        EXPECT_EQ(json["mismatchLossDb"].toDouble(), std::stod(cells[5]));
    }
}

} // namespace
