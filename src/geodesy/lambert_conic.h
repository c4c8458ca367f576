#pragma once

#include "geodesy/projected_point.h"

// Lambert conformal conic projection, tangent (one parallel φ₀ with scale k₀
// on it) or secant (two standard parallels φ₁, φ₂ of true scale).
struct LambertConic {
    double a = 0, e2 = 0;
    double lambdaM = 0;     // central longitude from Greenwich
    double n = 0;           // cone constant
    double K = 0;           // radius of the parallel of isometric latitude 0
    double xs = 0, ys = 0;  // map position of the cone's apex
};

LambertConic LambertTangent(double a, double e2, double lambdaM, double phi0, double k0, double x0,
                            double y0);
LambertConic LambertSecant(double a, double e2, double lambdaM, double phi0, double phi1,
                           double phi2, double x0, double y0);

ProjectedPoint LambertForward(const LambertConic& c, double lambda, double phi);
// LambertForward of `count` points, computed side by side: the same numbers.
void LambertForwardMany(const LambertConic& c, const double* lambda, const double* phi, int count,
                        ProjectedPoint* out);
// Assumes a cone opening to the north (n > 0), as the one-argument arctangent does.
GeographicPoint LambertInverse(const LambertConic& c, double easting, double northing);
// LambertInverse of `count` points, the latitudes computed side by side
// (LatitudesFromIsometric): the same numbers.
void LambertInverseMany(const LambertConic& c, const double* eastings, const double* northings,
                        int count, GeographicPoint* out);
