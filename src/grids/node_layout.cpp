#include "grids/node_layout.h"

#include "grids/grid_enums.h"

int64_t StorageIndex(int layout, int64_t c, int64_t l, int64_t C, int64_t L) {
    switch (layout) {
        case SW2N2E:
            return c * L + l;
        case NW2E2S:
            return (L - 1 - l) * C + c;
        case NW2S2E:
            return c * L + (L - 1 - l);
        case SW2E2N:
            return l * C + c;
        case SE2N2W:
            return (C - 1 - c) * L + l;
        case NE2W2S:
            return (L - 1 - l) * C + (C - 1 - c);
        case NE2S2W:
            return (C - 1 - c) * L + (L - 1 - l);
        case SE2W2N:
            return l * C + (C - 1 - c);
        default:
            return -1;
    }
}

bool NodeOfStorageIndex(int layout, int64_t s, int64_t C, int64_t L, int64_t& c, int64_t& l) {
    c = l = 0;
    if (C <= 0 || L <= 0) return false;
    switch (layout) {
        case SW2N2E:
            c = s / L;
            l = s % L;
            break;
        case NW2E2S:
            c = s % C;
            l = L - 1 - s / C;
            break;
        case NW2S2E:
            c = s / L;
            l = L - 1 - s % L;
            break;
        case SW2E2N:
            c = s % C;
            l = s / C;
            break;
        case SE2N2W:
            c = C - 1 - s / L;
            l = s % L;
            break;
        case NE2W2S:
            c = C - 1 - s % C;
            l = L - 1 - s / C;
            break;
        case NE2S2W:
            c = C - 1 - s / L;
            l = L - 1 - s % L;
            break;
        case SE2W2N:
            c = C - 1 - s % C;
            l = s / C;
            break;
        default:
            return false;
    }
    return true;
}
