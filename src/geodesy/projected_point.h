#pragma once

// Results of the family computations of the map projections, in metres and
// radians, longitudes counted from Greenwich.

// A forward projection: the position on the map with the point scale factor k
// (dimensionless, 1 = true scale) and the convergence of meridians γ, the
// angle from grid north to true north counted clockwise (negative east of the
// central meridian in the northern hemisphere).
struct ProjectedPoint {
    double easting = 0, northing = 0;
    double scaleFactor = 1;
    double convergence = 0;
};

struct GeographicPoint {
    double longitude = 0, latitude = 0;
};
