#include "engine/coordinate_texts.h"

#include <gtest/gtest.h>

#include "geodesy/angle_unit.h"

// The longitude and latitude of a point, each in the file format of the
// point's unit; a unit without a format leaves both texts as they were.
TEST(FormatAngleTexts, BothAnglesInTheFormatOfThePointsUnit) {
    struct Case {
        int unit;
        double longitude, latitude;
        const char* longitudeText;
        const char* latitudeText;
    };
    const Case cases[] = {
        {PackedDms, 45.301525, -2.5, " 45.301525000", " -2.500000000"},
        {DecimalDegree, 45.301525, -2.5, "  45.30152500", "  -2.50000000"},
        {Radian, 0.0412, 0.8123456789012, " 0.0412000000", " 0.8123456789"},
        {SecondOfDegree, -163800.125, 172800, "-163800.12500", " 172800.00000"},
        {SecondOfHour, -2.5, 10.25, "    -2.500000", "    10.250000"},
    };
    for (const Case& c : cases) {
        CCoor point;
        point.unit = c.unit;
        point.longitude = c.longitude;
        point.latitude = c.latitude;
        std::string longitude = "before", latitude = "before";
        FormatAngleTexts(point, longitude, latitude);
        EXPECT_EQ(c.longitudeText, longitude) << c.unit;
        EXPECT_EQ(c.latitudeText, latitude) << c.unit;
    }
    CCoor unwritten;
    unwritten.unit = 8;
    unwritten.longitude = 1.5;
    unwritten.latitude = 2.5;
    std::string longitude = "before", latitude = "kept";
    FormatAngleTexts(unwritten, longitude, latitude);
    EXPECT_EQ("before", longitude);
    EXPECT_EQ("kept", latitude);
}
