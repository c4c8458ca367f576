#include "catalogue/field_scanner.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether an out-of-range real written in [first, stop) is below the
// smallest magnitude (rather than above the largest).
bool TooSmall(const char* first, const char* stop) {
    for (const char* c = first; c < stop; ++c) {
        if (*c == 'e' || *c == 'E') return c + 1 < stop && c[1] == '-';
    }
    for (const char* c = first; c < stop && *c != '.'; ++c) {
        if (*c != '0') return false;
    }
    return true;
}

}  // namespace

void FieldScanner::SkipBlanks() {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
}

bool FieldScanner::Word(std::string& value) {
    if (failed_) return false;
    SkipBlanks();
    std::size_t end = position_;
    while (end < text_.size() && !IsBlank(text_[end])) ++end;
    if (end == position_) {
        failed_ = true;
        return false;
    }
    value.assign(text_.substr(position_, end - position_));
    position_ = end;
    ++count_;
    return true;
}

const char* FieldScanner::NumberStart(bool& negative) {
    if (failed_) return nullptr;
    SkipBlanks();
    const char* first = text_.data() + position_;
    const char* last = text_.data() + text_.size();
    negative = false;
    if (first < last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    // A second sign is no number.
    if (first < last && (*first == '+' || *first == '-')) return Fail();
    return first;
}

const char* FieldScanner::Fail() {
    failed_ = true;
    return nullptr;
}

void FieldScanner::Accept(const char* stop) {
    position_ = static_cast<std::size_t>(stop - text_.data());
    ++count_;
}

bool FieldScanner::Integer(int& value) {
    bool negative = false;
    const char* first = NumberStart(negative);
    if (!first) return false;
    std::int64_t magnitude = 0;
    auto [stop, error] = std::from_chars(first, text_.data() + text_.size(), magnitude);
    if (stop == first) {
        Fail();
        return false;
    }
    if (error == std::errc::result_out_of_range || magnitude > INT_MAX) {
        value = negative ? INT_MIN : INT_MAX;
    } else {
        value = static_cast<int>(negative ? -magnitude : magnitude);
    }
    Accept(stop);
    return true;
}

bool FieldScanner::Real(double& value) {
    bool negative = false;
    const char* first = NumberStart(negative);
    if (!first) return false;
    double magnitude = 0;
    auto [stop, error] =
        std::from_chars(first, text_.data() + text_.size(), magnitude, std::chars_format::general);
    if (stop == first) {
        Fail();
        return false;
    }
    // Out of range: like the C library, a value too small becomes 0 and a
    // value too large becomes infinite.
    if (error == std::errc::result_out_of_range) magnitude = TooSmall(first, stop) ? 0 : HUGE_VAL;
    value = negative ? -magnitude : magnitude;
    Accept(stop);
    return true;
}

bool FieldScanner::Name(std::string& value, int maxWords) {
    value.clear();
    std::string word;
    int words = 0;
    while (words < maxWords && Word(word)) {
        if (words > 0) value += ' ';
        value += word;
        ++words;
    }
    return words > 0;
}
