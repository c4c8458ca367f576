#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/command_line.h"
#include "catalogue/catalogue.h"

namespace {

CQuorvelCommandLine Parse(const std::vector<std::string>& arguments, bool expectOk = true,
                          std::string* message = nullptr) {
    CQuorvelCommandLine line;
    std::string text;
    EXPECT_EQ(expectOk, ParseCommandLine(line, arguments, "Aide de la console", text));
    if (message != nullptr) *message = text;
    return line;
}

// NTF (2D, id 1), WGS84 (3D, id 3), RGF93 (3D, id 4), with a standard
// transformation NTF -> WGS84 and a grid one RGF93 -> NTF only, whose
// translation grid is listed from RGF93 to NTF.
struct SmallCatalogue {
    Catalogue catalogue;
    SmallCatalogue() {
        CElg& clarke = catalogue.ellipsoids.emplace_back();
        clarke.id = 1;
        clarke.name = "Clarke 1880 IGN";
        CLgo& greenwich = catalogue.meridians.emplace_back();
        greenwich.id = 1;
        greenwich.name = "Greenwich";
        CLgo& paris = catalogue.meridians.emplace_back();
        paris.id = 2;
        paris.name = "Paris";
        AddSystem(1, "NTF", 2, &paris);
        AddSystem(3, "WGS84", 3, &greenwich);
        AddSystem(4, "RGF93", 3, &greenwich);
        CPrc& lambert = catalogue.projections.emplace_back();
        lambert.id = 120;
        lambert.name = "Lambert II étendu";
        CRea& ign69 = catalogue.verticalSystems.emplace_back();
        ign69.id = 5;
        ign69.name = "IGN69";
        AddTransformation(1, 3, StandardKind);
        AddTransformation(4, 1, GridKind);
        CGr3dEntry& grid = catalogue.translationGrids.emplace_back();
        grid.firstSystemId = 4;
        grid.secondSystemId = 1;
        for (int id : {1, 3, 4}) {
            CTypCoorEntry& types = catalogue.coordTypeEntries.emplace_back();
            types.systemId = id;
            types.types = id == 1 ? std::vector<int>{2, 3} : std::vector<int>{1, 2, 3};
        }
    }
    void AddSystem(int id, const char* name, int dimension, const CLgo* meridian) {
        CReg& system = catalogue.systems.emplace_back();
        system.id = id;
        system.name = name;
        system.dimension = dimension;
        system.ellipsoid = &catalogue.ellipsoids.front();
        system.meridian = meridian;
    }
    void AddTransformation(int from, int to, int kind) {
        CTsg& t = catalogue.transformations.emplace_back();
        t.id = kind == StandardKind ? 1 : 0;
        t.sourceId = from;
        t.targetId = to;
        t.source = FindById(catalogue.systems, from);
        t.target = FindById(catalogue.systems, to);
        t.kind = kind;
    }
};

// A valid file run: NTF Lambert II étendu "Nom E N Altitude" to WGS84
// geographic "Nom Lon Lat Altitude".
std::vector<std::string> FileRun() {
    return {"-mode", "1",         "-type", "1",      "-sys1",     "1", "-sys2",
            "3",     "-typcoor1", "3",     "120",    "-typcoor2", "2", "2",
            "1",     "-f1",       "1",     "in.txt", "-f2",       "1", "out.txt"};
}

std::string Validate(CQuorvelCommandLine line) {
    static const SmallCatalogue small;
    DeriveVerticalKind(line);
    std::string message;
    const bool ok = ValidateCommandLine(line, small.catalogue, message);
    EXPECT_EQ(ok, message == "Ligne de commande validee.\n") << message;
    return message;
}

std::string ValidateArguments(std::vector<std::string> extra) {
    std::vector<std::string> arguments = FileRun();
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return Validate(Parse(arguments));
}

}  // namespace

