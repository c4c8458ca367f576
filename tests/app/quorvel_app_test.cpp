#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "shared/profile.h"
#include "app/quorvel_app.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

namespace {

const char kCatalogue[] =
    "* a small catalogue\n"
    "ELG 1 6378137 6356752.314 298.257222101 0.00669438002290 GRS 1980\n"
    "LGO 1 2 0 Greenwich\n"
    "REG 4 1 1 3D RGF93\n";

// Start-up in an all-users profile folder of its own. Restores the current
// directory and ALLUSERSPROFILE afterwards.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        cwd_ = std::filesystem::current_path();
        if (const char* value = ::getenv("ALLUSERSPROFILE")) saved_ = value;
        ::setenv("ALLUSERSPROFILE", profile_.path().c_str(), 1);
        // Run in a folder of its own: the working directory of the profile case.
        std::filesystem::create_directories(work_.path());
        std::filesystem::current_path(work_.path());
        int fds[2];
        ASSERT_EQ(0, ::pipe(fds));
        keys_ = fds[0];
        ::close(fds[1]);  // the key wait sees the end of input at once
        app_.keyInput = keys_;
    }
    void TearDown() override {
        std::filesystem::current_path(cwd_);
        if (saved_) {
            ::setenv("ALLUSERSPROFILE", saved_->c_str(), 1);
        } else {
            ::unsetenv("ALLUSERSPROFILE");
        }
        ::close(keys_);
    }

    // A configuration file at one of the two candidate places.
    std::string WriteConfiguration(const std::string& text, bool second = false) {
        std::string folder = profile_.path() + (second ? "/Application Data/Quorvel" : "/Quorvel");
        std::filesystem::create_directories(folder);
        return profile_.Write(folder.substr(profile_.path().size() + 1) + "/quorvel.ini", text);
    }
    void WriteCatalogue(const std::string& bytes) { work_.Write("catalogue.txt", bytes); }

    // Runs start-up; the exit code, or the code given to Exit.
    int Run(std::vector<std::string> arguments, std::string* output = nullptr) {
        testing::internal::CaptureStdout();
        int code = 0;
        try {
            code = app_.Run(arguments, ui_);
        } catch (const ScriptedExit& exit) {
            code = exit.code;
        }
        std::string out = testing::internal::GetCapturedStdout();
        if (output) *output = out;
        return code;
    }

    std::string Errors() const {
        std::string text;
        for (const auto& m : ui_.Of(ScriptedInterface::Kind::Error)) text += m.text + "|";
        return text;
    }

    TempDir profile_;
    TempDir work_;
    CQuorvelApp app_;
    ScriptedInterface ui_;
    std::filesystem::path cwd_;
    std::optional<std::string> saved_;
    int keys_ = -1;
};

const std::string kBanner = "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***";
const std::string kPrompt = "\nAppuyer sur une touche pour quitter l'application ...\n";

TEST_F(StartUp, FirstCandidateWinsOverTheSecond) {
    WriteConfiguration("[INFORMATIONS]\nTitre=Premier\n[DATA]\nData=catalogue.txt\n");
    WriteConfiguration("[INFORMATIONS]\nTitre=Second\n[DATA]\nData=catalogue.txt\n", true);
    WriteCatalogue(kCatalogue);
    EXPECT_EQ(0, Run({"/usr/bin/quorvel", "-?"}));
    EXPECT_EQ(profile_.path() + "/Quorvel/quorvel.ini", app_.configurationPath);
    EXPECT_EQ("Premier", app_.title);
    ASSERT_EQ(1u, app_.catalogue.systems.size());
    EXPECT_EQ("RGF93", app_.catalogue.systems[0].name);
}

TEST_F(StartUp, SecondCandidateWhenTheFirstIsMissing) {
    WriteConfiguration("[INFORMATIONS]\nTitre=Second\n[DATA]\nData=catalogue.txt\n", true);
    WriteCatalogue(kCatalogue);
    EXPECT_EQ(0, Run({"quorvel", "-v"}));
    EXPECT_EQ(profile_.path() + "/Application Data/Quorvel/quorvel.ini", app_.configurationPath);
    EXPECT_EQ("Second", app_.title);
}

