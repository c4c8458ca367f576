// Queries must not allocate: the interpolations work in the grid's own work
// space. Every allocation of this test program is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "grid_test_support.h"
#include "grids/grid.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(QueryAllocation, OnDiskQueriesAllocateNothing) {
    GridFolder folder;
    std::string text = "0 9 40 49 1 1 4 0 3 1 0 0 0\n";
    for (int s = 0; s < 100; ++s) text += std::to_string(s) + " 1 2 3\n";
    GridFolder::Write("g.mnt", text);
    GridFolder::Write("g.xml", XmlHeader("<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>"
                                         "<INTERPOLATION_ORDER>5</INTERPOLATION_ORDER>"));
    CGrille g;
    g.header.NAME = "g.mnt";
    std::string message;
    ASSERT_TRUE(g.Ouvrir(message, ModeSurDisque)) << message;
    double values[3];
    int code = 0;
    const long before = allocations.load();
    for (int q = 0; q < 200; ++q) {
        const double p[3] = {0.05 * q, 40 + 0.04 * q, 0};
        g.Interpoler(UniteDegres, p, values, code);
        g.Interpoler_Mode(UniteDegres, p, values, code, Bilineaire);
        g.Interpoler_Mode(UniteDegres, p, values, code, ValeurNoeud);
    }
    EXPECT_EQ(before, allocations.load());
    const double p[3] = {4.5, 44.5, 0};
    EXPECT_EQ(0, g.Interpoler_Mode(UniteDegres, p, values, code, Bilineaire));
    EXPECT_DOUBLE_EQ(49.5, values[0]);  // (44 + 45 + 54 + 55) / 4
}
