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

GeographicPoint GaussLabordeInverse(const GaussLaborde& c, double easting, double northing) {
    const double u = (easting - c.xs) / c.radius;
    const double v = (northing - c.ys) / c.radius;
    GeographicPoint g;
    const SineCosine vTrig = SinCos(v);
    g.longitude = c.lambdaM + std::atan(std::sinh(u) / vTrig.cos) / c.alpha;
    const double sphereLatitude = std::asin(vTrig.sin / std::cosh(u));
    g.latitude =
        LatitudeFromIsometric((IsometricLatitude(sphereLatitude, 0) - c.kappa) / c.alpha, c.e2);
    return g;
}
