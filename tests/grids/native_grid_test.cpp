#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "grid_test_support.h"
#include "grids/grid.h"
#include "grids/grid_rules.h"
#include "grids/grid_reader.h"
#include "grids/header_tokenizer.h"

TEST(GridRules, NearestIndexSnapAndUnits) {
    EXPECT_EQ(3, Nearest(2.5));
    EXPECT_EQ(-3, Nearest(-2.5));
    EXPECT_EQ(2, Nearest(2.49));
    EXPECT_EQ(0, Nearest(0));
    EXPECT_EQ(3, IndexOf(3 - 5e-11));  // a hair below a node is on it
    EXPECT_EQ(2, IndexOf(3 - 2e-10));
    EXPECT_EQ(-1, IndexOf(-0.5));
    EXPECT_EQ(-1, IndexOf(-1.0));
    EXPECT_EQ(4.0, Snap(4 - 5e-11));
    EXPECT_EQ(4.0, Snap(4 + 5e-11));
    EXPECT_EQ(4.3, Snap(4.3));
    EXPECT_DOUBLE_EQ(0.5, ConvertUnit(1800, UniteSecondes, UniteDegres));
    EXPECT_DOUBLE_EQ(3.141592653589793 / 2, ConvertUnit(90, UniteDegres, UniteRadians));
    EXPECT_DOUBLE_EQ(3600, ConvertUnit(1, UniteDegres, UniteSecondes));
    EXPECT_DOUBLE_EQ(648000, ConvertUnit(3.141592653589793, UniteRadians, UniteSecondes));
    EXPECT_EQ(7, ConvertUnit(7, UniteMetres, UniteDegres));
    EXPECT_EQ(7, ConvertUnit(7, UniteDegres, UniteIndefinie));
    EXPECT_EQ(12, CountFromLimits(0, 10.5, 1));  // nearest(10.5) + 1
    EXPECT_EQ(0, SaturateToInt32(0.0 / 0.0));
}

TEST(GridModel, ValueSizeFromType) {
    CGrille g;
    g.header.VALUES_TYPE = Real4;
    g.header.Taille_Valeur();
    EXPECT_EQ(4, g.header.valueSize);
    g.header.VALUES_TYPE = TypeValIndefini;
    g.header.Taille_Valeur();
    EXPECT_EQ(4, g.header.valueSize);
    g.header.VALUES_TYPE = Integer2;
    g.header.Taille_Valeur();
    EXPECT_EQ(2, g.header.valueSize);
    g.header.VALUES_TYPE = Real8;
    g.header.CODE_PREC = 1;
    g.header.VALUES_NUMBER = 3;
    g.header.Taille_Valeur();
    EXPECT_EQ(28, g.header.RecordSize());
}

TEST(HeaderTokenizer, KindsAndResults) {
    std::string token;
    int position = 0;
    const std::string line = "  12.5 -3 abc 25METRES\n";
    EXPECT_EQ(0, Lire_Champ(' ', line, position, token, ChampKind::Reel));
    EXPECT_EQ("12.5", token);
    EXPECT_EQ(0, Lire_Champ(' ', line, position, token, ChampKind::Entier));
    EXPECT_EQ("-3", token);
    EXPECT_EQ(0, Lire_Champ(' ', line, position, token, ChampKind::Chaine));
    EXPECT_EQ("abc", token);
    EXPECT_EQ(0, Lire_Champ(' ', line, position, token, ChampKind::ReelForce));
    EXPECT_EQ("25", token);
    EXPECT_EQ('M', line[position]);
    EXPECT_EQ(2, Lire_Champ(' ', line, position, token, ChampKind::Chaine));
    EXPECT_EQ("METRES", token);  // the line break is dropped

    position = 0;
    EXPECT_EQ(0, Lire_Champ(' ', "7X9 1", position, token, ChampKind::EntierForce));
    EXPECT_EQ("7", token);
    EXPECT_EQ(1, position);
}

