#include "pages/quorvel_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "engine/coordinate_operations.h"
#include "support/page_catalogue.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

namespace {

using SC = SideControl;
using PC = PageControl;
using Kind = ScriptedInterface::Kind;

class PageTest : public ::testing::Test {
protected:
    void SetUp() override { LoadCatalogueText(kPageCatalogueText, catalogue); }

    PageContext Context() {
        PageContext c;
        c.catalogue = &catalogue;
        c.ui = &ui;
        c.lastResult = &last;
        c.caption = "Quorvel";
        return c;
    }
    static PageSettings NtfToRgf93(int mode = 0) {
        PageSettings s;
        s.mode = mode;
        s.source.system = "NTF";
        s.source.type = "Planes";
        s.source.projection = "NTF Lambert II étendu";
        s.target.system = "RGF93";
        s.target.type = "Planes";
        s.target.projection = "Lambert-93";
        return s;
    }
    static std::vector<std::string> Entries(const CQuorvelPage& page, PageSide side, SC list) {
        return page.State(side, list).entries;
    }

    Catalogue catalogue;
    ScriptedInterface ui;
    CCoor last;
};

TEST_F(PageTest, DepartureSystemsFollowTheTransformationsOfThePageKind) {
    CStandardPage standard(Context());
    standard.Initialise();
    EXPECT_EQ(Entries(standard, SourceSide, SC::System),
              (std::vector<std::string>{"NTF", "RGF93", "SANS UNITE", "WGS84"}));
    CGrillePage grille(Context());
    grille.Initialise();
    EXPECT_EQ(Entries(grille, SourceSide, SC::System), (std::vector<std::string>{"NTF", "RGF93"}));
}

TEST_F(PageTest, GridPageWithoutTranslationOnlyRecordsHasNoSystem) {
    Catalogue bare;
    LoadCatalogueText(
        "ELG 3 6378137.0 6356752.314140 298.257222101 0.00669438002290079 GRS 1980\n"
        "LGO 1 2 0.0 Greenwich\nREG 4 3 1 3D RGF93\nREG 3 3 1 3D WGS84\n"
        "TSG 4 4 3 10 0.0 0.0 0.0 0.0 0.0 0.0 0.0 RGF93 vers WGS84\n",
        bare);
    PageContext context = Context();
    context.catalogue = &bare;
    CGrillePage page(context);
    page.Initialise();
    EXPECT_TRUE(Entries(page, SourceSide, SC::System).empty());
    EXPECT_TRUE(Entries(page, TargetSide, SC::System).empty());
    // Computing from an empty page is refused with a message, not attempted.
    page.Compute();
    ASSERT_EQ(ui.messages.size(), 1u);
}

TEST_F(PageTest, CascadeAfterAChangeOfDepartureSystem) {
    CStandardPage page(Context());
    page.Restore(NtfToRgf93());
    page.Initialise();
    // NTF: its own meridian, its units (sorted), its two types, its projection.
    EXPECT_EQ(page.State(SourceSide, SC::Meridian).text, "Paris");
    EXPECT_EQ(Entries(page, SourceSide, SC::Meridian),
              (std::vector<std::string>{"Greenwich", "Paris"}));
    EXPECT_EQ(Entries(page, SourceSide, SC::Unit),
              (std::vector<std::string>{"Degrés décimaux", "Degrés Minutes décimales",
                                        "Degrés Minutes Secondes", "Grades", "Radians",
                                        "Secondes de degré"}));
    EXPECT_EQ(Entries(page, SourceSide, SC::Type),
              (std::vector<std::string>{"Géographiques", "Planes"}));
    EXPECT_EQ(Entries(page, SourceSide, SC::Projection),
              (std::vector<std::string>{"NTF Lambert II étendu"}));
    // The arrival list holds the departure system itself and its linked systems.
    EXPECT_EQ(Entries(page, TargetSide, SC::System), (std::vector<std::string>{"NTF", "RGF93"}));
    EXPECT_EQ(page.State(TargetSide, SC::System).text, "RGF93");

    page.ChooseList(SourceSide, SC::System, "RGF93");
    EXPECT_EQ(page.State(SourceSide, SC::Meridian).text, "Greenwich");
    EXPECT_EQ(Entries(page, SourceSide, SC::Type),
              (std::vector<std::string>{"Cartésiennes", "Géographiques", "Planes"}));
    EXPECT_EQ(page.State(SourceSide, SC::Type).text, "Planes");  // remembered text kept
    EXPECT_EQ(Entries(page, SourceSide, SC::Projection), (std::vector<std::string>{"Lambert-93"}));
    EXPECT_EQ(Entries(page, TargetSide, SC::System),
              (std::vector<std::string>{"NTF", "RGF93", "WGS84"}));
    EXPECT_EQ(page.State(TargetSide, SC::System).text, "RGF93");

    // A remembered text no longer offered selects the first entry.
    page.ChooseList(SourceSide, SC::System, "WGS84");
    EXPECT_EQ(Entries(page, TargetSide, SC::System),
              (std::vector<std::string>{"RGF93", "SANS UNITE", "WGS84"}));
    EXPECT_TRUE(Entries(page, SourceSide, SC::Projection).empty());
}

TEST_F(PageTest, ASystemWithoutUnitsOffersAllNine) {
    CStandardPage page(Context());
    PageSettings s;
    s.source.system = "SANS UNITE";
    page.Restore(s);
    page.Initialise();
    EXPECT_EQ(Entries(page, SourceSide, SC::Unit).size(), 9u);
}

TEST_F(PageTest, TwoDimensionalGeographicDataFormatsHoldOnlyAltitudes) {
    CStandardPage page(Context());
    PageSettings s = NtfToRgf93(1);
    s.source.type = "Géographiques";
    page.Restore(s);
    page.Initialise();
    EXPECT_EQ(Entries(page, SourceSide, SC::Format),
              (std::vector<std::string>{"Lat Lon Altitude", "Lon Lat Altitude",
                                        "Nom Lat Lon Altitude", "Nom Lon Lat Altitude"}));
    // A 3D arrival in plane coordinates offers the four E N layouts.
    EXPECT_EQ(Entries(page, TargetSide, SC::Format),
              (std::vector<std::string>{"E N Altitude", "E N Hauteur", "Nom E N Altitude",
                                        "Nom E N Hauteur"}));
    page.ChooseList(TargetSide, SC::Type, "Cartésiennes");
    EXPECT_EQ(Entries(page, TargetSide, SC::Format),
              (std::vector<std::string>{"Nom X Y Z", "X Y Z"}));
}

TEST_F(PageTest, HeightIsRefusedOnATwoDimensionalSystem) {
    CStandardPage page(Context());
    PageSettings s = NtfToRgf93();
    s.source.type = "Géographiques";
    page.Restore(s);
    page.Initialise();
    EXPECT_EQ(page.Vertical(), Altitude);  // the default of a 2D geographic departure
    ui.messages.clear();
    page.ChooseVertical(EllipsoidalHeight);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Error);
    EXPECT_EQ(ui.messages[0].text,
              "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF.\n");
    EXPECT_EQ(page.Vertical(), Altitude);
    EXPECT_TRUE(page.State(SourceSide, SC::Altitude).visible);
    EXPECT_FALSE(page.State(SourceSide, SC::Height).visible);
}

