#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

#include "app/quorvel_app.h"
#include "pages/window_rules.h"
#include "catalogue/loader.h"

#include <cstdlib>
#include <filesystem>
#include "app/application_runs.h"
#include "shared/profile.h"
#include "pages/quorvel_page.h"
#include "batch/command_line.h"
#include "runs/console_run.h"
#include "support/page_catalogue.h"
#include "support/scripted_interface.h"
#include "ui/test_application.h"
#include "support/temp_dir.h"
#include "ui/french_dialogs.h"
#include "ui/progress_dlg.h"
#include "ui/qt_user_interface.h"
#include "ui/quorvel_dlg.h"
#include "ui/quorvel_page_view.h"

namespace {

using SC = SideControl;
using Kind = ScriptedInterface::Kind;

QApplication& App() { return TestApplication(); }

constexpr const char* kInformations =
    "[INFORMATIONS]\nTitre=Quorvel\nVersion=Version 1.1\nCopyright=Les auteurs\n"
    "Standard=Sept paramètres.\nGrille=Par grilles.\n";

constexpr const char* kStandardSection =
    "[Standard]\nMode=0\nNom du point=Borne\nVerticale=2\nSystème de départ=NTF\n"
    "Coordonnées de départ=Planes\nProjection de départ=NTF Lambert II étendu\n"
    "Système d'arrivée=RGF93\nCoordonnées d'arrivée=Planes\nProjection d'arrivée=Lambert-93\n";

constexpr const char* kGrilleSection =
    "[Grille]\nMode=1\nSystème de départ=NTF\nCoordonnées de départ=Géographiques\n"
    "Système d'arrivée=RGF93\nCoordonnées d'arrivée=Géographiques\n";

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        LoadCatalogueText(kPageCatalogueText, app.catalogue);
        app.startDirectory = app.workingDirectory = dir.path() + "/";
    }
    std::unique_ptr<CQuorvelDlg> Open(const std::string& sections) {
        config = dir.File("quorvel.ini");
        if (!std::ifstream(config)) std::ofstream(config) << kInformations << sections;
        app.configurationPath = config;
        WindowSetup setup;
        setup.app = &app;
        setup.ui = &ui;
        setup.lastResult = &last;
        setup.helpFile = dir.File("absent.html");
        setup.releaseGrids = [this] { ++releases; };
        return std::make_unique<CQuorvelDlg>(setup);
    }
    static QComboBox* Combo(QuorvelPageView* view, PageSide side, SC c) {
        return qobject_cast<QComboBox*>(view->Widget(side, c));
    }
    static QLineEdit* Edit(QuorvelPageView* view, PageSide side, SC c) {
        return qobject_cast<QLineEdit*>(view->Widget(side, c));
    }
    static QStringList Items(QComboBox* combo) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    // Chooses an entry as the user does, through the list's activation.
    static void Choose(QComboBox* combo, const QString& text) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    TempDir dir;
    std::string config;
    CQuorvelApp app;
    ScriptedInterface ui;
    CCoor last;
    int releases = 0;
};

TEST_F(WindowTest, TabsFollowTheConfigurationSections) {
    auto both = Open(std::string(kStandardSection) + kGrilleSection);
    ASSERT_EQ(both->Tabs()->count(), 3);
    EXPECT_EQ(both->Tabs()->tabText(0), QString("&A propos de Quorvel"));
    EXPECT_EQ(both->Tabs()->tabText(1), QString("Transformation standard"));
    EXPECT_EQ(both->Tabs()->tabText(2), QString("Transformation grille"));
    EXPECT_EQ(both->windowTitle(), QString("Quorvel"));
    EXPECT_FALSE(both->ComputeButton()->isEnabled());
    EXPECT_EQ(both->ComputeButton()->toolTip(),
              QString("Calcule la transformation de coordonnées précisée"));
    both->Tabs()->setCurrentIndex(2);
    EXPECT_TRUE(both->ComputeButton()->isEnabled());
    both->Tabs()->setCurrentIndex(0);
    EXPECT_FALSE(both->ComputeButton()->isEnabled());
}

