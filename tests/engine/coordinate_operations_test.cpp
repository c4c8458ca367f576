#include <gtest/gtest.h>

#include <cmath>

#include "support/test_catalogue.h"
#include "engine/coordinate_operations.h"
#include "geodesy/angle.h"

namespace {


class Conversions : public ::testing::Test {
protected:
    TestCatalogue cat;

    CCoor Lambert(double easting, double northing, const CPrc* projection) const {
        CCoor c;
        c.type = Projected;
        c.easting = easting;
        c.northing = northing;
        c.sys.system = cat.ntf;
        c.sys.meridian = cat.paris;
        c.sys.projection = projection;
        c.unit = Grade;
        return c;
    }
};

}  // namespace

TEST_F(Conversions, GeographicStaysAsItIs) {
    CCoor c = cat.Geographic(cat.ntf, cat.paris, PackedDms, 1.3, 48.5);
    EXPECT_EQ(0, ToGeographic(c, cat.greenwich));
    EXPECT_EQ(PackedDms, c.unit);
    EXPECT_EQ(1.3, c.longitude);
    EXPECT_EQ(cat.paris, c.sys.meridian);
}

// Back from cartesian the longitude counts from Greenwich in radians, and the
// coordinate says so, whatever meridian and unit it had before.
TEST_F(Conversions, CartesianAndBackNamesGreenwich) {
    CCoor c = cat.Geographic(cat.ntf, cat.paris, Grade, 1.5, 52, 123.4);
    EXPECT_EQ(0, ToCartesian(c, cat.greenwich));
    EXPECT_EQ(Cartesian, c.type);
    EXPECT_EQ(0, ToGeographic(c, cat.greenwich));
    EXPECT_EQ(Radian, c.unit);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);
    EXPECT_NEAR(ConvertAngle(1.5 + 2.5969213, Grade, Radian), c.longitude, 1e-12);
    EXPECT_NEAR(ConvertAngle(52, Grade, Radian), c.latitude, 1e-12);
    EXPECT_NEAR(123.4, c.height, 1e-6);
}

// The origin of Lambert II étendu, both ways: the inverse projection gives
// Greenwich longitudes and names Greenwich.
TEST_F(Conversions, ProjectionBothWays) {
    CCoor c = Lambert(600000, 2200000, cat.lambert2e);
    EXPECT_EQ(0, ProjectedToGeographic(c, cat.greenwich));
    EXPECT_EQ(Geographic, c.type);
    EXPECT_EQ(Radian, c.unit);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);
    EXPECT_NEAR(kParisDegrees, ConvertAngle(c.longitude, Radian, DecimalDegree), 1e-12);
    EXPECT_NEAR(46.8, ConvertAngle(c.latitude, Radian, DecimalDegree), 1e-12);

    // A point 0.5 grade east of Paris on the origin parallel, typed from Paris.
    CCoor g = cat.Geographic(cat.ntf, cat.paris, Grade, 0.5, 52);
    EXPECT_EQ(0, ToProjection(g, cat.lambert2e, cat.greenwich));
    EXPECT_EQ(Projected, g.type);
    EXPECT_EQ(cat.lambert2e, g.sys.projection);
    EXPECT_GT(g.easting, 600000 + 30000);
    // Convergence in the record's unit, grades: n (λm − λ) with n = sin φ0.
    EXPECT_EQ(Grade, g.convergenceUnit);
    EXPECT_NEAR(-0.5 * std::sin(ConvertAngle(52, Grade, Radian)), g.convergence, 1e-9);

    CCoor origin = cat.Geographic(cat.ntf, cat.paris, Grade, 0, 52);
    EXPECT_EQ(0, GeographicToProjected(origin, cat.lambert2e, cat.greenwich));
    EXPECT_NEAR((0.99987742 - 1) * 1e6, origin.linearAlteration, 1e-6);
    EXPECT_NEAR(2200000, origin.northing, 1e-6);
}

TEST_F(Conversions, AnUnhandledFamilyGives300) {
    CCoor c = Lambert(600000, 2200000, cat.family4);
    const CCoor before = c;
    EXPECT_EQ(kProjectionNotHandled, ProjectedToGeographic(c, cat.greenwich));
    EXPECT_EQ(Projected, c.type);
    EXPECT_EQ(before.sys.meridian, c.sys.meridian);

    // To cartesian: 300, and the type is cartesian all the same.
    c.x = 1;
    EXPECT_EQ(kProjectionNotHandled, ToCartesian(c, cat.greenwich));
    EXPECT_EQ(Cartesian, c.type);
    EXPECT_EQ(1, c.x);

    CCoor g = cat.Geographic(cat.ntf, cat.paris, Grade, 0, 52);
    EXPECT_EQ(kProjectionNotHandled, ToProjection(g, cat.family4, cat.greenwich));
    EXPECT_TRUE(g.projectionError);
    EXPECT_EQ(Projected, g.type);
    EXPECT_EQ(cat.family4, g.sys.projection);
}

// A projected point from one projection to another goes through geographic.
TEST_F(Conversions, ProjectionToProjection) {
    CCoor c = Lambert(650000, 2250000, cat.lambert2e);
    EXPECT_EQ(0, ToProjection(c, cat.lambert2e, cat.greenwich));
    EXPECT_NEAR(650000, c.easting, 1e-6);
    EXPECT_NEAR(2250000, c.northing, 1e-6);
}
