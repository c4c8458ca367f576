#include "geodesy/angle.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "geodesy/exact_decimal.h"
#include "geodesy/plain_computation.h"

namespace {

// Whole part of a non-negative magnitude as a 32-bit integer, saturated so
// that values outside the packed layout cannot overflow; NaN gives 0.
std::int32_t WholePart(double magnitude) {
    if (!(magnitude >= 0)) return 0;
    if (magnitude >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(magnitude);
}

// The decimals of the packed layout.
constexpr int kPackedDecimals = 13;

// |value| printed in the packed layout: fixed point, 13 decimals, width 18.
// The usual magnitudes (below 2^53) are split from their exact decimals
// (RoundToDecimals) without printing, with the same digits.
// Below 10000 the whole part fills the first four characters and the decimal
// separator is the fifth; larger magnitudes only push the separator right.
// The buffer is local to each call.
struct PackedText {
    char text[400];      // the largest double prints with 309 whole digits
    int separator = -1;  // index of the decimal separator, -1 for inf and nan
};

void PrintPacked(double value, PackedText& out) {
    std::snprintf(out.text, sizeof out.text, "%*.*Lf", 18, 13,
                  static_cast<long double>(std::fabs(value)));
    out.separator = -1;
    bool digitSeen = false;
    for (int i = 0; out.text[i] != '\0'; ++i) {
        const char c = out.text[i];
        if (c >= '0' && c <= '9') {
            digitSeen = true;
        } else if (c != ' ') {
            // The separator follows the digits of the whole part; whatever
            // the locale prints there, it is the first other character.
            if (digitSeen) out.separator = i;
            return;
        }
    }
}

// The whole part before the separator, saturated to 32 bits.
std::int32_t ReadWholePart(const PackedText& t) {
    long long whole = 0;
    for (int i = 0; i < t.separator; ++i) {
        const char c = t.text[i];
        if (c < '0' || c > '9') continue;
        whole = whole * 10 + (c - '0');
        if (whole > std::numeric_limits<std::int32_t>::max()) {
            return std::numeric_limits<std::int32_t>::max();
        }
    }
    return static_cast<std::int32_t>(whole);
}

// A whole part from exact decimals, saturated to 32 bits as ReadWholePart does.
std::int32_t SaturatedWholePart(std::uint64_t whole) {
    const auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(whole > most ? most : whole);
}

// Two digits at `pos` read as one integer (as "%2d" does).
std::int32_t ReadTwoDigits(const PackedText& t, int pos) {
    return (t.text[pos] - '0') * 10 + (t.text[pos + 1] - '0');
}

// The digits from `pos` read as a real number whose first two digits are the
// whole part: the text with a separator inserted after those two digits.
double ReadInsertedReal(const PackedText& t, int pos) {
    char number[400];
    int n = 0;
    number[n++] = t.text[pos];
    number[n++] = t.text[pos + 1];
    number[n++] = t.text[t.separator];
    for (int i = pos + 2; t.text[i] != '\0' && n < static_cast<int>(sizeof number) - 1; ++i) {
        number[n++] = t.text[i];
    }
    number[n] = '\0';
    return std::strtod(number, nullptr);
}

// A printf format applied to one double, whatever the length of the result.
std::string FormatNumber(const char* format, double value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0) return std::string();
    if (n < static_cast<int>(sizeof buffer)) return std::string(buffer, n);
    std::vector<char> large(static_cast<size_t>(n) + 1);
    std::snprintf(large.data(), large.size(), format, value);
    return std::string(large.data(), n);
}

std::string FormatInteger(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return buffer;
}

// Tolerance, in minutes, within which a minute and the fraction of a minute
// snap to whole values when degrees are packed: 6e-7 of a second of arc.
constexpr double kMinuteSnap = 1e-8;

// Packs a magnitude of whole units (degrees or hours) into D.MMSSsss...
// Minutes closer than `snap` to a whole minute, and a fraction of a minute
// closer than `snap` to 0 or 1, become whole so that the packed value reads
// 45.30 and not 45.2959999999.
double PackSexagesimal(double units, double snap) {
    const double a = std::fabs(units);
    DmsParts p;
    p.degrees = WholePart(a);
    double m = (a - p.degrees) * 60.0;
    SnapToInteger(m, snap);
    p.minutes = WholePart(m);
    double f = m - p.minutes;
    SnapToInteger(f, snap);
    p.seconds = f * 60.0;
    p.negative = units < 0;
    return JoinPackedDms(p);
}

double ToDecimalDegrees(double value, int unit) {
    switch (unit) {
        case Radian:
            return value * 180.0 / kPi;
        case Grade:
            return value * 0.9;
        case DecimalHour:
            return value * 15.0;
        case SecondOfDegree:
            return value / 3600.0;
        case SecondOfHour:
            return value / 240.0;
        case PackedDms:
            return PackedDmsToDegrees(value);
        case PackedHms:
            return PackedDmsToDegrees(value) * 15.0;
        case PackedDm:
            return PackedDmToDegrees(value);
        default:
            return value;  // decimal degrees and every unassigned code
    }
}

double FromDecimalDegrees(double value, int unit) {
    switch (unit) {
        case Radian:
            return value * kPi / 180.0;
        case Grade:
            return value / 0.9;
        case DecimalHour:
            return value / 15.0;
        case SecondOfDegree:
            return value * 3600.0;
        case SecondOfHour:
            return value * 240.0;
        case PackedDms:
            return DegreesToPackedDms(value);
        // Hours snap within the same arc as degrees (a minute of time is 15
        // minutes of arc), so packing never moves an angle by 1e-6 arc second.
        case PackedHms:
            return PackSexagesimal(value / 15.0, kMinuteSnap / 15.0);
        case PackedDm:
            return DegreesToPackedDm(value);
        default:
            return value;
    }
}

}  // namespace