TEST_F(WindowTest, WithoutStandardSectionTheGridPageIsSecond) {
    auto window = Open(kGrilleSection);
    ASSERT_EQ(window->Tabs()->count(), 2);
    EXPECT_EQ(window->Tabs()->tabText(1), QString("Transformation grille"));
    EXPECT_EQ(window->Page(StandardKind), nullptr);
    ASSERT_NE(window->Page(GridKind), nullptr);
    // Computing on tab 1 runs the grid page's file checks.
    window->Tabs()->setCurrentIndex(1);
    window->Compute();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text,
              "Veuillez saisir un nom de fichier de départ, s'il vous plait !");
}

TEST_F(WindowTest, WithoutPagesEnterShowsThePresentationMessage) {
    auto window = Open("");
    EXPECT_EQ(window->Tabs()->count(), 1);
    window->show();
    QTest::keyClick(window.get(), Qt::Key_Return);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "\n\nDésolé, mais ce n'est pas ici que l'on calcule.\nRéessayez, mais dans les pages "
              "standard ou grille,pas dans la page de présentation !!!\n\n");
}

TEST_F(WindowTest, CascadeRefillsTheWidgetsAfterADepartureChange) {
    auto window = Open(kStandardSection);
    QuorvelPageView* view = window->View(StandardKind);
    ASSERT_NE(view, nullptr);
    QComboBox* source = Combo(view, SourceSide, SC::System);
    EXPECT_EQ(Items(source), (QStringList{"NTF", "RGF93", "SANS UNITE", "WGS84"}));
    EXPECT_EQ(source->toolTip(), QString("Liste des systèmes de référence(REG)"));
    EXPECT_EQ(Items(Combo(view, TargetSide, SC::System)), (QStringList{"NTF", "RGF93"}));
    Choose(source, "RGF93");
    EXPECT_EQ(Items(Combo(view, TargetSide, SC::System)), (QStringList{"NTF", "RGF93", "WGS84"}));
    EXPECT_EQ(Combo(view, SourceSide, SC::Meridian)->currentText(), QString("Greenwich"));
    EXPECT_EQ(Items(Combo(view, SourceSide, SC::Projection)), (QStringList{"Lambert-93"}));
    EXPECT_EQ(Items(Combo(view, SourceSide, SC::Type)),
              (QStringList{"Cartésiennes", "Géographiques", "Planes"}));
}

TEST_F(WindowTest, TwoDimensionalGeographicFormatsAndTheHeightRefusal) {
    auto window = Open(kGrilleSection);
    QuorvelPageView* view = window->View(GridKind);
    window->show();
    window->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Items(Combo(view, SourceSide, SC::Format)),
              (QStringList{"Lat Lon Altitude", "Lon Lat Altitude", "Nom Lat Lon Altitude",
                           "Nom Lon Lat Altitude"}));
    EXPECT_TRUE(view->Widget(SourceSide, SC::Format)->isVisible());
    EXPECT_FALSE(view->Widget(SourceSide, SC::LonDegrees)->isVisible());
    // Back to the typed point: "Hauteur" is refused on the 2D departure NTF.
    view->ModeRadio(0)->click();
    EXPECT_FALSE(view->Widget(SourceSide, SC::Format)->isVisible());
    view->VerticalRadio(1)->click();
    ASSERT_EQ(ui.Of(Kind::Error).size(), 1u);
    EXPECT_EQ(ui.Of(Kind::Error)[0].text,
              "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF.\n");
    EXPECT_TRUE(view->VerticalRadio(2)->isChecked());
    EXPECT_TRUE(view->Widget(SourceSide, SC::Altitude)->isVisible());
    EXPECT_FALSE(view->Widget(SourceSide, SC::Height)->isVisible());
}

