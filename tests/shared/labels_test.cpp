#include <gtest/gtest.h>

#include <string>

#include "shared/labels.h"
#include "shared/string_resources.h"
#include "shared/codes.h"
#include "geodesy/angle_unit.h"

TEST(Labels, TablesAreIndexedByCode) {
    EXPECT_STREQ("", AngleUnitLabel(0));
    EXPECT_STREQ("Degrés décimaux", AngleUnitLabel(DecimalDegree));
    EXPECT_STREQ("", AngleUnitLabel(8));
    EXPECT_STREQ("Degrés Minutes Secondes", AngleUnitLabel(PackedDms));
    EXPECT_STREQ("Degrés Minutes décimales", AngleUnitLabel(12));
    EXPECT_STREQ("Lat Lon Altitude", DataFormatLabel(13));
    EXPECT_STREQ("", DataFormatLabel(5));
    EXPECT_STREQ("E N Hauteur", DataFormatLabel(19));
    EXPECT_STREQ("Géographiques", CoordTypeLabel(Geographic));
    EXPECT_STREQ("Grille", TransfoKindLabel(GridKind));
    // Codes beyond either end of a table have no label.
    for (int code : {-1, 13, 1000}) EXPECT_STREQ("", AngleUnitLabel(code));
    EXPECT_STREQ("", DataFormatLabel(20));
    EXPECT_STREQ("", CoordTypeLabel(4));
    EXPECT_STREQ("", TransfoKindLabel(3));
    EXPECT_STREQ("", TransfoKindLabel(-5));
}

TEST(Labels, EveryLabelMapsBackToItsCodeAndMatchesItsStringResource) {
    const int unitIds[13] = {0, 2000, 2001, 2002, 2003, 2004, 2005, 0, 0, 0, 2009, 2010, 2011};
    for (int code = 0; code < 13; ++code) {
        const std::string label = AngleUnitLabel(code);
        EXPECT_EQ(label.empty() ? 0 : code, AngleUnitCode(label)) << code;
        if (unitIds[code] != 0) {
            EXPECT_EQ(LoadString(unitIds[code]), label) << code;
        }
    }
    const int formatIds[20] = {0,    0,    0,    0,    0,    0,    2016, 2017, 2022, 2026,
                               2023, 2027, 2024, 2028, 2025, 2029, 2018, 2019, 2020, 2021};
    for (int code = 0; code < 20; ++code) {
        const std::string label = DataFormatLabel(code);
        EXPECT_EQ(code < 6 ? 0 : code, DataFormatCode(label)) << code;
        if (formatIds[code] != 0) {
            EXPECT_EQ(LoadString(formatIds[code]), label) << code;
        }
    }
    for (int code = 1; code <= 3; ++code) {
        EXPECT_EQ(code, CoordTypeCode(CoordTypeLabel(code)));
        EXPECT_EQ(LoadString(2031 + code), CoordTypeLabel(code));
    }
}

TEST(Labels, ReverseMappingsAreExact) {
    EXPECT_EQ(0, AngleUnitCode("Degres decimaux"));  // without its accent
    EXPECT_EQ(0, AngleUnitCode("degrés décimaux"));  // case counts
    EXPECT_EQ(0, AngleUnitCode("Degrés décimaux "));
    EXPECT_EQ(0, AngleUnitCode(""));
    EXPECT_EQ(0, CoordTypeCode(""));
    EXPECT_EQ(0, DataFormatCode(""));
    EXPECT_EQ(0, CoordTypeCode("Plane"));
    EXPECT_EQ(0, DataFormatCode("Nom X Y"));
    EXPECT_EQ(13, DataFormatCode("Lat Lon Altitude"));
    EXPECT_EQ(PackedHms, AngleUnitCode("Heures Minutes Secondes"));
}

TEST(Labels, FormatListsByCoordinateType) {
    auto cartesian = FormatListOfType(Cartesian);
    ASSERT_EQ(3u, cartesian.size());
    EXPECT_STREQ("", cartesian[0]);
    EXPECT_EQ(FormatXYZ, DataFormatCode(cartesian[2]));
    auto geographic = FormatListOfType(Geographic);
    ASSERT_EQ(9u, geographic.size());
    // The command-line number 2 of the geographic list is format 10.
    EXPECT_EQ(FormatNameLonLatHeight, DataFormatCode(geographic[2]));
    const int geographicCodes[9] = {0, 8, 10, 12, 14, 9, 11, 13, 15};
    for (size_t i = 0; i < geographic.size(); ++i) {
        EXPECT_EQ(geographicCodes[i], DataFormatCode(geographic[i])) << i;
    }
    auto projected = FormatListOfType(Projected);
    ASSERT_EQ(5u, projected.size());
    const int projectedCodes[5] = {0, 16, 17, 18, 19};
    for (size_t i = 0; i < projected.size(); ++i) {
        EXPECT_EQ(projectedCodes[i], DataFormatCode(projected[i])) << i;
    }
    EXPECT_TRUE(FormatListOfType(0).empty());
    EXPECT_TRUE(FormatListOfType(4).empty());
}

TEST(Labels, WhatEachDataFormatCarries) {
    for (int code = 0; code < 20; ++code) {
        const int type = DataFormatCoordType(code);
        if (code < 6) {
            EXPECT_EQ(0, type);
            EXPECT_FALSE(DataFormatHasName(code));
            EXPECT_EQ(0, DataFormatVertical(code));
            continue;
        }
        // Every layout of a type's list has that type.
        bool listed = false;
        for (const char* label : FormatListOfType(type)) {
            listed = listed || DataFormatCode(label) == code;
        }
        EXPECT_TRUE(listed) << code;
    }
    EXPECT_TRUE(DataFormatHasName(FormatNameXYZ));
    EXPECT_FALSE(DataFormatHasName(FormatENHeight));
    EXPECT_TRUE(DataFormatLatitudeFirst(FormatNameLatLonHeight));
    EXPECT_FALSE(DataFormatLatitudeFirst(FormatLonLatAltitude));
    EXPECT_EQ(NoVertical, DataFormatVertical(FormatXYZ));
    EXPECT_EQ(Altitude, DataFormatVertical(FormatENAltitude));
    EXPECT_EQ(EllipsoidalHeight, DataFormatVertical(FormatLatLonHeight));
    // Exactly the layouts 10, 11, 14, 15, 17 and 19 carry an ellipsoidal height.
    for (int code = 0; code < 20; ++code) {
        const bool height =
            code == 10 || code == 11 || code == 14 || code == 15 || code == 17 || code == 19;
        EXPECT_EQ(height, DataFormatHasHeight(code)) << code;
    }
}