TEST_F(PageTest, VerticalChoicesShowTheirFields) {
    CStandardPage page(Context());
    PageSettings s;
    s.source.system = "RGF93";
    s.source.type = "Géographiques";
    s.target.system = "WGS84";
    s.target.type = "Géographiques";
    page.Restore(s);
    page.Initialise();
    EXPECT_EQ(page.Vertical(), EllipsoidalHeight);  // 3D geographic departure
    EXPECT_TRUE(page.State(SourceSide, SC::Height).visible);
    EXPECT_FALSE(page.State(SourceSide, SC::Altitude).visible);
    EXPECT_TRUE(page.State(TargetSide, SC::Height).visible);
    EXPECT_TRUE(page.State(TargetSide, SC::Altitude).visible);
    page.ChooseVertical(NoVertical);
    for (PageSide side : {SourceSide, TargetSide}) {
        EXPECT_FALSE(page.State(side, SC::Height).visible);
        EXPECT_FALSE(page.State(side, SC::Altitude).visible);
    }
    // A 2D arrival keeps its ellipsoidal height field, disabled.
    page.ChooseList(SourceSide, SC::System, "RGF93");
    page.ChooseList(TargetSide, SC::System, "NTF");
    page.ChooseVertical(Altitude);
    EXPECT_TRUE(page.State(TargetSide, SC::Height).visible);
    EXPECT_FALSE(page.State(TargetSide, SC::Height).enabled);
}

TEST_F(PageTest, LayoutsFollowTypeAndUnit) {
    CStandardPage page(Context());
    PageSettings s;
    s.source.system = "RGF93";
    s.source.type = "Cartésiennes";
    s.target.system = "WGS84";
    s.target.type = "Géographiques";
    s.target.unit = "Degrés Minutes Secondes";
    page.Restore(s);
    page.Initialise();
    EXPECT_TRUE(page.State(SourceSide, SC::Z).visible);
    EXPECT_FALSE(page.State(SourceSide, SC::E).visible);
    EXPECT_FALSE(page.State(PC::VerticalGroup).visible);
    EXPECT_FALSE(page.State(SourceSide, SC::Unit).enabled);
    EXPECT_FALSE(page.State(SourceSide, SC::Projection).enabled);
    // Arrival in DMS: three fields with their symbols, no decimal fields.
    EXPECT_TRUE(page.State(TargetSide, SC::LonSeconds).visible);
    EXPECT_EQ(page.State(TargetSide, SC::LonMinutesSymbol).text, "'");
    EXPECT_FALSE(page.State(TargetSide, SC::X).visible);
    EXPECT_FALSE(page.State(TargetSide, SC::Convergence).visible);
    EXPECT_EQ(page.InfoLine(), "Calcul des coordonnées géographiques du système d'arrivée");

    page.ChooseList(TargetSide, SC::Unit, "Heures Minutes Secondes");
    // WGS84 offers no hours: the list kept the units it offers.
    EXPECT_EQ(page.State(TargetSide, SC::Unit).text, "Degrés Minutes Secondes");
    page.ChooseList(TargetSide, SC::Unit, "Degrés Minutes décimales");
    EXPECT_TRUE(page.State(TargetSide, SC::LonDecimalMinutes).visible);
    EXPECT_FALSE(page.State(TargetSide, SC::LonSeconds).visible);
    page.ChooseList(TargetSide, SC::Unit, "Grades");
    EXPECT_TRUE(page.State(TargetSide, SC::X).visible);
    EXPECT_FALSE(page.State(TargetSide, SC::LonDegrees).visible);

    page.ChooseList(TargetSide, SC::Type, "Planes");
    EXPECT_TRUE(page.State(TargetSide, SC::Convergence).visible);
    EXPECT_TRUE(page.State(TargetSide, SC::Unit).enabled);  // unit of the convergence
    EXPECT_TRUE(page.State(PC::AlterationCheck).enabled);
    EXPECT_FALSE(page.State(TargetSide, SC::Meridian).enabled);
}