TEST_F(WindowTest, NegativeTypedLongitudeIsRefusedWithTheExactMessage) {
    auto window = Open(std::string(kStandardSection));
    QuorvelPageView* view = window->View(StandardKind);
    window->show();
    window->Tabs()->setCurrentIndex(1);
    Choose(Combo(view, SourceSide, SC::Type), "Géographiques");
    Choose(Combo(view, SourceSide, SC::Unit), "Degrés décimaux");
    QLineEdit* lon = Edit(view, SourceSide, SC::X);
    ASSERT_TRUE(lon->isVisible());
    lon->clear();
    QTest::keyClicks(lon, "-2.5");
    QTest::keyClick(lon, Qt::Key_Return);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Ne pas saisir de signe négatif pour la longitude,\nutiliser le radio bouton "
              "\"Ouest\"");
}

TEST_F(WindowTest, RangeRefusalFocusesTheField) {
    auto window = Open(std::string(kStandardSection));
    QuorvelPageView* view = window->View(StandardKind);
    window->show();
    window->Tabs()->setCurrentIndex(1);
    Choose(Combo(view, SourceSide, SC::Type), "Géographiques");
    Choose(Combo(view, SourceSide, SC::Unit), "Degrés Minutes Secondes");
    QLineEdit* latitude = Edit(view, SourceSide, SC::LatDegrees);
    ASSERT_TRUE(latitude->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(view->Widget(SourceSide, SC::LonMinutesSymbol))->text(),
              QString("'"));
    latitude->selectAll();
    QTest::keyClicks(latitude, "91");
    window->ComputeButton()->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Warning);
    EXPECT_EQ(ui.messages[0].text, "Tapez un nombre entier compris entre 0 et 90.");
    EXPECT_EQ(window->focusWidget(), latitude);
}

TEST_F(WindowTest, UnitAndMeridianChangesReExpressTheLastResult) {
    auto window = Open(
        "[Standard]\nMode=0\nSystème de départ=RGF93\nCoordonnées de départ=Géographiques\n"
        "Système d'arrivée=WGS84\nCoordonnées d'arrivée=Géographiques\n"
        "Unité d'arrivée=Degrés Minutes Secondes\n");
    QuorvelPageView* view = window->View(StandardKind);
    CQuorvelPage* page = window->Page(StandardKind);
    last.type = Geographic;
    last.unit = PackedDms;
    last.longitude = -1.3;  // 1°30' West
    last.latitude = 45.15;
    last.sys.meridian = FindByName(app.catalogue.meridians, "Greenwich");
    CCoor shown = last;
    page->DisplayResult(shown);
    view->Refresh();
    EXPECT_TRUE(view->WestRadio(TargetSide, true)->isChecked());
    EXPECT_EQ(Edit(view, TargetSide, SC::LonMinutes)->text(), QString("30"));
    Choose(Combo(view, TargetSide, SC::Unit), "Degrés décimaux");
    EXPECT_EQ(Edit(view, TargetSide, SC::X)->text(), QString("1.50000000"));
    EXPECT_EQ(Edit(view, TargetSide, SC::Y)->text(), QString("45.25000000"));
    Choose(Combo(view, TargetSide, SC::Meridian), "Paris");
    EXPECT_EQ(Edit(view, TargetSide, SC::X)->text(), QString("3.83722917"));
    view->WestRadio(TargetSide, false)->click();
    EXPECT_EQ(Edit(view, TargetSide, SC::X)->text(), QString("356.16277083"));
    EXPECT_TRUE(view->WestRadio(TargetSide, false)->isChecked());
}

