#pragma once

#include "catalogue/records.h"
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

// The transformation in use between two systems: a copy of the catalogue
// record and the direction in which it applies.
struct CTransfo {
    int inverse = 0;  // 0: record from source to target (direct); 1: listed the other way
    CTsg record;
};

// Finds the transformation of `kind` (TransfoKind) from `sourceId` to
// `targetId`: the first record listed from the source to the target, used
// directly, or failing that the first listed from the target to the source,
// used inversely. Nothing is found between a system and itself.
bool FindTransformation(CTransfo& result, const CatalogueList<CTsg>& transformations, int sourceId,
                        int targetId, int kind);
bool FindTransformation(CTransfo& result, const CatalogueList<CTsg>& transformations,
                        const CReg& source, const CReg& target, int kind);

// D unitless, rotations in radians.
Cartesian3 SimilarityDirect(double tx, double ty, double tz, double d, double rx, double ry,
                            double rz, double x, double y, double z);
// The exact inverse of SimilarityDirect's matrix (not the direct formula
// with the parameters negated).
Cartesian3 SimilarityInverse(double tx, double ty, double tz, double d, double rx, double ry,
                             double rz, double x, double y, double z);

// Applies a catalogue transformation, its parameters in the catalogue's units
// (metres, parts per million, seconds of arc), in its direction.
Cartesian3 ApplyTransfo(const CTransfo& transfo, double x, double y, double z);
