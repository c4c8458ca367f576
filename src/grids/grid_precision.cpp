// Precision classes of grid nodes and the angular deviations they stand for.

#include <cmath>

#include "geodesy/ellipsoid.h"
#include "grids/grid.h"

namespace {

// The metric bound of a precision class, in metres; 0 for a code that is no class.
double MetricBound(int code) {
    switch (code) {
        case 1:
        case 11:
            return 0.05;
        case 2:
            return 0.1;
        case 3:
            return 0.2;
        case 4:
            return 0.5;
        case 5:
            return 2;
        case 6:
            return 5;
        case 10:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void CGrille::Precision_Vers_Ecarts(int code, double latitude, double& dlon, double& dlat) const {
    // Half the bound's square along each axis: b² + b² = m².
    const double b = MetricBound(code) / std::sqrt(2.0);
    if (b == 0) {
        dlon = dlat = 0;
        return;
    }
    dlon = b / (PrimeVerticalRadius(latitude, header.MAJOR_F, header.SQ_EXC_F) * std::cos(latitude));
    dlat = b / MeridianRadius(header.MAJOR_F, header.SQ_EXC_F, latitude);
}

void CGrille::Ecarts_Vers_Precision(int& code, double latitude, double dlon, double dlat) const {
    const double east =
        PrimeVerticalRadius(latitude, header.MAJOR_F, header.SQ_EXC_F) * std::cos(latitude) * dlon;
    const double north = MeridianRadius(header.MAJOR_F, header.SQ_EXC_F, latitude) * dlat;
    const double m = std::sqrt(east * east + north * north);
    if (m <= 0.05)
        code = 1;
    else if (m <= 0.1)
        code = 2;
    else if (m <= 0.2)
        code = 3;
    else if (m <= 0.5)
        code = 4;
    else if (m <= 1)
        code = 10;
    else if (m <= 2)
        code = 5;
    else if (m <= 5)
        code = 6;
    else
        code = 99;  // larger, or not a number
}
