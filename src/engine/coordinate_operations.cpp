#include "engine/coordinate_operations.h"

#include "catalogue/projection_parameters.h"
#include "geodesy/angle.h"
#include "geodesy/ellipsoid.h"

namespace {

// Packed notations cannot be added: longitudes are summed in the decimal unit
// of the same kind.
int WorkingUnit(int unit) {
    if (unit == PackedDms || unit == PackedDm) return DecimalDegree;
    if (unit == PackedHms) return DecimalHour;
    return unit;
}

double MeridianLongitude(const CLgo& meridian, int unit) {
    return ConvertAngle(meridian.longitude, meridian.unit, unit);
}

// The ellipsoid of the coordinate's system, none without a system.
const CElg* EllipsoidOf(const CCoor& coordinate) {
    return coordinate.sys.system ? coordinate.sys.system->ellipsoid : nullptr;
}

}  // namespace

const CLgo* FindGreenwich(const CatalogueList<CLgo>& meridians) {
    const CLgo* greenwich = nullptr;
    for (const CLgo& meridian : meridians)
        if (meridian.id == 1) greenwich = &meridian;
    return greenwich;
}

bool IsGreenwich(const CLgo* meridian) {
    return meridian == nullptr || meridian->id == 1;
}

int SetUnit(CCoor& coordinate, int unit) {
    coordinate.longitude = ConvertAngle(coordinate.longitude, coordinate.unit, unit);
    coordinate.latitude = ConvertAngle(coordinate.latitude, coordinate.unit, unit);
    coordinate.unit = unit;
    return 0;
}

int ToGreenwich(CCoor& coordinate, const CLgo* greenwich) {
    const CLgo* meridian = coordinate.sys.meridian;
    if (IsGreenwich(meridian)) {
        if (meridian == nullptr) coordinate.sys.meridian = greenwich;
        return 0;
    }
    const int w = WorkingUnit(coordinate.unit);
    const double sum =
        MeridianLongitude(*meridian, w) + ConvertAngle(coordinate.longitude, coordinate.unit, w);
    coordinate.longitude = ConvertAngle(sum, w, coordinate.unit);
    coordinate.sys.meridian = greenwich;
    return 0;
}

int ChangeMeridian(CCoor& coordinate, const CLgo* meridian, const CLgo* greenwich) {
    if (meridian == coordinate.sys.meridian) return 0;
    ToGreenwich(coordinate, greenwich);
    if (IsGreenwich(meridian)) {
        if (meridian != nullptr) coordinate.sys.meridian = meridian;
        return 0;
    }
    const int w = WorkingUnit(coordinate.unit);
    const double difference =
        ConvertAngle(coordinate.longitude, coordinate.unit, w) - MeridianLongitude(*meridian, w);
    coordinate.longitude = ConvertAngle(difference, w, coordinate.unit);
    coordinate.sys.meridian = meridian;
    return 0;
}

int ToCartesian(CCoor& coordinate, const CLgo* greenwich) {
    int status = 0;
    if (coordinate.type == Projected) status = ProjectedToGeographic(coordinate, greenwich);
    if (coordinate.type == Geographic) {
        ToGreenwich(coordinate, greenwich);
        if (coordinate.unit != Radian) SetUnit(coordinate, Radian);
        const CElg* ellipsoid = EllipsoidOf(coordinate);
        if (ellipsoid != nullptr) {
            const Cartesian3 c =
                GeographicToCartesian(ellipsoid->a, ellipsoid->e2, coordinate.longitude,
                                      coordinate.latitude, coordinate.height);
            coordinate.x = c.x;
            coordinate.y = c.y;
            coordinate.z = c.z;
        }
    }
    coordinate.type = Cartesian;
    return status;
}

