#pragma once

#include <string>
#include <string_view>

#include "catalogue/catalogue.h"

// The catalogue's geodetic systems as a shell user reads them, with the ids
// that the command line asks for: for each system its id, name and
// dimension, the coordinate types and angle units it offers, the prime
// meridians, the projections it may use, the vertical systems that one of
// its vertical grids serves and the systems that a standard or a grid
// transformation joins it to. Texts are UTF-8, names as the catalogue
// writes them.

// The system that `key` names: the first whose id is the whole number `key`,
// else the first whose name is exactly `key`; null when none.
const CReg* FindSystemByIdOrName(const Catalogue& catalogue, std::string_view key);

// One system's entry, ending with a line break.
std::string SystemListing(const Catalogue& catalogue, const CReg& system);

// Every system of the catalogue, in catalogue order, then the vertical
// systems of the catalogue.
std::string CatalogueListing(const Catalogue& catalogue);

// The refusal of a system that the catalogue does not hold, with its line
// break.
std::string UnknownSystemText(std::string_view key);
