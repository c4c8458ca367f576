// NTv2 grids, binary in both byte orders and text: header fields, node
// values, the header messages, and the real published French grid.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "grids/grid_test_support.h"
#include "grids/ntv2_file.h"

namespace {

// 1°E to 3°E, 50°N to 51°N, half-degree steps: 5 columns, 3 lines.
Ntv2File SmallGrid() {
    Ntv2File f;
    f.sLat = 50 * 3600.0;
    f.nLat = 51 * 3600.0;
    f.wLong = -1 * 3600.0;
    f.eLong = -3 * 3600.0;
    return f;
}

TEST(Ntv2Binary, HeaderFieldsAndEastwardLimits) {
    GridFolder folder;
    GridFolder::Write("f.gsb", SmallGrid().Binary());
    GridFolder::Write("f.xml", BilinearXml());
    CGrille3D grid;
    ASSERT_EQ(OpenMessage(grid, "f.gsb"), "");
    EXPECT_EQ(grid.header.GRID_TYPE, GrilleNtv2Little);
    EXPECT_EQ(grid.header.X_MIN, 3600);   // -W_LONG
    EXPECT_EQ(grid.header.X_MAX, 10800);  // -E_LONG
    EXPECT_EQ(grid.header.Y_MIN, 180000);
    EXPECT_EQ(grid.header.Y_MAX, 183600);
    EXPECT_EQ(grid.header.N_COLUMNS, 5);
    EXPECT_EQ(grid.header.N_LINES, 3);
    EXPECT_EQ(grid.header.LAYOUT, SE2W2N);
    EXPECT_EQ(grid.header.VALUES_NUMBER, 4);
    EXPECT_EQ(grid.header.VALUES_TYPE, Real4);
    EXPECT_EQ(grid.header.NODE_COORD_UNIT, UniteSecondes);
    EXPECT_EQ(grid.header.VALUES_UNIT, UniteSecondes);
    EXPECT_EQ(grid.header.DESC, "FRANCE");
    EXPECT_EQ(grid.header.SYSTEM_F, "NTF");
    EXPECT_EQ(grid.header.SYSTEM_T, "RGF93");
    EXPECT_DOUBLE_EQ(grid.header.MAJOR_F, 6378249.2);
    EXPECT_NEAR(grid.header.SQ_EXC_F, 0.00680348764630, 1e-13);
    EXPECT_NEAR(grid.header.SQ_EXC_T, 0.00669438002290, 1e-12);
    EXPECT_FALSE(grid.BinaryFileOpen());
    // The zone is in degrees, eastwards.
    EXPECT_DOUBLE_EQ(grid.zone.southWest.longitude, 1);
    EXPECT_DOUBLE_EQ(grid.zone.northEast.longitude, 3);
    EXPECT_DOUBLE_EQ(grid.zone.southWest.latitude, 50);
    EXPECT_DOUBLE_EQ(grid.zone.northEast.latitude, 51);
}

// Every node of the first sub-grid, read from the file in both byte orders.
TEST(Ntv2Binary, NodesOfTheFirstSubGridInBothByteOrders) {
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "big-endian" : "little-endian");
        GridFolder folder;
        Ntv2File f = SmallGrid();
        f.bigEndian = big;
        f.subGrids = 2;
        GridFolder::Write("f.gsb", f.Binary());
        GridFolder::Write("f.xml", BilinearXml());
        CGrille3D grid;
        ASSERT_EQ(OpenMessage(grid, "f.gsb", ModeSurDisque), "");
        EXPECT_EQ(grid.header.GRID_TYPE, big ? GrilleNtv2Big : GrilleNtv2Little);
        EXPECT_TRUE(grid.onDisk);
        EXPECT_EQ(grid.header.N_COLUMNS, 5);
        for (int l = 0; l < 3; ++l) {
            for (int c = 0; c < 5; ++c) {
                double v[4];
                int code = -1;
                grid.Lire_Noeud(c, l, v, code);
                const int s = l * 5 + (4 - c);  // from the south-east corner westwards
                for (int k = 0; k < 4; ++k) EXPECT_EQ(v[k], Ntv2File::Value(s, k)) << c << " " << l;
                EXPECT_EQ(code, 0);
            }
        }
        // A point on the node of column 1, line 2 (1.5°E, 51°N) in degrees.
        const double point[3] = {1.5, 51, 0};
        double v[4];
        int code = 0;
        EXPECT_EQ(grid.Interpoler(UniteDegres, point, v, code), 0);
        EXPECT_FLOAT_EQ(v[0], Ntv2File::Value(2 * 5 + 3, 0));
        // In memory, the same values.
        CGrille3D loaded;
        loaded.header.NAME = "f.gsb";
        ASSERT_EQ(loaded.Charger_Binaire(), "");
        double w[4];
        loaded.Lire_Noeud(1, 2, w, code);
        EXPECT_EQ(w[1], Ntv2File::Value(2 * 5 + 3, 1));
    }
}