double ConvertAngleThroughDegrees(double value, int fromUnit, int toUnit) {
    if (fromUnit == toUnit || value == 0.0) return value;
    return FromDecimalDegrees(ToDecimalDegrees(value, fromUnit), toUnit);
}

void SnapToInteger(double& value, double tolerance) {
    const double up = std::ceil(value);
    if (std::fabs(value - up) < tolerance) {
        value = up;
        return;
    }
    const double down = std::floor(value);
    if (std::fabs(value - down) < tolerance) value = down;
}

DmsParts SplitPackedDms(double value) {
    DmsParts parts;
    parts.negative = value < 0;
    std::uint64_t whole = 0, decimals = 0;
    if (!PlainComputation() && RoundToDecimals(value, kPackedDecimals, whole, decimals)) {
        // The digits that PrintPacked would print, read as it reads them: the
        // first two decimals, then the other eleven with a decimal point
        // after their first two (one correctly rounded division, as strtod).
        parts.degrees = SaturatedWholePart(whole);
        parts.minutes = static_cast<std::int32_t>(decimals / PowerOfTen(kPackedDecimals - 2));
        parts.seconds = static_cast<double>(decimals % PowerOfTen(kPackedDecimals - 2)) /
                        static_cast<double>(PowerOfTen(kPackedDecimals - 4));
    } else {
        PackedText t;
        PrintPacked(value, t);
        if (t.separator < 0) {
            // Infinity or NaN: no digits to read; the magnitude goes on as seconds.
            parts.seconds = std::fabs(value);
            return parts;
        }
        parts.degrees = ReadWholePart(t);
        parts.minutes = ReadTwoDigits(t, t.separator + 1);
        parts.seconds = ReadInsertedReal(t, t.separator + 3);
    }
    SnapToInteger(parts.seconds, 1e-8);
    // Decimal arithmetic on packed values borrows 100 where 60 was meant.
    if (parts.minutes > 90) parts.minutes -= 40;
    if (parts.seconds > 90) parts.seconds -= 40;
    if (parts.seconds >= 60) {
        parts.seconds -= 60;
        parts.minutes += 1;
    }
    if (parts.minutes >= 60) {
        parts.minutes -= 60;
        if (parts.degrees < std::numeric_limits<std::int32_t>::max()) parts.degrees += 1;
    }
    return parts;
}

double JoinPackedDms(const DmsParts& parts) {
    const double v = parts.degrees + parts.minutes / 100.0 + parts.seconds / 10000.0;
    return parts.negative ? -v : v;
}

