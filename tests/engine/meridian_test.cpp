#include <gtest/gtest.h>

#include <cstring>

#include "engine/coordinate_operations.h"
#include "geodesy/angle.h"
#include "support/test_catalogue.h"

namespace {

constexpr int kAllUnits[] = {Radian,       DecimalDegree, Grade,     DecimalHour, SecondOfDegree,
                             SecondOfHour, PackedDms,     PackedHms, PackedDm};

double Degrees(const CCoor& c) {
    return ConvertAngle(c.longitude, c.unit, DecimalDegree);
}

}  // namespace

TEST(FindGreenwich, TakesTheLastRecordWithIdOne) {
    CatalogueList<CLgo> meridians;
    EXPECT_EQ(nullptr, FindGreenwich(meridians));
    meridians.push_back(TestCatalogue::Meridian(1, "Greenwich", 0, DecimalDegree));
    meridians.push_back(TestCatalogue::Meridian(2, "Paris", 2.5969213, Grade));
    meridians.push_back(TestCatalogue::Meridian(1, "Greenwich bis", 0, DecimalDegree));
    EXPECT_EQ(&meridians[2], FindGreenwich(meridians));
}

TEST(SetUnit, ConvertsBothAnglesAndRecordsTheUnit) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.rgf93, cat.greenwich, Grade, 100, 50);
    SetUnit(c, DecimalDegree);
    EXPECT_EQ(DecimalDegree, c.unit);
    EXPECT_DOUBLE_EQ(90, c.longitude);
    EXPECT_DOUBLE_EQ(45, c.latitude);
}

// A point typed in packed degrees-minutes-seconds from Paris, whose longitude
// the catalogue gives in grades: the sum is made in decimal degrees and given
// back packed.
TEST(ToGreenwich, AddsAMeridianInGradesToAPackedLongitude) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.ntf, cat.paris, PackedDms, 1.3, 48.5);  // 1°30'
    ToGreenwich(c, cat.greenwich);
    EXPECT_EQ(PackedDms, c.unit);
    EXPECT_NEAR(DegreesToPackedDms(1.5 + kParisDegrees), c.longitude, 1e-12);
    EXPECT_NEAR(3.5014025012, c.longitude, 1e-10);  // 3°50'14.025012"
    EXPECT_EQ(48.5, c.latitude);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);
}

TEST(ToGreenwich, LeavesAGreenwichLongitudeAlone) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, 1.25, 48.5);
    ToGreenwich(c, cat.greenwich);
    EXPECT_EQ(1.25, c.longitude);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);
}

// The meridian the longitude is counted from decides, not the system's own:
// a WGS84 point (system on Greenwich) typed relative to Paris is 2.337° east
// of where it would be from Greenwich.
TEST(ToGreenwich, UsesTheCoordinatesMeridianNotTheSystems) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.wgs84, cat.paris, DecimalDegree, 0.5, 45);
    ToGreenwich(c, cat.greenwich);
    EXPECT_NEAR(0.5 + kParisDegrees, c.longitude, 1e-12);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);

    // And an NTF point (system on Paris) typed from Greenwich stays put.
    CCoor n = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, 0.5, 45);
    ToGreenwich(n, cat.greenwich);
    EXPECT_EQ(0.5, n.longitude);
}

TEST(ChangeMeridian, ToTheSameRecordChangesNothing) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.ntf, cat.paris, PackedDms, 0.12345678912, 48.5);
    const CCoor before = c;
    ChangeMeridian(c, cat.paris, cat.greenwich);
    EXPECT_EQ(0, std::memcmp(&before.longitude, &c.longitude, sizeof(double)));
    EXPECT_EQ(cat.paris, c.sys.meridian);
}

TEST(ChangeMeridian, ReexpressesFromTheCoordinatesMeridianAndNamesTheNewOne) {
    TestCatalogue cat;
    CCoor c = cat.Geographic(cat.rgf93, cat.greenwich, Grade, 3, 52);
    ChangeMeridian(c, cat.paris, cat.greenwich);
    EXPECT_NEAR(3 - 2.5969213, c.longitude, 1e-12);
    EXPECT_EQ(cat.paris, c.sys.meridian);

    ChangeMeridian(c, cat.greenwich, cat.greenwich);
    EXPECT_NEAR(3, c.longitude, 1e-12);
    EXPECT_EQ(cat.greenwich, c.sys.meridian);
}

// Re-expressing a coordinate never touches the catalogue: a later point of
// the same system, typed from Greenwich, is not shifted by an earlier point's
// change to Paris.
TEST(ChangeMeridian, LeavesTheSystemRecordAsTheCatalogueGaveIt) {
    TestCatalogue cat;
    CCoor first = cat.Geographic(cat.wgs84, cat.greenwich, DecimalDegree, 3, 45);
    ChangeMeridian(first, cat.paris, cat.greenwich);
    EXPECT_EQ(cat.greenwich, cat.wgs84->meridian);

    CCoor later = cat.Geographic(cat.wgs84, cat.greenwich, DecimalDegree, 3, 45);
    ToGreenwich(later, cat.greenwich);
    EXPECT_EQ(3, later.longitude);
    // And the Paris point comes back to its Greenwich longitude.
    ToGreenwich(first, cat.greenwich);
    EXPECT_NEAR(3, first.longitude, 1e-12);
}

// Every unit, both ways between Paris and Greenwich, at longitudes either side
// of both meridians.
TEST(ChangeMeridian, AgreesInEveryUnit) {
    TestCatalogue cat;
    for (int unit : kAllUnits) {
        for (double degrees : {-5.1, -0.25, 0.0, 1.0, 2.33722917, 3.75, 8.2}) {
            CCoor c = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, degrees, 46);
            SetUnit(c, unit);
            ChangeMeridian(c, cat.paris, cat.greenwich);
            EXPECT_NEAR(degrees - kParisDegrees, Degrees(c), 1e-9) << unit << " " << degrees;
            ChangeMeridian(c, cat.greenwich, cat.greenwich);
            EXPECT_NEAR(degrees, Degrees(c), 1e-9) << unit << " " << degrees;
            EXPECT_EQ(unit, c.unit);
        }
    }
}
