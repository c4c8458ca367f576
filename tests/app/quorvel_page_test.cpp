#include "app/quorvel_page.h"

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
        s.sourceSystem = "NTF";
        s.sourceType = "Planes";
        s.sourceProjection = "NTF Lambert II étendu";
        s.targetSystem = "RGF93";
        s.targetType = "Planes";
        s.targetProjection = "Lambert-93";
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
    s.sourceSystem = "SANS UNITE";
    page.Restore(s);
    page.Initialise();
    EXPECT_EQ(Entries(page, SourceSide, SC::Unit).size(), 9u);
}

TEST_F(PageTest, TwoDimensionalGeographicDataFormatsHoldOnlyAltitudes) {
    CStandardPage page(Context());
    PageSettings s = NtfToRgf93(1);
    s.sourceType = "Géographiques";
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
    s.sourceType = "Géographiques";
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
    s.sourceSystem = "RGF93";
    s.sourceType = "Géographiques";
    s.targetSystem = "WGS84";
    s.targetType = "Géographiques";
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
    s.sourceSystem = "RGF93";
    s.sourceType = "Cartésiennes";
    s.targetSystem = "WGS84";
    s.targetType = "Géographiques";
    s.targetUnit = "Degrés Minutes Secondes";
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
    s.sourceType = "Géographiques";
    s.sourceUnit = "Grades";
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
    s.sourceFile = "entree.txt";
    s.sourcePath = "/data/";
    s.sourceFormat = "Nom E N Altitude";
    s.targetFormat = "Nom E N Hauteur";
    s.reportFile = "r.prt";
    s.verticalSystem = "NGF-IGN69";
    page.Restore(s);
    page.Initialise();
    const PageSettings back = page.Settings();
    EXPECT_EQ(back.mode, 1);
    EXPECT_EQ(back.pointName, "Borne 12");
    EXPECT_EQ(back.sourceProjection, "NTF Lambert II étendu");
    EXPECT_EQ(back.sourceMeridian, "Paris");
    EXPECT_EQ(back.sourceFile, "entree.txt");
    EXPECT_EQ(back.sourcePath, "/data/");
    EXPECT_EQ(back.sourceFormat, "Nom E N Altitude");
    EXPECT_EQ(back.targetFormat, "Nom E N Hauteur");
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
        s.sourceSystem = "RGF93";
        s.sourceType = "Géographiques";
        s.sourceUnit = unit;
        s.targetSystem = "WGS84";
        s.targetType = "Géographiques";
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
        s.sourceFile = "entree.txt";
        s.sourcePath = dir.path() + "/";
        s.targetFile = output;
        s.targetPath = dir.path() + "/";
        s.sourceFormat = "Nom E N Altitude";
        s.targetFormat = "Nom E N Altitude";
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

// The runs as the page sees them: the interactive run fills the arrival
// record with fixed values, as a computation would, and keeps it as the
// last result; both runs are counted.
class FakeRuns : public PageRuns {
public:
    explicit FakeRuns(CCoor& last) : last_(last) {}
    void RunInteractive(int, CCoor&, CCoor& target) override {
        ++interactive;
        target.x = 4201575.125;
        target.easting = 652297.68;
        target.northing = 6861633.02;
        target.longitude = 2.35;
        target.latitude = 48.85;
        target.height = 80.5;
        target.altitude = 35;
        target.convergence = 1.5;
        target.convergenceUnit = DecimalDegree;
        target.linearAlteration = -12.5;
        last_ = target;
    }
    void RunFile(const FileRunRequest&) override { ++files; }
    int interactive = 0;
    int files = 0;

private:
    CCoor& last_;
};

// A result is shown only beside the inputs it was computed from.
class ShownResultTest : public PageTest {
protected:
    void SetUp() override {
        // RGF93 may also use the NTF projection, and a second vertical
        // system is served in RGF93: every departure list has a choice.
        LoadCatalogueText(std::string(kPageCatalogueText) +
                              "PROJ 4 27572 2 -5.5 41.0 10.0 51.5\nREA 2 EGM96\n"
                              "GR1D egm96.mnt 4 2\n",
                          catalogue);
    }
    std::unique_ptr<CStandardPage> ComputedPage(const char* targetType) {
        PageContext context = Context();
        context.runs = &runs;
        auto page = std::make_unique<CStandardPage>(context);
        PageSettings s;
        s.sourceSystem = "RGF93";
        s.sourceType = "Géographiques";
        s.sourceUnit = "Degrés décimaux";
        s.targetSystem = "RGF93";
        s.targetType = targetType;
        s.targetProjection = "Lambert-93";
        s.targetUnit = "Degrés décimaux";
        s.verticalSystem = "NGF-IGN69";
        s.pointName = "P1";
        page->Restore(s);
        page->Initialise();
        page->SetFieldText(SourceSide, SC::X, "2.35");
        page->SetFieldText(SourceSide, SC::Y, "48.85");
        page->Compute();
        return page;
    }
    static std::vector<std::string> ResultTexts(const CQuorvelPage& page) {
        std::vector<std::string> texts;
        for (SC field : {SC::X, SC::Y, SC::Z, SC::E, SC::N, SC::LonDegrees, SC::LonMinutes,
                         SC::LonSeconds, SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes,
                         SC::LatSeconds, SC::LatDecimalMinutes, SC::Height, SC::Altitude,
                         SC::Convergence, SC::Alteration}) {
            texts.push_back(page.State(TargetSide, field).text);
        }
        return texts;
    }
    static bool ShowsPrecision(const CQuorvelPage& page) {
        return page.InfoLine().find("La transformation sans changement de système") == 0;
    }
    FakeRuns runs{last};
};

TEST_F(ShownResultTest, AChangeOfAnyDepartureInputClearsTheResult) {
    struct Case {
        const char* input;
        std::function<void(CQuorvelPage&)> change;
        bool clears;
    };
    const Case cases[] = {
        {"departure system", [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::System, "WGS84"); }, true},
        {"departure type", [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::Type, "Cartésiennes"); }, true},
        {"departure projection",
         [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::Projection, "NTF Lambert II étendu"); }, true},
        {"departure unit", [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::Unit, "Grades"); }, true},
        {"departure meridian", [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::Meridian, "Paris"); }, true},
        {"vertical choice", [](CQuorvelPage& p) { p.ChooseVertical(Altitude); }, true},
        {"vertical system", [](CQuorvelPage& p) { p.ChooseVerticalSystem("EGM96"); }, true},
        {"longitude", [](CQuorvelPage& p) { p.SetFieldText(SourceSide, SC::X, "2.36"); }, true},
        {"latitude", [](CQuorvelPage& p) { p.SetFieldText(SourceSide, SC::Y, "48"); }, true},
        {"height", [](CQuorvelPage& p) { p.SetFieldText(SourceSide, SC::Height, "1"); }, true},
        {"west", [](CQuorvelPage& p) { p.ChooseWest(SourceSide, true); }, true},
        {"south", [](CQuorvelPage& p) { p.ChooseSouth(SourceSide, true); }, true},
        {"point name", [](CQuorvelPage& p) { p.SetPointName("P2"); }, true},
        {"arrival system", [](CQuorvelPage& p) { p.ChooseList(TargetSide, SC::System, "WGS84"); }, true},
        {"arrival type", [](CQuorvelPage& p) { p.ChooseList(TargetSide, SC::Type, "Cartésiennes"); }, true},
        {"arrival projection",
         [](CQuorvelPage& p) { p.ChooseList(TargetSide, SC::Projection, "NTF Lambert II étendu"); }, true},
        {"refused file computation",
         [](CQuorvelPage& p) {
             p.ChooseMode(1);
             p.Compute();  // no file names: refused with a message
             p.ChooseMode(0);
         },
         true},
        // What does not change an input keeps the result.
        {"the same longitude", [](CQuorvelPage& p) { p.SetFieldText(SourceSide, SC::X, "2.35"); }, false},
        {"the same departure system", [](CQuorvelPage& p) { p.ChooseList(SourceSide, SC::System, "RGF93"); }, false},
        {"east again", [](CQuorvelPage& p) { p.ChooseWest(SourceSide, false); }, false},
        {"arrival unit", [](CQuorvelPage& p) { p.ChooseList(TargetSide, SC::Unit, "Grades"); }, false},
        {"mode and back", [](CQuorvelPage& p) { p.ChooseMode(1); p.ChooseMode(0); }, false},
        {"recomputed", [](CQuorvelPage& p) { p.Compute(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        auto page = ComputedPage("Planes");
        ASSERT_TRUE(page->ResultShown());
        ASSERT_EQ(page->State(TargetSide, SC::E).text, "652297.680");
        ASSERT_EQ(page->State(TargetSide, SC::Alteration).text, "-12.5");
        ASSERT_TRUE(ShowsPrecision(*page)) << page->InfoLine();
        int redraws = 0;
        page->onChanged = [&redraws] { ++redraws; };
        const std::vector<std::string> shown = ResultTexts(*page);
        c.change(*page);
        EXPECT_EQ(page->ResultShown(), !c.clears);
        if (c.clears) {
            EXPECT_EQ(ResultTexts(*page), std::vector<std::string>(shown.size()));
            EXPECT_FALSE(ShowsPrecision(*page)) << page->InfoLine();
            EXPECT_GT(redraws, 0);  // the window draws the emptied fields
        } else {
            EXPECT_EQ(page->State(TargetSide, SC::E).text, "652297.680");
            EXPECT_EQ(page->State(TargetSide, SC::Alteration).text, "-12.5");
        }
    }
}

TEST_F(ShownResultTest, OnlyAShownResultIsExpressedAgain) {
    auto page = ComputedPage("Géographiques");
    EXPECT_EQ(page->State(TargetSide, SC::X).text, "2.35000000");
    // Arrival unit and meridian express the shown result again.
    page->ChooseList(TargetSide, SC::Unit, "Degrés Minutes Secondes");
    EXPECT_EQ(page->State(TargetSide, SC::LonDegrees).text, "2");
    EXPECT_EQ(page->State(TargetSide, SC::LonMinutes).text, "21");
    EXPECT_EQ(page->State(TargetSide, SC::LatMinutes).text, "51");
    page->ChooseList(TargetSide, SC::Unit, "Degrés décimaux");
    page->ChooseList(TargetSide, SC::Meridian, "Paris");
    EXPECT_EQ(page->State(TargetSide, SC::X).text, "0.01277083");
    EXPECT_EQ(page->State(TargetSide, SC::Y).text, "48.85000000");
    EXPECT_TRUE(page->ResultShown());
    EXPECT_TRUE(ShowsPrecision(*page));

    // Once a departure input changed, the old result comes back neither
    // with a new unit, nor a new meridian, nor the arrival East choice.
    page->SetFieldText(SourceSide, SC::X, "3");
    page->ChooseList(TargetSide, SC::Unit, "Grades");
    page->ChooseList(TargetSide, SC::Meridian, "Greenwich");
    page->ChooseWest(TargetSide, true);
    EXPECT_EQ(ResultTexts(*page), std::vector<std::string>(17));
    EXPECT_FALSE(page->ResultShown());
    // The next computation shows its own result.
    page->Compute();
    EXPECT_EQ(runs.interactive, 2);
    EXPECT_EQ(page->State(TargetSide, SC::X).text, "2.35000000");  // as the run gave it
    EXPECT_TRUE(ShowsPrecision(*page));
}

}  // namespace

