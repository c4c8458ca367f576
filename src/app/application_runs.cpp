#include "app/application_runs.h"

#include "app/quorvel_app.h"
#include "engine/grid_selection.h"
#include "grids/grid_progress.h"
#include "runs/interactive_run.h"
#include "runs/window_file_run.h"

namespace {

// The application's grids, with the working directory as it is now; a grid
// loaded during a run shows its progress in a progress window.
GridContext Grids(CQuorvelApp& app, GridProgress& progress) {
    return {app.catalogue,   app.verticalGrid,     app.translationGrid,
            app.gridHeaders, app.workingDirectory, &progress};
}

}  // namespace

CApplicationRuns::CApplicationRuns(CQuorvelApp& app, UserInterface& ui, CCoor& lastResult)
    : app_(app), ui_(ui), lastResult_(lastResult) {}

void CApplicationRuns::RunInteractive(int kind, CCoor& source, CCoor& target) {
    WindowGridProgress progress(ui_);
    GridContext grids = Grids(app_, progress);
    const WindowRunEnvironment environment{grids, &app_.interactiveLog, ui_, app_.Caption()};
    ::RunInteractive(kind, source, target, lastResult_, environment);
}

void CApplicationRuns::RunFile(const FileRunRequest& request) {
    WindowGridProgress progress(ui_);
    GridContext grids = Grids(app_, progress);
    // The candidates' files are looked at once in the run, not at every point.
    GridHeaderCache::RunScope headersRun(app_.gridHeaders);
    const WindowRunEnvironment environment{grids, &app_.interactiveLog, ui_, app_.Caption(),
                                           app_.runThreads};
    RunWindowFile(request, environment);
}

void ReleaseCurrentGrids(CQuorvelApp& app) {
    for (CGrille* grid :
         {static_cast<CGrille*>(&app.translationGrid), static_cast<CGrille*>(&app.verticalGrid)}) {
        grid->Fermer();
        grid->loaded = false;
    }
}
