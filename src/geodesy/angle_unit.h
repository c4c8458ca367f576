#pragma once

// Integer codes of the angle units. Every conversion goes through decimal
// degrees; a code outside this list behaves as decimal degrees.
enum AngleUnit : int {
    Radian = 1,
    DecimalDegree = 2,
    Grade = 3,
    DecimalHour = 4,
    SecondOfDegree = 5,
    SecondOfHour = 6,
    PackedDms = 10,
    PackedHms = 11,
    PackedDm = 12,
};
