#pragma once

// Geometry of one ellipsoid of revolution, known by its semi-major axis a
// (metres) and its first eccentricity squared e2 as the catalogue gives them.
// Angles are in radians, longitudes counted east from Greenwich; heights and
// geocentric cartesian coordinates in metres. Every function is pure.

// Radius of curvature in the prime vertical, N = a / W(φ).
double PrimeVerticalRadius(double phi, double a, double e2);
// The same from sin φ, for a caller that has it already.
double PrimeVerticalRadiusOfSine(double sinPhi, double a, double e2);

// Radius of curvature in the meridian, M = a (1 − e²) / W(φ)³.
double MeridianRadius(double a, double e2, double phi);

struct Cartesian3 {
    double x = 0, y = 0, z = 0;
};

struct Geographic3 {
    double longitude = 0, latitude = 0, height = 0;
};

Cartesian3 GeographicToCartesian(double a, double e2, double lambda, double phi, double h);

// Closed form (no iteration). Points on the polar axis get longitude 0 and
// points on the negative X half-axis longitude π; never NaN.
Geographic3 CartesianToGeographic(double x, double y, double z, double a, double e2);

// The two conversions for `count` points, each on its own ellipsoid (a[i],
// e2[i]), with the same numbers as one at a time: the sines, cosines and
// arctangents of up to four points are computed side by side, so that the
// processor works on the others while one waits on its own.
void GeographicToCartesianMany(const double* a, const double* e2, const double* lambda,
                               const double* phi, const double* h, int count, Cartesian3* out);
void CartesianToGeographicMany(const double* x, const double* y, const double* z,
                               const double* a, const double* e2, int count, Geographic3* out);

// Isometric latitude L(φ, e²); with e2 = 0 the spherical one, ln tan(π/4 + φ/2).
double IsometricLatitude(double phi, double e2);
// The same with sin φ given, for a caller that has it already.
double IsometricLatitudeOfSine(double phi, double sinPhi, double e2);

// Latitude whose isometric latitude is L, by fixed-point iteration. Gives up
// after kMaxIsometricIterations steps, so a NaN or absurd input cannot hang
// the program; normal inputs converge in a handful of steps.
constexpr int kMaxIsometricIterations = 100;
double LatitudeFromIsometric(double L, double e2);
// LatitudeFromIsometric of each of `count` values, the same numbers: the
// iterations of up to four values run side by side, so that the processor
// computes the others while one waits for its logarithm or arctangent. The
// inverse projections of a file's points take most of their time there.
void LatitudesFromIsometric(const double* L, int count, double e2, double* latitudes);
