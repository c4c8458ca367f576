#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The node records of a grid held in memory, in storage order, each laid out
// as in the grid's binary file (the values, then the precision code when the
// grid has one), so that a node is read alike from memory and from a file.
class NodeRecords {
public:
    // Empties the storage and makes room for `nodes` records of `size` bytes;
    // false (and nothing held) when memory is short.
    bool Reserve(int64_t nodes, int64_t size);
    // Appends one record of the size given to Reserve.
    void Append(const unsigned char* record) {
        bytes_.insert(bytes_.end(), record, record + size_);
    }
    // The record of the node stored at s; null when it is not held.
    const unsigned char* Record(int64_t s) const {
        if (s < 0 || size_ == 0 || static_cast<uint64_t>(s) >= bytes_.size() / size_)
            return nullptr;
        return bytes_.data() + static_cast<size_t>(s) * size_;
    }
    void Clear() {
        bytes_ = {};
        size_ = 0;
    }

private:
    std::vector<unsigned char> bytes_;
    size_t size_ = 0;
};
