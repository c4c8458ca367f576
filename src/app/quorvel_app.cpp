#include "app/quorvel_app.h"

#include "reports/interactive_log.h"
#include "runs/session_log.h"

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <system_error>

#include "batch/command_line.h"
#include "shared/console.h"
#include "app/grid_check.h"
#include "shared/platform.h"
#include "shared/profile.h"
#include "shared/string_resources.h"
#include "shared/user_interface.h"
#include "catalogue/loader.h"

namespace {

constexpr size_t kTitleBuffer = 80;
constexpr size_t kTextBuffer = 260;

const char kWindowUnavailable[] =
    "Le mode fenêtre n'est pas disponible dans cette version de Quorvel.";
const char kSaveFailed[] =
    "Les données de configuration n'ont pu être sauvegardées correctement !\n"
    "Verifiez que Quorvel.ini est accessible en ecriture...";

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// Section name of a page, or "" for a kind that has no page.
std::string PageSection(int kind) {
    if (kind == StandardKind) return LoadString(IDS_SECTION_STANDARD);
    if (kind == GridKind) return LoadString(IDS_SECTION_GRILLE);
    return "";
}

// The text field of a page that key number `index` (0 to 21) carries, or
// null for the two integer keys (`Mode`, `Verticale`).
template <class Page>
auto* PageText(Page& page, int index) {
    decltype(&page.pointName) texts[22] = {
        nullptr,
        &page.pointName,
        &page.reportFile,
        &page.reportPath,
        nullptr,
        &page.verticalSystem,
        &page.source.system,
        &page.source.type,
        &page.source.projection,
        &page.source.unit,
        &page.source.meridian,
        &page.source.file,
        &page.source.path,
        &page.source.format,
        &page.target.system,
        &page.target.type,
        &page.target.projection,
        &page.target.unit,
        &page.target.meridian,
        &page.target.file,
        &page.target.path,
        &page.target.format,
    };
    return texts[index];
}

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

std::string InstallationDataFolder() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::filesystem::path installed = program.parent_path().parent_path() / "share/quorvel";
        if (IsDirectory(installed)) return installed.lexically_normal().string();
    }
    if (IsDirectory(QUORVEL_BUILD_DATA_DIR)) return QUORVEL_BUILD_DATA_DIR;
    return QUORVEL_INSTALL_DATA_DIR;
}

std::string UserFolder() {
    const std::optional<std::string> config = GetEnvironmentVariable("XDG_CONFIG_HOME");
    const std::optional<std::string> home = GetEnvironmentVariable("HOME");
    if (config && !config->empty() && (*config)[0] == '/') return *config + "/quorvel";
    if (home && !home->empty()) return *home + "/.config/quorvel";
    return "";
}

std::string UserDataFolder(const std::string& installationFolder, const std::string& baseName) {
    const std::string folder = UserFolder();
    if (folder.empty()) return "";
    const std::string relative = "/Quorvel/" + baseName + ".ini";
    std::error_code error;
    std::filesystem::create_directories(folder + "/Quorvel", error);
    if (error) return "";
    if (!FileExists(folder + relative)) {
        std::filesystem::copy_file(installationFolder + relative, folder + relative, error);
        if (error) return "";
    }
    return folder;
}

CQuorvelApp::CQuorvelApp() {
    folderWritable = [](const std::string& folder) {
        return ::access(folder.c_str(), W_OK) == 0;
    };
    checkVerticalGrids = [](CQuorvelApp& app, UserInterface& ui) {
        return CheckVerticalGrids(app.catalogue.verticalGrids, app.workingDirectory,
                                  app.console, ui, app.Caption());
    };
    checkTranslationGrids = [](CQuorvelApp& app, UserInterface& ui) {
        return CheckTranslationGrids(app.catalogue.translationGrids, app.workingDirectory,
                                     app.console, ui, app.Caption());
    };
}

