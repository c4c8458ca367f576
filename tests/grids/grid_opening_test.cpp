#include <gtest/gtest.h>

#include <filesystem>

#include "grid_test_support.h"
#include "grids/grid.h"

namespace {

// A header that passes every check: 11 x 6 nodes, bilinear.
CGrille SoundHeader() {
    CGrille g;
    g.header.NAME = "g.mnt";
    g.header.LAYOUT = SW2E2N;
    g.header.X_MIN = 0, g.header.X_MAX = 10, g.header.X_INC = 1, g.header.N_COLUMNS = 11;
    g.header.Y_MIN = 40, g.header.Y_MAX = 45, g.header.Y_INC = 1, g.header.N_LINES = 6;
    g.header.VALUES_NUMBER = 1;
    g.header.VALUES_TYPE = Real8;
    g.header.INTERPOLATION_TYPE = Bilineaire;
    return g;
}

}  // namespace

TEST(Verifier, EveryCheckMessage) {
    CGrille g = SoundHeader();
    EXPECT_EQ("", g.header.Verifier(false));

    g.header.LAYOUT = 9;
    EXPECT_EQ("g.mnt :\n+ Type de rangement imprévu : 9\n", g.header.Verifier(false));
    g = SoundHeader();
    g.header.X_MAX = g.header.X_MIN;
    g.header.Y_MAX = 39;
    g.header.N_COLUMNS = 1;
    g.header.N_LINES = 0;
    EXPECT_EQ("g.mnt :\n+ XMin >= XMax\n+ YMin >= YMax\n+ Emprise de la grille non valide\n",
              g.header.Verifier(false));

    g = SoundHeader();
    g.header.Y_MAX = 95, g.header.N_LINES = 56;
    EXPECT_EQ("g.mnt :\n+ Emprise de la grille non valide\n", g.header.Verifier(false));
    g.header.NODE_COORD_UNIT = UniteSecondes;  // 95 seconds of latitude is fine
    EXPECT_EQ("", g.header.Verifier(false));
    g.header.NODE_COORD_UNIT = UniteMetres;  // no bounds in metres
    g.header.Y_MAX = 1e6, g.header.Y_MIN = 0, g.header.Y_INC = 1e5, g.header.N_LINES = 11;
    EXPECT_EQ("", g.header.Verifier(false));

    g = SoundHeader();
    g.header.X_INC = 0;
    EXPECT_EQ(
        "g.mnt :\n+ Pas non valide\n+ Incohérence des limites, pas et nombre de lignes et de "
        "colonnes\n"
        "+ Ajustez mieux les limites et les pas de votre grille\n",
        g.header.Verifier(false));

    // 11 columns over 10.5 steps: both the counts line and the adjusting line.
    g = SoundHeader();
    g.header.X_MAX = 10.5;
    EXPECT_EQ(
        "g.mnt :\n+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"
        "+ Ajustez mieux les limites et les pas de votre grille\n",
        g.header.Verifier(false));
    // The lines are tested only when the columns passed: one such line at most.
    g.header.N_LINES = 7;
    EXPECT_EQ(
        "g.mnt :\n+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"
        "+ Ajustez mieux les limites et les pas de votre grille\n",
        g.header.Verifier(false));
    g = SoundHeader();
    g.header.N_LINES = 7;
    EXPECT_EQ(
        "g.mnt :\n+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"
        "+ Ajustez mieux les limites et les pas de votre grille\n",
        g.header.Verifier(false));
    // A step within 1e-5 of the limits is adjusted enough.
    g = SoundHeader();
    g.header.X_MAX = 10.000005;
    EXPECT_EQ("", g.header.Verifier(false));

    g = SoundHeader();
    g.header.VALUES_TYPE = TypeValIndefini;
    g.header.INTERPOLATION_TYPE = ValeurNoeud;
    EXPECT_EQ(
        "g.mnt :\n+ TypeVal non initialisé\n+ Le type d'interpolation doit être bilinéaire ou "
        "spline\n",
        g.header.Verifier(false));
    g.header.VALUES_TYPE = Real8;
    g.header.INTERPOLATION_TYPE = Spline;
    g.header.INTERPOLATION_ORDER = 0;
    EXPECT_EQ("g.mnt :\n+ Pour une interpolation spline, l'ordre doit être >= 4\n",
              g.header.Verifier(false));
    g.header.INTERPOLATION_ORDER = 4;
    EXPECT_EQ("", g.header.Verifier(false));

    g.header.VALUES_NUMBER = 0;
    EXPECT_EQ("g.mnt :\n+ Nombre de valeurs par noeud non valide : 0\n", g.header.Verifier(false));

    g = SoundHeader();
    g.header.NAME = "";
    g.header.LAYOUT = 0;
    EXPECT_EQ("+ Type de rangement imprévu : 0\n", g.header.Verifier(false));
}