TEST(HeaderTokenizer, MalformedNumbersGiveTheirMessages) {
    std::string token;
    int position = 0;
    EXPECT_EQ(-1, Lire_Champ(' ', "1.0 1e-5 3\n", position = 4, token, ChampKind::Reel));
    EXPECT_EQ("Réel attendu dans l'en-tête peu avant la position 9", token);
    EXPECT_EQ(-1, position);

    position = 0;
    EXPECT_EQ(-1, Lire_Champ(' ', "4.5 2", position, token, ChampKind::Entier));
    EXPECT_EQ("Entier attendu dans : \n4.5 2\n(peu avant la position 4", token);
    EXPECT_EQ(-1, position);

    // The line's own characters come back in UTF-8.
    position = 0;
    Lire_Champ(' ', "\xE9t\xE9", position, token, ChampKind::Entier);
    EXPECT_EQ("Entier attendu dans : \nété\n(peu avant la position 4", token);
}

TEST(NativeHeader, FieldsTranslationsAndDescription) {
    CGrille g;
    std::string message;
    EXPECT_EQ(-10,
              Lire_EnTete_Texte(g.header, "-5.5 10.0 41.0 52.0 0.1 0.1 2 0 3 1 1.5 -2.25 0.0\n", message));
    EXPECT_EQ(-5.5, g.header.X_MIN);
    EXPECT_EQ(52, g.header.Y_MAX);
    EXPECT_EQ(2, g.header.LAYOUT);
    EXPECT_EQ(3, g.header.VALUES_NUMBER);
    EXPECT_EQ(1, g.header.CODE_PREC);
    EXPECT_EQ((std::vector<double>{1.5, -2.25, 0}), g.header.TRANSLATION);
    EXPECT_EQ("UNDEFINED", g.header.DESC);  // exactly 10 + n fields
    EXPECT_EQ(156, g.header.N_COLUMNS);
    EXPECT_EQ(111, g.header.N_LINES);
    EXPECT_EQ(156 * 111, g.header.N_NODES);
    EXPECT_EQ(Real8, g.header.VALUES_TYPE);
    EXPECT_EQ(8, g.header.valueSize);

    EXPECT_EQ(-10, Lire_EnTete_Texte(g.header, "0 1 0 1 1 1 4 0 1 0 0  Grille  de  Mayotte\n", message));
    EXPECT_EQ("Grille de Mayotte", g.header.DESC);
    EXPECT_EQ(-10, Lire_EnTete_Texte(g.header, "0 1 0 1 1 1 4 0 1 0 0 Ge\xEF"
                                       "de\n",
                                       message));
    EXPECT_EQ("Geïde", g.header.DESC);
}

TEST(NativeHeader, ShortAndMalformedHeaders) {
    CGrille g;
    std::string message;
    // The line ends after field 6: the position where reading stopped.
    EXPECT_EQ(25, Lire_EnTete_Texte(g.header, "0.0 1.0 0.0 1.0 0.5 0.5\n", message));
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(-1, Lire_EnTete_Texte(g.header, "0.0 1.0 0.0 1e1 0.5 0.5 4 0 1 0 0\n", message));
    EXPECT_EQ("Réel attendu dans l'en-tête peu avant la position 16", message);
    // No value per node makes no grid.
    EXPECT_GT(Lire_EnTete_Texte(g.header, "0 1 0 1 1 1 4 0 0 0 0\n", message), 0);
}

namespace {

// A 3 x 2 native grid, one value and a code per node.
const char* kSmallGrid =
    "0.0 2.0 45.0 46.0 1.0 1.0 4 0 1 1 0.5 Petite grille\r\n"
    "1.5 11\r\n2.5 12\r\n3.5 13\r\n"
    "4.5 21\r\n5.5 22\r\n6.5 23\r\n";


}  // namespace

