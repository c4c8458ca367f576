// Properties of the projection families and of the projection dispatch that
// the reference tables do not show: origins, standard parallels, unit
// handling, aspects of the equal-area projection and refused projections.

#include "geodesy/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "geodesy/angle.h"
#include "geodesy/equal_area.h"
#include "geodesy/gauss_laborde.h"
#include "geodesy/lambert_conic.h"
#include "geodesy/transverse_mercator.h"
#include "projection_definitions.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;
constexpr double kA = 6378137;
constexpr double kE2 = 0.00669438002290079;  // GRS 1980
constexpr double kClarkeA = 6378249.2;
constexpr double kClarkeE2 = 0.00680348764629989;

using projections::kGreenwich;
using projections::kParis;
using projections::PrimeMeridian;
const projections::EllipsoidValues kGrs80{kA, kE2};

ProjectionParameters Definition(int family, int subkind, int unit, double lon0, double lat0,
                                double k0, const PrimeMeridian& meridian = kGreenwich) {
    return projections::Projection(family, subkind, unit, kGrs80, meridian, lon0, lat0, k0, 700000,
                                   6600000);
}

TEST(LambertConic, TangentOriginHasTheFalseOriginAndK0) {
    const double phi0 = 46.8 * kDeg, lambdaM = 2.33722917 * kDeg;
    const LambertConic c =
        LambertTangent(kClarkeA, kClarkeE2, lambdaM, phi0, 0.99987742, 600000, 2200000);
    const ProjectedPoint p = LambertForward(c, lambdaM, phi0);
    EXPECT_NEAR(p.easting, 600000, 1e-9);
    EXPECT_NEAR(p.northing, 2200000, 1e-8);
    EXPECT_NEAR((p.scaleFactor - 1) * 1e6, (0.99987742 - 1) * 1e6, 1e-7);
    EXPECT_EQ(p.convergence, 0);
    // East of the central meridian true north lies west of grid north.
    EXPECT_LT(LambertForward(c, lambdaM + 0.05, phi0).convergence, 0);
    const GeographicPoint g = LambertInverse(c, 600000, 2200000);
    EXPECT_NEAR(g.longitude, lambdaM, 1e-15);
    EXPECT_NEAR(g.latitude, phi0, 1e-13);
}

TEST(LambertConic, SecantHasTrueScaleOnBothParallels) {
    const double phi1 = 44 * kDeg, phi2 = 49 * kDeg, phi0 = 46.5 * kDeg;
    const LambertConic c = LambertSecant(kA, kE2, 3 * kDeg, phi0, phi1, phi2, 700000, 6600000);
    for (double lambda : {-2.0, 3.0, 9.5}) {
        EXPECT_NEAR(LambertForward(c, lambda * kDeg, phi1).scaleFactor, 1, 1e-14);
        EXPECT_NEAR(LambertForward(c, lambda * kDeg, phi2).scaleFactor, 1, 1e-14);
    }
    // Between the parallels the scale is below 1, outside above.
    EXPECT_LT(LambertForward(c, 0.1, phi0).scaleFactor, 1);
    EXPECT_GT(LambertForward(c, 0.1, 51 * kDeg).scaleFactor, 1);
    const LambertConic swapped =
        LambertSecant(kA, kE2, 3 * kDeg, phi0, phi2, phi1, 700000, 6600000);
    EXPECT_NEAR(swapped.n, c.n, 1e-15);
    const ProjectedPoint a = LambertForward(c, 0.1, 0.8), b = LambertForward(swapped, 0.1, 0.8);
    EXPECT_NEAR(a.easting, b.easting, 1e-7);
    EXPECT_NEAR(a.northing, b.northing, 1e-7);
    const ProjectedPoint origin = LambertForward(c, 3 * kDeg, phi0);
    EXPECT_NEAR(origin.easting, 700000, 1e-9);
    EXPECT_NEAR(origin.northing, 6600000, 1e-8);
}