namespace {

// The grid page between two systems that no translation grid joins refuses
// to compute, in both modes, before any run.
TEST_F(PageTest, GridPageRefusesSystemsThatNoGridJoins) {
    Catalogue withoutGrid;
    std::string text = kPageCatalogueText;
    const std::string gridLine = "GR3D ntf_r93.gsb 1 4\n";
    text.erase(text.find(gridLine), gridLine.size());
    LoadCatalogueText(text, withoutGrid);
    struct Case {
        bool grid;           // the catalogue's grid joins NTF and RGF93
        const char* target;  // arrival system
        int mode;
        bool refused;
    };
    const Case cases[] = {
        {false, "RGF93", 0, true}, {false, "RGF93", 1, true}, {true, "RGF93", 0, false},
        {true, "RGF93", 1, false}, {false, "NTF", 0, false},  // no change of system
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.grid ? " with grid" : " without grid") +
                     " mode " + std::to_string(c.mode));
        ui.messages.clear();
        FakeRuns runs(last);
        PageContext context = Context();
        context.catalogue = c.grid ? &catalogue : &withoutGrid;
        context.runs = &runs;
        CGrillePage page(context);
        PageSettings s = NtfToRgf93(c.mode);
        s.targetSystem = c.target;
        s.sourceFile = "entree.txt";
        s.targetFile = "sortie.txt";
        s.sourceFormat = s.targetFormat = "Nom E N Altitude";
        page.Restore(s);
        page.Initialise();
        ASSERT_EQ(page.State(TargetSide, SC::System).text, c.target);
        page.Compute();
        const int ran = runs.interactive + runs.files;
        if (c.refused) {
            EXPECT_EQ(ran, 0);
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].kind, Kind::Error);
            EXPECT_EQ(ui.messages[0].caption, "Quorvel");
            EXPECT_EQ(ui.messages[0].text,
                      "Aucune grille de transformation ne relie les référentiels \"NTF\" et "
                      "\"RGF93\" !");
        } else {
            EXPECT_EQ(ran, 1);
            for (const auto& m : ui.messages) EXPECT_NE(m.kind, Kind::Error) << m.text;
        }
    }
    // The standard page needs no grid.
    FakeRuns runs(last);
    PageContext context = Context();
    context.catalogue = &withoutGrid;
    context.runs = &runs;
    CStandardPage standard(context);
    standard.Restore(NtfToRgf93());
    standard.Initialise();
    standard.Compute();
    EXPECT_EQ(runs.interactive, 1);
}