int ToGeographic(CCoor& coordinate, const CLgo* greenwich) {
    if (coordinate.type == Projected) return ProjectedToGeographic(coordinate, greenwich);
    if (coordinate.type != Cartesian) return 0;
    const CElg* ellipsoid = EllipsoidOf(coordinate);
    if (ellipsoid != nullptr) {
        const Geographic3 g = CartesianToGeographic(coordinate.x, coordinate.y, coordinate.z,
                                                    ellipsoid->a, ellipsoid->e2);
        coordinate.longitude = g.longitude;
        coordinate.latitude = g.latitude;
        coordinate.height = g.height;
    }
    coordinate.type = Geographic;
    coordinate.unit = Radian;
    coordinate.sys.meridian = greenwich;
    return 0;
}

int ToProjection(CCoor& coordinate, const CPrc* projection, const CLgo* greenwich) {
    int status = 0;
    if (coordinate.type == Cartesian) ToGeographic(coordinate, greenwich);
    if (coordinate.type == Projected) status = ProjectedToGeographic(coordinate, greenwich);
    if (coordinate.type == Geographic)
        status = GeographicToProjected(coordinate, projection, greenwich);
    coordinate.sys.projection = projection;
    return status;
}

int GeographicToProjected(CCoor& coordinate, const CPrc* projection, const CLgo* greenwich) {
    ToGreenwich(coordinate, greenwich);
    SetUnit(coordinate, Radian);
    coordinate.projectionError = false;
    coordinate.type = Projected;
    ProjectedPoint p;
    const int status = projection ? ProjectGeographic(ProjectionParametersOf(*projection),
                                                      coordinate.longitude, coordinate.latitude, p)
                                  : kProjectionNotHandled;
    if (status != 0) {
        coordinate.projectionError = true;
        return status;
    }
    coordinate.easting = p.easting;
    coordinate.northing = p.northing;
    coordinate.linearAlteration = (p.scaleFactor - 1) * 1000000;
    coordinate.convergenceUnit = projection->unit;
    coordinate.convergence = ConvertAngle(p.convergence, Radian, projection->unit);
    return 0;
}

int ProjectedToGeographic(CCoor& coordinate, const CLgo* greenwich) {
    const CPrc* projection = coordinate.sys.projection;
    GeographicPoint g;
    const int status = projection ? UnprojectProjected(ProjectionParametersOf(*projection),
                                                       coordinate.easting, coordinate.northing, g)
                                  : kProjectionNotHandled;
    if (status != 0) return status;
    coordinate.longitude = g.longitude;
    coordinate.latitude = g.latitude;
    coordinate.unit = Radian;
    coordinate.type = Geographic;
    coordinate.sys.meridian = greenwich;
    return 0;
}

namespace {

// The points of one batch conversion, a few at a time: the geodesy
// functions compute these side by side.
constexpr int kSideBySide = 64;

}  // namespace

void ToCartesianMany(CCoor* const* coordinates, int count, const CLgo* greenwich, int* statuses) {
    for (int first = 0; first < count; first += kSideBySide) {
        const int n = count - first < kSideBySide ? count - first : kSideBySide;
        CCoor* const* c = coordinates + first;
        double a[kSideBySide], e2[kSideBySide], lambda[kSideBySide], phi[kSideBySide],
            h[kSideBySide];
        int index[kSideBySide];
        int computed = 0;
        // As ToCartesian, up to the geocentric conversion.
        for (int i = 0; i < n; ++i) {
            CCoor& coordinate = *c[i];
            int status = 0;
            if (coordinate.type == Projected) status = ProjectedToGeographic(coordinate, greenwich);
            if (coordinate.type == Geographic) {
                ToGreenwich(coordinate, greenwich);
                if (coordinate.unit != Radian) SetUnit(coordinate, Radian);
                const CElg* ellipsoid = EllipsoidOf(coordinate);
                if (ellipsoid != nullptr) {
                    a[computed] = ellipsoid->a;
                    e2[computed] = ellipsoid->e2;
                    lambda[computed] = coordinate.longitude;
                    phi[computed] = coordinate.latitude;
                    h[computed] = coordinate.height;
                    index[computed++] = i;
                }
            }
            coordinate.type = Cartesian;
            statuses[first + i] = status;
        }
        Cartesian3 out[kSideBySide];
        GeographicToCartesianMany(a, e2, lambda, phi, h, computed, out);
        for (int k = 0; k < computed; ++k) {
            CCoor& coordinate = *c[index[k]];
            coordinate.x = out[k].x;
            coordinate.y = out[k].y;
            coordinate.z = out[k].z;
        }
    }
}

