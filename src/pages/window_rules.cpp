#include "pages/window_rules.h"

#include <cstdio>

#include "shared/codes.h"

int PageKindAtTab(int position, bool hasStandard, bool hasGrille) {
    if (position == 1) {
        if (hasStandard) return StandardKind;
        return hasGrille ? GridKind : 0;
    }
    if (position == 2 && hasStandard && hasGrille) return GridKind;
    return 0;
}

std::string ProgressPercentText(int position, int lower, int upper) {
    const long span = static_cast<long>(upper) - lower;
    long percent = span == 0 ? 0 : (static_cast<long>(position) - lower) * 100 / span;
    if (percent != 100) percent %= 100;
    char text[32];
    std::snprintf(text, sizeof text, "%ld%c", percent, '%');
    return text;
}
