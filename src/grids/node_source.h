#pragma once

#include <cstdint>
#include <memory>

// Node records read on demand from a grid file that cannot be read in place
// (compressed, in tiles or strips, in its own byte order): each record is
// decoded into the grid's layout (the values, then the precision code when
// the grid has one, little-endian) when a query asks for it.
//
// One source serves every copy of its grid, on any thread: what a reader
// keeps between its calls (the record it was given, the blocks it used last)
// is its own cursor, one per grid copy.
class NodeSource {
public:
    class Cursor {
    public:
        explicit Cursor(const NodeSource* owner) : owner_(owner) {}
        virtual ~Cursor() = default;
        // The source that made the cursor, the only one it serves.
        const NodeSource* Owner() const { return owner_; }

    private:
        const NodeSource* owner_;
    };

    virtual ~NodeSource() = default;
    virtual std::unique_ptr<Cursor> NewCursor() const = 0;
    // The record of the node stored at s in the image `image` of the file
    // (0 for a file of one grid, else GridHeader::image of the sub-grid);
    // null when s is not a node of it. Valid until the cursor's next call.
    virtual const unsigned char* Record(Cursor& cursor, int image, int64_t s) = 0;
    // Whether the file is still, under its name, the file as it was opened.
    virtual bool Unchanged() const = 0;
};
