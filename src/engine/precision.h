#pragma once

#include <string>

// Code carried by the points that lie outside every listed vertical grid.
inline constexpr int kOutsideVerticalGrid = -999;

// The sentence that tells a user how good a transformed coordinate is, from
// the precision code of the transformation record or of the grid node. Codes
// without a sentence give the empty text.
std::string PrecisionText(int code);
