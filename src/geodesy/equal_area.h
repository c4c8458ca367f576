#pragma once

#include "geodesy/projected_point.h"

// Lambert azimuthal equal-area projection on the ellipsoid, through the
// authalic sphere: polar aspects when the origin is exactly a pole, the
// oblique aspect otherwise.
struct EqualArea {
    double a = 0, e2 = 0;
    double lambdaM = 0;  // central meridian from Greenwich
    double phi0 = 0;     // origin latitude
    double qp = 0;       // q at the pole
    double beta0 = 0;    // authalic latitude of the origin
    double rq = 0;       // radius of the authalic sphere
    double d = 0;        // ratio that keeps true scale at the origin
    double x0 = 0, y0 = 0;
};

// The authalic function q(φ), with its spherical limit 2 sin φ when e² = 0.
double AuthalicQ(double phi, double e2);

EqualArea EqualAreaConstants(double a, double e2, double lambdaM, double phi0, double x0,
                             double y0);
// The projection is not conformal: the scale factor returned is the scale
// along the parallel (the one on the meridian is its inverse on the polar
// aspects) and the convergence is the angle of the projected meridian.
ProjectedPoint EqualAreaForward(const EqualArea& c, double lambda, double phi);
GeographicPoint EqualAreaInverse(const EqualArea& c, double easting, double northing);

// Latitude whose authalic function is q, by iteration (capped like
// LatitudeFromIsometric); |q| ≥ qp is the pole on the side of q.
double LatitudeFromAuthalicQ(double q, double qp, double e2);
