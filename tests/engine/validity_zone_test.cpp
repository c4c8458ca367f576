#include <gtest/gtest.h>

#include "support/test_catalogue.h"
#include "engine/coordinate_operations.h"
#include "engine/validity_zone.h"
#include "geodesy/angle.h"

namespace {

// A zone of `systemId` (and `projectionId`, 0 for the whole system), bounds
// given in decimal degrees and stored in `unit`.
CZone Zone(int systemId, int projectionId, int unit, double west, double south, double east,
           double north) {
    CZone z;
    z.systemKey = systemId;
    z.projectionKey = projectionId;
    z.unit = unit;
    z.southWest.longitude = ConvertAngle(west, DecimalDegree, unit);
    z.southWest.latitude = ConvertAngle(south, DecimalDegree, unit);
    z.northEast.longitude = ConvertAngle(east, DecimalDegree, unit);
    z.northEast.latitude = ConvertAngle(north, DecimalDegree, unit);
    return z;
}

// A point whose longitude and latitude are given in `unit` directly.
CCoor PointIn(const TestCatalogue& cat, int unit, double longitude, double latitude) {
    return cat.Geographic(cat.ntf, cat.greenwich, unit, longitude, latitude);
}

}  // namespace

// Borders are inside within 1e-10 of the zone's unit: 1e-11 beyond is still
// inside, 1e-9 beyond is outside, on every side and in every unit.
TEST(IsInZone, BordersAreInclusiveWithinOneTenthOfANanoUnit) {
    TestCatalogue cat;
    for (int unit : {DecimalDegree, Radian, Grade, SecondOfDegree}) {
        const CZone z = Zone(1, 0, unit, -5.5, 41, 10, 51.5);
        const double w = z.southWest.longitude, s = z.southWest.latitude;
        const double e = z.northEast.longitude, n = z.northEast.latitude;
        const double mid_lon = (w + e) / 2, mid_lat = (s + n) / 2;
        for (double d : {0.0, 1e-11}) {
            EXPECT_TRUE(IsInZone(z, PointIn(cat, unit, w - d, mid_lat))) << unit << " " << d;
            EXPECT_TRUE(IsInZone(z, PointIn(cat, unit, e + d, mid_lat))) << unit << " " << d;
            EXPECT_TRUE(IsInZone(z, PointIn(cat, unit, mid_lon, s - d))) << unit << " " << d;
            EXPECT_TRUE(IsInZone(z, PointIn(cat, unit, mid_lon, n + d))) << unit << " " << d;
        }
        EXPECT_FALSE(IsInZone(z, PointIn(cat, unit, w - 1e-9, mid_lat))) << unit;
        EXPECT_FALSE(IsInZone(z, PointIn(cat, unit, e + 1e-9, mid_lat))) << unit;
        EXPECT_FALSE(IsInZone(z, PointIn(cat, unit, mid_lon, s - 1e-9))) << unit;
        EXPECT_FALSE(IsInZone(z, PointIn(cat, unit, mid_lon, n + 1e-9))) << unit;
    }
}

// The point is brought into the zone's unit, whatever its own.
TEST(IsInZone, ComparesInTheZonesUnit) {
    TestCatalogue cat;
    const CZone grades = Zone(1, 0, Grade, -5.5, 41, 10, 51.5);
    for (int unit : {Radian, DecimalDegree, PackedDms, PackedDm, SecondOfHour, DecimalHour}) {
        CCoor inside = PointIn(cat, DecimalDegree, 9.99, 51.49);
        SetUnit(inside, unit);
        EXPECT_TRUE(IsInZone(grades, inside)) << unit;
        CCoor outside = PointIn(cat, DecimalDegree, 10.01, 45);
        SetUnit(outside, unit);
        EXPECT_FALSE(IsInZone(grades, outside)) << unit;
    }
}