TEST(BinaryCache, TextGridToCacheAndBack) {
    GridFolder folder;
    GridFolder::Write("petite.mnt", kSmallGrid);
    GridFolder::Write("petite.xml", BilinearXml());
    CGrille g;
    g.header.NAME = "petite.mnt";
    EXPECT_EQ("", OpenMessage(g, ModeSurDisque));
    EXPECT_EQ("petite.bin", g.header.NAME);
    EXPECT_EQ(GrilleBinairePlenar, g.header.GRID_TYPE);
    EXPECT_TRUE(g.onDisk && g.loaded && g.BinaryFileOpen());
    EXPECT_EQ("Petite grille", g.header.DESC);

    const std::string cache = GridFolder::Read("petite.bin");
    ASSERT_GE(cache.size(), 85u + 8 + 13);
    EXPECT_EQ(0, std::memcmp(cache.data(), "GRID\0", 5));
    EXPECT_EQ(3, LoadInt32LE(reinterpret_cast<const unsigned char*>(cache.data()) + 5));
    const int offset = LoadInt32LE(reinterpret_cast<const unsigned char*>(cache.data()) + 9);
    EXPECT_EQ(85 + 8 + 13, offset);
    EXPECT_EQ(static_cast<size_t>(offset) + 6 * 12, cache.size());
    EXPECT_EQ("Petite grille", cache.substr(85 + 8, 13));

    // The values and codes as the text gave them.
    double v = 0;
    int code = 0;
    g.Lire_Noeud(2, 1, &v, code);
    EXPECT_EQ(6.5, v);
    EXPECT_EQ(23, code);
    const double p[3] = {0.5, 45.5, 0};
    EXPECT_EQ(0, g.Interpoler(UniteDegres, p, &v, code));
    EXPECT_DOUBLE_EQ((1.5 + 2.5 + 4.5 + 5.5) / 4 + 0.5, v);
    EXPECT_EQ(22, code);

    // The cache opened by its own name gives the same grid.
    CGrille again;
    again.header.NAME = "petite.bin";
    EXPECT_EQ("", OpenMessage(again, ModeSurDisque));
    again.Lire_Noeud(0, 1, &v, code);
    EXPECT_EQ(4.5, v);
    EXPECT_EQ(21, code);
    EXPECT_EQ((std::vector<double>{0.5}), again.header.TRANSLATION);
    EXPECT_EQ(3, again.header.N_COLUMNS);

    // Loaded into memory from the cache, it answers the same.
    CGrille memory;
    memory.header.NAME = "petite.bin";
    EXPECT_EQ("", memory.Charger_Binaire());
    EXPECT_TRUE(memory.loaded);
    EXPECT_FALSE(memory.onDisk || memory.BinaryFileOpen());
    memory.Lire_Noeud(1, 0, &v, code);
    EXPECT_EQ(2.5, v);
    EXPECT_EQ(12, code);
}

TEST(BinaryCache, ExistingCacheIsReusedUntouched) {
    GridFolder folder;
    GridFolder::Write("petite.mnt", kSmallGrid);
    GridFolder::Write("petite.xml", BilinearXml());
    CGrille first;
    first.header.NAME = "petite.mnt";
    ASSERT_EQ("", OpenMessage(first, ModeSurDisque));
    first.Fermer();
    const std::string made = GridFolder::Read("petite.bin");

    // The text grid changes; its cache is still taken as it is.
    GridFolder::Write("petite.mnt", std::string(kSmallGrid).replace(60, 3, "9.5"));
    CGrille second;
    second.header.NAME = "petite.mnt";
    EXPECT_EQ("", ConsoleOutput(second, ModeSurDisque));  // nothing printed: no conversion
    EXPECT_EQ("petite.bin", second.header.NAME);
    EXPECT_EQ(made, GridFolder::Read("petite.bin"));
    double v = 0;
    int code = 0;
    second.Lire_Noeud(0, 0, &v, code);
    EXPECT_EQ(1.5, v);
    EXPECT_EQ((std::vector<std::string>{"petite.bin", "petite.mnt", "petite.xml"}), folder.Files());
}

