#include "runs/console_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "shared/platform.h"
#include "shared/string_resources.h"
#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/coordinate_system.h"
#include "engine/grid_selection.h"
#include "grids/grid_progress.h"
#include "runs/convention_detection.h"
#include "runs/input_point_file.h"
#include "shared/number_text.h"
#include "runs/output_point_file.h"
#include "runs/point_line_pipeline.h"
#include "runs/point_procedure.h"
#include "runs/result_texts.h"

namespace {

// The departure or arrival record as the run describes it.
CCoor SideOfRun(const ConsoleRunDescription& line, const Catalogue& catalogue,
                          bool source) {
    CCoor point;
    point.type = source ? line.source.type : line.target.type;
    const int unit = source ? line.source.unit : line.target.unit;
    point.unit = unit == 0 ? DecimalDegree : unit;
    ResolveByIds(point.sys, source ? line.source.system : line.target.system,
                 source ? line.source.meridian : line.target.meridian,
                 source ? line.source.projection : line.target.projection, line.verticalSystem,
                 catalogue);
    point.verticalKind = line.verticalKind;
    return point;
}

// The single point's values, in the fields of every type.
void PutSinglePoint(const ConsoleRunDescription& line, CCoor& point) {
    point.x = line.x;
    point.y = line.y;
    point.z = line.z;
    point.longitude = line.lon;
    point.latitude = line.lat;
    point.height = line.he;
    point.easting = line.E;
    point.northing = line.N;
    point.altitude = line.H;
}

// The grids a run works with: the application's, or the run's own.
struct RunGrids {
    CGrille3D ownTranslation;
    GridHeaderCache ownHeaders;
    ConsoleGridProgress progress;  // a grid loaded during the run shows its progress in the console
    GridContext context;
    GridHeaderCache::RunScope headersRun;
    explicit RunGrids(const ConsoleRunEnvironment& e)
        : context{e.catalogue,
                  e.verticalGrid,
                  e.translationGrid ? *e.translationGrid : ownTranslation,
                  e.gridHeaders ? *e.gridHeaders : ownHeaders,
                  e.workingDirectory,
                  &progress},
          headersRun(context.headers) {}
};

std::string CannotOpen(const std::string& name, int error) {
    return LoadString(IDS_CANNOT_OPEN_FILE) + " " + name + " !\n" + FileOpenFailureReason(error);
}

ConsoleRunOutcome RunFile(const ConsoleRunDescription& line, const ConsoleRunEnvironment& environment,
                          std::string& result) {
    const bool standardInput = line.source.file == kStandardStream;
    const bool standardOutput = line.target.file == kStandardStream;
    const std::string inputPath =
        standardInput ? line.source.file : environment.resolvePath(line.source.file);
    const std::string outputPath =
        standardOutput ? line.target.file : environment.resolvePath(line.target.file);
    if (SameRunFile(line.source.file, inputPath, line.target.file, outputPath,
                    environment.pointOutput)) {
        result = LoadString(IDS_SAME_FILES) + " !";
        return ConsoleRunOutcome::Stopped;
    }
    In_Fic input;
    if (standardInput ? !input.OpenStandardInput() : !input.Open(inputPath)) {
        result = CannotOpen(line.source.file, input.OpenError());
        return ConsoleRunOutcome::Stopped;
    }
    Out_Fic output;
    if (standardOutput ? !output.OpenDescriptor(environment.pointOutput, line.target.file)
                       : !output.Open(outputPath)) {
        result = CannotOpen(line.target.file, output.OpenError());
        return ConsoleRunOutcome::Stopped;
    }
    output.dataFormat = line.target.format;
    output.header = line.verbose;
    input.dataFormat = line.source.format;
    if (line.verbose) environment.write(LoadString(IDS_RUN_INITIALISING) + "\n\n");
    const TextConventions conventions = RecogniseInputConventions(input, line.sourceConventions);
    output.SetConventions(OutputConventionsOf(conventions));
    if (line.verbose && conventions != TextConventions{}) {
        environment.write("Fichier de départ : " + ConventionsText(conventions) + "\n\n");
    }

    const Catalogue& catalogue = environment.catalogue;
    const CCoor departureTemplate = SideOfRun(line, catalogue, true);
    const CCoor arrivalTemplate = SideOfRun(line, catalogue, false);
    RunGrids grids(environment);
    PointLineRun lines;
    lines.kind = line.kind;
    lines.departure = departureTemplate;
    lines.arrival = arrivalTemplate;
    lines.texts = ConsoleFailureTexts();
    lines.input = &input;
    lines.output = &output;
    lines.grids = &grids.context;
    lines.threads = RunThreads(line.threads);
    const PointLineCounts counts = RunPointLines(lines);
    if (counts.end == PointLinesEnd::GridNotLoaded) {
        output.Close();
        result = counts.message;
        return ConsoleRunOutcome::Failed;
    }
    // The console counts every point it could not transform as out of zone.
    const long long succeeded = counts.succeeded;
    const long long outOfZone = counts.outOfZone + counts.failed;
    const long long refused = counts.refused;  // lines that are neither points, comments nor blank
    if (input.ReadFailed()) {
        output.Close();
        result = LoadString(IDS_CANNOT_READ_FILE) + " " + line.source.file + " !";
        return ConsoleRunOutcome::Failed;
    }
    if (line.verbose) output.Ecrire_Fin(kResultEnd);
    if (!output.Close()) {
        result = CannotWriteText(line.target.file);
        return ConsoleRunOutcome::Failed;
    }
    if (line.verbose) {
        const std::string dashes(66, '-');
        result = "\n" + dashes + "\n" + LoadString(IDS_RUN_FINISHED) + "\n" + line.source.file +
                 " \n" + line.target.file + "\n\n" + std::to_string(succeeded) + " " +
                 LoadString(IDS_RUN_SUCCEEDED) + "\n" + std::to_string(outOfZone) + " " +
                 LoadString(IDS_RUN_OUT_OF_ZONE) + "\n";
        if (refused > 0) result += RefusedLinesText(refused) + "\n";
        result += dashes + "\n";
        environment.write(result);
        result.clear();
    }
    if (refused == 0) return ConsoleRunOutcome::Finished;
    // Said even without -v: the run went to its end, but not every line of
    // the file became a point.
    if (!line.verbose) {
        result = "\n" + RefusedLinesText(refused) + " dans " + line.source.file +
                 " : voir les lignes ERREUR de " + line.target.file + " !\n";
    }
    return ConsoleRunOutcome::FinishedWithRefusedLines;
}

ConsoleRunOutcome RunSinglePoint(const ConsoleRunDescription& line,
                                 const ConsoleRunEnvironment& environment, std::string& result) {
    if (line.verbose) environment.write(LoadString(IDS_RUN_INITIALISING) + "\n\n");
    CCoor departure = SideOfRun(line, environment.catalogue, true);
    CCoor arrival = SideOfRun(line, environment.catalogue, false);
    PutSinglePoint(line, departure);
    RunGrids grids(environment);
    std::string failure;
    const std::string text = SelectPointGrids(line.kind, departure, arrival, grids.context,
                                              ConsoleFailureTexts(), nullptr, failure);
    if (!failure.empty() || text != kResultOk) {
        // Outside every translation grid there is nothing to compute.
        result = (failure.empty() ? text : failure) + "\n";
        return ConsoleRunOutcome::Failed;
    }
    const int status = ComputePoint(line.kind, departure, arrival, grids.context, true);
    if (status != 0) {
        result = ComputationErrorText(status) + "\n";
        return ConsoleRunOutcome::Failed;
    }
    environment.write(
        SinglePointText(arrival, line.verticalKind, line.verticalSystem != 0, line.verbose));
    return ConsoleRunOutcome::Finished;
}

}  // namespace