// Zones are written from Greenwich: a point typed from Paris is tested at its
// Greenwich longitude. 8° east of Paris is 10.34° east of Greenwich, outside
// France; 7° west of Paris is 4.66° west of Greenwich, inside.
TEST(IsInZone, TestsTheGreenwichLongitudeOfAPointTypedFromParis) {
    TestCatalogue cat;
    const CZone france = Zone(1, 0, DecimalDegree, -5.5, 41, 10, 51.5);
    EXPECT_FALSE(IsInZone(france, cat.Geographic(cat.ntf, cat.paris, DecimalDegree, 8, 45)));
    EXPECT_TRUE(IsInZone(france, cat.Geographic(cat.ntf, cat.paris, DecimalDegree, -7, 45)));
    CCoor grades = cat.Geographic(cat.ntf, cat.paris, DecimalDegree, -7, 45);
    SetUnit(grades, Grade);
    EXPECT_TRUE(IsInZone(france, grades));
}

TEST(ZoneStatus, AnEmptyListHoldsEveryPoint) {
    TestCatalogue cat;
    CZone key, matched;
    EXPECT_EQ(1, ZoneStatus(key, PointIn(cat, DecimalDegree, 100, 0), {}, matched));
}

TEST(ZoneStatus, ZonesOfOtherSystemsOnly) {
    TestCatalogue cat;
    CatalogueList<CZone> zones{Zone(2, 0, DecimalDegree, -180, -90, 180, 90),
                               Zone(3, 0, DecimalDegree, -180, -90, 180, 90)};
    CZone key, matched;
    EXPECT_EQ(0, ZoneStatus(key, PointIn(cat, DecimalDegree, 2, 45), zones, matched));
    EXPECT_EQ(1, key.systemKey);  // the point's system
}

// A point of a projection inside its projection's zone gives 2 whichever zone
// comes first; inside its system's zone only, 1; inside neither, 0. Zones are
// in several units.
TEST(ZoneStatus, SystemAndProjectionZones) {
    TestCatalogue cat;
    CPrc lambert;
    lambert.id = 27572;
    const CZone system = Zone(1, 0, Grade, -5.5, 41, 10, 51.5);
    const CZone projection = Zone(1, 27572, Radian, -5.5, 45.4, 7.7, 48.2);
    const CZone otherProjection = Zone(1, 27561, DecimalDegree, -5.5, 48.1, 8.3, 51.5);

    CCoor north = PointIn(cat, DecimalDegree, 2, 49);  // other projection's zone only
    CCoor centre = PointIn(cat, DecimalDegree, 2, 46);
    CCoor away = PointIn(cat, DecimalDegree, 20, 46);
    north.sys.projection = centre.sys.projection = away.sys.projection = &lambert;

    CZone key, matched;
    for (const CatalogueList<CZone>& zones :
         {CatalogueList<CZone>{system, projection, otherProjection},
          CatalogueList<CZone>{otherProjection, projection, system}}) {
        EXPECT_EQ(2, ZoneStatus(key, centre, zones, matched));
        EXPECT_EQ(27572, matched.projectionKey);
        EXPECT_EQ(27572, key.projectionKey);
        EXPECT_EQ(1, ZoneStatus(key, north, zones, matched));
        EXPECT_EQ(0, ZoneStatus(key, away, zones, matched));
    }
    // Without a projection, any zone of the system holding the point counts.
    north.sys.projection = nullptr;
    EXPECT_EQ(1, ZoneStatus(key, north, {otherProjection}, matched));
    EXPECT_EQ(0, ZoneStatus(key, away, {otherProjection}, matched));
}

