#include "runs/point_procedure.h"

#include "shared/string_resources.h"
#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/coordinate_operations.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "engine/transformation_chain.h"
#include "engine/validity_zone.h"
#include "geodesy/angle.h"
#include "geodesy/projection.h"
#include "runs/result_texts.h"

ExtentFailure TestExtent(const CCoor& point, const Catalogue& catalogue) {
    return TestExtent(point, LocationOf(point), catalogue);
}

ExtentFailure TestExtent(const CCoor& point, const ZoneLocation& location,
                         const Catalogue& catalogue) {
    if (point.type == Projected && ZoneStatus(point, location, catalogue.projectionZones) != 2) {
        return ExtentFailure::Projection;
    }
    if (ZoneStatus(point, location, catalogue.systemZones) == 0) return ExtentFailure::System;
    return ExtentFailure::None;
}

SideZones ZonesOfSide(const CCoor& side, const Catalogue& catalogue) {
    return {ZonesOfSystem(catalogue.projectionZones, side),
            ZonesOfSystem(catalogue.systemZones, side)};
}

ExtentFailure TestExtent(const CCoor& point, const ZoneLocation& location, const SideZones& zones) {
    // The location is expressed in the zones' unit once for both tests when
    // both lists share it.
    const ZoneLocation expressed = InZoneUnit(point, location, zones.system);
    const ZoneLocation& forProjection =
        zones.projection.unit == zones.system.unit ? expressed : location;
    if (point.type == Projected && ZoneStatus(point, forProjection, zones.projection) != 2) {
        return ExtentFailure::Projection;
    }
    if (ZoneStatus(point, expressed, zones.system) == 0) return ExtentFailure::System;
    return ExtentFailure::None;
}

const std::string& PointFailureTexts::Of(ExtentFailure failure, bool departure) const {
    if (failure == ExtentFailure::Projection) {
        return departure ? outsideSourceProjection : outsideTargetProjection;
    }
    return departure ? outsideSourceSystem : outsideTargetSystem;
}

PointFailureTexts ConsoleFailureTexts() {
    return {LoadString(IDS_RUN_OUT_OF_GRID), LoadString(IDS_RUN_OUTSIDE_SOURCE_PROJECTION),
            LoadString(IDS_RUN_OUTSIDE_SOURCE_SYSTEM),
            LoadString(IDS_RUN_OUTSIDE_TARGET_PROJECTION),
            LoadString(IDS_RUN_OUTSIDE_TARGET_SYSTEM)};
}

PointFailureTexts WindowFailureTexts() {
    // The window's output lines stress the extent failures.
    PointFailureTexts texts = ConsoleFailureTexts();
    for (std::string* text : {&texts.outsideSourceProjection, &texts.outsideSourceSystem,
                              &texts.outsideTargetProjection, &texts.outsideTargetSystem}) {
        *text += " !!!";
    }
    return texts;
}

std::string ComputationErrorText(int status) {
    if (status == kUnknownGridValue)
        return "Transformation : erreur n° " + std::to_string(status) +
               " (valeur inconnue de la grille en ce point)";
    if (status == kOutsideGrid)
        return "Transformation : erreur n° " + std::to_string(status) +
               " (point hors de la grille)";
    return "Transformation : erreur n° " + std::to_string(status);
}

std::string CannotWriteText(const std::string& fileName) {
    return "Impossible d'écrire dans le fichier " + fileName +
           " (disque plein ou fichier supprimé) : la transformation est interrompue !";
}

namespace {

// What the computation reads of the current grids beside their values.
struct CurrentGridsState {
    bool translationLoaded, verticalLoaded;
    int translationSystem, verticalSystem;
    bool operator==(const CurrentGridsState&) const = default;
};

// A geographic departure whose packed angles were converted beforehand,
// given to the grid selection in decimal degrees: the zones of grids are in
// decimal degrees, and every conversion the selection makes goes through them.
void UseConvertedLocation(CCoor& probe, const ZoneLocation& location) {
    probe.longitude = location.longitude;
    probe.latitude = location.latitude;
    probe.unit = location.unit;
}

CurrentGridsState StateOf(const GridContext& grids) {
    return {grids.translationGrid.loaded, grids.verticalGrid.loaded,
            grids.translationGrid.zone.systemKey, grids.verticalGrid.zone.systemKey};
}

}  // namespace

