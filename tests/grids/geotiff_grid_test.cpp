// GeoTIFF grids made with GDAL from the published grids (see
// make_geotiff_grids.py): the EGM96 geoid in every storage against PROJ's
// vgridshift, the NTF -> RGF93 shifts against the NTv2 file they come from,
// the XML header beside a GeoTIFF, and the files the reader refuses; and,
// written here with libtiff, a grid of large strips whose decoded blocks
// stay within the cache's budget.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include <malloc.h>
#include <tiffio.h>

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

// ---- The budget of the decoded blocks ------------------------------------

// A geoid of 2048 x 20480 nodes, 0.001° apart from 0°E 40°N southwards, in
// 20 strips of 1024 rows (8 MiB decoded each, the largest block read), each
// strip of one value, 10 for the first, 11 for the next and so on.
constexpr int kStripColumns = 2048, kStripRows = 1024, kStrips = 20;

bool WriteLargeStrips(const std::string& name) {
    static const TIFFFieldInfo tags[] = {
        {33550, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScale")},
        {33922, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepoint")},
        {34735, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectory")},
    };
    TIFF* tif = TIFFOpen(name.c_str(), "w");
    if (!tif) return false;
    for (const TIFFFieldInfo& tag : tags) {
        if (!TIFFFindField(tif, tag.field_tag, TIFF_ANY)) TIFFMergeFieldInfo(tif, &tag, 1);
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(kStripColumns));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(kStripRows * kStrips));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(kStripRows));
    const double scale[3] = {0.001, 0.001, 0};
    const double tie[6] = {0, 0, 0, 0, 40, 0};
    const uint16_t keys[12] = {1, 1, 0, 2, 1024, 0, 1, 2, 1025, 0, 1, 2};  // geographic, point
    TIFFSetField(tif, 33550, 3, scale);
    TIFFSetField(tif, 33922, 6, tie);
    TIFFSetField(tif, 34735, 12, keys);
    std::vector<float> strip(static_cast<size_t>(kStripColumns) * kStripRows);
    bool written = true;
    for (int k = 0; k < kStrips && written; ++k) {
        std::fill(strip.begin(), strip.end(), static_cast<float>(10 + k));
        written = TIFFWriteEncodedStrip(tif, static_cast<uint32_t>(k), strip.data(),
                                        static_cast<tmsize_t>(strip.size() * sizeof(float))) > 0;
    }
    TIFFClose(tif);
    return written;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUORVEL_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUORVEL_SANITIZED 1
#endif

// The resident memory of the process in MiB, freed memory given back first.
double ResidentMiB() {
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    }
    return -1;
}

// Queries through every strip, from one grid and from copies of it queried
// in turn, each of which goes on holding the blocks it used last: the
// decoded blocks, those the copies hold included, stay within the cache's
// 64 MiB (eight strips), and every query gives its strip's value.
TEST(GeoTiffBlockCache, DecodedBlocksStayWithinTheBudget) {
#ifdef QUORVEL_SANITIZED
    GTEST_SKIP() << "the sanitizers keep freed memory aside and shadow the rest: resident "
                    "memory says nothing of the cache";
#endif
    TempDir dir;
    ASSERT_TRUE(WriteLargeStrips(dir.File("bandes.tif")));
    struct Case {
        const char* what;
        int copies, stripsEach;
    };
    for (const Case& c : {Case{"one grid through every strip", 1, kStrips},
                          Case{"three copies of eight strips each", 3, 8},
                          Case{"six copies of four strips each", 6, 4}}) {
        SCOPED_TRACE(c.what);
        const double before = ResidentMiB();
        double largest = 0;
        {
            CGrille1D grid;
            grid.folder = dir.path();
            grid.header.NAME = "bandes.tif";
            std::string message;
            ASSERT_TRUE(grid.Ouvrir(message, ModeSurDisque)) << message;
            std::vector<CGrille1D> copies(static_cast<size_t>(c.copies), grid);
            int strip = 0;
            for (CGrille1D& copy : copies) {
                for (int k = 0; k < c.stripsEach; ++k, strip = (strip + 1) % kStrips) {
                    const double point[3] = {1.0, 40 - (strip * kStripRows + 512) * 0.001, 0};
                    double value = 0;
                    int code = 0;
                    ASSERT_EQ(copy.Interpoler(UniteDegres, point, &value, code), 0);
                    EXPECT_NEAR(value, 10 + strip, 1e-9);
                    largest = std::max(largest, ResidentMiB() - before);
                }
            }
        }
        std::printf("%s: resident memory grew by %.0f MiB at most\n", c.what, largest);
        EXPECT_LE(largest, 64 + 12);
    }
}

// Copies that hold every block of the cache leave the others to read their
// values under its lock: two of them, on two threads at once, still give
// each point its strip's value.
TEST(GeoTiffBlockCache, CopiesBeyondTheCacheOnTwoThreads) {
    TempDir dir;
    ASSERT_TRUE(WriteLargeStrips(dir.File("bandes.tif")));
    CGrille1D grid;
    grid.folder = dir.path();
    grid.header.NAME = "bandes.tif";
    std::string message;
    ASSERT_TRUE(grid.Ouvrir(message, ModeSurDisque)) << message;
    const auto at = [](int strip, double row) {
        return std::array<double, 3>{1.0 + row * 0.0004, 40 - (strip * kStripRows + row) * 0.001,
                                     0};
    };
    // Four copies hold two strips each: the cache's seven slots are taken.
    std::vector<CGrille1D> holders(4, grid);
    for (size_t c = 0; c < holders.size(); ++c) {
        for (int k = 0; k < 2; ++k) {
            const int strip = static_cast<int>(2 * c) + k;
            double value = 0;
            int code = 0;
            ASSERT_EQ(holders[c].Interpoler(UniteDegres, at(strip, 100).data(), &value, code), 0);
            EXPECT_EQ(value, 10 + strip);
        }
    }
    std::vector<CGrille1D> readers(2, grid);
    std::vector<int> wrong(readers.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < readers.size(); ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(static_cast<unsigned>(t + 1));
            std::uniform_int_distribution<int> strips(0, kStrips - 1);
            std::uniform_real_distribution<double> rows(0, kStripRows - 1);
            for (int q = 0; q < 40; ++q) {
                const int strip = strips(random);
                double value = 0;
                int code = 0;
                const int status =
                    readers[t].Interpoler(UniteDegres, at(strip, rows(random)).data(), &value, code);
                // Another strip's block would be a whole unit off.
                wrong[t] += status != 0 || std::fabs(value - (10 + strip)) > 1e-9;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(wrong[0] + wrong[1], 0);
}

}  // namespace
