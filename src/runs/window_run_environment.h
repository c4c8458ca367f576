#pragma once

#include <string>

struct GridContext;
class Out_Fic;
class UserInterface;

// What the window's runs (file and interactive) work with, provided by the
// application: the catalogue and the current grids, the interactive log and
// the user.
struct WindowRunEnvironment {
    GridContext& grids;
    Out_Fic* log = nullptr;  // the interactive log; null when there is none
    UserInterface& ui;
    std::string caption;  // the application title, caption of every box and of the progress
    int threads = 0;      // threads of a file run; 0 for every core
};
