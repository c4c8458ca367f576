// A GeoTIFF grid of arbitrary bytes: opened header only and on disk, as a
// vertical and as a translation grid, then asked for values at its nodes, in
// its cells, on its border and outside, with every interpolation.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "grids/grid.h"

namespace {

void Query(CGrille& grid) {
    if (!grid.loaded) return;
    const GridHeader& h = grid.header;
    const int values = h.VALUES_NUMBER > 0 ? h.VALUES_NUMBER : 0;
    if (values > kMostValuesPerNode) return;
    double result[kMostValuesPerNode + 1];
    const double xs[] = {h.X_MIN, h.X_MIN + h.X_INC / 3, (h.X_MIN + h.X_MAX) / 2, h.X_MAX,
                         h.X_MAX + h.X_INC / 2, h.X_MIN - 2 * h.X_INC};
    const double ys[] = {h.Y_MIN, h.Y_MIN + h.Y_INC / 4, (h.Y_MIN + h.Y_MAX) / 2, h.Y_MAX,
                         h.Y_MAX + h.Y_INC / 2, h.Y_MIN - 2 * h.Y_INC};
    const auto query = [&](double x, double y) {
        const double point[3] = {x, y, 0};
        int code = 0;
        for (int mode : {ValeurNoeud, Bilineaire, Spline})
            grid.Interpoler_Mode(h.NODE_COORD_UNIT, point, result, code, mode);
    };
    for (double x : xs) {
        for (double y : ys) query(x, y);
    }
    // A file of several grid images: the corners and the middle of each.
    const std::vector<SubGrid> subGrids = h.subGrids;
    for (const SubGrid& sub : subGrids) {
        query(sub.X_MIN, sub.Y_MIN);
        query((sub.X_MIN + sub.X_MAX) / 2, (sub.Y_MIN + sub.Y_MAX) / 2);
        query(sub.X_MAX, sub.Y_MAX);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::WriteFile("grille.tif", data, size);
    fuzz::OpenGrid<CGrille>(path, ModeEnTete, Query);
    fuzz::OpenGrid<CGrille1D>(path, ModeSurDisque, Query);
    fuzz::OpenGrid<CGrille3D>(path, ModeEnMemoire, Query);
    return 0;
}
