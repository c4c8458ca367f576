#include "runs/convention_detection.h"

#include <string_view>

#include "runs/delimited_fields.h"
#include "runs/input_point_file.h"
#include "shared/data_format.h"
#include "shared/text_encoding.h"

namespace {

bool IsDataLine(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\n\r\v\f");
    return first != std::string::npos && line[first] != '*';
}

// How many times the line holds the separator outside quotes.
int SeparatorCount(std::string_view line, char separator) {
    int count = 0;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == separator && !quoted) ++count;
    }
    return count;
}

// One line split in the layout's columns with a separator.
struct SplitLine {
    bool sound = false;  // no quote left open
    std::string name;
    std::string numbers[3];
    int numberCount = 0;
    bool extra = false;   // columns after the layout's
    bool blanks = false;  // a field holds a blank, or a field is empty
    bool quotes = false;  // a field was quoted
    std::string rest;     // the line after the third number column
};

SplitLine Split(std::string_view line, char separator, bool named) {
    SplitLine split;
    DelimitedFields fields(line, separator);
    std::string storage;
    std::string_view field;
    int column = 0;
    const int columns = named ? 4 : 3;
    while (column < columns && fields.Next(field, storage)) {
        if (field.empty() || field.find(' ') != std::string_view::npos) split.blanks = true;
        if (named && column == 0) {
            split.name = std::string(field);
        } else {
            split.numbers[split.numberCount++] = std::string(field);
        }
        ++column;
    }
    if (line.find('"') != std::string_view::npos) split.quotes = true;
    split.sound = !fields.Malformed();
    if (column == columns) {
        split.rest = std::string(fields.Rest());
        split.extra = !split.rest.empty();
    }
    return split;
}

bool IsNumber(const std::string& field, char mark) {
    double value = 0;
    return ReadNumberField(field, mark, value) == NumberField::Number;
}

// Whether the split line reads as a point with the decimal mark.
bool ReadsAsPoint(const SplitLine& split, char mark) {
    if (!split.sound || split.numberCount < 2) return false;
    double value = 0;
    for (int k = 0; k < split.numberCount; ++k) {
        const NumberField read = ReadNumberField(split.numbers[k], mark, value);
        if (read == NumberField::NotANumber) return false;
        if (read == NumberField::Empty && k < 2) return false;
    }
    return true;
}

// A title row names every column of the layout, none with a number: a
// point line with a mistyped number is refused, not passed over.
bool IsTitle(const SplitLine& split) {
    if (!split.sound || split.numberCount < 2) return false;
    for (int k = 0; k < split.numberCount; ++k) {
        const std::string& field = split.numbers[k];
        if (field.find_first_not_of(" \t") == std::string::npos) return false;
        if (IsNumber(field, '.') || IsNumber(field, ',')) return false;
    }
    return true;
}

// The decimal mark that the number fields suggest: a comma when some hold a
// comma and none a point.
char SuggestedMark(const std::vector<std::string>& numberFields) {
    bool comma = false, point = false;
    for (const std::string& field : numberFields) {
        if (field.find(',') != std::string::npos) comma = true;
        if (field.find('.') != std::string::npos) point = true;
    }
    return comma && !point ? ',' : '.';
}

// The number columns of a blank-separated line: the three words after the
// name (or the first three).
void BlankNumberFields(const std::string& line, bool named, std::vector<std::string>& fields) {
    std::size_t at = 0;
    int word = 0;
    const char* blanks = " \t\n\r\v\f";
    for (;;) {
        const std::size_t begin = line.find_first_not_of(blanks, at);
        if (begin == std::string::npos) break;
        const std::size_t end = std::min(line.find_first_of(blanks, begin), line.size());
        if (word > 0 || !named) fields.push_back(line.substr(begin, end - begin));
        ++word;
        if (word == (named ? 4 : 3)) break;
        at = end;
    }
}

struct SeparatorChoice {
    char separator = '\0';
    char mark = '.';
    bool title = false;
    bool quoted = false;
    std::string extraTitles;
};