TEST_F(StartUp, TheProgramNameNamesTheConfigurationFile) {
    std::filesystem::create_directories(profile_.path() + "/Quorvel");
    profile_.Write("Quorvel/qv2.ini", "[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    EXPECT_EQ(0, Run({"/opt/bin/qv2.exe", "x"}));
    EXPECT_EQ("qv2", app_.programBaseName);
    EXPECT_EQ(profile_.path() + "/Quorvel/qv2.ini", app_.configurationPath);
}

TEST_F(StartUp, NeitherCandidateEndsWithTheSecondPath) {
    std::string output;
    EXPECT_EQ(1, Run({"quorvel", "-x"}, &output));
    EXPECT_EQ(
        "Le fichier " + profile_.path() + "/Application Data/Quorvel/quorvel.ini n'existe pas|",
        Errors());
    EXPECT_EQ("", output);  // no banner: the configuration comes first
}

TEST_F(StartUp, EmptyDataNamesTheWorkingDirectoryWhichCannotBeRead) {
    WriteConfiguration("[INFORMATIONS]\nTitre=T\n");
    EXPECT_EQ(1, Run({"quorvel", "-x"}));
    std::string working = std::filesystem::current_path().string() + "/";
    EXPECT_EQ(working, app_.workingDirectory);
    EXPECT_EQ(working, app_.cataloguePath);
    EXPECT_EQ("Impossible de lire le fichier\n" + working + "|", Errors());
}

TEST_F(StartUp, MalformedCatalogueLineEndsTheProgram) {
    WriteConfiguration("[INFORMATIONS]\nTitre=Quorvel test\n[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(std::string(kCatalogue) + "\n\nREG 5 9 1 3D Sans ellipsoide\n");
    std::string output;
    EXPECT_EQ(1, Run({"quorvel", "-x"}, &output));
    std::string path = std::filesystem::current_path().string() + "/catalogue.txt";
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ("Erreur dans le fichier \"" + path +
                  "\" :\nMauvais format à la ligne 7:\n\n\"REG 5 9 1 3D Sans ellipsoide\"",
              ui_.messages[0].text);
    EXPECT_EQ("Quorvel test", ui_.messages[0].caption);
    EXPECT_EQ("", output);
}

TEST_F(StartUp, GlobalKeysAndTheTitleCutTo79Characters) {
    std::string longTitle;
    for (int i = 0; i < 90; ++i) longTitle += "é";
    WriteConfiguration("[INFORMATIONS]\nTitre=" + longTitle +
                       "\n[DATA]\nData=catalogue.txt\n[AIDE]\nAide_html=aide.html\n"
                       "Console=quorvel -type 1 ...\n[LOG]\nLog=log.txt\n"
                       "[EXEMPLES]\nExemples=exemples/\n");
    WriteCatalogue(kCatalogue);
    EXPECT_EQ(0, Run({"quorvel", "-x"}));
    std::string expectedTitle;
    for (int i = 0; i < 79; ++i) expectedTitle += "é";
    EXPECT_EQ(expectedTitle, app_.title);
    const std::string& wd = app_.workingDirectory;
    EXPECT_EQ(std::filesystem::current_path().string() + "/", wd);
    EXPECT_EQ(wd, app_.startDirectory);
    EXPECT_EQ(wd + "catalogue.txt", app_.cataloguePath);
    EXPECT_EQ(wd + "aide.html", app_.helpValue);
    EXPECT_EQ("quorvel -type 1 ...", app_.consoleValue);
    EXPECT_EQ(wd + "log.txt", app_.logValue);
    EXPECT_EQ(wd + "exemples/", app_.examplesValue);
}

TEST_F(StartUp, ConsoleModeWritesTheBannerThenThePromptAndReturnsAtOnce) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    std::string output;
    EXPECT_EQ(0, Run({"quorvel", "not-a-valid-flag"}, &output));
    EXPECT_EQ(kBanner + kPrompt, output);
    EXPECT_EQ(1, app_.console);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(StartUp, ConsoleModeChecksGridsAfterTheBannerAndHandsOverTheArguments) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    std::vector<std::string> calls;
    app_.checkVerticalGrids = [&](CQuorvelApp& app, UserInterface&) {
        calls.push_back("GR1D console=" + std::to_string(app.console));
        return 1;
    };
    app_.checkTranslationGrids = [&](CQuorvelApp&, UserInterface&) {
        calls.push_back("GR3D");
        return 1;
    };
    std::vector<std::string> handed;
    app_.consoleRun = [&](CQuorvelApp&, const std::vector<std::string>& arguments,
                          std::string& message) {
        calls.push_back("run");
        handed = arguments;
        message = "Le flag n'existe pas";
        return kExitStopped;
    };
    std::string output;
    // A run that stopped ends the process with a non-zero code.
    EXPECT_EQ(1, Run({"quorvel", "-sys1", "4"}, &output));
    EXPECT_EQ((std::vector<std::string>{"GR1D console=1", "GR3D", "run"}), calls);
    EXPECT_EQ((std::vector<std::string>{"quorvel", "-sys1", "4"}), handed);
    EXPECT_EQ(kBanner + "Le flag n'existe pas" + kPrompt, output);
}

// The interactive log: a console run leaves it alone; the window keeps the
// log of its previous use beside a new empty one.
TEST_F(StartUp, TheWindowKeepsThePreviousLogAndTheConsoleLeavesItAlone) {
    const std::string old = "POINT : Borne\r\nEllipso\xEF" "de\r\n", older = "avant-hier\r\n";
    using Content = std::optional<std::string>;  // nullopt: no such file
    const std::tuple<const char*, bool, Content, Content, Content, Content> cases[] = {
        // mode, window available, log and predecessor before, then after
        {"-v", false, old, older, old, older},      // console: byte for byte
        {"-v", false, {}, {}, {}, {}},              // console: no log created
        {nullptr, true, old, older, "", old},       // the log set aside
        {nullptr, true, old, {}, "", old},
        {nullptr, true, "", older, "", older},      // an empty log replaces nothing
        {nullptr, true, {}, older, "", older},
        {nullptr, false, old, older, old, older},   // no window to start
    };
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    const auto content = [](const std::string& path) -> Content {
        if (!std::filesystem::exists(path)) return std::nullopt;
        return TempDir::Read(path);
    };
    for (const auto& [flag, window, log, previous, logAfter, previousAfter] : cases) {
        SCOPED_TRACE(std::string(flag ? flag : "window") + (log ? " log " + *log : " no log"));
        std::filesystem::remove(work_.File("log.txt"));
        std::filesystem::remove(work_.File("log_precedent.txt"));
        if (log) work_.Write("log.txt", *log);
        if (previous) work_.Write("log_precedent.txt", *previous);
        CQuorvelApp app;
        app.keyInput = keys_;
        bool open = false;
        app.consoleRun = [&](CQuorvelApp& a, const std::vector<std::string>&, std::string&) {
            open = a.interactiveLog.IsOpen();
            return open ? kExitStopped : kExitComplete;
        };
        if (window) {
            app.windowMode = [&](CQuorvelApp& a, UserInterface&) {
                return (open = a.interactiveLog.IsOpen()) ? 0 : 1;
            };
        }
        std::vector<std::string> arguments = {"quorvel"};
        if (flag) arguments.push_back(flag);
        testing::internal::CaptureStdout();
        EXPECT_EQ(app.Run(arguments, ui_), window || flag ? 0 : 1);
        testing::internal::GetCapturedStdout();
        std::filesystem::current_path(work_.path());
        EXPECT_EQ(open, window);
        EXPECT_EQ(content(work_.File("log.txt")), logAfter);
        EXPECT_EQ(content(work_.File("log_precedent.txt")), previousAfter);
    }
}

TEST_F(StartUp, AFailedGridCheckEndsTheProgramAfterTheBanner) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    bool secondChecked = false, ran = false;
    app_.checkVerticalGrids = [&](CQuorvelApp& app, UserInterface& ui) {
        ui.ShowError("Impossible d'ouvrir le fichier \ngeoid.mnt", app.Caption());
        return 0;
    };
    app_.checkTranslationGrids = [&](CQuorvelApp&, UserInterface&) {
        secondChecked = true;
        return 1;
    };
    app_.consoleRun = [&](CQuorvelApp&, const std::vector<std::string>&, std::string&) {
        ran = true;
        return kExitComplete;
    };
    std::string output;
    EXPECT_EQ(1, Run({"quorvel", "-x"}, &output));
    EXPECT_EQ(kBanner, output);
    EXPECT_EQ("Impossible d'ouvrir le fichier \ngeoid.mnt|", Errors());
    EXPECT_FALSE(secondChecked);
    EXPECT_FALSE(ran);
}

