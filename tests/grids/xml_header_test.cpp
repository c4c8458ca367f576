#include <gtest/gtest.h>

#include "grid_test_support.h"
#include "grids/grid.h"
#include "grids/xml_header.h"

namespace {

CGrille Described() {
    CGrille g;
    g.NAME = "ntf.mnt";
    g.GRID_TYPE = GrilleTextePlenar;
    g.ORIGIN = "IGN & SHOM <France>";
    g.CREATED = "2024";
    g.VERSION = "v1.2";
    g.KEY = "clé";
    g.LAYOUT = NE2S2W;
    g.N_NODES = 12;
    g.N_COLUMNS = 4;
    g.N_LINES = 3;
    g.X_INC = 0.1;
    g.Y_INC = 0.125;
    g.X_MIN = -5.5;
    g.X_MAX = -5.2;
    g.Y_MIN = 41;
    g.Y_MAX = 41.25;
    g.NODE_COORD_TYPE = CoordonneesLonLat;
    g.INC_UNIT = UniteSecondes;
    g.NODE_COORD_UNIT = UniteRadians;
    g.NODE_COORD_WRITTEN = 1;
    g.EAST_TO_WEST = 0;
    g.VALUES_LOCATION = 1;
    g.SEP = 0;
    g.VALUES_NUMBER = 3;
    g.CODE_PREC = 1;
    g.VALUES_TYPE = Real4;
    g.VALUE_UNK = -9999;
    g.VALUE_UNK_TO_ZERO = 1;
    g.TRANSLATION = {-168, -60, 320};
    g.VALUES_MIN = -1.5;
    g.VALUES_MAX = 2.5;
    g.VALUES_UNIT = UniteSecondes;
    g.INTERPOLATION_TYPE = Spline;
    g.INTERPOLATION_ORDER = 6;
    g.CRS_CODE_F = "IGNF:NTF";
    g.SYSTEM_F = "NTF";
    g.MAJOR_F = 6378249.2;
    g.MINOR_F = 6356515;
    g.SQ_EXC_F = 0.006803487646;
    g.CRS_CODE_T = "IGNF:RGF93";
    g.SYSTEM_T = "RGF93";
    g.MAJOR_T = 6378137;
    g.MINOR_T = 6356752.3141;
    g.SQ_EXC_T = 0.006694380023;
    g.NODE_COORD_SYST = 3;
    g.SHIFT_TYPE = 1;
    return g;
}

void ExpectSameHeader(const CGrille& a, const CGrille& b) {
    EXPECT_EQ(a.GRID_TYPE, b.GRID_TYPE);
    EXPECT_EQ(a.ORIGIN, b.ORIGIN);
    EXPECT_EQ(a.CREATED, b.CREATED);
    EXPECT_EQ(a.VERSION, b.VERSION);
    EXPECT_EQ(a.KEY, b.KEY);
    EXPECT_EQ(a.LAYOUT, b.LAYOUT);
    EXPECT_EQ(a.N_NODES, b.N_NODES);
    EXPECT_EQ(a.N_COLUMNS, b.N_COLUMNS);
    EXPECT_EQ(a.N_LINES, b.N_LINES);
    EXPECT_DOUBLE_EQ(a.X_INC, b.X_INC);
    EXPECT_DOUBLE_EQ(a.Y_INC, b.Y_INC);
    EXPECT_DOUBLE_EQ(a.X_MIN, b.X_MIN);
    EXPECT_DOUBLE_EQ(a.X_MAX, b.X_MAX);
    EXPECT_DOUBLE_EQ(a.Y_MIN, b.Y_MIN);
    EXPECT_DOUBLE_EQ(a.Y_MAX, b.Y_MAX);
    EXPECT_EQ(a.NODE_COORD_TYPE, b.NODE_COORD_TYPE);
    EXPECT_EQ(a.INC_UNIT, b.INC_UNIT);
    EXPECT_EQ(a.NODE_COORD_UNIT, b.NODE_COORD_UNIT);
    EXPECT_EQ(a.NODE_COORD_WRITTEN, b.NODE_COORD_WRITTEN);
    EXPECT_EQ(a.EAST_TO_WEST, b.EAST_TO_WEST);
    EXPECT_EQ(a.VALUES_LOCATION, b.VALUES_LOCATION);
    EXPECT_EQ(a.SEP, b.SEP);
    EXPECT_EQ(a.VALUES_NUMBER, b.VALUES_NUMBER);
    EXPECT_EQ(a.CODE_PREC, b.CODE_PREC);
    EXPECT_EQ(a.VALUES_TYPE, b.VALUES_TYPE);
    EXPECT_EQ(a.VALUE_UNK, b.VALUE_UNK);
    EXPECT_EQ(a.VALUE_UNK_TO_ZERO, b.VALUE_UNK_TO_ZERO);
    EXPECT_EQ(a.TRANSLATION, b.TRANSLATION);
    EXPECT_EQ(a.VALUES_MIN, b.VALUES_MIN);
    EXPECT_EQ(a.VALUES_MAX, b.VALUES_MAX);
    EXPECT_EQ(a.VALUES_UNIT, b.VALUES_UNIT);
    EXPECT_EQ(a.INTERPOLATION_TYPE, b.INTERPOLATION_TYPE);
    EXPECT_EQ(a.INTERPOLATION_ORDER, b.INTERPOLATION_ORDER);
    EXPECT_EQ(a.CRS_CODE_F, b.CRS_CODE_F);
    EXPECT_EQ(a.SYSTEM_F, b.SYSTEM_F);
    EXPECT_NEAR(a.MAJOR_F, b.MAJOR_F, 1e-4);
    EXPECT_NEAR(a.MINOR_F, b.MINOR_F, 1e-4);
    EXPECT_NEAR(a.SQ_EXC_F, b.SQ_EXC_F, 1e-12);
    EXPECT_EQ(a.CRS_CODE_T, b.CRS_CODE_T);
    EXPECT_EQ(a.SYSTEM_T, b.SYSTEM_T);
    EXPECT_NEAR(a.MAJOR_T, b.MAJOR_T, 1e-4);
    EXPECT_NEAR(a.MINOR_T, b.MINOR_T, 1e-4);
    EXPECT_NEAR(a.SQ_EXC_T, b.SQ_EXC_T, 1e-12);
    EXPECT_EQ(a.NODE_COORD_SYST, b.NODE_COORD_SYST);
    EXPECT_EQ(a.SHIFT_TYPE, b.SHIFT_TYPE);
}

}  // namespace

