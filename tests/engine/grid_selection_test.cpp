// Choosing the current grids for a point, and the grid change of reference
// system with a shift grid, including the published French NTv2 grid.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "catalogue/loader.h"
#include "engine/coordinate_operations.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "grids/grid_progress.h"
#include "support/temp_dir.h"

namespace {

const char* const kBaseLines[] = {
    "ELG 1 6378249.2 6356515.0 293.466021293627 0.00680348764629989 Clarke 1880 IGN",
    "ELG 3 6378137.0 6356752.314140 298.257222101 0.00669438002290079 GRS 1980",
    "LGO 1 2 0.0 Greenwich",
    "LGO 2 3 2.5969213 Paris",
    "REG 1 1 2 2D NTF",
    "REG 4 3 1 3D RGF93",
    "REA 3 EGM96",
};

// A native text grid of 3 values per node over a rectangle, in degrees.
void WriteNativeGrid(const std::string& folder, const std::string& name, double west, double east,
                     double south, double north, double step, double tx) {
    const int columns = static_cast<int>(std::lround((east - west) / step)) + 1;
    const int lines = static_cast<int>(std::lround((north - south) / step)) + 1;
    std::ofstream out(folder + name + ".mnt");
    char header[200];
    std::snprintf(header, sizeof header, "%.6f %.6f %.6f %.6f %.6f %.6f 4 0 3 0 0 0 0 grille\n",
                  west, east, south, north, step, step);
    out << header;
    for (int i = 0; i < columns * lines; ++i) out << tx << " -60 320\n";
    std::ofstream(folder + name + ".xml")
        << "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
           "</GRID_HEADER>\n";
}

// A one-value grid (vertical) over a rectangle.
void WriteVerticalGrid(const std::string& folder, const std::string& name, double west, double east,
                       double south, double north, double step) {
    const int columns = static_cast<int>(std::lround((east - west) / step)) + 1;
    const int lines = static_cast<int>(std::lround((north - south) / step)) + 1;
    std::ofstream out(folder + name + ".mnt");
    char header[200];
    std::snprintf(header, sizeof header, "%.6f %.6f %.6f %.6f %.6f %.6f 4 0 1 0 0 geoide\n", west,
                  east, south, north, step, step);
    out << header;
    for (int i = 0; i < columns * lines; ++i) out << "50.0\n";
    std::ofstream(folder + name + ".xml")
        << "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
           "</GRID_HEADER>\n";
}

struct GridWorld {
    TempDir dir;
    std::string folder = dir.path() + "/";
    Catalogue catalogue;
    CGrille1D vertical;
    CGrille3D translation;
    GridHeaderCache headers;
    ConsoleGridProgress progress;
    GridContext context{catalogue, vertical, translation, headers, folder, &progress};

    explicit GridWorld(const std::vector<const char*>& lines, bool withApproximation = true) {
        for (const char* line : kBaseLines) AddCatalogueLine(line, catalogue);
        if (withApproximation) AddCatalogueLine("TSG0 1 4 -168.0 -60.0 320.0", catalogue);
        for (const char* line : lines) AddCatalogueLine(line, catalogue);
    }
    const CReg* System(int id) const { return FindById(catalogue.systems, id); }
    CCoor Point(int system, double lon, double lat) const {
        CCoor c;
        c.type = Geographic;
        c.unit = DecimalDegree;
        c.longitude = lon;
        c.latitude = lat;
        c.sys.system = System(system);
        c.sys.meridian = FindById(catalogue.meridians, 1);
        return c;
    }
    CSysCoor Target(int system) const {
        CSysCoor s;
        s.system = System(system);
        s.meridian = FindById(catalogue.meridians, 1);
        return s;
    }
};

TEST(SelectTranslationGrid, FinestGridWinsWhateverTheOrder) {
    for (bool fineFirst : {false, true}) {
        SCOPED_TRACE(fineFirst);
        const std::vector<const char*> lines =
            fineFirst ? std::vector<const char*>{"GR3D fine.mnt 1 4", "GR3D coarse.mnt 1 4"}
                      : std::vector<const char*>{"GR3D coarse.mnt 1 4", "GR3D fine.mnt 1 4"};
        GridWorld s(lines);
        WriteNativeGrid(s.folder, "coarse", 1, 3, 46, 48, 0.1, -160);
        WriteNativeGrid(s.folder, "fine", 1.5, 2.5, 46.5, 47.5, 0.025, -170);
        CZone zone;
        EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 2, 47), s.Target(4), zone), 1);
        EXPECT_EQ(s.translation.header.NAME, "fine.mnt");
        EXPECT_FALSE(s.translation.loaded);
        EXPECT_EQ(s.translation.zone.systemKey, 4);  // positioned in the target system
        // Outside the fine grid, the coarse one.
        EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 1.2, 46.2), s.Target(4), zone), 1);
        EXPECT_EQ(s.translation.header.NAME, "coarse.mnt");
        // The grid is loaded by the run, with its values on disk.
        EXPECT_EQ(LoadCurrentGrid(s.translation, s.folder, &s.progress), "");
        EXPECT_TRUE(s.translation.loaded);
        EXPECT_EQ(s.translation.zone.systemKey, 4);
        // The same grid again: kept loaded, nothing reopened.
        const int64_t openings = s.headers.Openings();
        EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 1.3, 46.3), s.Target(4), zone), 1);
        EXPECT_TRUE(s.translation.loaded);
        EXPECT_EQ(s.headers.Openings(), openings);
    }
}

