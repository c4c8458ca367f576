#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/field_scanner.h"
#include "catalogue/loader.h"
#include "catalogue_file.h"

namespace {

// A small catalogue with one line of every keyword, ISO-8859-1 bytes.
const char kEveryKeyword[] =
    "* Ellipsoids\n"
    "ELG 1 6378249.2 6356515.0 293.466021 0.00680348764630 Clarke 1880 IGN\n"
    "ELG 2 6378137 6356752.314 298.257222101 0.00669438002290 GRS 1980\n"
    "LGO 1 2 0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n"
    "\n"
    "REG 1 1 2 2D NTF\n"
    "REG 2 2 1 3D RGF93\n"
    "REA 4 NGF IGN 1969\n"
    "ZNE 1 2 -5.5 41.0 10.0 51.5\n"
    "TSG 5 1 2 5 -168 -60 320 0.5 1 2 3\n"
    "TSG0 1 2 -168 -60 320\n"
    "PRC 27572 2 1 600000 2200000 2 3 0 52 0.99987742 0 0 7 1 Lambert II \xE9tendu\n"
    "TYPCOOR 2 1 2 3\n"
    "UNIT 2 2 3 10\n"
    "PROJ 1 27572 2 -5.5 42.0 8.5 51.1\n"
    "GR1D geoid.mnt 2 4 5\n"
    "GR3D gr3df97a.txt 1 2\n";

TEST_F(CatalogueFileTest, EveryKeywordFillsItsList) {
    Catalogue c;
    ASSERT_FALSE(ReadCatalogue(Write(kEveryKeyword), c).has_value());

    ASSERT_EQ(2u, c.ellipsoids.size());
    const CElg& clarke = c.ellipsoids[0];
    EXPECT_EQ(1, clarke.id);
    EXPECT_EQ("Clarke 1880 IGN", clarke.name);
    EXPECT_DOUBLE_EQ(6378249.2, clarke.a);
    EXPECT_DOUBLE_EQ(6356515.0, clarke.value2);
    EXPECT_DOUBLE_EQ(293.466021, clarke.value3);
    EXPECT_DOUBLE_EQ(0.00680348764630, clarke.e2);

    ASSERT_EQ(2u, c.meridians.size());
    EXPECT_EQ("Paris", c.meridians[1].name);
    EXPECT_EQ(Grade, c.meridians[1].unit);
    EXPECT_DOUBLE_EQ(2.5969213, c.meridians[1].longitude);

    ASSERT_EQ(2u, c.systems.size());
    const CReg& ntf = c.systems[0];
    EXPECT_EQ("NTF", ntf.name);
    EXPECT_EQ(2, ntf.dimension);
    EXPECT_EQ(&c.ellipsoids[0], ntf.ellipsoid);
    EXPECT_EQ(&c.meridians[1], ntf.meridian);
    EXPECT_EQ(3, c.systems[1].dimension);

    ASSERT_EQ(1u, c.verticalSystems.size());
    EXPECT_EQ(4, c.verticalSystems[0].id);
    EXPECT_EQ("NGF IGN 1969", c.verticalSystems[0].name);

    ASSERT_EQ(1u, c.systemZones.size());
    const CZone& zone = c.systemZones[0];
    EXPECT_EQ(1, zone.systemKey);
    EXPECT_EQ(0, zone.projectionKey);
    EXPECT_EQ(DecimalDegree, zone.unit);
    EXPECT_DOUBLE_EQ(-5.5, zone.southWest.longitude);
    EXPECT_DOUBLE_EQ(41.0, zone.southWest.latitude);
    EXPECT_DOUBLE_EQ(10.0, zone.northEast.longitude);
    EXPECT_DOUBLE_EQ(51.5, zone.northEast.latitude);

    ASSERT_EQ(2u, c.transformations.size());
    const CTsg& seven = c.transformations[0];
    EXPECT_EQ(5, seven.id);
    EXPECT_EQ(1, seven.sourceId);
    EXPECT_EQ(2, seven.targetId);
    EXPECT_EQ(&c.systems[0], seven.source);
    EXPECT_EQ(&c.systems[1], seven.target);
    EXPECT_EQ(5, seven.precisionClass);
    EXPECT_EQ(StandardKind, seven.kind);
    const double expected[7] = {-168, -60, 320, 0.5, 1, 2, 3};
    for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(expected[i], seven.parameters[i]) << i;
    const CTsg& three = c.transformations[1];
    EXPECT_EQ(0, three.id);
    EXPECT_EQ(GridKind, three.kind);
    EXPECT_EQ(0, three.precisionClass);
    EXPECT_DOUBLE_EQ(320, three.parameters[2]);
    EXPECT_DOUBLE_EQ(0, three.parameters[3]);
    EXPECT_EQ(&c.systems[1], three.target);

    ASSERT_EQ(1u, c.projections.size());
    const CPrc& lambert = c.projections[0];
    EXPECT_EQ(27572, lambert.id);
    EXPECT_EQ("Lambert II \xC3\xA9tendu", lambert.name);  // UTF-8 inside the program
    EXPECT_EQ(2, lambert.lambertSubkind);
    EXPECT_EQ(&c.ellipsoids[0], lambert.ellipsoid);
    EXPECT_EQ(&c.meridians[1], lambert.meridian);
    EXPECT_DOUBLE_EQ(600000, lambert.falseEasting);
    EXPECT_DOUBLE_EQ(2200000, lambert.falseNorthing);
    EXPECT_EQ(Grade, lambert.unit);
    EXPECT_DOUBLE_EQ(0, lambert.originLongitude);
    EXPECT_DOUBLE_EQ(52, lambert.originLatitude);
    EXPECT_DOUBLE_EQ(0.99987742, lambert.scaleFactor);
    EXPECT_EQ(7, lambert.attribute);
    EXPECT_EQ(1, lambert.family);

    ASSERT_EQ(1u, c.coordTypeEntries.size());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), c.coordTypeEntries[0].types);
    ASSERT_EQ(1u, c.unitEntries.size());
    EXPECT_EQ((std::vector<int>{2, 3, 10}), c.unitEntries[0].units);

    ASSERT_EQ(1u, c.projectionPermissions.size());
    EXPECT_EQ(1, c.projectionPermissions[0].systemId);
    EXPECT_EQ(27572, c.projectionPermissions[0].projectionId);
    ASSERT_EQ(1u, c.projectionZones.size());
    EXPECT_EQ(27572, c.projectionZones[0].projectionKey);
    EXPECT_EQ(1, c.projectionZones[0].systemKey);
    EXPECT_DOUBLE_EQ(51.1, c.projectionZones[0].northEast.latitude);

    ASSERT_EQ(1u, c.verticalGrids.size());
    EXPECT_EQ("geoid.mnt", c.verticalGrids[0].fileName);
    EXPECT_EQ(2, c.verticalGrids[0].systemId);
    EXPECT_EQ((std::vector<int>{4, 5}), c.verticalGrids[0].verticalIds);
    ASSERT_EQ(1u, c.translationGrids.size());
    EXPECT_EQ("gr3df97a.txt", c.translationGrids[0].fileName);
    EXPECT_EQ(1, c.translationGrids[0].firstSystemId);
    EXPECT_EQ(2, c.translationGrids[0].secondSystemId);
}

