// Grid files as downloads and other programs leave them: XML headers that
// are malformed or that try to pull in other files, and binary caches that
// another version of the program wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "grid_test_support.h"
#include "grids/grid.h"
#include "grids/xml_header.h"

namespace {

const char* const kSecret = "SECRET-1234-CONTENU";

// A sound native text grid of 3 x 2 nodes, one value each.
const char* const kGrid = "0.0 2.0 45.0 46.0 1.0 1.0 4 0 1 0 0 Grille\n1 2 3\n4 5 6\n";

// Every text field of a header, for looking for text that should not be there.
std::vector<std::string> TextFields(const CGrille& g) {
    return {g.header.NAME,       g.header.ORIGIN,     g.header.CREATED,  g.header.VERSION,  g.header.KEY,
            g.header.DESC,       g.header.CRS_CODE_F, g.header.CRS_CODE_T, g.header.SYSTEM_F, g.header.SYSTEM_T};
}

}  // namespace

TEST(XmlHeaderFaults, ExternalEntitiesAreNotResolved) {
    GridFolder folder;
    GridFolder::Write("secret.txt", std::string(kSecret) + "\n");
    const std::string secret = (std::filesystem::current_path() / "secret.txt").string();
    GridFolder::Write("g.mnt", kGrid);
    const std::vector<std::string> documents = {
        // General entities of the internal subset naming local files.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE GRID_HEADER [\n"
        "  <!ENTITY fichier SYSTEM \"file://" + secret + "\">\n"
        "  <!ENTITY relatif SYSTEM \"secret.txt\">\n]>\n"
        "<GRID_HEADER><ORIGIN>&fichier;</ORIGIN><DESC>&relatif;</DESC>"
        "<KEY>a&fichier;b</KEY><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>\n",
        // An external document type, and a parameter entity.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE GRID_HEADER SYSTEM \"" + secret + "\">\n"
        "<GRID_HEADER><ORIGIN>IGN</ORIGIN><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
        "</GRID_HEADER>\n",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE GRID_HEADER [\n"
        "  <!ENTITY % p SYSTEM \"file://" + secret + "\"> %p;\n]>\n"
        "<GRID_HEADER><ORIGIN>IGN</ORIGIN><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
        "</GRID_HEADER>\n",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        GridFolder::Write("g.xml", document);
        CGrille g;
        g.header.NAME = "g.mnt";
        const std::string message = OpenMessage(g, ModeEnTete);
        EXPECT_EQ(std::string::npos, message.find(kSecret));
        for (const std::string& field : TextFields(g))
            EXPECT_EQ(std::string::npos, field.find(kSecret)) << field;
    }
    // The references stay the text they are.
    GridFolder::Write("g.xml", documents[0]);
    CGrille g;
    g.header.NAME = "g.mnt";
    ASSERT_EQ("", OpenMessage(g, ModeEnTete));
    EXPECT_EQ("&fichier;", g.header.ORIGIN);
    EXPECT_EQ("&relatif;", g.header.DESC);
    EXPECT_EQ("a&fichier;b", g.header.KEY);
}

TEST(XmlHeaderFaults, EntitiesThatWouldMultiplyAreNotExpanded) {
    GridFolder folder;
    std::string entities = "  <!ENTITY r0 \"rirerirerirerirerirerirerirerirerire\">\n";
    for (int i = 1; i < 12; ++i) {
        entities += "  <!ENTITY r" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) entities += "&r" + std::to_string(i - 1) + ";";
        entities += "\">\n";
    }
    GridFolder::Write("g.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE GRID_HEADER [\n" + entities +
                                   "]>\n<GRID_HEADER><DESC>&r11;</DESC>"
                                   "<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                   "</GRID_HEADER>\n");
    CGrille g;
    EXPECT_EQ("", Lire_Xml(g.header, "g.xml"));
    EXPECT_EQ("&r11;", g.header.DESC);
    EXPECT_EQ(Bilineaire, g.header.INTERPOLATION_TYPE);
}

TEST(XmlHeaderFaults, MalformedHeaderIsNamedWhenTheGridIsRefused) {
    GridFolder folder;
    GridFolder::Write("g.mnt", kGrid);
    const std::string check = "g.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n";
    const std::string notLoaded =
        "\nFichier g.xml non chargé.\nUne piste : l'élément CDATA n'est pas supporté.";
    const struct {
        std::string document;
        std::string failure;
    } cases[] = {
        {"<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</GRID_HEADER>", notLoaded},
        {"<?xml version=\"1.0\"?>\n<GRID_HEADER>\n\t<INTERPOLATION_TYPE>BILIN", notLoaded},
        {"", notLoaded},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), notLoaded},
        {"<GRID_HEADER a=\"1\" a=\"2\"></GRID_HEADER>", notLoaded},
        {"<?xml version=\"1.0\"?>\n<HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
         "</HEADER>\n",
         "\nBalise non trouvée : \n<GRID_HEADER>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        GridFolder::Write("g.xml", c.document);
        for (int mode : {ModeEnTete, ModeSurDisque}) {
            CGrille g;
            g.header.NAME = "g.mnt";
            EXPECT_EQ(check + c.failure, OpenMessage(g, mode));
            EXPECT_FALSE(g.loaded);
            EXPECT_FALSE(g.BinaryFileOpen());
        }
        // Nothing written beside the grid, nothing changed.
        EXPECT_EQ((std::vector<std::string>{"g.mnt", "g.xml"}), folder.Files());
        EXPECT_EQ(kGrid, GridFolder::Read("g.mnt"));
    }
    // Without XML header the check lines stand alone; with a sound one the
    // grid opens.
    std::filesystem::remove("g.xml");
    CGrille bare;
    bare.header.NAME = "g.mnt";
    EXPECT_EQ(check, OpenMessage(bare, ModeEnTete));
    GridFolder::Write("g.xml", BilinearXml());
    CGrille sound;
    sound.header.NAME = "g.mnt";
    EXPECT_EQ("", OpenMessage(sound, ModeEnTete));
}

TEST(BinaryCacheFaults, CacheOfAnotherVersionIsRefusedAndKept) {
    GridFolder folder;
    GridFolder::Write("g.mnt", kGrid);
    GridFolder::Write("g.xml", BilinearXml());
    {
        CGrille g;
        g.header.NAME = "g.mnt";
        ASSERT_EQ("", OpenMessage(g, ModeSurDisque));
    }
    const std::string cache = GridFolder::Read("g.bin");
    for (const int32_t version : {1, 6, 7, 0, -1, 0x7fffffff}) {
        SCOPED_TRACE(version);
        std::string other = cache;
        unsigned char b[4];
        StoreInt32LE(b, version);
        other.replace(5, 4, reinterpret_cast<const char*>(b), 4);
        GridFolder::Write("g.bin", other);
        // Through the text grid, as the catalogue names it, and through the cache.
        for (const char* name : {"g.mnt", "g.bin"}) {
            CGrille g;
            g.header.NAME = name;
            EXPECT_EQ("Numéro de version imprévu : " + std::to_string(version) + "\n(g.bin)",
                      OpenMessage(g, ModeSurDisque))
                << name;
            EXPECT_FALSE(g.loaded);
            EXPECT_FALSE(g.BinaryFileOpen());
        }
        // The cache is neither replaced nor removed, the text grid untouched.
        EXPECT_EQ(other, GridFolder::Read("g.bin"));
        EXPECT_EQ(kGrid, GridFolder::Read("g.mnt"));
        EXPECT_EQ((std::vector<std::string>{"g.bin", "g.mnt", "g.xml"}), folder.Files());
    }
}
