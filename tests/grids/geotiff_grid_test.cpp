// GeoTIFF grids made with GDAL from the published grids (see
// make_geotiff_grids.py): the EGM96 geoid in every storage against PROJ's
// vgridshift, the NTF -> RGF93 shifts against the NTv2 file they come from,
// the XML header beside a GeoTIFF, and the files the reader refuses.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "grids/grid.h"
#include "support/geotiff_grids.h"
#include "support/temp_dir.h"

namespace {

class GeoTiffGrid : public ::testing::Test {
protected:
    void SetUp() override {
        folder = GeoTiffGridFolder();
        if (folder.empty()) GTEST_SKIP() << "GDAL's Python module or PROJ's tools are missing";
    }
    // Opens `name` of `in` on disk; the message of the opening.
    static std::string Open(CGrille& grid, const std::string& in, const std::string& name) {
        grid.folder = in;
        grid.header.NAME = name;
        std::string message;
        grid.Ouvrir(message, ModeSurDisque);
        return message;
    }
    std::string folder;
};

// Longitude, latitude and PROJ's geoid height (ellipsoidal height minus the
// altitude of cct +proj=vgridshift +grids=egm96_15.gtx).
std::vector<std::array<double, 3>> Egm96Table() {
    std::ifstream in(QUORVEL_SOURCE_DIR "/tests/engine/reference/grid_egm96.txt");
    std::vector<std::array<double, 3>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        double lon, lat, height, altitude;
        if (words >> lon >> lat >> height >> altitude) rows.push_back({lon, lat, height - altitude});
    }
    return rows;
}

TEST_F(GeoTiffGrid, GeoidInEveryStorageAgreesWithProj) {
    const auto rows = Egm96Table();
    ASSERT_GE(rows.size(), 1000u);
    struct Case {
        const char* file;
        double tolerance;  // metres
    };
    // Half-precision reals hold a 50 m height to 3 cm.
    for (const Case& c : {Case{"egm96_area_strip.tif", 0.001},
                          Case{"egm96_point_tiled_deflate.tif", 0.001},
                          Case{"egm96_area_tiled_lzw_big.tif", 0.001},
                          Case{"egm96_point_strip_double.tif", 0.001},
                          Case{"egm96_half.tif", 0.04}}) {
        SCOPED_TRACE(c.file);
        CGrille1D grid;
        ASSERT_EQ(Open(grid, folder, c.file), "");
        // Pixel-is-area or pixel-is-point, the nodes are those of the GTX file.
        EXPECT_DOUBLE_EQ(grid.header.X_MIN, -7);
        EXPECT_DOUBLE_EQ(grid.header.X_MAX, 11);
        EXPECT_DOUBLE_EQ(grid.header.Y_MIN, 40);
        EXPECT_DOUBLE_EQ(grid.header.Y_MAX, 53);
        EXPECT_EQ(grid.header.N_COLUMNS, 73);
        EXPECT_EQ(grid.header.N_LINES, 53);
        EXPECT_EQ(grid.header.INTERPOLATION_TYPE, Bilineaire);
        EXPECT_NEAR(grid.header.VALUE_UNK, -88.8888, 1e-5);
        double largest = 0;
        for (const auto& row : rows) {
            const double point[3] = {row[0], row[1], 0};
            double n = 0;
            int code = -1;
            ASSERT_EQ(grid.Interpoler(UniteDegres, point, &n, code), 0);
            EXPECT_EQ(code, 0);
            largest = std::max(largest, std::fabs(n - row[2]));
        }
        std::printf("%s: largest difference from PROJ %.6f m over %zu points\n", c.file, largest,
                    rows.size());
        EXPECT_LT(largest, c.tolerance);
    }
}

