#pragma once

#include "shared/labels.h"
#include "shared/codes.h"

// Point-file layouts: DataFormat codes (shared/codes.h) with their
// labels and what each carries in the label tables.

inline bool IsDataFormat(int format) {
    return DataFormatCoordType(format) != CoordNotSet;
}

// The vertical kind a file run gives a point read or written in the layout:
// altitude for the "Altitude" layouts, ellipsoidal height for all others,
// the cartesian ones included.
inline int VerticalKindOfFormat(int format) {
    return DataFormatVertical(format) == Altitude ? Altitude : EllipsoidalHeight;
}