TEST(Ntv2Binary, HeaderMessages) {
    struct Case {
        const char* what;
        Ntv2File file;
        std::string message;
    };
    std::vector<Case> cases;
    Ntv2File f = SmallGrid();
    f.renameFrom = "NUM_OREC";
    f.renameTo = "NUM_ORAC";
    cases.push_back({"first record", f, "Grille non NTV2"});
    f = SmallGrid();
    f.gsType = "MINUTES ";
    cases.push_back({"minutes", f, "GS_TYPE imprévu"});
    f = SmallGrid();
    f.numOrec = 12;
    cases.push_back({"12 overview records", f, "Incohérence dans l'en-tête"});
    f = SmallGrid();
    f.gsCount = 14;
    cases.push_back({"GS_COUNT", f, "Incohérence dans le nombre d'enregistrements"});
    f = SmallGrid();
    f.renameFrom = "VERSION";
    f.renameTo = "VERSIONS";
    cases.push_back({"overview keyword", f, "FirstDataElement imprévu : VERSIONS"});
    f = SmallGrid();
    f.renameFrom = "LAT_INC";
    f.renameTo = "LATINC";
    cases.push_back({"sub-grid keyword", f, "FirstDataElement imprévu : LATINC"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool big : {false, true}) {
            GridFolder folder;
            Ntv2File file = c.file;
            file.bigEndian = big;
            GridFolder::Write("f.gsb", file.Binary());
            GridFolder::Write("f.xml", BilinearXml());
            CGrille3D grid;
            EXPECT_EQ(OpenMessage(grid, "f.gsb"), c.message);
            EXPECT_FALSE(grid.BinaryFileOpen());
        }
    }
}

TEST(Ntv2Binary, ShortOrStrangeFiles) {
    GridFolder folder;
    GridFolder::Write("f.xml", BilinearXml());
    CGrille3D grid;
    // A header cut in the middle.
    GridFolder::Write("f.gsb", SmallGrid().Binary().substr(0, 100));
    EXPECT_EQ(OpenMessage(grid, "f.gsb"), "Incohérence dans l'en-tête");
    // Nodes missing at the end.
    GridFolder::Write("f.gsb", SmallGrid().Binary().substr(0, 352 + 16 * 10));
    EXPECT_NE(OpenMessage(grid, "f.gsb", ModeSurDisque).find("Grille incomplète"),
              std::string::npos);
    // A mixed-case extension names no format.
    GridFolder::Write("f.Gsb", SmallGrid().Binary());
    EXPECT_EQ(OpenMessage(grid, "f.Gsb"), "TypeGrille non initialisé");
    GridFolder::Write("F.GSB", SmallGrid().Binary());
    GridFolder::Write("F.xml", BilinearXml());
    EXPECT_EQ(OpenMessage(grid, "F.GSB"), "");
}

std::string SecondsXml() {
    return XmlHeader(
        "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n"
        "\t<NODE_COORD_UNIT>SECONDS</NODE_COORD_UNIT>\n\t<INC_UNIT>SECONDS</INC_UNIT>\n");
}