TEST_F(CatalogueFileTest, CommentsBlankAndUnknownLinesAreSkipped) {
    Catalogue c;
    const char text[] =
        "* only comments\n"
        "\n"
        " ELG 1 6378249.2 6356515.0 293.466021 0.0068 Indented\n"
        "\tLGO 1 2 0 Tabbed\n"
        "ELLIPSOIDE inconnu\n"  // starts with "ELL", not "ELG"
        "TYPCOO 1 2\n"
        "UNI 1 2\n"
        "GR2D f 1 2\n"
        "*ELG 1 2 3 4 5 commented\n";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    EXPECT_TRUE(c.ellipsoids.empty());
    EXPECT_TRUE(c.meridians.empty());
    EXPECT_TRUE(c.coordTypeEntries.empty());
    EXPECT_TRUE(c.unitEntries.empty());
    EXPECT_TRUE(c.translationGrids.empty());
}

TEST_F(CatalogueFileTest, EmptyFileLoads) {
    Catalogue c;
    EXPECT_FALSE(ReadCatalogue(Write(""), c).has_value());
    EXPECT_TRUE(c.systems.empty());
}

TEST_F(CatalogueFileTest, LastLineWithoutLineFeedAndCrLfLines) {
    Catalogue c;
    const char text[] =
        "ELG 1 1 2 3 0.1 First\r\n"
        "ELG 2 1 2 3 0.1 Second\r\n"
        "REA 3 Last line";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    ASSERT_EQ(2u, c.ellipsoids.size());
    EXPECT_EQ("First", c.ellipsoids[0].name);  // no carriage return kept
    ASSERT_EQ(1u, c.verticalSystems.size());
    EXPECT_EQ("Last line", c.verticalSystems[0].name);
}

