#pragma once

#include <string>

#include "catalogue/catalogue.h"

class UserInterface;

// The start-up grid check: every grid that the catalogue names is opened
// once, so that a missing or damaged grid file is reported before any run
// and every text grid is converted into its binary cache while nobody waits
// for a result. Each entry's file name is then replaced by the name of the
// file actually opened (for a text grid, its ".bin" cache), which every later
// selection uses.

// Checks one list in catalogue order: 1 when every grid opened, 0 at the
// first one that did not, after showing its message in an error box titled
// `caption` (in the console too). Entries checked before it keep their new
// names. Grid file names are relative to the working directory; console
// selects the console progress instead of the progress window.
int CheckVerticalGrids(CatalogueList<CGr1dEntry>& entries, const std::string& workingDirectory,
                       bool console, UserInterface& ui, const std::string& caption);
int CheckTranslationGrids(CatalogueList<CGr3dEntry>& entries, const std::string& workingDirectory,
                          bool console, UserInterface& ui, const std::string& caption);

// The check of start-up: the "GR1D" list, then the "GR3D" list (not checked
// when the first fails). True when every grid opened.
bool CheckCatalogueGrids(Catalogue& catalogue, const std::string& workingDirectory, bool console,
                         UserInterface& ui, const std::string& caption);