TEST_F(WindowTest, ChoicesAreSavedOnCloseAndRestoredAtTheNextStart) {
    {
        auto window = Open(std::string(kStandardSection) + kGrilleSection);
        QuorvelPageView* view = window->View(StandardKind);
        Choose(Combo(view, SourceSide, SC::System), "RGF93");
        Choose(Combo(view, TargetSide, SC::System), "WGS84");
        Choose(Combo(view, TargetSide, SC::Type), "Géographiques");
        QLineEdit* name = qobject_cast<QLineEdit*>(view->Widget(PageControl::PointName));
        name->selectAll();
        QTest::keyClicks(name, "Borne 7");
        window->reject();
        EXPECT_EQ(releases, 1);
        EXPECT_TRUE(ui.messages.empty());
    }
    EXPECT_EQ(GetProfileString(config, "Standard", "Système de départ", ""), "RGF93");
    EXPECT_EQ(GetProfileString(config, "Standard", "Nom du point", ""), "Borne 7");
    EXPECT_EQ(GetProfileString(config, "Grille", "Mode", ""), "1");
    auto again = Open("");
    QuorvelPageView* view = again->View(StandardKind);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Combo(view, SourceSide, SC::System)->currentText(), QString("RGF93"));
    EXPECT_EQ(Combo(view, TargetSide, SC::System)->currentText(), QString("WGS84"));
    EXPECT_EQ(Combo(view, TargetSide, SC::Type)->currentText(), QString("Géographiques"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->Widget(PageControl::PointName))->text(),
              QString("Borne 7"));
}

TEST_F(WindowTest, SaveFailureIsWarnedAndTheWindowStillCloses) {
    auto window = Open(kStandardSection);
    std::filesystem::remove(config);
    std::filesystem::create_directory(config);  // a folder in place of the file
    window->reject();
    ASSERT_EQ(ui.Of(Kind::Warning).size(), 1u);
    EXPECT_EQ(ui.Of(Kind::Warning)[0].text,
              "Les données de configuration n'ont pu être sauvegardées correctement !\nVerifiez "
              "que Quorvel.ini est accessible en ecriture...");
    EXPECT_EQ(releases, 1);
    std::filesystem::remove(config);
}

TEST_F(WindowTest, HelpWithoutItsPageSaysSo) {
    auto window = Open("");
    window->OpenHelp();
    ASSERT_EQ(ui.Of(Kind::Warning).size(), 1u);
    EXPECT_NE(ui.Of(Kind::Warning)[0].text.find("absent.html"), std::string::npos);
}

TEST(ProgressWindow, RangePercentageCancelAndPlacement) {
    App();
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    auto first = std::make_unique<CProgressDlg>();
    ASSERT_TRUE(first->Create(&owner));
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_EQ(first->windowTitle(), QString("Quorvel"));
    EXPECT_EQ(first->PercentText(), QString(" 0 %"));
    EXPECT_EQ(first->StatusText(), QString("Travail en cours ... patience"));
    first->SetRange(1, 101);
    first->SetStep(25);
    first->SetPos(1);
    EXPECT_EQ(first->PercentText(), QString("0%"));
    first->StepIt();
    EXPECT_EQ(first->PercentText(), QString("25%"));
    first->SetPos(101);
    EXPECT_EQ(first->PercentText(), QString("100%"));
    // Cancel keeps the window open and is seen once by the next check.
    first->reject();
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->CheckCancel());
    EXPECT_FALSE(first->CheckCancel());
    // A second window goes 200 pixels lower than the first.
    CProgressDlg second;
    ASSERT_TRUE(second.Create(&owner));
    EXPECT_EQ(CProgressDlg::AliveCount(), 2);
    EXPECT_EQ(second.pos().y() - first->pos().y(), 200);
    second.Destroy();
    first.reset();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(CProgressDlg::AliveCount(), 0);
}

}  // namespace

