#include "dialognumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ScanCase {
    const char* text;
    bool found;
    double value;
};

class ScanNumberTest : public ::testing::TestWithParam<ScanCase> {};

// What the C library's scanf "%lf" makes of each text.
constexpr double kInf = std::numeric_limits<double>::infinity();
const ScanCase kScanCases[] = {
    {"50", true, 50.0},
    {"  12abc", true, 12.0},
    {"\t\n 7", true, 7.0},
    {"-2.5e3x", true, -2500.0},
    {"+.5", true, 0.5},
    {".5.", true, 0.5},
    {"1e", true, 1.0},
    {"1e+", true, 1.0},
    {"5e-x", true, 5.0},
    {"1,5", true, 1.0},
    {"0x10", true, 16.0},
    {"0x1.8p1", true, 3.0},
    {"0x1P+3", true, 8.0},
    {"0x1p", true, 1.0},
    {"0x.p1", true, 0.0},
    {"inf", true, kInf},
    {"-Infinity", true, -kInf},
    {"infx", true, kInf},
    {"1e400", true, kInf},
    {"", false, 0.0},
    {"   ", false, 0.0},
    {"abc", false, 0.0},
    {"-", false, 0.0},
    {".", false, 0.0},
    {"-.e5", false, 0.0},
    {"0x", false, 0.0},
    {"0xg", false, 0.0},
    {"in", false, 0.0},
    {"\xc2\xa0"
     "5",
     false, 0.0}, // a no-break space is not a C blank
};

TEST_P(ScanNumberTest, ReadsLikeScanf) {
    const ScanCase& c = GetParam();
    double value = -999.0;
    EXPECT_EQ(ScanDialogNumber(QString::fromUtf8(c.text), value), c.found);
    EXPECT_EQ(value, c.found ? c.value : -999.0);
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanNumberTest, ::testing::ValuesIn(kScanCases));

TEST(ScanNumber, NotANumberIsFound) {
    for (const char* text : {"nan", "-NaN", "nan(12)x", "nanq"}) {
        double value = 0.0;
        EXPECT_TRUE(ScanDialogNumber(text, value)) << text;
        EXPECT_TRUE(std::isnan(value)) << text;
    }
}

TEST(ScanNumber, LooksAtTheFirst400CharactersOnly) {
    double value = 0.0;
    EXPECT_TRUE(ScanDialogNumber(QString(399, u' ') + "5", value));
    EXPECT_EQ(value, 5.0);
    EXPECT_FALSE(ScanDialogNumber(QString(400, u' ') + "5", value));
    // Digits beyond the 400th character do not count.
    EXPECT_TRUE(ScanDialogNumber(QString(390, u' ') + "12345678901234", value));
    EXPECT_EQ(value, 1234567890.0);
    int32_t integer = 0;
    EXPECT_TRUE(ScanDialogInteger(QString(390, u' ') + "12345678901234", integer));
    EXPECT_EQ(integer, 1234567890);
    EXPECT_TRUE(ScanDialogInteger(QString(395, u' ') + "12345678901234", integer));
    EXPECT_EQ(integer, 12345);
}

struct IntegerCase {
    const char* text;
    bool found;
    int32_t value;
};

class ScanIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

const IntegerCase kIntegerCases[] = {
    {"3", true, 3},
    {"  -12xyz", true, -12},
    {"+7", true, 7},
    {"3.7", true, 3},
    {"0x10", true, 0},
    {"1e3", true, 1},
    {"2147483647", true, 2147483647},
    {"-2147483648", true, -2147483647 - 1},
    {"99999999999999999999", true, 2147483647},
    {"-99999999999999999999", true, -2147483647 - 1},
    {"", false, 0},
    {"abc", false, 0},
    {"-", false, 0},
    {"+ 5", false, 0},
    {".5", false, 0},
};

TEST_P(ScanIntegerTest, ReadsLikeScanf) {
    const IntegerCase& c = GetParam();
    int32_t value = -999;
    EXPECT_EQ(ScanDialogInteger(QString::fromUtf8(c.text), value), c.found);
    EXPECT_EQ(value, c.found ? c.value : -999);
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanIntegerTest, ::testing::ValuesIn(kIntegerCases));

struct FormatCase {
    double value;
    const char* text;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

const FormatCase kFormatCases[] = {
    {50.0, "50"},
    {0.1, "0.1"},
    {0.65, "0.65"},
    {1000000.0, "1000000"},
    {1e-15, "1e-15"},
    {1e15, "1e+15"},
    {1e20, "1e+20"},
    {-180.01, "-180.01"},
    {123456789012345.0, "123456789012345"},
    {1234567890123456.0, "1.23456789012346e+15"},
    {0.0001, "0.0001"},
    {0.00001, "1e-05"},
    {1.0 / 3.0, "0.333333333333333"},
    {2.0 / 3.0, "0.666666666666667"},
    {-0.0, "-0"},
    {kInf, "inf"},
};

TEST_P(FormatNumberTest, PrintsLikePrintfG15) {
    EXPECT_EQ(FormatDialogNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumberTest, ::testing::ValuesIn(kFormatCases));

TEST(FormatNumber, ShownTextReadsBackToTheSameDigits) {
    for (double v : {0.1, 2.5, 47.746482927568597, 1e-9, 123.456789}) {
        double back = 0.0;
        ASSERT_TRUE(ScanDialogNumber(FormatDialogNumber(v), back));
        EXPECT_EQ(FormatDialogNumber(back), FormatDialogNumber(v));
    }
}

TEST(FormatInteger, PlainDecimal) {
    EXPECT_EQ(FormatDialogInteger(10), "10");
    EXPECT_EQ(FormatDialogInteger(-3), "-3");
}

} // namespace
