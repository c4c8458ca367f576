#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "geodesy/angle.h"

namespace {

const int kUnits[] = {Radian,       DecimalDegree, Grade,     DecimalHour, SecondOfDegree,
                      SecondOfHour, PackedDms,     PackedHms, PackedDm};

// Difference of two angles given in `unit`, in seconds of arc.
double ArcSecondsBetween(double a, double b, int unit) {
    return std::fabs(ConvertAngle(a, unit, DecimalDegree) - ConvertAngle(b, unit, DecimalDegree)) *
           3600.0;
}

// Angles in decimal degrees over the whole range, negatives included, and
// values just beside whole minutes and seconds of arc and of time.
std::vector<double> SampleDegrees() {
    std::vector<double> values;
    for (double d = -720.0; d <= 720.0; d += 7.3193) values.push_back(d);
    const double offsets[] = {0, 1e-12, -1e-12, 1e-9, -1e-9, 3e-7, -3e-7, 1e-4, -1e-4};
    for (double whole : {0.0, 1.0, 44.0, 45.0, 179.0, 359.0}) {
        for (int minutes : {0, 1, 29, 30, 59}) {
            for (double seconds : {0.0, 15.25, 59.0, 59.6}) {
                for (double off : offsets) {  // offset in seconds of arc
                    const double d = whole + minutes / 60.0 + (seconds + off) / 3600.0;
                    values.push_back(d);
                    values.push_back(-d);
                    // The same reading taken as hours, in degrees:
                    // near whole minutes and seconds of time.
                    values.push_back(15.0 * d);
                }
            }
        }
    }
    return values;
}

}  // namespace

TEST(ConvertAngle, RoundTripsEveryUnitPairWithinAMicroArcSecond) {
    const std::vector<double> degrees = SampleDegrees();
    double worst = 0;
    for (int from : kUnits) {
        for (int to : kUnits) {
            for (double d : degrees) {
                const double value = ConvertAngle(d, DecimalDegree, from);
                // The value expressed in `from` is the same angle as d.
                ASSERT_LT(std::fabs(ConvertAngle(value, from, DecimalDegree) - d) * 3600.0, 1e-6)
                    << "degrees " << d << " in unit " << from;
                const double there = ConvertAngle(value, from, to);
                const double back = ConvertAngle(there, to, from);
                const double error = ArcSecondsBetween(value, back, from);
                worst = std::max(worst, error);
                ASSERT_LT(error, 1e-6) << "degrees " << d << " units " << from << " -> " << to;
            }
        }
    }
    EXPECT_LT(worst, 1e-6);
}

TEST(ConvertAngle, NearWholeMinutesOfTimeStayWithinAMicroArcSecond) {
    // 22.5 degrees is 1 h 30 min; a few millionths of an arc second beside it.
    for (double off : {1e-9, -1e-9, 2.4e-9, -2.4e-9, 5e-10}) {
        const double d = 22.5 + off;
        const double hms = ConvertAngle(d, DecimalDegree, PackedHms);
        EXPECT_LT(std::fabs(ConvertAngle(hms, PackedHms, DecimalDegree) - d) * 3600.0, 1e-6) << off;
    }
}

TEST(ConvertAngle, ZeroAndSameUnitPassUnchanged) {
    for (int from : kUnits) {
        for (int to : kUnits) EXPECT_EQ(0.0, ConvertAngle(0.0, from, to));
        // 45.7 is not a well-formed packed value: the same unit must not touch it.
        EXPECT_EQ(45.7, ConvertAngle(45.7, from, from));
        EXPECT_EQ(-123.456789, ConvertAngle(-123.456789, from, from));
    }
}

TEST(ConvertAngle, KnownValues) {
    EXPECT_DOUBLE_EQ(90.0, ConvertAngle(100.0, Grade, DecimalDegree));
    EXPECT_DOUBLE_EQ(kPi / 2, ConvertAngle(90.0, DecimalDegree, Radian));
    EXPECT_DOUBLE_EQ(15.0, ConvertAngle(1.0, DecimalHour, DecimalDegree));
    EXPECT_DOUBLE_EQ(3600.0, ConvertAngle(1.0, DecimalDegree, SecondOfDegree));
    EXPECT_DOUBLE_EQ(240.0, ConvertAngle(1.0, DecimalDegree, SecondOfHour));
    EXPECT_DOUBLE_EQ(22.5, ConvertAngle(1.3, PackedHms, DecimalDegree));
    EXPECT_DOUBLE_EQ(45.0 + 30.5 / 60, ConvertAngle(45.305, PackedDm, DecimalDegree));
    EXPECT_DOUBLE_EQ(45.0 + 30.0 / 60 + 15.25 / 3600,
                     ConvertAngle(45.301525, PackedDms, DecimalDegree));
    // Radians multiply first: 1 rad is 180/pi degrees to the last bit.
    EXPECT_EQ(1.0 * 180.0 / kPi, ConvertAngle(1.0, Radian, DecimalDegree));
}

