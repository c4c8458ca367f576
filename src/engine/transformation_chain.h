#pragma once

#include <functional>

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/validity_zone.h"

class CGrille1D;
struct GridHeader;

// The per-point transformation chain: one source coordinate becomes one
// target coordinate through, in order, the vertical conversion on the source
// side, the change of reference system, the return to geographic
// coordinates, the vertical conversion on the target side and the conversion
// into the target's type, unit and prime meridian.
//
// The vertical grid gives N, the height of the vertical reference surface
// above the ellipsoid (ellipsoidal height = altitude + N). It is used only
// when its values are loaded, on a side whose geodetic system is the one its
// zone records; it is queried at the point's Greenwich longitude.

inline constexpr int kNoTransformation = 600;
// A grid gave, at the point, a value that it marks as unknown (its no-data
// value, or a value that is no number): the point is not computed rather
// than shifted by the marker itself.
inline constexpr int kUnknownGridValue = 601;
// A grid gave nothing at a point that its selection had taken (outside every
// lattice of the grid, beyond the step its interpolation accepts): the point
// is not computed rather than shifted by the values that mark it.
inline constexpr int kOutsideGrid = 602;

// Whether an interpolated value of a grid of this header is unknown.
bool UnknownGridValue(const GridHeader& header, double value);

// Standard change of reference system: the first seven-parameter record of
// the catalogue that joins the two systems, inverted when listed from the
// target to the source. 0, kProjectionNotHandled (source side) or
// kNoTransformation (the coordinate is then left as it was).
int ApplyStandardTransformation(CCoor& coordinate, const CSysCoor& target,
                                const Catalogue& catalogue);

// The whole chain with the standard change of system. `target` comes with
// the wanted type, unit and records and leaves with every field of the
// result. Returns the status of the change of system (or of the source's
// inverse projection); a target projection that is not handled leaves
// `projectionError` set without changing the status.
// When `arrivalLocation` is given, a projected or cartesian target leaves in
// it the geographic point (radians from Greenwich) that the last conversion
// started from, where the arrival extent test reads the point.
int TransformPointStandard(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                           const Catalogue& catalogue, ZoneLocation* arrivalLocation = nullptr);

// TransformPointStandard of `count` points (sources[i] into targets[i], with
// arrivalLocations[i], statuses[i]), with for each exactly the steps and the
// numbers of the point alone: the geocentric conversions and the forward
// projections of the points are computed side by side (ToCartesianMany and
// the others), which a file run's points take about half the time of. The
// sources are the chain's working points: they are used up.
void TransformPointsStandard(CCoor* const* sources, CCoor* const* targets, int count,
                             CGrille1D& verticalGrid, const Catalogue& catalogue,
                             ZoneLocation* const* arrivalLocations, int* statuses);

// ---- The shared chain, for the steps that plug into it -------------------

// A change of reference system: re-expresses the working coordinate in the
// target system and returns a status.
using SystemChange = std::function<int(CCoor& working, const CSysCoor& target)>;

// Order of the last two conversions of a geographic target.
enum class GeographicArrival {
    UnitThenMeridian,  // standard method
    MeridianThenUnit,  // grid method
};

int TransformPoint(CCoor source, CCoor& target, CGrille1D& verticalGrid, const Catalogue& catalogue,
                   const SystemChange& changeSystem, GeographicArrival arrival,
                   ZoneLocation* arrivalLocation = nullptr);

// The points a many-point chain takes through each step together: at most
// this many at once.
inline constexpr int kChainSideBySide = 64;

// A change of reference system of `n` working points (at most
// kChainSideBySide), points[k] into the system of targets[k], which differs
// from its own; status[k] takes what the change of that point alone returns.
using SystemChangeOfMany =
    std::function<void(CCoor* const* points, CCoor* const* targets, int n, int* status)>;

// TransformPoint of `count` points, as TransformPointsStandard describes,
// with the given change of system.
void TransformPoints(CCoor* const* sources, CCoor* const* targets, int count,
                     CGrille1D& verticalGrid, const Catalogue& catalogue,
                     const SystemChangeOfMany& changeSystems, GeographicArrival arrival,
                     ZoneLocation* const* arrivalLocations, int* statuses);
