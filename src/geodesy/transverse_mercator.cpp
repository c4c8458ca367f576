#include "geodesy/transverse_mercator.h"
#include "geodesy/sine_cosine.h"

#include <cmath>

#include "geodesy/ellipsoid.h"

namespace {

// A polynomial in e² of degree 4, coefficients from e⁰ to e⁸.
double Series(const double (&c)[5], double e2) {
    return c[0] + e2 * (c[1] + e2 * (c[2] + e2 * (c[3] + e2 * c[4])));
}

constexpr double kF[5][5] = {
    {1, -1.0 / 4, -3.0 / 64, -5.0 / 256, -175.0 / 16384},
    {0, 1.0 / 8, -1.0 / 96, -9.0 / 1024, -901.0 / 184320},
    {0, 0, 13.0 / 768, 17.0 / 5120, -311.0 / 737280},
    {0, 0, 0, 61.0 / 15360, 899.0 / 430080},
    {0, 0, 0, 0, 49561.0 / 41287680},
};

constexpr double kG[5][5] = {
    {1, -1.0 / 4, -3.0 / 64, -5.0 / 256, -175.0 / 16384},
    {0, 1.0 / 8, 1.0 / 48, 7.0 / 2048, 1.0 / 61440},
    {0, 0, 1.0 / 768, 3.0 / 1280, 559.0 / 368640},
    {0, 0, 0, 17.0 / 30720, 283.0 / 430080},
    {0, 0, 0, 0, 4397.0 / 41287680},
};

constexpr double kA[5][5] = {
    {1, -1.0 / 4, -3.0 / 64, -5.0 / 256, -175.0 / 16384},
    {0, -3.0 / 8, -3.0 / 32, -45.0 / 1024, -105.0 / 4096},
    {0, 0, 15.0 / 256, 45.0 / 1024, 525.0 / 16384},
    {0, 0, 0, -35.0 / 3072, -175.0 / 12288},
    {0, 0, 0, 0, 315.0 / 131072},
};

// Σ c[k] sin(2k z) for k = 1 … 4, z = u + i v, using
// sin(u + i v) = sin u cosh v + i cos u sinh v.
void SineSeries(const double (&c)[5], double u, double v, double& re, double& im) {
    re = 0;
    im = 0;
    for (int k = 1; k <= 4; ++k) {
        const double m = 2.0 * k;
        const SineCosine mu = SinCos(m * u);
        re += c[k] * mu.sin * std::cosh(m * v);
        im += c[k] * mu.cos * std::sinh(m * v);
    }
}

}  // namespace

double MeridianArcOverA(double phi, double e2) {
    double beta = Series(kA[0], e2) * phi;
    for (int k = 1; k <= 4; ++k) beta += Series(kA[k], e2) * std::sin(2.0 * k * phi);
    return beta;
}

TransverseMercator TransverseMercatorConstants(double a, double e2, double lambdaM, double phi0,
                                               double k0, double x0, double y0) {
    TransverseMercator c;
    c.a = a;
    c.e2 = e2;
    c.lambdaM = lambdaM;
    c.k0 = k0;
    c.n = k0 * a;
    c.xs = x0;
    c.ys = y0 - c.n * MeridianArcOverA(phi0, e2);
    for (int k = 0; k < 5; ++k) {
        c.f[k] = Series(kF[k], e2);
        c.g[k] = Series(kG[k], e2);
    }
    return c;
}

ProjectedPoint TransverseMercatorForward(const TransverseMercator& c, double lambda, double phi) {
    const double dLambda = lambda - c.lambdaM;
    const double l = IsometricLatitude(phi, c.e2);
    // On the conformal sphere, the point in the frame turned so that the
    // central meridian becomes the equator: latitude φ′, longitude Λ′.
    const SineCosine longitude = SinCos(dLambda);
    const double phiPrime = std::asin(longitude.sin / std::cosh(l));
    const double ls = IsometricLatitude(phiPrime, 0);
    const double lambdaPrime = std::atan(std::sinh(l) / longitude.cos);
    double re, im;
    SineSeries(c.f, lambdaPrime, ls, re, im);
    ProjectedPoint p;
    p.northing = c.ys + c.n * (c.f[0] * lambdaPrime + re);
    p.easting = c.xs + c.n * (c.f[0] * ls + im);
    p.convergence = -std::atan(std::sin(phi) * std::tan(dLambda));
    p.scaleFactor = c.k0 * std::cosh((p.easting - c.xs) / c.a);
    return p;
}

namespace {

// The inverse up to the latitude's iteration: the longitude, and the
// isometric latitude whose latitude on the ellipsoid is the point's.
GeographicPoint InverseBeforeLatitude(const TransverseMercator& c, double easting,
                                      double northing, double& isometric) {
    const double u = (northing - c.ys) / (c.n * c.g[0]);
    const double v = (easting - c.xs) / (c.n * c.g[0]);
    double re, im;
    SineSeries(c.g, u, v, re, im);
    const double zetaRe = u - re;
    const double zetaIm = v - im;
    GeographicPoint g;
    const SineCosine real = SinCos(zetaRe);
    g.longitude = c.lambdaM + std::atan(std::sinh(zetaIm) / real.cos);
    const double sphereLatitude = std::asin(real.sin / std::cosh(zetaIm));
    isometric = IsometricLatitude(sphereLatitude, 0);
    return g;
}

}  // namespace

GeographicPoint TransverseMercatorInverse(const TransverseMercator& c, double easting,
                                          double northing) {
    double isometric = 0;
    GeographicPoint g = InverseBeforeLatitude(c, easting, northing, isometric);
    g.latitude = LatitudeFromIsometric(isometric, c.e2);
    return g;
}

void TransverseMercatorInverseMany(const TransverseMercator& c, const double* eastings,
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