TEST(ConvertAngle, UnassignedCodesBehaveAsDecimalDegrees) {
    for (int odd : {0, 7, 8, 9, 13, -1, 1000}) {
        EXPECT_DOUBLE_EQ(kPi / 4, ConvertAngle(45.0, odd, Radian)) << odd;
        EXPECT_DOUBLE_EQ(50.0, ConvertAngle(45.0, odd, Grade)) << odd;
        EXPECT_DOUBLE_EQ(45.0, ConvertAngle(kPi / 4, Radian, odd)) << odd;
        EXPECT_DOUBLE_EQ(12.5, ConvertAngle(12.5, odd, DecimalDegree)) << odd;
    }
}

TEST(PackedDms, BorrowRepairAndCarries) {
    // 44.9999 reads as 44 degrees 99 minutes 99 seconds: both repaired to 59.
    EXPECT_DOUBLE_EQ(44.0 + 59.0 / 60 + 59.0 / 3600, PackedDmsToDegrees(44.9999));
    // 60 seconds carry into the minutes.
    EXPECT_DOUBLE_EQ(45.0 + 31.0 / 60, PackedDmsToDegrees(45.3060));
    // 59.6 seconds stay below 60: nothing carries.
    EXPECT_DOUBLE_EQ(45.0 + 59.0 / 60 + 59.6 / 3600, PackedDmsToDegrees(45.59596));
    // 60 minutes carry into the degrees.
    const DmsParts p = SplitPackedDms(-12.60);
    EXPECT_TRUE(p.negative);
    EXPECT_EQ(13, p.degrees);
    EXPECT_EQ(0, p.minutes);
    EXPECT_DOUBLE_EQ(0.0, p.seconds);
}

TEST(PackedDms, SplitReadsTheDigitsAsWritten) {
    const DmsParts p = SplitPackedDms(45.301525);
    EXPECT_FALSE(p.negative);
    EXPECT_EQ(45, p.degrees);
    EXPECT_EQ(30, p.minutes);
    EXPECT_NEAR(15.25, p.seconds, 1e-9);
    EXPECT_DOUBLE_EQ(45.301525, JoinPackedDms(p));

    // Seconds a hair under a whole second snap onto it.
    const DmsParts q = SplitPackedDms(-2.1059999999999);
    EXPECT_TRUE(q.negative);
    EXPECT_EQ(2, q.degrees);
    EXPECT_EQ(11, q.minutes);
    EXPECT_DOUBLE_EQ(0.0, q.seconds);
    EXPECT_DOUBLE_EQ(-2.11, JoinPackedDms(q));
}

TEST(PackedDms, DegreesToPackedSnapsMinutesAndSigns) {
    EXPECT_DOUBLE_EQ(-0.3, DegreesToPackedDms(-0.5));
    EXPECT_DOUBLE_EQ(-0.3, DegreesToPackedDm(-0.5));
    EXPECT_DOUBLE_EQ(45.3, DegreesToPackedDms(45.5 - 1e-12));
    EXPECT_NEAR(45.301525, DegreesToPackedDms(45.0 + 0.5 + 15.25 / 3600), 1e-12);
    EXPECT_DOUBLE_EQ(45.305, DegreesToPackedDm(45.0 + 30.5 / 60));
}

TEST(PackedDm, SplitRepairsAndCarries) {
    DmParts p = SplitPackedDm(45.305);
    EXPECT_EQ(45, p.degrees);
    EXPECT_NEAR(30.5, p.minutes, 1e-9);
    p = SplitPackedDm(-10.995);  // 99.5 minutes: borrow repaired to 59.5
    EXPECT_TRUE(p.negative);
    EXPECT_EQ(10, p.degrees);
    EXPECT_NEAR(59.5, p.minutes, 1e-9);
    p = SplitPackedDm(10.6025);  // 60.25 minutes carry one degree
    EXPECT_EQ(11, p.degrees);
    EXPECT_NEAR(0.25, p.minutes, 1e-9);
    EXPECT_DOUBLE_EQ(-10.595, JoinPackedDm(DmParts{true, 10, 59.5}));
}

