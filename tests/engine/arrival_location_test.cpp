// The arrival extent test reads the geographic point that the chain projects
// instead of taking the projected result back through the projection. The
// two positions agree within two micrometres on the ground (what the inverse
// Lambert's iteration leaves: about 1.3 micrometre in latitude), so a zone
// decision can change only for a point that close to a zone's border; a
// point exactly on a border (the tests' tolerance included) stays inside.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "catalogue/loader.h"
#include "engine/coordinate_system.h"
#include "engine/transformation_chain.h"
#include "engine/validity_zone.h"
#include "geodesy/angle.h"
#include "grids/grid.h"

namespace {

// Two micrometres on the ground, in radians of latitude.
constexpr double kTwoMicrometres = 2e-6 / 6378137.0;

class ArrivalLocation : public ::testing::Test {
protected:
    ArrivalLocation() {
        EXPECT_FALSE(ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue));
    }
    CCoor Side(int system, int type, int projection) {
        CCoor c;
        c.type = type;
        c.unit = type == Geographic ? DecimalDegree : Radian;
        ResolveByIds(c.sys, system, 1, projection, 0, catalogue);
        return c;
    }
    Catalogue catalogue;
    CGrille1D noGeoid;
};

TEST_F(ArrivalLocation, AgreesWithTheInverseProjectionWithinTwoMicrometres) {
    // NTF Lambert II étendu to Lambert-93, Lambert-93 to CC46 and to
    // geocentric coordinates, over France and beyond.
    const struct {
        int system, type, projection, targetSystem, targetType, targetProjection;
    } cases[] = {{1, Projected, 27572, 4, Projected, 2154},
                 {4, Projected, 2154, 4, Projected, 3946},
                 {4, Projected, 2154, 4, Cartesian, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.targetProjection);
        int points = 0;
        for (double e = -200000; e <= 1400000; e += 40000) {
            for (double n = 1500000; n <= 7300000; n += 70000) {
                CCoor source = Side(c.system, c.type, c.projection);
                if (c.projection == 27572 && n > 3000000) continue;
                if (c.projection == 2154 && n < 6000000) continue;
                source.easting = e;
                source.northing = n;
                CCoor target = Side(c.targetSystem, c.targetType, c.targetProjection);
                ZoneLocation chain;
                chain.unit = -1;
                if (TransformPointStandard(source, target, noGeoid, catalogue, &chain) != 0) continue;
                ASSERT_EQ(chain.unit, Radian);
                const ZoneLocation back = LocationOf(target);
                ASSERT_EQ(back.unit, Radian);
                EXPECT_NEAR(chain.latitude, back.latitude, kTwoMicrometres) << e << " " << n;
                EXPECT_NEAR(chain.longitude * std::cos(back.latitude),
                            back.longitude * std::cos(back.latitude), kTwoMicrometres)
                    << e << " " << n;
                ++points;
            }
        }
        EXPECT_GT(points, 100);
    }
}

// A geographic arrival is tested at the chain's point before it is
// expressed in the arrival unit: in every unit, packed notations included,
// the two positions agree within a micrometre (1e-11 degree).
TEST_F(ArrivalLocation, AGeographicArrivalAgreesInEveryUnitWithinAMicrometre) {
    for (const int unit : {Radian, DecimalDegree, Grade, DecimalHour, SecondOfDegree, SecondOfHour,
                           PackedDms, PackedHms, PackedDm}) {
        SCOPED_TRACE(unit);
        int points = 0;
        double largest = 0;
        for (double lon = -5.3; lon <= 9.9; lon += 0.37) {
            for (double lat = 41.2; lat <= 51.4; lat += 0.29) {
                CCoor source = Side(1, Geographic, 0);
                source.longitude = lon;
                source.latitude = lat;
                CCoor target = Side(4, Geographic, 0);
                target.unit = unit;
                ZoneLocation chain;
                chain.unit = -1;
                ASSERT_EQ(TransformPointStandard(source, target, noGeoid, catalogue, &chain), 0);
                ASSERT_GE(chain.unit, 0);
                const ZoneLocation back = LocationOf(target);
                ASSERT_EQ(back.unit, unit);
                const double dLat = ConvertAngle(chain.latitude, chain.unit, DecimalDegree) -
                                    ConvertAngle(back.latitude, back.unit, DecimalDegree);
                const double dLon = ConvertAngle(chain.longitude, chain.unit, DecimalDegree) -
                                    ConvertAngle(back.longitude, back.unit, DecimalDegree);
                largest = std::max({largest, std::fabs(dLat), std::fabs(dLon)});
                ++points;
            }
        }
        EXPECT_LT(largest, 1e-11);
        EXPECT_GT(points, 1000);
    }
}

TEST_F(ArrivalLocation, PointsOnAZoneBorderStayInside) {
    // A zone of RGF93 and points on its corners and edges, within the
    // tests' tolerance (1e-10 degree, about 11 micrometres) beyond them and
    // a tenth of a millimetre beyond, read at a location found beforehand as
    // the runs do.
    CZone zone;
    zone.systemKey = 4;
    zone.unit = DecimalDegree;
    zone.southWest = {-5.5, 41.0};
    zone.northEast = {10.0, 51.5};
    CatalogueList<CZone> zones;
    zones.push_back(zone);
    const CCoor point = Side(4, Geographic, 0);
    const double beyond = 1e-9;  // degrees
    const struct {
        double longitude, latitude;
        int status;
    } cases[] = {{-5.5, 41.0, 1},           {10.0, 51.5, 1},           {2.0, 51.5, 1},
                 {-5.5, 45.0, 1},           {-5.5 - 2e-11, 45.0, 1},   {-5.5 - beyond, 45.0, 0},
                 {10.0 + beyond, 45.0, 0},  {2.0, 41.0 - beyond, 0},   {2.0, 51.5 + beyond, 0}};
    for (const auto& c : cases) {
        const ZoneLocation location{ConvertAngle(c.longitude, DecimalDegree, Radian),
                                    ConvertAngle(c.latitude, DecimalDegree, Radian), Radian,
                                    false};
        EXPECT_EQ(ZoneStatus(point, location, zones), c.status) << c.longitude << " " << c.latitude;
    }
}

}  // namespace
