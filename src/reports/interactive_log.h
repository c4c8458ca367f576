#pragma once

#include <string>

struct CCoor;
class Out_Fic;

// The interactive log: every point transformed on a computation page is
// appended to "log.txt", opened empty when the window starts. The log of
// the previous use of the window is kept beside it as "log_precedent.txt"
// (one generation). A console run never opens the log.
inline constexpr const char* kInteractiveLogName = "log.txt";
inline constexpr const char* kPreviousInteractiveLogName = "log_precedent.txt";

// Opens the log of a window session in `folder` (ending with "/"). A
// "log.txt" that holds anything first becomes "log_precedent.txt",
// replacing the one before; an empty one (a session in which nothing was
// computed) leaves the predecessor as it is. Returns whether the log is
// open: a folder that cannot be written only means no log, and when the
// previous log cannot be set aside it is left untouched and there is no log.
bool OpenSessionLog(Out_Fic& log, const std::string& folder);

// Appends one entry: time stamp, point name and kind, the departure block
// and the arrival block, an empty line and a line of 80 "-".
void AppendLogEntry(Out_Fic& log, const CCoor& departure, const CCoor& arrival, int kind);
