#pragma once

// Natural cubic spline through n values y[0 .. n-1] at unit spacing, node m
// sitting at t = m + 1, with zero second derivatives at both ends. Beyond the
// first and last nodes the spline goes on as a straight line with the end
// slope. The caller provides the work arrays, so nothing is allocated.

// Second derivatives g[0 .. n-1]; w is a work array of n reals.
void NaturalSplineSecondDerivatives(const double* y, int n, double* g, double* w);

// Value at t of the spline of y with second derivatives g.
double NaturalSplineValue(const double* y, const double* g, int n, double t);
