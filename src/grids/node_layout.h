#pragma once

#include <cstdint>

// Where the record of node (column c, line l) sits in a grid's storage, for
// the eight storage orders (Layout), and the way back. Columns run from the
// west (c = 0) and lines from the south (l = 0); C and L are the counts.

// The storage index of node (c, l); -1 for a layout outside 1 .. 8.
int64_t StorageIndex(int layout, int64_t c, int64_t l, int64_t C, int64_t L);

// Column and line of the node stored at index s; false (c and l set to 0)
// for a layout outside 1 .. 8 or empty counts.
bool NodeOfStorageIndex(int layout, int64_t s, int64_t C, int64_t L, int64_t& c, int64_t& l);
