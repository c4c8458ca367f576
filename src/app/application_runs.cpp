#include "app/application_runs.h"

#include "app/quorvel_app.h"
#include "engine/grid_transformation.h"
#include "runs/interactive_run.h"
#include "runs/window_file_run.h"

namespace {

// The application's grids, with the working directory as it is now.
GridContext Grids(CQuorvelApp& app) {
    return {app.catalogue,   app.verticalGrid,     app.translationGrid,
            app.gridHeaders, app.workingDirectory, false};
}

}  // namespace

CApplicationRuns::CApplicationRuns(CQuorvelApp& app, UserInterface& ui, CCoor& lastResult)
    : app_(app), ui_(ui), lastResult_(lastResult) {}

void CApplicationRuns::RunInteractive(int kind, CCoor& source, CCoor& target) {
    GridContext grids = Grids(app_);
    const WindowRunEnvironment environment{grids, &app_.interactiveLog, ui_, app_.Caption()};
    ::RunInteractive(kind, source, target, lastResult_, environment);
}

void CApplicationRuns::RunFile(const FileRunRequest& request) {
    GridContext grids = Grids(app_);
    // The candidates' files are looked at once in the run, not at every point.
    GridHeaderCache::RunScope headersRun(app_.gridHeaders);
    const WindowRunEnvironment environment{grids, &app_.interactiveLog, ui_, app_.Caption()};
    RunWindowFile(request, environment);
}

void ReleaseCurrentGrids(CQuorvelApp& app) {
    for (CGrille* grid :
         {static_cast<CGrille*>(&app.translationGrid), static_cast<CGrille*>(&app.verticalGrid)}) {
        grid->Fermer();
        grid->loaded = false;
    }
}