TEST(BinaryCache, VersionTwoCacheHoldsDoubles) {
    GridFolder folder;
    std::string cache("GRID\0", 5);
    auto put32 = [&](int32_t v) {
        unsigned char b[4];
        StoreInt32LE(b, v);
        cache.append(reinterpret_cast<char*>(b), 4);
    };
    auto put64 = [&](double v) {
        unsigned char b[8];
        StoreReal8LE(b, v);
        cache.append(reinterpret_cast<char*>(b), 8);
    };
    put32(2);
    put32(0);
    for (double v : {10.0, 11.0, 20.0, 20.5, 0.5, 0.5}) put64(v);
    put32(1);  // layout
    put32(0);
    put32(1);  // one value
    put32(0);  // no codes
    put64(0);
    put32(4);
    cache += "v2 !";
    const int32_t offset = static_cast<int32_t>(cache.size());
    unsigned char b[4];
    StoreInt32LE(b, offset);
    cache.replace(9, 4, reinterpret_cast<char*>(b), 4);
    for (int s = 0; s < 6; ++s) put64(s * 1.25);
    GridFolder::Write("v2.bin", cache);
    GridFolder::Write("v2.xml", BilinearXml());

    CGrille g;
    g.header.NAME = "v2.bin";
    EXPECT_EQ("", OpenMessage(g, ModeSurDisque));
    EXPECT_EQ(Real8, g.header.VALUES_TYPE);
    EXPECT_EQ("v2 !", g.header.DESC);
    EXPECT_EQ(3, g.header.N_COLUMNS);
    EXPECT_EQ(2, g.header.N_LINES);
    double v = 0;
    int code = 0;
    g.Lire_Noeud(2, 1, &v, code);  // layout 1: index 2·2 + 1
    EXPECT_EQ(5 * 1.25, v);

    // An unknown version is refused with its message.
    StoreInt32LE(b, 7);
    cache.replace(5, 4, reinterpret_cast<char*>(b), 4);
    GridFolder::Write("v7.bin", cache);
    CGrille seven;
    seven.header.NAME = "v7.bin";
    EXPECT_EQ("Numéro de version imprévu : 7\n(v7.bin)", OpenMessage(seven, ModeSurDisque));
}

TEST(BinaryCache, StoredTypesAndDescriptionLimit) {
    GridFolder folder;
    GridFolder::Write("t.mnt", "0 1 0 1 1 1 4 0 2 0 0 0 " + std::string(300, 'd') +
                                   "\n-7 40000\n1 2\n3 4\n5 6\n");
    GridFolder::Write("t.xml", XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                         "<VALUES_TYPE>INTEGER4</VALUES_TYPE>"));
    CGrille g;
    g.header.NAME = "t.mnt";
    // The 300-character description makes the header line too long.
    EXPECT_EQ("t.mnt :\nLa ligne d'en-tête est trop longue (258 char max)",
              OpenMessage(g, ModeSurDisque));

    GridFolder::Write("t.mnt", "0 1 0 1 1 1 4 0 2 0 0 0 " + std::string(230, 'd') +
                                   "\n-7 40000\n1 2\n3 4\n5 6\n");
    EXPECT_EQ("", OpenMessage(g, ModeSurDisque));
    EXPECT_EQ(Integer4, g.header.VALUES_TYPE);
    EXPECT_EQ(8, g.header.RecordSize());
    double v[2] = {};
    int code = 0;
    g.Lire_Noeud(0, 0, v, code);
    EXPECT_EQ(-7, v[0]);
    EXPECT_EQ(40000, v[1]);
    EXPECT_EQ(static_cast<size_t>(g.header.firstRecordOffset) + 4 * 8, GridFolder::Read("t.bin").size());

    // 40000 does not fit a 2-byte integer: the value is refused, not wrapped.
    GridFolder::Write("u.mnt", "0 1 0 1 1 1 4 0 2 0 0 0\n-7 40000\n1 2\n3 4\n5 6\n");
    GridFolder::Write("u.xml", XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                         "<VALUES_TYPE>INTEGER2</VALUES_TYPE>"));
    CGrille u;
    u.header.NAME = "u.mnt";
    EXPECT_EQ("Valeur illisible dans la grille :\nu.mnt\n(noeud 1, octet 32)",
              OpenMessage(u, ModeSurDisque));
    EXPECT_FALSE(GridFolder::Exists("u.bin"));
}

// "p.mnt", a bilinear native grid of 20 x 10 nodes: its progress steps every
// 2 nodes.
void WriteHundredsGrid() {
    std::string text = "0 19 0 9 1 1 4 0 1 0 0\n";
    for (int s = 0; s < 200; ++s) text += std::to_string(s) + "\n";
    GridFolder::Write("p.mnt", text);
    GridFolder::Write("p.xml", BilinearXml());
}