namespace {

// The window of the default installation computing for real, through the
// application's runs, compared with the console run of the same point.
class ComputingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Qt set to French as the program sets it: the numbers shown and
        // written keep their decimal point.
        SpeakFrenchInQtDialogs(App());
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        app.workingDirectory = data;
        app.startDirectory = dir.path() + "/";
        // Outputs named without a folder: the test folder, standing for the
        // user's own folder beside a data folder they cannot write to.
        app.outputDirectory = dir.path() + "/sorties/";
        std::filesystem::create_directory(app.outputDirectory);
        std::filesystem::copy_file(data + "Quorvel/quorvel.ini", dir.File("quorvel.ini"));
        app.configurationPath = dir.File("quorvel.ini");
        ASSERT_FALSE(ReadCatalogue(data + "catalogue.txt", app.catalogue));
        app.interactiveLog.Open(dir.File("log.txt"));
        WindowSetup setup;
        setup.app = &app;
        setup.ui = &ui;
        setup.lastResult = &last;
        setup.runs = &runs;
        window = std::make_unique<CQuorvelDlg>(setup);
        window->show();
    }
    void TearDown() override { unsetenv("QUORVEL_TIME_STAMP"); }

    QuorvelPageView* Select(int kind) {
        const int tab = kind == StandardKind ? 1 : 2;
        window->Tabs()->setCurrentIndex(tab);
        return window->View(kind);
    }
    static void Type(QWidget* widget, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        EXPECT_TRUE(edit != nullptr && edit->isVisible());
        if (edit == nullptr) return;
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static QString Text(QuorvelPageView* view, SC control) {
        return qobject_cast<QLineEdit*>(view->Widget(TargetSide, control))->text();
    }
    // The console run of the same transformation: one point, or a file.
    std::string Console(const std::vector<std::string>& arguments) {
        CQuorvelCommandLine line;
        std::string message;
        EXPECT_TRUE(ParseCommandLine(line, arguments, "", message)) << message;
        std::string written, result;
        CGrille1D vertical;
        const ConsoleRunEnvironment environment{
            app.catalogue,
            vertical,
            [this](const std::string& name) { return dir.File(name); },
            [&written](std::string_view text) { written += text; },
            nullptr,
            nullptr,
            data};
        EXPECT_EQ(RunConsoleCommandLine(line, environment, result), ConsoleRunOutcome::Finished)
            << result;
        return written;
    }

    const std::string data = QUORVEL_SOURCE_DIR "/data/";
    TempDir dir;
    CQuorvelApp app;
    ScriptedInterface ui;
    CCoor last;
    CApplicationRuns runs{app, ui, last};
    std::unique_ptr<CQuorvelDlg> window;
};

TEST_F(ComputingWindowTest, InteractiveLambertIIEtenduToLambert93EqualsTheConsoleRun) {
    for (int kind : {StandardKind, GridKind}) {
        SCOPED_TRACE(kind);
        QuorvelPageView* view = Select(kind);
        view->ModeRadio(0)->click();
        Type(view->Widget(SourceSide, SC::E), "600984.230");
        Type(view->Widget(SourceSide, SC::N), "2428291.971");
        Type(view->Widget(SourceSide, SC::Altitude), "35");
        window->ComputeButton()->click();
        EXPECT_TRUE(ui.messages.empty());

        const std::vector<std::string> common = {
            "-type", std::to_string(kind), "-sys1", "1",   "-sys2", "4", "-typcoor1", "3",
            "27572", "-typcoor2",          "3",     "2154"};
        std::vector<std::string> point = {"-mode", "0"};
        point.insert(point.end(), common.begin(), common.end());
        point.insert(point.end(), {"-E", "600984.230", "-N", "2428291.971"});
        const std::string single = Console(point);
        double e = 0, n = 0;
        ASSERT_EQ(std::sscanf(single.c_str(), "%lf %lf", &e, &n), 2) << single;
        EXPECT_EQ(Text(view, SC::E).toStdString(), single.substr(0, single.find(' ')));
        EXPECT_EQ(Text(view, SC::N).toStdString(), single.substr(single.find(' ') + 1));
        EXPECT_EQ(Text(view, SC::Altitude), QString("35.000"));

        // Convergence (degrees) and linear alteration: the console's file line.
        dir.Write("point.txt", "Paris 600984.230 2428291.971 35\n");
        std::vector<std::string> file = {"-mode", "1"};
        file.insert(file.end(), common.begin(), common.end());
        file.insert(file.end(), {"-f1", "1", "point.txt", "-f2", "1", "point_out.txt", "-v"});
        Console(file);
        const std::string written = TempDir::Read(dir.File("point_out.txt"));
        const std::size_t at = written.find("               Paris");
        ASSERT_NE(at, std::string::npos) << written;
        char name[32];
        double east = 0, north = 0, altitude = 0, convergence = 0, alteration = 0;
        ASSERT_EQ(std::sscanf(written.c_str() + at, "%31s %lf %lf %lf %lf %lf", name, &east, &north,
                              &altitude, &convergence, &alteration),
                  6);
        EXPECT_NEAR(Text(view, SC::Convergence).toDouble(), convergence, 0.5e-5);
        EXPECT_EQ(Text(view, SC::Convergence).size(), QString::number(convergence, 'f', 5).size());
        EXPECT_EQ(Text(view, SC::Alteration), QString::number(alteration, 'f', 1));
        // The precision sentence, as the information line shows it.
        auto* info = qobject_cast<QPlainTextEdit*>(view->Widget(PageControl::InfoLine));
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->toPlainText().startsWith("La précision de la transformation est : "))
            << info->toPlainText().toStdString();
    }
}