DmParts SplitPackedDm(double value) {
    DmParts parts;
    parts.negative = value < 0;
    std::uint64_t whole = 0, decimals = 0;
    if (!PlainComputation() && RoundToDecimals(value, kPackedDecimals, whole, decimals)) {
        // All thirteen decimals with a decimal point after their first two.
        parts.degrees = SaturatedWholePart(whole);
        parts.minutes =
            static_cast<double>(decimals) / static_cast<double>(PowerOfTen(kPackedDecimals - 2));
    } else {
        PackedText t;
        PrintPacked(value, t);
        if (t.separator < 0) {
            parts.minutes = std::fabs(value);
            return parts;
        }
        parts.degrees = ReadWholePart(t);
        parts.minutes = ReadInsertedReal(t, t.separator + 1);
    }
    if (parts.minutes > 90) parts.minutes -= 40;
    if (parts.minutes >= 60) {
        parts.minutes -= 60;
        if (parts.degrees < std::numeric_limits<std::int32_t>::max()) parts.degrees += 1;
    }
    return parts;
}

double JoinPackedDm(const DmParts& parts) {
    const double v = parts.degrees + parts.minutes / 100.0;
    return parts.negative ? -v : v;
}

double PackedDmsToDegrees(double value) {
    const DmsParts p = SplitPackedDms(value);
    const double v = p.degrees + p.minutes / 60.0 + p.seconds / 3600.0;
    return p.negative ? -v : v;
}

double PackedDmToDegrees(double value) {
    const DmParts p = SplitPackedDm(value);
    const double v = p.degrees + p.minutes / 60.0;
    return p.negative ? -v : v;
}

double DegreesToPackedDms(double degrees) {
    return PackSexagesimal(degrees, kMinuteSnap);
}

double DegreesToPackedDm(double degrees) {
    const double a = std::fabs(degrees);
    DmParts p;
    p.degrees = WholePart(a);
    p.minutes = (a - p.degrees) * 60.0;
    p.negative = degrees < 0;
    return JoinPackedDm(p);
}

const char* AngleFileFormat(int unit) {
    switch (unit) {
        case Radian:
        case DecimalHour:
        case PackedHms:
            return "%13.10lf";
        case DecimalDegree:
        case Grade:
            return "%13.8lf";
        case SecondOfDegree:
            return "%13.5lf";
        case SecondOfHour:
            return "%13.6lf";
        case PackedDms:
        case PackedDm:
            return "%13.9lf";
        default:
            return nullptr;
    }
}

int AngleFileDecimals(int unit) {
    switch (unit) {
        case Radian:
        case DecimalHour:
        case PackedHms:
            return 10;
        case DecimalDegree:
        case Grade:
            return 8;
        case SecondOfDegree:
            return 5;
        case SecondOfHour:
            return 6;
        case PackedDms:
        case PackedDm:
            return 9;
        default:
            return -1;
    }
}

bool FormatFileAngle(double value, int unit, std::string& text) {
    const char* format = AngleFileFormat(unit);
    if (format == nullptr) return false;
    text = FormatNumber(format, value);
    return true;
}

PageAngleFields FormatPageAngle(double value, int unit) {
    PageAngleFields out;
    const double magnitude = std::fabs(value);
    switch (unit) {
        case PackedDms:
        case PackedHms: {
            const DmsParts p = SplitPackedDms(magnitude);
            out.count = 3;
            out.fields[0] = FormatInteger(p.degrees);
            out.fields[1] = FormatInteger(p.minutes);
            out.fields[2] = FormatNumber(unit == PackedDms ? "%.5lf" : "%.6lf", p.seconds);
            return out;
        }
        case PackedDm: {
            const DmParts p = SplitPackedDm(magnitude);
            out.count = 2;
            out.fields[0] = FormatInteger(p.degrees);
            out.fields[1] = FormatNumber("%.6lf", p.minutes);
            return out;
        }
        case Radian:
        case DecimalHour:
            out.fields[0] = FormatNumber("%.10lf", magnitude);
            break;
        case SecondOfDegree:
            out.fields[0] = FormatNumber("%.5lf", magnitude);
            break;
        case SecondOfHour:
            out.fields[0] = FormatNumber("%.6lf", magnitude);
            break;
        default:
            out.fields[0] = FormatNumber("%.8lf", magnitude);
            break;  // degrees, grades
    }
    out.count = 1;
    return out;
}
