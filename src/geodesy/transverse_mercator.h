#pragma once

#include "geodesy/projected_point.h"

// Transverse Mercator (Gauss-Krüger) by complex series in e², truncated after
// e⁸: accurate to the micrometre within a few degrees of the central meridian.
struct TransverseMercator {
    double a = 0, e2 = 0;
    double lambdaM = 0;     // central meridian from Greenwich
    double k0 = 0;          // scale factor on the central meridian
    double n = 0;           // k₀ a
    double xs = 0, ys = 0;  // map position of the equator on the central meridian
    double f[5] = {};       // forward series coefficients F₁ … F₅
    double g[5] = {};       // inverse series coefficients G₁ … G₅
};

// Meridian arc from the equator to φ divided by a.
double MeridianArcOverA(double phi, double e2);

TransverseMercator TransverseMercatorConstants(double a, double e2, double lambdaM, double phi0,
                                               double k0, double x0, double y0);
ProjectedPoint TransverseMercatorForward(const TransverseMercator& c, double lambda, double phi);
// TransverseMercatorInverse of `count` points, their latitudes computed side
// by side (LatitudesFromIsometric): the same numbers.
void TransverseMercatorInverseMany(const TransverseMercator& c, const double* eastings,
                                   const double* northings, int count, GeographicPoint* out);
GeographicPoint TransverseMercatorInverse(const TransverseMercator& c, double easting,
                                          double northing);
