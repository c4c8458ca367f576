// The one-value text formats of other software: ESRI, Gravsoft, Surfer, EGM
// and DIS headers with their edge cases, and the EGM96 crop of the default
// installation written in every vertical text format.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "grids/grid_test_support.h"

namespace {

std::string Real8Xml() {
    return XmlHeader(
        "\t<VALUES_TYPE>REAL8</VALUES_TYPE>\n\t<INTERPOLATION_TYPE>BILINEAR</"
        "INTERPOLATION_TYPE>\n");
}

// An ESRI header line with its value at the fifteenth character.
std::string Esri(const std::string& keyword, const std::string& value) {
    std::string line = keyword;
    line.resize(14, ' ');
    return line + value + "\n";
}

TEST(EsriGrid, HeaderAndCellCentres) {
    GridFolder folder;
    GridFolder::Write("e.xml", BilinearXml());
    GridFolder::Write("e.asc", Esri("ncols", "4") + Esri("nrows", "3") + Esri("xllcorner", "0") +
                                   Esri("yllcorner", "40") + Esri("cellsize", "0.5") +
                                   Esri("NODATA_value", "-9999") +
                                   "1 2 3 4\n5 6 -9999 8\n9 10 11 12\n");
    CGrille1D grid;
    ASSERT_EQ(OpenMessage(grid, "e.asc"), "");
    EXPECT_EQ(grid.header.X_MIN, 0.25);
    EXPECT_EQ(grid.header.X_MAX, 1.75);
    EXPECT_EQ(grid.header.Y_MIN, 40.25);
    EXPECT_EQ(grid.header.Y_MAX, 41.25);
    EXPECT_EQ(grid.header.VALUE_UNK, -9999);
    EXPECT_EQ(grid.header.VALUES_TYPE, Integer2);
    EXPECT_EQ(grid.header.LAYOUT, NW2E2S);
    // In memory: the unknown node makes the values around it unknown.
    ASSERT_EQ(OpenMessage(grid, "e.asc", ModeEnMemoire), "");
    double v = 0;
    int code = 0;
    const double nearUnknown[3] = {1.1, 40.9, 0};
    EXPECT_EQ(grid.Interpoler(UniteDegres, nearUnknown, &v, code), 0);
    EXPECT_EQ(v, -9999);
    const double known[3] = {0.25, 41.25, 0};  // the north-west node
    EXPECT_EQ(grid.Interpoler(UniteDegres, known, &v, code), 0);
    EXPECT_EQ(v, 1);
}

TEST(EsriGrid, HeaderEdgeCases) {
    GridFolder folder;
    GridFolder::Write("e.xml", BilinearXml());
    CGrille1D grid;
    // Capitals are other keywords, passed over: the header never ends.
    GridFolder::Write(
        "e.asc", Esri("NCOLS", "4") + Esri("NROWS", "3") + Esri("NODATA_VALUE", "0") + "1 2 3 4\n");
    EXPECT_EQ(OpenMessage(grid, "e.asc").rfind("Problème dans l'en-tête de\ne.asc (position ", 0), 0u);
    // A header that never reaches NODATA_value ends at the end of the file.
    GridFolder::Write("e.asc", Esri("ncols", "4") + Esri("nrows", "3"));
    EXPECT_EQ(OpenMessage(grid, "e.asc"), "Problème dans l'en-tête de\ne.asc (position 32)");
    GridFolder::Write("e.asc", "");
    EXPECT_EQ(OpenMessage(grid, "e.asc"), "Problème dans l'en-tête de\ne.asc (position 1)");
    // NODATA_value with a decimal point: the integer field's message.
    GridFolder::Write("e.asc", Esri("ncols", "4") + Esri("NODATA_value", "-9999.0"));
    EXPECT_EQ(OpenMessage(grid, "e.asc").rfind("Entier attendu dans : \nNODATA_value", 0), 0u);
    // A value followed by another word does not end its line.
    GridFolder::Write("e.asc", Esri("ncols", "4 5") + Esri("NODATA_value", "0"));
    EXPECT_EQ(OpenMessage(grid, "e.asc"), "Problème dans l'en-tête de\ne.asc (position 16)");
    // Values one column before the fifteenth character, as many writers
    // align them, are read whole.
    GridFolder::Write("e.asc",
                      "ncols        4\nnrows        3\nxllcorner    0\nyllcorner    40\n"
                      "cellsize     0.5\nNODATA_value 0\n1 2 3 4\n5 6 7 8\n9 10 11 12\n");
    ASSERT_EQ(OpenMessage(grid, "e.asc"), "");
    EXPECT_EQ(grid.header.N_COLUMNS, 4);
    EXPECT_EQ(grid.header.X_MAX, 1.75);
}

TEST(EgmSurferGravsoft, Headers) {
    GridFolder folder;
    GridFolder::Write("g.xml", BilinearXml());
    CGrille1D grid;
    // EGM: north, west, steps in minutes, lines, columns.
    std::string values;
    for (int i = 0; i < 121 * 241; ++i) values += "1.5\n";
    GridFolder::Write("g.egm", "50 -5 1 1 121 241\n" + values);
    ASSERT_EQ(OpenMessage(grid, "g.egm"), "");
    EXPECT_DOUBLE_EQ(grid.header.X_INC, 1.0 / 60);
    EXPECT_DOUBLE_EQ(grid.header.Y_INC, 1.0 / 60);
    EXPECT_DOUBLE_EQ(grid.header.X_MAX, -1);
    EXPECT_DOUBLE_EQ(grid.header.Y_MIN, 48);
    EXPECT_EQ(grid.header.LAYOUT, NW2E2S);
    // Surfer with two columns: the step is the whole width.
    GridFolder::Write("g.grd", "DSAA\n2 3\n1 3\n40 41\n0 9\n1 2\n3 4\n5 6\n");
    ASSERT_EQ(OpenMessage(grid, "g.grd"), "");
    EXPECT_EQ(grid.header.X_INC, 2);
    EXPECT_EQ(grid.header.Y_INC, 0.5);
    EXPECT_EQ(grid.header.LAYOUT, SW2E2N);
    // One column or one line: no step, a header problem, no division by zero.
    GridFolder::Write("g.grd", "DSAA\n1 3\n1 1\n40 41\n0 9\n1\n2\n3\n");
    EXPECT_EQ(OpenMessage(grid, "g.grd").rfind("Problème dans l'en-tête de\ng.grd", 0), 0u);
    GridFolder::Write("g.grd", "DSAA\n2 1\n1 3\n40 40\n0 9\n1 2\n");
    EXPECT_EQ(OpenMessage(grid, "g.grd").rfind("Problème dans l'en-tête de\ng.grd", 0), 0u);
    // A header cut short.
    GridFolder::Write("g.grd", "DSAA\n2 3\n1 3\n");
    EXPECT_EQ(OpenMessage(grid, "g.grd").rfind("Problème dans l'en-tête de\ng.grd", 0), 0u);
    // Gravsoft: latitudes, longitudes, then the steps.
    GridFolder::Write("g.gra", "40 41 1 3 0.5 1\n1 2 3\n4 5 6\n7 8 9\n");
    ASSERT_EQ(OpenMessage(grid, "g.gra", ModeEnMemoire), "");
    EXPECT_EQ(grid.header.N_COLUMNS, 3);
    EXPECT_EQ(grid.header.N_LINES, 3);
    const double northWest[3] = {1, 41, 0};
    double v = 0;
    int code = 0;
    EXPECT_EQ(grid.Interpoler(UniteDegres, northWest, &v, code), 0);
    EXPECT_EQ(v, 1);
}

// A DIS header: the corners NW, NE, SW, SE, the steps, the counts, four
// fields passed over, the value range and the width of one value.
std::string DisHeader(const std::string& keyword, double y2) {
    char line[300];
    std::snprintf(line, sizeof line,
                  "%s 1 41 3 %g 1 40 3 40 1 0.5METRES 3 3METRES 0 0x 100 900METRES 5\n",
                  keyword.c_str(), y2);
    return line;
}

TEST(DisGrid, HeaderMessagesAndFixedWidthRows) {
    GridFolder folder;
    CGrille1D grid;
    const std::string rows = "  100  200  300\n  400  500  600\n  700  800  900\n";
    GridFolder::Write("d.dis", DisHeader("ORTHO", 41) + "second line\n" + rows);
    EXPECT_EQ(OpenMessage(grid, "d.dis"), "Mot-clé ORTH non trouvé");
    GridFolder::Write("d.dis", DisHeader("ORTH", 41.5) + "second line\n" + rows);
    EXPECT_EQ(OpenMessage(grid, "d.dis"), "Grille non orthogonale");
    // A second line without line break ends at the end of the file.
    GridFolder::Write("d.dis", DisHeader("ORTH", 41) + "second line");
    EXPECT_EQ(OpenMessage(grid, "d.dis").rfind("Problème dans l'en-tête de\nd.dis (position ", 0), 0u);
    GridFolder::Write("d.dis", "ORTH 1 41 3 41");
    EXPECT_EQ(OpenMessage(grid, "d.dis"), "Problème dans l'en-tête de\nd.dis (position 15)");

    // Without an XML header the width comes from the file (5 characters):
    // the interpolation type is missing.
    GridFolder::Write("d.dis", DisHeader("ORTH", 41) + "second line\n" + rows);
    EXPECT_NE(OpenMessage(grid, "d.dis").find("+ Le type d'interpolation doit être bilinéaire ou spline"),
              std::string::npos);
    EXPECT_EQ(grid.header.valueSize, 5);
    EXPECT_EQ(grid.header.NODE_COORD_UNIT, UniteMetres);
    EXPECT_EQ(grid.header.VALUES_MAX, 900);
    // With the XML header the width becomes the size of INTEGER4 (4
    // characters); rows of 3 values, the rest of each line dropped.
    GridFolder::Write("d.dis", DisHeader("ORTH", 41) + "second line\n" +
                                   " 100 200 300\n 400 500 600\n 700 800 900\n");
    GridFolder::Write("d.xml", XmlHeader("\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n"));
    ASSERT_EQ(OpenMessage(grid, "d.dis", ModeEnMemoire), "");
    EXPECT_EQ(grid.header.valueSize, 4);
    double v[1];
    int code = 0;
    grid.Lire_Noeud(0, 2, v, code);  // the north-west node comes first
    EXPECT_EQ(v[0], 100);
    grid.Lire_Noeud(2, 0, v, code);
    EXPECT_EQ(v[0], 900);
}

// ---- The EGM96 crop in every vertical text format -------------------------

struct Crop {
    double west = 0, east = 0, south = 0, north = 0, step = 0;
    int columns = 0, lines = 0;
    std::vector<std::string> values;  // as written, rows from the south
    const std::string& At(int c, int l) const {
        return values[static_cast<size_t>(l) * columns + c];
    }
};

bool ReadCrop(const std::string& path, Crop& crop) {
    std::ifstream in(path);
    if (!in) return false;
    std::string header;
    std::getline(in, header);
    std::istringstream h(header);
    double stepY;
    h >> crop.west >> crop.east >> crop.south >> crop.north >> crop.step >> stepY;
    crop.columns = static_cast<int>(std::lround((crop.east - crop.west) / crop.step)) + 1;
    crop.lines = static_cast<int>(std::lround((crop.north - crop.south) / crop.step)) + 1;
    std::string v;
    while (in >> v) crop.values.push_back(v);
    return static_cast<int>(crop.values.size()) == crop.columns * crop.lines;
}

// The rows from the north (north_first) or from the south, one per line.
std::string Rows(const Crop& crop, bool northFirst) {
    std::string out;
    for (int i = 0; i < crop.lines; ++i) {
        const int l = northFirst ? crop.lines - 1 - i : i;
        for (int c = 0; c < crop.columns; ++c)
            out += crop.At(c, l) + (c + 1 < crop.columns ? " " : "\n");
    }
    return out;
}

TEST(VerticalFormats, TheGeoidCropInterpolatesIdenticallyInEveryFormat) {
    const std::string native = std::string(QUORVEL_SOURCE_DIR) + "/data/egm96_france.mnt";
    Crop crop;
    if (!ReadCrop(native, crop)) GTEST_SKIP() << "run scripts/setup to make " << native;
    GridFolder folder;
    std::filesystem::copy_file(native, "geoide.mnt");
    char line[200];
    const double half = crop.step / 2;
    std::string esri =
        Esri("ncols", std::to_string(crop.columns)) + Esri("nrows", std::to_string(crop.lines));
    std::snprintf(line, sizeof line, "%.6f", crop.west - half);
    esri += Esri("xllcorner", line);
    std::snprintf(line, sizeof line, "%.6f", crop.south - half);
    esri += Esri("yllcorner", line);
    std::snprintf(line, sizeof line, "%.6f", crop.step);
    esri += Esri("cellsize", line) + Esri("NODATA_value", "-9999");
    GridFolder::Write("geoide.asc", esri + Rows(crop, true));
    std::snprintf(line, sizeof line, "%.6f %.6f %.6f %.6f %.6f %.6f\n", crop.south, crop.north,
                  crop.west, crop.east, crop.step, crop.step);
    GridFolder::Write("geoide.gra", line + Rows(crop, true));
    std::snprintf(line, sizeof line, "DSAA\n%d %d\n%.6f %.6f\n%.6f %.6f\n-100 100\n", crop.columns,
                  crop.lines, crop.west, crop.east, crop.south, crop.north);
    GridFolder::Write("geoide.grd", line + Rows(crop, false));
    std::snprintf(line, sizeof line, "%.6f %.6f %.6f %.6f %d %d\n", crop.north, crop.west,
                  crop.step * 60, crop.step * 60, crop.lines, crop.columns);
    GridFolder::Write("geoide.egm", line + Rows(crop, true));
    // One XML header serves all of them: real values, bilinear.
    GridFolder::Write("geoide.xml", Real8Xml());

    std::vector<std::unique_ptr<CGrille1D>> grids;
    for (const char* name :
         {"geoide.mnt", "geoide.asc", "geoide.gra", "geoide.grd", "geoide.egm"}) {
        grids.push_back(std::make_unique<CGrille1D>());
        ASSERT_EQ(OpenMessage(*grids.back(), name, ModeEnMemoire), "") << name;
        EXPECT_EQ(grids.back()->zone.southWest.longitude, crop.west) << name;
        EXPECT_EQ(grids.back()->zone.northEast.latitude, crop.north) << name;
    }
    std::mt19937 random(96);
    std::uniform_real_distribution<double> lon(crop.west, crop.east), lat(crop.south, crop.north);
    int compared = 0;
    for (int i = 0; i < 1000; ++i) {
        const double point[3] = {lon(random), lat(random), 0};
        double reference = 0;
        int code = 0;
        ASSERT_EQ(grids[0]->Interpoler(UniteDegres, point, &reference, code), 0);
        EXPECT_GT(std::fabs(reference), 0.0);
        for (size_t g = 1; g < grids.size(); ++g) {
            double v = 0;
            ASSERT_EQ(grids[g]->Interpoler(UniteDegres, point, &v, code), 0);
            EXPECT_EQ(v, reference) << grids[g]->header.NAME << " " << point[0] << " " << point[1];
            ++compared;
        }
    }
    EXPECT_EQ(compared, 4000);
}

}  // namespace
