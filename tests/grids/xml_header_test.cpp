#include <gtest/gtest.h>

#include "grid_test_support.h"
#include "grids/grid.h"
#include "grids/xml_header.h"

namespace {

CGrille Described() {
    CGrille g;
    g.header.NAME = "ntf.mnt";
    g.header.GRID_TYPE = GrilleTextePlenar;
    g.header.ORIGIN = "IGN & SHOM <France>";
    g.header.CREATED = "2024";
    g.header.VERSION = "v1.2";
    g.header.KEY = "clé";
    g.header.LAYOUT = NE2S2W;
    g.header.N_NODES = 12;
    g.header.N_COLUMNS = 4;
    g.header.N_LINES = 3;
    g.header.X_INC = 0.1;
    g.header.Y_INC = 0.125;
    g.header.X_MIN = -5.5;
    g.header.X_MAX = -5.2;
    g.header.Y_MIN = 41;
    g.header.Y_MAX = 41.25;
    g.header.NODE_COORD_TYPE = CoordonneesLonLat;
    g.header.INC_UNIT = UniteSecondes;
    g.header.NODE_COORD_UNIT = UniteRadians;
    g.header.NODE_COORD_WRITTEN = 1;
    g.header.EAST_TO_WEST = 0;
    g.header.VALUES_LOCATION = 1;
    g.header.SEP = 0;
    g.header.VALUES_NUMBER = 3;
    g.header.CODE_PREC = 1;
    g.header.VALUES_TYPE = Real4;
    g.header.VALUE_UNK = -9999;
    g.header.VALUE_UNK_TO_ZERO = 1;
    g.header.TRANSLATION = {-168, -60, 320};
    g.header.VALUES_MIN = -1.5;
    g.header.VALUES_MAX = 2.5;
    g.header.VALUES_UNIT = UniteSecondes;
    g.header.INTERPOLATION_TYPE = Spline;
    g.header.INTERPOLATION_ORDER = 6;
    g.header.CRS_CODE_F = "IGNF:NTF";
    g.header.SYSTEM_F = "NTF";
    g.header.MAJOR_F = 6378249.2;
    g.header.MINOR_F = 6356515;
    g.header.SQ_EXC_F = 0.006803487646;
    g.header.CRS_CODE_T = "IGNF:RGF93";
    g.header.SYSTEM_T = "RGF93";
    g.header.MAJOR_T = 6378137;
    g.header.MINOR_T = 6356752.3141;
    g.header.SQ_EXC_T = 0.006694380023;
    g.header.NODE_COORD_SYST = 3;
    g.header.SHIFT_TYPE = 1;
    return g;
}

void ExpectSameHeader(const CGrille& a, const CGrille& b) {
    EXPECT_EQ(a.header.GRID_TYPE, b.header.GRID_TYPE);
    EXPECT_EQ(a.header.ORIGIN, b.header.ORIGIN);
    EXPECT_EQ(a.header.CREATED, b.header.CREATED);
    EXPECT_EQ(a.header.VERSION, b.header.VERSION);
    EXPECT_EQ(a.header.KEY, b.header.KEY);
    EXPECT_EQ(a.header.LAYOUT, b.header.LAYOUT);
    EXPECT_EQ(a.header.N_NODES, b.header.N_NODES);
    EXPECT_EQ(a.header.N_COLUMNS, b.header.N_COLUMNS);
    EXPECT_EQ(a.header.N_LINES, b.header.N_LINES);
    EXPECT_DOUBLE_EQ(a.header.X_INC, b.header.X_INC);
    EXPECT_DOUBLE_EQ(a.header.Y_INC, b.header.Y_INC);
    EXPECT_DOUBLE_EQ(a.header.X_MIN, b.header.X_MIN);
    EXPECT_DOUBLE_EQ(a.header.X_MAX, b.header.X_MAX);
    EXPECT_DOUBLE_EQ(a.header.Y_MIN, b.header.Y_MIN);
    EXPECT_DOUBLE_EQ(a.header.Y_MAX, b.header.Y_MAX);
    EXPECT_EQ(a.header.NODE_COORD_TYPE, b.header.NODE_COORD_TYPE);
    EXPECT_EQ(a.header.INC_UNIT, b.header.INC_UNIT);
    EXPECT_EQ(a.header.NODE_COORD_UNIT, b.header.NODE_COORD_UNIT);
    EXPECT_EQ(a.header.NODE_COORD_WRITTEN, b.header.NODE_COORD_WRITTEN);
    EXPECT_EQ(a.header.EAST_TO_WEST, b.header.EAST_TO_WEST);
    EXPECT_EQ(a.header.VALUES_LOCATION, b.header.VALUES_LOCATION);
    EXPECT_EQ(a.header.SEP, b.header.SEP);
    EXPECT_EQ(a.header.VALUES_NUMBER, b.header.VALUES_NUMBER);
    EXPECT_EQ(a.header.CODE_PREC, b.header.CODE_PREC);
    EXPECT_EQ(a.header.VALUES_TYPE, b.header.VALUES_TYPE);
    EXPECT_EQ(a.header.VALUE_UNK, b.header.VALUE_UNK);
    EXPECT_EQ(a.header.VALUE_UNK_TO_ZERO, b.header.VALUE_UNK_TO_ZERO);
    EXPECT_EQ(a.header.TRANSLATION, b.header.TRANSLATION);
    EXPECT_EQ(a.header.VALUES_MIN, b.header.VALUES_MIN);
    EXPECT_EQ(a.header.VALUES_MAX, b.header.VALUES_MAX);
    EXPECT_EQ(a.header.VALUES_UNIT, b.header.VALUES_UNIT);
    EXPECT_EQ(a.header.INTERPOLATION_TYPE, b.header.INTERPOLATION_TYPE);
    EXPECT_EQ(a.header.INTERPOLATION_ORDER, b.header.INTERPOLATION_ORDER);
    EXPECT_EQ(a.header.CRS_CODE_F, b.header.CRS_CODE_F);
    EXPECT_EQ(a.header.SYSTEM_F, b.header.SYSTEM_F);
    EXPECT_NEAR(a.header.MAJOR_F, b.header.MAJOR_F, 1e-4);
    EXPECT_NEAR(a.header.MINOR_F, b.header.MINOR_F, 1e-4);
    EXPECT_NEAR(a.header.SQ_EXC_F, b.header.SQ_EXC_F, 1e-12);
    EXPECT_EQ(a.header.CRS_CODE_T, b.header.CRS_CODE_T);
    EXPECT_EQ(a.header.SYSTEM_T, b.header.SYSTEM_T);
    EXPECT_NEAR(a.header.MAJOR_T, b.header.MAJOR_T, 1e-4);
    EXPECT_NEAR(a.header.MINOR_T, b.header.MINOR_T, 1e-4);
    EXPECT_NEAR(a.header.SQ_EXC_T, b.header.SQ_EXC_T, 1e-12);
    EXPECT_EQ(a.header.NODE_COORD_SYST, b.header.NODE_COORD_SYST);
    EXPECT_EQ(a.header.SHIFT_TYPE, b.header.SHIFT_TYPE);
}

}  // namespace