TEST(SelectTranslationGrid, ReverseListedSameSystemAndOutside) {
    GridWorld s({"GR3D g.mnt 4 1"});
    WriteNativeGrid(s.folder, "g", 1, 3, 46, 48, 0.1, -160);
    CZone zone;
    // Listed from RGF93 to NTF, used from NTF to RGF93: the zone belongs to
    // the source system and the point is tested as it is.
    EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 2, 47), s.Target(4), zone), 1);
    EXPECT_EQ(s.translation.zone.systemKey, 1);
    // Same system: no grid, no file opened.
    GridWorld same({"GR3D g.mnt 1 4"});
    EXPECT_EQ(SelectTranslationGrid(same.context, same.Point(4, 2, 47), same.Target(4), zone), 1);
    EXPECT_EQ(same.headers.Openings(), 0);
    // Outside every grid: 0, and the zone of the last candidate.
    zone = CZone();
    EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 5, 47), s.Target(4), zone), 0);
    EXPECT_DOUBLE_EQ(zone.southWest.longitude, 1);
    EXPECT_DOUBLE_EQ(zone.northEast.latitude, 48);
}

TEST(SelectTranslationGrid, MissingApproximationRecord) {
    GridWorld s({"GR3D g.mnt 1 4"}, false);
    WriteNativeGrid(s.folder, "g", 1, 3, 46, 48, 0.1, -160);
    s.translation.header.NAME = "avant.mnt";
    CZone zone;
    EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(1, 2, 47), s.Target(4), zone), 600);
    EXPECT_EQ(s.translation.header.NAME, "avant.mnt");
}

TEST(SelectVerticalGrid, ResultsAndCurrentGrid) {
    GridWorld s({"GR1D geo.mnt 4 3", "GR1D fin.mnt 4 3"});
    WriteVerticalGrid(s.folder, "geo", 0, 4, 45, 49, 0.25);
    WriteVerticalGrid(s.folder, "fin", 1, 3, 46, 48, 0.05);
    const CRea* egm96 = FindById(s.catalogue.verticalSystems, 3);
    CCoor source = s.Point(1, 2, 47), target = s.Point(4, 0, 0);
    source.sys.vertical = egm96;
    source.verticalKind = EllipsoidalHeight;
    CZone zone;
    std::string message;
    // Positioned in the target system only: the point is brought near it
    // with the translations of the record first.
    EXPECT_EQ(SelectVerticalGrid(s.context, 2, source, target, zone, message), 1);
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(s.vertical.header.NAME, "fin.mnt");
    EXPECT_EQ(s.vertical.zone.systemKey, 4);
    // No vertical value: -2, the current grid stays.
    CCoor flat = source;
    flat.verticalKind = NoVertical;
    EXPECT_EQ(SelectVerticalGrid(s.context, 2, flat, target, zone, message), -2);
    EXPECT_EQ(s.vertical.header.NAME, "fin.mnt");
    // Outside every listed grid: 0 and the precision codes of no geoid.
    CCoor far = s.Point(1, 8, 47);
    far.sys.vertical = egm96;
    far.verticalKind = Altitude;
    EXPECT_EQ(SelectVerticalGrid(s.context, 2, far, target, zone, message), 0);
    EXPECT_EQ(far.verticalPrecision, -999);
    EXPECT_EQ(target.verticalPrecision, -999);
    EXPECT_FALSE(s.vertical.loaded);
    // A vertical system that no grid serves: -1.
    CRea other;
    other.id = 8;
    source.sys.vertical = &other;
    EXPECT_EQ(SelectVerticalGrid(s.context, 2, source, target, zone, message), -1);
    // Missing approximation record for a grid of the target system: 600.
    GridWorld bare({"GR1D geo.mnt 4 3"}, false);
    WriteVerticalGrid(bare.folder, "geo", 0, 4, 45, 49, 0.25);
    source.sys.vertical = egm96;
    source.sys.system = bare.System(1);
    target.sys.system = bare.System(4);
    EXPECT_EQ(SelectVerticalGrid(bare.context, 2, source, target, zone, message), 600);
}

