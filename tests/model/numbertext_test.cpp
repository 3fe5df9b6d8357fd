#include "model/fieldrange.h"
#include "model/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>
#include <string>

namespace {

// A typed text as a test name shows it: blanks and bytes outside printable ASCII as \xNN.
void PrintText(const char* text, std::ostream* out) {
    *out << '"';
    for (const char* p = text; *p != 0; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b > 0x20 && b < 0x7F) {
            *out << *p;
        } else {
            *out << CFormat("\\x%02X", b);
        }
    }
    *out << '"';
}

struct ScanCase {
    const char* text;
    bool found;
    double value;
};

void PrintTo(const ScanCase& c, std::ostream* out) {
    PrintText(c.text, out);
}

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
    EXPECT_EQ(ScanNumber(c.text, value), c.found);
    EXPECT_EQ(value, c.found ? c.value : -999.0);
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanNumberTest, ::testing::ValuesIn(kScanCases));

TEST(ScanNumber, NotANumberIsFound) {
    for (const char* text : {"nan", "-NaN", "nan(12)x", "nanq"}) {
        double value = 0.0;
        EXPECT_TRUE(ScanNumber(text, value)) << text;
        EXPECT_TRUE(std::isnan(value)) << text;
    }
}

TEST(ScanNumber, LooksAtTheFirst400CharactersOnly) {
    double value = 0.0;
    EXPECT_TRUE(ScanNumber(std::string(399, ' ') + "5", value));
    EXPECT_EQ(value, 5.0);
    EXPECT_FALSE(ScanNumber(std::string(400, ' ') + "5", value));
    // Digits beyond the 400th character do not count.
    EXPECT_TRUE(ScanNumber(std::string(390, ' ') + "12345678901234", value));
    EXPECT_EQ(value, 1234567890.0);
    int32_t integer = 0;
    EXPECT_TRUE(ScanInteger(std::string(390, ' ') + "12345678901234", integer));
    EXPECT_EQ(integer, 1234567890);
    EXPECT_TRUE(ScanInteger(std::string(395, ' ') + "12345678901234", integer));
    EXPECT_EQ(integer, 12345);
}

struct IntegerCase {
    const char* text;
    bool found;
    int32_t value;
};

void PrintTo(const IntegerCase& c, std::ostream* out) {
    PrintText(c.text, out);
}

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
    EXPECT_EQ(ScanInteger(c.text, value), c.found);
    EXPECT_EQ(value, c.found ? c.value : -999);
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanIntegerTest, ::testing::ValuesIn(kIntegerCases));

