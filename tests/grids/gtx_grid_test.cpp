// GTX vertical grids: the published whole-world EGM96 model against PROJ's
// vgridshift, from -180 and from 0 to 360 degrees, across the seam of the
// parallel; the no-data value, the XML header beside the grid, and the
// refusals of short or inconsistent files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "grids/grid_binary_file.h"
#include "grids/grid_test_support.h"

namespace {

const std::string kEgm96 = "/usr/share/proj/egm96_15.gtx";

void PutBE(std::string& out, const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) out += static_cast<char>(b[n - 1 - i]);
}

// A GTX file: header, then the values row by row from the south.
std::string Gtx(double south, double west, double latStep, double lonStep, int32_t rows,
                int32_t columns, const std::vector<float>& values) {
    std::string out;
    for (double v : {south, west, latStep, lonStep}) PutBE(out, &v, 8);
    PutBE(out, &rows, 4);
    PutBE(out, &columns, 4);
    for (float v : values) PutBE(out, &v, 4);
    return out;
}

struct Point {
    double lon, lat;
};

// 1000 points over the world, a fifth of them within a tenth of a degree of
// the antimeridian or of the Greenwich meridian, and the seams themselves.
std::vector<Point> WorldPoints() {
    std::vector<Point> points = {{180, 10},     {-180, 10},  {179.99, -33.3}, {-179.99, 45.1},
                                 {179.875, 0.1}, {0, 47},    {-0.01, 47.2},   {0.125, -60.05},
                                 {179.9, 89.9}, {-179.9, -89.9}};
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    while (points.size() < 1000) {
        const double lat = -89.9 + 179.8 * next();
        double lon = -180 + 360 * next();
        if (points.size() % 5 == 0) lon = (next() < 0.5 ? 180 : 0) - 0.1 + 0.2 * next();
        if (lon > 180) lon -= 360;
        points.push_back({lon, lat});
    }
    return points;
}

// The geoid heights PROJ gives at the points (cct +proj=vgridshift, which
// adds the grid's value to a zero height with +multiplier=1).
std::vector<double> ProjGeoid(const std::string& grid, const std::vector<Point>& points,
                              const TempDir& dir) {
    std::string input;
    char line[96];
    for (const Point& p : points) {
        std::snprintf(line, sizeof line, "%.10f %.10f 0 0\n", p.lon, p.lat);
        input += line;
    }
    const std::string in = dir.Write("points.txt", input);
    const std::string out = dir.File("geoid.txt");
    const std::string command = "cct -d 6 +proj=vgridshift +grids=" + grid +
                                " +multiplier=1 < " + in + " > " + out + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::istringstream text(TempDir::Read(out));
    std::vector<double> heights;
    double lon, lat, h, t;
    while (text >> lon >> lat >> h >> t) heights.push_back(h);
    return heights;
}

// The largest difference between the grid's heights and PROJ's at the points.
double LargestDifference(CGrille1D& grid, const std::vector<Point>& points,
                         const std::vector<double>& proj) {
    double largest = 0;
    for (size_t k = 0; k < points.size(); ++k) {
        const double point[3] = {points[k].lon, points[k].lat, 0};
        double value = 0;
        int code = -1;
        EXPECT_EQ(grid.Interpoler(UniteDegres, point, &value, code), 0)
            << points[k].lon << " " << points[k].lat;
        EXPECT_EQ(code, 0);
        largest = std::max(largest, std::fabs(value - proj[k]));
    }
    return largest;
}

// The same model from 0 to 360 degrees: each row turned half way round.
std::string ZeroTo360(const std::string& gtx) {
    const auto* b = reinterpret_cast<const unsigned char*>(gtx.data());
    const int32_t rows = LoadInt32BE(b + 32), columns = LoadInt32BE(b + 36);
    std::string out = gtx.substr(0, 8);
    const double zero = 0;
    PutBE(out, &zero, 8);  // the western longitude
    out += gtx.substr(16, 24);
    const int32_t half = columns / 2;
    for (int32_t r = 0; r < rows; ++r) {
        const size_t row = 40 + static_cast<size_t>(r) * columns * 4;
        out += gtx.substr(row + static_cast<size_t>(half) * 4, static_cast<size_t>(columns - half) * 4);
        out += gtx.substr(row, static_cast<size_t>(half) * 4);
    }
    return out;
}

TEST(GtxGrid, WholeWorldEgm96AgainstProj) {
    if (!std::filesystem::exists(kEgm96)) GTEST_SKIP() << "proj-data is not installed";
    GridFolder folder;
    const std::string published = TempDir::Read(kEgm96);
    GridFolder::Write("egm96_15.gtx", published);
    GridFolder::Write("egm96_0_360.gtx", ZeroTo360(published));
    TempDir work;
    const std::vector<Point> points = WorldPoints();
    for (const char* name : {"egm96_15.gtx", "egm96_0_360.gtx"}) {
        SCOPED_TRACE(name);
        const std::string path = std::filesystem::absolute(name).string();
        const std::vector<double> proj = ProjGeoid(path, points, work);
        ASSERT_EQ(proj.size(), points.size()) << "cct did not run";
        CGrille1D grid;
        ASSERT_EQ(OpenMessage(grid, name, ModeSurDisque), "");
        EXPECT_EQ(grid.header.GRID_TYPE, GrilleGtx);
        EXPECT_EQ(grid.header.INTERPOLATION_TYPE, Bilineaire);
        EXPECT_TRUE(grid.onDisk);
        // The zone runs the whole parallel from the first column.
        EXPECT_DOUBLE_EQ(grid.zone.northEast.longitude - grid.zone.southWest.longitude, 360);
        const double largest = LargestDifference(grid, points, proj);
        std::printf("%s: largest difference from PROJ %.6f m over %zu points\n", name, largest,
                    points.size());
        EXPECT_LT(largest, 0.001);
    }
}

