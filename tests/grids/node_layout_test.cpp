#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "grid_test_support.h"
#include "grids/grid.h"

namespace {

constexpr int C = 4, L = 3;

// The nodes of each layout in the order its records run, described by the
// corner it starts from, the direction along a run and between runs.
std::vector<std::pair<int, int>> RecordOrder(int layout) {
    std::vector<std::pair<int, int>> order;
    auto columnsOuter = [&](bool eastwards, bool northwards) {
        for (int a = 0; a < C; ++a)
            for (int b = 0; b < L; ++b)
                order.push_back({eastwards ? a : C - 1 - a, northwards ? b : L - 1 - b});
    };
    auto rowsOuter = [&](bool eastwards, bool northwards) {
        for (int b = 0; b < L; ++b)
            for (int a = 0; a < C; ++a)
                order.push_back({eastwards ? a : C - 1 - a, northwards ? b : L - 1 - b});
    };
    switch (layout) {
        case 1:
            columnsOuter(true, true);
            break;  // SW2N2E
        case 2:
            rowsOuter(true, false);
            break;  // NW2E2S
        case 3:
            columnsOuter(true, false);
            break;  // NW2S2E
        case 4:
            rowsOuter(true, true);
            break;  // SW2E2N
        case 5:
            columnsOuter(false, true);
            break;  // SE2N2W
        case 6:
            rowsOuter(false, false);
            break;  // NE2W2S
        case 7:
            columnsOuter(false, false);
            break;  // NE2S2W
        case 8:
            rowsOuter(false, true);
            break;  // SE2W2N
    }
    return order;
}

double First(int c, int l) {
    return 10 * c + l + 0.25;
}
double Second(int c, int l) {
    return -(100 * c + l);
}
int Code(int c, int l) {
    return 1000 + 10 * c + l;
}

// A native text grid of C x L nodes, two values and a code per node, in the
// given layout; the node coordinates are written before the values.
std::string TextGrid(int layout) {
    char line[256];
    std::snprintf(line, sizeof line, "1.0 2.5 40.0 40.5 0.5 0.25 %d 1 2 1 0.0 0.0 grille d'essai\n",
                  layout);
    std::string text = line;
    for (auto [c, l] : RecordOrder(layout)) {
        std::snprintf(line, sizeof line, "%.2f %.2f  %.2f %.0f %d\n", 1.0 + 0.5 * c,
                      40.0 + 0.25 * l, First(c, l), Second(c, l), Code(c, l));
        text += line;
    }
    return text;
}

void ExpectEveryNode(const CGrille& g, int layout) {
    const auto order = RecordOrder(layout);
    for (size_t s = 0; s < order.size(); ++s) {
        double point[3] = {-1, -1, -1};
        int c = -1, l = -1;
        g.Position_Noeud(static_cast<int64_t>(s), point, c, l);
        EXPECT_EQ(order[s].first, c) << "layout " << layout << " index " << s;
        EXPECT_EQ(order[s].second, l) << "layout " << layout << " index " << s;
        EXPECT_DOUBLE_EQ(1.0 + 0.5 * c, point[0]);
        EXPECT_DOUBLE_EQ(40.0 + 0.25 * l, point[1]);
        EXPECT_EQ(0, point[2]);
    }
    for (int c = 0; c < C; ++c) {
        for (int l = 0; l < L; ++l) {
            double values[2] = {};
            int code = 0;
            g.Lire_Noeud(c, l, values, code);
            EXPECT_EQ(First(c, l), values[0]) << "layout " << layout << " node " << c << "," << l;
            EXPECT_EQ(Second(c, l), values[1]);
            EXPECT_EQ(Code(c, l), code);
        }
    }
}

}  // namespace

TEST(NodeLayout, EveryLayoutInMemoryAndFromItsCache) {
    for (int layout = 1; layout <= 8; ++layout) {
        GridFolder folder;
        GridFolder::Write("g.mnt", TextGrid(layout));
        GridFolder::Write("g.xml", BilinearXml());

        CGrille memory;
        memory.header.NAME = "g.mnt";
        std::string message;
        ASSERT_TRUE(memory.Ouvrir(message, ModeEnMemoire)) << message;
        EXPECT_FALSE(memory.onDisk);
        ExpectEveryNode(memory, layout);

        CGrille disk;
        disk.header.NAME = "g.mnt";
        ASSERT_EQ("", OpenMessage(disk, ModeSurDisque));
        EXPECT_EQ("g.bin", disk.header.NAME);
        EXPECT_TRUE(disk.onDisk && disk.loaded && disk.BinaryFileOpen());
        ExpectEveryNode(disk, layout);
    }
}

TEST(NodeLayout, NodesOutsideTheGridReadAsZeros) {
    GridFolder folder;
    GridFolder::Write("g.mnt", TextGrid(4));
    GridFolder::Write("g.xml", BilinearXml());
    for (int mode : {ModeEnMemoire, ModeSurDisque}) {
        CGrille g;
        g.header.NAME = "g.mnt";
        ASSERT_EQ("", OpenMessage(g, mode));
        for (auto [c, l] : {std::pair{C, 0}, std::pair{-1, 0}, std::pair{0, L}, std::pair{0, -1}}) {
            double values[2] = {7, 7};
            int code = 7;
            g.Lire_Noeud(c, l, values, code);
            EXPECT_EQ(0, values[0]);
            EXPECT_EQ(0, values[1]);
            EXPECT_EQ(0, code);
        }
    }
}

TEST(NodeLayout, UnknownValuesReadAsZeroWhenAsked) {
    GridFolder folder;
    GridFolder::Write("g.mnt",
                      "0 1 0 1 1 1 4 0 1 0 0\n"
                      "-9999 1.5\n"
                      "2.5 -9999.5\n");
    GridFolder::Write("g.xml", XmlHeader("<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
                                         "<VALUE_UNK>-9999</VALUE_UNK>"
                                         "<VALUE_UNK_TO_ZERO>YES</VALUE_UNK_TO_ZERO>"));
    CGrille g;
    g.header.NAME = "g.mnt";
    std::string message;
    ASSERT_TRUE(g.Ouvrir(message, ModeEnMemoire)) << message;
    double v = 1;
    int code = 1;
    g.Lire_Noeud(0, 0, &v, code);
    EXPECT_EQ(0, v);
    g.Lire_Noeud(1, 1, &v, code);
    EXPECT_EQ(-9999.5, v);  // only the exact unknown value becomes 0
    g.header.VALUE_UNK_TO_ZERO = 0;
    g.Lire_Noeud(0, 0, &v, code);
    EXPECT_EQ(-9999, v);
}
