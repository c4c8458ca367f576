#pragma once

#include "geodesy/ellipsoid.h"

// Seven-parameter similarity between the geocentric cartesian frames of two
// reference systems: translations Tx, Ty, Tz, scale difference D and three
// small rotations Rx, Ry, Rz about the axes. The rotation signs are those of
// the position-vector convention (a positive Rz turns a point's position
// vector from X towards Y, so X′ = X − Rz Y); the coordinate-frame
// convention, which turns the axes instead, has them all the other way round.
// Unlike the textbook Helmert form (1 + D) R X, the scale applies to the
// diagonal only: the matrix is [[r, −Rz, Ry], [Rz, r, −Rx], [−Ry, Rx, r]],
// r = 1 + D, and is never orthonormalised.

// D unitless, rotations in radians. Defined here so that the callers that
// apply them to every point of a file inline them.
inline Cartesian3 SimilarityDirect(double tx, double ty, double tz, double d, double rx, double ry,
                                   double rz, double x, double y, double z) {
    const double r = 1 + d;
    return {tx + r * x - rz * y + ry * z, ty + rz * x + r * y - rx * z,
            tz - ry * x + rx * y + r * z};
}

// The exact inverse of SimilarityDirect's matrix (not the direct formula
// with the parameters negated).
inline Cartesian3 SimilarityInverse(double tx, double ty, double tz, double d, double rx, double ry,
                                    double rz, double x, double y, double z) {
    const double r = 1 + d;
    const double dx = x - tx, dy = y - ty, dz = z - tz;
    const double det = r * (r * r + rx * rx + ry * ry + rz * rz);
    return {((r * r + rx * rx) * dx + (r * rz + rx * ry) * dy + (rx * rz - r * ry) * dz) / det,
            ((rx * ry - r * rz) * dx + (r * r + ry * ry) * dy + (ry * rz + r * rx) * dz) / det,
            ((rx * rz + r * ry) * dx + (ry * rz - r * rx) * dy + (r * r + rz * rz) * dz) / det};
}
