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

// The same, as doubles (exact up to 10^22).
inline constexpr double kExactPowersOfTen[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                               1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};

// The products of a fraction's 53-bit mantissa by a power of ten.
__extension__ typedef unsigned __int128 Wide;
}  // namespace exact_decimal

// The powers of ten up to 10^kMostExactDecimals.
inline std::uint64_t PowerOfTen(int exponent) {
    return exact_decimal::kPowersOfTen[exponent];
}

namespace exact_decimal {

// RoundToDecimals by the whole part and the fraction apart: any magnitude
// below 2^53, any fraction, however small.
inline void RoundSplit(double magnitude, int precision, std::uint64_t& whole,
                       std::uint64_t& decimals) {
    whole = static_cast<std::uint64_t>(magnitude);
    const double fraction = magnitude - static_cast<double>(whole);  // exact
    const std::uint64_t scale = kPowersOfTen[precision];
    decimals = 0;
    if (fraction == 0) return;
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(fraction);
    const int exponent = static_cast<int>(bits >> 52);
    const std::uint64_t field = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = exponent == 0 ? field : field | (std::uint64_t{1} << 52);
    const int shift = exponent == 0 ? 1074 : 1075 - exponent;
    if (shift < 128) {  // otherwise the product is below half a unit: 0
        const Wide product = static_cast<Wide>(m) * scale;
        Wide quotient = product >> shift;
        const Wide rest = product - (quotient << shift);
        const Wide half = static_cast<Wide>(1) << (shift - 1);
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
}

// The whole scaled number q = |value| · 10^precision rounded to the nearest
// integer, ties to the even one, when it holds in 52 bits. Below 2^52 every
// half-integer is a double, and rounding is monotonic: the product y that
// the floating-point multiplication gives lies on the same side of each
// half-integer as the exact product, or on it. So y decides, except when
// its fraction is exactly one half: then the exact product of the 53-bit
// mantissa by 10^P does. False when q is too large.
inline bool RoundScaled(double magnitude, int precision, std::uint64_t& scaled) {
    const double y = magnitude * kExactPowersOfTen[precision];
    if (!(y < 4503599627370496.0)) return false;  // 2^52
    // Signed conversions: the processor has them, not the unsigned ones.
    const auto t = static_cast<std::uint64_t>(static_cast<std::int64_t>(y));
    const double f = y - static_cast<double>(static_cast<std::int64_t>(t));  // exact
    if (f != 0.5) {
        scaled = t + static_cast<std::uint64_t>(f > 0.5);  // no branch: either is as likely
        return true;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff);
    const int shift = 1075 - exponent;  // |value| = m · 2^-shift
    if (exponent == 0 || shift < 1 || shift > 64) return false;
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const Wide product = static_cast<Wide>(m) * kPowersOfTen[precision];
    const Wide quotient = product >> shift;
    std::uint64_t q = static_cast<std::uint64_t>(quotient);
    const Wide rest = product - (quotient << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    scaled = q;
    return true;
}

// q split at the decimal point: division by a constant power of ten for
// each precision, which the compiler turns into a multiplication.
template <int P>
inline void SplitAt(std::uint64_t q, std::uint64_t& whole, std::uint64_t& decimals) {
    whole = q / kPowersOfTen[P];
    decimals = q % kPowersOfTen[P];
}

}  // namespace exact_decimal

// |value| rounded to `precision` decimals (0 .. kMostExactDecimals): its
// whole part and its decimals as one integer below 10^precision. False for
// an infinite or NaN value and for |value| ≥ 2^53, which printf must write.
// The exact binary value is rounded, ties to the even last digit: the
// product of its 53-bit mantissa by 10^P, below 2^110, divided by a power
// of two and rounded to the nearest integer.
inline bool RoundToDecimals(double value, int precision, std::uint64_t& whole,
                            std::uint64_t& decimals) {
    using namespace exact_decimal;
    const double magnitude = std::fabs(value);
    if (!(magnitude < 9007199254740992.0) || precision < 0 || precision > kMostExactDecimals)
        return false;
    std::uint64_t q = 0;
    if (!RoundScaled(magnitude, precision, q)) {
        RoundSplit(magnitude, precision, whole, decimals);
        return true;
    }
    switch (precision) {
        case 0: whole = q; decimals = 0; break;
        case 1: SplitAt<1>(q, whole, decimals); break;
        case 2: SplitAt<2>(q, whole, decimals); break;
        case 3: SplitAt<3>(q, whole, decimals); break;
        case 4: SplitAt<4>(q, whole, decimals); break;
        case 5: SplitAt<5>(q, whole, decimals); break;
        case 6: SplitAt<6>(q, whole, decimals); break;
        case 7: SplitAt<7>(q, whole, decimals); break;
        case 8: SplitAt<8>(q, whole, decimals); break;
        case 9: SplitAt<9>(q, whole, decimals); break;
        case 10: SplitAt<10>(q, whole, decimals); break;
        case 11: SplitAt<11>(q, whole, decimals); break;
        case 12: SplitAt<12>(q, whole, decimals); break;
        case 13: SplitAt<13>(q, whole, decimals); break;
        case 14: SplitAt<14>(q, whole, decimals); break;
        case 15: SplitAt<15>(q, whole, decimals); break;
        case 16: SplitAt<16>(q, whole, decimals); break;
        default: SplitAt<17>(q, whole, decimals); break;
    }
    return true;
}
