// The header cache of the candidate grids: when a candidate's file is looked
// at and opened again, outside a run and during one.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "grids/grid_header_cache.h"
#include "grids/grid_test_support.h"

namespace {

// "g.mnt" in the folder: a bilinear native grid of one value per node from
// 1° E to `east`, 46° N to 48° N, in tenths of a degree.
void WriteGrid(const TempDir& dir, double east) {
    std::string text;
    char header[100];
    std::snprintf(header, sizeof header, "1.0 %.1f 46.0 48.0 0.1 0.1 4 0 1 0 0 grille\n", east);
    text = header;
    const int nodes = static_cast<int>((east - 1) * 10 + 1.5) * 21;
    for (int s = 0; s < nodes; ++s) text += "50.0\n";
    dir.Write("g.mnt", text);
    dir.Write("g.xml", BilinearXml());
}

}  // namespace

// Outside a run every use looks at the candidate's file and opens it again
// only when it changed. The file is named relative to the folder given, not
// to the current directory.
TEST(GridHeaderCache, ReopensOnlyAChangedFile) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    WriteGrid(dir, 3);
    GridHeaderCache headers;
    for (int i = 0; i < 100; ++i) {
        const CGrille3D& grid = headers.Translation("g.mnt", folder);
        ASSERT_EQ(grid.header.X_MAX, 3);
        ASSERT_EQ(grid.header.NAME, "g.mnt");
    }
    EXPECT_EQ(headers.Openings(), 1);
    EXPECT_EQ(headers.Looks(), 100);
    // Another extent: the file changes size, the header is read again.
    WriteGrid(dir, 2);
    EXPECT_EQ(headers.Translation("g.mnt", folder).zone.northEast.longitude, 2);
    EXPECT_EQ(headers.Openings(), 2);
}

// During a run a file that was there is looked at once: every use in the run
// sees the header of its first use, whatever happens to the file, and the
// next run looks again.
TEST(GridHeaderCache, ARunLooksAtEachFileOnce) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    WriteGrid(dir, 3);
    GridHeaderCache headers;
    auto east = [&] { return headers.Vertical("g.mnt", folder).zone.northEast.longitude; };
    {
        GridHeaderCache::RunScope run(headers);
        for (int i = 0; i < 100; ++i) ASSERT_EQ(east(), 3);
        EXPECT_EQ(headers.Looks(), 1);
        WriteGrid(dir, 2);
        EXPECT_EQ(east(), 3);
        EXPECT_EQ(headers.Openings(), 1);
    }
    {
        GridHeaderCache::RunScope run(headers);
        EXPECT_EQ(east(), 2);
        EXPECT_EQ(headers.Openings(), 2);
        EXPECT_EQ(headers.Looks(), 2);
    }
    // A file missing when the run looks at it is looked at again at each use,
    // and found as soon as it is there.
    std::filesystem::remove(dir.File("g.mnt"));
    GridHeaderCache::RunScope run(headers);
    EXPECT_EQ(east(), 0);  // the failed opening's header: no extent
    EXPECT_EQ(east(), 0);
    EXPECT_EQ(headers.Looks(), 4);
    WriteGrid(dir, 3);
    EXPECT_EQ(east(), 3);
}
