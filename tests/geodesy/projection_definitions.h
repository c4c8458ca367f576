#pragma once

// Projections defined in code for the projection tests and benchmark: the
// ellipsoids of the reference tables (e² from a and the flattening, as PROJ
// derives it), the Greenwich and Paris meridians, and projection parameters.

#include "geodesy/angle_unit.h"
#include "geodesy/projection.h"

namespace projections {

struct EllipsoidValues {
    double a = 0, e2 = 0;
};

inline double FlatteningE2(double inverseFlattening) {
    const double f = 1 / inverseFlattening;
    return f * (2 - f);
}

inline const EllipsoidValues kClarkeIgn{
    6378249.2, (6378249.2 * 6378249.2 - 6356515.0 * 6356515.0) / (6378249.2 * 6378249.2)};
inline const EllipsoidValues kInternational{6378388, FlatteningE2(297)};
inline const EllipsoidValues kGrs80{6378137, FlatteningE2(298.257222101)};
inline const EllipsoidValues kWgs84{6378137, FlatteningE2(298.257223563)};

// The prime meridian a projection's origin longitude is counted from.
struct PrimeMeridian {
    bool shift = false;  // false for Greenwich
    double longitude = 0;
    int unit = DecimalDegree;
};
inline const PrimeMeridian kGreenwich{};
inline const PrimeMeridian kParis{true, 2.5969213, Grade};

inline ProjectionParameters Projection(int family, int subkind, int unit, const EllipsoidValues& e,
                                       const PrimeMeridian& m, double lon0, double lat0, double k0,
                                       double x0, double y0, double phi1 = 0, double phi2 = 0) {
    ProjectionParameters p;
    p.family = family;
    p.lambertSubkind = subkind;
    p.unit = unit;
    p.a = e.a;
    p.e2 = e.e2;
    p.meridianShift = m.shift;
    p.meridianLongitude = m.longitude;
    p.meridianUnit = m.unit;
    p.originLongitude = lon0;
    p.originLatitude = lat0;
    p.scaleFactor = k0;
    p.falseEasting = x0;
    p.falseNorthing = y0;
    p.firstParallel = phi1;
    p.secondParallel = phi2;
    return p;
}

}  // namespace projections
