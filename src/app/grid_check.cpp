#include "app/grid_check.h"

#include "shared/platform.h"
#include "shared/user_interface.h"
#include "grids/grid.h"

namespace {

template <class Grid, class Entry>
int CheckGrids(CatalogueList<Entry>& entries, const std::string& workingDirectory, bool console,
               UserInterface& ui, const std::string& caption) {
    for (Entry& entry : entries) {
        Grid grid;
        // Grid file names in the catalogue are relative to the working directory.
        SetCurrentDirectory(workingDirectory);
        grid.NAME = entry.fileName;
        std::string message;
        grid.Ouvrir(message, console, ModeSurDisque, &ui);
        grid.Fermer();
        if (!message.empty()) {
            ui.ShowError(message, caption);
            return 0;
        }
        entry.fileName = grid.NAME;
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
