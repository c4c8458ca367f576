#pragma once

#include <cstdint>
#include <string>

#include "geodesy/angle_unit.h"

// Angle conversions between the angle units and the text formats of angles.
// Every routine here is pure and safe to call from several threads at once.

// The constant pi used by every conversion (the double nearest to pi).
inline constexpr double kPi = 3.141592653589793;

// A packed degrees-minutes-seconds (or hours-minutes-seconds) value taken
// apart. The three numbers are magnitudes; the sign lives in `negative` alone.
struct DmsParts {
    bool negative = false;
    std::int32_t degrees = 0;
    std::int32_t minutes = 0;
    double seconds = 0;
};

// A packed degrees-decimal minutes value taken apart.
struct DmParts {
    bool negative = false;
    std::int32_t degrees = 0;
    double minutes = 0;
};

// Converts an angle between two AngleUnit codes through decimal degrees.
// A code outside the known units behaves as decimal degrees. Never fails.
// Inline for the conversions every point makes (none, radians and decimal
// degrees), with the same operations as the general path.
double ConvertAngleThroughDegrees(double value, int fromUnit, int toUnit);
inline double ConvertAngle(double value, int fromUnit, int toUnit) {
    if (fromUnit == toUnit || value == 0.0) return value;
    if (fromUnit == Radian && toUnit == DecimalDegree) return value * 180.0 / kPi;
    if (fromUnit == DecimalDegree && toUnit == Radian) return value * kPi / 180.0;
    return ConvertAngleThroughDegrees(value, fromUnit, toUnit);
}

// Splits a packed value (D.MMSSsss...) by reading its decimal digits as they
// are printed, repairs the borrow left by decimal arithmetic on packed
// values (99 in place of 59) and carries 60 seconds or 60 minutes.
DmsParts SplitPackedDms(double value);
double JoinPackedDms(const DmsParts& parts);

// Splits a packed degrees-decimal minutes value (D.MMmmm...).
DmParts SplitPackedDm(double value);
double JoinPackedDm(const DmParts& parts);

double PackedDmsToDegrees(double value);
double DegreesToPackedDms(double degrees);
double PackedDmToDegrees(double value);
double DegreesToPackedDm(double degrees);

// Moves `value` onto the nearest integer above or below it when it lies
// closer than `tolerance` (the integer above is tried first).
void SnapToInteger(double& value, double tolerance);

// The printf format of longitudes and latitudes in output point files and
// report lines for an angle unit; null for a unit that is not written.
const char* AngleFileFormat(int unit);

// The decimals of that format (its width is always 13); -1 for a unit that
// is not written.
int AngleFileDecimals(int unit);

// Writes an angle in the file format of its unit. For a unit without a
// format it returns false and `text` keeps its previous content.
bool FormatFileAngle(double value, int unit, std::string& text);

// How a computation page shows the magnitude of one longitude or latitude:
// one field for the decimal units, degrees (hours) / minutes / seconds for
// the packed sexagesimal units, degrees / decimal minutes for PackedDm.
// A unit outside the table is shown as decimal degrees.
struct PageAngleFields {
    int count = 0;  // 1, 2 or 3 fields used
    std::string fields[3];
};
PageAngleFields FormatPageAngle(double value, int unit);

// Page formats of the other numbers shown with a result.
inline constexpr const char* kPageLengthFormat = "%.3lf";  // X Y Z, E N, heights
inline constexpr const char* kPageAlterationFormat = "%.1lf";
inline constexpr const char* kPageConvergenceFormat = "%.5lf";
