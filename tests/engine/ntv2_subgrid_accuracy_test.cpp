// An NTv2 file of nested sub-grids (a parent and a finer child inside it
// holding other shifts), binary and text, and a GeoTIFF of two images of the
// same shape, against PROJ's hgridshift, both directions: points inside the
// child, inside the parent only, and on the child's border.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <vector>

#include "catalogue/loader.h"
#include "engine/coordinate_system.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "support/geotiff_grids.h"
#include "support/nested_ntv2.h"
#include "support/temp_dir.h"

namespace {

constexpr double kMetresPerDegree = 111320;
constexpr double kPi = 3.141592653589793;

// A child that agrees with its parent along its border and departs from it
// inside (by up to four tenths of a second), as published children do.
void SmoothChildShift(double lon, double lat, float& dLat, float& dLon) {
    ParentShift(lon, lat, dLat, dLon);
    const double bump = std::sin(kPi * (lon - 2)) * std::sin(kPi * (lat - 46));
    dLat += static_cast<float>(0.4 * bump);
    dLon -= static_cast<float>(0.3 * bump);
}

struct Point {
    double lon, lat;
};

// PROJ's hgridshift of the points, forward or inverse; empty when cct fails.
std::vector<Point> ProjShift(const std::string& grid, const std::vector<Point>& points,
                             bool inverse, const TempDir& dir) {
    std::string input;
    char line[96];
    for (const Point& p : points) {
        std::snprintf(line, sizeof line, "%.10f %.10f 0 0\n", p.lon, p.lat);
        input += line;
    }
    const std::string in = dir.Write("in.txt", input);
    const std::string out = dir.File("out.txt");
    const std::string command = std::string("cct -d 10 ") + (inverse ? "-I " : "") +
                                "+proj=hgridshift +grids=" + grid + " < " + in + " > " + out +
                                " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::istringstream text(TempDir::Read(out));
    std::vector<Point> shifted;
    double lon, lat, h, t;
    while (text >> lon >> lat >> h >> t) shifted.push_back({lon, lat});
    return shifted;
}

class NestedSubGrids : public ::testing::Test {
public:
    void SetUp() override {
        Write(ParentAndChild());
        dir.Write("nested.xml",
                  "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR"
                  "</INTERPOLATION_TYPE></GRID_HEADER>\n");
        dir.Write("nestedtext.xml", kNtv2TextXml);
        ASSERT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
        // The binary file joins systems 8 and 9, the same grid as text 10 and 11.
        for (const char* line : {"REG 8 3 1 2D SUBA", "REG 9 3 1 2D SUBB", "TSG0 8 9 0.0 0.0 0.0",
                                 "GR3D nested.gsb 8 9", "REG 10 3 1 2D SUBC", "REG 11 3 1 2D SUBD",
                                 "TSG0 10 11 0.0 0.0 0.0", "GR3D nestedtext.gsa 10 11"})
            ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added) << line;
    }

    // The sub-grids as the binary file and as the text file.
    void Write(const std::vector<Sub>& subs) {
        dir.Write("nested.gsb", Ntv2(subs));
        dir.Write("nestedtext.gsa", Ntv2Text(subs));
    }

    // The points through the grid method, from system `from` to `to`.
    std::vector<Point> Transform(const std::vector<Point>& points, int from, int to) {
        std::vector<Point> out;
        GridContext context{catalogue, vertical, translation, headers, folder, nullptr};
        for (const Point& p : points) {
            CCoor source, target;
            source.type = target.type = Geographic;
            source.unit = target.unit = DecimalDegree;
            ResolveByIds(source.sys, from, 1, 0, 0, catalogue);
            ResolveByIds(target.sys, to, 1, 0, 0, catalogue);
            source.longitude = p.lon;
            source.latitude = p.lat;
            CZone zone;
            EXPECT_EQ(SelectTranslationGrid(context, source, target.sys, zone), 1) << p.lon;
            if (!translation.loaded) {
                EXPECT_EQ(LoadCurrentGrid(translation, context.workingDirectory, nullptr), "");
            }
            EXPECT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue), 0);
            out.push_back({target.longitude, target.latitude});
        }
        return out;
    }

    static double Distance(const Point& a, const Point& b) {
        return std::hypot((a.lat - b.lat) * kMetresPerDegree,
                          (a.lon - b.lon) * kMetresPerDegree * std::cos(b.lat * kPi / 180));
    }

    TempDir dir;
    std::string folder = dir.path() + "/";  // of the catalogue's grids
    Catalogue catalogue;
    CGrille1D vertical;
    CGrille3D translation;
    GridHeaderCache headers;
};