// Where the page's relative file names are taken from: the names of the
// configuration from the data folder, outputs it names without a folder in
// a folder the user can write to, typed names from the start folder.
class FileFoldersTest : public PageTest {
protected:
    PageContext Folders(bool outputFolder = true) {
        PageContext c = Context();
        c.workingDirectory = data.path() + "/";
        c.startDirectory = start.path() + "/";
        if (outputFolder) c.outputDirectory = own.path() + "/";
        return c;
    }
    std::optional<FileRunRequest> Prepare(CQuorvelPage& page) {
        CCoor source, target;
        if (!page.BuildRecords(source, target)) return std::nullopt;
        return page.PrepareFileRun(source, target);
    }
    TempDir data, start, own;
};

TEST_F(FileFoldersTest, NamesOfTheConfigurationAndTypedNames) {
    struct Case {
        const char* what;
        const char *sourceFile, *sourcePath, *targetFile, *targetPath;
        const char *typedSource, *typedTarget;  // typed after start, or null
        bool outputFolder;
        std::string input, output;
    };
    const std::string d = data.path() + "/", s = start.path() + "/", o = own.path() + "/";
    const Case cases[] = {
        {"configured names", "exemples/ntf.txt", "", "sortie.txt", "", nullptr, nullptr, true,
         d + "exemples/ntf.txt", o + "sortie.txt"},
        {"no writable folder known", "exemples/ntf.txt", "", "sortie.txt", "", nullptr, nullptr,
         false, d + "exemples/ntf.txt", d + "sortie.txt"},
        {"configured output with a folder", "ntf.txt", "", "resultats/sortie.txt", "", nullptr,
         nullptr, true, d + "ntf.txt", d + "resultats/sortie.txt"},
        {"configured relative folders", "ntf.txt", "exemples/", "sortie.txt", "resultats", nullptr,
         nullptr, true, d + "exemples/ntf.txt", d + "resultats/sortie.txt"},
        {"configured absolute folders", "ntf.txt", "/srv/points/", "sortie.txt", "/srv/calculs/",
         nullptr, nullptr, true, "/srv/points/ntf.txt", "/srv/calculs/sortie.txt"},
        {"typed names", "exemples/ntf.txt", "", "sortie.txt", "", "mesures.txt", "calcul.txt", true,
         s + "mesures.txt", s + "calcul.txt"},
        {"typed absolute names", "ntf.txt", "", "sortie.txt", "", "/srv/m.txt", "/srv/c.txt", true,
         "/srv/m.txt", "/srv/c.txt"},
        {"typed beside a configured folder", "ntf.txt", "/srv/points/", "sortie.txt", "", "m.txt",
         nullptr, true, "/srv/points/m.txt", o + "sortie.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStandardPage page(Folders(c.outputFolder));
        PageSettings settings = NtfToRgf93(1);
        settings.sourceFile = c.sourceFile;
        settings.sourcePath = c.sourcePath;
        settings.targetFile = c.targetFile;
        settings.targetPath = c.targetPath;
        settings.sourceFormat = settings.targetFormat = "Nom E N Altitude";
        page.Restore(settings);
        page.Initialise();
        if (c.typedSource) page.SetFileName(SourceSide, c.typedSource);
        if (c.typedTarget) page.SetFileName(TargetSide, c.typedTarget);
        ui.answers = {false};  // no report
        const std::optional<FileRunRequest> request = Prepare(page);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->inputPath, c.input);
        EXPECT_EQ(request->outputPath, c.output);
    }
}

