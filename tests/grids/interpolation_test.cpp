#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "grids/grid.h"
#include "grids/grid_test_support.h"
#include "grids/natural_spline.h"

namespace {

// An in-memory grid of C x L nodes from X = 0, Y = 0 with unit steps, in
// degrees, stored south-west first along rows; values[k](c, l) and codes
// 100·c + l.
CGrille MemoryGrid(int C, int L, std::vector<std::function<double(int, int)>> values) {
    CGrille g;
    g.header.N_COLUMNS = C;
    g.header.N_LINES = L;
    g.header.N_NODES = C * L;
    g.header.X_INC = g.header.Y_INC = 1;
    g.header.X_MAX = C - 1;
    g.header.Y_MAX = L - 1;
    g.header.LAYOUT = SW2E2N;
    g.header.VALUES_NUMBER = static_cast<int>(values.size());
    g.header.VALUES_TYPE = Real8;
    g.header.Taille_Valeur();
    g.header.CODE_PREC = 1;
    g.header.TRANSLATION.assign(values.size(), 0.0);
    // Stored along rows from the south-west: node s is column s % C, line s / C.
    HoldReal8Nodes(
        g, [&](int64_t s, int k) { return values[static_cast<size_t>(k)](s % C, s / C); },
        [&](int64_t s) { return static_cast<int32_t>(100 * (s % C) + s / C); });
    return g;
}

double Bilinear(int c, int l) {
    return 1 + c + 2 * l + 3 * c * l;
}

struct Query {
    double values[2] = {-1, -1};
    int code = -1;
    int status = -99;
};

Query Bil(CGrille& g, double x, double y) {
    Query q;
    const double p[3] = {x, y, 0};
    q.status = g.Interpoler_Bilineaire(p, q.values, q.code);
    return q;
}

Query Spl(CGrille& g, int n, double x, double y) {
    Query q;
    const double p[3] = {x, y, 0};
    q.status = g.Interpoler_Spline(n, p, q.values, q.code);
    return q;
}

}  // namespace

TEST(Bilinear, InsideTheGridWithTranslationAndNearestCode) {
    CGrille g = MemoryGrid(3, 3, {Bilinear, [](int c, int l) { return c - l; }});
    g.header.TRANSLATION = {0.5, -2};
    Query q = Bil(g, 1.25, 0.5);
    EXPECT_EQ(0, q.status);
    EXPECT_DOUBLE_EQ(1 + 1.25 + 1 + 3 * 0.625 + 0.5, q.values[0]);
    EXPECT_DOUBLE_EQ(0.75 - 2, q.values[1]);
    EXPECT_EQ(101, q.code);  // u = 0.25, v = 0.5: the tie goes to the upper line
    EXPECT_EQ(200, Bil(g, 1.5, 0.25).code);
    EXPECT_EQ(201, Bil(g, 1.75, 0.75).code);
    EXPECT_EQ(100, Bil(g, 1.2, 0.2).code);
}

TEST(Bilinear, EveryBorderOfTheCompletionList) {
    CGrille g = MemoryGrid(3, 3, {Bilinear, Bilinear});
    g.header.TRANSLATION = {0.5, 0};
    struct Case {
        double x, y;
        double expected;
        int code;
    } cases[] = {
        {-0.5, -0.5, Bilinear(0, 0), 0},                                 // south-west corner
        {-0.5, 2.5, Bilinear(0, 2), 2},                                  // north-west corner
        {2.5, 2.5, Bilinear(2, 2), 202},                                 // north-east corner
        {2.5, -0.5, Bilinear(2, 0), 200},                                // south-east corner
        {-0.5, 1.25, 0.75 * Bilinear(0, 1) + 0.25 * Bilinear(0, 2), 1},  // west, nearer line 1
        {-0.5, 1.75, 0.25 * Bilinear(0, 1) + 0.75 * Bilinear(0, 2), 2},  // west, nearer line 2
        {2.75, 0.6, 0.4 * Bilinear(2, 0) + 0.6 * Bilinear(2, 1), 201},   // beyond the last column
        {2.75, 0.4, 0.6 * Bilinear(2, 0) + 0.4 * Bilinear(2, 1), 200},
        {0.6, -0.3, 0.4 * Bilinear(0, 0) + 0.6 * Bilinear(1, 0), 100},  // south
        {0.4, -0.3, 0.6 * Bilinear(0, 0) + 0.4 * Bilinear(1, 0), 0},
        {1.2, 2.9, 0.8 * Bilinear(1, 2) + 0.2 * Bilinear(2, 2), 102},  // beyond the last line
        {1.6, 2.9, 0.4 * Bilinear(1, 2) + 0.6 * Bilinear(2, 2), 202},
    };
    for (const Case& c : cases) {
        const Query q = Bil(g, c.x, c.y);
        EXPECT_EQ(0, q.status) << c.x << "," << c.y;
        EXPECT_NEAR(c.expected + 0.5, q.values[0], 1e-12) << c.x << "," << c.y;
        EXPECT_NEAR(c.expected, q.values[1], 1e-12) << c.x << "," << c.y;
        EXPECT_EQ(c.code, q.code) << c.x << "," << c.y;
    }
}

