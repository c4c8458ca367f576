#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/console_interface.h"
#include "app/quorvel_app.h"
#include "batch/console_mode.h"

// Quorvel entry point: the application object runs start-up and then the
// window or the console batch mode.
int main(int argc, char** argv) {
    try {
        ConsoleInterface ui;
        CQuorvelApp app;
        app.consoleRun = RunConsoleBatch;
        return app.Run(std::vector<std::string>(argv, argv + argc), ui);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Quorvel : erreur inattendue (%s)\n", error.what());
        return 1;
    }
}
