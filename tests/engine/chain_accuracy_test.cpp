#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "engine/coordinate_operations.h"
#include "engine/coordinate_system.h"
#include "engine/transformation_chain.h"
#include "geodesy/angle.h"
#include "grids/grid.h"

// Whole transformations with the default catalogue against PROJ. The tables in
// tests/engine/reference were made by make_chain_tables.py beside them; each
// names its departure and arrival and holds 500 points.
namespace {

constexpr double kPositionTolerance = 1e-4;  // metres
constexpr double kEarthRadius = 6378137;
constexpr double kDegree = 3.141592653589793 / 180;

struct Side {
    int type = 0, system = 0, projection = 0, meridian = 0;
};

struct Row {
    double in[3], out[3];
};

struct Table {
    std::string title;
    Side source, target;
    std::vector<Row> rows;
};

Table ReadTable(const std::string& name) {
    Table table;
    std::ifstream file(std::string(QUORVEL_SOURCE_DIR) + "/tests/engine/reference/" + name +
                       ".txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("#!", 0) == 0) {
            std::istringstream(line.substr(2)) >> table.source.type >> table.source.system >>
                table.source.projection >> table.source.meridian >> table.target.type >>
                table.target.system >> table.target.projection >> table.target.meridian;
        } else if (line.rfind("# ", 0) == 0 && table.title.empty()) {
            table.title = line.substr(2);
        } else if (!line.empty() && line[0] != '#') {
            Row row;
            std::istringstream in(line);
            in >> row.in[0] >> row.in[1] >> row.in[2] >> row.out[0] >> row.out[1] >> row.out[2];
            if (in) table.rows.push_back(row);
        }
    }
    return table;
}

class ChainAccuracy : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = new Catalogue;
        const auto failure =
            ReadCatalogue(std::string(QUORVEL_SOURCE_DIR) + "/data/catalogue.txt", *catalogue_);
        ASSERT_FALSE(failure.has_value());
    }
    static void TearDownTestSuite() { delete catalogue_; }

    static CCoor Coordinate(const Side& side, int unit) {
        CCoor c;
        c.type = side.type;
        c.unit = side.type == Geographic ? unit : Radian;
        // No vertical system: the result is 0 and says nothing of the others.
        ResolveByIds(c.sys, side.system, side.meridian, side.projection, 0, *catalogue_);
        EXPECT_NE(nullptr, c.sys.system);
        EXPECT_NE(nullptr, c.sys.meridian);
        EXPECT_EQ(side.projection != 0, c.sys.projection != nullptr);
        return c;
    }

    // Departure point of a row, its angles (if any) in `unit`.
    static CCoor Source(const Table& t, const Row& row, int unit) {
        CCoor c = Coordinate(t.source, DecimalDegree);
        switch (t.source.type) {
            case Cartesian:
                c.x = row.in[0], c.y = row.in[1], c.z = row.in[2];
                c.verticalKind = EllipsoidalHeight;
                break;
            case Geographic:
                c.longitude = row.in[0], c.latitude = row.in[1], c.height = row.in[2];
                c.verticalKind = EllipsoidalHeight;
                SetUnit(c, unit);
                break;
            default:
                c.easting = row.in[0], c.northing = row.in[1];
                c.verticalKind = NoVertical;
        }
        return c;
    }

    struct Worst {
        double horizontal = 0, height = 0;
    };

    // Largest differences from the table over every row, in metres.
    static Worst Compare(const Table& t, int sourceUnit, int targetUnit,
                         const CLgo* targetMeridian) {
        Worst worst;
        CGrille1D noVerticalGrid;
        for (const Row& row : t.rows) {
            CCoor target = Coordinate(t.target, targetUnit);
            if (targetMeridian) target.sys.meridian = targetMeridian;
            EXPECT_EQ(0, TransformPointStandard(Source(t, row, sourceUnit), target, noVerticalGrid,
                                                *catalogue_));
            double dh = 0, dv = 0;
            switch (t.target.type) {
                case Cartesian:
                    dh = std::hypot(target.x - row.out[0], target.y - row.out[1]);
                    dv = target.z - row.out[2];
                    break;
                case Projected:
                    dh = std::hypot(target.easting - row.out[0], target.northing - row.out[1]);
                    dv = target.height - row.out[2];
                    break;
                default: {
                    // Back to decimal degrees from the table's meridian.
                    CCoor back = target;
                    SetUnit(back, DecimalDegree);
                    ChangeMeridian(back, FindById(catalogue_->meridians, t.target.meridian),
                                   FindGreenwich(catalogue_->meridians));
                    const double dlon =
                        (back.longitude - row.out[0]) * kDegree * std::cos(row.out[1] * kDegree);
                    const double dlat = (back.latitude - row.out[1]) * kDegree;
                    dh = std::hypot(dlon, dlat) * kEarthRadius;
                    dv = target.height - row.out[2];
                }
            }
            worst.horizontal = std::max(worst.horizontal, dh);
            worst.height = std::max(worst.height, std::abs(dv));
        }
        return worst;
    }

    static void Check(const std::string& name, const std::vector<int>& sourceUnits = {Radian},
                      const std::vector<int>& targetUnits = {DecimalDegree},
                      bool bothTargetMeridians = false) {
        const Table t = ReadTable(name);
        ASSERT_EQ(500u, t.rows.size()) << name;
        Worst worst;
        std::vector<const CLgo*> meridians{nullptr};
        if (bothTargetMeridians)
            meridians = {FindById(catalogue_->meridians, 1), FindById(catalogue_->meridians, 2)};
        for (int su : sourceUnits)
            for (int tu : targetUnits)
                for (const CLgo* m : meridians) {
                    const Worst w = Compare(t, su, tu, m);
                    EXPECT_LE(w.horizontal, kPositionTolerance) << name << " " << su << " " << tu;
                    EXPECT_LE(w.height, kPositionTolerance) << name << " " << su << " " << tu;
                    worst.horizontal = std::max(worst.horizontal, w.horizontal);
                    worst.height = std::max(worst.height, w.height);
                }
        std::printf("%-36s largest difference %.5f mm in position, %.5f mm in height\n",
                    name.c_str(), worst.horizontal * 1000, worst.height * 1000);
    }

    static Catalogue* catalogue_;
};