TEST(Bilinear, UpToOneStepBeyondTheBorder) {
    CGrille g = MemoryGrid(3, 3, {Bilinear});
    g.header.VALUE_UNK = -9999;
    for (auto [x, y] :
         {std::pair{-1.01, 1.0}, std::pair{3.0, 1.0}, std::pair{1.0, -1.5}, std::pair{1.0, 3.0}}) {
        Query q;
        q.code = 55;
        const double p[3] = {x, y, 0};
        q.status = g.Interpoler_Bilineaire(p, q.values, q.code);
        EXPECT_EQ(2, q.status) << x << "," << y;
        EXPECT_EQ(-9999, q.values[0]);
        EXPECT_EQ(55, q.code);  // not written
    }
    EXPECT_EQ(0, Bil(g, 2.999, 1).status);
    EXPECT_EQ(0, Bil(g, -0.99, 1).status);
    // A position a hair below a node counts as on it.
    EXPECT_EQ(0, Bil(g, 3 - 1e-12 - 1, 2 - 1e-12).status);
    EXPECT_NEAR(Bilinear(2, 2), Bil(g, 2 - 1e-12, 2 - 1e-12).values[0], 1e-9);

    g.header.VALUE_UNK_TO_ZERO = 1;
    const Query outside = Bil(g, 5, 5);
    EXPECT_EQ(2, outside.status);
    EXPECT_EQ(0, outside.values[0]);
}

TEST(Bilinear, UnknownValuesValueByValue) {
    auto withHole = [](int c, int l) { return c == 1 && l == 1 ? -9999.0 : 10.0 * c; };
    CGrille g = MemoryGrid(3, 3, {withHole, Bilinear});
    g.header.VALUE_UNK = -9999;
    Query q = Bil(g, 0.5, 0.5);
    EXPECT_EQ(-9999, q.values[0]);
    EXPECT_DOUBLE_EQ(0.25 * (Bilinear(0, 0) + Bilinear(0, 1) + Bilinear(1, 0) + Bilinear(1, 1)),
                     q.values[1]);
    EXPECT_DOUBLE_EQ(15, Bil(g, 1.5, 2.0).values[0]);  // a cell without the unknown node

    // Read as zeros, the unknown value takes part in the interpolation.
    g.header.VALUE_UNK_TO_ZERO = 1;
    EXPECT_DOUBLE_EQ(0.25 * (0 + 0 + 10 + 0), Bil(g, 0.5, 0.5).values[0]);

    // A zero VALUE_UNK marks nothing as unknown.
    CGrille zeros = MemoryGrid(3, 3, {[](int c, int) { return c == 0 ? 0.0 : 4.0; }});
    EXPECT_DOUBLE_EQ(2, Bil(zeros, 0.5, 0.5).values[0]);
}

TEST(Interpolation, QueryConvertsUnitsAndTurnsNegativeLongitudes) {
    CGrille g = MemoryGrid(360, 2, {[](int c, int) { return c; }});
    g.header.INTERPOLATION_TYPE = Bilineaire;
    g.header.TRANSLATION = {0.25};
    double values[1];
    int code = 0;
    const double west[3] = {-1, 0.5, 0};
    EXPECT_EQ(0, g.Interpoler(UniteDegres, west, values, code));
    EXPECT_DOUBLE_EQ(359.25, values[0]);
    const double seconds[3] = {3600 * 10.5, 1800, 0};
    EXPECT_EQ(0, g.Interpoler(UniteSecondes, seconds, values, code));
    EXPECT_DOUBLE_EQ(10.75, values[0]);
    const double radians[3] = {3.141592653589793 / 18, 0, 0};
    EXPECT_EQ(0, g.Interpoler(UniteRadians, radians, values, code));
    EXPECT_NEAR(10.25, values[0], 1e-12);
}