TEST(Verifier, Normalisation) {
    CGrille g = SoundHeader();
    g.header.EAST_TO_WEST = 1;
    g.header.X_MIN = -10, g.header.X_MAX = 0;  // westward bounds of the file
    g.header.INC_UNIT = UniteSecondes;
    g.header.X_INC = 3600, g.header.Y_INC = 3600;
    EXPECT_EQ("", g.header.Verifier(true));
    EXPECT_EQ(0, g.header.X_MIN);
    EXPECT_EQ(10, g.header.X_MAX);
    EXPECT_EQ(1, g.header.X_INC);
    EXPECT_EQ(1, g.header.Y_INC);
    EXPECT_EQ(UniteSecondes, g.header.INC_UNIT);  // the unit itself stays

    g = SoundHeader();
    g.header.X_MIN = 355, g.header.X_MAX = 365;
    EXPECT_EQ("", g.header.Verifier(true));
    EXPECT_EQ(-5, g.header.X_MIN);
    EXPECT_EQ(5, g.header.X_MAX);
    g.header.X_MIN = 355, g.header.X_MAX = 365;
    EXPECT_EQ("g.mnt :\n+ Emprise de la grille non valide\n", g.header.Verifier(false));
}

TEST(Ouvrir, MessagesBeforeTheHeader) {
    GridFolder folder;
    CGrille g;
    g.header.NAME = "";
    EXPECT_EQ("Le nom du fichier de grille n'est pas initialisé", OpenMessage(g));
    g.header.NAME = "absente.mnt";
    EXPECT_EQ("Impossible d'ouvrir le fichier \nabsente.mnt", OpenMessage(g));
    GridFolder::Write("g.Mnt", "0 1 0 1 1 1 4 0 1 0 0\n1 2\n3 4\n");
    g.header.NAME = "g.Mnt";
    EXPECT_EQ("TypeGrille non initialisé", OpenMessage(g));
    GridFolder::Write("g.MNT", "0 1 0 1 1 1 4 0 1 0 0\n1 2\n3 4\n");
    g.header.NAME = "g.MNT";
    EXPECT_EQ("g.MNT :\n+ Le type d'interpolation doit être bilinéaire ou spline\n", OpenMessage(g));
}

TEST(Ouvrir, HeaderProblemsAndTheXmlHint) {
    GridFolder folder;
    CGrille g;
    g.header.NAME = "g.mnt";
    GridFolder::Write("g.mnt", "0 1 0 1 1 1 4 0\n");
    EXPECT_EQ("Problème dans l'en-tête de\ng.mnt (position 17)", OpenMessage(g));
    GridFolder::Write("g.mnt", "0 1 0 1 1 1 4 0 x 0 0\n");
    EXPECT_EQ("Entier attendu dans : \n0 1 0 1 1 1 4 0 x 0 0\n\n(peu avant la position 18",
              OpenMessage(g));
    GridFolder::Write("g.mnt", std::string(257, '1') + "\n");
    EXPECT_EQ(std::string::npos, OpenMessage(g).find("trop longue"));
    GridFolder::Write("g.mnt", std::string(258, '1') + "\n");
    EXPECT_EQ("g.mnt :\nLa ligne d'en-tête est trop longue (258 char max)", OpenMessage(g));

    // A sound header without XML header: the interpolation line alone, no hint.
    GridFolder::Write("g.mnt", "0 1 0 1 1 1 4 0 1 0 0\n1 2\n3 4\n");
    EXPECT_EQ("g.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n", OpenMessage(g));
    // With an XML header asking for a spline of order 3: the hint follows.
    GridFolder::Write("g.xml", XmlHeader("<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>"
                                         "<INTERPOLATION_ORDER>3</INTERPOLATION_ORDER>"));
    EXPECT_EQ(
        "g.mnt :\n+ Pour une interpolation spline, l'ordre doit être >= 4\n\n(cf fichier XML le "
        "cas échéant)",
        OpenMessage(g));
    GridFolder::Write("g.xml", XmlHeader("<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>"
                                         "<X_INC>UNDEFINED</X_INC>"
                                         "<INTERPOLATION_ORDER>4</INTERPOLATION_ORDER>"));
    EXPECT_EQ(0u, OpenMessage(g).find("g.mnt :\n+ Pas non valide\n"));
    GridFolder::Write("g.xml", XmlHeader("<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>"
                                         "<INTERPOLATION_ORDER>4</INTERPOLATION_ORDER>"));
    EXPECT_EQ("", OpenMessage(g));
    EXPECT_FALSE(g.BinaryFileOpen());  // mode 2 leaves no file open
    EXPECT_FALSE(g.loaded);
    EXPECT_EQ(2, g.header.N_COLUMNS);

    // A binary NTv2 file too short for its first record.
    GridFolder::Write("n.gsb", "NUM_OREC");
    g.header.NAME = "n.gsb";
    EXPECT_EQ("Grille non NTV2", OpenMessage(g));
}

