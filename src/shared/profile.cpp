#include "shared/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// One line of the file: its text and the line end it had ("\r\n", "\n", or
// "" for a last line without one), so that rewriting keeps it byte for byte.
struct Line {
    std::string text;
    std::string end;
};

enum class ReadStatus { Ok, Missing, Failed };

ReadStatus ReadLines(const std::string& file, std::vector<Line>& lines) {
    lines.clear();
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    std::string content;
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return ReadStatus::Failed;
    size_t start = 0;
    while (start < content.size()) {
        const size_t newline = content.find('\n', start);
        Line line;
        if (newline == std::string::npos) {
            line.text = content.substr(start);
            start = content.size();
        } else {
            line.text = content.substr(start, newline - start);
            line.end = "\n";
            start = newline + 1;
        }
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = line.end.empty() ? "\r" : "\r\n";
        }
        lines.push_back(std::move(line));
    }
    return ReadStatus::Ok;
}

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// The text of a line as the parser sees it: a byte-order mark on the first
// line is not part of the content.
std::string_view Content(const std::vector<Line>& lines, size_t i) {
    std::string_view s = lines[i].text;
    if (i == 0 && s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3);
    return s;
}

// Folds ASCII and the accented Latin capitals (U+00C0 to U+00DE but the
// multiplication sign, and U+0152) to lower case, byte for byte in UTF-8.
std::string Fold(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (i + 1 < out.size()) {
            unsigned char next = static_cast<unsigned char>(out[i + 1]);
            if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
                out[i + 1] = static_cast<char>(next + 0x20);
                ++i;
            } else if (c == 0xC5 && next == 0x92) {
                out[i + 1] = static_cast<char>(0x93);
                ++i;
            }
        }
    }
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    return Fold(a) == Fold(b);
}

// The name of a "[section]" line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view t = Trim(content);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const size_t close = t.find(']');
    return Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// Key and value of a "key=value" line; nothing for comments, lines without
// '=' and lines without a key.
struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view content) {
    const std::string_view t = Trim(content);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    const size_t equals = t.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trim(t.substr(0, equals));
    if (key.empty()) return std::nullopt;  // "=value" names no key
    return Entry{key, Trim(t.substr(equals + 1))};
}

// Lines [first, last) of the first section of that name; nothing when absent.
struct Range {
    size_t header;
    size_t first;
    size_t last;
};

std::optional<Range> FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(Content(lines, i));
        if (!name || !SameName(*name, section)) continue;
        size_t j = i + 1;
        while (j < lines.size() && !SectionName(Content(lines, j))) ++j;
        return Range{i, i + 1, j};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const Range& range,
                              std::string_view key) {
    for (size_t i = range.first; i < range.last; ++i) {
        const auto entry = EntryOf(Content(lines, i));
        if (entry && SameName(entry->key, key)) return i;
    }
    return std::nullopt;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// At most `count` characters of a UTF-8 text, never cutting a character.
std::string FirstCharacters(std::string_view text, size_t count) {
    size_t i = 0, characters = 0;
    while (i < text.size() && characters < count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        ++characters;
    }
    return std::string(text.substr(0, i));
}

std::optional<std::string> FindValue(const std::string& file, const std::string& section,
                                     const std::string& key) {
    std::vector<Line> lines;
    if (ReadLines(file, lines) != ReadStatus::Ok) return std::nullopt;
    const auto range = FindSection(lines, section);
    if (!range) return std::nullopt;
    const auto at = FindKey(lines, *range, key);
    if (!at) return std::nullopt;
    return std::string(Unquote(EntryOf(Content(lines, *at))->value));
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Writes the whole text beside the target and renames it over the target.
bool ReplaceFile(const std::string& file, const std::string& content) {
    // Through a symbolic link, the file it points to is replaced.
    std::string target = file;
    if (char* real = ::realpath(file.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    mode_t mode = 0644;
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    bool ok = true;
    size_t written = 0;
    while (ok && written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            written += static_cast<size_t>(n);
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    const auto value = FindValue(file, section, key);
    return FirstCharacters(value ? *value : defaultValue, bufferSize - 1);
}

int GetProfileInt(const std::string& file, const std::string& section, const std::string& key,
                  int defaultValue) {
    const auto value = FindValue(file, section, key);
    if (!value) return defaultValue;
    const long n = std::strtol(value->c_str(), nullptr, 10);
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return static_cast<int>(n);
}

std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section) {
    std::vector<std::string> result;
    std::vector<Line> lines;
    if (ReadLines(file, lines) != ReadStatus::Ok) return result;
    const auto range = FindSection(lines, section);
    if (!range) return result;
    for (size_t i = range->first; i < range->last; ++i) {
        if (const auto entry = EntryOf(Content(lines, i))) {
            result.push_back(std::string(entry->key) + "=" + std::string(entry->value));
        }
    }
    return result;
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    // A line break, a '=' in a key or a ']' in a section name would change
    // the structure of the file.
    const std::string_view trimmedKey = Trim(key);
    if (Trim(section).empty() || trimmedKey.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string::npos ||
        key.find('=') != std::string::npos || trimmedKey.front() == ';' ||
        trimmedKey.front() == '[') {
        return false;
    }
    std::vector<Line> lines;
    const ReadStatus status = ReadLines(file, lines);
    // An existing file that cannot be read is left alone rather than replaced.
    if (status == ReadStatus::Failed) return false;

    // New lines take the line end the file already uses; CR LF for a new file.
    // A carriage return alone (only at the very end of a file) breaks no line
    // when the file is read: it is not a line end to copy, and a line that
    // gets one after it becomes a whole line.
    std::string end = "\r\n";
    for (const Line& line : lines) {
        if (line.end == "\n" || line.end == "\r\n") {
            end = line.end;
            break;
        }
    }
    if (!lines.empty() && lines.back().end == "\r") lines.back().end.clear();
    const std::string entry = key + "=" + value;
    auto range = FindSection(lines, section);
    if (!range) {
        if (!lines.empty()) {
            if (lines.back().end.empty()) lines.back().end = end;
            if (!Trim(Content(lines, lines.size() - 1)).empty()) lines.push_back({"", end});
        }
        lines.push_back({"[" + section + "]", end});
        lines.push_back({entry, end});
    } else if (const auto at = FindKey(lines, *range, key)) {
        // The key keeps the spelling it has in the file.
        const std::string_view content = Content(lines, *at);
        const size_t equals = content.find('=');
        const size_t prefix = lines[*at].text.size() - content.size();
        std::string kept = lines[*at].text.substr(0, prefix + equals + 1);
        lines[*at].text = kept + value;
    } else {
        // After the last non-blank line of the section.
        size_t insert = range->first;
        for (size_t i = range->first; i < range->last; ++i) {
            if (!Trim(Content(lines, i)).empty()) insert = i + 1;
        }
        if (lines[insert - 1].end.empty()) lines[insert - 1].end = end;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), Line{entry, end});
    }

    std::string content;
    for (const Line& line : lines) content += line.text + line.end;
    return ReplaceFile(file, content);
}