TEST(XmlHeader, WrittenHeaderReadsBack) {
    GridFolder folder;
    const CGrille written = Described();
    Ecrire_Xml(written.header, "");  // beside the grid: ntf.xml
    ASSERT_TRUE(GridFolder::Exists("ntf.xml"));
    CGrille read;
    read.header.NAME = "ntf.mnt";
    EXPECT_EQ("", Lire_Xml(read.header, ""));
    ExpectSameHeader(written, read);
    EXPECT_EQ(4, read.header.valueSize);       // the value size follows the type read
    EXPECT_EQ("UNDEFINED", read.header.DESC);  // neither NAME nor DESC is written

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
    g.header.EAST_TO_WEST = 1;
    g.header.X_MIN = -10;
    g.header.X_MAX = 20;
    Ecrire_Xml(g.header, "w.xml");
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
    g.header.DESC = "Grille NTF -> RGF93";
    g.header.VALUE_UNK = -9999.75;
    Ecrire_Xml_Numerique(g.header, "n.xml");
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
    read.header.NAME = "";
    EXPECT_EQ("", Lire_Xml(read.header, "n.xml"));
    EXPECT_EQ(TypeValIndefini, read.header.VALUES_TYPE);
    EXPECT_EQ(InterpolationIndefinie, read.header.INTERPOLATION_TYPE);
    EXPECT_EQ("ntf.mnt", read.header.NAME);  // taken because the grid had no name
    EXPECT_EQ("Grille NTF -> RGF93", read.header.DESC);
    EXPECT_EQ(0, read.header.VALUES_LOCATION);  // "YES" is not "PIXEL_CENTER"

    // Without a path nothing is written.
    Ecrire_Xml_Numerique(g.header, "");
    EXPECT_EQ((std::vector<std::string>{"n.xml"}), folder.Files());
}