TEST(ParseCommandLine, MinusSignOnlyRightAfterACoordinateFlag) {
    EXPECT_EQ(-12.5, Parse({"-x", "-12.5"}).x);
    std::string message;
    const CQuorvelCommandLine line = Parse({"-x", "1", "-2"}, false, &message);
    EXPECT_EQ(1, line.x);
    EXPECT_EQ("2 : Le flag n'existe pas !", message);
    const CQuorvelCommandLine all =
        Parse({"-y", "-1e3", "-z", "+2.5", "-lon", "-0.5", "-lat", "abc", "-he", "7", "-E",
               "-600000", "-N", "2.2e6", "-H", "-3"});
    EXPECT_EQ(-1000, all.y);
    EXPECT_EQ(2.5, all.z);
    EXPECT_EQ(-0.5, all.lon);
    EXPECT_EQ(0, all.lat);  // not a number
    EXPECT_EQ(7, all.he);
    EXPECT_EQ(-600000, all.E);
    EXPECT_EQ(2200000, all.N);
    EXPECT_EQ(-3, all.H);
}

TEST(ParseCommandLine, FlagsAreExactAndCaseSensitive) {
    std::string message;
    Parse({"-mode", "1", "-Mode", "1"}, false, &message);
    EXPECT_EQ("Mode : Le flag n'existe pas !", message);
    Parse({"-"}, false, &message);
    EXPECT_EQ(" : Le flag n'existe pas !", message);
}

TEST(ParseCommandLine, IntegerValues) {
    const CQuorvelCommandLine line =
        Parse({"-mode", "02", "-type", "x", "-sys1", "0120", "-sys2", "+0004", "-init", "a.ini"});
    EXPECT_EQ(2, line.mode);
    EXPECT_EQ(0, line.kind);
    EXPECT_EQ(120, line.source.system);
    EXPECT_EQ(4, line.target.system);
    EXPECT_EQ("a.ini", line.initFile);
    EXPECT_EQ(kModeUnset, Parse({"stray", "1"}).mode);  // values before any flag are ignored
}

TEST(ParseCommandLine, TypcoorSequences) {
    CQuorvelCommandLine line = Parse({"-typcoor1", "2", "2", "1", "7"});
    EXPECT_EQ(2, line.source.type);
    EXPECT_EQ(2, line.source.unit);
    EXPECT_EQ(1, line.source.meridian);
    line = Parse({"-typcoor2", "3", "120", "9"});
    EXPECT_EQ(3, line.target.type);
    EXPECT_EQ(120, line.target.projection);
    EXPECT_EQ(0, line.target.unit);
    line = Parse({"-typcoor1", "1", "5", "6"});  // cartesian: further values fit nowhere
    EXPECT_EQ(1, line.source.type);
    EXPECT_EQ(0, line.source.unit);
    EXPECT_EQ(0, line.source.projection);
}

TEST(ParseCommandLine, FormatsAndFileNames) {
    CQuorvelCommandLine line = Parse({"-typcoor1", "2", "2", "1", "-f1", "2", "points.txt"});
    EXPECT_EQ(10, line.source.format);  // "Nom Lon Lat Hauteur"
    EXPECT_EQ("points.txt", line.source.file);
    line = Parse({"-typcoor1", "2", "-f1", "0", "points.txt"});
    EXPECT_EQ(0, line.source.format);  // the name is then read as a format number
    EXPECT_EQ("", line.source.file);
    line = Parse({"-typcoor2", "3", "-f2", "4", "a", "b"});
    EXPECT_EQ(19, line.target.format);  // "E N Hauteur"
    EXPECT_EQ("b", line.target.file);   // a later value replaces the name
    line = Parse({"-typcoor2", "1", "-f2", "3", "a"});
    EXPECT_EQ(0, line.target.format);  // outside the cartesian list
    line = Parse({"-f1", "1", "a"});  // no type yet
    EXPECT_EQ(0, line.source.format);
    EXPECT_EQ("", line.source.file);
    EXPECT_EQ(8, Parse({"-typcoor1", "2", "-f1", "1"}).source.format);
    EXPECT_EQ(15, Parse({"-typcoor1", "2", "-f1", "8"}).source.format);
    EXPECT_EQ(6, Parse({"-typcoor1", "1", "-f1", "1"}).source.format);
    EXPECT_EQ(16, Parse({"-typcoor1", "3", "-f1", "1"}).source.format);
}