TEST_F(StartUp, ACatalogueGridThatIsMissingEndsStartUpAfterTheBanner) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(std::string(kCatalogue) + "GR3D absent.gsb 4 4\n");
    std::string output;
    EXPECT_EQ(1, Run({"quorvel", "-x"}, &output));
    EXPECT_EQ(kBanner, output.substr(0, kBanner.size()));
    EXPECT_EQ(std::string::npos, output.find("Appuyer"));
    ASSERT_EQ(1u, ui_.Of(ScriptedInterface::Kind::Error).size());
    EXPECT_NE(std::string::npos, ui_.messages[0].text.find("absent.gsb")) << ui_.messages[0].text;
}

TEST_F(StartUp, WindowModeWithoutAWindowSaysSoAndFails) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    bool checked = false;
    app_.checkVerticalGrids = [&](CQuorvelApp&, UserInterface&) { return checked = true, 1; };
    std::string output;
    EXPECT_EQ(1, Run({"quorvel"}, &output));
    EXPECT_EQ("Le mode fenêtre n'est pas disponible dans cette version de Quorvel.|", Errors());
    EXPECT_EQ("", output);
    EXPECT_FALSE(checked);

    CQuorvelApp windowed;
    windowed.windowMode = [](CQuorvelApp& app, UserInterface&) {
        return app.catalogue.systems.size() == 1 ? 42 : 43;
    };
    EXPECT_EQ(42, windowed.Run({"quorvel"}, ui_));
    EXPECT_EQ(0, windowed.console);
}