TEST_F(PageTest, FileModeShowsFilesAndHidesTheFields) {
    CStandardPage page(Context());
    page.Restore(NtfToRgf93());
    page.Initialise();
    EXPECT_FALSE(page.State(SourceSide, SC::FileGroup).visible);
    EXPECT_TRUE(page.State(PC::PointName).visible);
    page.ChooseMode(1);
    EXPECT_EQ(page.Vertical(), EllipsoidalHeight);
    EXPECT_FALSE(page.State(PC::VerticalGroup).visible);
    EXPECT_TRUE(page.State(SourceSide, SC::FileGroup).visible);
    EXPECT_TRUE(page.State(TargetSide, SC::Format).visible);
    EXPECT_FALSE(page.State(SourceSide, SC::E).visible);
    EXPECT_FALSE(page.State(PC::PointName).visible);
    EXPECT_EQ(page.InfoLine(),
              "Saisir les systèmes, les projections, les unités et les fichiers de départ et "
              "d'arrivée");
    page.ChooseMode(0);
    EXPECT_TRUE(page.State(SourceSide, SC::E).visible);
    EXPECT_EQ(page.Vertical(), Altitude);  // a projected departure chooses "Altitude"
}

TEST_F(PageTest, DepartureUnitChangeClearsTheTypedFields) {
    CStandardPage page(Context());
    PageSettings s = NtfToRgf93();
    s.source.type = "Géographiques";
    s.source.unit = "Grades";
    page.Restore(s);
    page.Initialise();
    page.SetFieldText(SourceSide, SC::X, "2.5");
    page.ChooseList(SourceSide, SC::Unit, "Grades");  // the same unit: kept
    EXPECT_EQ(page.State(SourceSide, SC::X).text, "2.5");
    page.ChooseList(SourceSide, SC::Unit, "Degrés Minutes Secondes");
    EXPECT_EQ(page.State(SourceSide, SC::X).text, "0");
    EXPECT_TRUE(page.State(SourceSide, SC::LonDegrees).visible);
    EXPECT_EQ(page.State(SourceSide, SC::LonDegreesSymbol).text, "°");
}

TEST_F(PageTest, SettingsComeBackAsTheyWereRestored) {
    CStandardPage page(Context());
    PageSettings s = NtfToRgf93(1);
    s.pointName = "Borne 12";
    s.source.file = "entree.txt";
    s.source.path = "/data/";
    s.source.format = "Nom E N Altitude";
    s.target.format = "Nom E N Hauteur";
    s.reportFile = "r.prt";
    s.verticalSystem = "NGF-IGN69";
    page.Restore(s);
    page.Initialise();
    const PageSettings back = page.Settings();
    EXPECT_EQ(back.mode, 1);
    EXPECT_EQ(back.pointName, "Borne 12");
    EXPECT_EQ(back.source.projection, "NTF Lambert II étendu");
    EXPECT_EQ(back.source.meridian, "Paris");
    EXPECT_EQ(back.source.file, "entree.txt");
    EXPECT_EQ(back.source.path, "/data/");
    EXPECT_EQ(back.source.format, "Nom E N Altitude");
    EXPECT_EQ(back.target.format, "Nom E N Hauteur");
    EXPECT_EQ(back.reportFile, "r.prt");
    EXPECT_EQ(back.verticalSystem, "NGF-IGN69");
    EXPECT_EQ(back.vertical, EllipsoidalHeight);
}

TEST_F(PageTest, VerticalSystemsAreThoseServedInTheOfferedSystems) {
    CStandardPage page(Context());
    page.Restore(NtfToRgf93());
    page.Initialise();
    EXPECT_EQ(page.State(PC::VerticalSystem).entries, (std::vector<std::string>{"NGF-IGN69"}));
    EXPECT_TRUE(page.State(PC::VerticalGroup).visible);
}

