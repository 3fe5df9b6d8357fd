#include "clinumbers.h"
#include "clioptions.h"
#include "filterwizard.h"
#include "matchmewizard.h"

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
    EXPECT_EQ(o.sweep->stopMHz, 200.0);
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

TEST(CliNumbers, ParsingIsStrict) {
    EXPECT_EQ(ParseNumber("1e3"), 1000.0);
    EXPECT_EQ(ParseNumber("+.5"), 0.5);
    EXPECT_EQ(ParseNumber("-2"), -2.0);
    for (const char* bad : {"", " 1", "1 ", "1,5", "0x10", "+-1", "12abc", "1e999"}) {
        EXPECT_FALSE(ParseNumber(bad)) << bad;
    }
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_FALSE(ParseInteger("7.0"));
    EXPECT_FALSE(ParseInteger("99999999999999999999"));
}

TEST(CliNumbers, ExactTextsInEveryLocale) {
    EXPECT_EQ(FormatExact(0.1), "0.10000000000000001");
    EXPECT_EQ(FormatExact(1000), "1000");
    EXPECT_EQ(FormatExact(-0.0), "-0");
    EXPECT_EQ(FormatExact(1e-300), "1e-300");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "\"inf\"");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "\"-inf\"");
    EXPECT_EQ(JsonNumber(-std::nan("")), "\"nan\"");
    EXPECT_EQ(JsonString("a\"b\\c\n\x01\xff"), "\"a\\\"b\\\\c\\n\\u0001\xEF\xBF\xBD\"");
}

} // namespace
