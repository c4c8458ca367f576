#pragma once

#include <cstdint>

// Exact decimal rounding of doubles, as printf's "%.Pf" does it: the exact
// binary value rounded to P decimals, ties to the even last digit (the
// rounding of the default floating-point environment). The point-file
// numbers and the packed angle notations are written and read through it,
// whatever the C locale.

// The largest number of decimals handled.
inline constexpr int kMostExactDecimals = 17;

// |value| rounded to `precision` decimals (0 .. kMostExactDecimals): its
// whole part and its decimals as one integer below 10^precision. False for
// an infinite or NaN value and for |value| ≥ 2^53, which printf must write.
bool RoundToDecimals(double value, int precision, std::uint64_t& whole, std::uint64_t& decimals);

// The powers of ten up to 10^kMostExactDecimals.
std::uint64_t PowerOfTen(int exponent);
