// A grid file of arbitrary bytes under one extension (QUORVEL_GRID_EXTENSION,
// one program per format), opened header only, into memory and on disk with
// its binary cache, then asked for values inside, on the border and outside.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "grids/grid.h"

namespace {

// Bilinear, spline and node queries at the corners, the middle and one step
// beyond the grid, in the unit of its nodes.
void Query(CGrille& grid) {
    if (!grid.loaded) return;
    const int values = grid.header.VALUES_NUMBER > 0 ? grid.header.VALUES_NUMBER : 0;
    if (values > kMostValuesPerNode) return;
    double result[kMostValuesPerNode + 1];
    const double xs[] = {grid.header.X_MIN, (grid.header.X_MIN + grid.header.X_MAX) / 2, grid.header.X_MAX,
                         grid.header.X_MAX + grid.header.X_INC, grid.header.X_MIN - grid.header.X_INC / 2};
    const double ys[] = {grid.header.Y_MIN, (grid.header.Y_MIN + grid.header.Y_MAX) / 2, grid.header.Y_MAX,
                         grid.header.Y_MAX + grid.header.Y_INC, grid.header.Y_MIN - grid.header.Y_INC / 2};
    for (double x : xs) {
        for (double y : ys) {
            const double point[3] = {x, y, 0};
            int code = 0;
            grid.Interpoler_Bilineaire(point, result, code);
            grid.Interpoler_Spline(4, point, result, code);
            grid.Interpoler_Mode(grid.header.NODE_COORD_UNIT, point, result, code, ValeurNoeud);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::WriteFile("grille" QUORVEL_GRID_EXTENSION, data, size);
    fuzz::OpenGrid<CGrille>(path, ModeEnTete, Query);
    fuzz::OpenGrid<CGrille1D>(path, ModeEnMemoire, Query);
    fuzz::OpenGrid<CGrille3D>(path, ModeSurDisque, Query);
    // A second opening on disk takes the cache the first one made.
    fuzz::OpenGrid<CGrille3D>(path, ModeSurDisque, Query);
    return 0;
}