TEST(BinaryCache, ConsoleProgress) {
    GridFolder folder;
    WriteHundredsGrid();
    CGrille g;
    g.header.NAME = "p.mnt";
    EXPECT_EQ("Création du fichier binaire  p.bin ...|" + std::string(99, '|') + "\n",
              ConsoleOutput(g, ModeSurDisque));

    // Fewer than 100 nodes: no step is ever taken.
    GridFolder::Write("q.mnt", "0 1 0 1 1 1 4 0 1 0 0\n1\n2\n3\n4\n");
    GridFolder::Write("q.xml", BilinearXml());
    CGrille q;
    q.header.NAME = "q.mnt";
    EXPECT_EQ("Chargement de la grille  q.mnt ...\n", ConsoleOutput(q, ModeEnMemoire));
}

TEST(BinaryCache, CancelledConversionLeavesNoCache) {
    GridFolder folder;
    WriteHundredsGrid();
    ScriptedInterface ui;
    ui.cancelAtCheck = 30;
    CGrille g;
    g.header.NAME = "p.mnt";
    EXPECT_EQ("Création du fichier binaire p.bin annulée", OpenMessage(g, ModeSurDisque, ui));
    ASSERT_GE(ui.progress->size(), 4u);
    EXPECT_EQ("Patience...|Création du fichier binaire  p.bin ...", (*ui.progress)[0].text);
    EXPECT_EQ(1, (*ui.progress)[1].a);  // range 1 .. 100
    EXPECT_EQ(100, (*ui.progress)[1].b);
    EXPECT_EQ(30, StepsOf(ui));
    EXPECT_EQ("destroy", ui.progress->back().call);
    EXPECT_FALSE(g.loaded);
    EXPECT_FALSE(g.BinaryFileOpen());
    EXPECT_EQ((std::vector<std::string>{"p.mnt", "p.xml"}), folder.Files());

    // Next time the conversion runs to its end.
    ScriptedInterface patient;
    CGrille h;
    h.header.NAME = "p.mnt";
    EXPECT_EQ("", OpenMessage(h, ModeSurDisque, patient));
    EXPECT_EQ(100, StepsOf(patient));
    EXPECT_EQ((std::vector<std::string>{"p.bin", "p.mnt", "p.xml"}), folder.Files());
}

TEST(BinaryCache, TruncatedGridsAreRefused) {
    GridFolder folder;
    GridFolder::Write("court.mnt", "0 2 0 1 1 1 4 0 1 0 0\n1 2 3\n4 5\n");
    GridFolder::Write("court.xml", BilinearXml());
    for (int mode : {ModeSurDisque, ModeEnMemoire}) {
        CGrille g;
        g.header.NAME = "court.mnt";
        // The message names the text file that ends early, also when a cache was being made.
        EXPECT_EQ("Grille incomplète :\ncourt.mnt\n(5 noeuds lus sur 6 attendus)",
                  OpenMessage(g, mode));
        EXPECT_FALSE(g.loaded);
    }
    EXPECT_EQ((std::vector<std::string>{"court.mnt", "court.xml"}), folder.Files());

    // A cache shorter than its header announces.
    GridFolder::Write("entier.mnt", "0 2 0 1 1 1 4 0 1 0 0\n1 2 3\n4 5 6\n");
    GridFolder::Write("entier.xml", BilinearXml());
    CGrille whole;
    whole.header.NAME = "entier.mnt";
    ASSERT_EQ("", OpenMessage(whole, ModeSurDisque));
    whole.Fermer();
    std::string cache = GridFolder::Read("entier.bin");
    const size_t full = cache.size();
    cache.resize(full - 3);
    GridFolder::Write("entier.bin", cache);
    CGrille shortCache;
    shortCache.header.NAME = "entier.bin";
    EXPECT_EQ("Grille incomplète :\nentier.bin\n(" + std::to_string(full - 3) +
                  " octets au lieu de " + std::to_string(full) + " attendus)",
              OpenMessage(shortCache, ModeSurDisque));
    EXPECT_FALSE(shortCache.BinaryFileOpen());

    // The XML header that the text grid and its cache share may name the text
    // format: the short cache is still refused, through either name.
    GridFolder::Write("entier.xml", XmlHeader("<GRID_TYPE>Grille texte PLENAR</GRID_TYPE>"
                                              "<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"));
    for (const char* name : {"entier.bin", "entier.mnt"}) {
        CGrille named;
        named.header.NAME = name;
        EXPECT_EQ("Grille incomplète :\nentier.bin\n(" + std::to_string(full - 3) +
                      " octets au lieu de " + std::to_string(full) + " attendus)",
                  OpenMessage(named, ModeSurDisque))
            << name;
        EXPECT_FALSE(named.loaded) << name;
    }
}