// Started from another folder than the data folder, the grid page's preset
// example file is found in the data folder, and its output goes to the
// folder the user can write to.
TEST_F(ComputingWindowTest, ThePresetExampleRunsFromAnyStartFolder) {
    Select(GridKind);
    ASSERT_EQ(window->Page(GridKind)->Mode(), 1);
    ui.answers = {false};  // no report
    window->ComputeButton()->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].kind, Kind::Information);
    const std::string input = data + "exemples/ntf_lambert2e.txt";
    const std::string output = dir.path() + "/sorties/ntf_vers_rgf93_grille.txt";
    EXPECT_EQ(ui.messages[1].text.rfind("Transformation TERMINEE entre les fichiers suivants :\n\n" +
                                            input + " \n" + output + "\n\n",
                                        0),
              0u)
        << ui.messages[1].text;
    EXPECT_NE(TempDir::Read(output).find("Paris_NotreDame"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data + "ntf_vers_rgf93_grille.txt"));
}

TEST_F(ComputingWindowTest, FileRunWithScriptedReportAnswerEndsInTheSummary) {
    QuorvelPageView* view = Select(StandardKind);
    view->ModeRadio(1)->click();
    const std::string input = dir.Write("entree.txt",
                                        "* Deux points\n"
                                        "Paris 600984.230 2428291.971 35.0\n"
                                        "Brest 94489.738 2397710.572 12.0\n"
                                        "Loin 600000 9000000 10\n");
    Type(view->Widget(SourceSide, SC::FileName), QString::fromStdString(input));
    Type(view->Widget(TargetSide, SC::FileName), QString::fromStdString(dir.File("sortie.txt")));
    ui.answers = {true};
    ui.fileNames = {dir.File("rapport.prt")};
    window->ComputeButton()->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Question);
    EXPECT_EQ(ui.messages[0].text.rfind("\nSouhaitez vous l'écriture d'un fichier rapport", 0), 0u);
    EXPECT_EQ(ui.messages[1].kind, Kind::Information);
    EXPECT_EQ(ui.messages[1].text,
              "Transformation TERMINEE entre les fichiers suivants :\n\n" + input + " \n" +
                  dir.File("sortie.txt") +
                  "\n\n2 transformation(s) réussie(s)\n0 transformation(s) non réussie(s)\n1 "
                  "transformation(s) hors zone\n\nRapport dans le fichier " +
                  dir.File("rapport.prt"));
    const std::string output = TempDir::Read(dir.File("sortie.txt"));
    EXPECT_NE(output.find("               Paris"), std::string::npos);
    EXPECT_NE(output.find("* Fin Mardi 8/12/2026 -- 9:05:07\r\n"), std::string::npos);
    EXPECT_NE(TempDir::Read(dir.File("rapport.prt")).find("Fin Mardi 8/12/2026"),
              std::string::npos);
    // Every computed point of a file run also goes to the interactive log.
    app.interactiveLog.Flush();
    const std::string logged = TempDir::Read(dir.File("log.txt"));
    EXPECT_NE(logged.find("POINT : Brest"), std::string::npos);
}

}  // namespace

