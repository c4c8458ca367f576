// The sub-grids after the first of a binary NTv2 file: a file cut within
// them is refused with a message naming it, whichever part is missing.

#include <gtest/gtest.h>

#include "grids/grid_test_support.h"
#include "grids/ntv2_file.h"

namespace {

TEST(Ntv2SubGrids, AFileCutWithinALaterSubGridIsRefused) {
    Ntv2File f;  // 5 columns and 3 lines: 240 bytes of records per sub-grid
    f.sLat = 50 * 3600.0;
    f.nLat = 51 * 3600.0;
    f.wLong = -1 * 3600.0;
    f.eLong = -3 * 3600.0;
    f.subGrids = 2;
    const std::string whole = f.Binary();
    ASSERT_EQ(whole.size(), 1024u);
    struct Case {
        size_t size;
        std::string message;
    } cases[] = {
        {1024, ""},
        {1008, ""},  // without its end record
        {900, "Grille incomplète :\nf.gsb\n(sous-grille SECOND : 900 octets au lieu de 1008 "
              "attendus)"},
        {700, "Sous-grille n° 2 illisible dans\nf.gsb\nIncohérence dans l'en-tête"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        GridFolder folder;
        GridFolder::Write("f.gsb", whole.substr(0, c.size));
        GridFolder::Write("f.xml", BilinearXml());
        for (int mode : {ModeEnTete, ModeSurDisque}) {
            CGrille3D grid;
            EXPECT_EQ(OpenMessage(grid, "f.gsb", mode), c.message);
            EXPECT_EQ(grid.header.subGrids.size(), c.message.empty() ? 2u : 0u);
        }
    }
}

}  // namespace
