#include "geodesy/ellipsoid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "reference_table.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

double E2FromFlattening(double inverseFlattening) {
    const double f = 1 / inverseFlattening;
    return f * (2 - f);
}

struct Ellipsoid {
    const char* table;
    double a, e2;
};

const Ellipsoid kEllipsoids[] = {
    {"clarke_ign", 6378249.2, 1 - (6356515.0 / 6378249.2) * (6356515.0 / 6378249.2)},
    {"intl", 6378388, E2FromFlattening(297)},
    {"grs80", 6378137, E2FromFlattening(298.257222101)},
    {"wgs84", 6378137, E2FromFlattening(298.257223563)},
};

TEST(Radii, PrincipalRadiiOfCurvature) {
    const double a = 6378137, e2 = E2FromFlattening(298.257222101);
    EXPECT_DOUBLE_EQ(PrimeVerticalRadius(0, a, e2), a);
    EXPECT_DOUBLE_EQ(MeridianRadius(a, e2, 0), a * (1 - e2));
    // At the pole both radii are a / √(1 − e²).
    EXPECT_NEAR(PrimeVerticalRadius(kPi / 2, a, e2), a / std::sqrt(1 - e2), 1e-6);
    EXPECT_NEAR(MeridianRadius(a, e2, kPi / 2), a / std::sqrt(1 - e2), 1e-6);
    const double phi = 47 * kDeg, w2 = 1 - e2 * std::sin(phi) * std::sin(phi);
    EXPECT_NEAR(MeridianRadius(a, e2, phi), a * (1 - e2) / std::pow(w2, 1.5), 1e-6);
    EXPECT_NEAR(MeridianRadius(a, e2, -phi), MeridianRadius(a, e2, phi), 1e-9);
}

TEST(Geocentric, AgreesWithProjBothWays) {
    for (const Ellipsoid& e : kEllipsoids) {
        const reference::Table t = reference::Read(std::string("geocentric_") + e.table + ".txt");
        ASSERT_TRUE(t.ok) << e.table;
        ASSERT_GE(t.rows.size(), 500u);
        double position = 0, angle = 0, height = 0;
        for (const std::vector<double>& r : t.rows) {
            ASSERT_EQ(r.size(), 6u);
            const double lambda = r[0] * kDeg, phi = r[1] * kDeg;
            const Cartesian3 c = GeographicToCartesian(e.a, e.e2, lambda, phi, r[2]);
            position = std::max(
                {position, std::fabs(c.x - r[3]), std::fabs(c.y - r[4]), std::fabs(c.z - r[5])});
            const Geographic3 g = CartesianToGeographic(r[3], r[4], r[5], e.a, e.e2);
            angle = std::max({angle, std::fabs(g.longitude - lambda), std::fabs(g.latitude - phi)});
            height = std::max(height, std::fabs(g.height - r[2]));
        }
        std::printf(
            "geocentric %-10s %zu points: X Y Z %.2e m; back: angles %.2e rad, height %.2e m\n",
            e.table, t.rows.size(), position, angle, height);
        EXPECT_LE(position, 1e-5) << e.table;
        EXPECT_LE(angle, 1e-11) << e.table;
        EXPECT_LE(height, 1e-5) << e.table;
    }
}

TEST(Geocentric, AxesAndPoles) {
    for (const Ellipsoid& e : kEllipsoids) {
        const double b = e.a * std::sqrt(1 - e.e2);
        Cartesian3 c = GeographicToCartesian(e.a, e.e2, 0, 0, 0);
        EXPECT_DOUBLE_EQ(c.x, e.a);
        EXPECT_EQ(c.y, 0);
        EXPECT_EQ(c.z, 0);
        Geographic3 g = CartesianToGeographic(e.a, 0, 0, e.a, e.e2);
        EXPECT_EQ(g.longitude, 0);
        EXPECT_EQ(g.latitude, 0);
        EXPECT_NEAR(g.height, 0, 1e-9);

        for (double sign : {1.0, -1.0}) {
            c = GeographicToCartesian(e.a, e.e2, 0.3, sign * kPi / 2, 0);
            EXPECT_NEAR(c.x, 0, 1e-9);
            EXPECT_NEAR(c.y, 0, 1e-9);
            EXPECT_NEAR(c.z, sign * b, 1e-9);
            // Exactly on the polar axis the longitude reads 0/0: it is 0.
            g = CartesianToGeographic(0, 0, sign * (b + 25), e.a, e.e2);
            EXPECT_EQ(g.longitude, 0);
            EXPECT_EQ(g.latitude, sign * kPi / 2);
            EXPECT_NEAR(g.height, 25, 1e-9);
        }
        // The centre of the earth: finite, a pole at depth b.
        g = CartesianToGeographic(0, 0, 0, e.a, e.e2);
        EXPECT_TRUE(std::isfinite(g.longitude) && std::isfinite(g.latitude) &&
                    std::isfinite(g.height));
        EXPECT_NEAR(g.height, -b, 1e-9);
        // The negative X half-axis: longitude π, latitude 0.
        g = CartesianToGeographic(-e.a - 10, 0, 0, e.a, e.e2);
        EXPECT_EQ(g.longitude, kPi);
        EXPECT_EQ(g.latitude, 0);
        EXPECT_NEAR(g.height, 10, 1e-9);
    }
}

