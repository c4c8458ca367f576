#pragma once

#include <string>

struct CCoor;

// The interactive log: every point transformed on a computation page is
// appended to "log.txt", created empty when the program starts.
inline constexpr const char* kInteractiveLogName = "log.txt";

// One entry, for the runs to append to the log: time stamp, point name and
// kind, the departure block and the arrival block, an empty line and a line
// of 80 "-" (UTF-8, "\n" line ends).
std::string LogEntry(const CCoor& departure, const CCoor& arrival, int kind);
