#include "runs/delimited_fields.h"

#include <cstring>

#include "shared/number_text.h"

namespace {

bool IsPadding(char c, char separator) {
    return (c == ' ' || (c == '\t' && separator != '\t'));
}

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

bool DelimitedFields::Next(std::string_view& field, std::string& storage) {
    if (ended_ || malformed_) return false;
    const std::size_t n = line_.size();
    std::size_t i = next_;
    while (i < n && IsPadding(line_[i], separator_)) ++i;
    if (i < n && line_[i] == '"') {
        // Quoted: up to the lone closing quote, doubled quotes kept once.
        const std::size_t open = i + 1;
        std::size_t close = open;
        bool doubled = false;
        for (;;) {
            const void* quote = std::memchr(line_.data() + close, '"', n - close);
            if (quote == nullptr) {
                malformed_ = true;
                return false;
            }
            close = static_cast<std::size_t>(static_cast<const char*>(quote) - line_.data());
            if (close + 1 < n && line_[close + 1] == '"') {
                doubled = true;
                close += 2;
                continue;
            }
            break;
        }
        if (doubled) {
            storage.clear();
            for (std::size_t k = open; k < close; ++k) {
                storage += line_[k];
                if (line_[k] == '"') ++k;
            }
            field = storage;
        } else {
            field = line_.substr(open, close - open);
        }
        i = close + 1;
        while (i < n && IsPadding(line_[i], separator_)) ++i;
        if (i < n && line_[i] != separator_) {
            malformed_ = true;
            return false;
        }
    } else {
        const void* stop = std::memchr(line_.data() + next_, separator_, n - next_);
        i = stop == nullptr ? n
                            : static_cast<std::size_t>(static_cast<const char*>(stop) - line_.data());
        field = line_.substr(next_, i - next_);
    }
    restStart_ = i;
    if (i >= n) {
        ended_ = true;
    } else {
        next_ = i + 1;
    }
    return true;
}

NumberField ReadNumberField(std::string_view field, char decimalMark, double& value) {
    const std::string_view text = Trimmed(field);
    if (text.empty()) return NumberField::Empty;
    if (decimalMark == ',') {
        // A point is no part of a number written with decimal commas (it
        // would be a thousands mark): the field is refused, not misread.
        char copy[64];
        if (text.size() >= sizeof copy) return NumberField::NotANumber;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const char c = text[k];
            if (c == '.') return NumberField::NotANumber;
            copy[k] = c == ',' ? '.' : c;
        }
        const std::string_view translated(copy, text.size());
        if (ScanDecimal(translated, value) != text.size()) return NumberField::NotANumber;
        return NumberField::Number;
    }
    if (ScanDecimal(text, value) != text.size()) return NumberField::NotANumber;
    return NumberField::Number;
}

void AppendTextField(std::string& out, std::string_view text, char separator, bool quoted) {
    const bool needed = text.find_first_of(std::string{separator, '"', '\r', '\n'}) !=
                        std::string_view::npos;
    if (!quoted && !needed) {
        out.append(text);
        return;
    }
    out += '"';
    for (char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
}

void AppendNumberField(std::string& out, double value, int decimals, char decimalMark) {
    const std::size_t start = out.size();
    AppendFixed(out, value, 0, decimals);
    if (decimalMark != '.') {
        for (std::size_t k = start; k < out.size(); ++k) {
            if (out[k] == '.') out[k] = decimalMark;
        }
    }
}