// Both directions through the grid `grid` (a path), joining systems 8 and 9,
// against PROJ's hgridshift of it; with `text`, the same grid as a text file
// joining systems 10 and 11 gives the binary file's values.
void CompareWithProj(NestedSubGrids& test, const std::string& grid, bool text) {
    struct Case {
        const char* where;
        std::vector<Point> points;
    };
    const std::vector<Case> cases = {
        {"inside the child", {{2.3, 46.4}, {2.77, 46.91}, {2.01, 46.99}, {2.5, 46.5}}},
        {"inside the parent only", {{1.3, 45.2}, {4.6, 48.7}, {3.2, 46.5}, {2.5, 47.3}, {1, 45}}},
        {"on the child's border", {{2, 46.5}, {2.5, 47}, {3, 46.2}, {2.6, 46}, {3, 47}, {2, 46}}},
    };
    const std::string name = grid.substr(grid.rfind('/') + 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        for (const bool inverse : {false, true}) {
            SCOPED_TRACE(inverse ? "inverse" : "forward");
            const std::vector<Point> proj = ProjShift(grid, c.points, inverse, test.dir);
            ASSERT_EQ(proj.size(), c.points.size()) << "cct did not run";
            const std::vector<Point> ours = test.Transform(c.points, inverse ? 9 : 8, inverse ? 8 : 9);
            double largest = 0, largestText = 0, fromBinary = 0;
            for (size_t k = 0; k < ours.size(); ++k) {
                largest = std::max(largest, test.Distance(ours[k], proj[k]));
                EXPECT_LT(test.Distance(ours[k], proj[k]), 0.001)
                    << c.points[k].lon << " " << c.points[k].lat;
            }
            if (text) {
                const std::vector<Point> fromText =
                    test.Transform(c.points, inverse ? 11 : 10, inverse ? 10 : 11);
                for (size_t k = 0; k < ours.size(); ++k) {
                    largestText = std::max(largestText, test.Distance(fromText[k], proj[k]));
                    EXPECT_LT(test.Distance(fromText[k], proj[k]), 0.001)
                        << c.points[k].lon << " " << c.points[k].lat;
                    for (double d : {fromText[k].lon - ours[k].lon, fromText[k].lat - ours[k].lat}) {
                        fromBinary = std::max(fromBinary, std::fabs(d));
                        EXPECT_LE(std::fabs(d), 1e-9) << c.points[k].lon << " " << c.points[k].lat;
                    }
                }
            }
            std::printf("%s, %s, %s: largest difference from PROJ %.6f m", name.c_str(), c.where,
                        inverse ? "inverse" : "forward", largest);
            if (text) {
                std::printf("; .gsa %.6f m, .gsa from .gsb %.3g degree", largestText, fromBinary);
            }
            std::printf("\n");
        }
    }
}

TEST_F(NestedSubGrids, BothDirectionsAgainstProj) {
    CompareWithProj(*this, dir.File("nested.gsb"), true);
}

// The same shape as a GeoTIFF of two images, the child naming its parent
// (made by tests/grids/make_geotiff_grids.py).
TEST_F(NestedSubGrids, GeoTiffOfTwoImagesBothDirectionsAgainstProj) {
    const std::string tiffs = GeoTiffGridFolder();
    if (tiffs.empty()) GTEST_SKIP() << "GDAL's Python module or PROJ's tools are missing";
    catalogue.translationGrids.clear();
    ASSERT_EQ(AddCatalogueLine("GR3D nested_shifts.tif 8 9", catalogue), LineOutcome::Added);
    folder = tiffs + "/";
    CompareWithProj(*this, tiffs + "/nested_shifts.tif", false);
}

// The child's shifts answer inside it: a point there moves by the child's
// shift, not the parent's, and half a second apart is some fifteen metres.
TEST_F(NestedSubGrids, TheChildAnswersInsideItself) {
    for (const int from : {8, 10}) {
        const std::vector<Point> moved = Transform({{2.5, 46.5}}, from, from + 1);
        float dLat = 0, dLon = 0, pLat = 0, pLon = 0;
        ChildShift(2.5, 46.5, dLat, dLon);
        ParentShift(2.5, 46.5, pLat, pLon);
        EXPECT_NEAR(moved[0].lat, 46.5 + dLat / 3600.0, 1e-9) << from;
        EXPECT_NEAR(moved[0].lon, 2.5 + dLon / 3600.0, 1e-9) << from;
        EXPECT_GT(std::fabs(dLat - pLat), 0.2);
    }
}

// Points whose inverse iteration starts in the parent and ends in the child
// (or the other way), with a child that joins its parent along its border:
// the result, shifted forward, gives back the point.
TEST_F(NestedSubGrids, InverseAcrossTheChildsBorderGivesBackThePoint) {
    Write({{"PARENT1", "NONE", 1, 5, 45, 49, 0.5, ParentShift},
           {"CHILD1", "PARENT1", 2, 3, 46, 47, 0.125, SmoothChildShift}});
    std::vector<Point> points;
    for (double d = -0.0006; d <= 0.00061; d += 0.0001) {
        points.push_back({2 + d, 46.5});
        points.push_back({2.5, 47 + d});
    }
    for (const int from : {8, 10}) {
        const std::vector<Point> back = Transform(points, from + 1, from);
        const std::vector<Point> again = Transform(back, from, from + 1);
        for (size_t k = 0; k < points.size(); ++k)
            EXPECT_LT(Distance(again[k], points[k]), 0.001)
                << from << ": " << points[k].lon << " " << points[k].lat;
    }
}

}  // namespace