TEST(TransverseMercator, CentralMeridianAndOrigin) {
    const TransverseMercator c =
        TransverseMercatorConstants(kA, kE2, 3 * kDeg, 0, 0.9996, 500000, 0);
    for (double lat : {0.0, 12.5, 45.0, 80.0}) {
        const ProjectedPoint p = TransverseMercatorForward(c, 3 * kDeg, lat * kDeg);
        EXPECT_NEAR(p.easting, 500000, 1e-9);
        EXPECT_EQ(p.convergence, 0);
        EXPECT_DOUBLE_EQ(p.scaleFactor, 0.9996);
    }
    const ProjectedPoint origin = TransverseMercatorForward(c, 3 * kDeg, 0);
    EXPECT_NEAR(origin.northing, 0, 1e-9);
    // The meridian arc to 45° of GRS 1980 is 4984944.378 m (0.9996 × it here).
    EXPECT_NEAR(TransverseMercatorForward(c, 3 * kDeg, 45 * kDeg).northing, 0.9996 * 4984944.378,
                1e-3);
    // A projection of origin latitude φ₀ puts φ₀ on the false northing.
    const TransverseMercator shifted =
        TransverseMercatorConstants(kA, kE2, 3 * kDeg, 45 * kDeg, 1, 0, 200000);
    EXPECT_NEAR(TransverseMercatorForward(shifted, 3 * kDeg, 45 * kDeg).northing, 200000, 1e-6);
    EXPECT_NEAR(MeridianArcOverA(-0.6, kE2), -MeridianArcOverA(0.6, kE2), 1e-16);
}

TEST(GaussLaborde, OriginProjectsToTheFalseOrigin) {
    const double lambdaM = 55.5333333333 * kDeg, phi0 = -21.1166666667 * kDeg;
    const GaussLaborde c =
        GaussLabordeConstants(6378388, 0.00672267002233332, lambdaM, phi0, 1, 160000, 50000);
    const ProjectedPoint p = GaussLabordeForward(c, lambdaM, phi0);
    EXPECT_NEAR(p.easting, 160000, 1e-9);
    EXPECT_NEAR(p.northing, 50000, 1e-8);
    EXPECT_NEAR(p.scaleFactor, 1, 1e-14);
    EXPECT_EQ(p.convergence, 0);
    const GeographicPoint g = GaussLabordeInverse(c, 160000, 50000);
    EXPECT_NEAR(g.longitude, lambdaM, 1e-15);
    EXPECT_NEAR(g.latitude, phi0, 1e-13);
}

TEST(EqualArea, ObliqueOriginAndItsExactInverse) {
    const EqualArea c = EqualAreaConstants(kA, kE2, 10 * kDeg, 52 * kDeg, 4321000, 3210000);
    const ProjectedPoint p = EqualAreaForward(c, 10 * kDeg, 52 * kDeg);
    EXPECT_NEAR(p.easting, 4321000, 1e-9);
    EXPECT_NEAR(p.northing, 3210000, 1e-8);
    EXPECT_NEAR(p.scaleFactor, 1, 1e-14);
    EXPECT_EQ(p.convergence, 0);
    const GeographicPoint g = EqualAreaInverse(c, 4321000, 3210000);
    EXPECT_EQ(g.longitude, 10 * kDeg);
    EXPECT_EQ(g.latitude, 52 * kDeg);
    // The poles: finite factors, and the north pole comes back as the pole.
    for (double pole : {kPi / 2, -kPi / 2}) {
        const ProjectedPoint q = EqualAreaForward(c, 40 * kDeg, pole);
        EXPECT_TRUE(std::isfinite(q.scaleFactor) && std::isfinite(q.convergence));
    }
    const ProjectedPoint north = EqualAreaForward(c, 10 * kDeg, kPi / 2);
    EXPECT_NEAR(EqualAreaInverse(c, north.easting, north.northing).latitude, kPi / 2, 1e-7);
}

