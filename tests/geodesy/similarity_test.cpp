#include "geodesy/similarity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "reference_table.h"

namespace {

constexpr double kArcSecond = std::numbers::pi / (180.0 * 3600.0);

struct Parameters {
    double tx, ty, tz, d, rx, ry, rz;  // metres, unitless, radians
};

Parameters FromCatalogueUnits(const std::vector<double>& s) {
    return {s[0], s[1], s[2], s[3] * 1e-6, s[4] * kArcSecond, s[5] * kArcSecond, s[6] * kArcSecond};
}

Cartesian3 Direct(const Parameters& p, double x, double y, double z) {
    return SimilarityDirect(p.tx, p.ty, p.tz, p.d, p.rx, p.ry, p.rz, x, y, z);
}

Cartesian3 Inverse(const Parameters& p, double x, double y, double z) {
    return SimilarityInverse(p.tx, p.ty, p.tz, p.d, p.rx, p.ry, p.rz, x, y, z);
}

double Distance(const Cartesian3& c, double x, double y, double z) {
    return std::max({std::fabs(c.x - x), std::fabs(c.y - y), std::fabs(c.z - z)});
}

// PROJ's Helmert applies the scale to the rotated vector, (1 + D)(I + Ω) X,
// where ours scales the diagonal only: the two differ by D Ω X, a second
// order term (31 mm for 100 ppm and 10" on the earth's surface).
Cartesian3 ScaledRotation(const Parameters& p, double x, double y, double z) {
    return {p.d * (-p.rz * y + p.ry * z), p.d * (p.rz * x - p.rx * z),
            p.d * (-p.ry * x + p.rx * y)};
}

TEST(Similarity, MatchesProjHelmertInThePositionVectorConvention) {
    const reference::Table t = reference::Read("helmert.txt");
    ASSERT_TRUE(t.ok);
    Parameters p{};
    bool rotated = false;
    int sets = 0, points = 0;
    double direct = 0, directRaw = 0, exactInverse = 0, projInverse = 0;
    for (size_t n = 0; n < t.rows.size(); ++n) {
        const std::vector<double>& r = t.rows[n];
        if (t.labels[n] == "set") {
            ASSERT_EQ(r.size(), 7u);
            p = FromCatalogueUnits(r);
            rotated = r[4] != 0 || r[5] != 0 || r[6] != 0;
            ++sets;
            continue;
        }
        ASSERT_EQ(r.size(), 12u);
        ++points;
        const double x = r[0], y = r[1], z = r[2];
        const Cartesian3 ours = Direct(p, x, y, z);
        const Cartesian3 cross = ScaledRotation(p, x, y, z);
        directRaw = std::max(directRaw, Distance(ours, r[3], r[4], r[5]));
        direct = std::max(direct, Distance(ours, r[3] - cross.x, r[4] - cross.y, r[5] - cross.z));
        // The coordinate-frame convention turns the other way: 2 Ω X apart.
        if (rotated) {
            EXPECT_GT(Distance(ours, r[6], r[7], r[8]), 1.0);
        }
        // Our inverse undoes PROJ's forward transformation exactly...
        const Cartesian3 back = Inverse(p, r[3] - cross.x, r[4] - cross.y, r[5] - cross.z);
        exactInverse = std::max(exactInverse, Distance(back, x, y, z));
        // ...where PROJ's own inverse uses the transposed rotation, right to
        // the first order only (Ω² X and D Ω X apart).
        const double omega = std::max({std::fabs(p.rx), std::fabs(p.ry), std::fabs(p.rz)});
        const double secondOrder = 3 * (omega * omega + std::fabs(p.d) * omega) * 6.4e6 + 1e-6;
        EXPECT_LE(Distance(Inverse(p, x, y, z), r[9], r[10], r[11]), secondOrder);
        projInverse = std::max(projInverse, Distance(Inverse(p, x, y, z), r[9], r[10], r[11]));
    }
    std::printf(
        "helmert %d sets, %d points: direct %.2e m (raw %.2e m), inverse of PROJ's "
        "forward %.2e m, from PROJ's first-order inverse %.2e m\n",
        sets, points, direct, directRaw, exactInverse, projInverse);
    EXPECT_EQ(sets, 6);
    EXPECT_LE(direct, 1e-6);
    EXPECT_LE(exactInverse, 1e-6);
}

TEST(Similarity, InverseUndoesDirectForUsualParameters) {
    double worst = 0;
    for (int k = 0; k < 200; ++k) {
        const double s = std::sin(k * 1.7), c = std::cos(k * 0.9);
        const Parameters p{1000 * s,
                           -1000 * c,
                           1000 * std::sin(k * 2.3),
                           100e-6 * c,
                           10 * kArcSecond * s,
                           -10 * kArcSecond * std::cos(k * 3.1),
                           10 * kArcSecond * std::sin(k * 0.4)};
        const double lon = k * 0.11, lat = std::sin(k * 0.7) * 1.5;
        const double x = 6.4e6 * std::cos(lat) * std::cos(lon),
                     y = 6.4e6 * std::cos(lat) * std::sin(lon), z = 6.36e6 * std::sin(lat);
        const Cartesian3 d = Direct(p, x, y, z);
        worst = std::max(worst, Distance(Inverse(p, d.x, d.y, d.z), x, y, z));
    }
    std::printf("similarity round trip: %.2e m\n", worst);
    EXPECT_LE(worst, 1e-8);
}

TEST(Similarity, TranslationAloneIsExact) {
    const Parameters p{-168, -60, 320, 0, 0, 0, 0};
    const Cartesian3 d = Direct(p, 4201234.125, 177654.5, 4779203.25);
    EXPECT_EQ(d.x, 4201234.125 - 168);
    EXPECT_EQ(d.y, 177654.5 - 60);
    EXPECT_EQ(d.z, 4779203.25 + 320);
    const Cartesian3 i = Inverse(p, d.x, d.y, d.z);
    EXPECT_EQ(i.x, 4201234.125);
    EXPECT_EQ(i.y, 177654.5);
    EXPECT_EQ(i.z, 4779203.25);
}

}  // namespace
