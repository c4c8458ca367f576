#pragma once

#include <cstdint>

// Number rules shared by every piece of grid code: rounding to the nearest
// integer, the node index of a position, snapping onto a node, and the
// conversion between the units of node coordinates and steps.

// Halves away from zero: 2.5 gives 3, -2.5 gives -3.
double Nearest(double v);

// The node index of a position counted in steps: a position a hair (1e-10)
// below a node counts as on that node, otherwise the index is taken downwards.
// Saturates at the 32-bit limits; NaN gives the lowest integer.
int IndexOf(double v);

// A position within 1e-10 of a node is moved onto it.
double Snap(double v);

// v converted from one GridUnit to another; pairs involving metres or an
// undefined unit leave v unchanged.
double ConvertUnit(double v, int from, int to);

// A real brought into the 32-bit integer range (NaN gives 0).
int32_t SaturateToInt32(double v);

// Node count along one axis derived from its limits and step:
// nearest((max - min) / inc) + 1.
int32_t CountFromLimits(double min, double max, double inc);
