#include "runs/point_procedure.h"

#include "shared/string_resources.h"
#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/grid_transformation.h"
#include "engine/transformation_chain.h"
#include "engine/validity_zone.h"
#include "geodesy/angle.h"
#include "geodesy/projection.h"
#include "runs/result_texts.h"

ExtentFailure TestExtent(const CCoor& point, const Catalogue& catalogue) {
    if (point.type == Projected && ZoneStatus(point, catalogue.projectionZones) != 2) {
        return ExtentFailure::Projection;
    }
    if (ZoneStatus(point, catalogue.systemZones) == 0) return ExtentFailure::System;
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
    return "Transformation : erreur n° " + std::to_string(status);
}

std::string CannotWriteText(const std::string& fileName) {
    return "Impossible d'écrire dans le fichier " + fileName +
           " (disque plein ou fichier supprimé) : la transformation est interrompue !";
}

std::string SelectPointGrids(int kind, CCoor& departure, CCoor& arrival, GridContext& grids,
                             const PointFailureTexts& texts, UserInterface* ui,
                             std::string& failure) {
    std::string text = kResultOk;
    CZone zone;
    if (kind == GridKind) {
        const int found = SelectTranslationGrid(grids, departure, arrival.sys, zone);
        if (found == kGridNotFound) {
            text = texts.outOfGrid;
        } else if (found == kNoTransformation) {
            text = ComputationErrorText(found);
        } else if (!grids.translationGrid.loaded) {
            failure =
                LoadCurrentGrid(grids.translationGrid, grids.workingDirectory, grids.progress, ui);
        }
    }
    // The vertical selection has a message of its own: the point's text stays.
    std::string message;
    const int vertical = SelectVerticalGrid(grids, kind, departure, arrival, zone, message);
    if (vertical > 0 && !grids.verticalGrid.loaded && failure.empty()) {
        failure = LoadCurrentGrid(grids.verticalGrid, grids.workingDirectory, grids.progress, ui);
    }
    return text;
}

int ComputePoint(int kind, const CCoor& departure, CCoor& arrival, GridContext& grids,
                 bool convergenceInArrivalUnit) {
    const int arrivalUnit = arrival.unit;
    int status = kind == GridKind ? TransformPointGrid(departure, arrival, grids.verticalGrid,
                                                       grids.translationGrid, grids.catalogue)
                                  : TransformPointStandard(departure, arrival, grids.verticalGrid,
                                                           grids.catalogue);
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
    PointResult result;
    std::string failure;
    result.text = SelectPointGrids(kind, departure, arrival, grids, texts, ui, failure);
    if (!failure.empty()) {
        result.outcome = PointOutcome::GridNotLoaded;
        result.text = failure;
        return result;
    }
    const bool selectionFailed = result.text != kResultOk && result.text != texts.outOfGrid;
    const ExtentFailure outside = TestExtent(departure, grids.catalogue);
    if (outside != ExtentFailure::None) result.text = texts.Of(outside, true);
    if (result.text != kResultOk) {
        result.outcome = selectionFailed && outside == ExtentFailure::None
                             ? PointOutcome::ComputationFailed
                             : PointOutcome::OutOfZone;
        return result;
    }
    const int status = ComputePoint(kind, departure, arrival, grids, true);
    result.computed = true;
    if (status != 0) {
        result.outcome = PointOutcome::ComputationFailed;
        result.text = ComputationErrorText(status);
        return result;
    }
    const ExtentFailure arrivalOutside = TestExtent(arrival, grids.catalogue);
    if (arrivalOutside != ExtentFailure::None) {
        result.outcome = PointOutcome::OutOfZone;
        result.text = texts.Of(arrivalOutside, false);
    }
    return result;
}
