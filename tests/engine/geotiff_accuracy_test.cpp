// The grid method on GeoTIFF grids against PROJ: the NTF -> RGF93 shifts in
// PROJ's GeoTIFF form (Lambert II étendu <-> Lambert-93, the tables of
// cs2cs +nadgrids=ntf_r93.gsb), a geocentric translation grid (PROJ's
// xyzgridshift pipeline) and the EGM96 geoid as a GeoTIFF (cct
// +proj=vgridshift). The grids are made at test time by
// tests/grids/make_geotiff_grids.py.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogue/loader.h"
#include "support/test_catalogue.h"
#include "engine/coordinate_operations.h"
#include "engine/coordinate_system.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "grids/grid_progress.h"
#include "support/geotiff_grids.h"

namespace {

std::vector<std::vector<double>> ReadTable(const std::string& file) {
    std::ifstream in(file);
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

const std::string kReference = QUORVEL_SOURCE_DIR "/tests/engine/reference/";
constexpr double kMetresPerDegree = 111320;

class GeoTiffAccuracy : public ::testing::Test {
protected:
    void SetUp() override {
        folder = GeoTiffGridFolder();
        if (folder.empty()) GTEST_SKIP() << "GDAL's Python module or PROJ's tools are missing";
        ASSERT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
        // Only the GeoTIFF grids serve.
        catalogue.translationGrids.clear();
        catalogue.verticalGrids.clear();
    }

    void Add(const char* line) {
        ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added) << line;
    }

    CCoor Point(int type, int system, int projection, double a, double b) const {
        return PointByIds(catalogue, type, system, projection, a, b);
    }

    // The point through the grid method with the current translation grid.
    CCoor Transform(const CCoor& source, CCoor target) {
        GridContext context{catalogue, vertical, translation, headers, folder + "/", nullptr};
        CZone zone;
        EXPECT_EQ(SelectTranslationGrid(context, source, target.sys, zone), 1)
            << source.longitude << " " << source.latitude << " " << source.easting;
        if (!translation.loaded) {
            EXPECT_EQ(LoadCurrentGrid(translation, folder + "/", nullptr), "");
        }
        EXPECT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
        return target;
    }

    double LargestProjectedDifference(const std::string& table, int from, int to,
                                      int fromProjection, int toProjection) {
        const auto rows = ReadTable(kReference + table);
        EXPECT_GE(rows.size(), 1000u);
        double largest = 0;
        for (const auto& row : rows) {
            const CCoor target = Transform(Point(Projected, from, fromProjection, row[0], row[1]),
                                           Point(Projected, to, toProjection, 0, 0));
            largest = std::max(largest, std::hypot(target.easting - row[2], target.northing - row[3]));
        }
        std::printf("%s through ntf_r93.tif: largest difference from PROJ %.6f m over %zu points\n",
                    table.c_str(), largest, rows.size());
        return largest;
    }

    // The geoid's heights to altitudes and back at the points of `table`
    // (lon lat h H), at least `count` of them.
    void HeightsAndAltitudes(const std::string& table, size_t count, const char* line);

    std::string folder;
    Catalogue catalogue;
    CGrille1D vertical;
    CGrille3D translation;
    GridHeaderCache headers;
};

TEST_F(GeoTiffAccuracy, LambertIIEtenduToLambert93AndBackThroughShifts) {
    Add("GR3D ntf_r93.tif 1 4");
    EXPECT_LT(LargestProjectedDifference("grid_lambert2e_to_lambert93.txt", 1, 4, 27572, 2154),
              0.001);
    EXPECT_LT(LargestProjectedDifference("grid_lambert93_to_lambert2e.txt", 4, 1, 2154, 27572),
              0.001);
}

// NTF to RGF93 with geocentric translations read near the point's RGF93
// position (located with the catalogue's translations), and back.
TEST_F(GeoTiffAccuracy, GeocentricTranslationsBothWays) {
    Add("GR3D ntf_xyz.tif 1 4");
    const auto rows = ReadTable(folder + "/ntf_xyz.txt");
    ASSERT_EQ(rows.size(), 1000u);
    double forward = 0, backward = 0;
    for (const auto& row : rows) {
        CCoor ntf = Point(Geographic, 1, 0, row[0], row[1]);
        ntf.verticalKind = EllipsoidalHeight;
        ntf.height = row[2];
        const CCoor rgf = Transform(ntf, Point(Geographic, 4, 0, 0, 0));
        const double cosine = std::cos(row[4] * 3.141592653589793 / 180);
        forward = std::max(forward, std::hypot(std::hypot((rgf.latitude - row[4]) * kMetresPerDegree,
                                                          (rgf.longitude - row[3]) * kMetresPerDegree * cosine),
                                               rgf.height - row[5]));
        CCoor back = Point(Geographic, 4, 0, row[3], row[4]);
        back.verticalKind = EllipsoidalHeight;
        back.height = row[5];
        const CCoor again = Transform(back, Point(Geographic, 1, 0, 0, 0));
        backward = std::max(backward, std::hypot(std::hypot((again.latitude - row[1]) * kMetresPerDegree,
                                                            (again.longitude - row[0]) * kMetresPerDegree * cosine),
                                                 again.height - row[2]));
    }
    std::printf("ntf_xyz.tif: largest difference from PROJ's xyzgridshift %.6f m forward, "
                "%.6f m back, over %zu points\n",
                forward, backward, rows.size());
    EXPECT_LT(forward, 0.001);
    EXPECT_LT(backward, 0.001);
}

// Ellipsoidal heights to EGM96 altitudes and back on WGS84: the geoid of
// one image against PROJ's vgridshift on egm96_15.gtx, and the geoid with a
// finer sub-grid over Paris against PROJ's vgridshift on that file.
TEST_F(GeoTiffAccuracy, Egm96HeightsAndAltitudes) {
    struct Case {
        const char* line;
        std::string table;
        size_t rows;
    };
    for (const Case& c : {Case{"GR1D egm96_point_tiled_deflate.tif 3 3", kReference + "grid_egm96.txt", 1000},
                          Case{"GR1D egm96_subgrids.tif 3 3", folder + "/egm96_subgrids.txt", 400}}) {
        SCOPED_TRACE(c.line);
        catalogue.verticalGrids.clear();
        vertical = CGrille1D();
        Add(c.line);
        HeightsAndAltitudes(c.table, c.rows, c.line);
    }
}

// A geoid of two images with a gap between them (7 W .. 1 W and 1.25 E ..
// 11 E): a point in the gap is outside the grid, as PROJ's vgridshift says,
// and the selection treats it as a point beyond the grid's zone (no grid,
// the precision codes of no geoid) instead of taking the values that mark
// it; a point in either image gets PROJ's altitude.
TEST_F(GeoTiffAccuracy, GeoidOfTwoImagesWithAGap) {
    Add("GR1D egm96_gap.tif 3 3");
    struct Case {
        const char* where;
        double lon, lat;
    };
    const Case cases[] = {
        {"in the western image", -4, 47},      {"in the eastern image", 5, 45.3},
        {"on the western image's east border", -1, 47.5},
        {"on the eastern image's west border", 1.25, 41},
        {"in the gap", 0, 47},                 {"in the gap, a tenth of a step from the west", -0.975, 47},
        {"in the gap, a tenth of a step from the east", 1.225, 50},
        {"beyond the zone", 12, 47},
    };
    std::string input;
    char line[96];
    for (const Case& c : cases) {
        std::snprintf(line, sizeof line, "%.10f %.10f 100 0\n", c.lon, c.lat);
        input += line;
    }
    const std::string in = folder + "/gap_points_" + std::to_string(::getpid()) + ".txt";
    std::ofstream(in) << input;
    // One line a point: the altitude of a height of 100 m, or PROJ's error.
    const std::string command = "cct -d 10 +proj=vgridshift +grids=" + folder +
                                "/egm96_gap.tif < " + in;
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        ASSERT_EQ(::pclose(pipe), 0);
    }
    std::filesystem::remove(in);
    // A point's line, or "" where PROJ says it is outside the grid (an error
    // line, then its reason in brackets).
    std::vector<std::string> answers;
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        if (text.find("TRANSFORMATION ERROR") != std::string::npos) {
            answers.push_back("");
        } else if (text.find('(') == std::string::npos &&
                   text.find_first_of("0123456789") != std::string::npos) {
            answers.push_back(text);
        }
    }
    ASSERT_EQ(answers.size(), std::size(cases)) << output;

    GridContext context{catalogue, vertical, translation, headers, folder + "/", nullptr};
    const CRea* egm96 = FindById(catalogue.verticalSystems, 3);
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.where);
        CCoor source = Point(Geographic, 3, 0, c.lon, c.lat);
        source.sys.vertical = egm96;
        source.verticalKind = EllipsoidalHeight;
        source.height = 100;
        CCoor target = Point(Geographic, 3, 0, 0, 0);
        target.sys.vertical = egm96;
        CZone zone;
        std::string message;
        const int selected = SelectVerticalGrid(context, 2, source, target, zone, message);
        if (answers[k].empty()) {
            EXPECT_EQ(selected, kGridNotFound);
            EXPECT_FALSE(vertical.loaded);
            EXPECT_EQ(source.verticalPrecision, -999);
            EXPECT_EQ(target.verticalPrecision, -999);
            continue;
        }
        ASSERT_EQ(selected, kGridFound);
        if (!vertical.loaded) {
            ASSERT_EQ(LoadCurrentGrid(vertical, folder + "/", nullptr), "");
        }
        ASSERT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
        double lon = 0, lat = 0, altitude = 0;
        std::istringstream(answers[k]) >> lon >> lat >> altitude;
        EXPECT_NEAR(target.altitude, altitude, 0.001);
    }
}

void GeoTiffAccuracy::HeightsAndAltitudes(const std::string& table, size_t count,
                                          const char* line) {
    GridContext context{catalogue, vertical, translation, headers, folder + "/", nullptr};
    const CRea* egm96 = FindById(catalogue.verticalSystems, 3);
    ASSERT_NE(egm96, nullptr);
    const auto rows = ReadTable(table);
    ASSERT_GE(rows.size(), count);
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
                ASSERT_EQ(LoadCurrentGrid(vertical, folder + "/", nullptr), "");
            }
            EXPECT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
            const double difference =
                kind == EllipsoidalHeight ? target.altitude - row[3] : target.height - row[2];
            largest = std::max(largest, std::fabs(difference));
        }
    }
    std::printf("%s: largest difference from PROJ %.6f m over %zu points, both ways\n", line,
                largest, rows.size());
    EXPECT_LT(largest, 0.001);
}

}  // namespace
