// A GTX grid of arbitrary bytes, opened header only, into memory and on
// disk, then asked for values at its corners, across the seam of a grid
// that goes round the parallel, and outside it, in degrees as the engine asks.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "grids/grid.h"

namespace {

void Query(CGrille& grid) {
    if (!grid.loaded || grid.header.VALUES_NUMBER != 1) return;
    const GridHeader& h = grid.header;
    const double xs[] = {h.X_MIN, h.X_MAX, h.X_MAX + h.X_INC / 2, h.X_MIN - h.X_INC / 2,
                         h.X_MIN + 360 - 1e-9, -180, 180, -0.0, 359.999, 1e300, NAN};
    const double ys[] = {h.Y_MIN, (h.Y_MIN + h.Y_MAX) / 2, h.Y_MAX + h.Y_INC, -90, 90};
    for (double x : xs) {
        for (double y : ys) {
            const double point[3] = {x, y, 0};
            double value = 0;
            int code = 0;
            grid.Interpoler(UniteDegres, point, &value, code);
            grid.Interpoler_Mode(UniteDegres, point, &value, code, Spline);
            grid.Interpoler_Mode(UniteDegres, point, &value, code, ValeurNoeud);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::WriteFile("grille.gtx", data, size);
    fuzz::OpenGrid<CGrille1D>(path, ModeEnTete, Query);
    fuzz::OpenGrid<CGrille1D>(path, ModeEnMemoire, Query);
    fuzz::OpenGrid<CGrille1D>(path, ModeSurDisque, Query);
    return 0;
}
