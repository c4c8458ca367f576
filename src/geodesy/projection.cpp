#include "geodesy/projection.h"

#include "geodesy/angle.h"
#include "geodesy/equal_area.h"
#include "geodesy/gauss_laborde.h"
#include "geodesy/lambert_conic.h"
#include "geodesy/transverse_mercator.h"

namespace {

enum ProjectionFamily : int {
    LambertFamily = 1,
    TransverseMercatorFamily = 2,
    TransverseMercatorFamilyToo = 3,
    GaussLabordeFamily = 5,
    EqualAreaFamily = 6,
};

bool LambertConstants(const CPrc& r, LambertConic& c) {
    const double a = r.ellipsoid->a, e2 = r.ellipsoid->e2;
    const double lambdaM = RecordCentralLongitude(r);
    const double phi0 = RecordAngleToRadians(r.originLatitude, r.unit);
    switch (r.lambertSubkind) {
        case 1:
        case 2:
            c = LambertTangent(a, e2, lambdaM, phi0, r.scaleFactor, r.falseEasting,
                               r.falseNorthing);
            return true;
        case 3:
            c = LambertSecant(a, e2, lambdaM, phi0, RecordAngleToRadians(r.firstParallel, r.unit),
                              RecordAngleToRadians(r.secondParallel, r.unit), r.falseEasting,
                              r.falseNorthing);
            return true;
        default:
            return false;
    }
}

TransverseMercator MercatorConstants(const CPrc& r) {
    return TransverseMercatorConstants(r.ellipsoid->a, r.ellipsoid->e2, RecordCentralLongitude(r),
                                       RecordAngleToRadians(r.originLatitude, r.unit),
                                       r.scaleFactor, r.falseEasting, r.falseNorthing);
}

// Gauss-Laborde takes its angles through the full unit conversion and
// ignores the record's prime meridian.
GaussLaborde LabordeConstants(const CPrc& r) {
    return GaussLabordeConstants(r.ellipsoid->a, r.ellipsoid->e2,
                                 ConvertAngle(r.originLongitude, r.unit, Radian),
                                 ConvertAngle(r.originLatitude, r.unit, Radian), r.scaleFactor,
                                 r.falseEasting, r.falseNorthing);
}

EqualArea AzimuthalConstants(const CPrc& r) {
    return EqualAreaConstants(r.ellipsoid->a, r.ellipsoid->e2, RecordCentralLongitude(r),
                              ConvertAngle(r.originLatitude, r.unit, Radian), r.falseEasting,
                              r.falseNorthing);
}

}  // namespace

double RecordAngleToRadians(double value, int unit) {
    switch (unit) {
        case Radian:
        case Grade:
        case PackedDms:
            return ConvertAngle(value, unit, Radian);
        default:
            return ConvertAngle(value, DecimalDegree, Radian);
    }
}

double RecordCentralLongitude(const CPrc& record) {
    double lambdaM = RecordAngleToRadians(record.originLongitude, record.unit);
    if (record.meridian != nullptr && record.meridian->id != 1)
        lambdaM += RecordAngleToRadians(record.meridian->longitude, record.meridian->unit);
    return lambdaM;
}

int ProjectGeographic(const CPrc& record, double lambda, double phi, ProjectedPoint& out) {
    if (record.ellipsoid == nullptr) return kProjectionNotHandled;
    switch (record.family) {
        case LambertFamily: {
            LambertConic c;
            if (!LambertConstants(record, c)) return kProjectionNotHandled;
            out = LambertForward(c, lambda, phi);
            return 0;
        }
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorForward(MercatorConstants(record), lambda, phi);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeForward(LabordeConstants(record), lambda, phi);
            return 0;
        case EqualAreaFamily:
            out = EqualAreaForward(AzimuthalConstants(record), lambda, phi);
            return 0;
        default:
            return kProjectionNotHandled;
    }
}

int UnprojectProjected(const CPrc& record, double easting, double northing, GeographicPoint& out) {
    if (record.ellipsoid == nullptr) return kProjectionNotHandled;
    switch (record.family) {
        case LambertFamily: {
            LambertConic c;
            if (!LambertConstants(record, c)) return kProjectionNotHandled;
            out = LambertInverse(c, easting, northing);
            return 0;
        }
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorInverse(MercatorConstants(record), easting, northing);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeInverse(LabordeConstants(record), easting, northing);
            return 0;
        case EqualAreaFamily:
            out = EqualAreaInverse(AzimuthalConstants(record), easting, northing);
            return 0;
        default:
            return kProjectionNotHandled;
    }
}