TEST_F(FileFoldersTest, DialogsOpenWhereTheNamesAreTaken) {
    CStandardPage page(Folders());
    PageSettings settings = NtfToRgf93(1);
    settings.sourceFile = "exemples/ntf.txt";
    settings.targetFile = "sortie.txt";
    settings.reportFile = "rapport.rpt";
    settings.sourceFormat = settings.targetFormat = "Nom E N Altitude";
    page.Restore(settings);
    page.Initialise();
    page.Browse(SourceSide);
    page.Browse(TargetSide);
    ui.answers = {true};  // a report, whose dialog is cancelled
    ASSERT_TRUE(Prepare(page));
    ASSERT_EQ(ui.fileDialogs.size(), 3u);
    EXPECT_EQ(ui.fileDialogs[0].initialFolder, data.path() + "/");
    EXPECT_EQ(ui.fileDialogs[1].initialFolder, own.path() + "/");
    EXPECT_EQ(ui.fileDialogs[2].initialFolder, own.path() + "/");
    EXPECT_EQ(ui.fileDialogs[2].initialName, "rapport.rpt");
    // Typed, the input name is taken from the start folder.
    page.SetFileName(SourceSide, "mesures.txt");
    page.Browse(SourceSide);
    EXPECT_EQ(ui.fileDialogs.back().initialFolder, start.path() + "/");
}

