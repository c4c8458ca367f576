#include "geodesy/ellipsoid.h"

#include <cmath>
#include <numbers>

#include "geodesy/sine_cosine.h"

double PrimeVerticalRadius(double phi, double a, double e2) {
    return PrimeVerticalRadiusOfSine(std::sin(phi), a, e2);
}

double PrimeVerticalRadiusOfSine(double sinPhi, double a, double e2) {
    return a / std::sqrt(1 - e2 * sinPhi * sinPhi);
}

double MeridianRadius(double a, double e2, double phi) {
    const double s = std::sin(phi);
    const double w2 = 1 - e2 * s * s;
    return (1 - e2) * PrimeVerticalRadius(phi, a, e2) / w2;
}

Cartesian3 GeographicToCartesian(double a, double e2, double lambda, double phi, double h) {
    const SineCosine latitude = SinCos(phi);  // the sine for N and for Z
    const double sinPhi = latitude.sin, cosPhi = latitude.cos;
    const double n = PrimeVerticalRadiusOfSine(sinPhi, a, e2);
    const SineCosine longitude = SinCos(lambda);
    Cartesian3 c;
    c.x = (n + h) * cosPhi * longitude.cos;
    c.y = (n + h) * cosPhi * longitude.sin;
    c.z = (n * (1 - e2) + h) * sinPhi;
    return c;
}

Geographic3 CartesianToGeographic(double x, double y, double z, double a, double e2) {
    constexpr double pi = std::numbers::pi;
    const double p = std::sqrt(x * x + y * y);
    const double s = std::sqrt(1 - e2);
    Geographic3 g;
    if (p == 0) {
        // On the polar axis every longitude is the same point: take 0. The
        // latitude is the pole on the side of Z (north for the centre).
        g.longitude = 0;
        g.latitude = std::signbit(z) ? -pi / 2 : pi / 2;
        g.height = std::fabs(z) - a * s;
        return g;
    }
    const double r = std::sqrt(p * p + z * z);
    const double mu = std::atan((z / p) * (s + a * e2 / r));
    const SineCosine muTrig = SinCos(mu);
    const double sinMu = muTrig.sin, cosMu = muTrig.cos;
    const double phi = std::atan((z * s + a * e2 * sinMu * sinMu * sinMu) /
                                 (s * (p - a * e2 * cosMu * cosMu * cosMu)));
    const SineCosine phiTrig = SinCos(phi);
    const double sinPhi = phiTrig.sin;
    g.latitude = phi;
    g.height = p * phiTrig.cos + z * sinPhi - a * std::sqrt(1 - e2 * sinPhi * sinPhi);
    // Half-angle longitude, λ = 2 arctan(Y / (X + p)). West of ±90° the sum
    // X + p cancels and loses all precision near the antimeridian; there the
    // equal form 2 arctan((p − X) / Y) is exact. On the negative X half-axis
    // both read 0/0 and the longitude is π.
    if (x >= 0) {
        g.longitude = 2 * std::atan(y / (x + p));
    } else if (y != 0) {
        const double half = std::atan((p - x) / y);  // in (−π/2, π/2), sign of Y
        g.longitude = 2 * half;
    } else {
        g.longitude = pi;
    }
    return g;
}

void GeographicToCartesianMany(const double* a, const double* e2, const double* lambda,
                               const double* phi, const double* h, int count, Cartesian3* out) {
    constexpr int kLanes = 4;
    for (int first = 0; first < count; first += kLanes) {
        const int lanes = count - first < kLanes ? count - first : kLanes;
        SineCosine latitude[kLanes], longitude[kLanes];
        for (int k = 0; k < lanes; ++k) latitude[k] = SinCos(phi[first + k]);
        for (int k = 0; k < lanes; ++k) longitude[k] = SinCos(lambda[first + k]);
        for (int k = 0; k < lanes; ++k) {
            const int i = first + k;
            // As GeographicToCartesian.
            const double n = PrimeVerticalRadiusOfSine(latitude[k].sin, a[i], e2[i]);
            out[i].x = (n + h[i]) * latitude[k].cos * longitude[k].cos;
            out[i].y = (n + h[i]) * latitude[k].cos * longitude[k].sin;
            out[i].z = (n * (1 - e2[i]) + h[i]) * latitude[k].sin;
        }
    }
}

