#pragma once

#include <string_view>

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"

// Resolving the four records of a coordinate system from the catalogue.
// Each returns 1 when every record was found, else 0; the records found are
// set all the same.
//
// The meridian falls back on the system's own meridian when the key matches
// none. A vertical system that matches nothing is the "no vertical system"
// record (id 0, empty name), and the result is 0.

int ResolveByIds(CSysCoor& sys, int systemId, int meridianId, int projectionId, int verticalId,
                 const Catalogue& catalogue);

int ResolveByNames(CSysCoor& sys, std::string_view systemName, std::string_view meridianName,
                   std::string_view projectionName, std::string_view verticalName,
                   const Catalogue& catalogue);

// The record that stands for the absence of a vertical system.
const CRea* NoVerticalSystem();