TEST(BinaryCache, DamagedCacheHeaders) {
    GridFolder folder;
    GridFolder::Write("x.xml", BilinearXml());
    GridFolder::Write("x.bin", std::string("GRIB\0\3\0\0\0", 9));
    ScriptedInterface ui;
    CGrille g;
    g.header.NAME = "x.bin";
    EXPECT_EQ("Problème dans l'en-tête de\nx.bin (position 2)",
              OpenMessage(g, ModeSurDisque, ui));
    ASSERT_EQ(1u, ui.messages.size());
    EXPECT_EQ("Mot-clé imprévu : GRIB\n(x.bin)", ui.messages[0].text);
    EXPECT_EQ(ScriptedInterface::Kind::Error, ui.messages[0].kind);

    GridFolder::Write("x.bin", std::string("GRID\0\3\0\0\0\0\0", 11));
    EXPECT_EQ("En-tête du fichier binaire endommagé :\nx.bin", OpenMessage(g, ModeSurDisque));
}

TEST(BinaryCache, PositionedReadsWhenTheFileIsNotMapped) {
    GridFolder folder;
    GridFolder::Write("petite.mnt", kSmallGrid);
    GridFolder::Write("petite.xml", BilinearXml());
    CGrille g;
    g.header.NAME = "petite.mnt";
    ASSERT_EQ("", OpenMessage(g, ModeSurDisque));
    auto file = GridBinaryFile::Open("petite.bin", false);
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->Mapped());
    unsigned char record[12];
    ASSERT_TRUE(file->Read(g.header.firstRecordOffset + 5 * 12, record, 12));
    EXPECT_EQ(6.5, LoadReal8LE(record));
    EXPECT_EQ(23, LoadInt32LE(record + 8));
    EXPECT_FALSE(file->Read(g.header.firstRecordOffset + 5 * 12 + 1, record, 12));
}

TEST(GridModel, PrecisionClassesAndDeviations) {
    CGrille g;
    g.header.MAJOR_F = 6378137;
    g.header.SQ_EXC_F = 0.00669438002290;
    const double phi = 46 * 3.141592653589793 / 180;
    const double w = std::sqrt(1 - g.header.SQ_EXC_F * std::sin(phi) * std::sin(phi));
    const double N = g.header.MAJOR_F / w;
    const double M = g.header.MAJOR_F * (1 - g.header.SQ_EXC_F) / (w * w * w);
    double dlon = -1, dlat = -1;
    g.Precision_Vers_Ecarts(4, phi, dlon, dlat);
    EXPECT_NEAR(0.5 / std::sqrt(2.0) / (N * std::cos(phi)), dlon, 1e-18);
    EXPECT_NEAR(0.5 / std::sqrt(2.0) / M, dlat, 1e-18);
    g.Precision_Vers_Ecarts(7, phi, dlon, dlat);  // no class
    EXPECT_EQ(0, dlon);
    EXPECT_EQ(0, dlat);

    // Each class's own deviations give the class back.
    for (int code : {1, 2, 3, 4, 10, 5, 6}) {
        g.Precision_Vers_Ecarts(code, phi, dlon, dlat);
        int back = 0;
        g.Ecarts_Vers_Precision(back, phi, dlon * 0.999, dlat * 0.999);
        EXPECT_EQ(code, back);
    }
    int code = 0;
    g.Ecarts_Vers_Precision(code, phi, 0, 5.01 / M);
    EXPECT_EQ(99, code);
    g.Ecarts_Vers_Precision(code, phi, 0, 0.05 / M);
    EXPECT_EQ(1, code);
    g.Ecarts_Vers_Precision(code, phi, 0, 0.051 / M);
    EXPECT_EQ(2, code);
}
