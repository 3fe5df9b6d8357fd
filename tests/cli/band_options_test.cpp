// The band options of the command line: --band, --band-off and --plot as parsed and applied,
// the JSON's band and the swept netlist.
#include "cli/cliedits.h"
#include "cli/clioptions.h"
#include "cli/networkevaluation.h"
#include "cli/networkjson.h"
#include "cli/spicenetlist.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct BandCase {
    std::vector<std::string> args;
    std::string error; // empty: accepted
};

TEST(BandOptions, ParsedAndCheckedAsTheBandTakesThem) {
    const std::vector<BandCase> cases = {
        {{"--band", "400:470:201"}, ""},
        {{"--band=1e-9:1e9:2"}, ""},
        {{"--band", "400:470:10001"}, ""},
        {{"--band", "400:470"}, "--band: expected F1:F2:N, got '400:470'"},
        {{"--band", "a:470:5"}, "--band: F1 and F2 must be numbers in MHz"},
        {{"--band", "400:470:5.5"}, "--band: N must be a whole number"},
        {{"--band", "470:400:5"}, "--band: The band's high frequency must be above its low"},
        {{"--band", "400:400:5"}, "above its low"},
        {{"--band", "0:470:5"}, "--band: The band's low frequency must be above 0 MHz."},
        {{"--band", "-5:470:5"}, "above 0 MHz"},
        {{"--band", "nan:470:5"}, "must be finite numbers"},
        {{"--band", "400:inf:5"}, "must be finite numbers"},
        {{"--band", "400:470:1"}, "The band needs from 2 to 10001 points."},
        {{"--band", "400:470:10002"}, "from 2 to 10001 points"},
        {{"--band", "400:470:99999999999999999999"}, "N must be a whole number"},
        {{"--band", "400:470:5", "--band-off"}, "--band and --band-off cannot be given together"},
        {{"--band-off=1"}, "option '--band-off' takes no value"},
        {{"--plot", "plot.bmp"}, "--plot: the file name must end in .png, .svg or .pdf"},
    };
    for (const BandCase& c : cases) {
        const CliParseResult r = ParseCliOptions(c.args);
        if (c.error.empty()) {
            EXPECT_TRUE(r.options) << c.args[0] << " " << r.error;
        } else {
            EXPECT_FALSE(r.options) << c.args.back();
            EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
        }
    }
    const CliOptions o = *ParseCliOptions({"--plot", "p.SVG", "--band", "400:470:201"}).options;
    EXPECT_EQ(o.plotPath, "p.SVG");
    EXPECT_EQ(o.plotFormat, PictureFormat::Svg);
    ASSERT_TRUE(o.band);
    EXPECT_EQ(o.band->points, 201);
}

TEST(BandOptions, BandIsSetAfterTheFrequencyAndOffReturnsTheDefaults) {
    SmithChrt doc;
    doc.ResetForNewDocument();
    MessageCollector messages;
    CliOptions o = *ParseCliOptions({"--band", "400:470:21", "--frequency", "435"}).options;
    ASSERT_TRUE(ApplyCliEdits(o, doc, messages));
    EXPECT_EQ(doc.band, (BandSettings{400, 470, 21, true, false}));
    EXPECT_EQ(doc.frequency, 435.0);
    doc.band.junctionLoci = true;
    o = *ParseCliOptions({"--band-off"}).options;
    ASSERT_TRUE(ApplyCliEdits(o, doc, messages));
    EXPECT_EQ(doc.band, BandSettings{});
}

QJsonObject BandOf(const SmithChrt& doc) {
    SmithChrt copy = doc;
    const std::string text = NetworkJson(doc, EvaluateNetwork(copy), 0);
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(text));
    EXPECT_TRUE(json.isObject()) << text;
    return json.object()["band"].toObject();
}