// Whether the data lines are delimited by `separator`, and how.
bool TrySeparator(const std::vector<const std::string*>& data, char separator, bool named,
                  bool anyCount, SeparatorChoice& choice) {
    if (data.empty()) return false;
    if (!anyCount) {
        const int count = SeparatorCount(*data.front(), separator);
        if (count < 1) return false;
        for (const std::string* line : data) {
            if (SeparatorCount(*line, separator) != count) return false;
        }
    }
    std::vector<SplitLine> splits;
    for (const std::string* line : data) splits.push_back(Split(*line, separator, named));
    const bool title = IsTitle(splits.front());
    std::vector<std::string> numberFields;
    for (std::size_t i = title ? 1 : 0; i < splits.size(); ++i) {
        for (int k = 0; k < splits[i].numberCount; ++k) numberFields.push_back(splits[i].numbers[k]);
    }
    const char mark = separator == ',' ? '.' : SuggestedMark(numberFields);
    std::size_t points = 0, lines = 0;
    bool needed = title || mark == ',';
    for (std::size_t i = title ? 1 : 0; i < splits.size(); ++i) {
        ++lines;
        if (ReadsAsPoint(splits[i], mark)) ++points;
        if (splits[i].extra || splits[i].blanks || splits[i].quotes) needed = true;
    }
    // Most lines read as points (one odd line among them is refused later,
    // not taken for a sign that the file is not delimited); a title row
    // alone proves nothing.
    if (points == 0 || points * 2 < lines) return false;
    // Tabs are blanks to the fourteen layouts: a tab-separated file that
    // blanks read the same stays a blank-separated file.
    if (separator == '\t' && !needed && !anyCount) return false;
    choice.separator = separator;
    choice.mark = mark;
    choice.title = title;
    choice.quoted = false;
    for (const SplitLine& split : splits) choice.quoted = choice.quoted || split.quotes;
    if (title) choice.extraTitles = splits.front().rest;
    return true;
}

}  // namespace

TextConventions RecogniseConventions(const std::vector<std::string>& lines, bool markSeen,
                                     int dataFormat, const StatedConventions& stated) {
    TextConventions conventions;
    const bool named = DataFormatHasName(dataFormat);
    std::vector<const std::string*> data;
    bool ascii = true, valid = true;
    for (const std::string& line : lines) {
        if (IsDataLine(line) && data.size() < kRecognitionLines) data.push_back(&line);
        for (char c : line) {
            if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
        }
        if (!ascii && valid) valid = IsValidUtf8(line);
    }

    if (stated.encodingStated) {
        conventions.encoding = stated.encoding;
    } else if (markSeen) {
        conventions.encoding = PointFileEncoding::Utf8Mark;
    } else if (!ascii && valid) {
        conventions.encoding = PointFileEncoding::Utf8;
    }

    SeparatorChoice choice;
    bool delimited = false;
    if (stated.separatorStated) {
        if (stated.separator != '\0') {
            delimited = TrySeparator(data, stated.separator, named, true, choice);
            if (!delimited) {
                choice = SeparatorChoice{};
                choice.separator = stated.separator;
                delimited = true;
            }
        }
    } else {
        for (char separator : {';', '\t', ','}) {
            // Decimal commas said by the user leave the comma to the numbers.
            if (separator == ',' && stated.decimalMarkStated && stated.decimalMark == ',') continue;
            if (TrySeparator(data, separator, named, false, choice)) {
                delimited = true;
                break;
            }
        }
    }
    if (delimited) {
        conventions.separator = choice.separator;
        conventions.decimalMark = choice.mark;
        conventions.titleRow = choice.title;
        conventions.quoted = choice.quoted;
        conventions.extraTitles = choice.extraTitles;
    } else {
        std::vector<std::string> numberFields;
        for (const std::string* line : data) BlankNumberFields(*line, named, numberFields);
        conventions.decimalMark = SuggestedMark(numberFields);
    }
    if (stated.decimalMarkStated && conventions.separator != ',') {
        conventions.decimalMark = stated.decimalMark;
    }
    if (stated.titleRowStated) {
        conventions.titleRow = stated.titleRow;
        if (!stated.titleRow) conventions.extraTitles.clear();
        if (stated.titleRow && conventions.extraTitles.empty() && delimited && !data.empty()) {
            conventions.extraTitles = Split(*data.front(), conventions.separator, named).rest;
        }
    }
    return conventions;
}

TextConventions RecogniseInputConventions(In_Fic& input, const StatedConventions& stated) {
    const std::vector<std::string> lines = input.PeekLines(kRecognitionLines, 1 << 20);
    const TextConventions conventions =
        RecogniseConventions(lines, input.Utf8(), input.dataFormat, stated);
    input.SetConventions(conventions);
    return conventions;
}