TEST(ZoneStatus, BordersAndGreenwichLongitudes) {
    TestCatalogue cat;
    const CatalogueList<CZone> zones{Zone(1, 0, DecimalDegree, -5.5, 41, 10, 51.5)};
    CZone key, matched;
    EXPECT_EQ(1, ZoneStatus(key, PointIn(cat, DecimalDegree, 10 + 1e-11, 45), zones, matched));
    EXPECT_EQ(0, ZoneStatus(key, PointIn(cat, DecimalDegree, 10 + 1e-9, 45), zones, matched));
    EXPECT_EQ(1, ZoneStatus(key, PointIn(cat, DecimalDegree, 2, 41 - 1e-11), zones, matched));
    EXPECT_EQ(0, ZoneStatus(key, PointIn(cat, DecimalDegree, 2, 41 - 1e-9), zones, matched));
    EXPECT_EQ(0, ZoneStatus(key, cat.Geographic(cat.ntf, cat.paris, DecimalDegree, 8, 45), zones,
                            matched));
    EXPECT_EQ(1, ZoneStatus(key, cat.Geographic(cat.ntf, cat.paris, DecimalDegree, -7, 45), zones,
                            matched));
}

// The same point, given projected or geographic from Paris, meets the same
// zone test.
TEST(IsInZone, ProjectedAndGeographicFromParisAgree) {
    TestCatalogue cat;
    CZone east = Zone(1, 0, DecimalDegree, 2.5, 46, 3, 47);  // just east of Paris
    CCoor projected;
    projected.type = Projected;
    projected.sys.system = cat.ntf;
    projected.sys.meridian = cat.paris;
    projected.sys.projection = cat.lambert2e;
    projected.easting = 620000;    // about 0.26° east of Paris
    projected.northing = 2180000;  // about 46.6° north
    CCoor geographic = projected;
    ToGeographic(geographic, cat.greenwich);
    ChangeMeridian(geographic, cat.paris, cat.greenwich);
    ASSERT_LT(ConvertAngle(geographic.longitude, Radian, DecimalDegree), 0.5);
    EXPECT_TRUE(IsInZone(east, projected));
    EXPECT_TRUE(IsInZone(east, geographic));
    EXPECT_FALSE(IsInZone(Zone(1, 0, DecimalDegree, 0, 46, 0.5, 47), geographic));
}

// `key` and `matched` take the last zone of the point's system that the
// search examined: the one that ended it with 2, else the last of the system
// in the list, zones of other systems aside.
TEST(ZoneStatus, KeyAndMatchedAreTheLastZoneOfTheSystemExamined) {
    TestCatalogue cat;
    CPrc lambert;
    lambert.id = 27572;
    const CZone first = Zone(1, 0, DecimalDegree, -5.5, 41, 10, 51.5);
    const CZone projection = Zone(1, 27572, Grade, -5.5, 45.4, 7.7, 48.2);
    const CZone last = Zone(1, 27561, Radian, -5.5, 48.1, 8.3, 51.5);
    const CZone other = Zone(2, 0, DecimalDegree, -16.1, 25.7, 48.6, 84.8);
    const CatalogueList<CZone> zones{first, projection, last, other};
    CCoor centre = PointIn(cat, DecimalDegree, 2, 46);
    centre.sys.projection = &lambert;
    CZone key, matched;
    key.projectionKey = matched.projectionKey = -1;
    EXPECT_EQ(2, ZoneStatus(key, centre, zones, matched));
    EXPECT_EQ(27572, key.projectionKey);
    EXPECT_EQ(27572, matched.projectionKey);
    EXPECT_EQ(Grade, matched.unit);
    CCoor away = PointIn(cat, DecimalDegree, 20, 46);
    away.sys.projection = &lambert;
    EXPECT_EQ(0, ZoneStatus(key, away, zones, matched));
    EXPECT_EQ(27561, key.projectionKey);
    EXPECT_EQ(27561, matched.projectionKey);
    EXPECT_EQ(1, matched.systemKey);
    // No zone of the system: only the key's system changes.
    key = CZone();
    key.projectionKey = 5;
    matched.projectionKey = 6;
    EXPECT_EQ(0, ZoneStatus(key, away, {other}, matched));
    EXPECT_EQ(1, key.systemKey);
    EXPECT_EQ(5, key.projectionKey);
    EXPECT_EQ(6, matched.projectionKey);
}