TEST(ParseCommandLine, AltVerboseAndHelp) {
    CQuorvelCommandLine line = Parse({"-alt", "2", "5"});
    EXPECT_EQ(2, line.verticalKind);
    EXPECT_EQ(5, line.verticalSystem);
    line = Parse({"-alt", "0", "5"});  // a kind of 0 counts as not given
    EXPECT_EQ(5, line.verticalKind);
    EXPECT_EQ(0, line.verticalSystem);
    line = Parse({"-v", "ignored"});
    EXPECT_TRUE(line.verbose);
    EXPECT_EQ(FlagVerbose, line.currentFlag);
    line = Parse({"-?", "anything"});
    EXPECT_EQ(FlagHelp, line.currentFlag);
    EXPECT_EQ("Aide de la console", line.helpText);
    line = Parse({"-?"});
    EXPECT_EQ(FlagHelp, line.currentFlag);
    EXPECT_EQ("", line.helpText);
    EXPECT_EQ(FlagMode, Parse({"-?", "x", "-mode"}).currentFlag);  // the last flag decides
}

TEST(DeriveVerticalKind, ByMode) {
    CQuorvelCommandLine line = Parse({"-mode", "0", "-z", "1"});
    DeriveVerticalKind(line);
    EXPECT_EQ(1, line.verticalKind);
    line = Parse({"-mode", "0", "-alt", "2", "-E", "1"});
    DeriveVerticalKind(line);
    EXPECT_EQ(2, line.verticalKind);  // E, N, H leave it as given
    for (int number = 1; number <= 8; ++number) {
        line = Parse({"-mode", "1", "-typcoor1", "2", "-f1", std::to_string(number)});
        DeriveVerticalKind(line);
        // Odd entries of the geographic list are the altitude layouts.
        EXPECT_EQ(number % 2 == 1 ? 2 : 1, line.verticalKind) << number;
    }
    line = Parse({"-mode", "1", "-typcoor1", "1", "-f1", "2"});
    DeriveVerticalKind(line);
    EXPECT_EQ(1, line.verticalKind);
    line = Parse({"-mode", "3", "-x", "1"});
    DeriveVerticalKind(line);
    EXPECT_EQ(0, line.verticalKind);
}

TEST(ValidateCommandLine, ValidFileRun) {
    EXPECT_EQ("Ligne de commande validee.\n", ValidateArguments({}));
}

TEST(ValidateCommandLine, EachFailureInOrder) {
    EXPECT_EQ("Le type de transformation géométrique choisi n'existe pas !\n",
              Validate(Parse({"-type", "1"})));
    EXPECT_EQ("Le type de transformation géométrique choisi n'existe pas !\n",
              ValidateArguments({"-type", "3"}));
    EXPECT_EQ("Le référentiel géodésique de départ choisi n'existe pas !\n",
              ValidateArguments({"-sys1", "9"}));
    EXPECT_EQ("Le référentiel géodésique d'arrivée choisi n'existe pas !\n",
              ValidateArguments({"-sys2", "9"}));
    EXPECT_EQ("Le référentiel altimétrique choisi n'existe pas !\n",
              ValidateArguments({"-alt", "2", "7"}));
    EXPECT_EQ(
        "La transformation entre les deux referentiels n'existe pas en mode "
        "transformation Grille\" !\n",
        ValidateArguments({"-type", "2"}));
    EXPECT_EQ("Le type de coordonnées de départ selectionné n'existe pas !\n",
              Validate(Parse({"-mode", "1", "-type", "1", "-sys1", "1", "-sys2", "3"})));
    EXPECT_EQ("Le type de coordonnées d'arrivée selectionné n'existe pas !\n",
              Validate(Parse({"-mode", "1", "-type", "1", "-sys1", "1", "-sys2", "3", "-typcoor1",
                              "3", "-typcoor2", "4"})));
    EXPECT_EQ(
        "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel de "
        "départ(\"NTF\")!\n",
        Validate(Parse({"-mode", "1", "-type", "1", "-sys1", "1", "-sys2", "3", "-typcoor1", "1",
                        "-typcoor2", "1"})));
    EXPECT_EQ(
        "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel "
        "d'arrivée(\"NTF\")!\n",
        Validate(Parse({"-mode", "1", "-type", "1", "-sys1", "3", "-sys2", "1", "-typcoor1", "1",
                        "-typcoor2", "1"})));
}

