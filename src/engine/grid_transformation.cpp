#include "engine/grid_transformation.h"

#include <array>
#include <cmath>

#include "engine/approximate_position.h"
#include "engine/coordinate_operations.h"
#include "engine/transformation_chain.h"
#include "geodesy/similarity.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegreesPerRadian = 180 / kPi;
// The inverse of a shift is sought until the shifted point gives back the
// input to this many radians, in at most kMostShiftSteps steps.
constexpr double kShiftTolerance = 1e-12;
constexpr int kMostShiftSteps = 20;

}  // namespace

bool IsShiftGrid(const CGrille& grid) {
    return grid.header.VALUES_NUMBER == 4;
}

namespace {

// What a grid gave at a point.
enum class GridAnswer {
    Value,    // a value
    Unknown,  // its unknown value, inside its limits
    Outside,  // nothing: the point is outside every lattice of the grid
};

// The status that fails a point for a grid's answer other than a value.
int FailureOf(GridAnswer answer) {
    return answer == GridAnswer::Outside ? kOutsideGrid : kUnknownGridValue;
}

// Latitude and longitude shifts of a shift grid at a point, in degrees
// (longitude positive eastwards), read from sub-grid `sub` (-1: the one that
// holds the point). The point's longitude is taken within the grid's columns
// when a turn brings it there.
GridAnswer ShiftAt(CGrille3D& grid, int sub, double longitude, double latitude,
                   double& dLongitude, double& dLatitude, int& code) {
    // A guess that an unknown shift made no number has no shift either.
    if (!std::isfinite(longitude) || !std::isfinite(latitude)) return GridAnswer::Unknown;
    const double west = grid.zone.southWest.longitude, east = grid.zone.northEast.longitude;
    const double step = StepInDegrees(grid.header, grid.header.X_INC);
    if (longitude < west - step && longitude + 360 <= east + step) longitude += 360;
    if (longitude > east + step && longitude - 360 >= west - step) longitude -= 360;
    const double point[3] = {longitude, latitude, 0};
    std::array<double, 4> v{};
    const int where = grid.Interpoler_SousGrille(sub, UniteDegres, point, v.data(), code);
    dLatitude = v[0] / 3600;
    dLongitude = -v[1] / 3600;
    // The values given outside the grid are markers, never shifts.
    if (where == 2) return GridAnswer::Outside;
    if (where != 0 || UnknownGridValue(grid.header, v[0]) || UnknownGridValue(grid.header, v[1]))
        return GridAnswer::Unknown;
    return GridAnswer::Value;
}

// The coordinate now belongs to the target system, with the precision code
// the grid gave.
void ArriveIn(CCoor& c, const CSysCoor& target, int code) {
    c.precision = code;
    c.sys.system = target.system;
    c.sys.projection = target.projection;
    c.sys.vertical = target.vertical;
}

int ApplyShiftGrid(CCoor& c, const CSysCoor& target, CGrille3D& grid, const Catalogue& catalogue) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    const int status = ToGreenwichDegrees(c, greenwich);
    int code = 0;
    double dLon = 0, dLat = 0;
    GridAnswer answer = GridAnswer::Value;
    if (grid.zone.systemKey == SystemId(c.sys.system)) {
        // From the system of the nodes to the other one.
        answer = ShiftAt(grid, -1, c.longitude, c.latitude, dLon, dLat, code);
        c.longitude += dLon;
        c.latitude += dLat;
    } else {
        // Backwards: the point of the nodes' system whose shifted position is
        // the given point. An unknown value met on the way fails the point:
        // the marker, taken as a shift, threw the search off, and it may have
        // ended on known nodes elsewhere. In a file of several sub-grids the
        // search reads, as PROJ's does, the sub-grid that holds the given
        // point for as long as its guesses stay in it, and only a guess that
        // leaves it takes the sub-grid that holds that guess (none holding
        // it, the same one goes on, a step beyond its border at most).
        const double lon = c.longitude, lat = c.latitude;
        const double given[3] = {lon, lat, 0};
        int sub = grid.SubGridAt(UniteDegres, given);
        double guessLon = lon, guessLat = lat;
        const double tolerance = kShiftTolerance * kDegreesPerRadian;
        for (int step = 0; step < kMostShiftSteps && answer == GridAnswer::Value; ++step) {
            const double guess[3] = {guessLon, guessLat, 0};
            if (sub >= 0 && !grid.SubGridHolds(sub, UniteDegres, guess)) {
                const int holding = grid.SubGridAt(UniteDegres, guess);
                if (holding >= 0) sub = holding;
            }
            answer = ShiftAt(grid, sub, guessLon, guessLat, dLon, dLat, code);
            const double errorLon = guessLon + dLon - lon, errorLat = guessLat + dLat - lat;
            guessLon -= errorLon;
            guessLat -= errorLat;
            if (std::fabs(errorLon) < tolerance && std::fabs(errorLat) < tolerance) break;
        }
        c.longitude = guessLon;
        c.latitude = guessLat;
    }
    ArriveIn(c, target, code);
    if (status == 0 && answer != GridAnswer::Value) return FailureOf(answer);
    return status;
}

}  // namespace

