#include "app/console_batch.h"

#include "shared/console.h"
#include "app/quorvel_app.h"
#include "batch/command_line.h"
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
        app.workingDirectory};
    switch (RunConsoleCommandLine(line, environment, message)) {
        case ConsoleRunOutcome::Finished:
            return kExitComplete;
        case ConsoleRunOutcome::FinishedWithRefusedLines:
            return kExitRefusedLines;
        default:
            return kExitStopped;
    }
}
