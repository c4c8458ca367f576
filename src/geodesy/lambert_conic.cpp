#include "geodesy/lambert_conic.h"

#include <cmath>
#include <numbers>

#include "geodesy/ellipsoid.h"
#include "geodesy/sine_cosine.h"

LambertConic LambertTangent(double a, double e2, double lambdaM, double phi0, double k0, double x0,
                            double y0) {
    LambertConic c;
    c.a = a;
    c.e2 = e2;
    c.lambdaM = lambdaM;
    const double r0 = k0 * PrimeVerticalRadius(phi0, a, e2) / std::tan(phi0);
    c.n = std::sin(phi0);
    c.K = r0 * std::exp(c.n * IsometricLatitude(phi0, e2));
    c.xs = x0;
    c.ys = y0 + r0;
    return c;
}

LambertConic LambertSecant(double a, double e2, double lambdaM, double phi0, double phi1,
                           double phi2, double x0, double y0) {
    LambertConic c;
    c.a = a;
    c.e2 = e2;
    c.lambdaM = lambdaM;
    const double m1 = PrimeVerticalRadius(phi1, a, e2) * std::cos(phi1);
    const double m2 = PrimeVerticalRadius(phi2, a, e2) * std::cos(phi2);
    const double l1 = IsometricLatitude(phi1, e2);
    const double l2 = IsometricLatitude(phi2, e2);
    c.n = std::log(m2 / m1) / (l1 - l2);
    c.K = m1 * std::exp(c.n * l1) / c.n;
    c.xs = x0;
    c.ys = y0 + c.K * std::exp(-c.n * IsometricLatitude(phi0, e2));
    return c;
}

ProjectedPoint LambertForward(const LambertConic& c, double lambda, double phi) {
    const SineCosine latitude = SinCos(phi);  // the sine for L(φ) and for N(φ)
    const double sinPhi = latitude.sin;
    const double r = c.K * std::exp(-c.n * IsometricLatitudeOfSine(phi, sinPhi, c.e2));
    const double theta = c.n * (lambda - c.lambdaM);
    const SineCosine angle = SinCos(theta);
    ProjectedPoint p;
    p.easting = c.xs + r * angle.sin;
    p.northing = c.ys - r * angle.cos;
    p.convergence = c.n * (c.lambdaM - lambda);
    p.scaleFactor = c.n * r / (PrimeVerticalRadiusOfSine(sinPhi, c.a, c.e2) * latitude.cos);
    return p;
}

void LambertInverseMany(const LambertConic& c, const double* eastings, const double* northings,
                        int count, GeographicPoint* out) {
    constexpr int kChunk = 64;
    double isometric[kChunk], latitudes[kChunk];
    for (int first = 0; first < count; first += kChunk) {
        const int n = count - first < kChunk ? count - first : kChunk;
        for (int i = 0; i < n; ++i) {
            const double dx = eastings[first + i] - c.xs;
            const double dy = northings[first + i] - c.ys;
            out[first + i].longitude = c.lambdaM + std::atan(dx / -dy) / c.n;
            const double r = std::sqrt(dx * dx + dy * dy);
            isometric[i] = -std::log(std::fabs(r / c.K)) / c.n;
        }
        LatitudesFromIsometric(isometric, n, c.e2, latitudes);
        for (int i = 0; i < n; ++i) out[first + i].latitude = latitudes[i];
    }
}

void LambertForwardMany(const LambertConic& c, const double* lambda, const double* phi, int count,
                        ProjectedPoint* out) {
    constexpr int kLanes = 4;
    for (int first = 0; first < count; first += kLanes) {
        const int lanes = count - first < kLanes ? count - first : kLanes;
        SineCosine latitude[kLanes], angle[kLanes];
        double r[kLanes];
        // As LambertForward, step by step over the lanes.
        // L(φ) as IsometricLatitudeOfSine computes it, each call over the lanes.
        const double e = std::sqrt(c.e2);
        double conformal[kLanes], flattening[kLanes];
        for (int k = 0; k < lanes; ++k) latitude[k] = SinCos(phi[first + k]);
        for (int k = 0; k < lanes; ++k)
            conformal[k] = std::tan(std::numbers::pi / 4 + phi[first + k] / 2);
        for (int k = 0; k < lanes; ++k) conformal[k] = std::log(conformal[k]);
        for (int k = 0; k < lanes; ++k) {
            const double s = e * latitude[k].sin;
            flattening[k] = std::log((1 - s) / (1 + s));
        }
        for (int k = 0; k < lanes; ++k)
            r[k] = c.K * std::exp(-c.n * (conformal[k] + (e / 2) * flattening[k]));
        for (int k = 0; k < lanes; ++k) angle[k] = SinCos(c.n * (lambda[first + k] - c.lambdaM));
        for (int k = 0; k < lanes; ++k) {
            const int i = first + k;
            ProjectedPoint& p = out[i];
            p.easting = c.xs + r[k] * angle[k].sin;
            p.northing = c.ys - r[k] * angle[k].cos;
            p.convergence = c.n * (c.lambdaM - lambda[i]);
            p.scaleFactor =
                c.n * r[k] / (PrimeVerticalRadiusOfSine(latitude[k].sin, c.a, c.e2) * latitude[k].cos);
        }
    }
}

GeographicPoint LambertInverse(const LambertConic& c, double easting, double northing) {
    const double dx = easting - c.xs;
    const double dy = northing - c.ys;
    GeographicPoint g;
    g.longitude = c.lambdaM + std::atan(dx / -dy) / c.n;
    const double r = std::sqrt(dx * dx + dy * dy);
    g.latitude = LatitudeFromIsometric(-std::log(std::fabs(r / c.K)) / c.n, c.e2);
    return g;
}