namespace {

// Scripted messages, but Qt's own file dialogs.
struct RealFileDialogs : ScriptedInterface {
    QtUserInterface qt;
    std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
        return qt.AskFileName(request);
    }
};

// With QUORVEL_SCREENSHOT_DIR set (scripts/screenshots under Xvfb), saves a
// picture of each tab of the default installation's window in each mode.
TEST(WindowPictures, EveryTabInEachMode) {
    const char* folder = std::getenv("QUORVEL_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "QUORVEL_SCREENSHOT_DIR not set";
    App();
    CQuorvelApp app;
    app.configurationPath = std::string(QUORVEL_SOURCE_DIR) + "/data/Quorvel/quorvel.ini";
    app.startDirectory = app.workingDirectory = std::string(QUORVEL_SOURCE_DIR) + "/data/";
    RealFileDialogs ui;
    ASSERT_TRUE(LoadCatalogue(app.workingDirectory + "catalogue.txt", app.catalogue, ui, "Quorvel"));
    CCoor last;
    TempDir logFolder;
    app.interactiveLog.Open(logFolder.File("log.txt"));
    CApplicationRuns runs{app, ui, last};
    WindowSetup setup;
    setup.app = &app;
    setup.ui = &ui;
    setup.lastResult = &last;
    setup.runs = &runs;
    CQuorvelDlg window(setup);
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    const std::string base = std::string(folder) + "/";
    window.grab().save(QString::fromStdString(base + "presentation.png"));
    for (int tab = 1; tab < window.Tabs()->count(); ++tab) {
        window.Tabs()->setCurrentIndex(tab);
        const int kind = PageKindAtTab(tab, window.Page(StandardKind) != nullptr,
                                       window.Page(GridKind) != nullptr);
        QuorvelPageView* view = window.View(kind);
        for (int mode : {0, 1}) {
            view->ModeRadio(mode)->click();
            if (mode == 0) {
                // Notre-Dame de Paris in NTF Lambert II étendu, computed.
                const std::pair<SC, const char*> typed[] = {
                    {SC::E, "600984.230"}, {SC::N, "2428291.971"}, {SC::Altitude, "35"}};
                for (const auto& [control, text] : typed) {
                    if (auto* edit = qobject_cast<QLineEdit*>(view->Widget(SourceSide, control))) {
                        edit->selectAll();
                        QTest::keyClicks(edit, text);
                    }
                }
                window.ComputeButton()->click();
            }
            QApplication::processEvents();
            window.grab().save(QString::fromStdString(
                base + (kind == StandardKind ? "standard" : "grille") +
                (mode == 0 ? "_interactif.png" : "_fichier.png")));
        }
    }
    EXPECT_TRUE(std::filesystem::exists(base + "presentation.png"));

    // The standard page at the window's minimum size and over the whole screen.
    window.Tabs()->setCurrentIndex(1);
    window.View(StandardKind)->ModeRadio(0)->click();
    window.ComputeButton()->click();
    QApplication::processEvents();
    window.resize(window.minimumSize());
    QApplication::processEvents();
    window.grab().save(QString::fromStdString(base + "taille_minimale.png"));
    window.resize(window.screen()->availableGeometry().size());
    QApplication::processEvents();
    window.grab().save(QString::fromStdString(base + "plein_ecran.png"));
    window.resize(1000, 700);

    // The input file's "Parcourir" dialog, as Qt draws it in French.
    SpeakFrenchInQtDialogs(App());
    ui.qt.SetOwner(&window);
    QuorvelPageView* view = window.View(StandardKind);
    view->ModeRadio(1)->click();
    QTimer::singleShot(500, [&base] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->grab().save(QString::fromStdString(base + "dialogue_fichier.png"));
            dialog->close();
        }
    });
    qobject_cast<QPushButton*>(view->Widget(SourceSide, SC::Browse))->click();
    EXPECT_TRUE(std::filesystem::exists(base + "dialogue_fichier.png"));
}

}  // namespace