TEST(BandJson, NullWhileOffElseTheEvaluationPointByPoint) {
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.frequency = 435;
    doc.startZ = {12.5, -8};
    doc.AddComponent(NewInductor(PLACE_SERIES, 20, 435));
    doc.AddComponent(NewCapacitor(PLACE_SHUNT, 40, 435));
    doc.band = {400, 470, 5, false, false};
    SmithChrt copy = doc;
    const std::string off = NetworkJson(doc, EvaluateNetwork(copy), 0);
    EXPECT_NE(off.find("\n  \"band\": null,\n  \"device\": null\n}\n"), std::string::npos) << off;

    doc.band.display = true;
    const QJsonObject band = BandOf(doc);
    const BandResult r = EvaluateBand(doc);
    EXPECT_EQ(band["low"].toDouble(), 400.0);
    EXPECT_EQ(band["high"].toDouble(), 470.0);
    EXPECT_EQ(band["points"].toInt(), 5);
    for (const char* key : {"frequencies", "endZ", "vswr", "returnLossDb", "mismatchLossDb"}) {
        EXPECT_EQ(band[key].toArray().size(), 5) << key;
    }
    for (qsizetype k = 0; k < 5; ++k) {
        const size_t i = static_cast<size_t>(k);
        EXPECT_EQ(band["frequencies"][k].toDouble(), r.frequencies[i]);
        EXPECT_EQ(band["endZ"][k][0].toDouble(), r.endZ[i].re);
        EXPECT_EQ(band["endZ"][k][1].toDouble(), r.endZ[i].im);
        EXPECT_EQ(band["vswr"][k].toDouble(), r.vswr[i]);
        EXPECT_EQ(band["returnLossDb"][k].toDouble(), r.returnLossDb[i]);
        EXPECT_EQ(band["mismatchLossDb"][k].toDouble(), r.mismatchLossDb[i]);
    }
    EXPECT_EQ(band["worstVswr"].toDouble(), r.worstVswr);
    EXPECT_EQ(band["worstFrequency"].toDouble(), r.worstFrequency);

    // An unknown kind leaves every value NaN, written as the JSON writes NaN.
    doc.components[0].kind = 99;
    const QJsonObject bad = BandOf(doc);
    EXPECT_EQ(bad["worstVswr"].toString(), "nan");
    EXPECT_EQ(bad["endZ"][0][0].toString(), "nan");
}

TEST(BandNetlist, SweepsTheBandInHertz) {
    SmithChrt doc;
    doc.ResetForNewDocument();
    doc.startZ = {12.5, -8};
    doc.AddComponent(NewLine(PLACE_TL_SERIES, 50, 1000));
    doc.components[0].lineAngle = 90;
    doc.band = {400, 470, 8, true, false};
    const SpiceNetlist n = WriteSpiceNetlist(doc);
    ASSERT_EQ(n.error, "");
    EXPECT_NE(n.text.find("\n* band from 400 to 470 MHz in 8 points;"), std::string::npos);
    EXPECT_NE(n.text.find("\nLstart n1 0 L={-8/(2*pi*hertz)}\n"), std::string::npos) << n.text;
    // A 90 degree line at 1000 MHz: a quarter period of 1 GHz, whatever the band.
    EXPECT_NE(n.text.find("\nT1 gen 0 load 0 Z0=50 TD=2.5000000000000002e-10\n"), std::string::npos)
        << n.text;
    EXPECT_NE(n.text.find("\n.ac lin 8 400000000 470000000\n"), std::string::npos) << n.text;
    doc.band.points = 2;
    EXPECT_NE(WriteSpiceNetlist(doc).text.find(
                  "\n.ac lin 1 400000000 400000000\n.ac lin 1 470000000 470000000\n"),
              std::string::npos);
    doc.band.points = 8;

    // Lines of no length connect; a negative length has no delay to sweep.
    doc.components[0].lineAngle = 0;
    EXPECT_NE(WriteSpiceNetlist(doc).text.find("\nV1 gen load 0\n"), std::string::npos);
    doc.components[0].lineAngle = -90;
    EXPECT_EQ(WriteSpiceNetlist(doc).error,
              "component 1: a line of negative electrical length cannot be swept across a band");
    doc.band.display = false;
    EXPECT_NE(WriteSpiceNetlist(doc).text.find("\n.ac lin 1 1000000000 1000000000\n"),
              std::string::npos);
}

} // namespace