TEST(PackedDms, ValuesOutsideThePackedLayoutAreSafe) {
    const double big[] = {10000.0,
                          12345.301525,
                          -99999.5959,
                          1e9,
                          -3e15,
                          1e300,
                          -1.7976931348623157e308,
                          std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
    for (double v : big) {
        const DmsParts p = SplitPackedDms(v);
        EXPECT_GE(p.degrees, 0);
        EXPECT_GE(p.minutes, 0);
        EXPECT_LT(p.minutes, 60);
        const DmParts q = SplitPackedDm(v);
        EXPECT_GE(q.degrees, 0);
        (void)ConvertAngle(v, PackedDms, Radian);
        (void)ConvertAngle(v, Radian, PackedHms);
        (void)ConvertAngle(v, PackedDm, DecimalDegree);
    }
    // Just above the layout the digits are still read beside the separator.
    const DmsParts p = SplitPackedDms(12345.301525);
    EXPECT_EQ(12345, p.degrees);
    EXPECT_EQ(30, p.minutes);
    EXPECT_NEAR(15.25, p.seconds, 1e-6);
    EXPECT_TRUE(std::isnan(PackedDmsToDegrees(std::numeric_limits<double>::quiet_NaN())));
}

TEST(SnapToInteger, TriesAboveThenBelow) {
    double v = 2.999999999;
    SnapToInteger(v, 1e-8);
    EXPECT_EQ(3.0, v);
    v = -2.000000001;
    SnapToInteger(v, 1e-8);
    EXPECT_EQ(-2.0, v);
    v = 2.5;
    SnapToInteger(v, 1e-8);
    EXPECT_EQ(2.5, v);
    v = 7.00000002;  // just outside the tolerance
    SnapToInteger(v, 1e-8);
    EXPECT_EQ(7.00000002, v);
    v = 0.5;  // a tolerance wide enough for both sides takes the one above
    SnapToInteger(v, 1.0);
    EXPECT_EQ(1.0, v);
}

TEST(FormatFileAngle, FileFormatsByUnit) {
    struct Case {
        double value;
        int unit;
        const char* text;
    };
    const Case cases[] = {
        {45.301525, PackedDms, " 45.301525000"},
        {-2.5, PackedDms, " -2.500000000"},
        {45.301525, DecimalDegree, "  45.30152500"},
        {45.301525, Radian, "45.3015250000"},
        {-163800.125, SecondOfDegree, "-163800.12500"},
        {-2.5, SecondOfHour, "    -2.500000"},
        {-2.5, PackedHms, "-2.5000000000"},
        {12.25, PackedDm, " 12.250000000"},
        {-0.125, Grade, "  -0.12500000"},
        {7, DecimalHour, " 7.0000000000"},
    };
    for (const Case& c : cases) {
        std::string text = "before";
        EXPECT_TRUE(FormatFileAngle(c.value, c.unit, text)) << c.unit;
        EXPECT_EQ(c.text, text) << c.unit;
    }
    // No format: the text keeps what it held.
    for (int unit : {0, 8, 99}) {
        std::string text = "kept";
        EXPECT_FALSE(FormatFileAngle(1.5, unit, text)) << unit;
        EXPECT_EQ("kept", text) << unit;
    }
    EXPECT_STREQ("%13.10lf", AngleFileFormat(PackedHms));
    EXPECT_STREQ("%13.9lf", AngleFileFormat(PackedDm));
    EXPECT_STREQ("%13.8lf", AngleFileFormat(Grade));
    EXPECT_STREQ("%13.10lf", AngleFileFormat(DecimalHour));
    EXPECT_EQ(nullptr, AngleFileFormat(0));
}

TEST(AngleFileDecimals, AreThoseOfTheFileFormat) {
    for (int unit = -1; unit <= 14; ++unit) {
        const char* format = AngleFileFormat(unit);
        const int decimals = AngleFileDecimals(unit);
        if (format == nullptr) {
            EXPECT_EQ(-1, decimals) << unit;
        } else {
            EXPECT_EQ("%13." + std::to_string(decimals) + "lf", std::string(format)) << unit;
        }
    }
}

TEST(FormatPageAngle, FieldsByUnit) {
    PageAngleFields f = FormatPageAngle(-1.3, PackedDms);
    ASSERT_EQ(3, f.count);
    EXPECT_EQ("1", f.fields[0]);
    EXPECT_EQ("30", f.fields[1]);
    EXPECT_EQ("0.00000", f.fields[2]);
    f = FormatPageAngle(1.301525, PackedHms);
    ASSERT_EQ(3, f.count);
    EXPECT_EQ("15.250000", f.fields[2]);
    f = FormatPageAngle(45.305, PackedDm);
    ASSERT_EQ(2, f.count);
    EXPECT_EQ("45", f.fields[0]);
    EXPECT_EQ("30.500000", f.fields[1]);
    f = FormatPageAngle(-0.5, Radian);
    ASSERT_EQ(1, f.count);
    EXPECT_EQ("0.5000000000", f.fields[0]);
    EXPECT_EQ("100.00000000", FormatPageAngle(100, Grade).fields[0]);
    EXPECT_EQ("3600.00000", FormatPageAngle(3600, SecondOfDegree).fields[0]);
    EXPECT_EQ("240.000000", FormatPageAngle(240, SecondOfHour).fields[0]);
}

TEST(SplitPackedDms, SafeFromSeveralThreads) {
    // Each call uses its own buffer: concurrent splits never see each other's digits.
    auto work = [](double value, int degrees, int minutes, bool* ok) {
        for (int i = 0; i < 20000; ++i) {
            const DmsParts p = SplitPackedDms(value);
            if (p.degrees != degrees || p.minutes != minutes) *ok = false;
        }
    };
    bool ok1 = true, ok2 = true;
    std::thread a(work, 12.3456, 12, 34, &ok1);
    std::thread b(work, 987.0102, 987, 1, &ok2);
    a.join();
    b.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

// Packed values are split from their 13 printed decimals. The usual
// magnitudes take them from the exact decimal expansion without printing:
// the parts must be, bit for bit, those read back from printf's text.
namespace printed {

struct Text {
    char text[400];
    int separator = -1;
};

Text Print(double value) {
    Text t;
    std::snprintf(t.text, sizeof t.text, "%*.*Lf", 18, 13,
                  static_cast<long double>(std::fabs(value)));
    for (int i = 0; t.text[i] != '\0'; ++i)
        if (t.text[i] == '.') t.separator = i;
    return t;
}

std::int32_t Whole(const Text& t) {
    long long whole = 0;
    for (int i = 0; i < t.separator; ++i) {
        if (t.text[i] < '0' || t.text[i] > '9') continue;
        whole = whole * 10 + (t.text[i] - '0');
        if (whole > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(whole);
}

// The digits from `pos` with a point after the first two, read by strtod.
double Inserted(const Text& t, int pos) {
    std::string number{t.text[pos], t.text[pos + 1], '.'};
    number += t.text + pos + 2;
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace printed

TEST(SplitPackedDms, PartsAreThoseOfThePrintedDigits) {
    std::vector<double> values = {0.0,           -0.0,
                                  45.301525,     -2.1059999999999,
                                  12.60,         10.6025,
                                  -10.995,       359.5959999999,
                                  0.00000000005, 2.49999999999995,
                                  1e-300,        5e-324,
                                  12345.301525,  2147483647.5,
                                  2147483648.25, 9007199254740991.0,
                                  1e15 + 0.0625, 4503599627370495.5};
    std::mt19937_64 random(77);
    std::uniform_real_distribution<double> angle(-400, 400);
    for (int i = 0; i < 200000; ++i) {
        double v = angle(random);
        // Some with few binary digits (ties of the thirteenth decimal are
        // among them) and some far beyond a turn.
        if (i % 3 == 0) v = std::ldexp(std::round(std::ldexp(v, 20)), -20);
        if (i % 7 == 0) v *= 1e9;
        values.push_back(v);
    }
    for (double v : values) {
        // The split as it reads printf's text, repairs and carries included.
        const printed::Text t = printed::Print(v);
        ASSERT_GT(t.separator, 0) << v;
        DmsParts e;
        e.negative = v < 0;
        e.degrees = printed::Whole(t);
        e.minutes = (t.text[t.separator + 1] - '0') * 10 + (t.text[t.separator + 2] - '0');
        e.seconds = printed::Inserted(t, t.separator + 3);
        SnapToInteger(e.seconds, 1e-8);
        if (e.minutes > 90) e.minutes -= 40;
        if (e.seconds > 90) e.seconds -= 40;
        if (e.seconds >= 60) e.seconds -= 60, e.minutes += 1;
        if (e.minutes >= 60) {
            e.minutes -= 60;
            if (e.degrees < std::numeric_limits<std::int32_t>::max()) e.degrees += 1;
        }
        const DmsParts p = SplitPackedDms(v);
        ASSERT_EQ(e.negative, p.negative) << v;
        ASSERT_EQ(e.degrees, p.degrees) << v;
        ASSERT_EQ(e.minutes, p.minutes) << v;
        ASSERT_EQ(0, std::memcmp(&e.seconds, &p.seconds, sizeof e.seconds)) << v;

        DmParts f;
        f.degrees = printed::Whole(t);
        f.minutes = printed::Inserted(t, t.separator + 1);
        if (f.minutes > 90) f.minutes -= 40;
        if (f.minutes >= 60) {
            f.minutes -= 60;
            if (f.degrees < std::numeric_limits<std::int32_t>::max()) f.degrees += 1;
        }
        const DmParts q = SplitPackedDm(v);
        ASSERT_EQ(f.degrees, q.degrees) << v;
        ASSERT_EQ(0, std::memcmp(&f.minutes, &q.minutes, sizeof f.minutes)) << v;
    }
}
