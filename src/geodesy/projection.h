#pragma once

#include "geodesy/projected_point.h"

// Map projections on plain numbers: longitudes from Greenwich and latitudes
// in radians, eastings and northings in metres. The coordinate-level
// conversions build on these.

// Status of a projection whose family (or Lambert subkind) is not handled.
inline constexpr int kProjectionNotHandled = 300;

// Everything that defines one map projection, as its definition gives it:
// the angular values in `unit`, the origin longitude counted from the
// projection's prime meridian. Copied by value; holds no reference.
struct ProjectionParameters {
    int lambertSubkind = 0;  // 1 or 2 tangent, 3 secant
    int family = 0;          // 1 Lambert, 2/3 transverse Mercator, 5 Gauss-Laborde, 6 LAEA
    int unit = 0;            // AngleUnit of the angular values
    double secondParallel = 0;
    double firstParallel = 0;
    double scaleFactor = 0;
    double originLatitude = 0;
    double originLongitude = 0;  // from the prime meridian below
    double falseEasting = 0;
    double falseNorthing = 0;
    double a = 0;   // semi-major axis of the ellipsoid, metres
    double e2 = 0;  // first eccentricity squared of the ellipsoid
    // The prime meridian the origin longitude is counted from, when it is
    // not Greenwich: its longitude east of Greenwich, in `meridianUnit`.
    bool meridianShift = false;
    double meridianLongitude = 0;
    int meridianUnit = 0;
};

// The conversion of projection angles to radians: it knows radians, grades
// and packed degrees-minutes-seconds, and reads every other unit code as
// decimal degrees.
double ProjectionAngleToRadians(double value, int unit);

// Central longitude from Greenwich, in radians, of a Lambert, transverse
// Mercator or equal-area projection: its origin longitude plus the
// longitude of its prime meridian when it has one other than Greenwich.
double CentralLongitude(const ProjectionParameters& projection);

// Forward projection of (λ, φ) by the projection's family: 0, or
// kProjectionNotHandled for families other than 1, 2, 3, 5, 6 and for a
// Lambert projection whose subkind is not 1, 2 or 3 (`out` is then
// untouched).
// The constants of a projection are computed once and kept, per thread, for
// the few projections last used, keyed by every value they depend on: the
// results are those of constants computed at each call.
int ProjectGeographic(const ProjectionParameters& projection, double lambda, double phi,
                      ProjectedPoint& out);

// Inverse projection, same statuses. The last result of each kept
// projection is kept too and given again for the same easting and northing.
int UnprojectProjected(const ProjectionParameters& projection, double easting, double northing,
                       GeographicPoint& out);

// UnprojectProjected of `count` points of one projection, the same numbers:
// the latitudes of the Lambert, transverse Mercator and Gauss-Laborde
// families are found side by side (LatitudesFromIsometric). 0, or
// kProjectionNotHandled with `out` untouched.
int UnprojectProjectedMany(const ProjectionParameters& projection, const double* eastings,
                           const double* northings, int count, GeographicPoint* out);
// ProjectGeographic of `count` points of one projection, the same numbers:
// those of the Lambert family computed side by side.
int ProjectGeographicMany(const ProjectionParameters& projection, const double* lambda,
                          const double* phi, int count, ProjectedPoint* out);
