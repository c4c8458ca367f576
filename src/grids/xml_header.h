#pragma once

#include <string>

class CGrille;

// Reads the XML header of a grid: the root element "GRID_HEADER" whose child
// elements complete or override the header fields. An empty file name means
// the header beside the grid file (same stem, ".xml"). Returns an empty
// message when the document was read, otherwise the French failure text.
std::string Lire_Xml(CGrille& grid, const std::string& fileName);