TEST(XmlHeader, FailureTexts) {
    GridFolder folder;
    CGrille g;
    g.header.NAME = "absente.mnt";
    EXPECT_EQ("Fichier absente.xml introuvable", Lire_Xml(g.header, ""));
    GridFolder::Write("casse.xml", "<GRID_HEADER><X_MIN>1</GRID_HEADER>");
    EXPECT_EQ("Fichier casse.xml non chargé.\nUne piste : l'élément CDATA n'est pas supporté.",
              Lire_Xml(g.header, "casse.xml"));
    GridFolder::Write("autre.xml", "<?xml version=\"1.0\"?>\n<HEADER><X_MIN>1</X_MIN></HEADER>\n");
    EXPECT_EQ("Balise non trouvée : \n<GRID_HEADER>", Lire_Xml(g.header, "autre.xml"));
    EXPECT_EQ(0, g.header.X_MIN);
}

TEST(XmlHeader, ElementsCompleteOrOverride) {
    GridFolder folder;
    CGrille g;
    g.header.X_MIN = 3;
    g.header.LAYOUT = SW2E2N;
    GridFolder::Write("a.xml", XmlHeader("\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n"));
    EXPECT_EQ("", Lire_Xml(g.header, "a.xml"));
    EXPECT_EQ(Bilineaire, g.header.INTERPOLATION_TYPE);
    EXPECT_EQ(3, g.header.X_MIN);
    EXPECT_EQ(SW2E2N, g.header.LAYOUT);

    // Names are exact; "UNDEFINED" steps are 0; empty elements change nothing.
    GridFolder::Write("b.xml",
                      XmlHeader("<INTERPOLATION_TYPE>bilinear</INTERPOLATION_TYPE>"
                                "<X_INC>UNDEFINED</X_INC><Y_INC>0.5</Y_INC><X_MAX></X_MAX>"
                                "<LAYOUT>sw2e2n</LAYOUT><VALUES_LOCATION>NODE</VALUES_LOCATION>"
                                "<N_COLUMNS>12 colonnes</N_COLUMNS><N_LINES>douze</N_LINES>"
                                "<Y_MAX> 47.5°</Y_MAX><EAST_TO_WEST>oui</EAST_TO_WEST>"));
    g.header.X_INC = 1;
    g.header.X_MAX = 9;
    g.header.N_LINES = 5;
    g.header.VALUES_LOCATION = 1;
    EXPECT_EQ("", Lire_Xml(g.header, "b.xml"));
    EXPECT_EQ(Bilineaire, g.header.INTERPOLATION_TYPE);
    EXPECT_EQ(0, g.header.X_INC);
    EXPECT_EQ(0.5, g.header.Y_INC);
    EXPECT_EQ(9, g.header.X_MAX);
    EXPECT_EQ(SW2E2N, g.header.LAYOUT);
    EXPECT_EQ(0, g.header.VALUES_LOCATION);
    EXPECT_EQ(12, g.header.N_COLUMNS);  // the leading number of the text
    EXPECT_EQ(5, g.header.N_LINES);
    EXPECT_EQ(47.5, g.header.Y_MAX);
    EXPECT_EQ(0, g.header.EAST_TO_WEST);

    // TRANSLATION after VALUES_NUMBER, whatever the document's order;
    // missing items are 0.
    GridFolder::Write(
        "c.xml", XmlHeader("<TRANSLATION>1.5, -2,x</TRANSLATION><VALUES_NUMBER>4</VALUES_NUMBER>"));
    EXPECT_EQ("", Lire_Xml(g.header, "c.xml"));
    EXPECT_EQ((std::vector<double>{1.5, -2, 0, 0}), g.header.TRANSLATION);
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
    EXPECT_EQ("", Lire_Xml(g.header, "l.xml"));
    EXPECT_EQ("Nouvelle Triangulation de la Française", g.header.SYSTEM_F);
    EXPECT_EQ("IGN <service géodésie>", g.header.ORIGIN);  // a CDATA section is text like any other
    EXPECT_EQ(std::string(259, 'v'), g.header.VERSION);
    EXPECT_EQ(std::string(300, 'd'), g.header.DESC);

    GridFolder::Write("u.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRID_HEADER><KEY>clé</KEY>"
                      "<ORIGIN><![CDATA[a<b]]></ORIGIN></GRID_HEADER>\n");
    EXPECT_EQ("", Lire_Xml(g.header, "u.xml"));
    EXPECT_EQ("clé", g.header.KEY);
    EXPECT_EQ("a<b", g.header.ORIGIN);
}
