#pragma once

#include <string>
#include <string_view>

// The fields of one line of a delimited point file, read front to back as
// spreadsheets write them: fields end at the separator, a field that starts
// with '"' runs to the next lone '"' and may hold blanks and the separator,
// and "" inside it stands for one '"'. Nothing is allocated unless a field
// holds a doubled quote.
class DelimitedFields {
public:
    DelimitedFields(std::string_view line, char separator) : line_(line), separator_(separator) {}

    // The next field without its quotes: false when the line has no more.
    // A field that needs unquoting is built in `storage`.
    bool Next(std::string_view& field, std::string& storage);
    // A quote left open, or text after a closing quote: the line is no
    // sound delimited line.
    bool Malformed() const { return malformed_; }
    // The rest of the line from the separator that ended the last field read,
    // as the file holds it; empty when that field was the last.
    std::string_view Rest() const { return line_.substr(restStart_); }

private:
    std::string_view line_;
    char separator_;
    std::size_t next_ = 0;       // start of the next field
    std::size_t restStart_ = 0;  // separator after the last field read
    bool ended_ = false;
    bool malformed_ = false;
};

// What a number column of a delimited line holds.
enum class NumberField { Number, Empty, NotANumber };

// Reads a number column: blanks around it allowed, the whole field one
// number in decimal notation with `decimalMark` (a comma mark refuses a
// point in the field, a point mark refuses a comma).
NumberField ReadNumberField(std::string_view field, char decimalMark, double& value);

// Appends a text field, between quotes when `quoted` or when the text holds
// the separator, a quote or a line end (each quote doubled).
void AppendTextField(std::string& out, std::string_view text, char separator, bool quoted);

// Appends `value` with `decimals` decimals and no padding, with `decimalMark`.
void AppendNumberField(std::string& out, double value, int decimals, char decimalMark);
