// Time of one call of each geodetic computation: forward and inverse of every
// projection family through the projection dispatch (which finds the
// family's kept constants from the projection's values at each call, as the
// transformation of a point does), the geocentric conversions and the
// catalogue's similarity in both directions.
//
// Usage: bench_geodesy [calls]   (default 1 000 000 calls per computation)

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <numbers>
#include <vector>

#include "../tests/geodesy/projection_definitions.h"
#include "catalogue/standard_transformation.h"
#include "geodesy/ellipsoid.h"
#include "geodesy/projection.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;

// Processor nanoseconds per call of `f`, called `calls` times in all. The
// processor time of this process, not the wall clock, so that other work on
// a shared machine weighs less on the figures.
double NanosecondsPerCall(long calls, const std::function<double(long)>& f, double& checksum) {
    const std::clock_t start = std::clock();
    for (long k = 0; k < calls; ++k) checksum += f(k);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    return seconds * 1e9 / static_cast<double>(calls);
}

}  // namespace

int main(int argc, char** argv) {
    const long calls = argc > 1 ? std::atol(argv[1]) : 1000000;
    using namespace projections;
    const EllipsoidValues &clarke = kClarkeIgn, &intl = kInternational, &grs80 = kGrs80;
    const PrimeMeridian &greenwich = kGreenwich, &paris = kParis;

    struct Family {
        const char* name;
        ProjectionParameters projection;
        double lon, lat;  // centre of the points, degrees
    };
    const Family families[] = {
        {"Lambert tangent (II etendu)",
         Projection(1, 2, 3, clarke, paris, 0, 52, 0.99987742, 600000, 2200000), 2.5, 46.5},
        {"Lambert secant (Lambert-93)",
         Projection(1, 3, 2, grs80, greenwich, 3, 46.5, 1, 700000, 6600000, 44, 49), 2.5, 46.5},
        {"transverse Mercator (UTM 31)",
         Projection(2, 0, 2, grs80, greenwich, 3, 0, 0.9996, 500000, 0), 3.5, 46.5},
        {"Gauss-Laborde (Reunion)",
         Projection(5, 0, 2, intl, greenwich, 55.533333333333333, -21.116666666666667, 1, 160000,
                    50000),
         55.5, -21.1},
        {"equal-area (LAEA Europe)",
         Projection(6, 0, 2, grs80, greenwich, 10, 52, 1, 4321000, 3210000), 10.5, 50.0},
    };

    // 1024 points around each centre, ±2° either way.
    constexpr long kPoints = 1024;
    double checksum = 0;
    std::printf("%-30s %12s %12s\n", "processor ns per call", "forward", "inverse");
    for (const Family& f : families) {
        std::vector<double> lambda(kPoints), phi(kPoints), e(kPoints), n(kPoints);
        for (long k = 0; k < kPoints; ++k) {
            lambda[k] = (f.lon + 2 * std::sin(k * 0.37)) * kDeg;
            phi[k] = (f.lat + 2 * std::cos(k * 0.61)) * kDeg;
            ProjectedPoint p;
            ProjectGeographic(f.projection, lambda[k], phi[k], p);
            e[k] = p.easting;
            n[k] = p.northing;
        }
        const double forward = NanosecondsPerCall(
            calls,
            [&](long k) {
                ProjectedPoint p;
                ProjectGeographic(f.projection, lambda[k % kPoints], phi[k % kPoints], p);
                return p.easting + p.scaleFactor + p.convergence;
            },
            checksum);
        const double inverse = NanosecondsPerCall(
            calls,
            [&](long k) {
                GeographicPoint g;
                UnprojectProjected(f.projection, e[k % kPoints], n[k % kPoints], g);
                return g.longitude + g.latitude;
            },
            checksum);
        std::printf("%-30s %12.1f %12.1f\n", f.name, forward, inverse);
    }

    std::vector<double> x(kPoints), y(kPoints), z(kPoints), lambda(kPoints), phi(kPoints),
        h(kPoints);
    for (long k = 0; k < kPoints; ++k) {
        lambda[k] = std::sin(k * 0.37) * 3;
        phi[k] = std::cos(k * 0.61) * 1.5;
        h[k] = 100 * (k % 50);
        const Cartesian3 c = GeographicToCartesian(grs80.a, grs80.e2, lambda[k], phi[k], h[k]);
        x[k] = c.x;
        y[k] = c.y;
        z[k] = c.z;
    }
    const double toCartesian = NanosecondsPerCall(
        calls,
        [&](long k) {
            const long i = k % kPoints;
            return GeographicToCartesian(grs80.a, grs80.e2, lambda[i], phi[i], h[i]).x;
        },
        checksum);
    const double toGeographic = NanosecondsPerCall(
        calls,
        [&](long k) {
            const long i = k % kPoints;
            return CartesianToGeographic(x[i], y[i], z[i], grs80.a, grs80.e2).latitude;
        },
        checksum);
    std::printf("%-30s %12.1f %12.1f\n", "geocentric (GRS 1980)", toCartesian, toGeographic);

    CTransfo t;
    const double parameters[7] = {-89.5, -93.8, -123.1, -1.2, 0.15, 0.247, -0.156};
    for (int k = 0; k < 7; ++k) t.record.parameters[k] = parameters[k];
    const double direct = NanosecondsPerCall(
        calls,
        [&](long k) {
            const long i = k % kPoints;
            return ApplyTransfo(t, x[i], y[i], z[i]).x;
        },
        checksum);
    t.inverse = 1;
    const double inverse = NanosecondsPerCall(
        calls,
        [&](long k) {
            const long i = k % kPoints;
            return ApplyTransfo(t, x[i], y[i], z[i]).x;
        },
        checksum);
    std::printf("%-30s %12.1f %12.1f\n", "similarity (seven parameters)", direct, inverse);
    std::printf("(%ld calls each; checksum %.6g)\n", calls, checksum);
    return 0;
}