// The GeoTIFF shifts, stored by band or by pixel, give the values of the
// NTv2 file at any point: latitude shift, then longitude shift westwards.
TEST_F(GeoTiffGrid, ShiftsAreThoseOfTheNtv2File) {
    TempDir ntv2;
    std::filesystem::copy_file("/usr/share/proj/ntf_r93.gsb", ntv2.File("ntf_r93.gsb"));
    ntv2.Write("ntf_r93.xml",
               "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>");
    CGrille3D reference, byBand, byPixel;
    ASSERT_EQ(Open(reference, ntv2.path(), "ntf_r93.gsb"), "");
    ASSERT_EQ(Open(byBand, folder, "ntf_r93.tif"), "");
    ASSERT_EQ(Open(byPixel, folder, "ntf_r93_pixel.tif"), "");
    for (CGrille3D* grid : {&byBand, &byPixel}) {
        EXPECT_EQ(grid->header.VALUES_NUMBER, 4);
        EXPECT_NEAR(grid->zone.southWest.longitude, reference.zone.southWest.longitude, 1e-9);
        EXPECT_NEAR(grid->zone.northEast.latitude, reference.zone.northEast.latitude, 1e-9);
    }
    std::mt19937 random(18);
    std::uniform_real_distribution<double> lon(-5.5, 9.5), lat(41.5, 51.0);
    for (int i = 0; i < 500; ++i) {
        const double point[3] = {lon(random), lat(random), 0};
        double expected[4], band[4], pixel[4];
        int code = 0;
        ASSERT_EQ(reference.Interpoler(UniteDegres, point, expected, code), 0);
        ASSERT_EQ(byBand.Interpoler(UniteDegres, point, band, code), 0);
        ASSERT_EQ(byPixel.Interpoler(UniteDegres, point, pixel, code), 0);
        for (int k = 0; k < 2; ++k) {
            EXPECT_NEAR(band[k], expected[k], 1e-9) << point[0] << " " << point[1] << " " << k;
            EXPECT_EQ(pixel[k], band[k]);
        }
    }
}

// Sub-grids: the hierarchy, the zone over them all, and the values of the
// grid that holds the point. The two halves of the geoid, each of the top
// level, give the values of the whole geoid.
TEST_F(GeoTiffGrid, SubGridsOfSeveralImages) {
    struct Case {
        const char* file;
        std::vector<int> depths;
        double south, north;  // of the zone
    };
    for (const Case& c : {Case{"egm96_subgrids.tif", {0, 1}, 40, 53},
                          Case{"egm96_halves.tif", {0, 0}, 40, 53},
                          Case{"nested_shifts.tif", {0, 1}, 45, 49}}) {
        SCOPED_TRACE(c.file);
        CGrille grid, header;
        ASSERT_EQ(Open(grid, folder, c.file), "");
        header.folder = folder, header.header.NAME = c.file;
        std::string message;
        ASSERT_TRUE(header.Ouvrir(message, ModeEnTete)) << message;
        ASSERT_EQ(grid.header.subGrids.size(), c.depths.size());
        ASSERT_EQ(header.header.subGrids.size(), c.depths.size());
        for (size_t k = 0; k < c.depths.size(); ++k) {
            EXPECT_EQ(grid.header.subGrids[k].depth, c.depths[k]);
            EXPECT_EQ(grid.header.subGrids[k].image, static_cast<int>(k));
        }
        EXPECT_DOUBLE_EQ(grid.zone.southWest.latitude, c.south);
        EXPECT_DOUBLE_EQ(grid.zone.northEast.latitude, c.north);
        EXPECT_DOUBLE_EQ(header.zone.northEast.latitude, c.north);
    }
    CGrille1D halves, whole;
    ASSERT_EQ(Open(halves, folder, "egm96_halves.tif"), "");
    ASSERT_EQ(Open(whole, folder, "egm96_area_strip.tif"), "");
    EXPECT_DOUBLE_EQ(halves.header.Y_MAX, 46.5);  // the first image's lattice
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lon(-7, 11), lat(40, 53);
    for (int i = 0; i < 300; ++i) {
        const double point[3] = {lon(random), i == 0 ? 46.5 : lat(random), 0};
        double a = 0, b = 0;
        int code = 0;
        ASSERT_EQ(halves.Interpoler(UniteDegres, point, &a, code), 0);
        ASSERT_EQ(whole.Interpoler(UniteDegres, point, &b, code), 0);
        EXPECT_NEAR(a, b, 1e-12) << point[0] << " " << point[1];
    }
}

