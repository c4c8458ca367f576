#pragma once

#include <cstdio>
#include <string>

#include "grids/grid_header.h"

class GridProgress;
class GridReader;

// The binary cache (".bin") of a text grid: a header of little-endian numbers
// beginning with "GRID", followed by the node records in storage order. Its
// reader is Lire_EnTete_Binaire (grids/grid_reader.h).

// Writes the cache header to `cache` and leaves it at the first record,
// whose offset header.firstRecordOffset takes.
bool Ecrire_EnTete_Binaire(GridHeader& header, std::FILE* cache);

// Makes the cache `path` (the file header.NAME names) of the text grid that
// `text` has read the header of: the cache header, then every node record of
// the text, with the progress of "Création du fichier binaire". The cache
// takes its name only once complete. Empty on success, else the French
// message.
std::string Ecrire_Cache(GridHeader& header, GridReader& text, const std::string& path,
                         GridProgress* progress);