TEST(ValidateCommandLine, UnitsMeridiansProjections) {
    const std::vector<std::string> base = {"-mode", "0", "-type", "1", "-sys1", "1", "-sys2", "3"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return Validate(Parse(arguments));
    };
    EXPECT_EQ("L'unité choisie au départ n'est pas valide  !\n",
              with({"-typcoor1", "2", "7", "1", "-typcoor2", "2", "2", "1"}));
    EXPECT_EQ("L'unité choisie à l'arrivée n'est pas valide  !\n",
              with({"-typcoor1", "2", "12", "1", "-typcoor2", "2", "13", "1"}));
    EXPECT_EQ("NTF : Le méridien origine choisi n'est pas valide !\n",
              with({"-typcoor1", "2", "10", "9", "-typcoor2", "2", "2", "1"}));
    EXPECT_EQ("WGS84 : Le méridien origine choisi n'est pas valide !\n",
              with({"-typcoor1", "2", "10", "2", "-typcoor2", "2", "2"}));
    EXPECT_EQ("NTF : La projection choisie pour n'est pas valide !\n",
              with({"-typcoor1", "3", "121", "-typcoor2", "2", "2", "1"}));
    EXPECT_EQ("WGS84 : La projection choisie pour n'est pas valide !\n",
              with({"-typcoor1", "3", "120", "-typcoor2", "3"}));
    // Single point, geographic to projected: valid (no layouts in mode 0).
    EXPECT_EQ("Ligne de commande validee.\n",
              with({"-typcoor1", "2", "3", "2", "-typcoor2", "3", "120", "-alt", "2", "-lon",
                    "1", "-lat", "2", "-H", "3"}));
}

TEST(ValidateCommandLine, CoordinateTypesTheSystemsOffer) {
    SmallCatalogue small;
    auto check = [&]() {
        CQuorvelCommandLine line = Parse(FileRun());
        DeriveVerticalKind(line);
        std::string message;
        ValidateCommandLine(line, small.catalogue, message);
        return message;
    };
    small.catalogue.coordTypeEntries[0].types = {2};  // NTF: geographic only
    EXPECT_EQ("Le type de coordonnées de départ n'est pas compatible avec le référentiel !\n",
              check());
    small.catalogue.coordTypeEntries[0].types = {3};
    small.catalogue.coordTypeEntries[1].types = {1};  // WGS84: cartesian only
    EXPECT_EQ("Le type de coordonnées d'arrivée n'est pas compatible avec le référentiel !\n",
              check());
    small.catalogue.coordTypeEntries.erase(small.catalogue.coordTypeEntries.begin());
    EXPECT_EQ("Le type de coordonnées de départ n'est pas compatible avec le référentiel !\n",
              check());  // a system without a type list offers nothing
}

TEST(ValidateCommandLine, DataFormatsAndHeights) {
    const std::vector<std::string> head = {"-mode", "1", "-type", "1", "-sys1", "3", "-sys2", "1"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = head;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return Validate(Parse(arguments));
    };
    // Test 19: a cartesian source without a cartesian layout.
    EXPECT_EQ("WGS84 : Le type de données choisi n'est pas valide !\n",
              with({"-typcoor1", "1", "-typcoor2", "3", "120", "-f2", "1", "o"}));
    // Test 22: heights on the two-dimensional arrival system.
    EXPECT_EQ(
        "NTF : Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le "
        "référentiel !\n",
        with({"-typcoor1", "1", "-f1", "1", "i", "-typcoor2", "2", "2", "1", "-f2", "2", "o"}));
    // Test 24: a projected arrival without a layout in file mode.
    EXPECT_EQ("NTF : Le type de données choisi n'est pas valide !\n",
              with({"-typcoor1", "1", "-f1", "2", "i", "-typcoor2", "3", "120"}));
    // Test 25 and 26: file names.
    EXPECT_EQ("Le nom du fichier de départ n'est pas saisi !\n",
              with({"-typcoor1", "1", "-f1", "2", "-typcoor2", "3", "120", "-f2", "3", "o"}));
    EXPECT_EQ("Le nom du fichier d'arrivée n'est pas saisi !\n",
              with({"-typcoor1", "1", "-f1", "2", "i", "-typcoor2", "3", "120", "-f2", "3"}));
    EXPECT_EQ("Ligne de commande validee.\n",
              with({"-typcoor1", "1", "-f1", "2", "i", "-typcoor2", "3", "120", "-f2", "3", "o"}));
    // Test 21, single point: an ellipsoidal height on a two-dimensional source.
    EXPECT_EQ(
        "NTF : Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le "
        "référentiel !\n",
        Validate(Parse({"-mode", "0", "-type", "1", "-sys1", "1", "-sys2", "3", "-typcoor1", "2",
                        "2", "2", "-typcoor2", "1", "-alt", "1"})));
}

