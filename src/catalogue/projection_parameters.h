#pragma once

#include "catalogue/records.h"
#include "geodesy/projection.h"

// The numbers of a projection record for the projection computations. Built
// for each use of the record (a point's conversion), so it only copies: no
// angle is converted and nothing is allocated.
// A record without an ellipsoid has no family (0): it is not handled. The
// record's prime meridian shifts the origin only when it is not Greenwich
// (id 1), whose longitude is always taken as 0.
inline ProjectionParameters ProjectionParametersOf(const CPrc& record) {
    if (record.ellipsoid == nullptr) return {};
    const CLgo* meridian = record.meridian;
    const bool shift = meridian != nullptr && meridian->id != 1;
    // Every member given, in order: nothing is cleared first.
    return {.lambertSubkind = record.lambertSubkind,
            .family = record.family,
            .unit = record.unit,
            .secondParallel = record.secondParallel,
            .firstParallel = record.firstParallel,
            .scaleFactor = record.scaleFactor,
            .originLatitude = record.originLatitude,
            .originLongitude = record.originLongitude,
            .falseEasting = record.falseEasting,
            .falseNorthing = record.falseNorthing,
            .a = record.ellipsoid->a,
            .e2 = record.ellipsoid->e2,
            .meridianShift = shift,
            .meridianLongitude = shift ? meridian->longitude : 0,
            .meridianUnit = shift ? meridian->unit : 0};
}
