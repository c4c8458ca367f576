// The numbers of a projection record for the projection computations.

#include "catalogue/projection_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "catalogue/loader.h"
#include "geodesy/angle_unit.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kGrade = std::numbers::pi / 200;

CElg Ellipsoid(double a, double e2) {
    CElg e;
    e.a = a;
    e.e2 = e2;
    return e;
}

CLgo Meridian(int id, double longitude, int unit) {
    CLgo m;
    m.id = id;
    m.longitude = longitude;
    m.unit = unit;
    return m;
}

// A record whose values are all different, so that a value copied into the
// wrong place shows.
CPrc Record(const CElg* ellipsoid, const CLgo* meridian) {
    CPrc r;
    r.id = 9;
    r.family = 1;
    r.lambertSubkind = 3;
    r.unit = Grade;
    r.firstParallel = 49.1;
    r.secondParallel = 53.2;
    r.scaleFactor = 0.9993;
    r.originLatitude = 51.4;
    r.originLongitude = 0.5;
    r.falseEasting = 600100;
    r.falseNorthing = 2200200;
    r.ellipsoid = ellipsoid;
    r.meridian = meridian;
    return r;
}

TEST(ProjectionParametersOf, TakesEveryValueOfTheRecord) {
    const CElg clarke = Ellipsoid(6378249.2, 0.00680348764629989);
    const CLgo paris = Meridian(2, 2.5969213, Grade);
    const ProjectionParameters p = ProjectionParametersOf(Record(&clarke, &paris));
    EXPECT_EQ(1, p.family);
    EXPECT_EQ(3, p.lambertSubkind);
    EXPECT_EQ(Grade, p.unit);
    EXPECT_EQ(49.1, p.firstParallel);
    EXPECT_EQ(53.2, p.secondParallel);
    EXPECT_EQ(0.9993, p.scaleFactor);
    EXPECT_EQ(51.4, p.originLatitude);
    EXPECT_EQ(0.5, p.originLongitude);
    EXPECT_EQ(600100, p.falseEasting);
    EXPECT_EQ(2200200, p.falseNorthing);
    EXPECT_EQ(6378249.2, p.a);
    EXPECT_EQ(0.00680348764629989, p.e2);
    EXPECT_TRUE(p.meridianShift);
    EXPECT_EQ(2.5969213, p.meridianLongitude);
    EXPECT_EQ(Grade, p.meridianUnit);
}

// Only a prime meridian other than Greenwich (id 1) shifts the origin; the
// longitude a Greenwich record holds is never added.
TEST(ProjectionParametersOf, OnlyAMeridianOtherThanGreenwichShiftsTheOrigin) {
    const CElg grs80 = Ellipsoid(6378137, 0.00669438002290079);
    const CLgo paris = Meridian(2, 2.5969213, Grade);
    const CLgo oddGreenwich = Meridian(1, 5, DecimalDegree);
    const CLgo east = Meridian(7, -3.5, DecimalDegree);
    struct Case {
        const CLgo* meridian;
        double centralLongitude;  // radians
    };
    const Case cases[] = {
        {nullptr, 0.5 * kGrade},
        {&oddGreenwich, 0.5 * kGrade},
        {&paris, (0.5 + 2.5969213) * kGrade},
        {&east, 0.5 * kGrade - 3.5 * kDeg},
    };
    for (const Case& c : cases) {
        const ProjectionParameters p = ProjectionParametersOf(Record(&grs80, c.meridian));
        EXPECT_NEAR(c.centralLongitude, CentralLongitude(p), 1e-15)
            << (c.meridian ? c.meridian->id : 0);
    }
}

TEST(ProjectionParametersOf, ARecordWithoutEllipsoidIsNotHandled) {
    const CLgo paris = Meridian(2, 2.5969213, Grade);
    const ProjectionParameters p = ProjectionParametersOf(Record(nullptr, &paris));
    ProjectedPoint projected;
    projected.easting = 12;
    EXPECT_EQ(kProjectionNotHandled, ProjectGeographic(p, 0.05, 0.8, projected));
    EXPECT_EQ(12, projected.easting);
    GeographicPoint geographic;
    geographic.latitude = 34;
    EXPECT_EQ(kProjectionNotHandled, UnprojectProjected(p, 600000, 2200000, geographic));
    EXPECT_EQ(34, geographic.latitude);
}

// Every family of the installed catalogue puts its origin, longitude counted
// from Greenwich, on its false origin.
TEST(ProjectionParametersOf, InstalledProjectionsPutTheirOriginOnTheFalseOrigin) {
    Catalogue catalogue;
    ASSERT_FALSE(ReadCatalogue(std::string(QUORVEL_SOURCE_DIR) + "/data/catalogue.txt", catalogue));
    struct Case {
        int id;
        double longitude, latitude;  // radians from Greenwich
        double easting, northing;
    };
    const double paris = 2.5969213 * kGrade;
    const Case cases[] = {
        {27561, paris, 55 * kGrade, 600000, 200000},
        {27572, paris, 52 * kGrade, 600000, 2200000},
        {2154, 3 * kDeg, 46.5 * kDeg, 700000, 6600000},
        {3946, 3 * kDeg, 46 * kDeg, 1700000, 5200000},
        {23030, -3 * kDeg, 0, 500000, 0},
        {2975, 57 * kDeg, 0, 500000, 10000000},
        {3727, 55.533333333333333 * kDeg, -21.116666666666667 * kDeg, 160000, 50000},
        {3035, 10 * kDeg, 52 * kDeg, 4321000, 3210000},
    };
    for (const Case& c : cases) {
        const CPrc* record = FindById(catalogue.projections, c.id);
        ASSERT_NE(nullptr, record) << c.id;
        ProjectedPoint p;
        ASSERT_EQ(0, ProjectGeographic(ProjectionParametersOf(*record), c.longitude, c.latitude, p))
            << c.id;
        EXPECT_NEAR(c.easting, p.easting, 1e-6) << c.id;
        EXPECT_NEAR(c.northing, p.northing, 1e-6) << c.id;
    }
}

}  // namespace
