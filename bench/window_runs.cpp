// Times of the window's runs on the default installation, as the window
// starts them (the application's grids, the interactive log, a user
// interface that answers nothing and draws nothing):
// - one interactive computation of Paris Notre-Dame from NTF Lambert II
//   étendu to RGF93 Lambert-93, standard and grid methods: the first one
//   (grid loading included) and the median of the following ones;
// - a window file run of 10 000 points over mainland France between the
//   same systems, standard and grid, without and with a report: median of
//   the runs.
//
// Usage: bench_window_runs [points (10000)] [runs (5)]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "shared/user_interface.h"
#include "catalogue/loader.h"
#include "engine/coordinate_system.h"
#include "engine/grid_selection.h"
#include "grids/grid_progress.h"
#include "runs/interactive_run.h"
#include "runs/output_point_file.h"
#include "runs/window_file_run.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A user who is never asked anything: boxes are counted, progress is kept.
class SilentInterface : public UserInterface {
public:
    int boxes = 0;
    void ShowError(const std::string&, const std::string&) override { ++boxes; }
    void ShowWarning(const std::string&, const std::string&) override { ++boxes; }
    void ShowInformation(const std::string&, const std::string&) override { ++boxes; }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    std::unique_ptr<Progress> CreateProgress(const std::string&, const std::string&) override {
        return std::make_unique<Bar>();
    }
    [[noreturn]] void Exit(int code) override { std::exit(code); }

private:
    struct Bar : Progress {
        int position = 0;
        void SetRange(int, int) override {}
        void SetStep(int) override {}
        void SetPos(int p) override { position = p; }
        void StepIt() override { ++position; }
        void SetStatus(const std::string&) override {}
        bool CheckCancel() override { return false; }
    };
};

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int points = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string data = std::string(QUORVEL_SOURCE_DATA) + "/";
    Catalogue catalogue;
    if (ReadCatalogue(data + "catalogue.txt", catalogue)) {
        std::fprintf(stderr, "cannot load %scatalogue.txt\n", data.c_str());
        return 1;
    }
    const fs::path work = fs::temp_directory_path() / ("quorvel-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    Out_Fic log((work / "log.txt").string());
    SilentInterface ui;

    CCoor source, target;
    source.type = target.type = Projected;
    source.unit = target.unit = 2;
    ResolveByIds(source.sys, 1, 0, 27572, 0, catalogue);
    ResolveByIds(target.sys, 4, 0, 2154, 0, catalogue);

    for (int kind : {1, 2}) {
        const char* method = kind == 1 ? "standard" : "grille";
        // Fresh application grids for each method, as after the window's start.
        CGrille1D vertical;
        CGrille3D translation;
        GridHeaderCache headers;
        WindowGridProgress progress(ui);
        GridContext grids{catalogue, vertical, translation, headers, data, &progress};
        const WindowRunEnvironment environment{grids, &log, ui, "Quorvel"};

        std::vector<double> times;
        double first = 0;
        CCoor last;
        for (int i = 0; i < 1001; ++i) {
            CCoor departure = source;
            departure.name = "Paris_NotreDame";
            departure.easting = 600984.230;
            departure.northing = 2428291.971;
            departure.altitude = 35;
            departure.verticalKind = 2;
            CCoor arrival = target;
            arrival.verticalKind = 2;
            const auto start = Clock::now();
            RunInteractive(kind, departure, arrival, last, environment);
            (i == 0 ? first : times.emplace_back()) = Milliseconds(start);
        }
        log.Flush();
        std::printf("interactive computation (%s): first %.3f ms, then median %.4f ms (%.0f E)\n",
                    method, first, Median(times), last.easting);

        // Points over mainland France, 1 mm resolution, altitudes 0 to 2000 m.
        const std::string input = (work / "points.txt").string();
        {
            std::ofstream out(input);
            std::mt19937 random(42);
            std::uniform_real_distribution<double> e(100000, 1000000), n(1700000, 2650000),
                h(0, 2000);
            char line[128];
            for (int i = 0; i < points; ++i) {
                std::snprintf(line, sizeof line, "P%d %.3f %.3f %.3f\n", i, e(random), n(random),
                              h(random));
                out << line;
            }
        }
        for (bool report : {false, true}) {
            FileRunRequest request;
            request.kind = kind;
            request.alterationFlag = true;
            request.source = source;
            request.target = target;
            request.inputFormat = request.outputFormat = 16;  // "Nom E N Altitude"
            request.inputPath = input;
            request.outputPath = (work / "out.txt").string();
            request.report = report;
            request.reportPath = (work / "rapport.prt").string();
            std::vector<double> fileTimes;
            FileRunCounts counts;
            for (int r = 0; r < runs; ++r) {
                const auto start = Clock::now();
                counts = RunWindowFile(request, environment);
                fileTimes.push_back(Milliseconds(start));
            }
            std::printf(
                "window file run (%s%s), %d points: median %.1f ms over %d runs (%lld réussies, "
                "%lld hors zone)\n",
                method, report ? ", with report" : "", points, Median(fileTimes), runs,
                counts.succeeded, counts.outOfZone);
        }
    }
    fs::remove_all(work);
    return ui.boxes == 4 * runs ? 0 : 1;  // one summary per file run
}