TEST(EqualArea, PolarAspects) {
    for (double pole : {kPi / 2, -kPi / 2}) {
        const EqualArea c = EqualAreaConstants(kA, kE2, 0, pole, 2000000, 2000000);
        const ProjectedPoint centre = EqualAreaForward(c, 0.7, pole);
        EXPECT_NEAR(centre.easting, 2000000, 1e-6);
        EXPECT_NEAR(centre.northing, 2000000, 1e-6);
        GeographicPoint g = EqualAreaInverse(c, 2000000, 2000000);
        EXPECT_EQ(g.latitude, pole);
        EXPECT_EQ(g.longitude, 0);
        const double sign = pole > 0 ? 1 : -1;
        for (double lat : {89.0, 75.0, 60.0, 45.0})
            for (double lon : {-170.0, -90.0, -10.0, 0.0, 35.0, 120.0}) {
                const ProjectedPoint p = EqualAreaForward(c, lon * kDeg, sign * lat * kDeg);
                g = EqualAreaInverse(c, p.easting, p.northing);
                EXPECT_NEAR(g.longitude, lon * kDeg, 1e-10);
                EXPECT_NEAR(g.latitude, sign * lat * kDeg, 1e-10);
                // Meridians are straight lines through the pole: the
                // convergence is the longitude, with the aspect's sign.
                EXPECT_NEAR(p.convergence, -sign * lon * kDeg, 1e-12);
            }
        // On the polar aspect the scale along parallels is above 1 away from the centre.
        EXPECT_GT(EqualAreaForward(c, 0.3, sign * 60 * kDeg).scaleFactor, 1);
    }
}

TEST(EqualArea, SphereAndAbsurdAuthalicValues) {
    // A sphere (e² = 0) has q = 2 sin φ instead of a 0/0.
    EXPECT_DOUBLE_EQ(AuthalicQ(0.5, 0), 2 * std::sin(0.5));
    const EqualArea sphere = EqualAreaConstants(6371000, 0, 0, 0.8, 0, 0);
    const ProjectedPoint p = EqualAreaForward(sphere, 0.2, 0.5);
    const GeographicPoint g = EqualAreaInverse(sphere, p.easting, p.northing);
    EXPECT_NEAR(g.longitude, 0.2, 1e-12);
    EXPECT_NEAR(g.latitude, 0.5, 1e-12);
    const double qp = AuthalicQ(kPi / 2, kE2);
    EXPECT_EQ(LatitudeFromAuthalicQ(qp * 1.0000001, qp, kE2), kPi / 2);
    EXPECT_EQ(LatitudeFromAuthalicQ(-qp, qp, kE2), -kPi / 2);
    EXPECT_TRUE(
        std::isnan(LatitudeFromAuthalicQ(std::numeric_limits<double>::quiet_NaN(), qp, kE2)));
}

TEST(ProjectionDispatch, UnhandledFamiliesAndSubkindsAreRefused) {
    for (int family : {0, 4, 7, -1}) {
        const ProjectionParameters r = Definition(family, 1, DecimalDegree, 3, 46.5, 1);
        ProjectedPoint p;
        p.easting = 12;
        EXPECT_EQ(ProjectGeographic(r, 0.05, 0.8, p), kProjectionNotHandled) << family;
        EXPECT_EQ(p.easting, 12);
        GeographicPoint g;
        g.latitude = 34;
        EXPECT_EQ(UnprojectProjected(r, 700000, 6600000, g), kProjectionNotHandled);
        EXPECT_EQ(g.latitude, 34);
    }
    for (int subkind : {0, 4, 99}) {
        const ProjectionParameters r = Definition(1, subkind, DecimalDegree, 3, 46.5, 1);
        ProjectedPoint p;
        GeographicPoint g;
        EXPECT_EQ(ProjectGeographic(r, 0.05, 0.8, p), kProjectionNotHandled) << subkind;
        EXPECT_EQ(UnprojectProjected(r, 700000, 6600000, g), kProjectionNotHandled);
    }
}