// The form without key and matched zones, and the form over the zones of
// the point's system taken beforehand (those of NTF, or of WGS84 for a point
// of another system, which reads the whole list), give the same answer for
// points of every type, unit, meridian and projection: zones in several
// units, and zones in one unit, where the zones taken for a projection are
// only those that can decide for it, and the location may be expressed in
// their unit beforehand.
TEST(ZoneStatus, StatusOnlyFormAgrees) {
    TestCatalogue cat;
    const CatalogueList<CZone> severalUnits{
        Zone(1, 0, Grade, -5.5, 41, 10, 51.5), Zone(1, 27572, Radian, -5.5, 45.4, 7.7, 48.2),
        Zone(1, 27561, DecimalDegree, -5.5, 48.1, 8.3, 51.5),
        Zone(2, 0, DecimalDegree, -16.1, 25.7, 48.6, 84.8)};
    const CatalogueList<CZone> oneUnit{
        Zone(1, 27561, DecimalDegree, -5.5, 48.1, 8.3, 51.5),
        Zone(2, 0, DecimalDegree, -16.1, 25.7, 48.6, 84.8),
        Zone(1, 27572, DecimalDegree, -5.5, 45.4, 7.7, 48.2),
        Zone(1, 0, DecimalDegree, -4, 41, 9, 50.5),
        Zone(1, 27572, DecimalDegree, 2, 41, 10, 51.5)};
    const CatalogueList<CZone> none;
    for (const CatalogueList<CZone>* zones : {&severalUnits, &oneUnit}) {
        CCoor ntfPoint, ntfLambert, wgs84Point;
        ntfPoint.sys.system = cat.ntf;
        ntfLambert.sys.system = cat.ntf;
        ntfLambert.sys.projection = cat.lambert2e;
        wgs84Point.sys.system = cat.wgs84;
        const SystemZones ofNtf = ZonesOfSystem(*zones, ntfPoint);
        const SystemZones ofNtfLambert = ZonesOfSystem(*zones, ntfLambert);
        const SystemZones ofWgs84 = ZonesOfSystem(*zones, wgs84Point);
        const SystemZones ofNone = ZonesOfSystem(none, ntfPoint);
        EXPECT_EQ(ofNtf.zones.size(), zones == &oneUnit ? 4u : 3u);
        EXPECT_EQ(ofNtfLambert.unit, zones == &oneUnit ? DecimalDegree : -1);
        int inside = 0, inProjection = 0;
        for (int i = 0; i < 400; ++i) {
            CCoor point;
            point.sys.system = i % 7 == 3 ? cat.wgs84 : cat.ntf;
            point.sys.projection = i % 3 == 0 ? nullptr : cat.lambert2e;
            if (i % 4 == 0) {
                point.type = Projected;
                point.sys.meridian = cat.paris;
                point.sys.projection = cat.lambert2e;
                point.easting = 40000 + 3000.0 * i;
                point.northing = 1650000 + 2700.0 * i;
            } else {
                point.type = Geographic;
                point.sys.meridian = i % 2 ? cat.paris : cat.greenwich;
                point.unit = DecimalDegree;
                point.longitude = -9 + 0.05 * i;
                point.latitude = 39 + 0.04 * i;
                SetUnit(point, i % 5 == 0 ? PackedDms : i % 5 == 1 ? Grade : DecimalDegree);
            }
            CZone key, matched;
            const int status = ZoneStatus(key, point, *zones, matched);
            EXPECT_EQ(status, ZoneStatus(point, *zones)) << i;
            const ZoneLocation location = LocationOf(point);
            for (const SystemZones* taken : {&ofNtf, &ofNtfLambert, &ofWgs84}) {
                EXPECT_EQ(status, ZoneStatus(point, location, *taken)) << i;
                EXPECT_EQ(status, ZoneStatus(point, InZoneUnit(point, location, *taken), *taken))
                    << i;
            }
            EXPECT_EQ(ZoneStatus(point, location, ofNone), 1) << i;
            inside += status > 0;
            inProjection += status == 2;
        }
        EXPECT_GT(inside, 50);
        EXPECT_LT(inside, 350);
        EXPECT_GT(inProjection, 20);
    }
}