// ---- The published NTF to RGF93 shift grid --------------------------------

class PublishedShiftGrid : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("/usr/share/proj/ntf_r93.gsb"))
            GTEST_SKIP() << "proj-data is not installed";
        std::filesystem::copy_file("/usr/share/proj/ntf_r93.gsb", s.folder + "ntf_r93.gsb");
        std::ofstream(s.folder + "ntf_r93.xml")
            << "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR"
               "</INTERPOLATION_TYPE></GRID_HEADER>\n";
    }
    GridWorld s{{"GR3D ntf_r93.gsb 1 4"}};
};

TEST_F(PublishedShiftGrid, ZoneOfTheSourceSystemAndRoundTrip) {
    CZone zone;
    ASSERT_EQ(SelectTranslationGrid(s.context, s.Point(1, 2, 47), s.Target(4), zone), 1);
    EXPECT_EQ(s.translation.zone.systemKey, 1);  // shift grids belong to their first system
    ASSERT_EQ(LoadCurrentGrid(s.translation, s.folder, &s.progress), "");

    for (double lon = -4.5; lon <= 8; lon += 0.77) {
        for (double lat = 42.5; lat <= 51; lat += 0.61) {
            CCoor p = s.Point(1, lon, lat);
            p.height = 123.4;
            CCoor q = p;
            ASSERT_EQ(ApplyGridTransformation(q, s.Target(4), s.translation, s.catalogue), 0);
            EXPECT_EQ(q.sys.system, s.System(4));
            EXPECT_DOUBLE_EQ(q.height, 123.4);  // heights pass unchanged
            // About -2.6 s of longitude and a fraction of a second of latitude.
            EXPECT_LT(std::fabs(q.longitude - lon), 0.002);
            EXPECT_LT(std::fabs(q.latitude - lat), 0.0005);
            ASSERT_EQ(ApplyGridTransformation(q, s.Target(1), s.translation, s.catalogue), 0);
            const double radian = 3.141592653589793 / 180;
            EXPECT_NEAR(q.longitude * radian, lon * radian, 1e-12);
            EXPECT_NEAR(q.latitude * radian, lat * radian, 1e-12);
        }
    }
}

TEST_F(PublishedShiftGrid, ReverseSelectionNeedsTheApproximation) {
    CZone zone;
    EXPECT_EQ(SelectTranslationGrid(s.context, s.Point(4, 2, 47), s.Target(1), zone), 1);
    GridWorld bare({"GR3D ntf_r93.gsb 1 4"}, false);
    std::filesystem::copy_file(s.folder + "ntf_r93.gsb", bare.folder + "ntf_r93.gsb");
    std::filesystem::copy_file(s.folder + "ntf_r93.xml", bare.folder + "ntf_r93.xml");
    // From the first system, no approximation is needed.
    EXPECT_EQ(SelectTranslationGrid(bare.context, bare.Point(1, 2, 47), bare.Target(4), zone), 1);
    EXPECT_EQ(SelectTranslationGrid(bare.context, bare.Point(4, 2, 47), bare.Target(1), zone), 600);
}

}  // namespace
