#include "cli/clioptions.h"
#include "cli/clitext.h"
#include "cli/wizardexchange.h"
#include "design/filterwizard.h"
#include "design/matchmewizard.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

CliOptions Parsed(const std::vector<std::string>& args) {
    const CliParseResult r = ParseCliOptions(args);
    EXPECT_TRUE(r.options.has_value()) << r.error;
    return r.options.value_or(CliOptions{});
}

TEST(CliOptions, EveryOptionIsTaken) {
    const CliOptions o = Parsed({"--spice",
                                 "doc.qbl",
                                 "--frequency",
                                 "144.5",
                                 "--z0=75",
                                 "--start",
                                 "25,-10",
                                 "--goal",
                                 "+50,1e1",
                                 "--matchme",
                                 "3,QuarterWave",
                                 "--filter",
                                 "highpass,100,0.5,5,50,series",
                                 "--save",
                                 "out.qbl",
                                 "-o",
                                 "chart.SVG",
                                 "--size",
                                 "1024x768",
                                 "--readout",
                                 "--json",
                                 "--sweep",
                                 "100:200:11"});
    EXPECT_EQ(o.document, "doc.qbl");
    EXPECT_EQ(o.frequency, 144.5);
    EXPECT_EQ(o.z0, 75.0);
    EXPECT_EQ(o.startZ, Complex(25, -10));
    EXPECT_EQ(o.goalZ, Complex(50, 10));
    ASSERT_TRUE(o.matchMe);
    EXPECT_EQ(o.matchMe->sections, "3");
    EXPECT_EQ(o.matchMe->topology, TOPO_QUARTER_WAVE);
    ASSERT_TRUE(o.filter);
    EXPECT_EQ(o.filter->filterType, FILTER_HIGHPASS);
    EXPECT_EQ(o.filter->firstElement, FIRST_SERIES);
    EXPECT_EQ(o.filter->ripple, "0.5");
    EXPECT_EQ(o.savePath, "out.qbl");
    EXPECT_EQ(o.outputPath, "chart.SVG");
    EXPECT_EQ(o.outputFormat, PictureFormat::Svg);
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 768);
    EXPECT_TRUE(o.readout && o.json && o.spice);
    ASSERT_TRUE(o.sweep);
    EXPECT_EQ(o.sweep->points, 11);
    EXPECT_EQ(o.sweep->last, 200.0);
}

TEST(CliOptions, DefaultsAndDocumentsAfterTheEndOfOptions) {
    const CliOptions o = Parsed({"--", "--odd-name.qbl"});
    EXPECT_EQ(o.document, "--odd-name.qbl");
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 400);
    EXPECT_FALSE(o.frequency || o.matchMe || o.savePath || o.sweep || o.json);
    EXPECT_EQ(Parsed({"-o", "x.pdf"}).outputFormat, PictureFormat::Pdf);
    EXPECT_EQ(Parsed({"--output=dir.v2/x.png"}).outputFormat, PictureFormat::Png);
    EXPECT_FALSE(ParseCliOptions({"-o", "dir.png/x"}).options);
}

TEST(WizardExchange, TypedFieldsAreReadAsTheDialogsReadThem) {
    SmithChrt doc;
    for (const char* sections : {"3", " 3", "3.0", "3x"}) {
        MatchMeInput in;
        EXPECT_EQ(ExchangeMatchMe({sections, TOPO_HIGHPASS}, doc, in), std::nullopt) << sections;
        EXPECT_EQ(in.sectionCount, 3) << sections;
        EXPECT_EQ(in.topology, TOPO_HIGHPASS);
    }
    FilterInput in;
    EXPECT_EQ(
        ExchangeFilter({FILTER_HIGHPASS, " 100MHz", "0.5dB", "5.0", "75 ohm", FIRST_SERIES}, in),
        std::nullopt);
    EXPECT_EQ(in.cutoffMHz, 100.0);
    EXPECT_EQ(in.rippleDb, 0.5);
    EXPECT_EQ(in.order, 5);
    EXPECT_EQ(in.ro, 75.0);
    // The first field that fails, unreadable or out of range, gives its message.
    EXPECT_EQ(ExchangeFilter({FILTER_LOWPASS, "x", "0", "3", "50", FIRST_SHUNT}, in),
              (FieldError{FILTER_FIELD_CUTOFF, "Please enter a number."}));
    EXPECT_EQ(ExchangeFilter({FILTER_LOWPASS, "100", "0", "x", "50", FIRST_SHUNT}, in),
              (FieldError{FILTER_FIELD_RIPPLE, "Please enter a number between 0.0001 and 10."}));
}

TEST(CliText, JsonTexts) {
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "\"inf\"");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "\"-inf\"");
    EXPECT_EQ(JsonNumber(-std::nan("")), "\"nan\"");
    EXPECT_EQ(JsonString("a\"b\\c\n\x01\xff"), "\"a\\\"b\\\\c\\n\\u0001\xEF\xBF\xBD\"");
}

} // namespace