std::string SelectPointGrids(int kind, CCoor& departure, CCoor& arrival, GridContext& grids,
                             const PointFailureTexts& texts, UserInterface* ui,
                             std::string& failure, bool* gridsChanged,
                             ZoneLocation* location) {
    const CurrentGridsState before = StateOf(grids);
    bool loaded = false;  // a grid was (or failed to be) loaded
    std::string text(kResultOk);
    CZone zone;
    if (kind == GridKind) {
        // A projected departure is taken back through its projection once:
        // the grids' zones read it, and so do the extent tests and the chain.
        CCoor probe = departure;
        const ZoneLocation found = location != nullptr && location->unprojected
                                       ? *location
                                       : LocationOf(departure);
        if (found.unprojected) {
            probe.longitude = found.longitude;
            probe.latitude = found.latitude;
            probe.unit = Radian;
            probe.type = Geographic;
            probe.sys.meridian = FindGreenwich(grids.catalogue.meridians);
            if (location != nullptr) *location = found;
        }
        if (location != nullptr && location->converted) UseConvertedLocation(probe, *location);
        const int selected = SelectTranslationGrid(grids, std::move(probe), arrival.sys, zone);
        if (selected == kGridNotFound) {
            text = texts.outOfGrid;
        } else if (selected == kNoTransformation) {
            text = ComputationErrorText(selected);
        } else if (!grids.translationGrid.loaded) {
            failure =
                LoadCurrentGrid(grids.translationGrid, grids.workingDirectory, grids.progress, ui);
            loaded = true;
        }
    }
    // The vertical selection has a message of its own: the point's text stays.
    std::string message;
    int vertical = 0;
    if (location != nullptr && location->converted) {
        // The selection reads the angles already converted; the departure
        // keeps its own and takes the precision the selection gives it.
        CCoor probe = departure;
        UseConvertedLocation(probe, *location);
        vertical = SelectVerticalGrid(grids, kind, probe, arrival, zone, message);
        departure.verticalPrecision = probe.verticalPrecision;
    } else {
        vertical = SelectVerticalGrid(grids, kind, departure, arrival, zone, message);
    }
    if (vertical > 0 && !grids.verticalGrid.loaded && failure.empty()) {
        failure = LoadCurrentGrid(grids.verticalGrid, grids.workingDirectory, grids.progress, ui);
        loaded = true;
    }
    if (gridsChanged != nullptr) *gridsChanged = loaded || !(StateOf(grids) == before);
    return text;
}

namespace {

// The source the chain starts from: the departure, or, for a projected one
// whose location its inverse projection gave, what the chain's first
// conversion would make of it (ProjectedToGeographic).
CCoor ComputationSource(const CCoor& departure, const ZoneLocation* location,
                        const Catalogue& catalogue) {
    CCoor source = departure;
    if (location != nullptr && location->unprojected && departure.type == Projected) {
        source.longitude = location->longitude;
        source.latitude = location->latitude;
        source.unit = Radian;
        source.type = Geographic;
        source.sys.meridian = FindGreenwich(catalogue.meridians);
    }
    return source;
}

// The chain's status as the computation gives it: an arrival projection
// that is not handled fails; a computed convergence in the arrival unit.
int FinishComputation(int status, CCoor& arrival, int arrivalUnit, bool convergenceInArrivalUnit) {
    if (status == 0 && arrival.projectionError) status = kProjectionNotHandled;
    if (status == 0 && convergenceInArrivalUnit) {
        arrival.convergence =
            ConvertAngle(arrival.convergence, arrival.convergenceUnit, arrivalUnit);
        arrival.convergenceUnit = arrivalUnit;
    }
    return status;
}

// The part of a file point before its computation: the selection's
// text, the departure extent tests. True when the point is to be computed,
// `location` then holding its location; otherwise `result` is the point's.
bool BeginFilePoint(const CCoor& departure, GridContext& grids, const PointFailureTexts& texts,
                    std::string selection, const ZoneLocation* known,
                    const SideZones* departureZones, PointResult& result,
                    ZoneLocation& location) {
    result.text = std::move(selection);
    const bool selectionFailed = result.text != kResultOk && result.text != texts.outOfGrid;
    location = known != nullptr && (known->unprojected || known->converted) ? *known
                                                                             : LocationOf(departure);
    const ExtentFailure outside = departureZones != nullptr
                                      ? TestExtent(departure, location, *departureZones)
                                      : TestExtent(departure, location, grids.catalogue);
    if (outside != ExtentFailure::None) result.text = texts.Of(outside, true);
    if (result.text != kResultOk) {
        result.outcome = selectionFailed && outside == ExtentFailure::None
                             ? PointOutcome::ComputationFailed
                             : PointOutcome::OutOfZone;
        return false;
    }
    return true;
}

// The part after the computation: its status, the arrival extent tests.
void EndFilePoint(int status, const CCoor& arrival, ZoneLocation arrivalLocation,
                  GridContext& grids, const PointFailureTexts& texts,
                  const SideZones* arrivalZones, PointResult& result) {
    result.computed = true;
    if (status != 0) {
        result.outcome = PointOutcome::ComputationFailed;
        result.text = ComputationErrorText(status);
        return;
    }
    if (arrivalLocation.unit < 0) arrivalLocation = LocationOf(arrival);
    const ExtentFailure arrivalOutside =
        arrivalZones != nullptr ? TestExtent(arrival, arrivalLocation, *arrivalZones)
                                : TestExtent(arrival, arrivalLocation, grids.catalogue);
    if (arrivalOutside != ExtentFailure::None) {
        result.outcome = PointOutcome::OutOfZone;
        result.text = texts.Of(arrivalOutside, false);
    }
}

}  // namespace

