#pragma once

#include "catalogue/records.h"
#include "geodesy/projected_point.h"

// Map projections driven by a catalogue projection record, on plain numbers:
// longitudes from Greenwich and latitudes in radians, eastings and northings
// in metres. The coordinate-level conversions build on these.

// Status of a projection record whose family (or Lambert subkind) is not handled.
inline constexpr int kProjectionNotHandled = 300;

// The record conversion of projection angles to radians: it knows radians,
// grades and packed degrees-minutes-seconds, and reads every other unit code
// as decimal degrees.
double RecordAngleToRadians(double value, int unit);

// Central longitude from Greenwich, in radians, of a Lambert, transverse
// Mercator or equal-area record: its origin longitude plus the longitude of
// its prime meridian (none for Greenwich, id 1).
double RecordCentralLongitude(const CPrc& record);

// Forward projection of (λ, φ) by the record's family: 0, or
// kProjectionNotHandled for families other than 1, 2, 3, 5, 6 and for a
// Lambert record whose subkind is not 1, 2 or 3, or a record without an
// ellipsoid (`out` is then untouched).
// The constants of a record are computed once and kept, per thread, for the
// few records last used, keyed by every value they depend on: the results
// are those of constants computed at each call.
int ProjectGeographic(const CPrc& record, double lambda, double phi, ProjectedPoint& out);

// Inverse projection, same statuses. The last result of each kept record is
// kept too and given again for the same easting and northing.
int UnprojectProjected(const CPrc& record, double easting, double northing, GeographicPoint& out);
