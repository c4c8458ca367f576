#include "app/grid_check.h"

#include "shared/user_interface.h"
#include "grids/grid.h"
#include "grids/grid_progress.h"

namespace {

template <class Grid, class Entry>
int CheckGrids(CatalogueList<Entry>& entries, const std::string& workingDirectory, bool console,
               UserInterface& ui, const std::string& caption) {
    // A text grid converted into its cache shows its progress in the console
    // or in a progress window.
    ConsoleGridProgress consoleProgress;
    WindowGridProgress windowProgress(ui);
    GridProgress& progress =
        console ? static_cast<GridProgress&>(consoleProgress) : windowProgress;
    for (Entry& entry : entries) {
        Grid grid;
        // Grid file names in the catalogue are relative to the working directory.
        grid.header.NAME = entry.fileName;
        grid.folder = workingDirectory;
        std::string message;
        grid.Ouvrir(message, ModeSurDisque, &progress, &ui);
        grid.Fermer();
        if (!message.empty()) {
            ui.ShowError(message, caption);
            return 0;
        }
        entry.fileName = grid.header.NAME;
    }
    return 1;
}

}  // namespace

int CheckVerticalGrids(CatalogueList<CGr1dEntry>& entries, const std::string& workingDirectory,
                       bool console, UserInterface& ui, const std::string& caption) {
    return CheckGrids<CGrille1D>(entries, workingDirectory, console, ui, caption);
}

int CheckTranslationGrids(CatalogueList<CGr3dEntry>& entries, const std::string& workingDirectory,
                          bool console, UserInterface& ui, const std::string& caption) {
    return CheckGrids<CGrille3D>(entries, workingDirectory, console, ui, caption);
}

bool CheckCatalogueGrids(Catalogue& catalogue, const std::string& workingDirectory, bool console,
                         UserInterface& ui, const std::string& caption) {
    return CheckVerticalGrids(catalogue.verticalGrids, workingDirectory, console, ui, caption) ==
               1 &&
           CheckTranslationGrids(catalogue.translationGrids, workingDirectory, console, ui,
                                 caption) == 1;
}