// A typed name is saved with the folder it was taken from, so that it names
// the same file at the next start; the configuration's names stay as given.
TEST_F(FileFoldersTest, TypedNamesAreSavedWithTheirFolder) {
    CStandardPage page(Folders());
    PageSettings settings = NtfToRgf93(1);
    settings.sourceFile = "exemples/ntf.txt";
    settings.targetFile = "sortie.txt";
    page.Restore(settings);
    page.Initialise();
    EXPECT_EQ(page.Settings().sourcePath, "");
    EXPECT_EQ(page.Settings().targetPath, "");
    page.SetFileName(TargetSide, "calcul.txt");
    EXPECT_EQ(page.Settings().targetPath, start.path() + "/");
    page.SetFileName(TargetSide, "/srv/calcul.txt");
    EXPECT_EQ(page.Settings().targetPath, "");
    EXPECT_EQ(page.Settings().sourcePath, "");

    CStandardPage next(Folders());
    next.Restore(page.Settings());
    next.SetFileName(SourceSide, "mesures.txt");
    next.Initialise();
    CStandardPage again(Folders());
    again.Restore(next.Settings());
    again.Initialise();
    ui.answers = {false};
    const std::optional<FileRunRequest> request = Prepare(again);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->inputPath, start.path() + "/mesures.txt");
}

}  // namespace