TEST(Ouvrir, ModesAndFiles) {
    GridFolder folder;
    GridFolder::Write("g.mnt", "0 1 0 1 1 1 4 0 1 0 0\n1 2\n3 4\n");
    GridFolder::Write("g.xml", BilinearXml());
    CGrille header;
    header.header.NAME = "g.mnt";
    EXPECT_EQ("", OpenMessage(header, ModeEnTete));
    EXPECT_FALSE(header.BinaryFileOpen());
    EXPECT_FALSE(GridFolder::Exists("g.bin"));

    CGrille disk;
    disk.header.NAME = "g.mnt";
    EXPECT_EQ("", OpenMessage(disk, ModeSurDisque));
    EXPECT_TRUE(disk.BinaryFileOpen());
    disk.Fermer();
    EXPECT_FALSE(disk.BinaryFileOpen());
    EXPECT_TRUE(disk.header.TRANSLATION.empty());
    EXPECT_TRUE(disk.loaded);  // the flag stays; values now read as zeros
    double v = 9;
    int code = 9;
    disk.Lire_Noeud(0, 0, &v, code);
    EXPECT_EQ(0, v);

    // A binary grid in mode 2: header only, and no file left open.
    CGrille bin;
    bin.header.NAME = "g.bin";
    EXPECT_EQ("", OpenMessage(bin, ModeEnTete));
    EXPECT_FALSE(bin.BinaryFileOpen());

    // Mode 1 on a binary grid still reads from its file.
    CGrille binMemory;
    binMemory.header.NAME = "g.bin";
    EXPECT_EQ("", OpenMessage(binMemory, ModeEnMemoire));
    EXPECT_TRUE(binMemory.onDisk && binMemory.BinaryFileOpen());
    binMemory.Lire_Noeud(1, 1, &v, code);
    EXPECT_EQ(4, v);

    // Copies of an open grid share its file and answer alike.
    CGrille copy = binMemory;
    binMemory.Fermer();
    copy.Lire_Noeud(1, 0, &v, code);
    EXPECT_EQ(2, v);
}

TEST(Ouvrir, CacheHeaderIsNormalisedOnce) {
    GridFolder folder;
    // Westward limits and steps in seconds of arc, said by the XML header only.
    GridFolder::Write("w.mnt", "2 3 0 0.5 3600 1800 4 0 1 0 0\n1 2\n3 4\n");
    GridFolder::Write("w.xml",
                      XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                "<N_COLUMNS>2</N_COLUMNS><N_LINES>2</N_LINES>"
                                "<INC_UNIT>SECONDS</INC_UNIT><EAST_TO_WEST>YES</EAST_TO_WEST>"));
    CGrille g;
    g.header.NAME = "w.mnt";
    EXPECT_EQ("", OpenMessage(g, ModeSurDisque));
    EXPECT_EQ("w.bin", g.header.NAME);
    EXPECT_EQ(-3, g.header.X_MIN);
    EXPECT_EQ(-2, g.header.X_MAX);
    EXPECT_EQ(1, g.header.X_INC);
    EXPECT_EQ(0.5, g.header.Y_INC);
    double v = 0;
    int code = 0;
    const double p[3] = {-2.5, 0.25, 0};
    EXPECT_EQ(0, g.Interpoler(UniteDegres, p, &v, code));
    EXPECT_DOUBLE_EQ(2.5, v);

    // The cache opened by its own name later on: the same grid.
    CGrille again;
    again.header.NAME = "w.bin";
    EXPECT_EQ("", OpenMessage(again, ModeSurDisque));
    EXPECT_EQ(-3, again.header.X_MIN);
    EXPECT_EQ(-2, again.header.X_MAX);
    EXPECT_EQ(1, again.header.X_INC);

    // Limits that the XML header gives itself are its own, westward.
    GridFolder::Write("w.xml", XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                         "<X_MIN>2</X_MIN><X_MAX>3</X_MAX>"
                                         "<EAST_TO_WEST>YES</EAST_TO_WEST>"));
    CGrille own;
    own.header.NAME = "w.bin";
    EXPECT_EQ("", OpenMessage(own, ModeSurDisque));
    EXPECT_EQ(-3, own.header.X_MIN);
    EXPECT_EQ(-2, own.header.X_MAX);
}

