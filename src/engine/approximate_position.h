#pragma once

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"

// What the grid selection and the grid change of system share: system ids,
// the point in Greenwich degrees, and a probe point brought near another
// system before a grid positioned in that system is read.

// TransfoKind of the "TSG0" records, the translations that bring a point near
// another system.
inline constexpr int kTranslationOnly = 2;

inline int SystemId(const CReg* system) {
    return system ? system->id : 0;
}

// The coordinate in geographic decimal degrees counted from Greenwich; the
// status of the conversion to geographic coordinates.
int ToGreenwichDegrees(CCoor& c, const CLgo* greenwich);

// Brings the probe near `to` with the translations of the record of `kind`
// from its system to `to`. A record listed from `to` to the probe's system is
// applied backwards when `backwards` is set, and left out otherwise. False
// when no record joins the systems.
bool Approximate(CCoor& probe, const CReg* to, const Catalogue& catalogue, int kind,
                 bool backwards);