// A small grid (3 rows, 4 columns of 1 degree from 10°E 40°N) holding
// 10·row + column, with one node without value.
std::string SmallGtx(float unknownAt = -1) {
    std::vector<float> values;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) values.push_back(static_cast<float>(10 * r + c));
    if (unknownAt >= 0) values[static_cast<size_t>(unknownAt)] = -88.8888f;
    return Gtx(40, 10, 1, 1, 3, 4, values);
}

TEST(GtxGrid, ValuesFromTheSouthAndNodesWithoutValue) {
    GridFolder folder;
    GridFolder::Write("s.gtx", SmallGtx(5));  // no value at row 1, column 1 (11°E, 41°N)
    CGrille1D grid;
    ASSERT_EQ(OpenMessage(grid, "s.gtx", ModeSurDisque), "");
    EXPECT_EQ(grid.header.X_MAX, 13);
    EXPECT_EQ(grid.header.Y_MAX, 42);
    struct Case {
        double lon, lat, value;
    } cases[] = {
        {10, 42, 20}, {13, 42, 23}, {12.5, 41.5, 17.5},  // cells without the unknown node
        {10.5, 40.5, grid.header.VALUE_UNK}, {10, 40, grid.header.VALUE_UNK},  // cells that have it
        {13.5, 40, 3},                                   // half a step east: the last column
    };
    for (const Case& c : cases) {
        const double point[3] = {c.lon, c.lat, 0};
        double value = 0;
        int code = 0;
        EXPECT_EQ(grid.Interpoler(UniteDegres, point, &value, code), 0) << c.lon << " " << c.lat;
        EXPECT_DOUBLE_EQ(value, c.value) << c.lon << " " << c.lat;
    }
    EXPECT_FLOAT_EQ(static_cast<float>(grid.header.VALUE_UNK), -88.8888f);
    // Far outside: status 2.
    const double far[3] = {20, 40, 0};
    double value = 0;
    int code = 0;
    EXPECT_EQ(grid.Interpoler(UniteDegres, far, &value, code), 2);
}

TEST(GtxGrid, AnXmlHeaderBesideTheGridOverridesIt) {
    GridFolder folder;
    GridFolder::Write("s.gtx", SmallGtx());
    GridFolder::Write("s.xml",
                      "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>SPLINE"
                      "</INTERPOLATION_TYPE><INTERPOLATION_ORDER>3</INTERPOLATION_ORDER>"
                      "</GRID_HEADER>\n");
    CGrille1D grid;
    EXPECT_EQ(OpenMessage(grid, "s.gtx"),
              "s.gtx :\n+ Pour une interpolation spline, l'ordre doit être >= 4\n\n"
              "(cf fichier XML le cas échéant)");
}

TEST(GtxGrid, Refusals) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::string small = SmallGtx();
    const std::vector<Case> cases = {
        {"header cut", small.substr(0, 20),
         "En-tête GTX incomplet :\nt.gtx\n(20 octets au lieu de 40 au moins)"},
        {"values cut", small.substr(0, small.size() - 2),
         "Grille incomplète :\nt.gtx\n(86 octets au lieu de 88 attendus)"},
        {"counts beyond the file", Gtx(40, 10, 0.001, 0.001, 30000, 40000, {1, 2, 3}),
         "Grille incomplète :\nt.gtx\n(52 octets au lieu de 4800000040 attendus)"},
        {"no rows", Gtx(40, 10, 1, 1, 0, 4, {}),
         "En-tête GTX non valide :\nt.gtx\n(origine 40 10, pas 1 1, 0 lignes, 4 colonnes)"},
        {"origin not a number", Gtx(NAN, 10, 1, 1, 3, 4, std::vector<float>(12, 0.f)),
         "En-tête GTX non valide :\nt.gtx\n(origine nan 10, pas 1 1, 3 lignes, 4 colonnes)"},
        {"negative step", Gtx(40, 10, -1, 1, 3, 4, std::vector<float>(12, 0.f)),
         "t.gtx :\n+ YMin >= YMax\n+ Pas non valide\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GridFolder folder;
        GridFolder::Write("t.gtx", c.bytes);
        for (int mode : {ModeEnTete, ModeSurDisque}) {
            CGrille1D grid;
            EXPECT_EQ(OpenMessage(grid, "t.gtx", mode), c.message);
            EXPECT_FALSE(grid.BinaryFileOpen());
        }
    }
}

}  // namespace
