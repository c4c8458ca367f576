#pragma once

#include <string>

#include "grids/grid_header.h"

// Reads the XML header of a grid: the root element "GRID_HEADER" whose child
// elements complete or override the header fields. An empty file name means
// the header beside the grid file (same stem, ".xml"). The file is opened
// relative to `folder` (empty: the current directory); the messages give it
// by the name. Returns an empty message when the document was read,
// otherwise the French failure text.
std::string Lire_Xml(GridHeader& header, const std::string& fileName,
                     const std::string& folder = "");

// The XML header, with names for every enumeration; an empty path means the
// grid's own XML header beside its file.
void Ecrire_Xml(const GridHeader& header, const std::string& path);
// The older numeric form of the XML header.
void Ecrire_Xml_Numerique(const GridHeader& header, const std::string& path);
