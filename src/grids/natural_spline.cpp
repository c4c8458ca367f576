#include "grids/natural_spline.h"

void NaturalSplineSecondDerivatives(const double* y, int n, double* g, double* w) {
    if (n <= 0) return;
    w[0] = 0;
    g[0] = 0;
    for (int m = 1; m <= n - 2; ++m) {
        const double p = 0.5 * w[m - 1] + 2;
        w[m] = -0.5 / p;
        g[m] = (3 * (y[m + 1] - 2 * y[m] + y[m - 1]) - 0.5 * g[m - 1]) / p;
    }
    g[n - 1] = 0;
    for (int m = n - 2; m >= 1; --m) g[m] = w[m] * g[m + 1] + g[m];
}

double NaturalSplineValue(const double* y, const double* g, int n, double t) {
    if (n <= 0) return 0;
    if (n == 1) return y[0];  // a single node: its value everywhere
    if (t < 1) return y[0] + (y[1] - y[0] - g[1] / 6) * (t - 1);
    if (t > n) return y[n - 1] + (y[n - 1] - y[n - 2] + g[n - 2] / 6) * (t - n);
    if (t == n) return y[n - 1];
    const int m = static_cast<int>(t);
    const double d = t - m;
    const double a = y[m - 1], b = y[m], ga = g[m - 1], gb = g[m];
    return a + d * (d * (d * (gb - ga) / 6 + ga / 2) + (b - a - ga / 3 - gb / 6));
}