TEST(ProjectionDispatch, SubkindsOneAndTwoAreTheSameTangentCone) {
    const ProjectionParameters one = Definition(1, 1, Grade, 0, 52, 0.99987742, kParis);
    const ProjectionParameters two = Definition(1, 2, Grade, 0, 52, 0.99987742, kParis);
    ProjectedPoint a, b;
    ASSERT_EQ(ProjectGeographic(one, 0.05, 0.8, a), 0);
    ASSERT_EQ(ProjectGeographic(two, 0.05, 0.8, b), 0);
    EXPECT_EQ(a.easting, b.easting);
    EXPECT_EQ(a.northing, b.northing);
}

TEST(ProjectionDispatch, AngleConversionAndPrimeMeridian) {
    // The projection conversion knows radians, grades and packed DMS only.
    EXPECT_DOUBLE_EQ(ProjectionAngleToRadians(100, Grade), kPi / 2);
    EXPECT_DOUBLE_EQ(ProjectionAngleToRadians(0.25, Radian), 0.25);
    EXPECT_DOUBLE_EQ(ProjectionAngleToRadians(45.30, PackedDms), 45.5 * kDeg);
    EXPECT_DOUBLE_EQ(ProjectionAngleToRadians(3, DecimalHour), 3 * kDeg);
    EXPECT_DOUBLE_EQ(ProjectionAngleToRadians(3600, SecondOfDegree), 3600 * kDeg);
    EXPECT_EQ(ProjectionAngleToRadians(0, Grade), 0);

    // Paris adds its longitude; a meridian that does not shift the origin
    // never does, whatever longitude it holds.
    EXPECT_NEAR(CentralLongitude(Definition(1, 1, Grade, 0, 52, 1, kParis)), 2.33722917 * kDeg,
                1e-16);
    const PrimeMeridian unshifted{false, 5, DecimalDegree};
    EXPECT_DOUBLE_EQ(CentralLongitude(Definition(2, 0, DecimalDegree, 3, 0, 1, unshifted)),
                     3 * kDeg);

    // A transverse Mercator record in decimal hours reads its angles as
    // degrees; Gauss-Laborde converts them fully and ignores the meridian.
    ProjectedPoint p;
    ASSERT_EQ(ProjectGeographic(Definition(2, 0, DecimalHour, 3, 0, 0.9996), 3 * kDeg, 0.5, p), 0);
    EXPECT_NEAR(p.easting, 700000, 1e-9);
    const ProjectionParameters laborde =
        Definition(5, 0, DecimalHour, 3.7, 0, 1, kParis);  // 3.7 h = 55.5°
    ASSERT_EQ(ProjectGeographic(laborde, 55.5 * kDeg, -0.3, p), 0);
    EXPECT_NEAR(p.easting, 700000, 1e-9);
    // The equal-area origin latitude goes through the full conversion too.
    const ProjectionParameters equalArea =
        Definition(6, 0, DecimalHour, 10, 3.2, 1);  // 3.2 h = 48°, λ₀ read as 10°
    ASSERT_EQ(ProjectGeographic(equalArea, 10 * kDeg, 48 * kDeg, p), 0);
    EXPECT_NEAR(p.easting, 700000, 1e-9);
    EXPECT_NEAR(p.northing, 6600000, 1e-8);
}

TEST(ProjectionDispatch, InverseOfEveryFamily) {
    const ProjectionParameters definitions[] = {Definition(1, 1, Grade, 0, 52, 0.99987742, kParis),
                                                Definition(1, 3, DecimalDegree, 3, 46.5, 1),
                                                Definition(2, 0, DecimalDegree, 3, 0, 0.9996),
                                                Definition(3, 0, Radian, 0.05, 0, 0.9996),
                                                Definition(5, 0, PackedDms, 3.3, 46.3, 1),
                                                Definition(6, 0, DecimalDegree, 3, 46.5, 1)};
    for (ProjectionParameters r : definitions) {
        if (r.family == 1 && r.lambertSubkind == 3) {
            r.firstParallel = 44;
            r.secondParallel = 49;
        }
        for (double lon : {-1.0, 2.0, 6.5})
            for (double lat : {42.0, 46.0, 50.5}) {
                ProjectedPoint p;
                GeographicPoint g;
                ASSERT_EQ(ProjectGeographic(r, lon * kDeg, lat * kDeg, p), 0);
                ASSERT_EQ(UnprojectProjected(r, p.easting, p.northing, g), 0);
                EXPECT_NEAR(g.longitude, lon * kDeg, 1e-10) << r.family;
                EXPECT_NEAR(g.latitude, lat * kDeg, 1e-10) << r.family;
            }
    }
}

}  // namespace

