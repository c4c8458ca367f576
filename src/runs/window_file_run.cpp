#include "runs/window_file_run.h"

#include <memory>

#include "shared/labels.h"
#include "shared/platform.h"
#include "shared/string_resources.h"
#include "shared/user_interface.h"
#include "engine/grid_selection.h"
#include "reports/interactive_log.h"
#include "shared/data_format.h"
#include "runs/convention_detection.h"
#include "runs/input_point_file.h"
#include "runs/output_point_file.h"
#include "runs/point_line_pipeline.h"
#include "runs/point_procedure.h"
#include "runs/result_texts.h"

namespace {

constexpr const char* kProgressText = "\nTransformation en cours...Patience!";

std::string CannotOpen(const std::string& path, int error) {
    return "Impossible d'ouvrir le fichier " + path + "\n\n" + FileOpenFailureReason(error);
}

std::string Summary(const FileRunRequest& request, const FileRunCounts& counts) {
    // A run the user stopped says so, and that the output ends where it stopped.
    std::string text = std::string(counts.finished ? "Transformation TERMINEE"
                                                   : "Transformation INTERROMPUE") +
                       " entre les fichiers suivants :\n\n" +
                       request.inputPath + " \n" + request.outputPath + "\n\n" +
                       std::to_string(counts.succeeded) + " transformation(s) réussie(s)\n" +
                       std::to_string(counts.failed) + " transformation(s) non réussie(s)\n" +
                       std::to_string(counts.outOfZone) + " transformation(s) hors zone";
    if (counts.refused > 0) {
        text += "\n" + RefusedLinesText(counts.refused) +
                " : voir les lignes ERREUR du fichier d'arrivée";
    }
    if (request.report) text += "\n\nRapport dans le fichier " + request.reportPath;
    if (!counts.finished) {
        text += "\n\nLe fichier d'arrivée ne contient que les points lus avant l'interruption, "
                "sans la ligne de fin.";
    }
    return text;
}

// The progress window's bar, advanced by one step every `step` lines.
class ProgressPacing {
public:
    ProgressPacing(std::unique_ptr<Progress> window, long long step)
        : window_(std::move(window)), step_(step) {
        if (!window_) return;
        window_->SetRange(1, 100);
        window_->SetPos(1);
        window_->SetStep(1);
    }
    // False once the user has pressed the window's cancel button, which is
    // read at each advance of the bar.
    bool Line() {
        if (++count_ < step_) return true;
        count_ = 0;
        if (!window_) return true;
        window_->StepIt();
        return !window_->CheckCancel();
    }
    void Close() { window_.reset(); }

private:
    std::unique_ptr<Progress> window_;
    long long step_;
    long long count_ = 0;
};

}  // namespace

std::string LayoutChangeRefusal(int inputFormat, int outputFormat) {
    if (DataFormatHasName(inputFormat) || !DataFormatHasName(outputFormat)) return "";
    return std::string("ERREUR!!! Il est impossible de passer du type de données ") +
           DataFormatLabel(inputFormat) + "\nau type de données " + DataFormatLabel(outputFormat) +
           ",\n\nOn ne peut pas inventer de noms !";
}

