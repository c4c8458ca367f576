// The four projection families against PROJ, through the projection dispatch,
// on the committed reference tables (reference/make_reference.py).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "geodesy/angle.h"
#include "geodesy/projection.h"
#include "projection_definitions.h"
#include "reference_table.h"

namespace {

using namespace projections;

struct Case {
    std::string table;
    ProjectionParameters projection;
    // Largest differences from PROJ that the family keeps to.
    double positionTolerance = 1e-5;     // metres (0.01 mm)
    double alterationTolerance = 0.01;   // mm/km
    double convergenceTolerance = 1e-9;  // radians
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const auto ntf = [&](const char* table, int subkind, double lat0, double k0, double x0,
                         double y0) {
        cases.push_back(
            {table, Projection(1, subkind, Grade, kClarkeIgn, kParis, 0, lat0, k0, x0, y0)});
    };
    ntf("lambert_1", 1, 55, 0.999877341, 600000, 200000);
    ntf("lambert_2", 1, 52, 0.99987742, 600000, 200000);
    ntf("lambert_3", 1, 49, 0.999877499, 600000, 200000);
    ntf("lambert_4", 1, 46.85, 0.99994471, 234.358, 185861.369);
    ntf("lambert_2_etendu", 2, 52, 0.99987742, 600000, 2200000);
    cases.push_back({"lambert_93", Projection(1, 3, DecimalDegree, kGrs80, kGreenwich, 3, 46.5, 1,
                                              700000, 6600000, 44, 49)});
    for (int zone = 42; zone <= 50; ++zone)
        cases.push_back({"cc" + std::to_string(zone),
                         Projection(1, 3, DecimalDegree, kGrs80, kGreenwich, 3, zone, 1, 1700000,
                                    1200000 + (zone - 42) * 1000000.0, zone - 0.75, zone + 0.75)});
    // The transverse Mercator positions are exact to the micrometre, but its
    // scale factor k₀ cosh(x / a) and convergence −arctan(sin φ tan Δλ) are
    // those of a sphere of radius a: 3.5° from the central meridian they
    // stray from the ellipsoid's true values by up to 14.2 mm/km and
    // 4.3e-7 rad at low latitudes, by up to 1.6 mm/km and 2.3e-7 rad from
    // 40° north upwards. The tolerances below hold them to that.
    for (int zone = 30; zone <= 32; ++zone) {
        const double cm = -183 + 6 * zone;
        const int family = zone == 32 ? 3 : 2;  // both codes are the transverse Mercator
        for (const auto& [tag, ellipsoid] :
             {std::pair{"_intl", &kInternational}, std::pair{"_wgs84", &kWgs84}}) {
            Case c{"utm" + std::to_string(zone) + tag,
                   Projection(family, 0, DecimalDegree, *ellipsoid, kGreenwich, cm, 0, 0.9996,
                              500000, 0)};
            c.alterationTolerance = 14.5;
            c.convergenceTolerance = 4.5e-7;
            cases.push_back(c);
        }
    }
    // 21°07' S, 55°32' E as packed degrees-minutes-seconds.
    cases.push_back(
        {"gauss_laborde_reunion",
         Projection(5, 0, PackedDms, kInternational, kGreenwich, 55.32, -21.07, 1, 160000, 50000)});
    cases.push_back({"laea_europe", Projection(6, 0, DecimalDegree, kGrs80, kGreenwich, 10, 52, 1,
                                               4321000, 3210000)});
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.table;
}

class ProjectionReference : public testing::TestWithParam<Case> {};

double Radians(double degrees) {
    return ConvertAngle(degrees, DecimalDegree, Radian);
}

TEST_P(ProjectionReference, AgreesWithProj) {
    const Case& c = GetParam();
    const reference::Table table = reference::Read(c.table + ".txt");
    ASSERT_TRUE(table.ok) << c.table;
    const std::vector<reference::GridPoint> points = reference::GridPoints(table);
    ASSERT_EQ(points.size(), table.rows.size());
    ASSERT_GE(points.size(), 500u);

    double position = 0, alteration = 0, convergence = 0, inverse = 0, roundTrip = 0;
    int factorPoints = 0;
    for (size_t n = 0; n < points.size(); ++n) {
        const std::vector<double>& row = table.rows[n];
        ASSERT_TRUE(row.size() == 2 || row.size() == 4);
        const double lambda = Radians(points[n].lon), phi = Radians(points[n].lat);
        ProjectedPoint p;
        ASSERT_EQ(ProjectGeographic(c.projection, lambda, phi, p), 0);
        position =
            std::max({position, std::fabs(p.easting - row[0]), std::fabs(p.northing - row[1])});
        if (row.size() == 4) {
            ++factorPoints;
            alteration = std::max(alteration, std::fabs((p.scaleFactor - row[2]) * 1e6));
            // PROJ counts the convergence the other way round.
            convergence = std::max(convergence, std::fabs(p.convergence + Radians(row[3])));
        }
        GeographicPoint g;
        ASSERT_EQ(UnprojectProjected(c.projection, row[0], row[1], g), 0);
        inverse = std::max({inverse, std::fabs(g.longitude - lambda), std::fabs(g.latitude - phi)});
        ASSERT_EQ(UnprojectProjected(c.projection, p.easting, p.northing, g), 0);
        roundTrip =
            std::max({roundTrip, std::fabs(g.longitude - lambda), std::fabs(g.latitude - phi)});
    }
    std::printf(
        "%-22s %4zu points: position %.2e m, alteration %.2e mm/km, convergence %.2e rad "
        "(%d points), inverse %.2e rad, round trip %.2e rad\n",
        c.table.c_str(), points.size(), position, alteration, convergence, factorPoints, inverse,
        roundTrip);
    EXPECT_LE(position, c.positionTolerance);
    EXPECT_LE(alteration, c.alterationTolerance);
    EXPECT_LE(convergence, c.convergenceTolerance);
    EXPECT_LE(inverse, 1e-10);
    EXPECT_LE(roundTrip, 1e-10);
}

INSTANTIATE_TEST_SUITE_P(Tables, ProjectionReference, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.table; });

}  // namespace