TEST(Geocentric, LongitudesNearTheAntimeridianKeepTheirPrecision) {
    const Ellipsoid& e = kEllipsoids[2];
    // Points 1 mm, 1 m and 1 km either side of 180°: the longitude comes back
    // to the nanometre, with the side given by the sign of Y.
    for (double metres : {1e-3, 1.0, 1000.0}) {
        const double offset = metres / e.a;
        for (double lambda : {kPi - offset, -kPi + offset}) {
            const Cartesian3 c = GeographicToCartesian(e.a, e.e2, lambda, 30 * kDeg, 120);
            const Geographic3 g = CartesianToGeographic(c.x, c.y, c.z, e.a, e.e2);
            EXPECT_NEAR(g.longitude, lambda, 1e-15) << metres;
            EXPECT_EQ(std::signbit(g.longitude), std::signbit(c.y));
            EXPECT_NEAR(g.latitude, 30 * kDeg, 1e-11);
        }
    }
}

TEST(Geocentric, RoundTripOverLatitudesAndHeights) {
    for (const Ellipsoid& e : kEllipsoids) {
        double angle = 0, height = 0;
        for (double lat = -89; lat <= 89; lat += 0.5)
            for (double h = -1000; h <= 10000; h += 1375) {
                const double lambda = std::remainder(lat * 7.3 + h, 360.0) * kDeg;
                const Cartesian3 c = GeographicToCartesian(e.a, e.e2, lambda, lat * kDeg, h);
                const Geographic3 g = CartesianToGeographic(c.x, c.y, c.z, e.a, e.e2);
                angle = std::max(
                    {angle, std::fabs(g.latitude - lat * kDeg), std::fabs(g.longitude - lambda)});
                height = std::max(height, std::fabs(g.height - h));
            }
        EXPECT_LE(angle, 1e-11) << e.table;
        EXPECT_LE(height, 1e-6) << e.table;
    }
}

TEST(Isometric, InverseReturnsTheLatitude) {
    for (const Ellipsoid& e : kEllipsoids)
        for (double lat = -89.9; lat <= 89.9; lat += 0.1) {
            const double phi = lat * kDeg;
            const double tolerance = std::fabs(lat) <= 89 ? 1e-12 : 1e-11;
            EXPECT_NEAR(LatitudeFromIsometric(IsometricLatitude(phi, e.e2), e.e2), phi, tolerance)
                << e.table << " " << lat;
        }
}

TEST(Isometric, KnownValuesAndTheSphere) {
    EXPECT_NEAR(IsometricLatitude(0, 0.0068), 0, 1e-15);
    EXPECT_NEAR(IsometricLatitude(kPi / 4, 0), std::log(std::tan(3 * kPi / 8)), 1e-15);
    // The ellipsoid's isometric latitude is smaller than the sphere's.
    EXPECT_LT(IsometricLatitude(kPi / 4, 0.0068), IsometricLatitude(kPi / 4, 0));
    EXPECT_DOUBLE_EQ(IsometricLatitude(-0.7, 0.0068), -IsometricLatitude(0.7, 0.0068));
    // On the sphere a single correction step gives the closed form.
    for (double L : {-2.0, -0.3, 0.0, 0.8, 3.1})
        EXPECT_DOUBLE_EQ(LatitudeFromIsometric(L, 0), 2 * std::atan(std::exp(L)) - kPi / 2);
}