bool SameFile(const std::string& first, const std::string& second) {
    if (first == second) return true;
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SameRunFile(const std::string& inputName, const std::string& inputPath,
                 const std::string& outputName, const std::string& outputPath,
                 int pointOutput) {
    const bool standardInput = inputName == kStandardStream;
    const bool standardOutput = outputName == kStandardStream;
    if (standardInput && standardOutput) return false;
    if (!standardInput && !standardOutput) return SameFile(inputPath, outputPath);
    // A standard stream redirected from or to the file of the other side.
    struct stat stream {};
    struct stat file {};
    const int descriptor = standardInput ? STDIN_FILENO : pointOutput;
    if (::fstat(descriptor, &stream) != 0 || !S_ISREG(stream.st_mode)) return false;
    if (::stat((standardInput ? outputPath : inputPath).c_str(), &file) != 0) return false;
    return stream.st_dev == file.st_dev && stream.st_ino == file.st_ino;
}

std::string SinglePointText(const CCoor& arrival, int verticalKind, bool verticalSystemGiven,
                            bool verbose) {
    // Labels of the numbers when verbose, in order; "" for none.
    struct Value {
        const char* label;
        double value;
        int decimals;
    };
    Value values[4];
    int count = 0;
    if (arrival.type == Cartesian) {
        values[count++] = {"X=", arrival.x, 3};
        values[count++] = {"Y=", arrival.y, 3};
        values[count++] = {"Z=", arrival.z, 3};
    } else {
        if (arrival.type == Geographic) {
            values[count++] = {"Lon=", arrival.longitude, 8};
            values[count++] = {"Lat=", arrival.latitude, 8};
        } else {
            values[count++] = {"E=", arrival.easting, 3};
            values[count++] = {"N=", arrival.northing, 3};
        }
        const bool vertical = verticalKind == 1 || verticalKind == 2;
        if (vertical && verticalSystemGiven) {
            values[count++] = {"he=", arrival.height, 3};
            values[count++] = {"alt=", arrival.altitude, 3};
        } else if (verticalKind == 1) {
            values[count++] = {"he=", arrival.height, 3};
        } else if (verticalKind == 2) {
            values[count++] = {"alt=", arrival.altitude, 3};
        }
    }
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        if (verbose) text += values[i].label;
        AppendFixed(text, values[i].value, 0, values[i].decimals);
    }
    if (verbose) text += '\n';
    return text;
}

ConsoleRunOutcome RunConsoleTransformation(const ConsoleRunDescription& run,
                                           const ConsoleRunEnvironment& environment,
                                           std::string& result) {
    return run.mode == kModeFiles ? RunFile(run, environment, result)
                                  : RunSinglePoint(run, environment, result);
}
