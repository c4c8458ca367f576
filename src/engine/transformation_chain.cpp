#include "engine/transformation_chain.h"

#include <array>
#include <cmath>
#include <utility>

#include "catalogue/standard_transformation.h"
#include "engine/coordinate_operations.h"
#include "grids/grid.h"

namespace {

bool SameSystem(const CReg* a, const CReg* b) {
    if (a == b) return true;
    return a != nullptr && b != nullptr && SameRecord(*a, *b);
}

bool VerticalGridApplies(const CGrille1D& grid, const CReg* system) {
    return grid.loaded && system != nullptr && system->id == grid.zone.systemKey;
}

// N at the working coordinate, which must be geographic; it is left counted
// from Greenwich in decimal degrees. `code` takes the node's precision code
// (unchanged when the grid writes none).
// `failure` takes kUnknownGridValue when the grid, inside its limits, gives
// its unknown value there, kOutsideGrid when it gives nothing (its values
// there only mark the point); it is left as it was otherwise.
double VerticalSeparation(CGrille1D& grid, CCoor& working, const CLgo* greenwich, int& code,
                          int& failure) {
    ToGreenwich(working, greenwich);
    SetUnit(working, DecimalDegree);
    const double point[3] = {working.longitude, working.latitude, 0};
    // Room for every value a node may carry; a vertical grid has one.
    std::array<double, 16> values{};
    if (grid.header.VALUES_NUMBER < 1 || grid.header.VALUES_NUMBER > static_cast<int>(values.size())) return 0;
    const int where = grid.Interpoler(UniteDegres, point, values.data(), code);
    if (where == 2) {
        failure = kOutsideGrid;
        return 0;
    }
    if (where != 0 || UnknownGridValue(grid.header, values[0])) failure = kUnknownGridValue;
    return values[0];
}

// Source side: N at a point whose system the vertical grid covers gives the
// altitude of an ellipsoidal height; the height of an altitude (or of a
// point without vertical value) is then N plus the altitude. `n` stays 0
// where the grid does not apply. Returns the status of the conversion to
// geographic coordinates, 0 where none was needed.
int SourceVertical(CGrille1D& grid, CCoor& working, const CLgo* greenwich, double& n, int& failure) {
    int status = 0;
    if (VerticalGridApplies(grid, working.sys.system)) {
        status = ToGeographic(working, greenwich);
        int code = working.verticalPrecision;
        n = VerticalSeparation(grid, working, greenwich, code, failure);
        if (working.verticalKind == EllipsoidalHeight) working.altitude = working.height - n;
        working.verticalPrecision = code;
    }
    if (working.verticalKind == Altitude) working.height = n + working.altitude;
    if (working.verticalKind == NoVertical) working.height = n;
    return status;
}

// Target side: the geographic working point, now in the target's system,
// takes its altitude or its ellipsoidal height from N where the vertical
// grid covers that system.
void TargetVertical(CGrille1D& grid, CCoor& working, const CReg* targetSystem, const CLgo* greenwich,
                    double& n, int& failure) {
    if (!VerticalGridApplies(grid, targetSystem)) return;
    int code = working.verticalPrecision;
    n = VerticalSeparation(grid, working, greenwich, code, failure);
    if (working.verticalKind == EllipsoidalHeight) working.altitude = working.height - n;
    if (working.verticalKind == Altitude) working.height = working.altitude + n;
    working.verticalPrecision = code;
}

// Where the arrival extent test reads the point, kept from the chain.
void KeepArrivalLocation(CCoor& working, const CCoor& target, const CLgo* greenwich,
                         ZoneLocation* arrivalLocation) {
    if (arrivalLocation == nullptr || working.type != Geographic) return;
    if (target.type == Geographic && IsGreenwich(working.sys.meridian)) {
        // The point before it is expressed in the arrival unit and meridian:
        // the arrival extent test reads it instead of converting the result
        // back (a packed notation costs), which moves the point it tests by
        // no more than the notation's last digit, far below a micrometre.
        *arrivalLocation = {working.longitude, working.latitude, working.unit, false};
    } else if (target.type == Projected || target.type == Cartesian) {
        // The point the projection (or the cartesian conversion) starts
        // from, in radians from Greenwich as both convert it first: the
        // arrival extent test reads it instead of taking the result back.
        ToGreenwich(working, greenwich);
        if (working.unit != Radian) SetUnit(working, Radian);
        *arrivalLocation = {working.longitude, working.latitude, Radian, false};
    }
}

// A geographic target's unit and prime meridian, in the method's order.
void ExpressGeographic(CCoor& working, const CCoor& target, const CLgo* greenwich,
                       GeographicArrival arrival) {
    if (arrival == GeographicArrival::UnitThenMeridian) {
        SetUnit(working, target.unit);
        ChangeMeridian(working, target.sys.meridian, greenwich);
    } else {
        ChangeMeridian(working, target.sys.meridian, greenwich);
        SetUnit(working, target.unit);
    }
}

// The geocentric point moved by the record's similarity into the target's
// system, with the record's precision class.
void MoveIntoSystem(CCoor& coordinate, const CTransfo& transfo, const CSysCoor& target) {
    const Cartesian3 moved = ApplyTransfo(transfo, coordinate.x, coordinate.y, coordinate.z);
    coordinate.x = moved.x;
    coordinate.y = moved.y;
    coordinate.z = moved.z;
    coordinate.precision = transfo.record.precisionClass;
    coordinate.sys.system = target.system;
    coordinate.sys.projection = target.projection;
    coordinate.sys.vertical = target.vertical;
}

}  // namespace