// Side by side, each value takes its own steps: the same bits as alone, for
// every count (the groups of four and what is left), values that stop after
// different numbers of steps (the sphere after one, the poles, a NaN after
// the cap) and values mixed between them.
TEST(Isometric, LatitudesSideBySideAreThoseOfOneAtATime) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values = {0.9,  -0.3, 1e-9, 3.2,  nan, 0.0,  inf,  -inf, 0.75,
                                        -2.5, 12.0, 0.81, 0.82, 1.4, -1.4, 0.05, 6.0};
    for (const double e2 : {0.0, 0.00669438002290079, 0.00680348764629989, 0.3}) {
        for (std::size_t count = 0; count <= values.size(); ++count) {
            std::vector<double> latitudes(count + 1, -7.0);
            LatitudesFromIsometric(values.data(), static_cast<int>(count), e2, latitudes.data());
            for (std::size_t i = 0; i < count; ++i) {
                const double alone = LatitudeFromIsometric(values[i], e2);
                EXPECT_EQ(std::memcmp(&alone, &latitudes[i], sizeof alone), 0)
                    << "e2 " << e2 << " value " << values[i] << " of " << count;
            }
            EXPECT_EQ(latitudes[count], -7.0);  // nothing written beyond the count
        }
    }
}

// The geocentric conversions of many points, each on its own ellipsoid, are
// bit for bit those of each alone: points on the polar axis and on the
// negative X half-axis, both sides of the antimeridian, the centre, and
// counts around the groups of four.
TEST(Geocentric, ManyPointsSideBySideAreEachAlone) {
    std::vector<double> a, e2, x, y, z, lambda, phi, h;
    const double points[][3] = {{4201000, 168000, 4780000}, {0, 0, 6356752},   {0, 0, -6356000},
                                {0, 0, 0},                  {-6378137, 0, 0},  {-6378000, -5, 100},
                                {-6378000, 5, -100},        {1e-9, 0, 5e6},    {3e6, -4e6, -3.5e6},
                                {-3e6, 4e6, 3.5e6},         {6378137, 0, 0}};
    for (std::size_t i = 0; i < std::size(points); ++i) {
        const Ellipsoid& e = kEllipsoids[i % std::size(kEllipsoids)];
        a.push_back(e.a);
        e2.push_back(e.e2);
        x.push_back(points[i][0]);
        y.push_back(points[i][1]);
        z.push_back(points[i][2]);
        lambda.push_back(-3.1 + 0.61 * static_cast<double>(i));
        phi.push_back(-1.5 + 0.29 * static_cast<double>(i));
        h.push_back(-100 + 900.0 * static_cast<double>(i));
    }
    const auto same = [](double u, double v) { return std::memcmp(&u, &v, sizeof u) == 0; };
    for (std::size_t count = 0; count <= x.size(); ++count) {
        std::vector<Geographic3> geographic(count);
        std::vector<Cartesian3> cartesian(count);
        CartesianToGeographicMany(x.data(), y.data(), z.data(), a.data(), e2.data(),
                                  static_cast<int>(count), geographic.data());
        GeographicToCartesianMany(a.data(), e2.data(), lambda.data(), phi.data(), h.data(),
                                  static_cast<int>(count), cartesian.data());
        for (std::size_t i = 0; i < count; ++i) {
            const Geographic3 g = CartesianToGeographic(x[i], y[i], z[i], a[i], e2[i]);
            EXPECT_TRUE(same(g.longitude, geographic[i].longitude)) << i << " of " << count;
            EXPECT_TRUE(same(g.latitude, geographic[i].latitude)) << i << " of " << count;
            EXPECT_TRUE(same(g.height, geographic[i].height)) << i << " of " << count;
            const Cartesian3 c = GeographicToCartesian(a[i], e2[i], lambda[i], phi[i], h[i]);
            EXPECT_TRUE(same(c.x, cartesian[i].x) && same(c.y, cartesian[i].y) &&
                        same(c.z, cartesian[i].z))
                << i << " of " << count;
        }
    }
}

TEST(Isometric, AbsurdInputsEndTheIteration) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // These return (the loop is capped) instead of hanging the program.
    EXPECT_TRUE(std::isnan(LatitudeFromIsometric(nan, 0.0068)));
    EXPECT_TRUE(std::isnan(LatitudeFromIsometric(0.5, nan)));
    EXPECT_EQ(LatitudeFromIsometric(inf, 0.0068), kPi / 2);
    EXPECT_EQ(LatitudeFromIsometric(-inf, 0.0068), -kPi / 2);
    const double phi = LatitudeFromIsometric(1.0, 1.5);  // e² above 1: no real ellipsoid
    EXPECT_FALSE(std::isinf(phi));
}

}  // namespace
