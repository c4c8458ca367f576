#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runs/text_conventions.h"
#include "shared/side_settings.h"

struct Catalogue;
class CGrille1D;
class CGrille3D;
class GridHeaderCache;

// Mode of a console run.
inline constexpr int kModeSinglePoint = 0;  // one point given on the command line
inline constexpr int kModeFiles = 1;        // an input and an output point file
inline constexpr int kModeUnset = -1;

// One console run as the command line describes it, once validated.
struct ConsoleRunDescription {
    int kind = 0;  // TransfoKind
    int mode = kModeUnset;
    bool verbose = false;
    // Catalogue ids and codes of each side; `format` 0 when no layout
    // matched, `file` the point file's name as given.
    SideSettings<int> source;
    SideSettings<int> target;
    // The text conventions of the input file that the command line states;
    // the others are recognised from its first lines.
    StatedConventions sourceConventions;
    int verticalSystem = 0;  // 0 for none
    int verticalKind = 0;    // VerticalKind
    int threads = 0;         // threads of a file run; 0 for every core
    // The single point's values, in the fields of every type.
    double x = 0, y = 0, z = 0;
    double lon = 0, lat = 0, he = 0;
    double E = 0, N = 0, H = 0;
};

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
    // Where an output file named "-" goes: the descriptor of the process's
    // standard output as it was given (the console's texts then go to the
    // error stream).
    int pointOutput = 1;
};

// The console transformation of a validated run: one point given on the
// command line, or every line of an input point file into an output point
// file. `result` holds the text the caller writes to the console (the
// failure, or the refused-line count of a quiet run).
ConsoleRunOutcome RunConsoleTransformation(const ConsoleRunDescription& run,
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

// The name of the standard streams as a point file: "-" reads the points
// from the standard input, or writes them to the standard output.
inline constexpr const char* kStandardStream = "-";

// Whether a run would read and write one file: the same file by two names,
// or a standard stream that reaches the file named on the other side
// (`quorvel ... -f1 1 - -f2 1 out.txt < out.txt`). Two "-" are two streams.
bool SameRunFile(const std::string& inputName, const std::string& inputPath,
                 const std::string& outputName, const std::string& outputPath,
                 int pointOutput);
