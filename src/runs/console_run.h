#pragma once

#include <functional>
#include <string>
#include <string_view>

struct Catalogue;
struct CQuorvelCommandLine;
class CGrille1D;
class CGrille3D;
class GridHeaderCache;

// How a console run ended.
enum class ConsoleRunOutcome {
    Finished,  // every point was transformed (or the help was shown)
    FinishedWithRefusedLines,  // the run went to its end, but input lines were not points
    Stopped,   // invalid command line, same file twice, a file that cannot be opened
    Failed,    // a point or a file failed during the run (message in the result text)
};

// What the console run works with, provided by the application.
struct ConsoleRunEnvironment {
    const Catalogue& catalogue;
    CGrille1D& verticalGrid;  // the current vertical grid, kept between points
    // The path of a file name given on the command line.
    std::function<std::string(const std::string&)> resolvePath;
    // Writes UTF-8 text to the console.
    std::function<void(std::string_view)> write;
    // The grid method: the current translation grid, the header cache of
    // the candidate grids and the working directory that grid file names
    // are relative to. Without them a run keeps its own for its duration.
    CGrille3D* translationGrid;
    GridHeaderCache* gridHeaders;
    std::string workingDirectory;
};

// The console transformation: help request, validation, then one point
// given on the command line or every line of an input point file into an
// output point file. When it does not finish, `result` holds the text the
// caller writes to the console.
ConsoleRunOutcome RunConsoleTransformation(const CQuorvelCommandLine& line,
                                           const ConsoleRunEnvironment& environment,
                                           std::string& result);

// The arrival point of single-point mode as the console shows it: labelled
// with a line end when verbose, bare without one otherwise.
struct CCoor;
std::string SinglePointText(const CCoor& arrival, int verticalKind, bool verticalSystemGiven,
                            bool verbose);

// Whether two paths name the same file: equal names, or one file reached
// through two names (relative and absolute paths, links).
bool SameFile(const std::string& first, const std::string& second);