TEST(ValidateCommandLine, LayoutsOfEachSideInFileMode) {
    const std::vector<std::string> head = {"-mode", "1", "-type", "1", "-sys1", "1", "-sys2", "3"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = head;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return Validate(Parse(arguments));
    };
    const std::string heights =
        "NTF : Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le référentiel !\n";
    // Test 20: a cartesian arrival without a cartesian layout.
    EXPECT_EQ("WGS84 : Le type de données choisi n'est pas valide !\n",
              with({"-typcoor1", "3", "120", "-f1", "1", "i", "-typcoor2", "1"}));
    // Test 21: a geographic departure on the two-dimensional NTF, with
    // heights ("Nom Lon Lat Hauteur"), then without any layout.
    EXPECT_EQ(heights, with({"-typcoor1", "2", "2", "1", "-f1", "2", "i", "-typcoor2", "1", "-f2",
                             "1", "o"}));
    EXPECT_EQ("NTF : Le type de données choisi n'est pas valide !\n",
              with({"-typcoor1", "2", "2", "1", "-typcoor2", "1", "-f2", "1", "o"}));
    // Test 23: a projected departure with heights ("Nom E N Hauteur").
    EXPECT_EQ(heights, with({"-typcoor1", "3", "120", "-f1", "2", "i", "-typcoor2", "1", "-f2",
                             "1", "o"}));
    EXPECT_EQ("Ligne de commande validee.\n",
              with({"-typcoor1", "3", "120", "-f1", "1", "i", "-typcoor2", "1", "-f2", "1", "o"}));
}

TEST(ValidateCommandLine, SameSystemsAndReverseTransformations) {
    // The grid record is listed from RGF93 to NTF only: NTF to RGF93 passes test 6.
    EXPECT_EQ("Ligne de commande validee.\n",
              Validate(Parse({"-mode", "0", "-type", "2", "-sys1", "1", "-sys2", "4", "-typcoor1",
                              "3", "120", "-typcoor2", "1", "-E", "1", "-N", "2"})));
    // No transformation at all is needed within one system.
    EXPECT_EQ("Ligne de commande validee.\n",
              Validate(Parse({"-mode", "0", "-type", "2", "-sys1", "3", "-sys2", "3", "-typcoor1",
                              "1", "-typcoor2", "2", "2", "1", "-x", "1", "-y", "2", "-z", "3"})));
}

TEST(ValidateCommandLine, GridRunBetweenSystemsThatNoGridJoins) {
    SmallCatalogue small;
    // A translation-only record joins WGS84 and RGF93, but no grid does.
    small.AddTransformation(3, 4, GridKind);
    const std::vector<std::string> arguments = {
        "-mode", "1", "-type", "2", "-sys1", "3", "-sys2", "4", "-typcoor1", "2", "2", "1",
        "-typcoor2", "2", "2", "1", "-f1", "2", "in.txt", "-f2", "2", "out.txt"};
    auto check = [&](std::vector<std::string> a) {
        CQuorvelCommandLine line = Parse(a);
        DeriveVerticalKind(line);
        std::string message;
        const bool ok = ValidateCommandLine(line, small.catalogue, message);
        EXPECT_EQ(ok, message == "Ligne de commande validee.\n");
        return message;
    };
    EXPECT_EQ("Aucune grille de transformation ne relie les référentiels \"WGS84\" et "
              "\"RGF93\" !\n",
              check(arguments));
    // The standard method between the same systems needs no grid.
    std::vector<std::string> standard = arguments;
    standard[3] = "1";
    small.AddTransformation(3, 4, StandardKind);
    EXPECT_EQ("Ligne de commande validee.\n", check(standard));
    // A grid listed in the other direction joins them too.
    CGr3dEntry& grid = small.catalogue.translationGrids.emplace_back();
    grid.firstSystemId = 4;
    grid.secondSystemId = 3;
    EXPECT_EQ("Ligne de commande validee.\n", check(arguments));
}

