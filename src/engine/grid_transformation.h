#pragma once

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/validity_zone.h"
#include "grids/grid.h"

// The grid method's change of reference system, read from a translation grid
// at each point.
//
// Two kinds of translation grid:
// - the system's own grids hold 3 (Tx, Ty, Tz in metres) or 7 (with Rx, Ry,
//   Rz in seconds of arc and D in parts per million) similarity parameters
//   per node; a grid listed from A to B has its nodes positioned in the
//   geographic coordinates of B;
// - shift grids, whose nodes hold 4 values (NTv2: latitude shift, longitude
//   shift positive westwards, and their accuracies, in seconds of arc),
//   whatever the file format. Their nodes are positioned in the geographic
//   coordinates of A, the first system of their "GR3D" entry, and the shifts
//   move a point of A onto B.
//
// The choice of the grids is in engine/grid_selection.h, their loading in
// engine/current_grid_loading.h.

// Whether a translation grid is a shift grid (4 values per node).
bool IsShiftGrid(const CGrille& grid);

// The grid change of reference system of one working coordinate: status 0,
// 300 or 600. The coordinate leaves in the target system.
int ApplyGridTransformation(CCoor& coordinate, const CSysCoor& target, CGrille3D& grid,
                            const Catalogue& catalogue);

// The whole chain with the grid change of system (geographic targets: the
// meridian, then the unit); `arrivalLocation` as TransformPointStandard's.
int TransformPointGrid(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                       CGrille3D& translationGrid, const Catalogue& catalogue,
                       ZoneLocation* arrivalLocation = nullptr);

// TransformPointGrid of `count` points, as TransformPointsStandard takes its
// points: each with exactly the steps and numbers it has alone, the
// conversions and projections of all of them side by side.
void TransformPointsGrid(CCoor* const* sources, CCoor* const* targets, int count,
                         CGrille1D& verticalGrid, CGrille3D& translationGrid,
                         const Catalogue& catalogue, ZoneLocation* const* arrivalLocations,
                         int* statuses);