TEST_F(StartUp, UserFileNamesAreTakenFromTheStartFolder) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    EXPECT_EQ(0, Run({"quorvel", "-x"}));
    EXPECT_EQ(app_.startDirectory + "points.txt", app_.UserPath("points.txt"));
    EXPECT_EQ("/data/points.txt", app_.UserPath("/data/points.txt"));
    EXPECT_EQ("", app_.UserPath(""));
}

// Without ALLUSERSPROFILE the build's data folder holds the configuration and
// is the working directory, whatever folder the program starts in.
TEST_F(StartUp, WithoutAllUsersProfileTheDataFolderIsUsed) {
    ::unsetenv("ALLUSERSPROFILE");
    std::string data = std::string(QUORVEL_SOURCE_DIR) + "/data";
    EXPECT_EQ(std::filesystem::canonical(data),
              std::filesystem::canonical(InstallationDataFolder()));
    // The first start in a fresh tree may convert the data folder's text
    // grids into their caches; a second start reuses them and says nothing more.
    {
        CQuorvelApp first;
        first.keyInput = keys_;
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, first.Run({"quorvel", "-x"}, ui_));
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(0u, output.rfind(kBanner, 0)) << output;
        std::filesystem::current_path(work_.path());
    }
    std::string output;
    EXPECT_EQ(0, Run({"quorvel", "-x"}, &output));
    EXPECT_EQ(InstallationDataFolder() + "/Quorvel/quorvel.ini", app_.configurationPath);
    EXPECT_EQ(InstallationDataFolder() + "/", app_.workingDirectory);
    EXPECT_EQ(InstallationDataFolder() + "/", app_.outputDirectory);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(data));
    EXPECT_EQ(work_.path() + "/", app_.startDirectory);
    EXPECT_EQ(work_.path() + "/in.txt", app_.UserPath("in.txt"));
    EXPECT_EQ("Quorvel", app_.title);
    EXPECT_EQ(44u, app_.catalogue.systems.size());
    EXPECT_EQ(kBanner + kPrompt, output);
}

