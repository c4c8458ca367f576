#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "runs/number_text.h"

namespace {

std::string Fixed(double value, int width, int precision) {
    std::string out;
    AppendFixed(out, value, width, precision);
    return out;
}

std::string Printf(double value, int width, int precision) {
    char text[512];
    std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
    return text;
}

double Scan(const char* text, std::size_t expectedUsed) {
    double value = -12345;
    EXPECT_EQ(expectedUsed, ScanDecimal(text, value)) << text;
    return value;
}

}  // namespace

TEST(ScanDecimal, DecimalNotations) {
    EXPECT_EQ(12.5, Scan("12.5", 4));
    EXPECT_EQ(-0.5, Scan("-.5", 3));
    EXPECT_EQ(5.0, Scan("+5.", 3));
    EXPECT_EQ(1500.0, Scan("  \t1.5e+3 rest", 9));
    EXPECT_EQ(1.0, Scan("1e", 1));  // an exponent needs digits
    EXPECT_EQ(1.0, Scan("1E-x", 1));
    EXPECT_EQ(12.5, Scan("00012.5", 7));
    EXPECT_EQ(1.5, Scan("1.5.3", 3));  // the second point starts the next number
    EXPECT_EQ(7.0, Scan("7-2", 1));
}

TEST(ScanDecimal, NotANumber) {
    for (const char* text : {"", "   ", ".", "-", "+.", "e5", "abc", "nan", "inf", "*12"}) {
        double value = 99;
        EXPECT_EQ(0u, ScanDecimal(text, value)) << text;
        EXPECT_EQ(99, value) << text;
    }
    double value = 0;
    EXPECT_EQ(0u, ScanDecimal("1e400", value));  // does not fit in a double
}

TEST(ScanDecimal, CorrectlyRoundedLikeStrtod) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(-1e7, 1e7);
    for (int i = 0; i < 20000; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", 1 + i % 12, spread(random));
        double value = 0;
        ASSERT_GT(ScanDecimal(text, value), 0u);
        ASSERT_EQ(std::strtod(text, nullptr), value) << text;
    }
}

TEST(AppendFixed, WritesWhatPrintfWrites) {
    EXPECT_EQ("  600000.000", Fixed(600000, 12, 3));
    EXPECT_EQ("   -0.000", Fixed(-0.0004, 9, 3));
    EXPECT_EQ("0.12", Fixed(0.125, 0, 2));                        // ties to even, as printf
    EXPECT_EQ("123456789012.500", Fixed(123456789012.5, 12, 3));  // wider than the field
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> spread(-1e7, 1e7);
    for (int i = 0; i < 20000; ++i) {
        const double value =
            i % 2 ? spread(random) : std::ldexp(std::round(spread(random)), -(i % 13));
        const int precision = 1 + i % 12;
        ASSERT_EQ(Printf(value, 13, precision), Fixed(value, 13, precision)) << value;
    }
}

TEST(AppendInteger, Decimal) {
    std::string out = "n=";
    AppendInteger(out, -2026);
    EXPECT_EQ("n=-2026", out);
}
