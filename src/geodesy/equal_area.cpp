#include "geodesy/equal_area.h"
#include "geodesy/sine_cosine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geodesy/ellipsoid.h"

namespace {

constexpr double kHalfPi = std::numbers::pi / 2;

// m(φ) = cos φ / W(φ).
double ParallelRadiusOverA(double phi, double e2) {
    const double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1 - e2 * s * s);
}

// q(φ) and qp are computed by different expressions, so at a pole q(φ) may
// pass qp by a rounding error; these keep the square root and the arcsine
// inside their domain there.
double RadiusOnPolarAspect(const EqualArea& c, double q, bool north) {
    return c.a * std::sqrt(std::max(0.0, north ? c.qp - q : c.qp + q));
}

double AuthalicLatitude(const EqualArea& c, double phi) {
    return std::asin(std::clamp(AuthalicQ(phi, c.e2) / c.qp, -1.0, 1.0));
}

}  // namespace

double AuthalicQ(double phi, double e2) {
    const double s = std::sin(phi);
    if (e2 == 0) return 2 * s;
    const double e = std::sqrt(e2);
    return (1 - e2) * (s / (1 - e2 * s * s) - std::log((1 - e * s) / (1 + e * s)) / (2 * e));
}

EqualArea EqualAreaConstants(double a, double e2, double lambdaM, double phi0, double x0,
                             double y0) {
    EqualArea c;
    c.a = a;
    c.e2 = e2;
    c.lambdaM = lambdaM;
    c.phi0 = phi0;
    c.x0 = x0;
    c.y0 = y0;
    if (e2 == 0) {
        c.qp = 2;
    } else {
        const double e = std::sqrt(e2);
        c.qp = (1 - e2) * (1 / (1 - e2) - std::log((1 - e) / (1 + e)) / (2 * e));
    }
    c.beta0 = AuthalicLatitude(c, phi0);
    c.rq = a * std::sqrt(c.qp / 2);
    c.d = a * ParallelRadiusOverA(phi0, e2) / (c.rq * std::cos(c.beta0));
    return c;
}

ProjectedPoint EqualAreaForward(const EqualArea& c, double lambda, double phi) {
    const double dLambda = lambda - c.lambdaM;
    const SineCosine longitude = SinCos(dLambda);
    const double sinL = longitude.sin, cosL = longitude.cos;
    ProjectedPoint p;
    // The scale along the parallel is taken a hair inside a pole, where the
    // parallel shrinks to a point and the quotient reads 0/0.
    const double phiForScale = std::fabs(phi) < kHalfPi ? phi : std::copysign(kHalfPi - 1e-9, phi);
    const double parallelRadius =
        PrimeVerticalRadius(phiForScale, c.a, c.e2) * std::cos(phiForScale);
    if (c.phi0 == kHalfPi || c.phi0 == -kHalfPi) {
        const bool north = c.phi0 == kHalfPi;
        const double rho = RadiusOnPolarAspect(c, AuthalicQ(phi, c.e2), north);
        p.easting = c.x0 + rho * sinL;
        p.northing = north ? c.y0 - rho * cosL : c.y0 + rho * cosL;
        // Meridians are straight lines through the pole of the map.
        p.convergence = std::atan2(north ? -sinL : sinL, cosL);
        p.scaleFactor =
            RadiusOnPolarAspect(c, AuthalicQ(phiForScale, c.e2), north) / parallelRadius;
        return p;
    }
    const SineCosine origin = SinCos(c.beta0);
    const double sb0 = origin.sin, cb0 = origin.cos;
    const auto place = [&](double beta, double& x, double& y, double& xBeta, double& yBeta,
                           double& xLambda, double& yLambda) {
        const SineCosine authalic = SinCos(beta);
        const double sb = authalic.sin, cb = authalic.cos;
        const double s = 1 + sb0 * sb + cb0 * cb * cosL;
        const double b = c.rq * std::sqrt(2 / s);
        const double t = cb0 * sb - sb0 * cb * cosL;
        x = b * c.d * cb * sinL;
        y = (b / c.d) * t;
        // Partial derivatives along the meridian (authalic latitude) and the parallel.
        const double bBeta = -b / (2 * s) * (sb0 * cb - cb0 * sb * cosL);
        const double bLambda = -b / (2 * s) * (-cb0 * cb * sinL);
        xBeta = c.d * (bBeta * cb - b * sb) * sinL;
        yBeta = (bBeta * t + b * (cb0 * cb + sb0 * sb * cosL)) / c.d;
        xLambda = c.d * (bLambda * cb * sinL + b * cb * cosL);
        yLambda = (bLambda * t + b * sb0 * cb * sinL) / c.d;
    };
    double x, y, xBeta, yBeta, xLambda, yLambda;
    place(AuthalicLatitude(c, phi), x, y, xBeta, yBeta, xLambda, yLambda);
    p.easting = c.x0 + x;
    p.northing = c.y0 + y;
    if (phiForScale != phi) {
        double unused1, unused2;
        place(AuthalicLatitude(c, phiForScale), unused1, unused2, xBeta, yBeta, xLambda, yLambda);
    }
    // The authalic latitude grows with the geodetic one, so the meridian's
    // direction on the map is that of the β derivative.
    p.convergence = std::atan2(xBeta, yBeta);
    p.scaleFactor = std::hypot(xLambda, yLambda) / parallelRadius;
    return p;
}

double LatitudeFromAuthalicQ(double q, double qp, double e2) {
    if (std::fabs(q) >= std::fabs(qp)) return std::copysign(kHalfPi, q);
    double phi = std::asin(q / 2);
    for (int step = 0; step < kMaxIsometricIterations; ++step) {
        const double s = std::sin(phi);
        const double w2 = 1 - e2 * s * s;
        const double change = w2 * w2 / (2 * std::cos(phi)) * (q - AuthalicQ(phi, e2)) / (1 - e2);
        phi += change;
        if (!(std::fabs(change) > 1e-12)) break;
    }
    return phi;
}

GeographicPoint EqualAreaInverse(const EqualArea& c, double easting, double northing) {
    const double x = easting - c.x0;
    const double y = northing - c.y0;
    GeographicPoint g;
    double q;
    if (c.phi0 == kHalfPi || c.phi0 == -kHalfPi) {
        const bool north = c.phi0 == kHalfPi;
        const double rho = std::sqrt(x * x + y * y) / c.a;
        // The centre of the map is the pole: every longitude is the same
        // point there, take the central meridian.
        g.longitude = rho == 0 ? c.lambdaM : c.lambdaM + std::atan2(x, north ? -y : y);
        q = north ? c.qp - rho * rho : rho * rho - c.qp;
    } else {
        const double rho = std::hypot(x / c.d, c.d * y);
        if (rho == 0) {
            g.longitude = c.lambdaM;
            g.latitude = c.phi0;
            return g;
        }
        const SineCosine origin = SinCos(c.beta0);
        const double sb0 = origin.sin, cb0 = origin.cos;
        const double ce = 2 * std::asin(rho / (2 * c.rq));
        const SineCosine angle = SinCos(ce);
        const double sce = angle.sin, cce = angle.cos;
        q = c.qp * (cce * sb0 + c.d * y * sce * cb0 / rho);
        g.longitude =
            c.lambdaM + std::atan2(x * sce, c.d * rho * cb0 * cce - c.d * c.d * y * sb0 * sce);
    }
    g.latitude = LatitudeFromAuthalicQ(q, c.qp, c.e2);
    return g;
}