// An installation for all users that this user cannot write to: catalogue
// and grids are read where they are installed; the configuration, copied at
// the first start, and the log go to the user's own folder.
TEST_F(StartUp, ReadOnlyInstallationKeepsTheUsersChoicesInTheirOwnFolder) {
    ::unsetenv("ALLUSERSPROFILE");
    TempDir home;
    std::optional<std::string> savedConfig;
    if (const char* value = ::getenv("XDG_CONFIG_HOME")) savedConfig = value;
    ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    const std::string data = InstallationDataFolder();
    const std::string own = home.path() + "/quorvel";

    {
        CQuorvelApp first;
        first.keyInput = keys_;
        first.folderWritable = [&](const std::string& folder) { return folder != data; };
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, first.Run({"quorvel", "-x"}, ui_));
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(own + "/Quorvel/quorvel.ini", first.configurationPath);
        EXPECT_EQ(data + "/", first.workingDirectory);
        EXPECT_EQ(own + "/", first.logDirectory);
        EXPECT_EQ(own + "/", first.outputDirectory);
        EXPECT_EQ(data + "/catalogue.txt", first.cataloguePath);
        EXPECT_EQ(TempDir::Read(data + "/Quorvel/quorvel.ini"),
                  TempDir::Read(first.configurationPath));
        // A console run opens no log.
        EXPECT_FALSE(std::filesystem::exists(own + "/log.txt"));
        std::filesystem::current_path(work_.path());
    }

    // The user's choices are theirs: a later start does not copy over them.
    ASSERT_TRUE(WriteProfileString(own + "/Quorvel/quorvel.ini", "Standard", "Nom du point",
                                   "Borne 7"));
    app_.folderWritable = [&](const std::string& folder) { return folder != data; };
    EXPECT_EQ(0, Run({"quorvel", "-x"}));
    EXPECT_EQ("Borne 7",
              GetProfileString(app_.configurationPath, "Standard", "Nom du point", ""));

    // Without a home folder of their own, the installation's folder is used.
    ::unsetenv("XDG_CONFIG_HOME");
    std::optional<std::string> savedHome;
    if (const char* value = ::getenv("HOME")) savedHome = value;
    ::unsetenv("HOME");
    EXPECT_EQ("", UserDataFolder(data, "quorvel"));
    if (savedHome) ::setenv("HOME", savedHome->c_str(), 1);
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
}

