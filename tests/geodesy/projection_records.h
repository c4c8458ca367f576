#pragma once

// Catalogue records built in code for the projection tests and benchmark:
// the ellipsoids of the reference tables (e² from a and the flattening, as
// PROJ derives it), the Greenwich and Paris meridians, and projection records.

#include "catalogue/records.h"
#include "geodesy/angle_unit.h"

namespace records {

inline CElg Ellipsoid(double a, double e2) {
    CElg e;
    e.a = a;
    e.e2 = e2;
    return e;
}

inline double FlatteningE2(double inverseFlattening) {
    const double f = 1 / inverseFlattening;
    return f * (2 - f);
}

inline const CElg kClarkeIgn =
    Ellipsoid(6378249.2, (6378249.2 * 6378249.2 - 6356515.0 * 6356515.0) / (6378249.2 * 6378249.2));
inline const CElg kInternational = Ellipsoid(6378388, FlatteningE2(297));
inline const CElg kGrs80 = Ellipsoid(6378137, FlatteningE2(298.257222101));
inline const CElg kWgs84 = Ellipsoid(6378137, FlatteningE2(298.257223563));

inline CLgo Meridian(int id, double longitude, int unit) {
    CLgo m;
    m.id = id;
    m.longitude = longitude;
    m.unit = unit;
    return m;
}
inline const CLgo kGreenwich = Meridian(1, 0, DecimalDegree);
inline const CLgo kParis = Meridian(2, 2.5969213, Grade);

inline CPrc Projection(int family, int subkind, int unit, const CElg& e, const CLgo& m, double lon0,
                       double lat0, double k0, double x0, double y0, double phi1 = 0,
                       double phi2 = 0) {
    CPrc r;
    r.family = family;
    r.lambertSubkind = subkind;
    r.unit = unit;
    r.ellipsoid = &e;
    r.meridian = &m;
    r.originLongitude = lon0;
    r.originLatitude = lat0;
    r.scaleFactor = k0;
    r.falseEasting = x0;
    r.falseNorthing = y0;
    r.firstParallel = phi1;
    r.secondParallel = phi2;
    return r;
}

}  // namespace records