Catalogue* ChainAccuracy::catalogue_ = nullptr;

const std::vector<int> kAllUnits{Radian,      DecimalDegree,  Grade,
                                 DecimalHour, SecondOfDegree, SecondOfHour,
                                 PackedDms,   PackedHms,      PackedDm};

}  // namespace

TEST_F(ChainAccuracy, NtfLambertToLambert93AndWgs84) {
    for (const char* zone : {"l1", "l2", "l3", "l4", "l2e"}) {
        Check(std::string("ntf_") + zone + "_to_lambert93");
        Check(std::string("ntf_") + zone + "_to_wgs84_geographic");
    }
}

// Every arrival unit, from Greenwich and from Paris, gives the same point.
TEST_F(ChainAccuracy, EveryArrivalUnitAndMeridianGiveTheSamePoint) {
    Check("ntf_l2e_to_wgs84_geographic", {Radian}, kAllUnits, true);
}

TEST_F(ChainAccuracy, Ed50UtmToWgs84) {
    for (const char* zone : {"30", "31", "32"}) {
        Check(std::string("ed50_utm") + zone + "_to_wgs84_geographic");
        Check(std::string("ed50_utm") + zone + "_to_wgs84_cartesian");
    }
}

// Geographic departures in every angle unit, from Greenwich and from Paris.
TEST_F(ChainAccuracy, Rgf93GeographicToLambert93AndConicZones) {
    for (const char* projection :
         {"2154", "3942", "3943", "3944", "3945", "3946", "3947", "3948", "3949", "3950"}) {
        Check(std::string("rgf93_greenwich_to_") + projection, kAllUnits);
        Check(std::string("rgf93_paris_to_") + projection, kAllUnits);
    }
}

TEST_F(ChainAccuracy, Wgs84CartesianToEd50ThroughTheInverseRecord) {
    Check("wgs84_cartesian_to_ed50_geographic");
}

TEST_F(ChainAccuracy, ReunionGaussLabordeToRgr92) {
    Check("reunion_gauss_laborde_to_rgr92");
}