TEST_F(PageTest, WithoutVerticalSystemsTheVerticalGroupIsHidden) {
    Catalogue noVertical;
    std::string text = kPageCatalogueText;
    text.erase(text.find("REA 1"), std::string("REA 1 NGF-IGN69\n").size());
    LoadCatalogueText(text, noVertical);
    PageContext context = Context();
    context.catalogue = &noVertical;
    CStandardPage page(context);
    page.Restore(NtfToRgf93());
    page.Initialise();
    EXPECT_FALSE(page.State(PC::VerticalGroup).visible);
    EXPECT_FALSE(page.State(PC::VerticalSystem).visible);
    EXPECT_FALSE(page.State(PC::HeightRadio).visible);
    EXPECT_FALSE(page.State(PC::AltitudeRadio).enabled);
}

class RecordTest : public PageTest {
protected:
    void Geographic(CQuorvelPage& page, const char* unit) {
        PageSettings s;
        s.source.system = "RGF93";
        s.source.type = "Géographiques";
        s.source.unit = unit;
        s.target.system = "WGS84";
        s.target.type = "Géographiques";
        s.pointName = "P1";
        page.Restore(s);
        page.Initialise();
    }
};

TEST_F(RecordTest, RangeChecksShowTheStandardMessages) {
    CStandardPage page(Context());
    Geographic(page, "Degrés Minutes Secondes");
    page.SetFieldText(SourceSide, SC::LatDegrees, "91");
    EXPECT_FALSE(page.CheckFields());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Tapez un nombre entier compris entre 0 et 90.");
    auto focus = page.TakeFocusRequest();
    ASSERT_TRUE(focus.has_value());
    EXPECT_EQ(focus->second, SC::LatDegrees);

    page.SetFieldText(SourceSide, SC::LatDegrees, "45");
    page.SetFieldText(SourceSide, SC::LonSeconds, "60");
    EXPECT_FALSE(page.CheckFields());
    EXPECT_EQ(ui.messages.back().text, "Tapez un nombre compris entre 0 et 59.999999999999.");
    page.SetFieldText(SourceSide, SC::LonSeconds, "59.999999999999");
    page.SetFieldText(SourceSide, SC::LonMinutes, "abc");
    EXPECT_FALSE(page.CheckFields());
    EXPECT_EQ(ui.messages.back().text, "Tapez un nombre entier.");
    page.SetFieldText(SourceSide, SC::LonMinutes, "12");
    EXPECT_TRUE(page.CheckFields());

    page.SetPointName(std::string(31, 'A'));
    EXPECT_FALSE(page.CheckFields());
    EXPECT_EQ(ui.messages.back().text, "Tapez 30 caractères au maximum.");
    page.SetPointName("Église Saint-Étienne 30 lettrs");  // 30 characters, more bytes
    EXPECT_TRUE(page.CheckFields());
}

TEST_F(RecordTest, NegativeTypedLongitudeIsRefused) {
    CStandardPage page(Context());
    Geographic(page, "Degrés décimaux");
    page.SetFieldText(SourceSide, SC::X, "-2.5");
    page.SetFieldText(SourceSide, SC::Y, "45");
    CCoor source, target;
    EXPECT_EQ(page.BuildRecords(source, target), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Ne pas saisir de signe négatif pour la longitude,\nutiliser le radio bouton "
              "\"Ouest\"");
    // Both negative: the latitude's message alone.
    page.SetFieldText(SourceSide, SC::Y, "-45");
    EXPECT_EQ(page.BuildRecords(source, target), 0);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text,
              "Ne pas saisir de signe négatif pour la latitude ,\nutiliser le radio bouton "
              "\"Sud\"\nDe plus, en france la latitude est d'environ 45° !");
    // 2.5 with "Ouest" is -2.5.
    page.SetFieldText(SourceSide, SC::X, "2.5");
    page.SetFieldText(SourceSide, SC::Y, "45");
    page.ChooseWest(SourceSide, true);
    ASSERT_EQ(page.BuildRecords(source, target), 1);
    EXPECT_DOUBLE_EQ(source.longitude, -2.5);
    EXPECT_DOUBLE_EQ(source.latitude, 45);
}

TEST_F(RecordTest, RecordsCarryTheDescriptorsAndTheVerticalTable) {
    CStandardPage page(Context());
    Geographic(page, "Degrés Minutes Secondes");
    page.SetFieldText(SourceSide, SC::LonDegrees, "2");
    page.SetFieldText(SourceSide, SC::LonMinutes, "20");
    page.SetFieldText(SourceSide, SC::LonSeconds, "30.5");
    page.SetFieldText(SourceSide, SC::LatDegrees, "48");
    page.SetFieldText(SourceSide, SC::LatMinutes, "5");
    page.SetFieldText(SourceSide, SC::LatSeconds, "0");
    page.SetFieldText(SourceSide, SC::Height, "120.5");
    page.ChooseSouth(SourceSide, true);
    CCoor source, target;
    ASSERT_EQ(page.BuildRecords(source, target), 1);
    EXPECT_EQ(source.type, ::Geographic);
    EXPECT_EQ(source.unit, PackedDms);
    EXPECT_NEAR(source.longitude, 2.2030500, 1e-12);
    EXPECT_NEAR(source.latitude, -48.05, 1e-12);
    EXPECT_EQ(source.sys.system->name, "RGF93");
    EXPECT_EQ(source.sys.meridian->name, "Greenwich");
    EXPECT_EQ(source.sys.vertical->name, "NGF-IGN69");
    EXPECT_EQ(target.sys.system->name, "WGS84");
    EXPECT_EQ(source.verticalKind, EllipsoidalHeight);
    EXPECT_DOUBLE_EQ(source.height, 120.5);
    EXPECT_DOUBLE_EQ(source.altitude, 0);
    EXPECT_EQ(source.name, "P1");
    EXPECT_EQ(target.name, "P1");

    // "Altitude" on a geographic departure also fills the ellipsoidal height.
    page.ChooseVertical(Altitude);
    page.SetFieldText(SourceSide, SC::Altitude, "35");
    ASSERT_EQ(page.BuildRecords(source, target), 1);
    EXPECT_DOUBLE_EQ(source.altitude, 35);
    EXPECT_DOUBLE_EQ(source.height, 35);
    EXPECT_DOUBLE_EQ(target.altitude, 35);
    EXPECT_EQ(target.verticalKind, Altitude);
}

