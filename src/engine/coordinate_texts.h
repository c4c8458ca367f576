#pragma once

#include <string>

#include "engine/coordinate.h"

// Writes the longitude and latitude of a geographic coordinate in the file
// format of its unit. For a unit without a format both texts keep their
// previous content.
void FormatAngleTexts(const CCoor& coordinate, std::string& longitudeText,
                      std::string& latitudeText);
