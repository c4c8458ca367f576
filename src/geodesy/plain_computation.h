#pragma once

#include <atomic>

// The plain computations, for the tests that compare the runs' results with
// theirs: numbers read and written by the standard library (from_chars,
// to_chars, snprintf) and projection constants computed at every call, with
// nothing kept from one call to the next. The fast paths that stand in for
// them must give the same bytes. Off unless a test sets it; no program does.
inline std::atomic<bool> gPlainComputation{false};

inline void SetPlainComputation(bool plain) {
    gPlainComputation.store(plain, std::memory_order_relaxed);
}

inline bool PlainComputation() {
    return gPlainComputation.load(std::memory_order_relaxed);
}
