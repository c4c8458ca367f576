#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/display_probe.h"
#include "support/temp_dir.h"

// The quorvel program itself, started as a user starts it.
namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the program from `folder` with standard input not a terminal.
Outcome RunProgram(const TempDir& scratch, const std::string& folder, const std::string& arguments,
                   const std::string& environment = "env -u ALLUSERSPROFILE") {
    std::string command = "cd '" + folder + "' && " + environment + " '" QUORVEL_BINARY "' " +
                          arguments + " </dev/null >'" + scratch.File("out") + "' 2>'" +
                          scratch.File("err") + "'";
    int status = std::system(command.c_str());
    Outcome outcome;
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = TempDir::Read(scratch.File("out"));
    outcome.err = TempDir::Read(scratch.File("err"));
    return outcome;
}

const std::string kBanner = "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***";
const std::string kPrompt = "\nAppuyer sur une touche pour quitter l'application ...\n";

TEST(QuorvelProgram, WithAnyArgumentWritesBannerAndPromptAndReturns) {
    TempDir scratch;
    // The first start converts the default installation's text grids into
    // their caches, with its progress on the console; later starts do not.
    RunProgram(scratch, scratch.path(), "-anything");
    // From the data folder, and from an unrelated folder: the installation's
    // data folder is found either way.
    for (const std::string& folder : {std::string(QUORVEL_SOURCE_DIR) + "/data", scratch.path()}) {
        Outcome run = RunProgram(scratch, folder, "-anything");
        // Not a batch flag: the command line says so and the run fails.
        EXPECT_EQ(1, run.code) << folder;
        EXPECT_EQ(kBanner + "anything : Le flag n'existe pas !" + kPrompt, run.out) << folder;
        EXPECT_EQ("", run.err) << folder;
    }
}

// Without a display it can reach, window mode says so in French and fails,
// before Qt would end the program with its own message and an abort.
TEST(QuorvelProgram, WithoutAReachableDisplaySaysSoAndFails) {
    TempDir scratch;
    const std::string clean =
        "env -u ALLUSERSPROFILE -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM "
        "-u XDG_SESSION_TYPE XDG_RUNTIME_DIR='" + scratch.path() + "' ";
    struct Case {
        const char* display;  // the display given, tried by the row's X probe too
        std::string environment;
    };
    const Case cases[] = {
        {nullptr, clean},
        {":99", clean + "DISPLAY=:99"},
        {"127.0.0.1:99", clean + "DISPLAY=127.0.0.1:99"},
        // The X platform named, a Wayland display beside it: not for X.
        {nullptr, clean + "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-99"},
        // The Wayland platform named, its compositor absent.
        {nullptr, clean + "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment);
        // A display that a server really serves now (another test's Xvfb)
        // would open the window.
        if (c.display && XDisplayReachable(c.display)) continue;
        Outcome run = RunProgram(scratch, scratch.path(), "", c.environment);
        EXPECT_EQ(1, run.code);
        EXPECT_EQ("", run.out);
        EXPECT_EQ(
            "Quorvel ne peut pas ouvrir sa fenêtre : aucun affichage n'est disponible (lancez-le "
            "avec des arguments pour le mode console).\n",
            run.err);
    }
}

// The window is a module loaded for window mode only: a console run loads
// neither it nor Qt (the dynamic loader lists every library it loads), and
// window mode loads it.
TEST(QuorvelProgram, OnlyWindowModeLoadsTheWindowAndQt) {
    TempDir scratch;
    Outcome console =
        RunProgram(scratch, scratch.path(), "-anything", "env -u ALLUSERSPROFILE LD_DEBUG=libs");
    EXPECT_EQ(1, console.code);
    EXPECT_NE(std::string::npos, console.err.find("calling init:")) << "the loader lists libraries";
    EXPECT_EQ(std::string::npos, console.err.find("libQt6")) << console.err;
    EXPECT_EQ(std::string::npos, console.err.find("libquorvel_window")) << console.err;
    Outcome window = RunProgram(scratch, scratch.path(), "",
                                "env -u ALLUSERSPROFILE -u DISPLAY -u WAYLAND_DISPLAY -u "
                                "QT_QPA_PLATFORM LD_DEBUG=libs");
    EXPECT_NE(0, window.code);
    EXPECT_NE(std::string::npos, window.err.find("libquorvel_window")) << window.err;
    EXPECT_NE(std::string::npos, window.err.find("libQt6Widgets")) << window.err;
}

TEST(QuorvelProgram, ABadCatalogueLineIsReportedWithItsNumber) {
    TempDir profile;
    TempDir scratch;
    std::filesystem::create_directories(profile.path() + "/Quorvel");
    profile.Write("Quorvel/quorvel.ini",
                  "[INFORMATIONS]\r\nTitre=Quorvel\r\n[DATA]\r\nData=cat.txt\r\n");
    profile.Write("cat.txt",
                  "* catalogue\nELG 1 6378137 0 0 0.0066943800229 GRS 1980\nLGO 1 2 0 Greenwich\n"
                  "\n* the next line lacks its name\n\nREG 4 1 1 3D\nREG 5 1 1 3D Jamais lu\n");
    Outcome run =
        RunProgram(scratch, profile.path(), "-x 1", "ALLUSERSPROFILE='" + profile.path() + "'");
    EXPECT_EQ(1, run.code);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("Erreur dans le fichier \"" + profile.path() +
                  "/cat.txt\" :\nMauvais format à la ligne 7:\n\n\"REG 4 1 1 3D\"\n",
              run.err);
}

TEST(QuorvelProgram, AMissingConfigurationNamesTheSecondCandidate) {
    TempDir profile;
    TempDir scratch;
    Outcome run =
        RunProgram(scratch, scratch.path(), "-x", "ALLUSERSPROFILE='" + profile.path() + "'");
    EXPECT_EQ(1, run.code);
    EXPECT_EQ(
        "Le fichier " + profile.path() + "/Application Data/Quorvel/quorvel.ini n'existe pas\n",
        run.err);
}

}  // namespace
