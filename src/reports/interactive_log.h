#pragma once

struct CCoor;
class Out_Fic;

// The interactive log: every point transformed on a computation page is
// appended to "log.txt", created empty when the program starts.
inline constexpr const char* kInteractiveLogName = "log.txt";

// Appends one entry: time stamp, point name and kind, the departure block
// and the arrival block, an empty line and a line of 80 "-".
void AppendLogEntry(Out_Fic& log, const CCoor& departure, const CCoor& arrival, int kind);
