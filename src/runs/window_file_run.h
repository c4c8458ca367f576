#pragma once

#include <string>

#include "engine/coordinate.h"
#include "runs/text_conventions.h"
#include "runs/window_run_environment.h"

// Everything a window file run needs, prepared by the page's checks.
struct FileRunRequest {
    int kind = 0;                 // TransfoKind
    bool alterationFlag = false;  // convergence and linear alteration on projected lines
    CCoor source;                 // departure descriptors
    CCoor target;                 // arrival descriptors
    int inputFormat = 0;          // DataFormat
    std::string inputPath;
    // The input's text conventions the page states; the others are
    // recognised from the file's first lines, and the output follows them.
    StatedConventions inputConventions;
    int outputFormat = 0;
    std::string outputPath;
    bool report = false;
    std::string reportPath;
};

// The counts of a window file run, as its summary shows them.
struct FileRunCounts {
    bool finished = false;  // the run reached the end of the input and wrote its end lines
    long long succeeded = 0;
    long long failed = 0;  // the computation returned an error status
    long long outOfZone = 0;
    long long refused = 0;  // lines that are neither points, comments nor blank
    long long progressStep = 0;  // lines read between two advances of the bar
};

// The refusal of a named output layout from an unnamed input layout (names
// cannot be invented), or "" when the pair is allowed.
std::string LayoutChangeRefusal(int inputFormat, int outputFormat);

// The file run of a computation page: every line of the input point file
// transformed into the output point file, with a progress window, the
// interactive log, an optional report and the summary box. Every failure is
// told in a message box; nothing is created before the layout pair is
// accepted.
FileRunCounts RunWindowFile(const FileRunRequest& request, const WindowRunEnvironment& environment);