bool UnknownGridValue(const GridHeader& header, double value) {
    if (!std::isfinite(value)) return true;
    return header.VALUE_UNK != 0 && !header.VALUE_UNK_TO_ZERO && value == header.VALUE_UNK;
}

int ApplyStandardTransformation(CCoor& coordinate, const CSysCoor& target,
                                const Catalogue& catalogue) {
    // Without a record the coordinate is left as it was; the record is
    // therefore looked for first, and the coordinate changed in place.
    CTransfo transfo;
    if (coordinate.sys.system == nullptr || target.system == nullptr ||
        !FindTransformation(transfo, catalogue.transformations, *coordinate.sys.system,
                            *target.system, StandardKind))
        return kNoTransformation;
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    int status = 0;
    if (coordinate.type != Cartesian) status = ToCartesian(coordinate, greenwich);
    MoveIntoSystem(coordinate, transfo, target);
    return status;
}

int TransformPoint(CCoor source, CCoor& target, CGrille1D& verticalGrid, const Catalogue& catalogue,
                   const SystemChange& changeSystem, GeographicArrival arrival,
                   ZoneLocation* arrivalLocation) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    int status = 0;
    CCoor working = std::move(source);  // the source is this function's own copy
    double n = 0;
    int verticalFailure = 0;  // the vertical grid gave no value: its status

    // Source side: altitude from an ellipsoidal height, or N for the
    // ellipsoidal height of an altitude.
    status = SourceVertical(verticalGrid, working, greenwich, n, verticalFailure);

    if (!SameSystem(working.sys.system, target.sys.system))
        status = changeSystem(working, target.sys);

    ToGeographic(working, greenwich);

    // Target side.
    TargetVertical(verticalGrid, working, target.sys.system, greenwich, n, verticalFailure);
    KeepArrivalLocation(working, target, greenwich, arrivalLocation);
    switch (target.type) {
        case Cartesian:
            ToCartesian(working, greenwich);
            break;
        case Geographic:
            ExpressGeographic(working, target, greenwich, arrival);
            break;
        case Projected:
            ToProjection(working, target.sys.projection, greenwich);
            break;
        default:
            break;
    }
    target = std::move(working);
    if (status == 0 && verticalFailure != 0) status = verticalFailure;
    return status;
}

int TransformPointStandard(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                           const Catalogue& catalogue, ZoneLocation* arrivalLocation) {
    return TransformPoint(
        std::move(source), target, verticalGrid, catalogue,
        [&catalogue](CCoor& working, const CSysCoor& to) {
            return ApplyStandardTransformation(working, to, catalogue);
        },
        GeographicArrival::UnitThenMeridian, arrivalLocation);
}

namespace {

// The standard change of system of many points, each as
// ApplyStandardTransformation changes it alone: the records first, then the
// points that have one go to cartesian coordinates together.
void ChangeSystemsStandard(CCoor* const* points, CCoor* const* targets, int n,
                           const Catalogue& catalogue, int* status) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    CTransfo transfo[kChainSideBySide];
    bool found[kChainSideBySide];
    CCoor* needCartesian[kChainSideBySide];
    int cartesian[kChainSideBySide];
    int needing = 0;
    for (int k = 0; k < n; ++k) {
        CCoor& w = *points[k];
        const CSysCoor& to = targets[k]->sys;
        found[k] = w.sys.system != nullptr && to.system != nullptr &&
                   FindTransformation(transfo[k], catalogue.transformations, *w.sys.system,
                                      *to.system, StandardKind);
        status[k] = kNoTransformation;  // the coordinate stays as it was
        if (found[k] && w.type != Cartesian) needCartesian[needing++] = &w;
    }
    ToCartesianMany(needCartesian, needing, greenwich, cartesian);
    for (int k = 0, next = 0; k < n; ++k) {
        if (!found[k]) continue;
        int change = 0;
        if (next < needing && needCartesian[next] == points[k]) change = cartesian[next++];
        MoveIntoSystem(*points[k], transfo[k], targets[k]->sys);
        status[k] = change;
    }
}

}  // namespace

