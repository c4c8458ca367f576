#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// A text grid file read forwards: header lines and then node values, either
// in free format (numbers separated by any blanks and line breaks) or in fixed
// widths. Line ends are LF or CR LF; a CR LF pair reads as one line break.
// Bytes are returned as they are in the file (ISO-8859-1).
class GridTextFile {
public:
    enum class Lecture {
        Ok,         // a value was read
        Fin,        // the file ended before the value
        Illisible,  // the next word is not a number of the kind asked for
    };

    // Null when the file cannot be opened for reading.
    static std::unique_ptr<GridTextFile> Open(const std::string& path);
    ~GridTextFile();
    GridTextFile(const GridTextFile&) = delete;
    GridTextFile& operator=(const GridTextFile&) = delete;

    // Reads at most maxChars characters, stopping after a line break, which is
    // kept. False when the file was already at its end.
    bool ReadLine(std::string& line, size_t maxChars);

    // Free format: blanks and line breaks are skipped, then one word is read,
    // which must be a whole number of the kind asked for.
    Lecture ReadReal8(double& v);
    Lecture ReadReal4(float& v);
    Lecture ReadInt32(int32_t& v);
    Lecture ReadInt16(int16_t& v);
    Lecture ReadWord(std::string& word);

    // Fixed width: at most width characters, stopping after a line break
    // (kept); empty at the end of the file.
    std::string ReadField(size_t width);

    // Goes back or forth to the byte `offset` from the file's start, where
    // the next reading starts; false when the file cannot be positioned.
    bool Seek(int64_t offset);

    // Bytes consumed so far (for messages).
    int64_t Offset() const { return consumed_ + static_cast<int64_t>(pos_); }

private:
    GridTextFile() = default;
    bool Fill(size_t wanted);  // at least wanted bytes after pos_, unless at end
    int Get();                 // next character, CR LF as LF; -1 at end
    template <class T>
    Lecture ReadNumber(T& v);
    // The next word; false at the end of the file. A word too long to be a
    // number is skipped and comes back as two null pointers.
    bool NextWord(const char*& first, const char*& last);

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0, end_ = 0;
    int64_t consumed_ = 0;  // bytes dropped from the front of the buffer
    bool atEof_ = false;
};

// The whole of [first, last) as a number of type T, as free-format reading
// takes it (an optional leading plus sign included). False for an empty or
// partly numeric text, and for a number out of T's range.
template <class T>
bool ParseWholeNumber(const char* first, const char* last, T& v) {
    if (first != last && *first == '+') ++first;
    if (first == nullptr || first == last) return false;
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>) {
        r = std::from_chars(first, last, v, std::chars_format::general);
    } else {
        r = std::from_chars(first, last, v);
    }
    return r.ec == std::errc() && r.ptr == last;
}