void CartesianToGeographicMany(const double* x, const double* y, const double* z,
                               const double* a, const double* e2, int count, Geographic3* out) {
    constexpr int kLanes = 4;
    for (int first = 0; first < count; first += kLanes) {
        const int lanes = count - first < kLanes ? count - first : kLanes;
        bool side[kLanes];  // computed side by side (not on the polar axis)
        double p[kLanes], s[kLanes], mu[kLanes], phi[kLanes];
        SineCosine muTrig[kLanes], phiTrig[kLanes];
        // As CartesianToGeographic, step by step over the lanes.
        for (int k = 0; k < lanes; ++k) {
            const int i = first + k;
            p[k] = std::sqrt(x[i] * x[i] + y[i] * y[i]);
            side[k] = p[k] != 0;
            if (!side[k]) out[i] = CartesianToGeographic(x[i], y[i], z[i], a[i], e2[i]);
        }
        for (int k = 0; k < lanes; ++k) {
            if (!side[k]) continue;
            const int i = first + k;
            s[k] = std::sqrt(1 - e2[i]);
            const double r = std::sqrt(p[k] * p[k] + z[i] * z[i]);
            mu[k] = std::atan((z[i] / p[k]) * (s[k] + a[i] * e2[i] / r));
        }
        for (int k = 0; k < lanes; ++k)
            if (side[k]) muTrig[k] = SinCos(mu[k]);
        for (int k = 0; k < lanes; ++k) {
            if (!side[k]) continue;
            const int i = first + k;
            const double sinMu = muTrig[k].sin, cosMu = muTrig[k].cos;
            phi[k] = std::atan((z[i] * s[k] + a[i] * e2[i] * sinMu * sinMu * sinMu) /
                               (s[k] * (p[k] - a[i] * e2[i] * cosMu * cosMu * cosMu)));
        }
        for (int k = 0; k < lanes; ++k)
            if (side[k]) phiTrig[k] = SinCos(phi[k]);
        for (int k = 0; k < lanes; ++k) {
            if (!side[k]) continue;
            const int i = first + k;
            const double sinPhi = phiTrig[k].sin;
            out[i].latitude = phi[k];
            out[i].height = p[k] * phiTrig[k].cos + z[i] * sinPhi -
                            a[i] * std::sqrt(1 - e2[i] * sinPhi * sinPhi);
        }
        for (int k = 0; k < lanes; ++k) {
            if (!side[k]) continue;
            const int i = first + k;
            if (x[i] >= 0) {
                out[i].longitude = 2 * std::atan(y[i] / (x[i] + p[k]));
            } else if (y[i] != 0) {
                const double half = std::atan((p[k] - x[i]) / y[i]);
                out[i].longitude = 2 * half;
            } else {
                out[i].longitude = std::numbers::pi;
            }
        }
    }
}

double IsometricLatitude(double phi, double e2) {
    return IsometricLatitudeOfSine(phi, std::sin(phi), e2);
}

double IsometricLatitudeOfSine(double phi, double sinPhi, double e2) {
    constexpr double pi = std::numbers::pi;
    const double e = std::sqrt(e2);
    const double s = e * sinPhi;
    return std::log(std::tan(pi / 4 + phi / 2)) + (e / 2) * std::log((1 - s) / (1 + s));
}

namespace {

// Up to four iterations of LatitudeFromIsometric side by side: each value
// takes exactly its own steps and stops on its own test.
template <int Lanes>
void LatitudesSideBySide(const double* L, double e2, double* latitudes) {
    constexpr double pi = std::numbers::pi;
    const double e = std::sqrt(e2);
    double t[Lanes], previous[Lanes], phi[Lanes];
    int steps[Lanes];
    for (int k = 0; k < Lanes; ++k) {
        t[k] = std::exp(L[k]);
        previous[k] = 100;
        phi[k] = 2 * std::atan(t[k]) - pi / 2;
        steps[k] = 0;
    }
    for (;;) {
        bool going[Lanes];
        bool any = false;
        for (int k = 0; k < Lanes; ++k) {
            going[k] =
                steps[k] < kMaxIsometricIterations && !(std::fabs(phi[k] - previous[k]) <= 1e-12);
            any = any || going[k];
        }
        if (!any) break;
        double x[Lanes];
        for (int k = 0; k < Lanes; ++k) {
            if (!going[k]) continue;
            previous[k] = phi[k];
            const double s = e * std::sin(phi[k]);
            x[k] = (1 + s) / (1 - s);
        }
        for (int k = 0; k < Lanes; ++k)
            if (going[k]) x[k] = std::log(x[k]);
        for (int k = 0; k < Lanes; ++k)
            if (going[k]) x[k] = std::exp((e / 2) * x[k]) * t[k];
        for (int k = 0; k < Lanes; ++k) {
            if (!going[k]) continue;
            phi[k] = 2 * std::atan(x[k]) - pi / 2;
            ++steps[k];
        }
    }
    for (int k = 0; k < Lanes; ++k) latitudes[k] = phi[k];
}

}  // namespace

void LatitudesFromIsometric(const double* L, int count, double e2, double* latitudes) {
    int i = 0;
    for (; i + 4 <= count; i += 4) LatitudesSideBySide<4>(L + i, e2, latitudes + i);
    for (; i < count; ++i) latitudes[i] = LatitudeFromIsometric(L[i], e2);
}

double LatitudeFromIsometric(double L, double e2) {
    constexpr double pi = std::numbers::pi;
    const double e = std::sqrt(e2);
    const double t = std::exp(L);
    double previous = 100;
    double phi = 2 * std::atan(t) - pi / 2;
    for (int step = 0; step < kMaxIsometricIterations && !(std::fabs(phi - previous) <= 1e-12);
         ++step) {
        previous = phi;
        const double s = e * std::sin(phi);
        phi = 2 * std::atan(std::exp((e / 2) * std::log((1 + s) / (1 - s))) * t) - pi / 2;
    }
    return phi;
}
