#include "grids/node_records.h"

#include <new>
#include <stdexcept>

bool NodeRecords::Reserve(int64_t nodes, int64_t size) {
    Clear();
    if (nodes < 0 || size <= 0) return nodes >= 0;
    try {
        bytes_.reserve(static_cast<size_t>(nodes) * static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    size_ = static_cast<size_t>(size);
    return true;
}
