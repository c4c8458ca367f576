#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "batch/shell_options.h"
#include "pages/page_settings.h"
#include "engine/grid_transformation.h"
#include "grids/grid.h"
#include "grids/grid_header_cache.h"
#include "runs/output_point_file.h"

class UserInterface;

// Exit statuses of the program.
inline constexpr int kExitComplete = 0;      // the run went to its end
inline constexpr int kExitStopped = 1;       // the command line, a file or a point stopped it
inline constexpr int kExitRefusedLines = 2;  // went to its end, but refused input lines

// The application: everything that lives as long as the program runs. It
// finds and reads the configuration file, loads the catalogue, checks the
// catalogue's grids and then either opens the main window (no argument) or
// runs one batch transformation in the console (any argument).
class CQuorvelApp {
public:
    CQuorvelApp();

    // Start-up, from the program's own path (arguments[0]) and its
    // command-line arguments. Returns the exit code of the process; fatal
    // problems end the process through `ui` with a non-zero code.
    int Run(const std::vector<std::string>& arguments, UserInterface& ui);

    // Page sections (kind: TransfoKind, 1 "Standard", 2 "Grille").
    // Load returns 0 when the section is absent or empty (the page is then
    // not offered), else fills `page` and returns 1.
    int LoadPageConfiguration(int kind, PageSettings& page) const;
    // Writes the 22 keys in order; 1 when every write succeeded, else 0
    // (every key is still attempted).
    int SavePageConfiguration(int kind, const PageSettings& page) const;
    // When the main window closes: saves the pages that exist (null for a
    // page not offered) and warns when a save failed.
    void SaveConfiguration(const PageSettings* standard, const PageSettings* grid,
                           UserInterface& ui) const;

    // The start-up grid check, vertical grids first, then translation grids;
    // the second list is not checked when the first fails. A failure ends
    // the process with exit code 1 (the check has shown its message).
    void RunStartupGridCheck(UserInterface& ui);

    // A file name the user gave (command line, window), taken relative to the
    // folder the program was started in; an absolute name is kept.
    std::string UserPath(const std::string& name) const;

    // Title for message boxes: the configured title, else "Quorvel".
    std::string Caption() const;

    // Configuration and working state, filled by Run.
    std::string configurationPath;  // the configuration file actually used
    std::string programBaseName;    // program file name without extension
    std::string title;              // `Titre`, at most 79 characters
    std::string cataloguePath;      // working directory + `Data`
    std::string helpValue;          // working directory + `Aide_html`
    std::string consoleValue;       // `Console`: help text of console mode
    std::string logValue;           // working directory + `Log`
    std::string examplesValue;      // working directory + `Exemples`
    int runThreads = 0;             // `Threads` of `CALCUL`: threads of a file run, 0 every core
    std::string workingDirectory;   // catalogue, grids, caches and log; ends with "/"
    std::string startDirectory;     // where the program was started; ends with "/"
    // Folder of the interactive log: the working directory, or the user's
    // own folder when the installation's data folder cannot be written.
    std::string logDirectory;
    // Folder of the output and report files that the computation pages
    // write under a name without a folder (the names of the configuration):
    // the working directory when the user can write to it, else the user's
    // own folder. Ends with "/".
    std::string outputDirectory;
    Catalogue catalogue;
    CGrille1D verticalGrid;  // current grids, kept loaded between points
    CGrille3D translationGrid;
    GridHeaderCache gridHeaders;  // header-only openings of candidate grids
    Out_Fic interactiveLog;       // "log.txt" in the log folder, opened by window mode only
    bool console = false;         // while running in console batch mode
    int keyInput = 0;             // file descriptor of the closing key wait (the keyboard)
    // Where the points of an output file named "-" go: the standard output
    // the program was given, kept apart while the console's texts go to the
    // error stream.
    int pointOutput = 1;

    // Steps of start-up that other parts of the program provide; an empty
    // one is skipped, and tests may replace them.
    //
    // Check one grid list of the catalogue: opens every grid once, rewrites
    // each entry with the file name the grid reports after opening, shows
    // the error of the first grid that fails and returns 0, else returns 1.
    // They start as the grid check of the "GR1D" and "GR3D" lists.
    std::function<int(CQuorvelApp&, UserInterface&)> checkVerticalGrids;
    std::function<int(CQuorvelApp&, UserInterface&)> checkTranslationGrids;
    // The batch work of console mode: parses the arguments, validates them
    // and transforms; returns the exit status (kExitComplete,
    // kExitRefusedLines, kExitStopped) with a message to write (possibly
    // empty). Until the batch mode is available, console mode writes its
    // banner and closing prompt only.
    std::function<int(CQuorvelApp&, const std::vector<std::string>& arguments,
                       std::string& message)>
        consoleRun;
    // The shell options (`--help`, `-h`, `--version`, `--liste`): answered
    // in place of console mode, without its banner, grid check and key wait;
    // the usage text and the version before the configuration is looked
    // for, the catalogue's listing once the catalogue is loaded. Returns the
    // exit status. Empty: every argument goes to the console transformation.
    std::function<int(CQuorvelApp&, const ShellRequest&)> shellOption;
    // Window mode: creates the main window, checks the grids, shows the
    // window and returns the exit code; the interactive log is open when it
    // is called. Without it, window mode says that this build has no window
    // and fails.
    std::function<int(CQuorvelApp&, UserInterface&)> windowMode;
    // Whether the user may write in a folder, asked of the data folder at
    // start: an installation's data folder that cannot be written is read
    // only, and the user's configuration, log and page outputs go to a
    // folder of their own. Tests may replace it.
    std::function<bool(const std::string& folder)> folderWritable;

private:
    int RunWindowMode(UserInterface& ui);
    int RunConsoleMode(const std::vector<std::string>& arguments, UserInterface& ui);
    int RunConsoleTexts(const std::vector<std::string>& arguments, UserInterface& ui);
    void ReadGlobalKeys();
};

// The data folder of this installation, used in place of the all-users
// profile folder when ALLUSERSPROFILE is not set: the share folder beside
// the program once installed, else the source tree's data folder of the
// build.
std::string InstallationDataFolder();

// The user's own folder: $XDG_CONFIG_HOME/quorvel, else ~/.config/quorvel;
// empty without either variable. Not created here.
std::string UserFolder();

// The user's own folder for an installation they cannot write to
// (UserFolder), created when missing. At the first start it
// receives a copy of the installation's configuration file ("Quorvel/<base
// name>.ini"), which then keeps the user's page choices. Empty when the
// folder or the copy cannot be made.
std::string UserDataFolder(const std::string& installationFolder, const std::string& baseName);
