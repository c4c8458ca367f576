// The window half of the program, built as a module that the quorvel program
// loads only when it starts without arguments: the console batch then never
// loads Qt and its libraries, which took most of its start-up.

#include <QApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/quorvel_app.h"
#include "app/console_batch.h"
#include "ui/french_dialogs.h"
#include "ui/qt_user_interface.h"
#include "ui/window_mode.h"
#include "ui/window_program.h"

extern "C" [[gnu::visibility("default")]] int QuorvelWindowMain(int argc, char** argv) {
    try {
        if (!DisplayAvailable()) {
            std::fputs(kNoDisplayMessage, stderr);
            return 1;
        }
        QApplication qt(argc, argv);
        KeepDecimalPoint();
        SpeakFrenchInQtDialogs(qt);
        QtUserInterface ui;
        CQuorvelApp app;
        app.consoleRun = RunConsoleBatch;
        app.windowMode = RunMainWindow;
        return app.Run(std::vector<std::string>(argv, argv + argc), ui);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Quorvel : erreur inattendue (%s)\n", error.what());
        return 1;
    }
}
