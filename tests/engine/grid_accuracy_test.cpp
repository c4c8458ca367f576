// The grid method against PROJ on published grids: NTv2 shift grids (France,
// Germany, New Zealand) in both directions, geographic and projected, and
// the EGM96 geoid of the default installation. The reference tables are made
// by tests/engine/reference/make_grid_tables.py; the grids are those that
// Debian's proj-data installs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "catalogue/loader.h"
#include "support/test_catalogue.h"
#include "engine/coordinate_operations.h"
#include "engine/coordinate_system.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "grids/grid_progress.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::vector<double>> ReadTable(const std::string& name) {
    std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/tests/engine/reference/" + name);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::vector<double> row;
        double v;
        while (words >> v) row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

constexpr double kMetresPerDegree = 111320;
const char* const kProj = "/usr/share/proj/";

class GridAccuracy : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* grid : {"ntf_r93.gsb", "BETA2007.gsb", "nzgd2kgrid0005.gsb"}) {
            if (!std::filesystem::exists(std::string(kProj) + grid))
                GTEST_SKIP() << "proj-data is not installed";
            std::filesystem::copy_file(std::string(kProj) + grid, dir.File(grid));
            const std::string stem = std::string(grid).substr(0, std::string(grid).size() - 4);
            dir.Write(stem + ".xml",
                      "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR"
                      "</INTERPOLATION_TYPE></GRID_HEADER>\n");
        }
        ASSERT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
        // Bessel 1841 and the German and New Zealand systems of the grids.
        for (const char* line :
             {"ELG 5 6377397.155 6356078.962818 299.1528128 0.00667437223062 Bessel 1841",
              "REG 8 5 1 2D DHDN", "REG 9 2 1 2D NZGD49", "REG 10 3 1 3D NZGD2000",
              "TSG0 8 7 0.0 0.0 0.0", "TSG0 9 10 0.0 0.0 0.0", "GR3D BETA2007.gsb 8 7",
              "GR3D nzgd2kgrid0005.gsb 9 10"})
            ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added) << line;
    }

    CCoor Point(int type, int system, int projection, double a, double b) const {
        return PointByIds(catalogue, type, system, projection, a, b);
    }

    // Transforms every row of a table and returns the largest difference
    // from PROJ in metres.
    double LargestDifference(const std::string& table, int type, int from, int to,
                             int fromProjection = 0, int toProjection = 0) {
        const auto rows = ReadTable(table);
        EXPECT_GE(rows.size(), 1000u) << table;
        double largest = 0;
        GridContext context{catalogue, vertical, translation, headers, dir.path() + "/", &progress};
        for (const auto& row : rows) {
            CCoor source = Point(type, from, fromProjection, row[0], row[1]);
            CCoor target = Point(type, to, toProjection, 0, 0);
            CZone zone;
            EXPECT_EQ(SelectTranslationGrid(context, source, target.sys, zone), 1) << row[0];
            if (!translation.loaded) {
                EXPECT_EQ(LoadCurrentGrid(translation, context.workingDirectory, &progress), "");
            }
            EXPECT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
            double difference;
            if (type == Geographic) {
                const double dLat = (target.latitude - row[3]) * kMetresPerDegree;
                const double dLon = (target.longitude - row[2]) * kMetresPerDegree *
                                    std::cos(row[3] * 3.141592653589793 / 180);
                difference = std::hypot(dLat, dLon);
            } else {
                difference = std::hypot(target.easting - row[2], target.northing - row[3]);
            }
            largest = std::max(largest, difference);
        }
        std::printf("%s: largest difference from PROJ %.6f m over %zu points\n", table.c_str(),
                    largest, rows.size());
        return largest;
    }

    TempDir dir;
    Catalogue catalogue;
    CGrille1D vertical;
    CGrille3D translation;
    GridHeaderCache headers;
    ConsoleGridProgress progress;  // a grid converted into its cache shows it in the console
};

TEST_F(GridAccuracy, NtfToRgf93Geographic) {
    EXPECT_LT(LargestDifference("grid_ntf_r93_forward.txt", Geographic, 1, 4), 0.001);
    EXPECT_LT(LargestDifference("grid_ntf_r93_inverse.txt", Geographic, 4, 1), 0.001);
}

TEST_F(GridAccuracy, LambertIIEtenduToLambert93AndBack) {
    EXPECT_LT(LargestDifference("grid_lambert2e_to_lambert93.txt", Projected, 1, 4, 27572, 2154),
              0.001);
    EXPECT_LT(LargestDifference("grid_lambert93_to_lambert2e.txt", Projected, 4, 1, 2154, 27572),
              0.001);
}

TEST_F(GridAccuracy, Beta2007AndNewZealand) {
    EXPECT_LT(LargestDifference("grid_beta2007_forward.txt", Geographic, 8, 7), 0.001);
    EXPECT_LT(LargestDifference("grid_beta2007_inverse.txt", Geographic, 7, 8), 0.001);
    EXPECT_LT(LargestDifference("grid_nzgd2k_forward.txt", Geographic, 9, 10), 0.001);
    EXPECT_LT(LargestDifference("grid_nzgd2k_inverse.txt", Geographic, 10, 9), 0.001);
}

// Ellipsoidal height to EGM96 altitude and back on WGS84, through the
// published world geoid of the default installation.
TEST_F(GridAccuracy, Egm96HeightsAndAltitudes) {
    const std::string data = QUORVEL_SOURCE_DIR "/data/";
    if (!std::filesystem::exists(data + "egm96_15.gtx")) GTEST_SKIP() << "run scripts/setup";
    GridContext context{catalogue, vertical, translation, headers, data, &progress};
    const CRea* egm96 = FindById(catalogue.verticalSystems, 3);
    ASSERT_NE(egm96, nullptr);
    const auto rows = ReadTable("grid_egm96.txt");
    ASSERT_GE(rows.size(), 1000u);
    double largest = 0;
    for (const auto& row : rows) {
        for (int kind : {EllipsoidalHeight, Altitude}) {
            CCoor source = Point(Geographic, 3, 0, row[0], row[1]);
            source.sys.vertical = egm96;
            source.verticalKind = kind;
            source.height = row[2];
            source.altitude = row[3];
            CCoor target = Point(Geographic, 3, 0, 0, 0);
            target.sys.vertical = egm96;
            CZone zone;
            std::string message;
            ASSERT_EQ(SelectVerticalGrid(context, 2, source, target, zone, message), 1);
            if (!vertical.loaded) {
                ASSERT_EQ(LoadCurrentGrid(vertical, data, &progress), "");
            }
            EXPECT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
            const double difference =
                kind == EllipsoidalHeight ? target.altitude - row[3] : target.height - row[2];
            largest = std::max(largest, std::fabs(difference));
        }
    }
    std::printf("grid_egm96.txt: largest difference from PROJ %.6f m over %zu points\n", largest,
                rows.size());
    EXPECT_LT(largest, 0.001);
}

}  // namespace
