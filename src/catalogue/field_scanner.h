#pragma once

#include <string>
#include <string_view>

// Reads the white-space separated fields of one catalogue line the way a
// formatted scan does: each field skips the white space before it, a number
// stops at the first character that cannot belong to it, and the first
// field that cannot be read stops the scan. `Count` is the number of fields
// read so far, which the line formats compare with their minimum.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view text) : text_(text) {}

    // A run of non-blank characters.
    bool Word(std::string& value);
    // A decimal integer with optional sign; values beyond the 32-bit range
    // are clamped to it.
    bool Integer(int& value);
    // A decimal real (sign, digits, decimal point, exponent), read the same
    // way whatever the process locale.
    bool Real(double& value);

    // Reads up to `maxWords` words and joins them with single blanks; true
    // when at least one word was read.
    bool Name(std::string& value, int maxWords);

    int Count() const { return count_; }
    bool Failed() const { return failed_; }

private:
    void SkipBlanks();
    // Skips the blanks and one sign; the first digit's place, or null (and
    // the scan failed) when nothing can be read or a second sign follows.
    const char* NumberStart(bool& negative);
    // Marks the scan failed; gives null for the caller to return.
    const char* Fail();
    // Takes the field that ends at `stop`.
    void Accept(const char* stop);

    std::string_view text_;
    std::size_t position_ = 0;
    int count_ = 0;
    bool failed_ = false;
};