TEST(XmlHeader, WrittenHeaderReadsBack) {
    GridFolder folder;
    const CGrille written = Described();
    written.Ecrire_Xml("");  // beside the grid: ntf.xml
    ASSERT_TRUE(GridFolder::Exists("ntf.xml"));
    CGrille read;
    read.NAME = "ntf.mnt";
    EXPECT_EQ("", Lire_Xml(read, ""));
    ExpectSameHeader(written, read);
    EXPECT_EQ(4, read.valueSize);       // the value size follows the type read
    EXPECT_EQ("UNDEFINED", read.DESC);  // neither NAME nor DESC is written

    const std::string text = GridFolder::Read("ntf.xml");
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<GRID_HEADER>\r\n"
                            "\t<GRID_TYPE>Grille texte PLENAR</GRID_TYPE>\r\n"
                            "\t<ORIGIN>IGN &amp; SHOM &lt;France&gt;</ORIGIN>\r\n"));
    for (const char* line :
         {"\t<KEY>cl\xE9</KEY>\r\n", "\t<LAYOUT>NE2S2W</LAYOUT>\r\n",
          "\t<X_INC>0.100000000000000</X_INC>\r\n", "\t<X_MIN>-5.500000000000000</X_MIN>\r\n",
          "\t<VALUES_LOCATION>PIXEL_CENTER</VALUES_LOCATION>\r\n",
          "\t<VALUE_UNK>-9999</VALUE_UNK>\r\n", "\t<TRANSLATION>-168,-60,320</TRANSLATION>\r\n",
          "\t<VALUES_TYPE>REAL4</VALUES_TYPE>\r\n", "\t<MAJOR_F>6378249.2000</MAJOR_F>\r\n",
          "\t<SQ_EXC_F>0.006803487646</SQ_EXC_F>\r\n",
          "\t<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>\r\n"}) {
        EXPECT_NE(std::string::npos, text.find(line)) << line;
    }
    EXPECT_EQ(text.size() - 16, text.rfind("</GRID_HEADER>\r\n"));
}

