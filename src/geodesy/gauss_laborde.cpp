#include "geodesy/gauss_laborde.h"
#include "geodesy/sine_cosine.h"

#include <cmath>

#include "geodesy/ellipsoid.h"

GaussLaborde GaussLabordeConstants(double a, double e2, double lambdaM, double phi0, double k0,
                                   double x0, double y0) {
    GaussLaborde c;
    c.a = a;
    c.e2 = e2;
    c.lambdaM = lambdaM;
    const double cos2 = std::cos(phi0) * std::cos(phi0);
    c.alpha = std::sqrt(1 + e2 * cos2 * cos2 / (1 - e2));
    const double sphereLatitude0 = std::asin(std::sin(phi0) / c.alpha);
    c.kappa = IsometricLatitude(sphereLatitude0, 0) - c.alpha * IsometricLatitude(phi0, e2);
    const double s0 = std::sin(phi0);
    c.radius = a * k0 * std::sqrt(1 - e2) / (1 - e2 * s0 * s0);
    c.xs = x0;
    c.ys = y0 - c.radius * sphereLatitude0;
    return c;
}

ProjectedPoint GaussLabordeForward(const GaussLaborde& c, double lambda, double phi) {
    const double sphereLongitude = c.alpha * (lambda - c.lambdaM);
    const double sphereIsometric = c.alpha * IsometricLatitude(phi, c.e2) + c.kappa;
    const double coshL = std::cosh(sphereIsometric);
    const SineCosine longitude = SinCos(sphereLongitude);
    ProjectedPoint p;
    p.easting = c.xs + c.radius * IsometricLatitude(std::asin(longitude.sin / coshL), 0);
    p.northing = c.ys + c.radius * std::atan(std::sinh(sphereIsometric) / longitude.cos);
    p.convergence = -std::atan(std::tan(sphereLongitude) * std::tanh(sphereIsometric));
    const SineCosine latitude = SinCos(phi);
    const double sinPhi = latitude.sin;
    const double sinL = longitude.sin;
    p.scaleFactor = std::sqrt(1 - c.e2 * sinPhi * sinPhi) * c.alpha * c.radius /
                    (c.a * latitude.cos * std::sqrt(coshL * coshL - sinL * sinL));
    return p;
}

namespace {

// The inverse up to the latitude's iteration: the longitude, and the
// isometric latitude on the ellipsoid that the sphere's point stands for.
GeographicPoint InverseBeforeLatitude(const GaussLaborde& c, double easting, double northing,
                                      double& isometric) {
    const double u = (easting - c.xs) / c.radius;
    const double v = (northing - c.ys) / c.radius;
    GeographicPoint g;
    const SineCosine vTrig = SinCos(v);
    g.longitude = c.lambdaM + std::atan(std::sinh(u) / vTrig.cos) / c.alpha;
    const double sphereLatitude = std::asin(vTrig.sin / std::cosh(u));
    isometric = (IsometricLatitude(sphereLatitude, 0) - c.kappa) / c.alpha;
    return g;
}

}  // namespace

GeographicPoint GaussLabordeInverse(const GaussLaborde& c, double easting, double northing) {
    double isometric = 0;
    GeographicPoint g = InverseBeforeLatitude(c, easting, northing, isometric);
    g.latitude = LatitudeFromIsometric(isometric, c.e2);
    return g;
}

void GaussLabordeInverseMany(const GaussLaborde& c, const double* eastings,
                             const double* northings, int count, GeographicPoint* out) {
    constexpr int kChunk = 64;
    double isometric[kChunk], latitudes[kChunk];
    for (int first = 0; first < count; first += kChunk) {
        const int n = count - first < kChunk ? count - first : kChunk;
        for (int i = 0; i < n; ++i)
            out[first + i] =
                InverseBeforeLatitude(c, eastings[first + i], northings[first + i], isometric[i]);
        LatitudesFromIsometric(isometric, n, c.e2, latitudes);
        for (int i = 0; i < n; ++i) out[first + i].latitude = latitudes[i];
    }
}
