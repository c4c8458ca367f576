#pragma once

#include "geodesy/projected_point.h"

// Gauss-Laborde: conformal double projection, first onto the sphere of
// curvature at the origin latitude (Gauss), then the spherical transverse
// Mercator of that sphere.
struct GaussLaborde {
    double a = 0, e2 = 0;
    double lambdaM = 0;  // central meridian from Greenwich
    double alpha = 0;    // longitude ratio sphere / ellipsoid
    double kappa = 0;    // isometric latitude offset
    double radius = 0;   // radius of the sphere, times k₀
    double xs = 0, ys = 0;
};

GaussLaborde GaussLabordeConstants(double a, double e2, double lambdaM, double phi0, double k0,
                                   double x0, double y0);
ProjectedPoint GaussLabordeForward(const GaussLaborde& c, double lambda, double phi);
GeographicPoint GaussLabordeInverse(const GaussLaborde& c, double easting, double northing);
// GaussLabordeInverse of `count` points, their latitudes computed side by
// side (LatitudesFromIsometric): the same numbers.
void GaussLabordeInverseMany(const GaussLaborde& c, const double* eastings,
                             const double* northings, int count, GeographicPoint* out);
