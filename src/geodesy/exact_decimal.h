#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

// Exact decimal rounding of doubles, as printf's "%.Pf" does it: the exact
// binary value rounded to P decimals, ties to the even last digit (the
// rounding of the default floating-point environment). The point-file
// numbers and the packed angle notations are written and read through it,
// whatever the C locale. Inline: it runs for every number of a file.

// The largest number of decimals handled.
inline constexpr int kMostExactDecimals = 17;

namespace exact_decimal {
inline constexpr std::uint64_t kPowersOfTen[] = {1ull,
                                                 10ull,
                                                 100ull,
                                                 1000ull,
                                                 10000ull,
                                                 100000ull,
                                                 1000000ull,
                                                 10000000ull,
                                                 100000000ull,
                                                 1000000000ull,
                                                 10000000000ull,
                                                 100000000000ull,
                                                 1000000000000ull,
                                                 10000000000000ull,
                                                 100000000000000ull,
                                                 1000000000000000ull,
                                                 10000000000000000ull,
                                                 100000000000000000ull};

// The products of a fraction's 53-bit mantissa by a power of ten.
__extension__ typedef unsigned __int128 Wide;
}  // namespace exact_decimal

// The powers of ten up to 10^kMostExactDecimals.
inline std::uint64_t PowerOfTen(int exponent) {
    return exact_decimal::kPowersOfTen[exponent];
}

// |value| rounded to `precision` decimals (0 .. kMostExactDecimals): its
// whole part and its decimals as one integer below 10^precision. False for
// an infinite or NaN value and for |value| ≥ 2^53, which printf must write.
// The whole part is exact; the fraction, m · 2^-shift with m an integer
// below 2^53 and shift at least 53, times 10^P is a product below 2^110
// that is divided by 2^shift and rounded to the nearest integer.
inline bool RoundToDecimals(double value, int precision, std::uint64_t& whole,
                            std::uint64_t& decimals) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 9007199254740992.0) || precision < 0 || precision > kMostExactDecimals)
        return false;
    whole = static_cast<std::uint64_t>(magnitude);
    const double fraction = magnitude - static_cast<double>(whole);  // exact
    const std::uint64_t scale = exact_decimal::kPowersOfTen[precision];
    decimals = 0;
    if (fraction == 0) return true;
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(fraction);
    const int exponent = static_cast<int>(bits >> 52);
    const std::uint64_t field = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = exponent == 0 ? field : field | (std::uint64_t{1} << 52);
    const int shift = exponent == 0 ? 1074 : 1075 - exponent;
    if (shift < 128) {  // otherwise the product is below half a unit: 0
        const exact_decimal::Wide product = static_cast<exact_decimal::Wide>(m) * scale;
        exact_decimal::Wide quotient = product >> shift;
        const exact_decimal::Wide rest = product - (quotient << shift);
        const exact_decimal::Wide half = static_cast<exact_decimal::Wide>(1) << (shift - 1);
        // A tie goes to the even last digit: the last decimal, or the units
        // of the whole part when no decimal is written.
        const bool odd = precision > 0 ? (quotient & 1) != 0 : (whole & 1) != 0;
        if (rest > half || (rest == half && odd)) ++quotient;
        decimals = static_cast<std::uint64_t>(quotient);
    }
    if (decimals == scale) {  // rounded up to the next whole number
        decimals = 0;
        ++whole;
    }
    return true;
}