int ApplyGridTransformation(CCoor& c, const CSysCoor& target, CGrille3D& grid,
                            const Catalogue& catalogue) {
    if (IsShiftGrid(grid)) return ApplyShiftGrid(c, target, grid, catalogue);

    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    if (c.type != Cartesian) ToCartesian(c, greenwich);
    CCoor probe = c;
    if (grid.header.GRID_TYPE == GrilleTextePlenar || grid.header.GRID_TYPE == GrilleBinairePlenar ||
        grid.header.GRID_TYPE == GrilleGeoTiff) {
        // Native grids, and GeoTIFF translation grids, are positioned in the
        // target system: the probe is brought near it first.
        if (!Approximate(probe, target.system, catalogue, kTranslationOnly, false))
            return kNoTransformation;
    }
    const int status = ToGreenwichDegrees(probe, greenwich);
    const double point[3] = {probe.longitude, probe.latitude, 0};
    std::array<double, kMostValuesPerNode> v{};
    int code = 0;
    GridAnswer answer = GridAnswer::Value;
    if (grid.header.VALUES_NUMBER >= 3 && grid.header.VALUES_NUMBER <= kMostValuesPerNode) {
        const int where = grid.Interpoler(UniteDegres, point, v.data(), code);
        // The values given outside the grid are markers, never parameters.
        if (where == 2) answer = GridAnswer::Outside;
        if (where != 0 && where != 2) answer = GridAnswer::Unknown;
        for (int k = 0; k < grid.header.VALUES_NUMBER && answer == GridAnswer::Value; ++k) {
            if (UnknownGridValue(grid.header, v[k])) answer = GridAnswer::Unknown;
        }
    }
    const double tx = v[0], ty = v[1], tz = v[2];
    double d = 0, rx = 0, ry = 0, rz = 0;
    if (grid.header.VALUES_NUMBER == 7) {
        const double arcSecond = kPi / 180 / 3600;
        rx = v[3] * arcSecond;
        ry = v[4] * arcSecond;
        rz = v[5] * arcSecond;
        d = v[6] * 1e-6;
    }
    const Cartesian3 moved = SystemId(target.system) != grid.zone.systemKey
                                 ? SimilarityInverse(tx, ty, tz, d, rx, ry, rz, c.x, c.y, c.z)
                                 : SimilarityDirect(tx, ty, tz, d, rx, ry, rz, c.x, c.y, c.z);
    c.x = moved.x;
    c.y = moved.y;
    c.z = moved.z;
    ArriveIn(c, target, code);
    if (status == 0 && answer != GridAnswer::Value) return FailureOf(answer);
    return status;
}

int TransformPointGrid(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                       CGrille3D& translationGrid, const Catalogue& catalogue,
                       ZoneLocation* arrivalLocation) {
    return TransformPoint(
        std::move(source), target, verticalGrid, catalogue,
        [&](CCoor& working, const CSysCoor& to) {
            return ApplyGridTransformation(working, to, translationGrid, catalogue);
        },
        GeographicArrival::MeridianThenUnit, arrivalLocation);
}

void TransformPointsGrid(CCoor* const* sources, CCoor* const* targets, int count,
                         CGrille1D& verticalGrid, CGrille3D& translationGrid,
                         const Catalogue& catalogue, ZoneLocation* const* arrivalLocations,
                         int* statuses) {
    TransformPoints(
        sources, targets, count, verticalGrid, catalogue,
        [&](CCoor* const* points, CCoor* const* to, int n, int* status) {
            // Each point reads the grid at its own position.
            for (int k = 0; k < n; ++k)
                status[k] = ApplyGridTransformation(*points[k], to[k]->sys, translationGrid, catalogue);
        },
        GeographicArrival::MeridianThenUnit, arrivalLocations, statuses);
}