TEST_F(CatalogueFileTest, NameWordsAreJoinedWithSingleBlanksAndCutAtTheirCount) {
    Catalogue c;
    const char text[] =
        "ELG 1 1 2 3 0.1 E\n"
        "LGO 1 2 0 G\n"
        "REG 1 1 1 2D   Nouvelle \t Triangulation    Fran\xE7"
        "aise  \n"
        "REG 2 1 1 2d lower case dimension\n"
        "REG 3 1 1 3D one two three four five six seven\n";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    ASSERT_EQ(3u, c.systems.size());
    EXPECT_EQ(2, c.systems[0].dimension);
    EXPECT_EQ(
        "Nouvelle Triangulation Fran\xC3\xA7"
        "aise",
        c.systems[0].name);
    EXPECT_EQ(0, c.systems[1].dimension);  // the comparison is case-sensitive
    EXPECT_EQ("one two three four five", c.systems[2].name);
}

TEST_F(CatalogueFileTest, LongLinesAreReadWhole) {
    Catalogue c;
    std::string word(300, 'x');
    ASSERT_FALSE(ReadCatalogue(Write("REA 1 " + word + " end\n"), c).has_value());
    ASSERT_EQ(1u, c.verticalSystems.size());
    EXPECT_EQ(word + " end", c.verticalSystems[0].name);
}

TEST_F(CatalogueFileTest, ReferenceToALaterRecordStopsAtItsLine) {
    Catalogue c;
    const char text[] =
        "LGO 1 2 0 Greenwich\n"
        "* the ellipsoid comes too late\n"
        "REG 1 7 1 3D Early\n"
        "ELG 7 1 2 3 0.1 Late\n";
    auto failure = ReadCatalogue(Write(text), c);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(CatalogueFailure::Malformed, failure->kind);
    EXPECT_EQ(3, failure->lineNumber);
    EXPECT_EQ("REG 1 7 1 3D Early", failure->line);
    EXPECT_TRUE(c.systems.empty());
    EXPECT_TRUE(c.ellipsoids.empty());
}

TEST_F(CatalogueFileTest, LineCounterCountsCommentsAndBlankLines) {
    std::string text;
    for (int i = 1; i <= 11; ++i) text += (i % 2 ? "* comment\n" : "\n");
    text += "ZNE 1 2 3 4 5\n";
    Catalogue c;
    auto failure = ReadCatalogue(Write(text), c);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(12, failure->lineNumber);
    EXPECT_EQ("ZNE 1 2 3 4 5", failure->line);
}

TEST_F(CatalogueFileTest, MissingFileAndFolderAreUnreadable) {
    Catalogue c;
    auto missing = ReadCatalogue((folder_ / "absent.txt").string(), c);
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(CatalogueFailure::Unreadable, missing->kind);
    auto folder = ReadCatalogue(folder_.string() + "/", c);
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(CatalogueFailure::Unreadable, folder->kind);
}

TEST_F(CatalogueFileTest, DuplicateIdsKeepBothRecordsAndLookupTakesTheFirst) {
    Catalogue c;
    const char text[] =
        "ELG 1 1 2 3 0.1 E\n"
        "ELG 2 1 2 3 0.2 F\n"
        "LGO 1 2 0 G\n"
        "REG 7 1 1 3D First seven\n"
        "REG 7 2 1 2D Second seven\n"
        "TSG 1 7 7 0 1 2 3 0 0 0 0\n";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    ASSERT_EQ(2u, c.systems.size());
    EXPECT_EQ("First seven", FindById(c.systems, 7)->name);
    EXPECT_EQ(&c.systems[0], c.transformations[0].source);
}