TEST(Interpolation, ModeWord) {
    CGrille g = MemoryGrid(3, 3, {Bilinear});
    double values[1] = {42};
    int code = 42;
    const double p[3] = {1.4, 0.6, 0};
    EXPECT_EQ(-1, g.Interpoler_Mode(UniteDegres, p, values, code, 8));
    EXPECT_EQ(42, values[0]);
    EXPECT_EQ(42, code);

    EXPECT_EQ(0, g.Interpoler_Mode(UniteDegres, p, values, code, ValeurNoeud));
    EXPECT_EQ(Bilinear(1, 1), values[0]);
    EXPECT_EQ(101, code);
    const double far[3] = {10, 10, 0};
    EXPECT_EQ(0, g.Interpoler_Mode(UniteDegres, far, values, code, ValeurNoeud));
    EXPECT_EQ(0, values[0]);
    EXPECT_EQ(0, code);

    // Order 0 becomes 4 at the first spline query, and stays 4.
    EXPECT_EQ(0, g.Interpoler_Mode(UniteDegres, p, values, code, Spline));
    EXPECT_EQ(4, g.header.INTERPOLATION_ORDER);
}

TEST(NaturalSpline, HandComputedValues) {
    const double y[4] = {0, 1, 0, 0};
    double g[4], w[4];
    NaturalSplineSecondDerivatives(y, 4, g, w);
    EXPECT_DOUBLE_EQ(0, g[0]);
    EXPECT_DOUBLE_EQ(-3.6, g[1]);
    EXPECT_DOUBLE_EQ(2.4, g[2]);
    EXPECT_DOUBLE_EQ(0, g[3]);
    EXPECT_DOUBLE_EQ(0.575, NaturalSplineValue(y, g, 4, 2.5));
    EXPECT_DOUBLE_EQ(1, NaturalSplineValue(y, g, 4, 2));
    EXPECT_DOUBLE_EQ(0, NaturalSplineValue(y, g, 4, 4));       // the last node exactly
    EXPECT_DOUBLE_EQ(-0.8, NaturalSplineValue(y, g, 4, 0.5));  // before the first node: end slope
    EXPECT_DOUBLE_EQ(0.2, NaturalSplineValue(y, g, 4, 4.5));   // after the last node
}

namespace {
double Spike(int c, int) {
    return c == 3 ? 1.0 : 0.0;
}
double SplineOf(const std::vector<double>& y, double t) {
    double g[16], w[16];
    NaturalSplineSecondDerivatives(y.data(), static_cast<int>(y.size()), g, w);
    return NaturalSplineValue(y.data(), g, static_cast<int>(y.size()), t);
}
}  // namespace

TEST(Spline, WindowPlacement) {
    CGrille g = MemoryGrid(6, 6, {Spike, Bilinear});
    g.header.TRANSLATION = {100, 100};  // never added by the spline
    // Column 2.5 of order 4: window columns 1 .. 4, the spike at t = 3.
    Query q = Spl(g, 4, 2.5, 2);
    EXPECT_EQ(0, q.status);
    EXPECT_DOUBLE_EQ(SplineOf({0, 0, 1, 0}, 2.5), q.values[0]);
    EXPECT_NEAR(Bilinear(0, 0) + 2.5 + 4 + 3 * 5, q.values[1], 1e-12);  // linear data are kept
    // Between the last two columns: the last four columns.
    EXPECT_DOUBLE_EQ(SplineOf({0, 1, 0, 0}, 3.5), Spl(g, 4, 4.5, 2).values[0]);
    // Near the first column the window starts at column 0.
    EXPECT_DOUBLE_EQ(SplineOf({0, 0, 0, 1}, 1.3), Spl(g, 4, 0.3, 0).values[0]);

    // Order 5 at column 10 of a larger grid: window columns 9 .. 13.
    CGrille big = MemoryGrid(20, 8, {[](int c, int) {
                                 return c == 9 ? 1.0 : c == 14 ? 5.0 : 0.0;
                             }});
    EXPECT_DOUBLE_EQ(SplineOf({1, 0, 0, 0, 0}, 2.4), Spl(big, 5, 10.4, 3).values[0]);
}

