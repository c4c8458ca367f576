#pragma once

#include "runs/window_run_environment.h"

struct CCoor;

// How an interactive run ended.
enum class InteractiveOutcome {
    OutsideGrid,  // outside every translation grid: the limits were shown, nothing computed
    Stopped,      // the user declined an extent question, or a grid could not be loaded
    Failed,       // the computation returned an error status (shown and logged)
    Computed,     // computed, kept as the last result and logged
};

// The interactive run of a computation page: the one typed point from the
// departure record into the arrival record, with the grid and extent
// questions. A computed point becomes the last result (shared by both
// pages) and is appended to the interactive log.
InteractiveOutcome RunInteractive(int kind, CCoor& departure, CCoor& arrival, CCoor& lastResult,
                                  const WindowRunEnvironment& environment);