int ComputePoint(int kind, const CCoor& departure, CCoor& arrival, GridContext& grids,
                 bool convergenceInArrivalUnit, const ZoneLocation* location,
                 ZoneLocation* arrivalLocation) {
    const int arrivalUnit = arrival.unit;
    CCoor source = ComputationSource(departure, location, grids.catalogue);
    const int status =
        kind == GridKind
            ? TransformPointGrid(std::move(source), arrival, grids.verticalGrid,
                                 grids.translationGrid, grids.catalogue, arrivalLocation)
            : TransformPointStandard(std::move(source), arrival, grids.verticalGrid,
                                     grids.catalogue, arrivalLocation);
    return FinishComputation(status, arrival, arrivalUnit, convergenceInArrivalUnit);
}

void CompleteFilePoints(int kind, FilePointOfBatch* points, int count, GridContext& grids,
                        const PointFailureTexts& texts, const SideZones* departureZones,
                        const SideZones* arrivalZones, std::vector<CCoor>& sources) {
    // The chains of the points that pass their departure tests, side by side.
    constexpr int kSideBySide = kChainSideBySide;
    if (sources.size() < kSideBySide) sources.resize(kSideBySide);
    for (int first = 0; first < count; first += kSideBySide) {
        const int n = count - first < kSideBySide ? count - first : kSideBySide;
        CCoor* sourceOf[kSideBySide];
        CCoor* arrivalOf[kSideBySide];
        ZoneLocation locations[kSideBySide], arrivalLocations[kSideBySide];
        ZoneLocation* arrivalLocationOf[kSideBySide];
        int arrivalUnits[kSideBySide], statuses[kSideBySide], which[kSideBySide];
        int computed = 0;
        for (int i = 0; i < n; ++i) {
            FilePointOfBatch& p = points[first + i];
            if (!BeginFilePoint(*p.departure, grids, texts, std::move(p.selection), p.known,
                                departureZones, p.result, locations[computed]))
                continue;
            sources[computed] = ComputationSource(*p.departure, &locations[computed], grids.catalogue);
            sourceOf[computed] = &sources[computed];
            arrivalOf[computed] = p.arrival;
            arrivalLocations[computed].unit = -1;  // none until the chain leaves one
            arrivalLocationOf[computed] = &arrivalLocations[computed];
            arrivalUnits[computed] = p.arrival->unit;
            which[computed++] = first + i;
        }
        if (kind == GridKind) {
            TransformPointsGrid(sourceOf, arrivalOf, computed, grids.verticalGrid,
                                grids.translationGrid, grids.catalogue, arrivalLocationOf,
                                statuses);
        } else {
            TransformPointsStandard(sourceOf, arrivalOf, computed, grids.verticalGrid,
                                    grids.catalogue, arrivalLocationOf, statuses);
        }
        for (int k = 0; k < computed; ++k) {
            FilePointOfBatch& p = points[which[k]];
            const int status = FinishComputation(statuses[k], *p.arrival, arrivalUnits[k], true);
            EndFilePoint(status, *p.arrival, arrivalLocations[k], grids, texts, arrivalZones,
                         p.result);
        }
    }
}