// The pages' outputs named without a folder go to the working directory
// when the user can write to it, else to the user's own folder.
TEST_F(StartUp, PageOutputsGoWhereTheUserCanWrite) {
    WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    WriteCatalogue(kCatalogue);
    TempDir home;
    const char* savedConfig = ::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> saved = savedConfig ? std::optional<std::string>(savedConfig) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    for (const bool writable : {true, false}) {
        CQuorvelApp app;
        app.keyInput = keys_;
        app.folderWritable = [&](const std::string& folder) {
            return folder == work_.path() ? writable : true;
        };
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, app.Run({"quorvel", "-x"}, ui_));
        testing::internal::GetCapturedStdout();
        std::filesystem::current_path(work_.path());
        EXPECT_EQ(writable ? work_.path() + "/" : home.path() + "/quorvel/", app.outputDirectory);
        EXPECT_EQ(work_.path() + "/", app.workingDirectory);
    }
    if (saved) {
        ::setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

TEST_F(StartUp, AnEmptyAllUsersProfileCountsAsNotSet) {
    ::setenv("ALLUSERSPROFILE", "", 1);
    EXPECT_EQ(0, Run({"quorvel", "-x"}));
    EXPECT_EQ(InstallationDataFolder() + "/Quorvel/quorvel.ini", app_.configurationPath);
}

// Page sections of the configuration file.
class PageConfiguration : public StartUp {
protected:
    void SetUp() override {
        StartUp::SetUp();
        app_.configurationPath = WriteConfiguration("[DATA]\nData=catalogue.txt\n");
    }
    static PageSettings Sample() {
        PageSettings page;
        page.mode = 1;
        page.pointName = "Borne 12";
        page.reportFile = "rapport.rpt";
        page.reportPath = "/home/géomètre/rapports";
        page.vertical = 2;
        page.verticalSystem = "NGF-IGN69";
        page.source.system = "NTF";
        page.source.type = "Planes";
        page.source.projection = "NTF Lambert II étendu";
        page.source.unit = "Grades";
        page.source.meridian = "Paris";
        page.source.file = "entrée.txt";
        page.source.path = "/home/géomètre";
        page.source.format = "Nom E N Altitude";
        page.target.system = "RGF93";
        page.target.type = "Géographiques";
        page.target.projection = "";
        page.target.unit = "Degrés Minutes Secondes";
        page.target.meridian = "Greenwich";
        page.target.file = "sortie.txt";
        page.target.path = "/tmp";
        page.target.format = "Nom Lon Lat Altitude";
        return page;
    }
};

TEST_F(PageConfiguration, AMissingOrEmptySectionOffersNoPage) {
    PageSettings page;
    page.pointName = "untouched";
    EXPECT_EQ(0, app_.LoadPageConfiguration(StandardKind, page));
    EXPECT_EQ(0, app_.LoadPageConfiguration(GridKind, page));
    EXPECT_EQ("untouched", page.pointName);
    WriteConfiguration("[Standard]\n[Grille]\nMode=1\n");
    EXPECT_EQ(0, app_.LoadPageConfiguration(StandardKind, page));
    EXPECT_EQ(1, app_.LoadPageConfiguration(GridKind, page));
    EXPECT_EQ(1, page.mode);
    EXPECT_EQ("", page.pointName);  // missing keys read as ""
    EXPECT_EQ(0, app_.LoadPageConfiguration(0, page));
}

TEST_F(PageConfiguration, SaveWritesTheTwentyTwoKeysInOrderAndLoadReadsThemBack) {
    EXPECT_EQ(1, app_.SavePageConfiguration(GridKind, Sample()));
    PageSettings read;
    EXPECT_EQ(0, app_.LoadPageConfiguration(StandardKind, read));
    ASSERT_EQ(1, app_.LoadPageConfiguration(GridKind, read));
    EXPECT_EQ(Sample(), read);
    std::vector<std::string> lines = GetProfileSection(app_.configurationPath, "Grille");
    ASSERT_EQ(22u, lines.size());
    EXPECT_EQ("Mode=1", lines[0]);
    EXPECT_EQ("Verticale=2", lines[4]);
    EXPECT_EQ("Système de départ=NTF", lines[6]);
    EXPECT_EQ("Type de données d'arrivée=Nom Lon Lat Altitude", lines[21]);
    // The rest of the file is kept.
    EXPECT_EQ("catalogue.txt", GetProfileString(app_.configurationPath, "DATA", "Data", ""));
}

TEST_F(PageConfiguration, LoadReadsIntegersAndCutsLongTexts) {
    WriteConfiguration("[Standard]\nMode=abc\nVerticale=-3\nNom du point=" + std::string(300, 'n') +
                       "\n");
    PageSettings page;
    ASSERT_EQ(1, app_.LoadPageConfiguration(StandardKind, page));
    EXPECT_EQ(0, page.mode);
    EXPECT_EQ(-3, page.vertical);
    EXPECT_EQ(std::string(259, 'n'), page.pointName);
}

TEST_F(PageConfiguration, SaveConfigurationWarnsWhenTheFileCannotBeWritten) {
    PageSettings standard = Sample();
    app_.SaveConfiguration(&standard, nullptr, ui_);
    EXPECT_TRUE(ui_.messages.empty());
    PageSettings read;
    EXPECT_EQ(1, app_.LoadPageConfiguration(StandardKind, read));
    EXPECT_EQ(0, app_.LoadPageConfiguration(GridKind, read));  // not offered, not written

    app_.configurationPath = profile_.path() + "/no such folder/quorvel.ini";
    EXPECT_EQ(0, app_.SavePageConfiguration(StandardKind, standard));
    app_.SaveConfiguration(&standard, &standard, ui_);
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(ScriptedInterface::Kind::Warning, ui_.messages[0].kind);
    EXPECT_EQ(
        "Les données de configuration n'ont pu être sauvegardées correctement !\n"
        "Verifiez que Quorvel.ini est accessible en ecriture...",
        ui_.messages[0].text);
}

}  // namespace