// The projection dispatch keeps the constants of the projections it last
// used and the last inverse of each: every result must be, bit for bit, the
// one of constants computed for the call, whatever the order of the
// projections and whichever single value tells two of them apart.
namespace kept {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The family computation with constants computed now.
ProjectedPoint FreshForward(const ProjectionParameters& r, double lambda, double phi) {
    const double a = r.a, e2 = r.e2;
    const double lambdaM = CentralLongitude(r);
    switch (r.family) {
        case 1:
            return LambertForward(
                r.lambertSubkind == 3
                    ? LambertSecant(a, e2, lambdaM,
                                    ProjectionAngleToRadians(r.originLatitude, r.unit),
                                    ProjectionAngleToRadians(r.firstParallel, r.unit),
                                    ProjectionAngleToRadians(r.secondParallel, r.unit),
                                    r.falseEasting, r.falseNorthing)
                    : LambertTangent(a, e2, lambdaM,
                                     ProjectionAngleToRadians(r.originLatitude, r.unit),
                                     r.scaleFactor, r.falseEasting, r.falseNorthing),
                lambda, phi);
        case 2:
            return TransverseMercatorForward(
                TransverseMercatorConstants(a, e2, lambdaM,
                                            ProjectionAngleToRadians(r.originLatitude, r.unit),
                                            r.scaleFactor, r.falseEasting, r.falseNorthing),
                lambda, phi);
        case 5:
            return GaussLabordeForward(
                GaussLabordeConstants(a, e2, ConvertAngle(r.originLongitude, r.unit, Radian),
                                      ConvertAngle(r.originLatitude, r.unit, Radian), r.scaleFactor,
                                      r.falseEasting, r.falseNorthing),
                lambda, phi);
        default:
            return EqualAreaForward(
                EqualAreaConstants(a, e2, lambdaM, ConvertAngle(r.originLatitude, r.unit, Radian),
                                   r.falseEasting, r.falseNorthing),
                lambda, phi);
    }
}

GeographicPoint FreshInverse(const ProjectionParameters& r, double easting, double northing) {
    const double a = r.a, e2 = r.e2;
    const double lambdaM = CentralLongitude(r);
    switch (r.family) {
        case 1:
            return LambertInverse(
                r.lambertSubkind == 3
                    ? LambertSecant(a, e2, lambdaM,
                                    ProjectionAngleToRadians(r.originLatitude, r.unit),
                                    ProjectionAngleToRadians(r.firstParallel, r.unit),
                                    ProjectionAngleToRadians(r.secondParallel, r.unit),
                                    r.falseEasting, r.falseNorthing)
                    : LambertTangent(a, e2, lambdaM,
                                     ProjectionAngleToRadians(r.originLatitude, r.unit),
                                     r.scaleFactor, r.falseEasting, r.falseNorthing),
                easting, northing);
        case 2:
            return TransverseMercatorInverse(
                TransverseMercatorConstants(a, e2, lambdaM,
                                            ProjectionAngleToRadians(r.originLatitude, r.unit),
                                            r.scaleFactor, r.falseEasting, r.falseNorthing),
                easting, northing);
        case 5:
            return GaussLabordeInverse(
                GaussLabordeConstants(a, e2, ConvertAngle(r.originLongitude, r.unit, Radian),
                                      ConvertAngle(r.originLatitude, r.unit, Radian), r.scaleFactor,
                                      r.falseEasting, r.falseNorthing),
                easting, northing);
        default:
            return EqualAreaInverse(
                EqualAreaConstants(a, e2, lambdaM, ConvertAngle(r.originLatitude, r.unit, Radian),
                                   r.falseEasting, r.falseNorthing),
                easting, northing);
    }
}

void ExpectFresh(const ProjectionParameters& r, double lambda, double phi) {
    ProjectedPoint p;
    ASSERT_EQ(ProjectGeographic(r, lambda, phi, p), 0);
    const ProjectedPoint f = FreshForward(r, lambda, phi);
    EXPECT_TRUE(SameBits(p.easting, f.easting) && SameBits(p.northing, f.northing) &&
                SameBits(p.scaleFactor, f.scaleFactor) && SameBits(p.convergence, f.convergence))
        << "family " << r.family << " at " << lambda << " " << phi;
    // Twice the same inverse (the second is the kept one), then another.
    for (double shift : {0.0, 0.0, 0.125}) {
        GeographicPoint g;
        ASSERT_EQ(UnprojectProjected(r, p.easting + shift, p.northing, g), 0);
        const GeographicPoint h = FreshInverse(r, p.easting + shift, p.northing);
        EXPECT_TRUE(SameBits(g.longitude, h.longitude) && SameBits(g.latitude, h.latitude))
            << "family " << r.family << " inverse at " << p.easting + shift;
    }
}

}  // namespace kept