TEST_F(RecordTest, ProjectedAltitudeLeavesTheHeightAtZero) {
    CStandardPage page(Context());
    page.Restore(NtfToRgf93());
    page.Initialise();
    page.SetFieldText(SourceSide, SC::E, "600000");
    page.SetFieldText(SourceSide, SC::N, "2200000,5");
    page.SetFieldText(SourceSide, SC::Altitude, "35");
    CCoor source, target;
    ASSERT_EQ(page.BuildRecords(source, target), 1);
    EXPECT_EQ(source.sys.projection->name, "NTF Lambert II étendu");
    EXPECT_DOUBLE_EQ(source.northing, 2200000.5);
    EXPECT_DOUBLE_EQ(source.altitude, 35);
    EXPECT_DOUBLE_EQ(source.height, 0);
    page.SetFieldText(SourceSide, SC::E, "1000000000");
    EXPECT_FALSE(page.CheckFields());
    EXPECT_EQ(ui.messages.back().text, "Tapez un nombre compris entre -999999999 et 999999999.");
}

TEST_F(RecordTest, ResultDisplayAndReExpressions) {
    CStandardPage page(Context());
    Geographic(page, "Degrés décimaux");
    page.ChooseList(TargetSide, SC::Unit, "Degrés Minutes Secondes");
    CCoor result;
    result.type = ::Geographic;
    result.unit = DecimalDegree;
    result.longitude = -1.5;
    result.latitude = 45.25;
    result.height = 50;
    result.sys.meridian = FindByName(catalogue.meridians, "Greenwich");
    SetUnit(result, PackedDms);
    last = result;
    page.DisplayResult(result);
    EXPECT_TRUE(page.West(TargetSide));
    EXPECT_EQ(page.State(TargetSide, SC::LonDegrees).text, "1");
    EXPECT_EQ(page.State(TargetSide, SC::LonMinutes).text, "30");
    EXPECT_EQ(page.State(TargetSide, SC::LonSeconds).text, "0.00000");
    EXPECT_EQ(page.State(TargetSide, SC::Height).text, "50.000");

    // Unit change: the last result is shown again in the new unit.
    page.ChooseList(TargetSide, SC::Unit, "Degrés décimaux");
    EXPECT_EQ(page.State(TargetSide, SC::X).text, "1.50000000");
    EXPECT_EQ(page.State(TargetSide, SC::Y).text, "45.25000000");
    // "Est" on a western longitude adds 360 degrees.
    page.ChooseWest(TargetSide, false);
    EXPECT_FALSE(page.West(TargetSide));
    EXPECT_EQ(page.State(TargetSide, SC::X).text, "358.50000000");
    page.ChooseWest(TargetSide, true);
    EXPECT_TRUE(page.West(TargetSide));
    EXPECT_EQ(page.State(TargetSide, SC::X).text, "1.50000000");
    // Meridian change: counted from Paris, 2.33722917 degrees east of Greenwich.
    page.ChooseList(TargetSide, SC::Meridian, "Paris");
    EXPECT_EQ(page.State(TargetSide, SC::X).text, "3.83722917");
    EXPECT_EQ(last.sys.meridian->name, "Paris");
}

TEST_F(RecordTest, PrecisionSentenceNamesTheSameSystemCase) {
    CStandardPage page(Context());
    Geographic(page, "Degrés décimaux");
    CCoor a, b;
    a.sys.system = b.sys.system = FindByName(catalogue.systems, "RGF93");
    page.WritePrecisionSentence(a, b);
    EXPECT_EQ(page.InfoLine().rfind("La transformation sans changement de système ne dégrade pas", 0),
              0u);
    b.sys.system = FindByName(catalogue.systems, "WGS84");
    page.WritePrecisionSentence(a, b);
    EXPECT_EQ(page.InfoLine().rfind("La précision de la transformation est : ", 0), 0u);
}

class FileChecksTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        input = dir.path() + "/entree.txt";
        std::ofstream(input) << "P1 600000 2200000 35\n";
    }
    std::unique_ptr<CStandardPage> FilePage(const std::string& output) {
        auto page = std::make_unique<CStandardPage>(Context());
        PageSettings s = NtfToRgf93(1);
        s.source.file = "entree.txt";
        s.source.path = dir.path() + "/";
        s.target.file = output;
        s.target.path = dir.path() + "/";
        s.source.format = "Nom E N Altitude";
        s.target.format = "Nom E N Altitude";
        page->Restore(s);
        page->Initialise();
        return page;
    }
    std::optional<FileRunRequest> Prepare(CQuorvelPage& page) {
        CCoor source, target;
        if (!page.BuildRecords(source, target)) return std::nullopt;
        return page.PrepareFileRun(source, target);
    }
    TempDir dir;
    std::string input;
};

TEST_F(FileChecksTest, EmptyNamesAndSameFilesAreRefused) {
    auto page = FilePage("");
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().text, "Veuillez saisir un nom de fichier d'arrivée s'il vous plait !");
    page->SetFileName(TargetSide, "./entree.txt");  // the input named another way
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().kind, Kind::Error);
    EXPECT_EQ(ui.messages.back().text, "Impossible de lire et d'écrire dans les mêmes fichiers !");
    page->SetFileName(SourceSide, "");
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().text,
              "Veuillez saisir un nom de fichier de départ, s'il vous plait !");
}

TEST_F(FileChecksTest, ReportQuestionAndDialog) {
    auto page = FilePage("sortie.txt");
    ui.answers = {true};
    ui.fileNames = {dir.path() + "/rapport.prt"};
    const auto request = Prepare(*page);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->inputPath, input);
    EXPECT_EQ(request->outputPath, dir.path() + "/sortie.txt");
    EXPECT_TRUE(request->report);
    EXPECT_EQ(request->reportPath, dir.path() + "/rapport.prt");
    EXPECT_EQ(request->inputFormat, FormatNameENAltitude);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_TRUE(ui.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(page->Settings().reportFile, "rapport.prt");
    EXPECT_EQ(page->InfoLine(), "Saisir les systèmes et unités.-- Fichiers : de " + input +
                                    " vers " + dir.path() + "/sortie.txt");

    // The same output again: the warning question; No stops.
    ui.answers = {false};
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().text,
              "Vous n'avez pas changé le fichier d'arrivée depuis le dernier calcul !\nVoulez-vous "
              "continuer ?");
    // Yes goes on; a report chosen as the output file is refused.
    ui.answers = {true, true};
    ui.fileNames = {dir.path() + "/sortie.txt"};
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().text, "Le fichier " + dir.path() +
                                           "/sortie.txt est déjà utilisé, ce n'est pas un fichier "
                                           "rapport !");
    // Cancelling the dialog runs without a report.
    ui.answers = {true, true};
    const auto plain = Prepare(*page);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->report);
}

TEST_F(FileChecksTest, NamedOutputFromUnnamedInputIsRefusedBeforeAnyFileIsTouched) {
    const std::string output = dir.path() + "/sortie.txt";
    std::ofstream(output) << "contenu précieux\n";
    auto page = FilePage("sortie.txt");
    page->ChooseList(SourceSide, SC::Format, "E N Altitude");
    ui.answers = {false};
    EXPECT_FALSE(Prepare(*page));
    EXPECT_EQ(ui.messages.back().text,
              "ERREUR!!! Il est impossible de passer du type de données E N Altitude\nau type de "
              "données Nom E N Altitude,\n\nOn ne peut pas inventer de noms !");
    std::ifstream kept(output);
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "contenu précieux");
}

TEST_F(FileChecksTest, ChosenFileIsKeptUntilItsNameIsEmptied) {
    auto page = FilePage("sortie.txt");
    const std::string other = dir.path() + "/autre.txt";
    std::ofstream(other) << "\n";
    ui.fileNames = {other};
    page->Browse(SourceSide);
    EXPECT_EQ(page->State(SourceSide, SC::FileName).text, "autre.txt");
    page->SetFileName(SourceSide, "entree_modifiee.txt");
    ui.answers = {false};
    auto request = Prepare(*page);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->inputPath, other);
    page->SetFileName(SourceSide, "");
    page->SetFileName(SourceSide, "entree.txt");
    ui.answers = {true, false};  // same output: go on; no report
    request = Prepare(*page);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->inputPath, input);
}

}  // namespace

