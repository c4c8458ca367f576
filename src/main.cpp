#include <dlfcn.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "shared/console_interface.h"
#include "app/quorvel_app.h"
#include "app/console_batch.h"
#include "ui/window_program.h"

namespace {

// The window lives in a module beside the program (a build) or in
// lib/quorvel of the installation, loaded only for window mode so that the
// console batch starts without Qt.
int RunWindowModule(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(".") : program.parent_path();
    for (const std::filesystem::path& module :
         {folder / QUORVEL_WINDOW_MODULE, folder / "../lib/quorvel" / QUORVEL_WINDOW_MODULE}) {
        if (!std::filesystem::exists(module, error)) continue;
        void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            std::fprintf(stderr, "Quorvel : la fenêtre ne peut pas être chargée (%s)\n",
                         ::dlerror());
            return 1;
        }
        const auto entry = reinterpret_cast<WindowEntry>(::dlsym(handle, kWindowEntryName));
        if (entry == nullptr) {
            std::fprintf(stderr, "Quorvel : la fenêtre ne peut pas être chargée (%s)\n",
                         ::dlerror());
            return 1;
        }
        return entry(argc, argv);
    }
    std::fprintf(stderr, "Quorvel : la fenêtre est introuvable (%s)\n", QUORVEL_WINDOW_MODULE);
    return 1;
}

}  // namespace

// Quorvel entry point: the application object runs start-up and then the
// window (no argument) or the console batch mode (any argument).
int main(int argc, char** argv) {
    if (argc <= 1) return RunWindowModule(argc, argv);
    try {
        ConsoleInterface ui;
        CQuorvelApp app;
        app.consoleRun = RunConsoleBatch;
        app.shellOption = RunShellOption;
        return app.Run(std::vector<std::string>(argv, argv + argc), ui);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Quorvel : erreur inattendue (%s)\n", error.what());
        return 1;
    }
}
