#pragma once

#include "catalogue/records.h"
#include "engine/coordinate.h"
#include "geodesy/projection.h"  // kProjectionNotHandled

// Conversions of one coordinate between its types, angle units and prime
// meridians, within its own reference system. Each returns a status code:
// 0 for success, kProjectionNotHandled when a projection family is not handled.
//
// The coordinate's `sys.meridian` always names the meridian its longitude is
// counted from. A step that leaves the longitude counted from Greenwich names
// `greenwich`, the catalogue's Greenwich record (FindGreenwich); it may be
// null, and a coordinate without a meridian record counts from Greenwich.
// No operation changes a catalogue record.

// The Greenwich record of a prime-meridian list: the last one with id 1, or
// null when the list has none.
const CLgo* FindGreenwich(const CatalogueList<CLgo>& meridians);

// True for a meridian record that is Greenwich (id 1), and for no record.
bool IsGreenwich(const CLgo* meridian);

// Re-expresses longitude and latitude in `unit` and records it.
int SetUnit(CCoor& coordinate, int unit);

// Makes the longitude count from Greenwich: adds the longitude of the
// coordinate's meridian, then names `greenwich`.
int ToGreenwich(CCoor& coordinate, const CLgo* greenwich);

// Re-expresses the longitude from `meridian` and names it.
int ChangeMeridian(CCoor& coordinate, const CLgo* meridian, const CLgo* greenwich);

// Any type to cartesian on the system's ellipsoid. A projected coordinate
// goes through its inverse projection; when that fails the status is
// kProjectionNotHandled and the type becomes cartesian all the same, with
// x, y, z left as they were.
int ToCartesian(CCoor& coordinate, const CLgo* greenwich);

// Cartesian or projected to geographic, in radians from Greenwich; a
// geographic coordinate is left as it is.
int ToGeographic(CCoor& coordinate, const CLgo* greenwich);

// Any type to projected coordinates in `projection`, which the coordinate
// names afterwards whatever the status.
int ToProjection(CCoor& coordinate, const CPrc* projection, const CLgo* greenwich);

// Forward projection of a geographic coordinate by `projection`: easting,
// northing, linear alteration (mm/km) and convergence (in the record's angle
// unit). The type becomes projected in every case; an unhandled family sets
// `projectionError` and returns kProjectionNotHandled.
int GeographicToProjected(CCoor& coordinate, const CPrc* projection, const CLgo* greenwich);

// Inverse projection by the coordinate's own projection, to radians from
// Greenwich. An unhandled family returns kProjectionNotHandled and leaves the
// coordinate unchanged.
int ProjectedToGeographic(CCoor& coordinate, const CLgo* greenwich);

// ToCartesian, ToGeographic and ToProjection of `count` coordinates, with for
// each exactly the steps and numbers of the conversion alone (statuses in
// `statuses`): the geocentric conversions and the Lambert projections of
// several points are computed side by side (geodesy's ...Many functions).
void ToCartesianMany(CCoor* const* coordinates, int count, const CLgo* greenwich, int* statuses);
void ToGeographicMany(CCoor* const* coordinates, int count, const CLgo* greenwich, int* statuses);
void ToProjectionMany(CCoor* const* coordinates, int count, const CPrc* projection,
                      const CLgo* greenwich, int* statuses);