namespace {

// The runs as a page sees them: the interactive run fills the arrival record
// as a computation would and keeps it as the last result.
struct FakeRuns : PageRuns {
    explicit FakeRuns(CCoor& last) : last(last) {}
    void RunInteractive(int, CCoor&, CCoor& target) override {
        ++runs;
        target.easting = 652297.68;
        target.longitude = 2.35;
        target.latitude = 48.85;
        target.linearAlteration = -12.5;
        last = target;
    }
    void RunFile(const FileRunRequest&) override { ++runs; }
    CCoor& last;
    int runs = 0;
};

// A result is shown only beside the inputs it was computed from.
class ShownResultTest : public PageTest {
protected:
    void SetUp() override {
        // Every departure list offers a second choice: RGF93 may also use
        // the NTF projection, and a second vertical system is served in RGF93.
        LoadCatalogueText(std::string(kPageCatalogueText) +
                              "PROJ 4 27572 2 -5.5 41.0 10.0 51.5\nREA 2 EGM96\nGR1D e.mnt 4 2\n",
                          catalogue);
    }
    // 2.35 48.85 in RGF93, computed into RGF93 coordinates of `arrivalType`.
    std::unique_ptr<CStandardPage> ComputedPage(const char* arrivalType) {
        PageContext context = Context();
        context.runs = &runs;
        auto page = std::make_unique<CStandardPage>(context);
        PageSettings s;
        s.source.system = s.target.system = "RGF93";
        s.source.type = "Géographiques";
        s.source.unit = s.target.unit = "Degrés décimaux";
        s.target.type = arrivalType;
        s.target.projection = "Lambert-93";
        s.verticalSystem = "NGF-IGN69";
        page->Restore(s);
        page->Initialise();
        page->SetFieldText(SourceSide, SC::X, "2.35");
        page->SetFieldText(SourceSide, SC::Y, "48.85");
        page->Compute();
        return page;
    }
    // Every arrival field empty, and no precision sentence.
    static bool Cleared(const CQuorvelPage& page) {
        for (SC f : {SC::X, SC::Y, SC::Z, SC::E, SC::N, SC::LonDegrees, SC::LonMinutes,
                     SC::LonSeconds, SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes,
                     SC::LatSeconds, SC::LatDecimalMinutes, SC::Height, SC::Altitude,
                     SC::Convergence, SC::Alteration}) {
            if (!page.State(TargetSide, f).text.empty()) return false;
        }
        return page.InfoLine().rfind("La transformation sans changement", 0) != 0;
    }
    FakeRuns runs{last};
};

TEST_F(ShownResultTest, AChangeOfAnyDepartureInputClearsTheResult) {
    using P = CQuorvelPage&;
    const std::tuple<const char*, std::function<void(P)>, bool> cases[] = {
        {"departure system", [](P p) { p.ChooseList(SourceSide, SC::System, "WGS84"); }, true},
        {"departure type", [](P p) { p.ChooseList(SourceSide, SC::Type, "Cartésiennes"); }, true},
        {"departure projection",
         [](P p) { p.ChooseList(SourceSide, SC::Projection, "NTF Lambert II étendu"); }, true},
        {"departure unit", [](P p) { p.ChooseList(SourceSide, SC::Unit, "Grades"); }, true},
        {"departure meridian", [](P p) { p.ChooseList(SourceSide, SC::Meridian, "Paris"); }, true},
        {"vertical choice", [](P p) { p.ChooseVertical(Altitude); }, true},
        {"vertical system", [](P p) { p.ChooseVerticalSystem("EGM96"); }, true},
        {"longitude", [](P p) { p.SetFieldText(SourceSide, SC::X, "2.36"); }, true},
        {"height", [](P p) { p.SetFieldText(SourceSide, SC::Height, "1"); }, true},
        {"west", [](P p) { p.ChooseWest(SourceSide, true); }, true},
        {"south", [](P p) { p.ChooseSouth(SourceSide, true); }, true},
        {"point name", [](P p) { p.SetPointName("P2"); }, true},
        {"arrival system", [](P p) { p.ChooseList(TargetSide, SC::System, "WGS84"); }, true},
        {"arrival type", [](P p) { p.ChooseList(TargetSide, SC::Type, "Cartésiennes"); }, true},
        {"arrival projection",
         [](P p) { p.ChooseList(TargetSide, SC::Projection, "NTF Lambert II étendu"); }, true},
        {"refused computation",  // in file mode, without file names
         [](P p) { p.ChooseMode(1), p.Compute(), p.ChooseMode(0); }, true},
        // What changes no input keeps the result.
        {"same longitude", [](P p) { p.SetFieldText(SourceSide, SC::X, "2.35"); }, false},
        {"same system", [](P p) { p.ChooseList(SourceSide, SC::System, "RGF93"); }, false},
        {"arrival unit", [](P p) { p.ChooseList(TargetSide, SC::Unit, "Grades"); }, false},
        {"mode and back", [](P p) { p.ChooseMode(1), p.ChooseMode(0); }, false},
    };
    for (const auto& [input, change, clears] : cases) {
        SCOPED_TRACE(input);
        auto page = ComputedPage("Planes");
        ASSERT_EQ(page->State(TargetSide, SC::E).text, "652297.680");
        ASSERT_FALSE(Cleared(*page));
        int redraws = 0;
        page->onChanged = [&redraws] { ++redraws; };
        change(*page);
        EXPECT_EQ(Cleared(*page), clears);
        EXPECT_EQ(page->ResultShown(), !clears);
        if (clears) {
            EXPECT_GT(redraws, 0);  // the window draws the emptied fields
        }
    }
}

TEST_F(ShownResultTest, OnlyAShownResultIsExpressedAgain) {
    auto page = ComputedPage("Géographiques");
    page->ChooseList(TargetSide, SC::Unit, "Degrés Minutes Secondes");
    EXPECT_EQ(page->State(TargetSide, SC::LonMinutes).text, "21");
    page->ChooseList(TargetSide, SC::Unit, "Degrés décimaux");
    page->ChooseList(TargetSide, SC::Meridian, "Paris");  // 2.33722917 degrees east
    EXPECT_EQ(page->State(TargetSide, SC::X).text, "0.01277083");
    EXPECT_FALSE(Cleared(*page));
    // After a departure change the old result comes back with no arrival choice.
    page->SetFieldText(SourceSide, SC::X, "3");
    page->ChooseList(TargetSide, SC::Unit, "Grades");
    page->ChooseList(TargetSide, SC::Meridian, "Greenwich");
    page->ChooseWest(TargetSide, true);
    EXPECT_TRUE(Cleared(*page));
}

// The grid page between two systems that no translation grid joins refuses
// to compute, in both modes, before any run.
TEST_F(PageTest, GridPageRefusesSystemsThatNoGridJoins) {
    Catalogue withoutGrid;
    std::string text = kPageCatalogueText;
    text.erase(text.find("GR3D"));
    LoadCatalogueText(text, withoutGrid);
    const std::tuple<bool, const char*, int, bool> cases[] = {
        // grid in the catalogue, arrival system, mode, refused
        {false, "RGF93", 0, true}, {false, "RGF93", 1, true}, {true, "RGF93", 0, false},
        {true, "RGF93", 1, false}, {false, "NTF", 0, false},
    };
    for (const auto& [grid, arrival, mode, refused] : cases) {
        SCOPED_TRACE(std::string(arrival) + " " + std::to_string(grid) + std::to_string(mode));
        ui.messages.clear();
        FakeRuns runs(last);
        PageContext context = Context();
        context.catalogue = grid ? &catalogue : &withoutGrid;
        context.runs = &runs;
        CGrillePage page(context);
        PageSettings s = NtfToRgf93(mode);
        s.target.system = arrival;
        s.source.file = "entree.txt";
        s.target.file = "sortie.txt";
        s.source.format = s.target.format = "Nom E N Altitude";
        page.Restore(s);
        page.Initialise();
        page.Compute();
        EXPECT_EQ(runs.runs, refused ? 0 : 1);
        const bool error = !ui.Of(Kind::Error).empty();
        EXPECT_EQ(error, refused);
        if (refused && error) {
            EXPECT_EQ(ui.Of(Kind::Error)[0].text,
                      "Aucune grille de transformation ne relie les référentiels \"NTF\" et "
                      "\"RGF93\" !");
        }
    }
}

// Relative file names: those of the configuration from the data folder, an
// output it names without a folder in the folder the user can write to,
// typed names from the start folder.
TEST_F(PageTest, FileNamesAreTakenFromTheirFolders) {
    TempDir data, start, own;
    const std::string d = data.path() + "/", s = start.path() + "/", o = own.path() + "/";
    PageContext context = Context();
    context.workingDirectory = d;
    context.startDirectory = s;
    struct Case {
        const char *sourceFile, *sourcePath, *targetFile, *targetPath, *typed;
        bool writable;  // a folder the user can write to is known
        std::string input, output;
    };
    const Case cases[] = {
        {"ex/ntf.txt", "", "sortie.txt", "", nullptr, true, d + "ex/ntf.txt", o + "sortie.txt"},
        {"ex/ntf.txt", "", "sortie.txt", "", nullptr, false, d + "ex/ntf.txt", d + "sortie.txt"},
        {"ntf.txt", "ex/", "res/sortie.txt", "", nullptr, true, d + "ex/ntf.txt",
         d + "res/sortie.txt"},
        {"ntf.txt", "/srv/", "sortie.txt", "/tmp/", nullptr, true, "/srv/ntf.txt",
         "/tmp/sortie.txt"},
        {"ex/ntf.txt", "", "sortie.txt", "", "m.txt", true, s + "m.txt", s + "m.txt.out"},
        {"ex/ntf.txt", "", "sortie.txt", "", "/srv/m.txt", true, "/srv/m.txt", "/srv/m.txt.out"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " " + c.output);
        context.outputDirectory = c.writable ? o : "";
        CStandardPage page(context);
        PageSettings settings = NtfToRgf93(1);
        settings.source.file = c.sourceFile;
        settings.source.path = c.sourcePath;
        settings.target.file = c.targetFile;
        settings.target.path = c.targetPath;
        settings.source.format = settings.target.format = "Nom E N Altitude";
        settings.reportFile = "rapport.rpt";
        page.Restore(settings);
        page.Initialise();
        if (c.typed) {
            page.SetFileName(SourceSide, c.typed);
            page.SetFileName(TargetSide, std::string(c.typed) + ".out");
        }
        ui.answers = {true};  // a report, whose dialog is cancelled
        CCoor source, target;
        ASSERT_EQ(page.BuildRecords(source, target), 1);
        const std::optional<FileRunRequest> request = page.PrepareFileRun(source, target);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->inputPath, c.input);
        EXPECT_EQ(request->outputPath, c.output);
        EXPECT_EQ(ui.fileDialogs.back().initialFolder, c.writable ? o : d);
        // A typed name is saved with its folder, to name the same file at the next start.
        const bool typedRelative = c.typed && c.typed[0] != '/';
        EXPECT_EQ(page.Settings().source.path, typedRelative ? s : c.sourcePath);
    }
}

}  // namespace
