#pragma once

#include <string>

class Out_Fic;

// Opens the log of a window session in `folder` (ending with "/"). A
// "log.txt" that holds anything first becomes "log_precedent.txt",
// replacing the one before; an empty one (a session in which nothing was
// computed) leaves the predecessor as it is. Returns whether the log is
// open: a folder that cannot be written only means no log, and when the
// previous log cannot be set aside it is left untouched and there is no log.
bool OpenSessionLog(Out_Fic& log, const std::string& folder);