// Copies of a grid share its file: queried on two threads at once, each
// gives the values of the grid queried alone.
TEST_F(GeoTiffGrid, CopiesQueriedOnTwoThreads) {
    for (const char* file : {"ntf_r93.tif", "nested_shifts.tif"}) {
        SCOPED_TRACE(file);
        CGrille3D grid;
        ASSERT_EQ(Open(grid, folder, file), "");
        std::mt19937 random(3);
        std::uniform_real_distribution<double> lon(grid.zone.southWest.longitude,
                                                   grid.zone.northEast.longitude),
            lat(grid.zone.southWest.latitude, grid.zone.northEast.latitude);
        std::vector<std::array<double, 2>> points(20000), alone(points.size());
        int code = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            points[i] = {lon(random), lat(random)};
            double values[4];
            const double p[3] = {points[i][0], points[i][1], 0};
            grid.Interpoler(UniteDegres, p, values, code);
            alone[i] = {values[0], values[1]};
        }
        std::vector<CGrille3D> copies(2, grid);
        std::vector<size_t> wrong(copies.size(), 0);
        std::vector<std::thread> threads;
        for (size_t t = 0; t < copies.size(); ++t) {
            threads.emplace_back([&, t] {
                for (size_t i = t; i < 10 * points.size(); i += 3) {
                    const size_t k = i % points.size();
                    const double p[3] = {points[k][0], points[k][1], 0};
                    double values[4];
                    int c = 0;
                    copies[t].Interpoler(UniteDegres, p, values, c);
                    wrong[t] += values[0] != alone[k][0] || values[1] != alone[k][1];
                }
            });
        }
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(wrong[0] + wrong[1], 0u);
    }
}

TEST_F(GeoTiffGrid, XmlHeaderBesideCompletesAndOverrides) {
    TempDir dir;
    std::filesystem::copy_file(folder + "/egm96_area_strip.tif", dir.File("geoide.tif"));
    dir.Write("geoide.xml",
              "<GRID_HEADER><INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>"
              "<INTERPOLATION_ORDER>4</INTERPOLATION_ORDER><VALUE_UNK>0</VALUE_UNK>"
              "</GRID_HEADER>");
    CGrille1D grid;
    ASSERT_EQ(Open(grid, dir.path(), "geoide.tif"), "");
    EXPECT_EQ(grid.header.INTERPOLATION_TYPE, Spline);
    EXPECT_EQ(grid.header.VALUE_UNK, 0);
    // On a node both interpolations give the node's value.
    CGrille1D bilinear;
    ASSERT_EQ(Open(bilinear, folder, "egm96_area_strip.tif"), "");
    const double node[3] = {2, 48, 0};
    double spline = 0, linear = 0;
    int code = 0;
    ASSERT_EQ(grid.Interpoler(UniteDegres, node, &spline, code), 0);
    ASSERT_EQ(bilinear.Interpoler(UniteDegres, node, &linear, code), 0);
    EXPECT_NEAR(spline, linear, 1e-9);
}

TEST_F(GeoTiffGrid, RefusalsNameTheFileAndTheReason) {
    struct Case {
        const char* file;
        const char* message;
    };
    for (const Case& c : {
             Case{"refused_projected.tif",
                  "refused_projected.tif :\nGrille GeoTIFF en coordonnées projetées ou "
                  "géocentriques : seules les grilles en longitude et latitude sont prises en "
                  "charge"},
             Case{"refused_bands.tif",
                  "refused_bands.tif :\nDisposition des bandes de la grille GeoTIFF inconnue (2 "
                  "bandes) : un géoïde a une bande, une grille de décalages les bandes "
                  "latitude_offset et longitude_offset, une grille de translations les bandes "
                  "x_translation, y_translation et z_translation"},
             Case{"refused_truncated.tif",
                  "refused_truncated.tif :\nGrille GeoTIFF tronquée : son image dépasse la fin "
                  "du fichier"},
             Case{"refused_huge.tif",
                  "refused_huge.tif :\nGrille GeoTIFF tronquée : son image dépasse la fin du "
                  "fichier"},
             Case{"refused_empty.tif", "refused_empty.tif :\nFichier GeoTIFF illisible"},
             Case{"refused_mixed.tif",
                  "refused_mixed.tif :\nSous-grille n° 2 : ses bandes diffèrent de celles de la "
                  "première sous-grille ; toutes les sous-grilles d'une grille GeoTIFF ont les "
                  "mêmes bandes, de même sens"},
         }) {
        for (int mode : {ModeSurDisque, ModeEnTete}) {
            CGrille1D grid;
            grid.folder = folder;
            grid.header.NAME = c.file;
            std::string message;
            EXPECT_FALSE(grid.Ouvrir(message, mode));
            EXPECT_EQ(message, c.message);
            EXPECT_FALSE(grid.loaded);
            EXPECT_FALSE(grid.BinaryFileOpen());
        }
    }
}

}  // namespace