// The inverse of many points of one projection gives, bit for bit, the
// inverse of each alone, in every family (the equal-area one point by point)
// and for counts around the groups the latitudes are found in; an unhandled
// projection writes nothing.
TEST(ProjectionDispatch, InverseOfManyPointsIsThatOfEachAlone) {
    const std::vector<ProjectionParameters> all = {
        Definition(1, 1, Grade, 0, 52, 0.99987742, kParis),
        projections::Projection(1, 3, DecimalDegree, kGrs80, kGreenwich, 3, 46.5, 1, 700000,
                                6600000, 44, 49),
        Definition(2, 0, DecimalDegree, 3, 0, 0.9996),
        Definition(5, 0, DecimalDegree, 55.533333333333333, -21.116666666666667, 1),
        Definition(6, 0, DecimalDegree, 10, 52, 1),
    };
    for (const ProjectionParameters& projection : all) {
        for (const int count : {1, 3, 4, 7, 64, 70, 131}) {
            std::vector<double> eastings, northings;
            for (int i = 0; i < count; ++i) {
                eastings.push_back(700000 + 37000.0 * (i % 11) - 150000 + 0.001 * i);
                northings.push_back(6600000 + 41000.0 * (i % 13) - 250000 - 0.003 * i);
            }
            std::vector<GeographicPoint> many(count);
            ASSERT_EQ(UnprojectProjectedMany(projection, eastings.data(), northings.data(), count,
                                             many.data()),
                      0);
            for (int i = 0; i < count; ++i) {
                GeographicPoint alone;
                ASSERT_EQ(UnprojectProjected(projection, eastings[i], northings[i], alone), 0);
                EXPECT_EQ(std::memcmp(&alone.longitude, &many[i].longitude, sizeof(double)), 0)
                    << projection.family << " " << i << " of " << count;
                EXPECT_EQ(std::memcmp(&alone.latitude, &many[i].latitude, sizeof(double)), 0)
                    << projection.family << " " << i << " of " << count;
            }
        }
    }
    ProjectionParameters unhandled = all[0];
    unhandled.lambertSubkind = 7;
    const double e = 700000, n = 6600000;
    GeographicPoint untouched{1.5, 2.5};
    EXPECT_EQ(UnprojectProjectedMany(unhandled, &e, &n, 1, &untouched), kProjectionNotHandled);
    EXPECT_EQ(untouched.longitude, 1.5);
    EXPECT_EQ(untouched.latitude, 2.5);
}

