#include "geodesy/projection.h"

#include <bit>
#include <cstdint>

#include "geodesy/angle.h"
#include "geodesy/equal_area.h"
#include "geodesy/gauss_laborde.h"
#include "geodesy/lambert_conic.h"
#include "geodesy/plain_computation.h"
#include "geodesy/transverse_mercator.h"

namespace {

enum ProjectionFamily : int {
    LambertFamily = 1,
    TransverseMercatorFamily = 2,
    TransverseMercatorFamilyToo = 3,
    GaussLabordeFamily = 5,
    EqualAreaFamily = 6,
};

bool LambertConstants(const ProjectionParameters& p, LambertConic& c) {
    const double lambdaM = CentralLongitude(p);
    const double phi0 = ProjectionAngleToRadians(p.originLatitude, p.unit);
    switch (p.lambertSubkind) {
        case 1:
        case 2:
            c = LambertTangent(p.a, p.e2, lambdaM, phi0, p.scaleFactor, p.falseEasting,
                               p.falseNorthing);
            return true;
        case 3:
            c = LambertSecant(p.a, p.e2, lambdaM, phi0,
                              ProjectionAngleToRadians(p.firstParallel, p.unit),
                              ProjectionAngleToRadians(p.secondParallel, p.unit), p.falseEasting,
                              p.falseNorthing);
            return true;
        default:
            return false;
    }
}

TransverseMercator MercatorConstants(const ProjectionParameters& p) {
    return TransverseMercatorConstants(p.a, p.e2, CentralLongitude(p),
                                       ProjectionAngleToRadians(p.originLatitude, p.unit),
                                       p.scaleFactor, p.falseEasting, p.falseNorthing);
}

// Gauss-Laborde takes its angles through the full unit conversion and
// ignores the prime meridian.
GaussLaborde LabordeConstants(const ProjectionParameters& p) {
    return GaussLabordeConstants(p.a, p.e2, ConvertAngle(p.originLongitude, p.unit, Radian),
                                 ConvertAngle(p.originLatitude, p.unit, Radian), p.scaleFactor,
                                 p.falseEasting, p.falseNorthing);
}

EqualArea AzimuthalConstants(const ProjectionParameters& p) {
    return EqualAreaConstants(p.a, p.e2, CentralLongitude(p),
                              ConvertAngle(p.originLatitude, p.unit, Radian), p.falseEasting,
                              p.falseNorthing);
}

// ---- Constants computed once per projection -------------------------------
//
// A file run projects every point with the same one or two projections, and
// the constants of a family (isometric latitudes of the parallels, series
// coefficients) cost more than the projection of a point. They are kept for
// the few projections last used, keyed by every value they are computed
// from, so that a projection whose values differ never gets constants that
// are not its own. The values are the ones computed at each call: the same
// functions on the same numbers.

bool SameBits(double x, double y) {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
}

// Whether two projections have the same values, the real ones compared bit
// for bit (the false origin first: it tells most projections apart). The
// prime meridian's values count only when it shifts the origin.
bool SameValues(const ProjectionParameters& x, const ProjectionParameters& y) {
    if (!SameBits(x.falseEasting, y.falseEasting) || !SameBits(x.falseNorthing, y.falseNorthing) ||
        x.family != y.family || x.lambertSubkind != y.lambertSubkind || x.unit != y.unit ||
        !SameBits(x.originLatitude, y.originLatitude) ||
        !SameBits(x.originLongitude, y.originLongitude) ||
        !SameBits(x.scaleFactor, y.scaleFactor) || !SameBits(x.firstParallel, y.firstParallel) ||
        !SameBits(x.secondParallel, y.secondParallel) || !SameBits(x.a, y.a) ||
        !SameBits(x.e2, y.e2) || x.meridianShift != y.meridianShift)
        return false;
    return !x.meridianShift ||
           (x.meridianUnit == y.meridianUnit && SameBits(x.meridianLongitude, y.meridianLongitude));
}

// The constants of one projection, with the last inverse projection made
// with them: the runs ask for the geographic position of the same projected
// point several times (extent tests, grid selection, computation).
struct PreparedProjection {
    ProjectionParameters key;
    bool handled = false;  // a family (and Lambert subkind) with constants
    LambertConic lambert;
    TransverseMercator mercator;
    GaussLaborde laborde;
    EqualArea equalArea;
    bool inverseKept = false;
    std::uint64_t inverseEasting = 0, inverseNorthing = 0;
    GeographicPoint inverse;

