#include "pages/point_fields.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <string>

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string FormatBound(const FieldRule& rule, double value) {
    char buffer[64];
    if (rule.kind == FieldRule::Integer) {
        std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(value));
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
    }
    return buffer;
}

std::string Fill(std::string pattern, const std::string& first, const std::string& second) {
    const size_t p1 = pattern.find("%1");
    if (p1 != std::string::npos) pattern.replace(p1, 2, first);
    const size_t p2 = pattern.find("%2");
    if (p2 != std::string::npos) pattern.replace(p2, 2, second);
    return pattern;
}

}  // namespace

std::optional<double> ReadDecimal(std::string_view text) {
    std::string number(Trim(text));
    if (number.empty()) return std::nullopt;
    for (char& c : number) {
        if (c == ',') c = '.';
    }
    const char* first = number.data();
    const char* last = first + number.size();
    if (*first == '+') ++first;  // from_chars takes no plus sign
    if (first == last || *first == '+') return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<long> ReadInteger(std::string_view text) {
    std::string_view number = Trim(text);
    if (number.empty()) return std::nullopt;
    const char* first = number.data();
    const char* last = first + number.size();
    if (*first == '+') ++first;
    if (first == last || *first == '+') return std::nullopt;
    long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::optional<std::string> CheckField(std::string_view text, const FieldRule& rule) {
    switch (rule.kind) {
        case FieldRule::Text:
            if (rule.maxLength > 0 && CharacterCount(text) > static_cast<size_t>(rule.maxLength)) {
                return Fill("Tapez %1 caractères au maximum.", std::to_string(rule.maxLength), "");
            }
            return std::nullopt;
        case FieldRule::Integer: {
            const std::optional<long> value = ReadInteger(text);
            if (!value) return std::string("Tapez un nombre entier.");
            if (rule.ranged && (*value < rule.minimum || *value > rule.maximum)) {
                return Fill("Tapez un nombre entier compris entre %1 et %2.",
                            FormatBound(rule, rule.minimum), FormatBound(rule, rule.maximum));
            }
            return std::nullopt;
        }
        case FieldRule::Decimal: {
            const std::optional<double> value = ReadDecimal(text);
            if (!value) return std::string("Tapez un nombre.");
            if (rule.ranged && (*value < rule.minimum || *value > rule.maximum)) {
                return Fill("Tapez un nombre compris entre %1 et %2.",
                            FormatBound(rule, rule.minimum), FormatBound(rule, rule.maximum));
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}
