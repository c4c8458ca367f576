#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "catalogue/loader.h"
#include "engine/coordinate_operations.h"
#include "engine/coordinate_system.h"
#include "engine/transformation_chain.h"
#include "grids/grid.h"

// Every pair of systems that the default catalogue joins by a standard
// transformation, both ways, in geographic coordinates and in each of the
// systems' projections, against PROJ's computation of the same EPSG
// operation (territories_table.txt, made by make_territories_table.py).
namespace {

constexpr double kTolerance = 1e-3;  // metres
constexpr double kEarthRadius = 6378137;
constexpr double kDegree = 3.141592653589793 / 180;

struct Side {
    int system = 0, projection = 0;
    double a = 0, b = 0;
};

CCoor Coordinate(const Catalogue& catalogue, const Side& side) {
    CCoor c;
    c.type = side.projection ? Projected : Geographic;
    c.unit = side.projection ? Radian : DecimalDegree;
    const CPrc* projection = FindById(catalogue.projections, side.projection);
    const int meridian = projection && projection->meridian ? projection->meridian->id : 1;
    ResolveByIds(c.sys, side.system, meridian, side.projection, 0, catalogue);
    EXPECT_NE(nullptr, c.sys.system) << side.system;
    EXPECT_EQ(side.projection != 0, c.sys.projection != nullptr) << side.projection;
    c.verticalKind = NoVertical;
    return c;
}

TEST(TerritoriesAccuracy, EveryJoinedPairAgreesWithProjToTheMillimetre) {
    Catalogue catalogue;
    ASSERT_FALSE(
        ReadCatalogue(std::string(QUORVEL_SOURCE_DIR) + "/data/catalogue.txt", catalogue));
    std::ifstream table(std::string(QUORVEL_SOURCE_DIR) +
                        "/tests/engine/reference/territories_table.txt");
    ASSERT_TRUE(table.good());

    std::map<std::string, double> worst;
    std::map<std::string, int> rows;
    std::string line;
    CGrille1D noVerticalGrid;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string territory;
        Side from, to;
        in >> territory >> from.system >> from.projection >> to.system >> to.projection >>
            from.a >> from.b >> to.a >> to.b;
        ASSERT_TRUE(in) << line;

        CCoor source = Coordinate(catalogue, from);
        if (from.projection) {
            source.easting = from.a, source.northing = from.b;
        } else {
            source.longitude = from.a, source.latitude = from.b;
        }
        CCoor target = Coordinate(catalogue, to);
        ASSERT_EQ(0, TransformPointStandard(source, target, noVerticalGrid, catalogue)) << line;

        double difference;
        if (to.projection) {
            difference = std::hypot(target.easting - to.a, target.northing - to.b);
        } else {
            CCoor back = target;
            SetUnit(back, DecimalDegree);
            ToGreenwich(back, FindGreenwich(catalogue.meridians));
            const double dlon = (back.longitude - to.a) * kDegree * std::cos(to.b * kDegree);
            difference = std::hypot(dlon, (back.latitude - to.b) * kDegree) * kEarthRadius;
        }
        EXPECT_LE(difference, kTolerance) << line;
        worst[territory] = std::max(worst[territory], difference);
        ++rows[territory];
    }
    // Every territory of France has its rows.
    for (const char* territory : {"metropole", "antilles", "guyane", "reunion", "mayotte", "spm",
                                  "polynesie", "caledonie", "wallis", "taaf"})
        EXPECT_GT(rows[territory], 0) << territory;
    for (const auto& [territory, difference] : worst)
        std::printf("%-10s %4d points, largest difference to PROJ %.4f mm\n", territory.c_str(),
                    rows[territory], difference * 1000);
}

}  // namespace