TEST(XmlHeader, NamedFormOfEmptyAndWestwardFields) {
    GridFolder folder;
    CGrille g;
    g.EAST_TO_WEST = 1;
    g.X_MIN = -10;
    g.X_MAX = 20;
    g.Ecrire_Xml("w.xml");
    const std::string text = GridFolder::Read("w.xml");
    for (const char* line :
         {"\t<X_INC>UNDEFINED</X_INC>", "\t<VALUES_NUMBER>UNDEFINED</VALUES_NUMBER>",
          "\t<INTERPOLATION_ORDER>UNDEFINED</INTERPOLATION_ORDER>",
          "\t<MAJOR_T>UNDEFINED</MAJOR_T>", "\t<VALUES_LOCATION>NODE</VALUES_LOCATION>",
          "\t<X_MIN>-20.000000000000000</X_MIN>", "\t<X_MAX>10.000000000000000</X_MAX>",
          "\t<CRS_CODE_F>VEXALF:WGS84G</CRS_CODE_F>"}) {
        EXPECT_NE(std::string::npos, text.find(line)) << line;
    }
    EXPECT_EQ(std::string::npos, text.find("<TRANSLATION>"));  // no values, no translation
    EXPECT_EQ(std::string::npos, text.find("<NAME>"));
}

TEST(XmlHeader, NumericForm) {
    GridFolder folder;
    CGrille g = Described();
    g.DESC = "Grille NTF -> RGF93";
    g.VALUE_UNK = -9999.75;
    g.Ecrire_Xml_Numerique("n.xml");
    const std::string text = GridFolder::Read("n.xml");
    for (const char* line :
         {"\t<NAME>ntf.mnt</NAME>\r\n", "\t<DESC>Grille NTF -&gt; RGF93</DESC>\r\n",
          "\t<X_INC>0.100000</X_INC>\r\n", "\t<VALUES_LOCATION>YES</VALUES_LOCATION>\r\n",
          "\t<VALUES_TYPE>3</VALUES_TYPE>\r\n", "\t<VALUE_UNK>-9999</VALUE_UNK>\r\n",
          "\t<TRANSLATION>-168.000000,-60.000000,320.000000</TRANSLATION>\r\n",
          "\t<INTERPOLATION_TYPE>4</INTERPOLATION_TYPE>\r\n",
          "\t<MINOR_T>6356752.3141</MINOR_T>\r\n", "\t<SHIFT_TYPE>1</SHIFT_TYPE>\r\n"}) {
        EXPECT_NE(std::string::npos, text.find(line)) << line;
    }
    // Read back, the two numeric enumerations are not names: unchanged.
    CGrille read;
    read.NAME = "";
    EXPECT_EQ("", Lire_Xml(read, "n.xml"));
    EXPECT_EQ(TypeValIndefini, read.VALUES_TYPE);
    EXPECT_EQ(InterpolationIndefinie, read.INTERPOLATION_TYPE);
    EXPECT_EQ("ntf.mnt", read.NAME);  // taken because the grid had no name
    EXPECT_EQ("Grille NTF -> RGF93", read.DESC);
    EXPECT_EQ(0, read.VALUES_LOCATION);  // "YES" is not "PIXEL_CENTER"

    // Without a path nothing is written.
    g.Ecrire_Xml_Numerique("");
    EXPECT_EQ((std::vector<std::string>{"n.xml"}), folder.Files());
}

TEST(XmlHeader, FailureTexts) {
    GridFolder folder;
    CGrille g;
    g.NAME = "absente.mnt";
    EXPECT_EQ("Fichier absente.xml introuvable", Lire_Xml(g, ""));
    GridFolder::Write("casse.xml", "<GRID_HEADER><X_MIN>1</GRID_HEADER>");
    EXPECT_EQ("Fichier casse.xml non chargé.\nUne piste : l'élément CDATA n'est pas supporté.",
              Lire_Xml(g, "casse.xml"));
    GridFolder::Write("autre.xml", "<?xml version=\"1.0\"?>\n<HEADER><X_MIN>1</X_MIN></HEADER>\n");
    EXPECT_EQ("Balise non trouvée : \n<GRID_HEADER>", Lire_Xml(g, "autre.xml"));
    EXPECT_EQ(0, g.X_MIN);
}

