#include <QApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/console_interface.h"
#include "app/quorvel_app.h"
#include "batch/console_mode.h"
#include "ui/qt_user_interface.h"
#include "ui/window_mode.h"

// Quorvel entry point: the application object runs start-up and then the
// window (no argument) or the console batch mode (any argument).
int main(int argc, char** argv) {
    try {
        const bool window = argc <= 1;
        if (window && !DisplayAvailable()) {
            std::fputs(kNoDisplayMessage, stderr);
            return 1;
        }
        std::unique_ptr<QApplication> qt;
        std::unique_ptr<UserInterface> ui;
        if (window) {
            qt = std::make_unique<QApplication>(argc, argv);
            KeepDecimalPoint();
            ui = std::make_unique<QtUserInterface>();
        } else {
            ui = std::make_unique<ConsoleInterface>();
        }
        CQuorvelApp app;
        app.consoleRun = RunConsoleBatch;
        app.windowMode = RunMainWindow;
        return app.Run(std::vector<std::string>(argv, argv + argc), *ui);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Quorvel : erreur inattendue (%s)\n", error.what());
        return 1;
    }
}