// One line after a valid header of records it can refer to, and whether the
// loader accepts it.
struct LineCase {
    const char* line;
    bool accepted;
};

class LineRules : public CatalogueFileTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineRules, MinimumAndExactFieldCounts) {
    const char header[] =
        "ELG 1 6378137 6356752.3 298.25 0.0066943800229 GRS 1980\n"
        "LGO 1 2 0 Greenwich\n"
        "REG 1 1 1 3D RGF93\n"
        "REG 2 1 1 3D WGS84\n";
    Catalogue c;
    auto failure = ReadCatalogue(Write(std::string(header) + GetParam().line + "\n"), c);
    if (GetParam().accepted) {
        EXPECT_FALSE(failure.has_value()) << GetParam().line;
    } else {
        ASSERT_TRUE(failure.has_value()) << GetParam().line;
        EXPECT_EQ(5, failure->lineNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, LineRules,
    ::testing::Values(
        // ELG: at least 7 fields (a name word).
        LineCase{"ELG 3 1 2 3 4 N", true}, LineCase{"ELG 3 1 2 3 4", false},
        LineCase{"ELG 3 1 2 x 4 N", false},
        // A number stops at the first character that is not part of it.
        LineCase{"ELG 3 1 2 3 4Name", true}, LineCase{"ELG 3 1 2 3abc 4 N", false},
        // LGO: at least 5.
        LineCase{"LGO 2 3 2.5969213 Paris", true}, LineCase{"LGO 2 3 2.5969213", false},
        // The unit reads 3, the longitude ".5", and "2 Paris" is the name.
        LineCase{"LGO 2 3.5 2 Paris", true},
        // REG: at least 6; both references resolved.
        LineCase{"REG 3 1 1 2D N", true}, LineCase{"REG 3 1 1 2D", false},
        LineCase{"REG 3 9 1 2D N", false}, LineCase{"REG 3 1 9 2D N", false},
        // REA: at least 3.
        LineCase{"REA 1 NGF", true}, LineCase{"REA 1", false}, LineCase{"REA NGF", false},
        // ZNE: exactly 7; text after the last field is ignored.
        LineCase{"ZNE 1 2 -5 41 10 52", true}, LineCase{"ZNE 1 2 -5 41 10 52 extra", true},
        LineCase{"ZNE 1 2 -5 41 10", false}, LineCase{"ZNE 99 2 -5 41 10 52", true},
        // TSG0: exactly 6.
        LineCase{"TSG0 1 2 -168 -60 320", true}, LineCase{"TSG0 1 2 -168 -60 320 9 9", true},
        LineCase{"TSG0 1 2 -168 -60", false}, LineCase{"TSG0 1 3 -168 -60 320", false},
        // TSG: exactly 12, systems known.
        LineCase{"TSG 1 1 2 5 1 2 3 4 5 6 7", true}, LineCase{"TSG 1 1 2 5 1 2 3 4 5 6", false},
        LineCase{"TSG 1 1 2 5 1 2 3 4 5 6 seven", false},
        LineCase{"TSG 1 1 3 5 1 2 3 4 5 6 7", false}, LineCase{"TSG 1 9 2 5 1 2 3 4 5 6 7", false},
        // PRC: at least 16, references resolved.
        LineCase{"PRC 1 3 1 700000 6600000 1 2 3 46.5 1 44 49 0 1 Lambert-93", true},
        LineCase{"PRC 1 3 1 700000 6600000 1 2 3 46.5 1 44 49 0 1", false},
        LineCase{"PRC 1 3 2 700000 6600000 1 2 3 46.5 1 44 49 0 1 L", false},
        LineCase{"PRC 1 3 1 700000 6600000 2 2 3 46.5 1 44 49 0 1 L", false},
        // TYPCOOR: at least 3.
        LineCase{"TYPCOOR 1 2", true}, LineCase{"TYPCOOR 1", false},
        // UNIT: at least 2, no code needed.
        LineCase{"UNIT 1", true}, LineCase{"UNIT", false}, LineCase{"UNIT x 2", false},
        // PROJ: exactly 8.
        LineCase{"PROJ 1 2 2 -5 41 10 52", true}, LineCase{"PROJ 1 2 2 -5 41 10", false},
        // GR1D: at least 3; GR3D: at least 4.
        LineCase{"GR1D geoid.mnt 1", true}, LineCase{"GR1D geoid.mnt", false},
        LineCase{"GR1D geoid.mnt x 3", false}, LineCase{"GR3D grid.gsb 1 2", true},
        LineCase{"GR3D grid.gsb 1", false}));

TEST_F(CatalogueFileTest, KeywordsAreRecognisedByTheirPrefix) {
    Catalogue c;
    const char text[] =
        "ELGX 1 1 2 3 0.1 Prefixed\n"
        "LGO 1 2 0 G\n"
        "REG 1 1 1 3D A\n"
        "REG 2 1 1 3D B\n"
        "TSG01 1 2 1 2 3\n"             // "TSG0..." : translation only
        "TSGX 4 1 2 3 1 2 3 0 0 0 0\n"  // any other "TSG..." : seven parameters
        "UNIT 1\n"
        "TYPCOORS 1 2\n";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    EXPECT_EQ("Prefixed", c.ellipsoids[0].name);
    ASSERT_EQ(2u, c.transformations.size());
    EXPECT_EQ(GridKind, c.transformations[0].kind);
    EXPECT_EQ(StandardKind, c.transformations[1].kind);
    EXPECT_EQ(3, c.transformations[1].precisionClass);
    ASSERT_EQ(1u, c.unitEntries.size());
    EXPECT_TRUE(c.unitEntries[0].units.empty());
    ASSERT_EQ(1u, c.coordTypeEntries.size());
    EXPECT_EQ(std::vector<int>{2}, c.coordTypeEntries[0].types);
}

TEST_F(CatalogueFileTest, ListedCodesStopAtTheirBound) {
    Catalogue c;
    const char text[] =
        "TYPCOOR 1 1 2 3 3 3\n"
        "GR1D g.mnt 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n";
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), c.coordTypeEntries[0].types);
    EXPECT_EQ(16u, c.verticalGrids[0].verticalIds.size());
    EXPECT_EQ(16, c.verticalGrids[0].verticalIds.back());
}

