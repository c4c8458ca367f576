#pragma once

#include <functional>
#include <string>

#include "engine/coordinate.h"
#include "runs/point_procedure.h"

class In_Fic;
class Out_Fic;
struct GridContext;
class UserInterface;

// The lines of a file run, from the input point file to the output (and the
// report and the log), on one thread or on several.
//
// Reading a line, the grid selection and the loading of the current grids
// stay on the calling thread, in the order of the file, as one thread does
// them; the rest of each point (extent tests, computation, the text of its
// output line, report line and log entry) is spread over the threads, each
// point computed on a copy of the current grids as its selection left them;
// the texts are written on the calling thread in the order of the file. The
// files are therefore the same, byte for byte, whatever the thread count.
// A bounded number of lines is in flight, so memory stays flat.

// The thread count of a run when none is configured: every core.
int DefaultRunThreads();
// The thread count of a configured or typed value: 0 (or less) for every
// core, at most 256.
int RunThreads(int configured);

// What a file run gives its lines.
struct PointLineRun {
    int kind = 0;  // TransfoKind
    CCoor departure, arrival;  // the two sides before any line is read
    PointFailureTexts texts;
    bool linearAlteration = true;  // Ecrire_Point's flag
    In_Fic* input = nullptr;
    Out_Fic* output = nullptr;
    Out_Fic* report = nullptr;  // none when null
    Out_Fic* log = nullptr;     // computed points are logged when not null
    GridContext* grids = nullptr;
    UserInterface* ui = nullptr;  // what loading a grid tells the user
    int threads = 1;
    // Called before each line is read (the window's progress), on the
    // calling thread: false when the user asked to stop the run there.
    std::function<bool()> lineRead;
};

// Why the lines ended.
enum class PointLinesEnd {
    InputEnd,           // the input was read to its end (or could not be read further)
    GridNotLoaded,      // a current grid could not be loaded: `message` says why
    OutputWriteFailed,  // the output could not be written: the run stops
    ReportWriteFailed,  // the report could not be written: the run stops
    Cancelled,          // the user stopped the run: the lines read before are written
};

struct PointLineCounts {
    PointLinesEnd end = PointLinesEnd::InputEnd;
    std::string message;
    long long succeeded = 0;
    long long failed = 0;     // ComputationFailed
    long long outOfZone = 0;  // OutOfZone
    long long refused = 0;    // lines that are neither points, comments nor blank
};

// Every line of `run.input` into `run.output` (and the report and the log):
// stops at a grid that cannot be loaded, at a file that cannot be written or
// when `lineRead` says so, after the lines before them are written, as the
// run on one thread does.
PointLineCounts RunPointLines(const PointLineRun& run);
