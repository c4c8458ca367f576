#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The configuration file: INI text in UTF-8 of "[section]" headers and
// "key=value" lines; lines starting with ';' are comments. Section and key
// names match without regard to case (ASCII and accented Latin letters);
// values are returned as written, without the blanks around them and without
// one pair of enclosing double quotes. Lines may end with LF or CR LF.
//
// A file that is missing, empty or unreadable, a missing section and a
// missing key all give the defaults; lines without '=' are skipped.

// The value of a key, or `defaultValue`, cut to `bufferSize` - 1 characters
// as a fixed text buffer of that size would hold it.
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize = 260);

// The value of a key read as a decimal integer with optional sign; a value
// that does not start with a number gives 0, a missing key `defaultValue`.
int GetProfileInt(const std::string& file, const std::string& section, const std::string& key,
                  int defaultValue = 0);

// The "key=value" lines of a section, in file order; empty when the section
// is absent or holds none.
std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section);

// Sets a key, creating the file, the section or the key when needed and
// keeping every other line of the file as it was. The new file replaces the
// old one in one rename, so a failure never leaves a half-written file.
// Returns false when the file could not be written.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
