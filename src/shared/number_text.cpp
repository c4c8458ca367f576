#include "shared/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "geodesy/exact_decimal.h"
#include "geodesy/plain_computation.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that doubles hold exactly (10^22 is the last one).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99", two digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of an unsigned integer, written backwards from `end`; the
// digits below 10^8 in 32-bit arithmetic, which the divisions by 100 run
// faster in.
char* WriteBackwards(char* end, std::uint64_t value) {
    while (value >= 100000000) {
        std::uint32_t low = static_cast<std::uint32_t>(value % 100000000);
        value /= 100000000;
        for (int i = 0; i < 4; ++i) {
            const char* pair = kDigitPairs + 2 * (low % 100);
            low /= 100;
            *--end = pair[1];
            *--end = pair[0];
        }
    }
    auto small = static_cast<std::uint32_t>(value);
    while (small >= 100) {
        const char* pair = kDigitPairs + 2 * (small % 100);
        small /= 100;
        *--end = pair[1];
        *--end = pair[0];
    }
    if (small >= 10) {
        const char* pair = kDigitPairs + 2 * small;
        *--end = pair[1];
        *--end = pair[0];
    } else {
        *--end = static_cast<char>('0' + small);
    }
    return end;
}

// printf's "%W.Pf" of |value| < 2^53 with P at most 17 decimals, written
// right-aligned before `end`. Returns the first character, or null for a
// value that the library must write.
char* FixedDigits(double value, int width, int precision, char* end) {
    std::uint64_t whole = 0, decimals = 0;
    if (!RoundToDecimals(value, precision, whole, decimals)) return nullptr;
    char* begin = end;
    if (precision > 0) {
        begin = WriteBackwards(end, decimals);
        while (end - begin < precision) *--begin = '0';
        *--begin = '.';
    }
    begin = WriteBackwards(begin, whole);
    if (std::signbit(value)) *--begin = '-';
    while (end - begin < width) *--begin = ' ';
    return begin;
}

// The whole of [first, last) read by from_chars; false when it does not fit.
bool FromChars(const char* first, const char* last, double& magnitude) {
    const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == last;
}

}  // namespace

std::size_t ScanDecimal(std::string_view text, double& value) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The digits are gathered on the way into an integer, with the power of
    // ten of the last one. When there are at most 19 and that integer is
    // exactly a double (at most 2^53), and the power of ten is one of the
    // exact ones, a single correctly rounded multiplication or division
    // gives the double nearest to the decimal number, as from_chars does;
    // other numbers go through from_chars.
    const std::size_t mantissa = i;
    std::uint64_t significand = 0;
    int scale = 0;
    while (i < n && IsDigit(text[i])) {
        significand = significand * 10 + static_cast<unsigned>(text[i] - '0');
        ++i;
    }
    std::size_t digits = i - mantissa;
    if (i < n && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < n && IsDigit(text[i])) {
            significand = significand * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
        }
        scale = -static_cast<int>(i - fractionStart);
        digits += i - fractionStart;
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it ("1e" reads as 1).
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) exponentNegative = text[j++] == '-';
        if (j < n && IsDigit(text[j])) {
            int exponent = 0;
            while (j < n && IsDigit(text[j])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            scale += exponentNegative ? -exponent : exponent;
            i = j;
        }
    }
    double magnitude = 0;
    if (PlainComputation()) {
        if (!FromChars(text.data() + mantissa, text.data() + i, magnitude)) return 0;
    } else if (digits <= 19 && significand == 0) {
        magnitude = 0;  // zero digits, whatever the exponent
    } else if (digits <= 19 && significand <= (std::uint64_t{1} << 53) && scale >= -22 &&
               scale <= 22) {
        const double exact = static_cast<double>(significand);
        magnitude =
            scale < 0 ? exact / kExactPowersOfTen[-scale] : exact * kExactPowersOfTen[scale];
    } else if (!FromChars(text.data() + mantissa, text.data() + i, magnitude)) {
        return 0;
    }
    value = negative ? -magnitude : magnitude;
    return i;
}

void AppendFixed(std::string& out, double value, int width, int precision) {
    if (width <= 64 && !PlainComputation()) {
        char text[112];
        char* const end = text + sizeof text;
        if (const char* begin = FixedDigits(value, width, precision, end)) {
            out.append(begin, static_cast<std::size_t>(end - begin));
            return;
        }
    }
    // Larger numbers, more decimals, infinities and NaN.
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    // Every double fits with the few decimals that the files use.
    const std::size_t length =
        result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - digits) : 0;
    if (width > 0 && length < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - length, ' ');
    }
    out.append(digits, length);
}

void AppendInteger(std::string& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}
