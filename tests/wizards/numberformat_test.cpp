#include "fieldrange.h"
#include "numberformat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace {

std::string Printf(const char* format, double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(NumberFormat, MatchesTheCLibraryInTheCLocale) {
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

TEST(FieldRange, MessagesCarryTheBounds) {
    EXPECT_EQ(RangeMessage(NumberRange{1e-15, 1e15}),
              "Please enter a number between 1e-15 and 1e+15.");
    EXPECT_EQ(RangeMessage(NumberRange{0.0001, 10}),
              "Please enter a number between 0.0001 and 10.");
    EXPECT_EQ(RangeMessage(IntegerRange{3, 15}), "Please enter an integer between 3 and 15.");
    EXPECT_FALSE((NumberRange{0, 1}).Contains(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE((NumberRange{0, 1}).Contains(1));
    EXPECT_TRUE((NumberRange{0, 1}).Contains(0));
}

} // namespace
