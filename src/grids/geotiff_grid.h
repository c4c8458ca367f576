#pragma once

#include <memory>
#include <string>

#include "grids/grid_reader.h"

// GeoTIFF grids (".tif", ".tiff") as PROJ publishes them: one image per
// grid, or one image per sub-grid of a grid of several (GridHeader::subGrids;
// overviews and masks are not grids), geographic georeferencing (ModelTiepoint and ModelPixelScale, or a
// ModelTransformation without rotation; pixel-is-point or pixel-is-area), the
// meaning of the bands in the GDAL metadata. Three kinds are read:
//   - a geoid model, one band (the geoid's height above the ellipsoid,
//     metres): one value per node;
//   - horizontal offsets, bands "latitude_offset" and "longitude_offset"
//     (arc-seconds, the longitude's positive direction in its band's
//     "positive_value"): the four values of an NTv2 node (latitude shift,
//     longitude shift positive westwards, two accuracies of 0), in seconds;
//   - geocentric translations, bands "x_translation", "y_translation",
//     "z_translation" (metres): three values per node.
// Values are decoded block by block (a tile or a strip of one band) when a
// query needs them, through a small cache of blocks, so that memory stays
// flat whatever the size of the grid; the copies of a grid share the cache. The rows are kept as the file stores
// them (north to south, or south to north), the values as reals.

// The reader of the GeoTIFF grid `path`; `name` is the file name the
// messages give. Never null: a file that cannot be read is refused by its
// header reading, with the message.
std::unique_ptr<GridReader> OpenGeoTiffReader(const std::string& path, const std::string& name);
