#pragma once

#include <string>

class CGrille;
class GridProgress;
class UserInterface;

// Loads a current grid that a selection marked not loaded: the grid is opened
// again from the working directory with its values (mode 0). Empty on
// success, else the opening's message. A text grid that needs its cache made
// shows its progress through `progress` (none when null); `ui` shows what the
// opening of a binary file tells the user.
std::string LoadCurrentGrid(CGrille& grid, const std::string& workingDirectory,
                            GridProgress* progress, UserInterface* ui = nullptr);
