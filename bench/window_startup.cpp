// Time of the window's start-up, from the start of the program to the main
// window shown and ready, on a copy of the default installation (so that
// closing the window saves the pages into the copy): the Qt application,
// start-up (configuration, catalogue, interactive log), the grid check and
// the window with its pages. The first start of the process also starts Qt;
// the following ones are the application's own part.
//
// At each start, once the window is shown, one interactive computation is
// timed on the standard page as "C&alculer" starts it, the result fields
// drawn: Paris Notre-Dame from NTF Lambert II étendu to RGF93 Lambert-93.
//
// Usage: bench_window_startup [starts (5)]
// Without a display, Qt's "offscreen" platform is used.

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/quorvel_app.h"
#include "pages/quorvel_page.h"
#include "ui/qt_user_interface.h"
#include "ui/quorvel_dlg.h"
#include "ui/window_mode.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One computation on the standard page of a shown window; its time, or -1.
double TimeComputation(CQuorvelDlg& window) {
    CQuorvelPage* page = window.Page(StandardKind);
    if (page == nullptr || page->Mode() != 0) return -1;
    window.Tabs()->setCurrentIndex(1);
    page->SetFieldText(SourceSide, SideControl::E, "600984.230");
    page->SetFieldText(SourceSide, SideControl::N, "2428291.971");
    page->SetFieldText(SourceSide, SideControl::Altitude, "35");
    QApplication::processEvents();  // the page drawn before the computation
    const auto start = Clock::now();
    window.Compute();
    QApplication::processEvents();
    const double took = Since(start);
    return page->State(TargetSide, SideControl::E).text == "0" ? -1 : took;
}

// Waits for the main window to be shown, notes the time, computes one point
// and closes the window.
void CloseWhenShown(Clock::time_point start, double& shownAfter, double& computation) {
    QTimer::singleShot(0, [start, &shownAfter, &computation] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<CQuorvelDlg*>(widget);
            if (window && window->isVisible()) {
                shownAfter = Since(start);
                computation = TimeComputation(*window);
                window->reject();
                return;
            }
        }
        CloseWhenShown(start, shownAfter, computation);
    });
}

}  // namespace

int main(int argc, char** argv) {
    const auto programStart = Clock::now();
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!DisplayAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // The installation copied into a folder of its own, found through
    // ALLUSERSPROFILE: configuration in Quorvel/, the rest in the folder.
    const fs::path data = fs::path(QUORVEL_SOURCE_DATA);
    const fs::path work = fs::temp_directory_path() / ("quorvel-start-" + std::to_string(getpid()));
    fs::create_directories(work / "Quorvel");
    for (const char* name : {"catalogue.txt", "ntf_r93.gsb", "ntf_r93.xml", "egm96_france.mnt",
                             "egm96_france.xml", "egm96_france.bin", "egm96_15.gtx",
                             "quorvel.html"}) {
        if (fs::exists(data / name)) fs::copy_file(data / name, work / name);
    }
    fs::copy_file(data / "Quorvel" / "quorvel.ini", work / "Quorvel" / "quorvel.ini");
    setenv("ALLUSERSPROFILE", work.c_str(), 1);
    fs::current_path(work);

    int qtArgc = 1;
    char name[] = "quorvel";
    char* qtArgv[] = {name, nullptr};
    QApplication qt(qtArgc, qtArgv);
    std::vector<double> times, computations;
    for (int i = 0; i < starts; ++i) {
        const auto start = i == 0 ? programStart : Clock::now();
        double shownAfter = 0, computation = -1;
        QtUserInterface ui;
        CQuorvelApp app;
        app.windowMode = RunMainWindow;
        CloseWhenShown(start, shownAfter, computation);
        const int code = app.Run({"quorvel"}, ui);
        if (code != 0 || shownAfter == 0 || computation < 0) {
            std::fprintf(stderr, "start %d failed (code %d)\n", i + 1, code);
            return 1;
        }
        times.push_back(shownAfter);
        computations.push_back(computation);
    }
    std::printf("window start-up, program start to window shown: first %.1f ms (with Qt's start)",
                times[0]);
    if (times.size() > 1) {
        std::vector<double> later(times.begin() + 1, times.end());
        std::sort(later.begin(), later.end());
        std::printf(", then median %.1f ms over %zu starts", later[later.size() / 2], later.size());
    }
    std::sort(computations.begin(), computations.end());
    std::printf(
        "\ninteractive computation in the window (C&alculer to fields drawn): median %.2f "
        "ms, longest %.2f ms over %zu starts\n",
        computations[computations.size() / 2], computations.back(), computations.size());
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work);
    return 0;
}
