#include "app/console_batch.h"

#include <cstdio>

#include "shared/console.h"
#include "app/quorvel_app.h"
#include "batch/catalogue_listing.h"
#include "batch/command_line.h"
#include "batch/shell_options.h"
#include "runs/console_run.h"

int RunConsoleBatch(CQuorvelApp& app, const std::vector<std::string>& arguments,
                     std::string& message) {
    const std::vector<std::string> afterProgram(
        arguments.empty() ? arguments.end() : arguments.begin() + 1, arguments.end());
    CQuorvelCommandLine line;
    if (!ParseCommandLine(line, afterProgram, app.consoleValue, message)) return kExitStopped;
    if (!line.threadsGiven) line.threads = app.runThreads;
    const ConsoleRunEnvironment environment{
        app.catalogue,
        app.verticalGrid,
        [&app](const std::string& name) { return app.UserPath(name); },
        [](std::string_view text) { WriteConsole(text); },
        &app.translationGrid,
        &app.gridHeaders,
        app.workingDirectory,
        app.pointOutput};
    switch (RunConsoleCommandLine(line, environment, message)) {
        case ConsoleRunOutcome::Finished:
            return kExitComplete;
        case ConsoleRunOutcome::FinishedWithRefusedLines:
            return kExitRefusedLines;
        default:
            return kExitStopped;
    }
}

int RunShellOption(CQuorvelApp& app, const ShellRequest& request) {
    std::string text;
    switch (request.kind) {
        case ShellRequestKind::Help:
            text = UsageText(InstallationDataFolder() + "/exemples/");
            break;
        case ShellRequestKind::Version:
            text = VersionText();
            break;
        case ShellRequestKind::List: {
            text = "Catalogue : " + app.cataloguePath + "\n\n";
            if (!request.systemGiven) {
                text += CatalogueListing(app.catalogue);
                break;
            }
            const CReg* system = FindSystemByIdOrName(app.catalogue, request.system);
            if (system == nullptr) {
                std::fputs(UnknownSystemText(request.system).c_str(), stderr);
                return kExitStopped;
            }
            text += SystemListing(app.catalogue, *system);
            break;
        }
        default:
            std::fputs(request.message.c_str(), stderr);
            return kExitStopped;
    }
    return WriteConsole(text) && CloseConsole() ? kExitComplete : kExitStopped;
}
