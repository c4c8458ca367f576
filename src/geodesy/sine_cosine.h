#pragma once

#include <cmath>

// The sine and cosine of one angle in one call: the C library's sincos,
// which gives the same two numbers as sin and cos apart, in about the time
// of one of them. The projections and the geocentric conversions need both
// of most of their angles.
struct SineCosine {
    double sin = 0, cos = 0;
};

inline SineCosine SinCos(double angle) {
    SineCosine r;
    ::sincos(angle, &r.sin, &r.cos);
    return r;
}