    void Prepare(const ProjectionParameters& p) {
        key = p;
        inverseKept = false;
        switch (p.family) {
            case LambertFamily:
                handled = LambertConstants(p, lambert);
                break;
            case TransverseMercatorFamily:
            case TransverseMercatorFamilyToo:
                mercator = MercatorConstants(p);
                handled = true;
                break;
            case GaussLabordeFamily:
                laborde = LabordeConstants(p);
                handled = true;
                break;
            case EqualAreaFamily:
                equalArea = AzimuthalConstants(p);
                handled = true;
                break;
            default:
                handled = false;
                break;
        }
    }
};

// A few projections per thread: a run uses its departure and arrival ones.
constexpr int kPreparedProjections = 4;

struct PreparedProjections {
    PreparedProjection slots[kPreparedProjections];
    int used = 0;
    int next = 0;
};

thread_local PreparedProjections prepared;

// A projection whose values no slot holds: a new slot takes its constants.
[[gnu::noinline]] PreparedProjection& PrepareFor(const ProjectionParameters& projection) {
    PreparedProjection& slot = prepared.slots[prepared.next];
    prepared.next = (prepared.next + 1) % kPreparedProjections;
    if (prepared.used < kPreparedProjections) ++prepared.used;
    slot.Prepare(projection);
    return slot;
}

PreparedProjection& Prepared(const ProjectionParameters& projection) {
    for (int i = 0; i < prepared.used; ++i) {
        PreparedProjection& slot = prepared.slots[i];
        if (SameValues(slot.key, projection)) return slot;
    }
    return PrepareFor(projection);
}

// The family computations with prepared constants.
int Forward(const PreparedProjection& p, double lambda, double phi, ProjectedPoint& out) {
    if (!p.handled) return kProjectionNotHandled;
    switch (p.key.family) {
        case LambertFamily:
            out = LambertForward(p.lambert, lambda, phi);
            return 0;
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorForward(p.mercator, lambda, phi);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeForward(p.laborde, lambda, phi);
            return 0;
        default:  // EqualAreaFamily
            out = EqualAreaForward(p.equalArea, lambda, phi);
            return 0;
    }
}

int Inverse(const PreparedProjection& p, double easting, double northing, GeographicPoint& out) {
    if (!p.handled) return kProjectionNotHandled;
    switch (p.key.family) {
        case LambertFamily:
            out = LambertInverse(p.lambert, easting, northing);
            return 0;
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorInverse(p.mercator, easting, northing);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeInverse(p.laborde, easting, northing);
            return 0;
        default:  // EqualAreaFamily
            out = EqualAreaInverse(p.equalArea, easting, northing);
            return 0;
    }
}

}  // namespace

double ProjectionAngleToRadians(double value, int unit) {
    switch (unit) {
        case Radian:
        case Grade:
        case PackedDms:
            return ConvertAngle(value, unit, Radian);
        default:
            return ConvertAngle(value, DecimalDegree, Radian);
    }
}

double CentralLongitude(const ProjectionParameters& projection) {
    double lambdaM = ProjectionAngleToRadians(projection.originLongitude, projection.unit);
    if (projection.meridianShift)
        lambdaM += ProjectionAngleToRadians(projection.meridianLongitude, projection.meridianUnit);
    return lambdaM;
}

int ProjectGeographic(const ProjectionParameters& projection, double lambda, double phi,
                      ProjectedPoint& out) {
    if (PlainComputation()) {
        PreparedProjection fresh;
        fresh.Prepare(projection);
        return Forward(fresh, lambda, phi, out);
    }
    return Forward(Prepared(projection), lambda, phi, out);
}

int UnprojectProjected(const ProjectionParameters& projection, double easting, double northing,
                       GeographicPoint& out) {
    if (PlainComputation()) {
        PreparedProjection fresh;
        fresh.Prepare(projection);
        return Inverse(fresh, easting, northing, out);
    }
    PreparedProjection& p = Prepared(projection);
    if (!p.handled) return kProjectionNotHandled;
    const std::uint64_t e = std::bit_cast<std::uint64_t>(easting);
    const std::uint64_t n = std::bit_cast<std::uint64_t>(northing);
    if (p.inverseKept && p.inverseEasting == e && p.inverseNorthing == n) {
        out = p.inverse;
        return 0;
    }
    const int status = Inverse(p, easting, northing, out);
    p.inverseKept = true;
    p.inverseEasting = e;
    p.inverseNorthing = n;
    p.inverse = out;
    return status;
}

int UnprojectProjectedMany(const ProjectionParameters& projection, const double* eastings,
                           const double* northings, int count, GeographicPoint* out) {
    if (PlainComputation()) {
        for (int i = 0; i < count; ++i) {
            const int status = UnprojectProjected(projection, eastings[i], northings[i], out[i]);
            if (status != 0) return status;
        }
        return 0;
    }
    const PreparedProjection& p = Prepared(projection);
    if (!p.handled) return kProjectionNotHandled;
    switch (p.key.family) {
        case LambertFamily:
            LambertInverseMany(p.lambert, eastings, northings, count, out);
            return 0;
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            TransverseMercatorInverseMany(p.mercator, eastings, northings, count, out);
            return 0;
        case GaussLabordeFamily:
            GaussLabordeInverseMany(p.laborde, eastings, northings, count, out);
            return 0;
        default:  // EqualAreaFamily
            for (int i = 0; i < count; ++i) out[i] = EqualAreaInverse(p.equalArea, eastings[i], northings[i]);
            return 0;
    }
}

int ProjectGeographicMany(const ProjectionParameters& projection, const double* lambda,
                          const double* phi, int count, ProjectedPoint* out) {
    if (PlainComputation()) {
        for (int i = 0; i < count; ++i) {
            const int status = ProjectGeographic(projection, lambda[i], phi[i], out[i]);
            if (status != 0) return status;
        }
        return 0;
    }
    const PreparedProjection& p = Prepared(projection);
    if (!p.handled) return kProjectionNotHandled;
    if (p.key.family == LambertFamily) {
        LambertForwardMany(p.lambert, lambda, phi, count, out);
        return 0;
    }
    for (int i = 0; i < count; ++i) Forward(p, lambda[i], phi[i], out[i]);
    return 0;
}
