#pragma once

#include <ctime>
#include <string>

// The time stamp of end lines, headers and log entries:
// "<day name> <day>/<month>/<year> -- <hour>:<minutes>:<seconds>", for
// instance "Mardi 8/12/2026 -- 9:05:07".
std::string FormatTimeStamp(const std::tm& when);

// The time stamp of the local date and time now. When the environment
// variable QUORVEL_TIME_STAMP holds a date and time written
// "YYYY-MM-DD HH:MM:SS" (tests set it to get files they can compare byte
// for byte), that moment is used instead.
std::string CurrentTimeStamp();

// Reads "YYYY-MM-DD HH:MM:SS" into `when`, with its day of the week; false
// when the text is not such a date.
bool ParseTimeStampOverride(const char* text, std::tm& when);
