// Queries per second of a grid read from its binary cache on disk (the way
// the runs use grids) against the same grid loaded into memory, for the
// bilinear and the spline interpolation.
//
// Usage: bench_grid_queries [columns lines values queries]
// (default: a 1201 x 801 translation grid of 3 values, 2 000 000 queries).

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "grids/grid.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A native text grid over 5° W .. 7° E, 41° .. 49° N with smooth values.
void WriteGrid(const std::string& name, int columns, int lines, int values) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    const double step = 0.01;
    std::fprintf(f, "-5.0 %.2f 41.0 %.2f %.2f %.2f 4 0 %d 1", -5.0 + (columns - 1) * step,
                 41.0 + (lines - 1) * step, step, step, values);
    for (int k = 0; k < values; ++k) std::fprintf(f, " 0.0");
    std::fprintf(f, " grille de mesure\n");
    for (int l = 0; l < lines; ++l) {
        for (int c = 0; c < columns; ++c) {
            for (int k = 0; k < values; ++k)
                std::fprintf(f, "%.4f ",
                             -168.0 + 10 * k + std::sin(c * 0.01 + k) + std::cos(l * 0.013));
            std::fprintf(f, "%d\n", 1 + (c + l) % 5);
        }
    }
    std::fclose(f);
    std::FILE* x = std::fopen("mesure.xml", "wb");
    std::fprintf(x,
                 "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
                 "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n</GRID_HEADER>\n");
    std::fclose(x);
}

struct Result {
    double perSecond;
    double checksum;
};

Result Run(CGrille& g, const std::vector<double>& points, int mode) {
    std::vector<double> values(static_cast<size_t>(g.header.VALUES_NUMBER));
    int code = 0;
    double checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t q = 0; q + 1 < points.size(); q += 2) {
        const double p[3] = {points[q], points[q + 1], 0};
        g.Interpoler_Mode(UniteDegres, p, values.data(), code, mode);
        checksum += values[0] + code;
    }
    const double elapsed = Seconds(start);
    return {static_cast<double>(points.size() / 2) / elapsed, checksum};
}

}  // namespace

int main(int argc, char** argv) {
    const int columns = argc > 1 ? std::atoi(argv[1]) : 1201;
    const int lines = argc > 2 ? std::atoi(argv[2]) : 801;
    const int values = argc > 3 ? std::atoi(argv[3]) : 3;
    const long queries = argc > 4 ? std::atol(argv[4]) : 2000000;

    std::string folder = (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) return 1;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    auto start = std::chrono::steady_clock::now();
    WriteGrid("mesure.mnt", columns, lines, values);
    std::printf("grid: %d x %d nodes, %d values and a code per node\n", columns, lines, values);
    std::printf("text grid written in %.2f s\n", Seconds(start));

    std::string message;
    CGrille disk;
    disk.header.NAME = "mesure.mnt";
    start = std::chrono::steady_clock::now();
    if (!disk.Ouvrir(message, ModeSurDisque)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    std::printf("binary cache made in %.2f s (%lld bytes)\n", Seconds(start),
                static_cast<long long>(std::filesystem::file_size("mesure.bin")));
    CGrille memory;
    memory.header.NAME = "mesure.mnt";
    start = std::chrono::steady_clock::now();
    if (!memory.Ouvrir(message, ModeEnMemoire)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    std::printf("text grid loaded into memory in %.2f s\n", Seconds(start));

    // Points spread over the whole grid, the same for every run.
    std::mt19937_64 random(20240501);
    std::uniform_real_distribution<double> lon(disk.header.X_MIN, disk.header.X_MAX), lat(disk.header.Y_MIN, disk.header.Y_MAX);
    std::vector<double> points(static_cast<size_t>(2 * queries));
    for (size_t i = 0; i < points.size(); i += 2)
        points[i] = lon(random), points[i + 1] = lat(random);
    std::vector<double> fewer(points.begin(),
                              points.begin() + static_cast<long>(points.size() / 10));

    const struct {
        const char* name;
        int mode;
        const std::vector<double>* points;
    } runs[] = {{"bilinear", Bilineaire, &points}, {"spline 4", Spline, &fewer}};
    for (const auto& run : runs) {
        const Result onDisk = Run(disk, *run.points, run.mode);
        const Result inMemory = Run(memory, *run.points, run.mode);
        std::printf("%-9s on disk %12.0f queries/s   in memory %12.0f queries/s   (%s results)\n",
                    run.name, onDisk.perSecond, inMemory.perSecond,
                    onDisk.checksum == inMemory.checksum ? "same" : "DIFFERENT");
    }

    disk.Fermer();
    memory.Fermer();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    return 0;
}