TEST(Ntv2Text, ConvertedToItsCacheWithTheSameValues) {
    GridFolder folder;
    const Ntv2File f = SmallGrid();
    GridFolder::Write("t.gsa", f.Text());
    GridFolder::Write("t.xml", SecondsXml());
    GridFolder::Write("b.gsb", f.Binary());
    GridFolder::Write("b.xml", BilinearXml());

    CGrille3D header;
    ASSERT_EQ(OpenMessage(header, "t.gsa"), "");
    EXPECT_EQ(header.header.X_MIN, 3600);
    EXPECT_EQ(header.header.X_MAX, 10800);
    EXPECT_EQ(header.header.DESC, "FRANCE");
    EXPECT_EQ(header.header.SYSTEM_T, "RGF93");
    EXPECT_NEAR(header.header.SQ_EXC_T, 0.00669438002290, 1e-12);

    CGrille3D text, binary;
    ASSERT_EQ(OpenMessage(text, "t.gsa", ModeSurDisque), "");
    EXPECT_EQ(text.header.NAME, "t.bin");
    EXPECT_TRUE(GridFolder::Exists("t.bin"));
    ASSERT_EQ(OpenMessage(binary, "b.gsb", ModeSurDisque), "");
    EXPECT_EQ(text.header.X_MIN, binary.header.X_MIN);
    EXPECT_EQ(text.header.Y_INC, binary.header.Y_INC);
    for (double lon = 0.75; lon <= 3.25; lon += 0.125) {
        for (double lat = 49.75; lat <= 51.25; lat += 0.125) {
            const double p[3] = {lon, lat, 0};
            double a[4], b[4];
            int ca = 0, cb = 0;
            ASSERT_EQ(text.Interpoler(UniteDegres, p, a, ca),
                      binary.Interpoler(UniteDegres, p, b, cb));
            for (int k = 0; k < 4; ++k) EXPECT_EQ(a[k], b[k]) << lon << " " << lat;
        }
    }
}

TEST(Ntv2Text, HeaderMessages) {
    GridFolder folder;
    GridFolder::Write("t.xml", SecondsXml());
    CGrille3D grid;
    Ntv2File f = SmallGrid();
    std::string text = f.Text();
    GridFolder::Write("t.gsa", "NUM_ORAC 11\r\n" + text.substr(text.find('\n') + 1));
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "Grille non NTV2");
    f.gsType = "MINUTES";
    GridFolder::Write("t.gsa", f.Text());
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "GS_TYPE imprévu");
    f = SmallGrid();
    f.gsCount = 16;
    GridFolder::Write("t.gsa", f.Text());
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "Incohérence dans le nombre d'enregistrements");
    // A number followed by another word does not end its line: the position.
    text = SmallGrid().Text();
    GridFolder::Write("t.gsa", "NUM_OREC 11 12\r\n" + text.substr(text.find('\n') + 1));
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "Problème dans l'en-tête de\nt.gsa (position 12)");
    // A malformed real: the tokenizer's message.
    const size_t at = text.find("MAJOR_F  6378249.200");
    GridFolder::Write("t.gsa", text.substr(0, at) + "MAJOR_F  6378249,2" + text.substr(at + 20));
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "Réel attendu dans l'en-tête peu avant la position 19");
    // A file that ends in its header.
    GridFolder::Write("t.gsa", text.substr(0, text.find("S_LAT")));
    EXPECT_EQ(OpenMessage(grid, "t.gsa"), "Incohérence dans l'en-tête");
}

// The published NTF to RGF93 grid of the proj-data package.
TEST(Ntv2Binary, PublishedFrenchGrid) {
    const std::string published = "/usr/share/proj/ntf_r93.gsb";
    if (!std::filesystem::exists(published)) GTEST_SKIP() << "proj-data is not installed";
    GridFolder folder;
    std::filesystem::copy_file(published, "ntf_r93.gsb");
    GridFolder::Write("ntf_r93.xml", BilinearXml());
    CGrille3D grid;
    ASSERT_EQ(OpenMessage(grid, "ntf_r93.gsb", ModeSurDisque), "");
    EXPECT_EQ(grid.header.SYSTEM_F, "NTF");
    EXPECT_EQ(grid.header.DESC, "FRANCE");
    EXPECT_EQ(grid.header.X_INC, 360);  // 0.1 degree
    EXPECT_LT(grid.zone.southWest.longitude, -5);
    EXPECT_GT(grid.zone.northEast.longitude, 9.5);
    EXPECT_LT(grid.zone.southWest.latitude, 41.5);
    EXPECT_GT(grid.zone.northEast.latitude, 51);
    // Near Bourges the shifts are about -0.2 s in latitude and 2.6 s in
    // longitude (westwards), with their accuracies.
    const double p[3] = {2.4, 47.1, 0};
    double v[4];
    int code = -1;
    EXPECT_EQ(grid.Interpoler(UniteDegres, p, v, code), 0);
    EXPECT_NEAR(v[0], -0.2, 0.1);
    EXPECT_NEAR(v[1], 2.6, 0.1);
    EXPECT_EQ(code, 0);
}

}  // namespace
