#pragma once

#include <cstdint>

// Node records read on demand from a grid file that cannot be read in place
// (compressed, in tiles or strips, in its own byte order): each record is
// decoded into the grid's layout (the values, then the precision code when
// the grid has one, little-endian) when a query asks for it.
class NodeSource {
public:
    virtual ~NodeSource() = default;
    // The record of the node stored at s; null when s is not a node of the
    // grid. Valid until the next call.
    virtual const unsigned char* Record(int64_t s) = 0;
    // Whether the file is still, under its name, the file as it was opened.
    virtual bool Unchanged() const = 0;
};
