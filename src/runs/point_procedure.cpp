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

int ComputePoint(int kind, const CCoor& departure, CCoor& arrival, GridContext& grids,
                 bool convergenceInArrivalUnit, const ZoneLocation* location,
                 ZoneLocation* arrivalLocation) {
    const int arrivalUnit = arrival.unit;
    CCoor source = departure;
    if (location != nullptr && location->unprojected && departure.type == Projected) {
        // What the chain's first conversion would make of the projected
        // departure (ProjectedToGeographic), already found by the extent test.
        source.longitude = location->longitude;
        source.latitude = location->latitude;
        source.unit = Radian;
        source.type = Geographic;
        source.sys.meridian = FindGreenwich(grids.catalogue.meridians);
    }
    int status = kind == GridKind
                     ? TransformPointGrid(std::move(source), arrival, grids.verticalGrid,
                                          grids.translationGrid, grids.catalogue, arrivalLocation)
                     : TransformPointStandard(std::move(source), arrival, grids.verticalGrid,
                                              grids.catalogue, arrivalLocation);
    if (status == 0 && arrival.projectionError) status = kProjectionNotHandled;
    if (status == 0 && convergenceInArrivalUnit) {
        arrival.convergence =
            ConvertAngle(arrival.convergence, arrival.convergenceUnit, arrivalUnit);
        arrival.convergenceUnit = arrivalUnit;
    }
    return status;
}

PointResult TransformFilePoint(int kind, CCoor& departure, CCoor& arrival, GridContext& grids,
                               const PointFailureTexts& texts, UserInterface* ui) {
    std::string failure;
    ZoneLocation location;
    std::string selection =
        SelectPointGrids(kind, departure, arrival, grids, texts, ui, failure, nullptr, &location);
    if (!failure.empty()) {
        PointResult result;
        result.outcome = PointOutcome::GridNotLoaded;
        result.text = failure;
        return result;
    }
    return CompleteFilePoint(kind, departure, arrival, grids, texts, std::move(selection),
                             &location);
}

PointResult CompleteFilePoint(int kind, CCoor& departure, CCoor& arrival, GridContext& grids,
                              const PointFailureTexts& texts, std::string selection,
                              const ZoneLocation* known, const SideZones* departureZones,
                              const SideZones* arrivalZones) {
    PointResult result;
    result.text = std::move(selection);
    const bool selectionFailed = result.text != kResultOk && result.text != texts.outOfGrid;
    const ZoneLocation location = known != nullptr && (known->unprojected || known->converted)
                                      ? *known
                                      : LocationOf(departure);
    const ExtentFailure outside = departureZones != nullptr
                                      ? TestExtent(departure, location, *departureZones)
                                      : TestExtent(departure, location, grids.catalogue);
    if (outside != ExtentFailure::None) result.text = texts.Of(outside, true);
    if (result.text != kResultOk) {
        result.outcome = selectionFailed && outside == ExtentFailure::None
                             ? PointOutcome::ComputationFailed
                             : PointOutcome::OutOfZone;
        return result;
    }
    ZoneLocation arrivalLocation;
    arrivalLocation.unit = -1;  // none until the chain leaves one
    const int status = ComputePoint(kind, departure, arrival, grids, true, &location,
                                    &arrivalLocation);
    result.computed = true;
    if (status != 0) {
        result.outcome = PointOutcome::ComputationFailed;
        result.text = ComputationErrorText(status);
        return result;
    }
    if (arrivalLocation.unit < 0) arrivalLocation = LocationOf(arrival);
    const ExtentFailure arrivalOutside =
        arrivalZones != nullptr ? TestExtent(arrival, arrivalLocation, *arrivalZones)
                                : TestExtent(arrival, arrivalLocation, grids.catalogue);
    if (arrivalOutside != ExtentFailure::None) {
        result.outcome = PointOutcome::OutOfZone;
        result.text = texts.Of(arrivalOutside, false);
    }
    return result;
}
