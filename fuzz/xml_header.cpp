// An XML grid header of arbitrary bytes: read alone, then beside a small
// native text grid that it completes, opened into memory and asked for values.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "grids/grid.h"
#include "grids/xml_header.h"

namespace {

// Three columns and two lines of one value each, nodes in rows from the
// south-west corner.
const char kSmallGrid[] =
    "0.0 2.0 0.0 1.0 1.0 1.0 4 0 1 0 0 petite grille\n"
    "1.0\n2.0\n3.0\n4.0\n5.0\n6.0\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratchFolder();
    const std::string xml = fuzz::WriteFile("grille.xml", data, size);
    {
        CGrille grid;
        Lire_Xml(grid.header, xml);
        grid.header.Verifier(true);
    }
    const std::string path = fuzz::WriteFile(
        "grille.mnt", reinterpret_cast<const uint8_t*>(kSmallGrid), sizeof kSmallGrid - 1);
    CGrille1D grid;
    grid.header.NAME = path;
    std::string message;
    if (grid.Ouvrir(message, ModeEnMemoire) && grid.loaded &&
        grid.header.VALUES_NUMBER > 0 && grid.header.VALUES_NUMBER <= kMostValuesPerNode) {
        double values[kMostValuesPerNode];
        int code = 0;
        const double point[3] = {1.5, 0.5, 0};
        grid.Interpoler_Mode(grid.header.NODE_COORD_UNIT, point, values, code, grid.header.INTERPOLATION_TYPE);
        grid.Interpoler_Spline(4, point, values, code);
    }
    grid.Fermer();
    return 0;
}