struct FormatCase {
    double value;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.text;
}

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
    EXPECT_EQ(FormatG15(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumberTest, ::testing::ValuesIn(kFormatCases));

TEST(FormatNumber, ShownTextReadsBackToTheSameDigits) {
    for (double v : {0.1, 2.5, 47.746482927568597, 1e-9, 123.456789}) {
        double back = 0.0;
        ASSERT_TRUE(ScanNumber(FormatG15(v), back));
        EXPECT_EQ(FormatG15(back), FormatG15(v));
    }
}

std::string Printf(const char* format, double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(NumberText, MatchesTheCLibraryInTheCLocale) {
    const double values[] = {0,       50,     0.1,
                             1e-15,   1e15,   -1e15,
                             1000000, 0.0001, 123.456789012345678,
                             1e20,    99.95,  0.05,
                             -0.25,   2.5e-7, std::numeric_limits<double>::infinity()};
    for (double v : values) {
        EXPECT_EQ(FormatG15(v), Printf("%.15g", v)) << v;
        EXPECT_EQ(FormatFixed(v, 5, 1), Printf("%5.1f", v)) << v;
        EXPECT_EQ(FormatFixed(v, 4, 2), Printf("%4.2f", v)) << v;
        EXPECT_EQ(FormatFixed(v, 3, 2), Printf("%3.2f", v)) << v;
    }
}

TEST(NumberText, ExactTexts) {
    EXPECT_EQ(FormatExact(0.1), "0.10000000000000001");
    EXPECT_EQ(FormatExact(1000), "1000");
    EXPECT_EQ(FormatExact(-0.0), "-0");
    EXPECT_EQ(FormatExact(1e-300), "1e-300");
    EXPECT_EQ(FormatExact(-std::nan("")), "nan");
    EXPECT_EQ(FormatExact(-std::numeric_limits<double>::infinity()), "-inf");
}

// Fixed notation where it stays short, exactly as "%.3f" gave it; the C library's "%.7g"
// elsewhere, which is never long and reads back to within its seven digits.
TEST(NumberText, BoundedTextsAreFixedWhereShort) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{435, "435.000"},    {0, "0.000"},
                 {0.001, "0.001"},    {999999999.25, "999999999.250"},
                 {1e9, "1e+09"},      {0.00099, "0.00099"},
                 {-1e300, "-1e+300"}, {2.5e-6, "2.5e-06"},
                 {kInf, "inf"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatBounded(c.v, 3), c.text) << c.v;
    }
    for (int e = -320; e <= 308; e += 7) {
        const double v = 1.2345678912 * std::pow(10.0, e);
        const std::string text = FormatBounded(v, 3);
        EXPECT_LE(text.size(), 14u) << text;
        if (v >= 1e-3 && v < 1e9) {
            EXPECT_EQ(text, Printf("%.3f", v));
        } else {
            EXPECT_EQ(text, Printf("%.7g", v));
        }
    }
}

TEST(NumberText, WholeTextParsingIsStrict) {
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

TEST(FieldRange, MessagesCarryTheBounds) {
    EXPECT_EQ(RangeMessage(NumberRange{1e-15, 1e15}),
              "Please enter a number between 1e-15 and 1e+15.");
    EXPECT_EQ(RangeMessage(NumberRange{0.0001, 10}),
              "Please enter a number between 0.0001 and 10.");
    EXPECT_EQ(RangeMessage(IntegerRange{3, 15}), "Please enter an integer between 3 and 15.");
    EXPECT_EQ(TextLengthMessage(100), "Please enter no more than 100 characters.");
    EXPECT_FALSE((NumberRange{0, 1}).Contains(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE((NumberRange{0, 1}).Contains(1));
    EXPECT_TRUE((NumberRange{0, 1}).Contains(0));
}

struct FieldCase {
    const char* text;
    const char* message; // nullptr: accepted
    double value;
    bool integer;
};

// What OK makes of a typed field: the number first, then the range.
TEST(FieldRange, ReadingAFieldScansThenChecksTheRange) {
    const FieldCase cases[] = {
        {" 3", nullptr, 3, false},
        {"3.0", nullptr, 3, false},
        {"10x", nullptr, 10, false},
        {"", "Please enter a number.", -1, false},
        {"x3", "Please enter a number.", -1, false},
        {"10.5", "Please enter a number between 0.0001 and 10.", -1, false},
        {"nan", "Please enter a number between 0.0001 and 10.", -1, false},
        {" 3", nullptr, 3, true},
        {"3.0", nullptr, 3, true},
        {"3x", nullptr, 3, true},
        {"", "Please enter an integer.", -1, true},
        {"x", "Please enter an integer.", -1, true},
        {"16", "Please enter an integer between 3 and 15.", -1, true},
        {"99999999999", "Please enter an integer between 3 and 15.", -1, true},
    };
    for (const FieldCase& c : cases) {
        double value = -1;
        int32_t integer = -1;
        const std::optional<std::string> m = c.integer
                                                 ? ReadIntegerField(c.text, {3, 15}, integer)
                                                 : ReadNumberField(c.text, {0.0001, 10}, value);
        EXPECT_EQ(m.value_or("accepted"), c.message != nullptr ? c.message : "accepted") << c.text;
        EXPECT_EQ(c.integer ? integer : value, c.value) << c.text;
    }
}

} // namespace
