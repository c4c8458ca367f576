#include "runs/input_point_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "shared/text_encoding.h"
#include "engine/coordinate.h"
#include "shared/data_format.h"
#include "shared/number_text.h"
#include "runs/delimited_fields.h"
#include "runs/result_texts.h"

namespace {

constexpr std::size_t kReadChunk = 1 << 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the text starts, after blanks, with a number in decimal notation
// (sign, then digits, or a point and digits): what ScanDecimal reads unless
// its value lies beyond the range of doubles.
bool StartsWithDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && text[i] == '.') ++i;
    return i < text.size() && IsDigit(text[i]);
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// read() that retries when a signal interrupts it.
ssize_t ReadSome(int descriptor, char* into, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(descriptor, into, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

}  // namespace

In_Fic::~In_Fic() {
    Close();
}

bool In_Fic::Open(const std::string& fileName) {
    Close();
    fileName_ = fileName;
    descriptor_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    ownsDescriptor_ = true;
    titlePending_ = conventions_.titleRow;
    begin_ = end_ = 0;
    endOfFile_ = fileExhausted_ = readFailed_ = false;
    utf8_ = markChecked_ = false;
    lineNumber_ = 0;
    openError_ = descriptor_ < 0 ? errno : 0;
    // A folder opens but cannot be read: it fails here, before the run
    // empties its output file.
    struct stat info {};
    if (descriptor_ >= 0 && ::fstat(descriptor_, &info) == 0 && S_ISDIR(info.st_mode)) {
        Close();
        openError_ = EISDIR;
    }
    if (descriptor_ < 0) return false;
    buffer_.resize(kReadChunk);
    return true;
}

bool In_Fic::OpenStandardInput() {
    Close();
    fileName_ = "-";
    descriptor_ = STDIN_FILENO;
    ownsDescriptor_ = false;
    titlePending_ = conventions_.titleRow;
    begin_ = end_ = 0;
    endOfFile_ = fileExhausted_ = readFailed_ = false;
    utf8_ = markChecked_ = false;
    lineNumber_ = 0;
    openError_ = 0;
    buffer_.resize(kReadChunk);
    return true;
}

void In_Fic::Close() {
    if (descriptor_ >= 0 && ownsDescriptor_) ::close(descriptor_);
    descriptor_ = -1;
}

void In_Fic::SetConventions(const TextConventions& conventions) {
    conventions_ = conventions;
    // The title row is the first line read that is neither blank nor a
    // comment; conventions set after it was read do not skip a point.
    titlePending_ = conventions.titleRow && lineNumber_ == 0;
}

long long In_Fic::Compter_Lignes() {
    long long count = 0;
    // The standard input cannot be read twice.
    if (!ownsDescriptor_) {
        lineCount = 0;
        return 0;
    }
    const int second = ::open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
    if (second >= 0) {
        std::vector<char> chunk(kReadChunk);
        for (;;) {
            const ssize_t got = ReadSome(second, chunk.data(), chunk.size());
            if (got <= 0) break;
            count += std::count(chunk.data(), chunk.data() + got, '\n');
        }
        ::close(second);
    }
    lineCount = count;
    return count;
}

bool In_Fic::Refill() {
    // Keep the unread part at the front; grow the buffer for a line longer
    // than it.
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const ssize_t got = ReadSome(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0) {
        readFailed_ = true;
        fileExhausted_ = true;
        return false;
    }
    if (got == 0) {
        fileExhausted_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

void In_Fic::CheckMark() {
    if (markChecked_) return;
    // A file saved in UTF-8 by a Windows editor starts with the
    // byte-order mark: it is no part of the first point's name.
    markChecked_ = true;
    while (end_ - begin_ < 3 && !fileExhausted_) Refill();
    if (end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, "\xEF\xBB\xBF", 3) == 0) {
        begin_ += 3;
        utf8_ = true;
    }
}

std::vector<std::string> In_Fic::PeekLines(std::size_t dataLines, std::size_t byteLimit) {
    std::vector<std::string> lines;
    if (descriptor_ < 0 || endOfFile_) return lines;
    CheckMark();
    std::size_t at = begin_;
    std::size_t found = 0;
    while (found < dataLines) {
        const char* data = buffer_.data();
        const void* feed = std::memchr(data + at, '\n', end_ - at);
        std::size_t stop = 0, next = 0;
        if (feed != nullptr) {
            stop = static_cast<std::size_t>(static_cast<const char*>(feed) - data);
            next = stop + 1;
            if (stop > at && data[stop - 1] == '\r') --stop;
        } else if (fileExhausted_) {
            if (at < end_) lines.emplace_back(data + at, end_ - at);
            break;
        } else {
            if (end_ - begin_ > byteLimit) break;
            const std::size_t offset = at - begin_;
            Refill();
            at = begin_ + offset;
            continue;
        }
        lines.emplace_back(data + at, stop - at);
        at = next;
        const std::string& line = lines.back();
        const std::size_t first = line.find_first_not_of(" \t\n\r\v\f");
        if (first != std::string::npos && line[first] != '*') ++found;
    }
    return lines;
}

bool In_Fic::NextLine(std::string_view& line) {
    CheckMark();
    std::size_t searched = begin_;
    for (;;) {
        const char* data = buffer_.data();
        const void* feed = std::memchr(data + searched, '\n', end_ - searched);
        if (feed != nullptr) {
            std::size_t stop = static_cast<std::size_t>(static_cast<const char*>(feed) - data);
            const std::size_t next = stop + 1;
            if (stop > begin_ && data[stop - 1] == '\r') --stop;
            line = std::string_view(data + begin_, stop - begin_);
            begin_ = next;
            ++lineNumber_;
            return true;
        }
        if (fileExhausted_) {
            // The last line has no line feed: it is read and the end is reached.
            endOfFile_ = true;
            if (readFailed_ || begin_ == end_) return false;
            line = std::string_view(data + begin_, end_ - begin_);
            begin_ = end_;
            ++lineNumber_;
            return true;
        }
        const std::size_t unread = end_ - begin_;
        Refill();
        searched = begin_ + unread;
    }
}

std::string In_Fic::Lire_Point(CCoor& point) {
    std::string_view line;
    std::string result;
    if (!NextPointLine(line, result)) return result;
    return ReadPointLine(line, point, scratch_);
}

bool In_Fic::NextPointLine(std::string_view& line, std::string& result) {
    if (endOfFile_ || descriptor_ < 0) {
        result = kResultEnd;
        return false;
    }
    if (!NextLine(line)) {
        result = kResultBlankLine;
        return false;
    }
    std::size_t pos = 0;
    const std::size_t n = line.size();
    while (pos < n && IsBlank(line[pos])) ++pos;
    if (pos == n) {
        result = kResultBlankLine;
        return false;
    }
    if (line[pos] == '*') {
        result = kResultComment;
        return false;
    }
    if (!IsDataFormat(dataFormat)) {
        result = kResultUnknownFormat;
        return false;
    }
    if (titlePending_) {
        // The title row names the columns: it is passed over like a comment.
        titlePending_ = false;
        result = kResultComment;
        return false;
    }
    return true;
}

std::string In_Fic::ReadPointLine(std::string_view line, CCoor& point,
                                  std::string& scratch) const {
    if (conventions_.Delimited()) return ReadDelimitedPoint(line, point, scratch);
    std::size_t pos = 0;
    const std::size_t n = line.size();
    while (pos < n && IsBlank(line[pos])) ++pos;

    if (DataFormatHasName(dataFormat)) {
        const std::size_t start = pos;
        while (pos < n && !IsBlank(line[pos])) ++pos;
        StoreName(line.substr(start, pos - start), point);
    } else {
        point.name.clear();
    }
    if (conventions_.decimalMark == ',') {
        // Blank-separated numbers with decimal commas: read with points
        // once no point stands among the three numbers (a point there would
        // be a thousands mark, or a file of mixed marks).
        std::size_t at = pos;
        for (int token = 0; token < 3; ++token) {
            while (at < n && IsBlank(line[at])) ++at;
            while (at < n && !IsBlank(line[at])) {
                if (line[at] == '.') return std::string(kResultBadPoint);
                ++at;
            }
        }
        scratch.assign(line.substr(pos));
        for (char& c : scratch) {
            if (c == ',') c = '.';
        }
        line = scratch;
        pos = 0;
    }
    return ReadBlankSeparatedNumbers(line, pos, point);
}

void In_Fic::StoreName(std::string_view name, CCoor& point) const {
    if (IsAscii(name)) {
        point.name.assign(name);
    } else if ((utf8_ || conventions_.Utf8()) && IsValidUtf8(name)) {
        point.name.assign(name);
    } else if (utf8_) {
        // Today's reading of a file with the byte-order mark keeps the bytes.
        point.name.assign(name);
    } else {
        point.name = Latin1ToUtf8(name);
    }
}

std::string In_Fic::ReadDelimitedPoint(std::string_view line, CCoor& point,
                                       std::string& scratch) const {
    DelimitedFields fields(line, conventions_.separator);
    std::string_view field;
    if (DataFormatHasName(dataFormat)) {
        if (!fields.Next(field, scratch)) return std::string(kResultBadPoint);
        std::size_t begin = 0, end = field.size();
        while (begin < end && (field[begin] == ' ' || field[begin] == '\t')) ++begin;
        while (end > begin && (field[end - 1] == ' ' || field[end - 1] == '\t')) --end;
        StoreName(field.substr(begin, end - begin), point);
    } else {
        point.name.clear();
    }
    double values[3] = {0, 0, 0};
    bool third = false;  // the vertical column was there, even empty
    for (int k = 0; k < 3; ++k) {
        if (!fields.Next(field, scratch)) {
            if (fields.Malformed() || k < 2) return std::string(kResultBadPoint);
            break;
        }
        const NumberField read = ReadNumberField(field, conventions_.decimalMark, values[k]);
        if (read == NumberField::NotANumber) return std::string(kResultBadPoint);
        // The vertical value is optional, as in blank-separated files.
        if (read == NumberField::Empty) {
            if (k < 2) return std::string(kResultBadPoint);
            values[2] = 0;
        }
        if (k == 2) third = true;
    }
    if (third) point.extraColumns.assign(fields.Rest());
    StoreNumbers(values, point);
    return std::string(kResultOk);
}

std::string In_Fic::ReadBlankSeparatedNumbers(std::string_view line, std::size_t pos,
                                              CCoor& point) const {
    const std::size_t n = line.size();
    double values[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const std::size_t used = ScanDecimal(line.substr(pos), values[count]);
        if (used == 0) break;
        pos += used;
        ++count;
        // A decimal comma ("2428291,971") would be read as the whole part
        // alone, a point off by the fraction: such a line is refused.
        if (pos + 1 < n && line[pos] == ',' && IsDigit(line[pos + 1])) return std::string(kResultBadPoint);
    }
    if (count < 2) return std::string(kResultBadPoint);
    // The vertical value is optional, but a number that no double holds is
    // not a missing value: the line is refused rather than read with 0.
    if (count == 2 && StartsWithDecimal(line.substr(pos))) return std::string(kResultBadPoint);
    if (count == 2) values[2] = 0;
    StoreNumbers(values, point);
    return std::string(kResultOk);
}

void In_Fic::StoreNumbers(const double values[3], CCoor& point) const {
    const double first = values[0], second = values[1], third = values[2];
    switch (dataFormat) {
        case FormatNameXYZ:
        case FormatXYZ:
            point.x = first;
            point.y = second;
            point.z = third;
            break;
        case FormatNameLonLatAltitude:
        case FormatLonLatAltitude:
            point.longitude = first;
            point.latitude = second;
            point.height = point.altitude = third;
            break;
        case FormatNameLatLonAltitude:
        case FormatLatLonAltitude:
            point.latitude = first;
            point.longitude = second;
            point.height = point.altitude = third;
            break;
        case FormatNameLonLatHeight:
        case FormatLonLatHeight:
            point.longitude = first;
            point.latitude = second;
            point.height = third;
            point.altitude = 0;
            break;
        case FormatNameLatLonHeight:
        case FormatLatLonHeight:
            point.latitude = first;
            point.longitude = second;
            point.height = third;
            point.altitude = 0;
            break;
        case FormatNameENAltitude:
        case FormatENAltitude:
            point.easting = first;
            point.northing = second;
            point.height = point.altitude = third;
            break;
        default:  // FormatNameENHeight, FormatENHeight
            point.easting = first;
            point.northing = second;
            point.height = third;
            point.altitude = 0;
            break;
    }
}
