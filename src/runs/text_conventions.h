#pragma once

#include <string>

// How the text of a point file is written, beside its layout (DataFormat):
// the layout says which columns are the name and the three numbers, the
// conventions say how the columns are told apart and how numbers and
// letters are written. The default conventions are those of the fourteen
// layouts: columns separated by blanks, a decimal point, no title row,
// ISO-8859-1.
enum class PointFileEncoding {
    Latin1,   // ISO-8859-1, one byte per character
    Utf8,     // UTF-8 without a byte-order mark
    Utf8Mark  // UTF-8 starting with the byte-order mark
};

struct TextConventions {
    // '\0' for blanks (any run of white space), else ';', ',' or '\t'.
    char separator = '\0';
    // '.' or ','; a comma only where the separator is not a comma.
    char decimalMark = '.';
    // The first line that is neither blank nor a comment names the columns.
    bool titleRow = false;
    // Text fields are written between '"' as spreadsheets do ("" inside
    // stands for one '"'); delimited files are always read with quotes.
    bool quoted = false;
    PointFileEncoding encoding = PointFileEncoding::Latin1;
    // The title row's columns after the layout's ones, as the file holds
    // them (its encoding, separator first): carried to the output's title row.
    std::string extraTitles;

    bool Delimited() const { return separator != '\0'; }
    bool Utf8() const { return encoding != PointFileEncoding::Latin1; }
    bool operator==(const TextConventions&) const = default;
};

// The conventions a user states instead of letting them be recognised:
// each one that is stated replaces what the first lines would suggest.
struct StatedConventions {
    bool separatorStated = false;
    char separator = '\0';
    bool decimalMarkStated = false;
    char decimalMark = '.';
    bool titleRowStated = false;
    bool titleRow = false;
    bool encodingStated = false;
    PointFileEncoding encoding = PointFileEncoding::Latin1;

    bool operator==(const StatedConventions&) const = default;
};

// The conventions in French words, as the console (with -v) and the window
// show them: "séparateur « ; », virgule décimale, ligne de titres, UTF-8".
std::string ConventionsText(const TextConventions& conventions);

// The conventions of the output file of a run whose input has `input`: the
// same when the input is delimited, so that the result opens back where it
// came from; today's blank-separated ISO-8859-1 lines otherwise.
TextConventions OutputConventionsOf(const TextConventions& input);

// The separator named by a user ("; , tab blancs" and their spellings): true
// with the character ('\0' for blanks), false for a name it does not know.
bool ReadSeparatorName(const std::string& name, char& separator);
// The decimal mark named by a user: "." or ",", also "point" and "virgule".
bool ReadDecimalMarkName(const std::string& name, char& mark);
// The encoding named by a user: "latin1" (ISO-8859-1), "utf8", "utf8bom".
bool ReadEncodingName(const std::string& name, PointFileEncoding& encoding);
