#include "runs/number_text.h"

#include <charconv>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
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
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it ("1e" reads as 1).
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    double magnitude = 0;
    const char* first = text.data() + mantissa;
    const char* last = text.data() + i;
    const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last) return 0;
    value = negative ? -magnitude : magnitude;
    return i;
}

void AppendFixed(std::string& out, double value, int width, int precision) {
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
