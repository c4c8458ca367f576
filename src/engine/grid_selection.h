#pragma once

#include <string>

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "grids/grid.h"
#include "grids/grid_header_cache.h"

class GridProgress;

// The choice, before each point, of the current translation grid and the
// current vertical grid among the catalogue's: the finest listed grid whose
// zone holds the point (and, in a file of several sub-grids, one of them).

// What the selections work on: the catalogue, the application's two current
// grids, the header cache, the working directory that grid file names are
// relative to, and how a grid loaded during the run shows its progress.
struct GridContext {
    const Catalogue& catalogue;
    CGrille1D& verticalGrid;
    CGrille3D& translationGrid;
    GridHeaderCache& headers;
    std::string workingDirectory;
    GridProgress* progress = nullptr;  // none shown when null
    // A context lives for one run. The current grids' files, which may have
    // been truncated, rewritten, replaced or removed since the last run, are
    // looked at once in it, at the first selection that keeps them.
    bool translationFileSeen = false, verticalFileSeen = false;
};

// Results of the selections.
inline constexpr int kGridFound = 1;         // found, or no grid needed
inline constexpr int kGridNotFound = 0;      // no listed grid covers the point
inline constexpr int kNoVerticalGrid = -1;   // no vertical grid listed for the point
inline constexpr int kNoVerticalValue = -2;  // no vertical system or vertical value

// Chooses the finest translation grid joining the two systems that covers
// the point and makes it the current translation grid (marked not loaded
// when it is another file than the current one). 1 found (or same system),
// 0 not found (`zone` then holds the last candidate's zone), 600 when an
// approximation record that the test needs is missing.
int SelectTranslationGrid(GridContext& context, CCoor source, CSysCoor target, CZone& zone);

// The same for the vertical grid of the source's vertical system. `kind` is
// the run's TransfoKind. 1, 0 (the vertical precision codes of source and
// target become -999), -1, -2 or 600; `message` is "OK".
int SelectVerticalGrid(GridContext& context, int kind, CCoor& source, CCoor& target, CZone& zone,
                       std::string& message);