// The forward projection of many points is, bit for bit, each point's
// alone, in every family (the Lambert ones side by side).
TEST(ProjectionDispatch, ForwardOfManyPointsIsThatOfEachAlone) {
    const std::vector<ProjectionParameters> all = {
        Definition(1, 1, Grade, 0, 52, 0.99987742, kParis),
        projections::Projection(1, 3, DecimalDegree, kGrs80, kGreenwich, 3, 46.5, 1, 700000,
                                6600000, 44, 49),
        Definition(2, 0, DecimalDegree, 3, 0, 0.9996),
        Definition(5, 0, DecimalDegree, 55.533333333333333, -21.116666666666667, 1),
        Definition(6, 0, DecimalDegree, 10, 52, 1),
    };
    const auto same = [](double u, double v) { return std::memcmp(&u, &v, sizeof u) == 0; };
    for (const ProjectionParameters& projection : all) {
        for (const int count : {1, 3, 4, 9, 70}) {
            std::vector<double> lambda, phi;
            for (int i = 0; i < count; ++i) {
                lambda.push_back((-6 + 0.23 * i) * kDeg);
                phi.push_back((41 + 0.17 * i) * kDeg);
            }
            std::vector<ProjectedPoint> many(count);
            ASSERT_EQ(ProjectGeographicMany(projection, lambda.data(), phi.data(), count, many.data()), 0);
            for (int i = 0; i < count; ++i) {
                ProjectedPoint alone;
                ASSERT_EQ(ProjectGeographic(projection, lambda[i], phi[i], alone), 0);
                EXPECT_TRUE(same(alone.easting, many[i].easting) &&
                            same(alone.northing, many[i].northing) &&
                            same(alone.convergence, many[i].convergence) &&
                            same(alone.scaleFactor, many[i].scaleFactor))
                    << projection.family << " " << i << " of " << count;
            }
        }
    }
}

TEST(ProjectionDispatch, KeptConstantsGiveTheResultsOfFreshOnes) {
    std::vector<ProjectionParameters> all = {
        Definition(1, 1, Grade, 0, 52, 0.99987742, kParis),
        projections::Projection(1, 3, DecimalDegree, kGrs80, kGreenwich, 3, 46.5, 1, 700000,
                                6600000, 44, 49),
        Definition(2, 0, DecimalDegree, 3, 0, 0.9996),
        Definition(5, 0, DecimalDegree, 55.533333333333333, -21.116666666666667, 1),
        Definition(6, 0, DecimalDegree, 10, 52, 1),
        Definition(1, 2, PackedDms, 2.2014025, 46.48, 0.99987742, kParis),
    };
    // More projections than are kept, in turns: every one is met again after
    // being pushed out.
    for (int turn = 0; turn < 3; ++turn)
        for (const ProjectionParameters& r : all)
            kept::ExpectFresh(r, (0.02 + 0.01 * turn) * (1 + r.family), 0.8);

    // A projection that differs from the last one by a single value gets its
    // own constants.
    ProjectionParameters changing = all[1];
    kept::ExpectFresh(changing, 0.05, 0.8);
    for (double ProjectionParameters::*field :
         {&ProjectionParameters::falseEasting, &ProjectionParameters::falseNorthing,
          &ProjectionParameters::originLatitude, &ProjectionParameters::originLongitude,
          &ProjectionParameters::firstParallel, &ProjectionParameters::secondParallel,
          &ProjectionParameters::a}) {
        changing.*field += 0.5;
        kept::ExpectFresh(changing, 0.05, 0.8);
    }
    changing.lambertSubkind = 1;
    changing.scaleFactor = 0.9999;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.unit = Grade;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.e2 = kClarkeE2;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.meridianShift = true;
    changing.meridianLongitude = kParis.longitude;
    changing.meridianUnit = kParis.unit;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.meridianLongitude = 2.6;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.meridianUnit = DecimalDegree;
    kept::ExpectFresh(changing, 0.05, 0.8);
    changing.meridianShift = false;  // the meridian's longitude no longer counts
    kept::ExpectFresh(changing, 0.05, 0.8);
    // The same projection becoming unhandled is refused at once.
    changing.lambertSubkind = 7;
    ProjectedPoint p;
    GeographicPoint g;
    EXPECT_EQ(ProjectGeographic(changing, 0.05, 0.8, p), kProjectionNotHandled);
    EXPECT_EQ(UnprojectProjected(changing, 700000, 6600000, g), kProjectionNotHandled);
}
