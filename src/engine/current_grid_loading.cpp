#include "engine/current_grid_loading.h"

#include "grids/grid.h"

std::string LoadCurrentGrid(CGrille& grid, const std::string& workingDirectory,
                            GridProgress* progress, UserInterface* ui) {
    grid.Fermer();
    grid.folder = workingDirectory;
    std::string message;
    if (!grid.Ouvrir(message, ModeSurDisque, progress, ui) && message.empty())
        message = "Impossible d'ouvrir le fichier \n" + grid.header.NAME;
    if (!message.empty()) grid.loaded = false;
    return message;
}
