#pragma once

#include <string>

struct CCoor;

// Headers of output point files and reports. The texts are UTF-8 with "\n"
// line ends; the streams convert them when they write them.

// The comment lines ("*") that open an output point file; every line, the
// last included, ends with "\n".
std::string OutputHeader(const CCoor& departure, const CCoor& arrival, int kind);

// The column-title line of an output point file, without its line end.
std::string ColumnTitles(int outputFormat, const CCoor& arrival, bool linearAlteration);

// The header of a report file: banner with the time stamp, the names of the
// input and output point files, systems, ellipsoids and the coordinate
// descriptions of both sides in the files' layouts (DataFormat).
std::string ReportHeader(const CCoor& departure, const CCoor& arrival,
                         const std::string& inputName, int inputFormat,
                         const std::string& outputName, int outputFormat, int kind);

// The first line of a report, before its time stamp: exactly 50 characters.
extern const char* const kReportBanner;