// A zone keeps the unit its line gives, and its bounds as they are written.
TEST(ZoneLines, BoundsKeepTheUnitOfTheLine) {
    struct Case {
        const char* line;
        bool projection;
        int unit;
        double west, south, east, north;
    };
    const Case cases[] = {
        {"ZNE 1 2 -5.5 41 10 51.5", false, DecimalDegree, -5.5, 41, 10, 51.5},
        {"ZNE 1 3 -6.1 45.5 11.1 57.2", false, Grade, -6.1, 45.5, 11.1, 57.2},
        {"ZNE 1 1 -0.096 0.716 0.175 0.899", false, Radian, -0.096, 0.716, 0.175, 0.899},
        {"PROJ 1 27572 3 -6.1 46.6 8.6 53.6", true, Grade, -6.1, 46.6, 8.6, 53.6},
        {"PROJ 1 2154 10 -5.3 41.2 9.3 51.3", true, PackedDms, -5.3, 41.2, 9.3, 51.3},
    };
    for (const Case& c : cases) {
        Catalogue catalogue;
        ASSERT_EQ(LineOutcome::Added, AddCatalogueLine(c.line, catalogue)) << c.line;
        const CatalogueList<CZone>& zones =
            c.projection ? catalogue.projectionZones : catalogue.systemZones;
        ASSERT_EQ(1u, zones.size()) << c.line;
        const CZone& zone = zones[0];
        EXPECT_EQ(c.unit, zone.unit) << c.line;
        EXPECT_EQ(c.west, zone.southWest.longitude) << c.line;
        EXPECT_EQ(c.south, zone.southWest.latitude) << c.line;
        EXPECT_EQ(c.east, zone.northEast.longitude) << c.line;
        EXPECT_EQ(c.north, zone.northEast.latitude) << c.line;
    }
}

TEST_F(CatalogueFileTest, ReferencesStayValidWhileListsGrow) {
    std::string text = "ELG 1 6378137 0 0 0.0066943800229 First\nLGO 1 2 0 G\n";
    for (int i = 2; i < 3000; ++i) {
        text += "ELG " + std::to_string(i) + " 1 0 0 0.1 E\n";
        text += "REG " + std::to_string(i) + " 1 1 3D S" + std::to_string(i) + "\n";
    }
    Catalogue c;
    ASSERT_FALSE(ReadCatalogue(Write(text), c).has_value());
    for (const CReg& system : c.systems) {
        ASSERT_EQ(&c.ellipsoids.front(), system.ellipsoid);
        ASSERT_EQ("First", system.ellipsoid->name);
    }
}