TEST(CommandLineNumbers, EverySpellingOfAValue) {
    struct Case {
        const char* text;
        bool accepted;
        double value;
    };
    const Case reals[] = {
        {"600984.230", true, 600984.23},   {"600984,230", true, 600984.23},
        {"-0,5", true, -0.5},              {"+2.5", true, 2.5},
        {",5", true, 0.5},                 {"5,", true, 5},
        {"1e3", true, 1000},               {"1,5e2", true, 150},
        {" 7 ", true, 7},                  {"abc", false, 0},
        {"", false, 0},                    {"600984,230,1", false, 0},
        {"1.5,3", false, 0},               {"12m", false, 0},
        {"600984.230x", false, 0},         {"1 2", false, 0},
        {",", false, 0},                   {"-", false, 0},
        {"1e999", false, 0},               {"inf", false, 0},
    };
    for (const Case& c : reals) {
        double value = -1;
        EXPECT_EQ(c.accepted, ReadCommandLineReal(c.text, value)) << c.text;
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(c.value, value) << c.text;
        }
    }
    const Case integers[] = {
        {"02", true, 2},     {"0120", true, 120},  {"+0004", true, 4},      {"-3", true, -3},
        {" 5", true, 5},     {"x", false, 0},      {"", false, 0},          {"4x", false, 0},
        {"1.5", false, 0},   {"1,0", false, 0},    {"99999999999", false, 0}, {"-", false, 0},
        {"+-1", false, 0},   {"--1", false, 0},
    };
    for (const Case& c : integers) {
        int value = -1;
        EXPECT_EQ(c.accepted, ReadCommandLineInteger(c.text, value)) << c.text;
        if (c.accepted) {
            EXPECT_EQ(static_cast<int>(c.value), value) << c.text;
        }
    }
}

