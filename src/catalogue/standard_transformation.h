#pragma once

#include "catalogue/records.h"
#include "geodesy/ellipsoid.h"

// The catalogue's transformations between reference systems: finding the
// record that joins two systems and applying its seven parameters (the
// similarity of geodesy/similarity.h) in the catalogue's units.

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

// Applies a catalogue transformation, its parameters in the catalogue's units
// (metres, parts per million, seconds of arc), in its direction.
Cartesian3 ApplyTransfo(const CTransfo& transfo, double x, double y, double z);
