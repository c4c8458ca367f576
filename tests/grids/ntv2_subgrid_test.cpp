// NTv2 files of several sub-grids: a binary file cut within them is refused
// with a message naming it, whichever part is missing; a text file gives the
// binary file's values from its cache or from memory, and is refused when
// its sub-grids do not agree.

#include <gtest/gtest.h>

#include <cmath>

#include "grids/grid_binary_file.h"
#include "grids/grid_test_support.h"
#include "grids/ntv2_file.h"
#include "support/nested_ntv2.h"

namespace {

TEST(Ntv2SubGrids, AFileCutWithinALaterSubGridIsRefused) {
    Ntv2File f;  // 5 columns and 3 lines: 240 bytes of records per sub-grid
    f.sLat = 50 * 3600.0;
    f.nLat = 51 * 3600.0;
    f.wLong = -1 * 3600.0;
    f.eLong = -3 * 3600.0;
    f.subGrids = 2;
    const std::string whole = f.Binary();
    ASSERT_EQ(whole.size(), 1024u);
    struct Case {
        size_t size;
        std::string message;
    } cases[] = {
        {1024, ""},
        {1008, ""},  // without its end record
        {900, "Grille incomplète :\nf.gsb\n(sous-grille SECOND : 900 octets au lieu de 1008 "
              "attendus)"},
        {700, "Sous-grille n° 2 illisible dans\nf.gsb\nIncohérence dans l'en-tête"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        GridFolder folder;
        GridFolder::Write("f.gsb", whole.substr(0, c.size));
        GridFolder::Write("f.xml", BilinearXml());
        for (int mode : {ModeEnTete, ModeSurDisque}) {
            CGrille3D grid;
            EXPECT_EQ(OpenMessage(grid, "f.gsb", mode), c.message);
            EXPECT_EQ(grid.header.subGrids.size(), c.message.empty() ? 2u : 0u);
        }
    }
}

}  // namespace

// ---- Text NTv2 files of several sub-grids ----------------------------------

namespace {

// The values of a grid at a point in degrees, and the query's status.
std::vector<double> At(CGrille& grid, double lon, double lat) {
    const double p[3] = {lon, lat, 0};
    std::vector<double> v(5, 0.0);
    int code = 0;
    v[4] = grid.Interpoler(UniteDegres, p, v.data(), code);
    return v;
}

// Points inside the child, on its border, in the parent only, and one
// outside both.
const double kPoints[][2] = {{2.3, 46.4},  {2.77, 46.91}, {2.5, 46.5}, {2, 46.5},  {3, 47},
                             {2.6, 46},    {1.3, 45.2},   {4.6, 48.7}, {3.2, 46.5}, {1, 45},
                             {5, 49},      {6.5, 46}};

}  // namespace

// The text file gives the values of the binary file, the child answering
// inside itself, read from its cache or from memory alike.
TEST(Ntv2TextSubGrids, TheFinestSubGridAnswersAsInTheBinaryFile) {
    GridFolder folder;
    GridFolder::Write("n.gsb", Ntv2(ParentAndChild()));
    GridFolder::Write("n.xml", BilinearXml());
    GridFolder::Write("t.gsa", Ntv2Text(ParentAndChild()));
    GridFolder::Write("t.xml", kNtv2TextXml);
    CGrille3D binary, binaryInMemory, cache, memory;
    ASSERT_EQ(OpenMessage(binary, "n.gsb", ModeSurDisque), "");
    ASSERT_EQ(OpenMessage(binaryInMemory, "n.gsb", ModeEnTete), "");
    ASSERT_EQ(binaryInMemory.Charger_Binaire(), "");
    ASSERT_EQ(OpenMessage(cache, "t.gsa", ModeSurDisque), "");
    ASSERT_EQ(OpenMessage(memory, "t.gsa", ModeEnMemoire), "");
    ASSERT_EQ(cache.header.NAME, "t.bin");
    for (CGrille3D* grid : {&cache, &memory, &binaryInMemory}) {
        ASSERT_EQ(grid->header.subGrids.size(), 2u);
        EXPECT_EQ(grid->header.subGrids[1].depth, 1);
        EXPECT_EQ(grid->zone.northEast.latitude, 49);
    }
    for (const auto& p : kPoints) {
        const std::vector<double> expected = At(binary, p[0], p[1]);
        for (CGrille3D* grid : {&cache, &memory, &binaryInMemory}) {
            const std::vector<double> got = At(*grid, p[0], p[1]);
            for (size_t k = 0; k < got.size(); ++k)
                EXPECT_NEAR(got[k], expected[k], 1e-9) << p[0] << " " << p[1] << " value " << k;
        }
    }
    // Inside the child its own shift, half a second from the parent's.
    float dLat = 0, dLon = 0;
    ChildShift(2.5, 46.5, dLat, dLon);
    EXPECT_NEAR(At(cache, 2.5, 46.5)[0], dLat, 1e-6);
}

// A cache that an earlier version made of the first sub-grid alone is
// replaced by one of every sub-grid; a text file of one sub-grid keeps the
// cache of version 3.
TEST(Ntv2TextSubGrids, ACacheOfTheFirstSubGridAloneIsReplaced) {
    GridFolder folder;
    GridFolder::Write("t.xml", kNtv2TextXml);
    GridFolder::Write("t.gsa", Ntv2Text({ParentAndChild()[0]}));
    CGrille3D single;
    ASSERT_EQ(OpenMessage(single, "t.gsa", ModeSurDisque), "");
    const std::string old = GridFolder::Read("t.bin");
    ASSERT_EQ(old.substr(5, 4), std::string("\3\0\0\0", 4));
    EXPECT_EQ(old.size(), static_cast<size_t>(single.header.firstRecordOffset) + 9 * 9 * 16);

    GridFolder::Write("t.gsa", Ntv2Text(ParentAndChild()));
    float dLat = 0, dLon = 0;
    ChildShift(2.5, 46.5, dLat, dLon);
    for (int opening = 0; opening < 2; ++opening) {  // the second one keeps the new cache
        CGrille3D grid;
        ASSERT_EQ(OpenMessage(grid, "t.gsa", ModeSurDisque), "");
        EXPECT_NEAR(At(grid, 2.5, 46.5)[0], dLat, 1e-6);
        const std::string made = GridFolder::Read("t.bin");
        EXPECT_EQ(made.substr(5, 4), std::string("\5\0\0\0", 4));
        EXPECT_EQ(made.size(), static_cast<size_t>(grid.header.firstRecordOffset) +
                                   (9 * 9 + 9 * 9) * 16);
    }
    EXPECT_EQ((std::vector<std::string>{"t.bin", "t.gsa", "t.xml"}), folder.Files());
}

namespace {

// The version 4 form of a version 5 cache: the same header and records, each
// sub-grid of the table without its parent.
std::string Version4Of(const std::string& cache) {
    const auto integer = [&](size_t at) {
        return LoadInt32LE(reinterpret_cast<const unsigned char*>(cache.data() + at));
    };
    const auto bytesOf = [](int32_t v) {
        unsigned char b[4];
        StoreInt32LE(b, v);
        return std::string(reinterpret_cast<const char*>(b), 4);
    };
    // "GRID", version, offset, six limits and steps, layout, coordinates,
    // value count, value type, codes, the translations, the description.
    const size_t translations = 81, values = static_cast<size_t>(integer(69));
    const size_t description = translations + 8 * values;
    const size_t table = description + 4 + static_cast<size_t>(integer(description));
    const int32_t count = integer(table);
    std::string out = cache.substr(0, table + 4);
    for (int32_t g = 0; g < count; ++g) out += cache.substr(table + 4 + 64 * g, 60);
    out.replace(5, 4, bytesOf(4));
    out.replace(9, 4, bytesOf(static_cast<int32_t>(out.size())));
    return out + cache.substr(static_cast<size_t>(integer(9)));
}

}  // namespace

// Two grids of the top level, A and B, that both hold C, A's child: the
// depths of a version 4 cache (written before the parents were kept) cannot
// tell under which of them C lies. Through the text file, such a cache is
// made again as version 5, and C answers inside itself as A's child; opened
// as a grid of its own, it keeps reading, C taken as the child of the last
// grid a level up that holds it, B, so that A, the first of the top level,
// answers there.
TEST(Ntv2TextSubGrids, AVersion4CacheKeepsReadingAndIsMadeAgain) {
    GridFolder folder;
    const std::vector<Sub> subs = {{"A", "NONE", 0, 4, 45, 47, 0.5, ParentShift},
                                   {"B", "NONE", 2, 6, 45, 47, 0.5, SecondTopShift},
                                   {"C", "A", 2.5, 3.5, 45.5, 46.5, 0.25, ChildShift}};
    GridFolder::Write("t.gsa", Ntv2Text(subs));
    GridFolder::Write("t.xml", kNtv2TextXml);
    float child = 0, first = 0, dLon = 0;
    ChildShift(3, 46, child, dLon);
    ParentShift(3, 46, first, dLon);
    ASSERT_GT(std::fabs(child - first), 0.2);
    {
        CGrille3D made;
        ASSERT_EQ(OpenMessage(made, "t.gsa", ModeSurDisque), "");
        EXPECT_EQ(made.header.subGrids[2].parent, 0);
        EXPECT_NEAR(At(made, 3, 46)[0], child, 1e-6);
    }
    const std::string current = GridFolder::Read("t.bin");
    ASSERT_EQ(current.substr(5, 4), std::string("\5\0\0\0", 4));
    const std::string old = Version4Of(current);

    struct Case {
        const char* name;  // opened
        int parentOfC;
        float expected;  // latitude shift at 3°E 46°N
        const char* version;  // of t.bin afterwards
    };
    for (const Case& c : {Case{"t.bin", 1, first, "\4"}, Case{"t.gsa", 0, child, "\5"}}) {
        SCOPED_TRACE(c.name);
        GridFolder::Write("t.bin", old);
        CGrille3D grid;
        ASSERT_EQ(OpenMessage(grid, c.name, ModeSurDisque), "");
        ASSERT_EQ(grid.header.subGrids.size(), 3u);
        EXPECT_EQ(grid.header.subGrids[2].parent, c.parentOfC);
        EXPECT_EQ(grid.header.subGrids[2].depth, 1);
        EXPECT_NEAR(At(grid, 3, 46)[0], c.expected, 1e-6);
        EXPECT_EQ(GridFolder::Read("t.bin").substr(5, 4), std::string(c.version, 1) + std::string(3, '\0'));
    }
    EXPECT_EQ(GridFolder::Read("t.bin"), current);
}

// Sub-grids that do not agree with the file's count, a child outside its
// parent and a file cut within a sub-grid are refused, naming the file, and
// no cache is made.
TEST(Ntv2TextSubGrids, InconsistentSubGridsAreRefused) {
    std::vector<Sub> subs = ParentAndChild();
    const std::string whole = Ntv2Text(subs);
    const size_t child = whole.find("SUB_NAME CHILD1");
    // The text with `from` replaced, its first occurrence from `at` on.
    const auto replaced = [](std::string text, const std::string& from, const std::string& to,
                             size_t at = 0) {
        return text.replace(text.find(from, at), from.size(), to);
    };
    std::vector<Sub> outside = subs;
    outside[1].east = 5.5;
    std::string cut = whole.substr(0, whole.rfind("END"));
    for (int line = 0; line < 3; ++line) cut.resize(cut.rfind('\n', cut.size() - 2) + 1);
    const std::vector<Sub> three = {subs[0], subs[1],
                                    {"CHILD2", "PARENT1", 4, 4.5, 48, 48.5, 0.25, ChildShift}};
    struct Case {
        std::string text, message;
    } cases[] = {
        {whole, ""},
        {replaced(whole, "NUM_FILE 2", "NUM_FILE 3"),
         "Nombre de sous-grilles incohérent dans\nt.gsa\n(NUM_FILE 3, 2 sous-grille(s) dans le "
         "fichier)"},
        {replaced(Ntv2Text(three), "NUM_FILE 3", "NUM_FILE 2"),
         "Nombre de sous-grilles incohérent dans\nt.gsa\n(NUM_FILE 2, d'autres sous-grilles "
         "suivent la dernière annoncée)"},
        {whole.substr(0, child), "Nombre de sous-grilles incohérent dans\nt.gsa\n(NUM_FILE 2, 1 "
                                 "sous-grille(s) dans le fichier)"},
        {Ntv2Text(outside), "Sous-grille CHILD1 hors de sa grille mère PARENT1 dans\nt.gsa"},
        {replaced(whole, "PARENT   PARENT1", "PARENT   AUTRE"),
         "Sous-grille CHILD1 hors de sa grille mère AUTRE dans\nt.gsa"},
        {cut, "Grille incomplète :\nt.gsa\n(sous-grille CHILD1 : 78 noeuds lus sur 81 attendus)"},
        {whole.substr(0, child) + "SUB_NAME CHILD1\nPARENT   PARENT1\n",
         "Sous-grille n° 2 illisible dans\nt.gsa\nIncohérence dans l'en-tête"},
        {replaced(whole, "GS_COUNT 81", "GS_COUNT 80", child),
         "Sous-grille n° 2 illisible dans\nt.gsa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        GridFolder folder;
        GridFolder::Write("t.gsa", c.text);
        GridFolder::Write("t.xml", kNtv2TextXml);
        for (int mode : {ModeEnTete, ModeEnMemoire, ModeSurDisque}) {
            CGrille3D grid;
            EXPECT_EQ(OpenMessage(grid, "t.gsa", mode), c.message);
        }
        EXPECT_EQ(GridFolder::Exists("t.bin"), c.message.empty());
    }
}

// ---- Sub-grids on either side of Greenwich ----------------------------------

namespace {

// Two sub-grids of the top level, the first east of Greenwich, the second
// west of it, each with shifts of its own (linear, which the bilinear
// interpolation gives back at any point).
void EastShift(double lon, double lat, float& dLat, float& dLon) {
    dLat = static_cast<float>(1.5 + 0.25 * lon);
    dLon = static_cast<float>(-2.0 + 0.5 * (lat - 46));
}
void WestShift(double lon, double lat, float& dLat, float& dLon) {
    dLat = static_cast<float>(3.5 - 0.5 * lon);
    dLon = static_cast<float>(4.0 + 0.25 * (lat - 46));
}
std::vector<Sub> EitherSideOfGreenwich() {
    return {{"EAST", "NONE", 0, 2, 45, 47, 0.5, EastShift},
            {"WEST", "NONE", -2, 0, 45, 47, 0.5, WestShift}};
}

}  // namespace

// A point west of Greenwich takes the western sub-grid's shifts, though the
// first sub-grid's columns start at 0: in the binary file, and in the text
// file from its cache or from memory. On the common meridian the first
// sub-grid answers; far beyond both the point is outside.
TEST(Ntv2SubGrids, SubGridsOnEitherSideOfGreenwich) {
    GridFolder folder;
    GridFolder::Write("g.gsb", Ntv2(EitherSideOfGreenwich()));
    GridFolder::Write("g.xml", BilinearXml());
    GridFolder::Write("t.gsa", Ntv2Text(EitherSideOfGreenwich()));
    GridFolder::Write("t.xml", kNtv2TextXml);
    CGrille3D binary, cache, memory;
    ASSERT_EQ(OpenMessage(binary, "g.gsb", ModeSurDisque), "");
    ASSERT_EQ(OpenMessage(cache, "t.gsa", ModeSurDisque), "");
    ASSERT_EQ(OpenMessage(memory, "t.gsa", ModeEnMemoire), "");
    struct Case {
        double lon, lat;
        void (*shift)(double, double, float&, float&);  // null: outside
    } cases[] = {
        {1, 46, EastShift},      {2, 45, EastShift},      {0.1, 47, EastShift},
        {0, 46.5, EastShift},    {-0.1, 46.5, WestShift}, {-1, 46, WestShift},
        {-1.7, 45.2, WestShift}, {-2, 47, WestShift},     {-2, 45, WestShift},
        {-3.2, 46, nullptr},
    };
    for (CGrille3D* grid : {&binary, &cache, &memory}) {
        SCOPED_TRACE(grid->header.NAME);
        EXPECT_EQ(grid->zone.southWest.longitude, -2);
        EXPECT_EQ(grid->zone.northEast.longitude, 2);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.lon << " " << c.lat);
            const std::vector<double> got = At(*grid, c.lon, c.lat);
            if (!c.shift) {
                EXPECT_EQ(got[4], 2);
                continue;
            }
            float dLat = 0, dLon = 0;
            c.shift(c.lon, c.lat, dLat, dLon);
            EXPECT_EQ(got[4], 0);
            EXPECT_NEAR(got[0], dLat, 1e-5);
            EXPECT_NEAR(got[1], -dLon, 1e-5);  // westwards, as the file counts it
        }
    }
}