void ToGeographicMany(CCoor* const* coordinates, int count, const CLgo* greenwich, int* statuses) {
    for (int first = 0; first < count; first += kSideBySide) {
        const int n = count - first < kSideBySide ? count - first : kSideBySide;
        CCoor* const* c = coordinates + first;
        double x[kSideBySide], y[kSideBySide], z[kSideBySide], a[kSideBySide], e2[kSideBySide];
        int index[kSideBySide];
        int computed = 0;
        // As ToGeographic, the geocentric conversions gathered.
        for (int i = 0; i < n; ++i) {
            CCoor& coordinate = *c[i];
            statuses[first + i] = 0;
            if (coordinate.type == Projected) {
                statuses[first + i] = ProjectedToGeographic(coordinate, greenwich);
                continue;
            }
            if (coordinate.type != Cartesian) continue;
            const CElg* ellipsoid = EllipsoidOf(coordinate);
            if (ellipsoid != nullptr) {
                x[computed] = coordinate.x;
                y[computed] = coordinate.y;
                z[computed] = coordinate.z;
                a[computed] = ellipsoid->a;
                e2[computed] = ellipsoid->e2;
                index[computed++] = i;
            } else {
                coordinate.type = Geographic;
                coordinate.unit = Radian;
                coordinate.sys.meridian = greenwich;
            }
        }
        Geographic3 out[kSideBySide];
        CartesianToGeographicMany(x, y, z, a, e2, computed, out);
        for (int k = 0; k < computed; ++k) {
            CCoor& coordinate = *c[index[k]];
            coordinate.longitude = out[k].longitude;
            coordinate.latitude = out[k].latitude;
            coordinate.height = out[k].height;
            coordinate.type = Geographic;
            coordinate.unit = Radian;
            coordinate.sys.meridian = greenwich;
        }
    }
}

void ToProjectionMany(CCoor* const* coordinates, int count, const CPrc* projection,
                      const CLgo* greenwich, int* statuses) {
    for (int first = 0; first < count; first += kSideBySide) {
        const int n = count - first < kSideBySide ? count - first : kSideBySide;
        CCoor* const* c = coordinates + first;
        double lambda[kSideBySide], phi[kSideBySide];
        int index[kSideBySide];
        int computed = 0;
        // As ToProjection, the forward projections gathered.
        for (int i = 0; i < n; ++i) {
            CCoor& coordinate = *c[i];
            int status = 0;
            if (coordinate.type == Cartesian) ToGeographic(coordinate, greenwich);
            if (coordinate.type == Projected) status = ProjectedToGeographic(coordinate, greenwich);
            if (coordinate.type == Geographic) {
                // As GeographicToProjected, up to the projection.
                ToGreenwich(coordinate, greenwich);
                SetUnit(coordinate, Radian);
                coordinate.projectionError = false;
                coordinate.type = Projected;
                lambda[computed] = coordinate.longitude;
                phi[computed] = coordinate.latitude;
                index[computed++] = i;
            }
            coordinate.sys.projection = projection;
            statuses[first + i] = status;
        }
        ProjectedPoint out[kSideBySide];
        const int status =
            projection ? ProjectGeographicMany(ProjectionParametersOf(*projection), lambda, phi,
                                               computed, out)
                       : kProjectionNotHandled;
        for (int k = 0; k < computed; ++k) {
            CCoor& coordinate = *c[index[k]];
            statuses[first + index[k]] = status;
            if (status != 0) {
                coordinate.projectionError = true;
                continue;
            }
            const ProjectedPoint& p = out[k];
            coordinate.easting = p.easting;
            coordinate.northing = p.northing;
            coordinate.linearAlteration = (p.scaleFactor - 1) * 1000000;
            coordinate.convergenceUnit = projection->unit;
            coordinate.convergence = ConvertAngle(p.convergence, Radian, projection->unit);
        }
    }
}