FileRunCounts RunWindowFile(const FileRunRequest& request,
                            const WindowRunEnvironment& environment) {
    UserInterface& ui = environment.ui;
    const std::string& caption = environment.caption;
    FileRunCounts counts;

    // The layout pair is checked before any file is opened, so that a
    // refused run leaves every existing file as it was; the input is opened
    // before the report and the output are created for the same reason.
    const std::string refusal = LayoutChangeRefusal(request.inputFormat, request.outputFormat);
    if (!refusal.empty()) {
        ui.ShowError(refusal, caption);
        return counts;
    }
    In_Fic input(request.inputPath);
    if (!input.IsOpen()) {
        ui.ShowError(CannotOpen(request.inputPath, input.OpenError()), caption);
        return counts;
    }
    Out_Fic report;
    if (request.report && !report.Open(request.reportPath)) {
        ui.ShowError(CannotOpen(request.reportPath, report.OpenError()), caption);
        return counts;
    }
    Out_Fic output(request.outputPath);
    if (!output.IsOpen()) {
        ui.ShowError(CannotOpen(request.outputPath, output.OpenError()), caption);
        return counts;
    }
    output.header = true;
    input.dataFormat = request.inputFormat;
    output.dataFormat = request.outputFormat;
    output.SetConventions(
        OutputConventionsOf(RecogniseInputConventions(input, request.inputConventions)));

    CCoor departureTemplate = request.source;
    CCoor arrivalTemplate = request.target;
    departureTemplate.verticalKind = VerticalKindOfFormat(request.inputFormat);
    arrivalTemplate.verticalKind = VerticalKindOfFormat(request.outputFormat);

    counts.progressStep = input.Compter_Lignes() / 100 + 1;
    ProgressPacing progress(ui.CreateProgress(caption, kProgressText), counts.progressStep);

    Out_Fic* log = environment.log && environment.log->IsOpen() ? environment.log : nullptr;
    const bool logFailedBefore = log && log->WriteFailed();
    PointLineRun lines;
    lines.kind = request.kind;
    lines.departure = departureTemplate;
    lines.arrival = arrivalTemplate;
    lines.texts = WindowFailureTexts();
    lines.linearAlteration = request.alterationFlag;
    lines.input = &input;
    lines.output = &output;
    lines.report = request.report ? &report : nullptr;
    lines.log = log;
    lines.grids = &environment.grids;
    lines.ui = &ui;
    lines.threads = RunThreads(environment.threads);
    lines.lineRead = [&progress] { return progress.Line(); };
    const PointLineCounts lineCounts = RunPointLines(lines);
    counts.succeeded = lineCounts.succeeded;
    counts.failed = lineCounts.failed;
    counts.outOfZone = lineCounts.outOfZone;
    // A line that cannot be read as a point is written as an error line and
    // counted apart, so the summary shows the file was not all read.
    counts.refused = lineCounts.refused;
    std::string stop;  // the message of a failure that ends the run early
    if (lineCounts.end == PointLinesEnd::GridNotLoaded) stop = lineCounts.message;
    if (lineCounts.end == PointLinesEnd::OutputWriteFailed) stop = CannotWriteText(request.outputPath);
    if (lineCounts.end == PointLinesEnd::ReportWriteFailed) stop = CannotWriteText(request.reportPath);
    progress.Close();
    if (stop.empty() && input.ReadFailed()) {
        stop = LoadString(IDS_CANNOT_READ_FILE) + " " + request.inputPath +
               " : la transformation est interrompue !";
    }
    const bool cancelled = stop.empty() && lineCounts.end == PointLinesEnd::Cancelled;
    if (stop.empty()) {
        if (!cancelled) {
            output.Ecrire_Fin(kResultEnd);
            if (request.report) report.Ecrire_Fin(kReportEndText);
        }
        if (!output.Close()) stop = CannotWriteText(request.outputPath);
        if (request.report && !report.Close() && stop.empty()) {
            stop = CannotWriteText(request.reportPath);
        }
    }
    if (log) log->Flush();
    if (!stop.empty()) {
        ui.ShowError(stop, caption);
        return counts;
    }
    counts.finished = !cancelled;
    if (cancelled || counts.refused > 0) {
        ui.ShowWarning(Summary(request, counts), caption);
    } else {
        ui.ShowInformation(Summary(request, counts), caption);
    }
    if (log && log->WriteFailed() && !logFailedBefore) {
        ui.ShowWarning("Impossible d'écrire dans le fichier " + log->FileName() +
                           " (disque plein ou fichier supprimé) : les points transformés n'y "
                           "sont pas tous.",
                       caption);
    }
    return counts;
}
