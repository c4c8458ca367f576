#pragma once

#include <memory>
#include <string>

#include "grids/grid_header.h"
#include "grids/grid_reader.h"

class UserInterface;

// The grid file formats, told apart by the file-name extension: the one
// place that knows which extension is which format and which reader reads it.

// GRID_TYPE and the default units from the extension of NAME.
void Type_Selon_Extension(GridHeader& header);
// Gives NAME the extension of GRID_TYPE.
void Extension_Selon_Type(GridHeader& header);
// Whether the values of a grid type are read in place from a binary file.
bool IsBinaryFormat(int type);
// The reader of format GRID_TYPE on the file `path` (the file NAME names),
// opened; null with the French message when the file cannot be opened or the
// format is not read. `ui` shows what a binary header reader tells the user.
std::unique_ptr<GridReader> OpenGridReader(const GridHeader& header, const std::string& path,
                                           UserInterface* ui, std::string& message);
