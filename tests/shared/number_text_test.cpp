#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "shared/number_text.h"

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

// Numbers that are exactly halfway between two printed values: w + (2k+1)/2^(P+1)
// are the only ones for "%.Pf". printf rounds them to the even last digit.
TEST(AppendFixed, HalfwayValuesGoToTheEvenDigit) {
    EXPECT_EQ("2", Fixed(2.5, 0, 0));
    EXPECT_EQ("4", Fixed(3.5, 0, 0));
    EXPECT_EQ("-4", Fixed(-3.5, 0, 0));
    EXPECT_EQ("0.2", Fixed(0.25, 0, 1));
    EXPECT_EQ("0.062", Fixed(0.0625, 0, 3));
    EXPECT_EQ("0.188", Fixed(0.1875, 0, 3));
    for (int precision = 0; precision <= 17; ++precision) {
        for (double whole : {0.0, 1.0, 2.0, 7.0, 600000.0, 6861633.0, 123456789.0}) {
            for (long long k = 0; k < 40; ++k) {
                const double fraction =
                    std::ldexp(static_cast<double>(2 * k + 1), -(precision + 1));
                if (fraction >= 1) break;
                for (double sign : {1.0, -1.0}) {
                    const double value = sign * (whole + fraction);
                    if (value - sign * whole != sign * fraction) continue;  // not exact: no tie
                    ASSERT_EQ(Printf(value, 12, precision), Fixed(value, 12, precision))
                        << value << " %." << precision << "f";
                }
            }
        }
    }
}

// The doubles nearest to a printed value's halfway point, and their
// neighbours: where the scaled number's fraction lies within a few units of
// the last place of one half, the rounding cannot be read from the
// floating-point product and the exact product decides.
TEST(AppendFixed, NearlyHalfwayValuesAsPrintf) {
    std::mt19937_64 random(7);
    for (int precision = 0; precision <= 17; ++precision) {
        const double scale = std::pow(10.0, precision);
        for (int i = 0; i < 4000; ++i) {
            // Printed values from 0.001 to 1e9 and from 1e9 to 4e15 units.
            const double units = i % 2 ? std::ldexp(1.0, static_cast<int>(random() % 30))
                                       : std::ldexp(1.0, 30 + static_cast<int>(random() % 22));
            const double whole = std::floor(units * static_cast<double>(random() % 1000) / 1000);
            double value = (whole + 0.5) / scale;
            for (int step = 0; step < 3; ++step) value = std::nextafter(value, 0.0);
            for (int step = 0; step < 7; ++step) {
                ASSERT_EQ(Printf(value, 12, precision), Fixed(value, 12, precision))
                    << std::hexfloat << value << " %." << precision << "f";
                ASSERT_EQ(Printf(-value, 12, precision), Fixed(-value, 12, precision))
                    << std::hexfloat << -value << " %." << precision << "f";
                value = std::nextafter(value, 1e300);
            }
        }
    }
}

TEST(AppendFixed, CarriesLargeNegativeTinyAndSpecialValues) {
    const double special[] = {0.0,
                              -0.0,
                              0.9995,
                              0.99949999999999994,
                              9.9995,
                              999999.9995,
                              -999999.9996,
                              0.0004999,
                              -0.0005,
                              1e-300,
                              -5e-324,
                              2.2250738585072014e-308,
                              4503599627370495.5,
                              9007199254740991.0,
                              9007199254740992.0,  // from here on, the general path
                              -9007199254740994.0,
                              1.8446744073709552e19,
                              1e22,
                              -1.7976931348623157e308,
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(),
                              -std::numeric_limits<double>::quiet_NaN()};
    for (double value : special)
        for (int precision = 0; precision <= 20; ++precision)
            for (int width : {0, 8, 13})
                ASSERT_EQ(Printf(value, width, precision), Fixed(value, width, precision))
                    << value << " %" << width << "." << precision << "f";
}

TEST(AppendFixed, AnyBitPatternAsPrintf) {
    // Doubles of every magnitude from their bits: most are far outside the
    // coordinates, some are subnormal, infinite or NaN.
    std::mt19937_64 random(2024);
    for (int i = 0; i < 300000; ++i) {
        double value;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        // Keep the magnitudes of coordinates and angles most of the time.
        if (i % 4 != 0 && std::isfinite(value)) {
            int exponent = 0;
            const double mantissa = std::frexp(value, &exponent);
            value = std::ldexp(mantissa, static_cast<int>(random() % 90) - 40);
        }
        const int precision = static_cast<int>(random() % 19);
        ASSERT_EQ(Printf(value, 12, precision), Fixed(value, 12, precision))
            << value << " %." << precision << "f";
    }
}

TEST(ScanDecimal, ManyDigitsAndExponentsLikeStrtod) {
    std::mt19937_64 random(99);
    for (int i = 0; i < 300000; ++i) {
        std::string text;
        if (random() % 8 == 0) text += random() % 2 ? '-' : '+';
        const int whole = static_cast<int>(random() % 12);
        const int decimals = static_cast<int>(random() % 16);
        for (int d = 0; d < whole; ++d) text += static_cast<char>('0' + random() % 10);
        if (decimals > 0 || random() % 4 == 0) text += '.';
        for (int d = 0; d < decimals; ++d) text += static_cast<char>('0' + random() % 10);
        if (whole == 0 && decimals == 0) text += '0';
        if (random() % 5 == 0) {
            text += random() % 2 ? 'e' : 'E';
            if (random() % 2) text += random() % 2 ? '-' : '+';
            text += std::to_string(random() % 40);
        }
        double value = 0;
        ASSERT_EQ(text.size(), ScanDecimal(text, value)) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(0, std::memcmp(&expected, &value, sizeof value)) << text;
    }
    // At the edges of the exact products: 2^53 and 10^22, and beyond them.
    for (const char* text :
         {"9007199254740992", "9007199254740993", "9007199254740991.5", "1e22", "1e23",
          "123456789e-22", "123456789e-23", "4.9e-324", "0.000000000000000000000000000001", "-0",
          "-0.0e5", "12345678901234567890", "1234567890.1234567890123"}) {
        double value = 0;
        ASSERT_GT(ScanDecimal(text, value), 0u) << text;
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(0, std::memcmp(&expected, &value, sizeof value)) << text;
    }
}