TEST(FieldScanner, ReadsLikeAFormattedScan) {
    FieldScanner scan("  word\t-12 +3.5e2 .25 1e400 1e-400 99999999999 tail");
    std::string w;
    int i = 0;
    double r1 = 0, r2 = 0, big = 0, tiny = 1;
    int clamped = 0;
    ASSERT_TRUE(scan.Word(w));
    EXPECT_EQ("word", w);
    ASSERT_TRUE(scan.Integer(i));
    EXPECT_EQ(-12, i);
    ASSERT_TRUE(scan.Real(r1));
    EXPECT_DOUBLE_EQ(350, r1);
    ASSERT_TRUE(scan.Real(r2));
    EXPECT_DOUBLE_EQ(0.25, r2);
    ASSERT_TRUE(scan.Real(big));
    EXPECT_TRUE(std::isinf(big));
    ASSERT_TRUE(scan.Real(tiny));
    EXPECT_EQ(0, tiny);
    ASSERT_TRUE(scan.Integer(clamped));
    EXPECT_EQ(2147483647, clamped);
    EXPECT_FALSE(scan.Integer(i));  // "tail"
    EXPECT_EQ(7, scan.Count());
    EXPECT_FALSE(scan.Word(w));  // a failed scan stays failed
}

TEST(FieldScanner, SignsAloneAndDoubleSignsAreNoNumbers) {
    int i = 5;
    double r = 5;
    EXPECT_FALSE(FieldScanner("-").Integer(i));
    EXPECT_FALSE(FieldScanner("+-3").Integer(i));
    EXPECT_FALSE(FieldScanner("--3").Real(r));
    EXPECT_FALSE(FieldScanner("").Real(r));
    EXPECT_EQ(5, i);
    FieldScanner joined("12abc");
    EXPECT_TRUE(joined.Integer(i));
    EXPECT_EQ(12, i);
    std::string rest;
    EXPECT_TRUE(joined.Word(rest));
    EXPECT_EQ("abc", rest);
}

}  // namespace

namespace {

TEST_F(CatalogueFileTest, MessagesNameTheFileAndTheLine) {
    std::string text;
    for (int i = 1; i <= 11; ++i) text += "* comment\n";
    text +=
        "REG 4 3 1 3D  RGF93   sans ellipso\xEF"
        "de\n";
    std::string path = Write(text);
    Catalogue c;
    auto failure = ReadCatalogue(path, c);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ("Erreur dans le fichier \"" + path +
                  "\" :\nMauvais format \xC3\xA0 la ligne 12:\n\n"
                  "\"REG 4 3 1 3D  RGF93   sans ellipso\xC3\xAF"
                  "de\"",
              CatalogueFailureMessage(path, *failure));

    CatalogueFailure unreadable;
    EXPECT_EQ("Impossible de lire le fichier\n/nowhere/catalogue.txt",
              CatalogueFailureMessage("/nowhere/catalogue.txt", unreadable));
}

}  // namespace

#include "support/scripted_interface.h"

namespace {

TEST_F(CatalogueFileTest, LoadCatalogueShowsTheMessageAndEndsWithCodeOne) {
    ScriptedInterface ui;
    Catalogue good;
    EXPECT_TRUE(LoadCatalogue(Write("REA 1 NGF\n"), good, ui, "Quorvel"));
    EXPECT_TRUE(ui.messages.empty());

    Catalogue bad;
    std::string path = (folder_ / "absent.txt").string();
    EXPECT_THROW(LoadCatalogue(path, bad, ui, "Quorvel"), ScriptedExit);
    EXPECT_EQ(1, ui.exitCode);
    ASSERT_EQ(1u, ui.messages.size());
    EXPECT_EQ(ScriptedInterface::Kind::Error, ui.messages[0].kind);
    EXPECT_EQ("Impossible de lire le fichier\n" + path, ui.messages[0].text);
    EXPECT_EQ("Quorvel", ui.messages[0].caption);
}

}  // namespace