int CQuorvelApp::Run(const std::vector<std::string>& arguments, UserInterface& ui) {
    // 1. The program's base name names its configuration file.
    programBaseName = arguments.empty() ? "" : std::filesystem::path(arguments[0]).stem().string();

    // The usage text and the version need neither configuration nor
    // catalogue: a user asks for them when something else fails.
    ShellRequest shell;
    if (shellOption && arguments.size() > 1) {
        shell = ParseShellRequest(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    if (shell.kind != ShellRequestKind::None && shell.kind != ShellRequestKind::List) {
        return shellOption(*this, shell);
    }

    // 2. The folder the program was started in.
    std::optional<std::string> current = GetCurrentDirectory();
    if (!current) return 1;
    startDirectory = WithSlash(*current);

    // Without the all-users profile folder (the usual case here) the
    // installation's data folder takes its place and is also the working
    // directory, so that the program runs the same from any folder.
    std::optional<std::string> profile = GetEnvironmentVariable("ALLUSERSPROFILE");
    const bool fromProfile = profile && !profile->empty();
    std::string base;
    if (fromProfile) {
        base = *profile;
        workingDirectory = startDirectory;
    } else {
        base = InstallationDataFolder();
        workingDirectory = WithSlash(base);
    }
    logDirectory = workingDirectory;
    outputDirectory = workingDirectory;
    const std::string dataFolder = fromProfile ? *current : base;
    if (folderWritable && !folderWritable(dataFolder)) {
        if (!fromProfile) {
            // An installation the user cannot write to (installed for all
            // users): its catalogue and grids are read where they are, while
            // the configuration, which keeps the user's choices, the log and
            // the files the pages write without a folder of their own live
            // in a folder of the user's own.
            const std::string own = UserDataFolder(base, programBaseName);
            if (!own.empty()) {
                base = own;
                logDirectory = outputDirectory = WithSlash(own);
            }
        } else if (const std::string own = UserFolder(); !own.empty()) {
            std::error_code error;
            std::filesystem::create_directories(own, error);
            if (!error) outputDirectory = WithSlash(own);
        }
    }

    // 3. The configuration file: first candidate, then second.
    std::string first = base + "/Quorvel/" + programBaseName + ".ini";
    std::string second = base + "/Application Data/Quorvel/" + programBaseName + ".ini";
    if (FileExists(first)) {
        configurationPath = first;
    } else if (FileExists(second)) {
        configurationPath = second;
    } else {
        ui.ShowError("Le fichier " + second + " n'existe pas", Caption());
        ui.Exit(1);
    }

    // 4, 5. Global keys; file names are relative to the working directory.
    ReadGlobalKeys();
    if (!SetCurrentDirectory(workingDirectory)) return 1;

    // 6. The catalogue (a failure ends the program).
    LoadCatalogue(cataloguePath, catalogue, ui, Caption());

    // The listing of the catalogue just loaded, in place of console mode.
    if (shell.kind == ShellRequestKind::List) return shellOption(*this, shell);

    // 7. No argument: window; any argument: console.
    if (arguments.size() <= 1) return RunWindowMode(ui);
    return RunConsoleMode(arguments, ui);
}

void CQuorvelApp::ReadGlobalKeys() {
    const std::string& file = configurationPath;
    const std::string aide = LoadString(IDS_SECTION_AIDE);
    title = GetProfileString(file, LoadString(IDS_SECTION_INFORMATIONS), LoadString(IDS_KEY_TITRE),
                             "", kTitleBuffer);
    std::string data =
        GetProfileString(file, LoadString(IDS_SECTION_DATA), LoadString(IDS_KEY_DATA), "");
    std::string help = GetProfileString(file, aide, LoadString(IDS_KEY_AIDE_HTML), "");
    consoleValue = GetProfileString(file, aide, LoadString(IDS_KEY_CONSOLE), "");
    std::string log =
        GetProfileString(file, LoadString(IDS_SECTION_LOG), LoadString(IDS_KEY_LOG), "");
    std::string examples =
        GetProfileString(file, LoadString(IDS_SECTION_EXEMPLES), LoadString(IDS_KEY_EXEMPLES), "");
    runThreads = GetProfileInt(file, "CALCUL", "Threads", 0);
    // Plain concatenation, as the values are names inside the working directory.
    cataloguePath = workingDirectory + data;
    helpValue = workingDirectory + help;
    logValue = workingDirectory + log;
    examplesValue = workingDirectory + examples;
}

int CQuorvelApp::RunWindowMode(UserInterface& ui) {
    if (!windowMode) {
        ui.ShowError(kWindowUnavailable, Caption());
        return 1;
    }
    // The interactive log of this session, beside the one of the previous
    // use of the window; a folder that cannot be written only means no log.
    OpenSessionLog(interactiveLog, logDirectory);
    return windowMode(*this, ui);
}

int CQuorvelApp::RunConsoleMode(const std::vector<std::string>& arguments, UserInterface& ui) {
    if (!OpenConsole()) return 1;
    // Points written to the standard output leave it to them alone.
    const std::vector<std::string> afterProgram(
        arguments.empty() ? arguments.end() : arguments.begin() + 1, arguments.end());
    const bool pointsToStandardOutput = WritesPointsToStandardOutput(afterProgram);
    if (pointsToStandardOutput) {
        pointOutput = SendConsoleToErrorStream();
        if (pointOutput < 0) return kExitStopped;
    }
    const int status = RunConsoleTexts(arguments, ui);
    if (pointsToStandardOutput) {
        RestoreConsole(pointOutput);
        pointOutput = 1;
    }
    return status;
}

int CQuorvelApp::RunConsoleTexts(const std::vector<std::string>& arguments, UserInterface& ui) {
    SetConsoleTitle(title);
    WriteConsole(LoadString(IDS_CONSOLE_BANNER));
    console = true;
    RunStartupGridCheck(ui);
    std::string message;
    // A run stopped by the command line, a file or a failed point ends the
    // process with status 1, a run that went to its end but refused lines
    // of its input with status 2, so that scripts tell them from a full run.
    const int status = consoleRun ? consoleRun(*this, arguments, message) : kExitComplete;
    if (!message.empty()) WriteConsole(message);
    WriteConsole("\n" + LoadString(IDS_CONSOLE_PRESS_KEY) + "\n");
    WaitForKey(keyInput);
    const bool closed = CloseConsole();
    return closed ? status : kExitStopped;
}

void CQuorvelApp::RunStartupGridCheck(UserInterface& ui) {
    if (checkVerticalGrids && checkVerticalGrids(*this, ui) == 0) ui.Exit(1);
    if (checkTranslationGrids && checkTranslationGrids(*this, ui) == 0) ui.Exit(1);
}

int CQuorvelApp::LoadPageConfiguration(int kind, PageSettings& page) const {
    const std::string section = PageSection(kind);
    if (section.empty() || GetProfileSection(configurationPath, section).empty()) return 0;
    for (int i = 0; i < 22; ++i) {
        const std::string key = LoadString(kPageKeyIds[i]);
        if (std::string* text = PageText(page, i)) {
            *text = GetProfileString(configurationPath, section, key, "", kTextBuffer);
        } else {
            int value = GetProfileInt(configurationPath, section, key, 0);
            (i == 0 ? page.mode : page.vertical) = value;
        }
    }
    return 1;
}

int CQuorvelApp::SavePageConfiguration(int kind, const PageSettings& page) const {
    const std::string section = PageSection(kind);
    if (section.empty()) return 0;
    int result = 1;
    for (int i = 0; i < 22; ++i) {
        const std::string* text = PageText(page, i);
        std::string value = text ? *text : std::to_string(i == 0 ? page.mode : page.vertical);
        if (!WriteProfileString(configurationPath, section, LoadString(kPageKeyIds[i]), value)) {
            result = 0;
        }
    }
    return result;
}

void CQuorvelApp::SaveConfiguration(const PageSettings* standard, const PageSettings* grid,
                                    UserInterface& ui) const {
    int saved = 1;
    if (standard && SavePageConfiguration(StandardKind, *standard) == 0) saved = 0;
    if (grid && SavePageConfiguration(GridKind, *grid) == 0) saved = 0;
    if (!saved) ui.ShowWarning(kSaveFailed, Caption());
}

std::string CQuorvelApp::UserPath(const std::string& name) const {
    if (name.empty() || name.front() == '/') return name;
    return startDirectory + name;
}

std::string CQuorvelApp::Caption() const {
    return title.empty() ? "Quorvel" : title;
}
