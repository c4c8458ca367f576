#include "grids/grid_rules.h"

#include <cmath>
#include <limits>

#include "grids/grid_enums.h"

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kOnNode = 1e-10;
}  // namespace

double Nearest(double v) {
    if (v > 0) return std::floor(v + 0.5);
    if (v < 0) return std::ceil(v - 0.5);
    return 0;
}

int32_t SaturateToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int IndexOf(double v) {
    if (std::isnan(v)) return std::numeric_limits<int>::min();
    const double up = std::ceil(v);
    return SaturateToInt32(std::fabs(v - up) < kOnNode ? up : std::floor(v));
}

double Snap(double v) {
    const double up = std::ceil(v);
    if (std::fabs(v - up) < kOnNode) return up;
    const double down = std::floor(v);
    if (std::fabs(v - down) < kOnNode) return down;
    return v;
}

double ConvertUnit(double v, int from, int to) {
    if (from == to) return v;
    switch (from) {
        case UniteSecondes:
            if (to == UniteDegres) return v / 3600;
            if (to == UniteRadians) return v * kPi / 180 / 3600;
            break;
        case UniteDegres:
            if (to == UniteRadians) return v * kPi / 180;
            if (to == UniteSecondes) return v * 3600;
            break;
        case UniteRadians:
            if (to == UniteSecondes) return v * 180 * 3600 / kPi;
            if (to == UniteDegres) return v * 180 / kPi;
            break;
        default:
            break;
    }
    return v;
}

int32_t CountFromLimits(double min, double max, double inc) {
    return SaturateToInt32(Nearest((max - min) / inc) + 1);
}