TEST(XmlHeader, ElementsCompleteOrOverride) {
    GridFolder folder;
    CGrille g;
    g.X_MIN = 3;
    g.LAYOUT = SW2E2N;
    GridFolder::Write("a.xml", XmlHeader("\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n"));
    EXPECT_EQ("", Lire_Xml(g, "a.xml"));
    EXPECT_EQ(Bilineaire, g.INTERPOLATION_TYPE);
    EXPECT_EQ(3, g.X_MIN);
    EXPECT_EQ(SW2E2N, g.LAYOUT);

    // Names are exact; "UNDEFINED" steps are 0; empty elements change nothing.
    GridFolder::Write("b.xml",
                      XmlHeader("<INTERPOLATION_TYPE>bilinear</INTERPOLATION_TYPE>"
                                "<X_INC>UNDEFINED</X_INC><Y_INC>0.5</Y_INC><X_MAX></X_MAX>"
                                "<LAYOUT>sw2e2n</LAYOUT><VALUES_LOCATION>NODE</VALUES_LOCATION>"
                                "<N_COLUMNS>12 colonnes</N_COLUMNS><N_LINES>douze</N_LINES>"
                                "<Y_MAX> 47.5°</Y_MAX><EAST_TO_WEST>oui</EAST_TO_WEST>"));
    g.X_INC = 1;
    g.X_MAX = 9;
    g.N_LINES = 5;
    g.VALUES_LOCATION = 1;
    EXPECT_EQ("", Lire_Xml(g, "b.xml"));
    EXPECT_EQ(Bilineaire, g.INTERPOLATION_TYPE);
    EXPECT_EQ(0, g.X_INC);
    EXPECT_EQ(0.5, g.Y_INC);
    EXPECT_EQ(9, g.X_MAX);
    EXPECT_EQ(SW2E2N, g.LAYOUT);
    EXPECT_EQ(0, g.VALUES_LOCATION);
    EXPECT_EQ(12, g.N_COLUMNS);  // the leading number of the text
    EXPECT_EQ(5, g.N_LINES);
    EXPECT_EQ(47.5, g.Y_MAX);
    EXPECT_EQ(0, g.EAST_TO_WEST);

    // TRANSLATION after VALUES_NUMBER, whatever the document's order;
    // missing items are 0.
    GridFolder::Write(
        "c.xml", XmlHeader("<TRANSLATION>1.5, -2,x</TRANSLATION><VALUES_NUMBER>4</VALUES_NUMBER>"));
    EXPECT_EQ("", Lire_Xml(g, "c.xml"));
    EXPECT_EQ((std::vector<double>{1.5, -2, 0, 0}), g.TRANSLATION);
}

TEST(XmlHeader, TextsCdataAndEncodings) {
    GridFolder folder;
    CGrille g;
    GridFolder::Write("l.xml", XmlHeader("<SYSTEM_F>Nouvelle Triangulation de la Fran\xE7"
                                         "aise</SYSTEM_F>"
                                         "<ORIGIN><![CDATA[IGN <service g\xE9od\xE9sie>]]></ORIGIN>"
                                         "<VERSION>" +
                                         std::string(300, 'v') +
                                         "</VERSION>"
                                         "<DESC>" +
                                         std::string(300, 'd') + "</DESC>"));
    EXPECT_EQ("", Lire_Xml(g, "l.xml"));
    EXPECT_EQ("Nouvelle Triangulation de la Française", g.SYSTEM_F);
    EXPECT_EQ("IGN <service géodésie>", g.ORIGIN);  // a CDATA section is text like any other
    EXPECT_EQ(std::string(259, 'v'), g.VERSION);
    EXPECT_EQ(std::string(300, 'd'), g.DESC);

    GridFolder::Write("u.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRID_HEADER><KEY>clé</KEY>"
                      "<ORIGIN><![CDATA[a<b]]></ORIGIN></GRID_HEADER>\n");
    EXPECT_EQ("", Lire_Xml(g, "u.xml"));
    EXPECT_EQ("clé", g.KEY);
    EXPECT_EQ("a<b", g.ORIGIN);
}
