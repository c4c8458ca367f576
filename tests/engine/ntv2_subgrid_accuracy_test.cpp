// An NTv2 file of nested sub-grids (a parent and a finer child inside it
// holding other shifts), binary and text, and a GeoTIFF of two images of the
// same shape, against PROJ's hgridshift, both directions: points inside the
// child, inside the parent only, on the child's border and near it, where the
// inverse's guesses cross it; and two grids of the top level that overlap,
// the second with a child.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <tuple>
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

// PROJ's hgridshift of each point, or nothing where it says the point is
// outside the grid; empty when cct fails.
std::vector<std::optional<Point>> ProjShiftOrOutside(const std::string& grid,
                                                     const std::vector<Point>& points,
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
    // An error line, then its reason in brackets, for a point outside.
    std::vector<std::optional<Point>> shifted;
    std::istringstream text(TempDir::Read(out));
    for (std::string row; std::getline(text, row);) {
        if (row.find("TRANSFORMATION ERROR") != std::string::npos) {
            shifted.push_back(std::nullopt);
        } else if (row.find('(') == std::string::npos &&
                   row.find_first_of("0123456789") != std::string::npos) {
            Point p{};
            std::istringstream(row) >> p.lon >> p.lat;
            shifted.push_back(p);
        }
    }
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

struct Case {
    const char* where;
    std::vector<Point> points;
};

// Points on either side of a border of the child: `count` points from
// `from` on, `step` apart, along the longitude (or the latitude) `at`.
std::vector<Point> Across(double from, double step, int count, bool alongLongitude, double at) {
    std::vector<Point> points;
    for (int k = 0; k < count; ++k) {
        const double v = from + k * step;
        points.push_back(alongLongitude ? Point{v, at} : Point{at, v});
    }
    return points;
}

// The points of ParentAndChild()'s tests: inside the child, inside the parent
// only, on the child's border, and within a second of its border, where the
// shift carries the inverse's guesses across it (the child's shifts move a
// point by a second or so, and differ from the parent's by half a second and
// more along the border).
std::vector<Case> ParentAndChildCases() {
    const double second = 1 / 3600.0;
    std::vector<Point> near;
    for (const auto& [from, along, at] : std::vector<std::tuple<double, bool, double>>{
             {2, true, 46.5}, {3, true, 46.3}, {46, false, 2.5}, {47, false, 2.6}}) {
        for (const Point& p : Across(from - 0.6 * second, 0.15 * second, 9, along, at))
            near.push_back(p);
    }
    return {
        {"inside the child", {{2.3, 46.4}, {2.77, 46.91}, {2.01, 46.99}, {2.5, 46.5}}},
        {"inside the parent only", {{1.3, 45.2}, {4.6, 48.7}, {3.2, 46.5}, {2.5, 47.3}, {1, 45}}},
        {"on the child's border", {{2, 46.5}, {2.5, 47}, {3, 46.2}, {2.6, 46}, {3, 47}, {2, 46}}},
        {"within a second of the child's border", near},
    };
}

// Both directions through the grid `grid` (a path), joining systems 8 and 9,
// against PROJ's hgridshift of it, case by case; with `text`, the same grid
// as a text file joining systems 10 and 11 gives the binary file's values.
void CompareWithProj(NestedSubGrids& test, const std::string& grid, bool text,
                     const std::vector<Case>& cases) {
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
    CompareWithProj(*this, dir.File("nested.gsb"), true, ParentAndChildCases());
}

// The same shape as a GeoTIFF of two images, the child naming its parent
// (made by tests/grids/make_geotiff_grids.py).
TEST_F(NestedSubGrids, GeoTiffOfTwoImagesBothDirectionsAgainstProj) {
    const std::string tiffs = GeoTiffGridFolder();
    if (tiffs.empty()) GTEST_SKIP() << "GDAL's Python module or PROJ's tools are missing";
    catalogue.translationGrids.clear();
    ASSERT_EQ(AddCatalogueLine("GR3D nested_shifts.tif 8 9", catalogue), LineOutcome::Added);
    folder = tiffs + "/";
    CompareWithProj(*this, tiffs + "/nested_shifts.tif", false, ParentAndChildCases());
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

// A child that joins its parent along its border: the points whose inverse
// starts in the parent and ends in the child (or the other way) against PROJ.
TEST_F(NestedSubGrids, ChildJoiningItsParentAgainstProj) {
    Write({{"PARENT1", "NONE", 1, 5, 45, 49, 0.5, ParentShift},
           {"CHILD1", "PARENT1", 2, 3, 46, 47, 0.125, SmoothChildShift}});
    std::vector<Point> points;
    for (double d = -0.0006; d <= 0.00061; d += 0.0001) {
        points.push_back({2 + d, 46.5});
        points.push_back({2.5, 47 + d});
    }
    CompareWithProj(*this, dir.File("nested.gsb"), true, {{"across the child's border", points}});
}

// Points of the grids of OverlappingTopLevelGrids(): where the two grids of
// the top level overlap (over the second one's child, and beside it), where
// only one of them lies, and on their borders.
std::vector<Case> OverlapCases() {
    return {
        {"in both grids of the top level and the child",
         {{3, 46}, {2.7, 45.8}, {3.4, 46.4}, {2.5, 45.5}, {3.5, 46.5}}},
        {"in both grids of the top level only", {{2.2, 46.3}, {3.8, 45.2}, {2.5, 46.8}}},
        {"in one grid of the top level", {{1, 46}, {0.3, 45.1}, {5, 46}, {5.7, 46.9}}},
        {"on a border of a grid of the top level", {{4, 46}, {2, 45.7}, {4, 45.5}, {2, 46.8}}},
    };
}

// PROJ takes the first grid of the top level that holds the point, then the
// first of its children that holds it: B's child never answers where A holds
// the point.
TEST_F(NestedSubGrids, OverlappingTopLevelGridsAgainstProj) {
    Write(OverlappingTopLevelGrids());
    CompareWithProj(*this, dir.File("nested.gsb"), true, OverlapCases());
}

// The same grids as a GeoTIFF of three images, the child naming its parent.
TEST_F(NestedSubGrids, GeoTiffOfOverlappingTopLevelGridsAgainstProj) {
    const std::string tiffs = GeoTiffGridFolder();
    if (tiffs.empty()) GTEST_SKIP() << "GDAL's Python module or PROJ's tools are missing";
    catalogue.translationGrids.clear();
    ASSERT_EQ(AddCatalogueLine("GR3D overlap_shifts.tif 8 9", catalogue), LineOutcome::Added);
    folder = tiffs + "/";
    CompareWithProj(*this, tiffs + "/overlap_shifts.tif", false, OverlapCases());
}

// Two grids of the top level with a gap between them, A over 0..1°E and B
// over 3..4°E: a point of the gap lies in the zone around them but in
// neither, and is outside the grid as PROJ says (the selection finds no
// grid, as beyond the zone of a grid of one), both directions, even within a
// step of a border, where the interpolation would take it; a grid listed
// beside it that covers the gap then serves there.
TEST_F(NestedSubGrids, PointsBetweenSubGridsAreOutsideTheGrid) {
    Write({{"A", "NONE", 0, 1, 45, 47, 0.5, ParentShift},
           {"B", "NONE", 3, 4, 45, 47, 0.5, SecondTopShift}});
    struct Case {
        const char* where;
        Point point;
    };
    const std::vector<Case> cases = {
        {"in A", {0.5, 46}},
        {"in B", {3.5, 46.5}},
        {"on A's east border", {1, 46}},
        {"on B's west border", {3, 45.5}},
        {"in the gap", {2, 46}},
        {"in the gap, within a step of A", {1.2, 46}},
        {"in the gap, within a step of B", {2.9, 46.8}},
        {"north of both", {0.5, 47.3}},
    };
    std::vector<Point> points;
    for (const Case& c : cases) points.push_back(c.point);
    const std::string cover = dir.Write("cover.gsb", Ntv2({{"COVER", "NONE", 0, 4, 45, 47, 1,
                                                             SecondTopShift}}));
    dir.Write("cover.xml", "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR"
                           "</INTERPOLATION_TYPE></GRID_HEADER>\n");
    for (const bool covered : {false, true}) {
        // The coarser grid serves only where the finer one does not.
        if (covered) {
            for (const char* line : {"GR3D cover.gsb 8 9", "GR3D cover.gsb 10 11"})
                ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added);
        }
        for (const bool inverse : {false, true}) {
            const auto proj = ProjShiftOrOutside(dir.File("nested.gsb"), points, inverse, dir);
            const auto projCover = ProjShiftOrOutside(cover, points, inverse, dir);
            ASSERT_EQ(proj.size(), points.size()) << "cct did not run";
            ASSERT_EQ(projCover.size(), points.size()) << "cct did not run";
            for (const int from : {8, 10}) {  // the binary file, then the text file
                const int to = from + 1;
                GridContext context{catalogue, vertical, translation, headers, folder, nullptr};
                for (size_t k = 0; k < cases.size(); ++k) {
                    SCOPED_TRACE(std::string(cases[k].where) + (covered ? ", covered" : "") +
                                 (inverse ? ", inverse" : ", forward") +
                                 (from == 8 ? ", .gsb" : ", .gsa"));
                    CCoor source, target;
                    source.type = target.type = Geographic;
                    source.unit = target.unit = DecimalDegree;
                    ResolveByIds(source.sys, inverse ? to : from, 1, 0, 0, catalogue);
                    ResolveByIds(target.sys, inverse ? from : to, 1, 0, 0, catalogue);
                    source.longitude = points[k].lon;
                    source.latitude = points[k].lat;
                    CZone zone;
                    const int selected = SelectTranslationGrid(context, source, target.sys, zone);
                    const bool inCover = !proj[k] && covered && projCover[k];
                    ASSERT_EQ(selected, proj[k] || inCover ? kGridFound : kGridNotFound);
                    if (selected != kGridFound) continue;
                    const Point expected = inCover ? *projCover[k] : *proj[k];
                    EXPECT_EQ(translation.header.NAME == "cover.gsb", inCover);
                    if (!translation.loaded) {
                        ASSERT_EQ(LoadCurrentGrid(translation, folder, nullptr), "");
                    }
                    ASSERT_EQ(TransformPointGrid(source, target, vertical, translation, catalogue),
                              0);
                    EXPECT_LT(Distance({target.longitude, target.latitude}, expected), 0.001);
                }
            }
        }
    }
}

}  // namespace
