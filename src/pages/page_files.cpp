#include "pages/page_parts.h"

// The files of a page: names and folders, the file dialogs, and the checks
// before a file run.


void CQuorvelPage::SetFileName(PageSide side, const std::string& text) {
    SideState(side, SC::FileName).text = text;
    configuredName_[side] = false;
    // An emptied name forgets the chosen file: the next run takes the folder and the typed name.
    if (text.empty()) path_[side].clear();
}

void CQuorvelPage::Browse(PageSide side) {
    if (context_.ui == nullptr) return;
    FileDialogRequest request;
    request.save = side == TargetSide;
    request.filter = kInputFilter;
    request.defaultExtension = "txt";
    request.initialName = FieldText(side, SC::FileName);
    request.initialFolder = BaseFolder(side);
    request.confirmOverwrite = side == TargetSide;
    const std::optional<std::string> chosen = context_.ui->AskFileName(request);
    if (!chosen) return;
    const std::filesystem::path full(*chosen);
    path_[side] = *chosen;
    SideState(side, SC::FileName).text = full.filename().string();
    folder_[side] = full.parent_path().string() + "/";
    configuredName_[side] = false;
    PageState(PC::InfoLine).text =
        FilesInfo(path_[SourceSide], path_[TargetSide]) + InputConventionsInfo();
    Changed();
}

std::string CQuorvelPage::BaseFolder(PageSide side) const {
    const std::string& folder = folder_[side];
    if (IsAbsolute(folder)) return folder;
    // Only the configuration gives a relative folder.
    if (!folder.empty()) return InFolder(context_.workingDirectory, folder);
    if (!configuredName_[side]) return context_.startDirectory;
    // An output the configuration names without any folder goes where the
    // user can write, never into a read-only installation.
    const bool bareName = FieldText(side, SC::FileName).find('/') == std::string::npos;
    if (side == TargetSide && bareName && !context_.outputDirectory.empty()) {
        return context_.outputDirectory;
    }
    return context_.workingDirectory;
}

std::string CQuorvelPage::ResolvedPath(PageSide side) const {
    return InFolder(BaseFolder(side), FieldText(side, SC::FileName));
}

std::string CQuorvelPage::SavedFolder(PageSide side) const {
    // A name the user typed without a folder is kept with the folder it
    // was taken from, so that it names the same file at the next start.
    const std::string& name = FieldText(side, SC::FileName);
    if (folder_[side].empty() && !configuredName_[side] && !name.empty() && !IsAbsolute(name)) {
        return context_.startDirectory;
    }
    return folder_[side];
}

std::string CQuorvelPage::ReportFolder() const {
    if (IsAbsolute(reportFolder_)) return reportFolder_;
    if (!reportFolder_.empty()) return InFolder(context_.workingDirectory, reportFolder_);
    return context_.outputDirectory.empty() ? context_.workingDirectory : context_.outputDirectory;
}

// --- Showing, hiding, enabling -----------------------------------------------

std::optional<FileRunRequest> CQuorvelPage::PrepareFileRun(const CCoor& source,
                                                           const CCoor& target) {
    UserInterface* ui = context_.ui;
    const std::string& caption = context_.caption;
    auto plain = [&](const std::string& text) {
        if (ui) ui->ShowPlain(text, caption);
    };
    auto error = [&](const std::string& text) {
        if (ui) ui->ShowError(text, caption);
    };
    const char* kEmpty[2] = {"Veuillez saisir un nom de fichier de départ, s'il vous plait !",
                             "Veuillez saisir un nom de fichier d'arrivée s'il vous plait !"};
    for (PageSide side : {SourceSide, TargetSide}) {
        if (FieldText(side, SC::FileName).empty()) {
            plain(kEmpty[side]);
            path_[side].clear();
            Changed();
            return std::nullopt;
        }
        if (path_[side].empty()) {
            path_[side] = ResolvedPath(side);
            PageState(PC::InfoLine).text = FilesInfo(path_[SourceSide], path_[TargetSide]);
        }
    }
    const std::string& input = path_[SourceSide];
    const std::string& output = path_[TargetSide];
    if (!previousOutputPath_.empty() && SameFile(output, previousOutputPath_)) {
        const bool goOn = ui && ui->AskYesNoWithIcon(
                                    "Vous n'avez pas changé le fichier d'arrivée depuis le dernier "
                                    "calcul !\nVoulez-vous continuer ?",
                                    caption, UserInterface::QuestionIcon::Warning, false);
        if (!goOn) return std::nullopt;
    }
    previousOutputPath_ = output;
    if (SameFile(input, output)) {
        error("Impossible de lire et d'écrire dans les mêmes fichiers !");
        return std::nullopt;
    }
    const int inputFormat = DataFormatCode(FieldText(SourceSide, SC::Format));
    if (inputFormat == 0) {
        plain("Veuillez choisir un format de données pour le fichier de départ");
        return std::nullopt;
    }
    // The information line says how the departure file will be read.
    if (const std::string conventions = InputConventionsInfo(); !conventions.empty()) {
        PageState(PC::InfoLine).text = FilesInfo(input, output) + conventions;
    }
    const int outputFormat = DataFormatCode(FieldText(TargetSide, SC::Format));
    if (outputFormat == 0) {
        plain("Veuillez choisir un format de données pour le fichier d'arrivée");
        return std::nullopt;
    }
    FileRunRequest request;
    request.kind = kind_;
    request.alterationFlag = alterationFlag_;
    request.source = source;
    request.target = target;
    request.inputFormat = inputFormat;
    request.inputPath = input;
    request.inputConventions = StatedInputConventions();
    request.outputFormat = outputFormat;
    request.outputPath = output;
    if (ui && ui->AskYesNo(kReportQuestion, caption)) {
        FileDialogRequest dialog;
        dialog.save = true;
        dialog.filter = kReportFilter;
        dialog.defaultExtension = "prt";
        dialog.initialName = reportFile_;
        dialog.initialFolder = ReportFolder();
        dialog.confirmOverwrite = true;
        if (const std::optional<std::string> chosen = ui->AskFileName(dialog)) {
            const std::filesystem::path full(*chosen);
            request.reportPath = *chosen;
            reportFile_ = full.filename().string();
            reportFolder_ = full.parent_path().string() + "/";
            request.report = true;
        }
    }
    if (request.report &&
        (SameFile(request.reportPath, input) || SameFile(request.reportPath, output))) {
        char text[700];
        std::snprintf(text, sizeof text,
                      "Le fichier %s est déjà utilisé, ce n'est pas un fichier rapport !",
                      request.reportPath.c_str());
        error(text);
        return std::nullopt;
    }
    // A named output cannot come from an unnamed input: refused before any file is touched.
    const std::string refusal = LayoutChangeRefusal(inputFormat, outputFormat);
    if (!refusal.empty()) {
        error(refusal);
        return std::nullopt;
    }
    Changed();
    return request;
}
