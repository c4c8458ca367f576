#pragma once

#include <string>

struct CCoor;

// The interactive log: every point transformed on a computation page is
// appended to "log.txt", opened empty when the window starts. The log of
// the previous use of the window is kept beside it as "log_precedent.txt"
// (one generation). A console run never opens the log.
inline constexpr const char* kInteractiveLogName = "log.txt";
inline constexpr const char* kPreviousInteractiveLogName = "log_precedent.txt";

// One entry, for the runs to append to the log: time stamp, point name and
// kind, the departure block and the arrival block, an empty line and a line
// of 80 "-" (UTF-8, "\n" line ends).
std::string LogEntry(const CCoor& departure, const CCoor& arrival, int kind);