TEST(Ouvrir, ZonesOfTheTwoKinds) {
    GridFolder folder;
    GridFolder::Write("v.mnt", "-1 1 44 45 1 0.5 4 0 1 0 0\n1 2 3\n3 4 5\n5 6 7\n");
    GridFolder::Write("v.xml", BilinearXml());
    CGrille1D vertical;
    vertical.header.NAME = "v.mnt";
    vertical.zone.systemKey = 7;
    vertical.zone.unit = Grade;
    std::string message;
    EXPECT_TRUE(vertical.Ouvrir(message, ModeEnTete)) << message;
    EXPECT_EQ(DecimalDegree, vertical.zone.unit);
    EXPECT_EQ(-1, vertical.zone.southWest.longitude);
    EXPECT_EQ(44, vertical.zone.southWest.latitude);
    EXPECT_EQ(1, vertical.zone.northEast.longitude);
    EXPECT_EQ(45, vertical.zone.northEast.latitude);
    EXPECT_EQ(7, vertical.zone.systemKey);

    std::string nodes;
    for (int s = 0; s < 9 * 3; ++s) nodes += "1.5 ";
    GridFolder::Write("t.mnt", "-3600 3600 162000 165600 3600 1800 4 0 3 0 0 0 0\n" + nodes + "\n");
    GridFolder::Write(
        "t.xml",
        XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                  "<NODE_COORD_UNIT>SECONDS</NODE_COORD_UNIT><INC_UNIT>SECONDS</INC_UNIT>"));
    CGrille3D translation;
    translation.header.NAME = "t.mnt";
    EXPECT_TRUE(translation.Ouvrir(message, ModeEnTete)) << message;
    EXPECT_EQ(-1, translation.zone.southWest.longitude);
    EXPECT_EQ(45, translation.zone.southWest.latitude);
    EXPECT_EQ(1, translation.zone.northEast.longitude);
    EXPECT_EQ(46, translation.zone.northEast.latitude);

    // The zone is set even when the opening fails.
    CGrille3D missing;
    missing.header.NAME = "absente.mnt";
    missing.header.X_MAX = 3;
    EXPECT_FALSE(missing.Ouvrir(message, ModeEnTete));
    EXPECT_EQ(3, missing.zone.northEast.longitude);
}

// A grid named relative to its folder is opened there, whatever the current
// directory, which the opening leaves as it was; its cache is made beside it;
// the messages name the file as it was given.
TEST(Ouvrir, FilesOfTheGridFolder) {
    GridFolder current;  // the current directory, which must stay empty
    const std::filesystem::path before = std::filesystem::current_path();
    TempDir dir;
    dir.Write("g.mnt", "0.0 2.0 45.0 46.0 1.0 1.0 4 0 1 0 0 Grille\n1 2 3\n4 5 6\n");
    dir.Write("g.xml", BilinearXml());
    dir.Write("h.mnt", "0.0 2.0 45.0 46.0 1.0 1.0 4 0 1 0 0 Grille\n1 2 3\n4 5 6\n");
    dir.Write("h.xml", "<GRID_HEADER><INTERPOLATION_TYPE>");
    const struct {
        std::string folder, name, message;
    } cases[] = {
        {dir.path() + "/", "g.mnt", ""},
        {dir.path(), "g.mnt", ""},  // a folder without its last slash
        {"/nulle/part/", dir.File("g.mnt"), ""},  // an absolute name needs no folder
        {dir.path(), "absente.mnt", "Impossible d'ouvrir le fichier \nabsente.mnt"},
        {dir.path(), "h.mnt",
         "h.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n\n"
         "Fichier h.xml non chargé.\nUne piste : l'élément CDATA n'est pas supporté."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder + " " + c.name);
        std::filesystem::remove(dir.File("g.bin"));
        CGrille g;
        g.folder = c.folder;
        g.header.NAME = c.name;
        EXPECT_EQ(c.message, OpenMessage(g, ModeSurDisque));
        if (c.message.empty()) {
            EXPECT_TRUE(std::filesystem::exists(dir.File("g.bin")));
            double v = 0;
            int code = 0;
            g.Lire_Noeud(2, 1, &v, code);
            EXPECT_EQ(6, v);
        }
        EXPECT_TRUE(current.Files().empty());
        EXPECT_EQ(before, std::filesystem::current_path());
    }
}