// A single point of NTF Lambert II étendu to WGS84 geographic.
std::vector<std::string> SinglePoint(std::vector<std::string> extra) {
    std::vector<std::string> arguments = {"-mode", "0", "-type", "1", "-sys1", "1", "-sys2",
                                          "3", "-typcoor1", "3", "120", "-typcoor2", "2", "2",
                                          "1"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

TEST(ValidateCommandLine, ValuesThatNoFlagTakesSilently) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const std::string ok = "Ligne de commande validee.\n";
    const Case cases[] = {
        // A decimal comma is the decimal point; the point is then complete.
        {SinglePoint({"-E", "600984,230", "-N", "2428291,971"}), ""},
        {SinglePoint({"-E", "600984.230", "-N", "2428291.971"}), ""},
        {SinglePoint({"-E", "abc", "-N", "1"}),
         "La valeur \"abc\" du flag -E n'est pas un nombre !\n"},
        {SinglePoint({"-E", "1", "-N", "2428291,971,5"}),
         "La valeur \"2428291,971,5\" du flag -N n'est pas un nombre !\n"},
        {SinglePoint({"-E", "", "-N", "1"}), "La valeur \"\" du flag -E n'est pas un nombre !\n"},
        {SinglePoint({"-E", "1", "-N", "2m"}), "La valeur \"2m\" du flag -N n'est pas un nombre !\n"},
        // The first refused value is named, before any other check.
        {SinglePoint({"-E", "x", "-N", "y", "-sys1", "9"}),
         "La valeur \"x\" du flag -E n'est pas un nombre !\n"},
        // Integer flags: no value read as 0, none cut short.
        {SinglePoint({"-mode", "0x", "-E", "1", "-N", "2"}),
         "La valeur \"0x\" du flag -mode n'est pas un nombre entier !\n"},
        {SinglePoint({"-type", "un", "-E", "1", "-N", "2"}),
         "La valeur \"un\" du flag -type n'est pas un nombre entier !\n"},
        {SinglePoint({"-sys1", "1.0", "-E", "1", "-N", "2"}),
         "La valeur \"1.0\" du flag -sys1 n'est pas un nombre entier !\n"},
        {SinglePoint({"-sys2", "3a", "-E", "1", "-N", "2"}),
         "La valeur \"3a\" du flag -sys2 n'est pas un nombre entier !\n"},
        {SinglePoint({"-alt", "2", "5b", "-E", "1", "-N", "2", "-H", "3"}),
         "La valeur \"5b\" du flag -alt n'est pas un nombre entier !\n"},
        {{"-mode", "0", "-typcoor1", "3", "12O"},
         "La valeur \"12O\" du flag -typcoor1 n'est pas un nombre entier !\n"},
        {{"-mode", "1", "-typcoor2", "2", "2", "1", "x"},
         "La valeur \"x\" du flag -typcoor2 n'est pas un nombre entier !\n"},
        {{"-mode", "1", "-typcoor1", "3", "120", "-f1", "1x", "in.txt"},
         "La valeur \"1x\" du flag -f1 n'est pas un nombre entier !\n"},
        // A format number outside the type's list, or a file name where the
        // number is awaited.
        {{"-mode", "1", "-typcoor1", "3", "120", "-f1", "5", "in.txt"},
         "La valeur \"5\" du flag -f1 n'est pas un numéro de format du type de coordonnées "
         "choisi !\n"},
        {{"-mode", "1", "-typcoor2", "1", "-f2", "0", "out.txt"},
         "La valeur \"0\" du flag -f2 n'est pas un numéro de format du type de coordonnées "
         "choisi !\n"},
        // A coordinate that the departure type needs and that was not given.
        {SinglePoint({"-E", "600984.23"}),
         "Le flag -N manque : le point de départ demande cette coordonnée !\n"},
        {SinglePoint({"-N", "600984.23"}),
         "Le flag -E manque : le point de départ demande cette coordonnée !\n"},
        {SinglePoint({"-E", "1", "-N", "2", "-alt", "2", "5"}),
         "Le flag -H manque : le point de départ demande cette coordonnée !\n"},
        {SinglePoint({"-E", "1", "-N"}),
         "Le flag -N manque : le point de départ demande cette coordonnée !\n"},
        {{"-mode", "0", "-type", "1", "-sys1", "3", "-sys2", "3", "-typcoor1", "1", "-typcoor2",
          "2", "2", "1", "-x", "4201000", "-y", "168000"},
         "Le flag -z manque : le point de départ demande cette coordonnée !\n"},
        {{"-mode", "0", "-type", "1", "-sys1", "3", "-sys2", "3", "-typcoor1", "2", "2", "1",
          "-typcoor2", "1", "-lon", "2,35"},
         "Le flag -lat manque : le point de départ demande cette coordonnée !\n"},
        {{"-mode", "0", "-type", "1", "-sys1", "3", "-sys2", "3", "-typcoor1", "2", "2", "1",
          "-typcoor2", "1", "-alt", "1", "-lon", "2,35", "-lat", "48.85"},
         "Le flag -he manque : le point de départ demande cette coordonnée !\n"},
        // Coordinates of another type than the departure's.
        {SinglePoint({"-E", "1", "-N", "2", "-lon", "2.35"}),
         "Le flag -lon ne convient pas au type de coordonnées de départ (Planes) !\n"},
        {{"-mode", "0", "-type", "1", "-sys1", "3", "-sys2", "3", "-typcoor1", "1", "-typcoor2",
          "2", "2", "1", "-x", "1", "-y", "2", "-z", "3", "-he", "4"},
         "Le flag -he ne convient pas au type de coordonnées de départ (Cartésiennes) !\n"},
        {SinglePoint({"-E", "1", "-N", "2", "-H", "35"}),
         "Le flag -H ne convient pas à la composante verticale de départ (aucune, sans le flag "
         "-alt) !\n"},
        {SinglePoint({"-E", "1", "-N", "2", "-alt", "2", "5", "-H", "35", "-he", "80"}),
         "Le flag -he ne convient pas à la composante verticale de départ (altitude, flag -H) !\n"},
        // File runs read no coordinate from the command line.
        {{"-mode", "1", "-type", "1", "-sys1", "1", "-sys2", "3", "-typcoor1", "3", "120",
          "-typcoor2", "2", "2", "1", "-f1", "1", "in.txt", "-f2", "1", "out.txt", "-E", "1"},
         ""},
    };
    for (const Case& c : cases) {
        const std::string expected = *c.message ? c.message : ok;
        EXPECT_EQ(expected, Validate(Parse(c.arguments))) << testing::PrintToString(c.arguments);
    }
}
