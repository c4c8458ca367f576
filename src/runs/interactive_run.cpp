#include "runs/interactive_run.h"

#include <cstdio>
#include <string>

#include "shared/user_interface.h"
#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/current_grid_loading.h"
#include "engine/grid_selection.h"
#include "engine/transformation_chain.h"
#include "reports/interactive_log.h"
#include "runs/output_point_file.h"
#include "runs/point_procedure.h"

namespace {

constexpr const char* kOutsideTranslationGrid =
    "\nLes coordonnées que vous avez saisies sont hors grille de paramètres de transformation "
    ":\n\n\t%lf°  <=  longitude   <=   %lf°\n\t%lf°  <=  latitude    <=   %lf°\n\n(Vos "
    "coordonnées ont été transformées en degrés décimaux , et\nla longitude est ramenée au "
    "méridien de greenwich si nécessaire)";
constexpr const char* kOutsideGeoidGrid =
    "\nLes coordonnées que vous avez saisies sont hors grille de geoide :\n\n\t%lf°  <=  "
    "longitude   <=   %lf°\n\t%lf°  <=  latitude    <=   %lf°\n\n(Vos coordonnées ont été "
    "transformées en degrés décimaux , et\nla longitude est ramenée au méridien de greenwich si "
    "nécessaire)";

// The limits of a grid's zone (decimal degrees from Greenwich) in a box text.
std::string ZoneLimits(const char* format, const CZone& zone) {
    char text[1024];
    std::snprintf(text, sizeof text, format, zone.southWest.longitude, zone.northEast.longitude,
                  zone.southWest.latitude, zone.northEast.latitude);
    return text;
}

// The warning of a failed extent test, or "".
std::string ExtentWarning(ExtentFailure failure, bool departure) {
    if (failure == ExtentFailure::Projection) {
        return departure ? "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection "
                           "de départ.\n"
                         : "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection "
                           "d'arrivée.\n";
    }
    if (failure == ExtentFailure::System) {
        return departure ? "\nLes coordonnées ne se trouvent pas dans l'emprise du référentiel de "
                           "départ.\n"
                         : "\nLes coordonnées ne se trouvent pas dans l'emprise du référentiel "
                           "d'arrivée.\n";
    }
    return "";
}

// Asks whether to go on with a point outside an extent; true when it is
// inside, or when the user answers Yes.
bool AcceptExtent(const CCoor& point, bool departure, const WindowRunEnvironment& environment) {
    const std::string warning =
        ExtentWarning(TestExtent(point, environment.grids.catalogue), departure);
    if (warning.empty()) return true;
    return environment.ui.AskYesNoWithIcon(warning + "Voulez-vous continuer ?", environment.caption,
                                           UserInterface::QuestionIcon::Error, true);
}

void Log(const CCoor& departure, const CCoor& arrival, int kind,
         const WindowRunEnvironment& environment) {
    Out_Fic* log = environment.log;
    if (log == nullptr || !log->IsOpen()) return;
    log->Write(LogEntry(departure, arrival, kind));
    // Other programs may read the log while this one runs.
    log->Flush();
}

}  // namespace

InteractiveOutcome RunInteractive(int kind, CCoor& departure, CCoor& arrival, CCoor& lastResult,
                                  const WindowRunEnvironment& environment) {
    GridContext& grids = environment.grids;
    UserInterface& ui = environment.ui;
    const std::string& caption = environment.caption;
    CZone zone;
    if (kind == GridKind) {
        const int found = SelectTranslationGrid(grids, departure, arrival.sys, zone);
        if (found == kGridNotFound) {
            ui.ShowPlain(ZoneLimits(kOutsideTranslationGrid, zone), caption);
            return InteractiveOutcome::OutsideGrid;
        }
        if (found == kNoTransformation) {
            // The current grid does not join the two systems: nothing to compute with.
            ui.ShowPlain(ComputationErrorText(found) + "\n", caption);
            return InteractiveOutcome::Failed;
        }
        if (!grids.translationGrid.loaded) {
            const std::string failure =
                LoadCurrentGrid(grids.translationGrid, grids.workingDirectory, grids.progress, &ui);
            if (!failure.empty()) {
                ui.ShowError(failure, caption);
                return InteractiveOutcome::Stopped;
            }
        }
    }
    std::string message;
    const int vertical = SelectVerticalGrid(grids, kind, departure, arrival, zone, message);
    if (vertical == kGridNotFound) {
        ui.ShowPlain(ZoneLimits(kOutsideGeoidGrid, zone), caption);
    } else if (vertical > 0 && !grids.verticalGrid.loaded) {
        const std::string failure =
            LoadCurrentGrid(grids.verticalGrid, grids.workingDirectory, grids.progress, &ui);
        if (!failure.empty()) {
            ui.ShowError(failure, caption);
            return InteractiveOutcome::Stopped;
        }
    }
    if (!AcceptExtent(departure, true, environment)) return InteractiveOutcome::Stopped;

    const int status = ComputePoint(kind, departure, arrival, grids, false);
    if (status != 0) {
        ui.ShowPlain(ComputationErrorText(status) + "\n", caption);
        Log(departure, arrival, kind, environment);
        return InteractiveOutcome::Failed;
    }
    lastResult = arrival;
    if (!AcceptExtent(arrival, false, environment)) return InteractiveOutcome::Stopped;
    Log(departure, arrival, kind, environment);
    return InteractiveOutcome::Computed;
}