TEST(Spline, BordersAndCodes) {
    CGrille g = MemoryGrid(6, 6, {Spike});
    // Nothing west of the first column or south of the first line.
    EXPECT_EQ(2, Spl(g, 4, -0.2, 2).status);
    EXPECT_EQ(0, Bil(g, -0.2, 2).status);
    EXPECT_EQ(2, Spl(g, 4, 2, -0.01).status);
    EXPECT_EQ(2, Spl(g, 4, 6, 2).status);

    // Three quarters of a step beyond the last column: the end slope, code unchanged.
    Query q;
    q.code = 77;
    const double p[3] = {5.75, 2, 0};
    q.status = g.Interpoler_Spline(4, p, q.values, q.code);
    EXPECT_EQ(0, q.status);
    EXPECT_DOUBLE_EQ(SplineOf({0, 1, 0, 0}, 4.75), q.values[0]);
    EXPECT_EQ(77, q.code);
    // At exactly half a step the last column's code is still taken.
    EXPECT_EQ(502, Spl(g, 4, 5.5, 2).code);
    EXPECT_EQ(302, Spl(g, 4, 3.2, 1.6).code);
}

TEST(Spline, AnyUnknownValueMakesEveryValueUnknown) {
    auto withHole = [](int c, int l) { return c == 2 && l == 3 ? -9999.0 : 1.0; };
    CGrille g = MemoryGrid(8, 8, {withHole, Bilinear});
    g.header.VALUE_UNK = -9999;
    Query q = Spl(g, 4, 2.5, 2.5);
    EXPECT_EQ(-9999, q.values[0]);
    EXPECT_EQ(-9999, q.values[1]);
    // A window that does not hold the unknown node is computed.
    EXPECT_DOUBLE_EQ(1, Spl(g, 4, 6.5, 6.5).values[0]);
}

TEST(Spline, GridSmallerThanTheOrderStaysInside) {
    CGrille g = MemoryGrid(3, 2, {Bilinear});
    const Query q = Spl(g, 4, 1.5, 0.5);
    EXPECT_EQ(0, q.status);
    EXPECT_NEAR(1 + 1.5 + 1 + 3 * 0.75, q.values[0], 1e-12);
}

// A world grid of 10-degree columns (36 make a turn) from `west`, whose
// column c holds value(c + shift), the column count taken modulo a turn.
CGrille WorldGrid(double west, int shift, double (*value)(int, int)) {
    CGrille g = MemoryGrid(36, 7, {[&](int c, int l) { return value((c + shift) % 36, l); },
                                   [&](int c, int l) { return value((c + shift + 5) % 36, l); }});
    g.header.X_INC = g.header.Y_INC = 10;
    g.header.X_MIN = west;
    g.header.X_MAX = west + 350;
    g.header.Y_MIN = -30;
    g.header.Y_MAX = 30;
    return g;
}

double Uneven(int c, int l) {
    return std::sin(0.7 * c) + 0.1 * c * l + std::cos(l) + (c == 35 ? 3 : 0);
}

// The spline window of a grid round the whole parallel takes its columns
// across the seam: near ±180 degrees a grid from -180 gives what the same
// grid from 0, its columns turned by half a turn, gives in its middle.
TEST(Spline, AcrossTheSeamOfAWorldGrid) {
    CGrille fromAntimeridian = WorldGrid(-180, 0, Uneven);  // column c at -180 + 10 c
    CGrille fromGreenwich = WorldGrid(0, 18, Uneven);      // column c at 10 c
    ASSERT_TRUE(WrapsLongitude(fromAntimeridian.header));
    for (int order : {4, 6}) {
        fromAntimeridian.header.INTERPOLATION_ORDER = fromGreenwich.header.INTERPOLATION_ORDER = order;
        for (double lon : {-180.0, -179.99, -178.3, -176.0, -171.2, 171.2, 174.0, 178.3, 179.99, 180.0}) {
            for (double lat : {-25.0, 3.3, 21.0}) {
                SCOPED_TRACE(testing::Message() << order << ": " << lon << " " << lat);
                const double p[3] = {lon, lat, 0};
                double a[2], b[2];
                int codeA = -1, codeB = -1;
                ASSERT_EQ(0, fromAntimeridian.Interpoler_Mode(UniteDegres, p, a, codeA, Spline));
                ASSERT_EQ(0, fromGreenwich.Interpoler_Mode(UniteDegres, p, b, codeB, Spline));
                EXPECT_NEAR(a[0], b[0], 1e-9);
                EXPECT_NEAR(a[1], b[1], 1e-9);
                // The nearest node is the same one, numbered a half turn apart.
                EXPECT_EQ(codeB, 100 * ((codeA / 100 + 18) % 36) + codeA % 100);
            }
        }
    }
}