void TransformPoints(CCoor* const* sources, CCoor* const* targets, int count,
                     CGrille1D& verticalGrid, const Catalogue& catalogue,
                     const SystemChangeOfMany& changeSystems, GeographicArrival arrival,
                     ZoneLocation* const* arrivalLocations, int* statuses) {
    // TransformPoint's steps, each over every point.
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    for (int first = 0; first < count; first += kChainSideBySide) {
        const int n = count - first < kChainSideBySide ? count - first : kChainSideBySide;
        // The sources are the working points: the chain changes them, then
        // they are moved into the targets.
        CCoor* const* points = sources + first;
        double separation[kChainSideBySide];
        int verticalFailure[kChainSideBySide];  // the vertical grid gave no value: its status
        int status[kChainSideBySide], converted[kChainSideBySide];
        for (int i = 0; i < n; ++i) {
            separation[i] = 0;
            verticalFailure[i] = 0;
            status[i] = 0;
        }
        // Source side: altitude from an ellipsoidal height, or N for the
        // ellipsoidal height of an altitude.
        for (int i = 0; i < n; ++i)
            status[i] = SourceVertical(verticalGrid, *points[i], greenwich, separation[i], verticalFailure[i]);
        // The change of system, of the points whose system is not the target's.
        CCoor* changing[kChainSideBySide];
        CCoor* changingTargets[kChainSideBySide];
        int changed[kChainSideBySide], changeStatus[kChainSideBySide];
        int changes = 0;
        for (int i = 0; i < n; ++i) {
            if (SameSystem(points[i]->sys.system, targets[first + i]->sys.system)) continue;
            changing[changes] = points[i];
            changingTargets[changes] = targets[first + i];
            changed[changes++] = i;
        }
        if (changes > 0) changeSystems(changing, changingTargets, changes, changeStatus);
        for (int k = 0; k < changes; ++k) status[changed[k]] = changeStatus[k];
        ToGeographicMany(points, n, greenwich, converted);
        // Target side.
        for (int i = 0; i < n; ++i) {
            CCoor& w = *points[i];
            const CCoor& target = *targets[first + i];
            TargetVertical(verticalGrid, w, target.sys.system, greenwich, separation[i], verticalFailure[i]);
            KeepArrivalLocation(w, target, greenwich, arrivalLocations[first + i]);
        }
        // The target's type: the projections of points of one projection,
        // and the geocentric conversions, together.
        CCoor* group[kChainSideBySide];
        int groupStatus[kChainSideBySide];
        for (int i = 0; i < n;) {
            const CCoor& target = *targets[first + i];
            if (target.type == Geographic) {
                ExpressGeographic(*points[i], target, greenwich, arrival);
                ++i;
                continue;
            }
            if (target.type != Projected && target.type != Cartesian) {
                ++i;
                continue;
            }
            int end = i;
            int size = 0;
            while (end < n && targets[first + end]->type == target.type &&
                   (target.type == Cartesian ||
                    targets[first + end]->sys.projection == target.sys.projection)) {
                group[size++] = points[end++];
            }
            if (target.type == Cartesian) {
                ToCartesianMany(group, size, greenwich, groupStatus);
            } else {
                ToProjectionMany(group, size, target.sys.projection, greenwich, groupStatus);
            }
            i = end;
        }
        for (int i = 0; i < n; ++i) {
            *targets[first + i] = std::move(*points[i]);
            if (status[i] == 0 && verticalFailure[i] != 0) status[i] = verticalFailure[i];
            statuses[first + i] = status[i];
        }
    }
}

void TransformPointsStandard(CCoor* const* sources, CCoor* const* targets, int count,
                             CGrille1D& verticalGrid, const Catalogue& catalogue,
                             ZoneLocation* const* arrivalLocations, int* statuses) {
    TransformPoints(
        sources, targets, count, verticalGrid, catalogue,
        [&catalogue](CCoor* const* points, CCoor* const* to, int n, int* status) {
            ChangeSystemsStandard(points, to, n, catalogue, status);
        },
        GeographicArrival::UnitThenMeridian, arrivalLocations, statuses);
}
