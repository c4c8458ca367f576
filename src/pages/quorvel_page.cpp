#include "pages/quorvel_page.h"

#include "pages/page_parts.h"

// The page: its settings, its start, the user actions and "C&alculer".


CQuorvelPage::CQuorvelPage(int kind, PageContext context) : kind_(kind), context_(std::move(context)) {
    PageState(PC::InfoLine).text = kInitialInfo;
    PageState(PC::InfoLine).enabled = true;
    PageState(PC::ConventionsLabel).text = "Texte";
    PageState(PC::Conventions).entries.assign(std::begin(kConventionChoices),
                                              std::end(kConventionChoices));
    PageState(PC::Conventions).text = kConventionChoices[0];
}

SideSettings<std::string> CQuorvelPage::SideSettingsOf(PageSide side) const {
    SideSettings<std::string> s;
    s.system = FieldText(side, SC::System);
    s.type = FieldText(side, SC::Type);
    s.projection = FieldText(side, SC::Projection);
    s.unit = FieldText(side, SC::Unit);
    s.meridian = FieldText(side, SC::Meridian);
    s.file = FieldText(side, SC::FileName);
    s.path = SavedFolder(side);
    s.format = FieldText(side, SC::Format);
    return s;
}

void CQuorvelPage::RestoreSide(PageSide side, const SideSettings<std::string>& s) {
    SideState(side, SC::System).text = s.system;
    SideState(side, SC::Type).text = s.type;
    SideState(side, SC::Projection).text = s.projection;
    SideState(side, SC::Unit).text = s.unit;
    SideState(side, SC::Meridian).text = s.meridian;
    SideState(side, SC::FileName).text = s.file;
    folder_[side] = s.path;
    configuredName_[side] = !s.file.empty();
    SideState(side, SC::Format).text = s.format;
}

PageSettings CQuorvelPage::Settings() const {
    PageSettings s;
    s.mode = mode_;
    s.pointName = State(PC::PointName).text;
    s.reportFile = reportFile_;
    s.reportPath = reportFolder_;
    s.vertical = vertical_;
    s.verticalSystem = State(PC::VerticalSystem).text;
    s.source = SideSettingsOf(SourceSide);
    s.target = SideSettingsOf(TargetSide);
    return s;
}

void CQuorvelPage::Restore(const PageSettings& s) {
    mode_ = s.mode == 1 ? 1 : 0;
    PageState(PC::PointName).text = s.pointName;
    reportFile_ = s.reportFile;
    reportFolder_ = s.reportPath;
    vertical_ = (s.vertical >= 0 && s.vertical <= 2) ? s.vertical : 2;
    PageState(PC::VerticalSystem).text = s.verticalSystem;
    RestoreSide(SourceSide, s.source);
    RestoreSide(TargetSide, s.target);
}

void CQuorvelPage::Initialise() {
    for (PageSide side : {SourceSide, TargetSide}) {
        for (SC field : kSourceFields) {
            if (SideState(side, field).text.empty()) SideState(side, field).text = "0";
        }
        SideState(side, SC::LonDegreesSymbol).text = "°";
        SideState(side, SC::LatDegreesSymbol).text = "°";
    }
    for (SC c : {SC::Convergence, SC::Alteration}) SideState(SourceSide, c).visible = false;
    for (SC c : {SC::ConvergenceLabel, SC::AlterationLabel, SC::AlterationUnit}) {
        SideState(SourceSide, c).visible = false;
    }
    FillSourceSystems();
    if (mode_ == 1) {
        EnterFileMode();
    } else {
        EnterInteractiveMode();
    }
    ready_ = true;
    FillSourceSystems();
    FillVerticalSystems();
    Changed();
}

// --- Looking up the chosen records ------------------------------------------

void CQuorvelPage::SetFieldText(PageSide side, SideControl field, const std::string& text) {
    SideState(side, field).text = text;
    if (ForgetStaleResult()) Changed();
}

void CQuorvelPage::SetPointName(const std::string& text) {
    PageState(PC::PointName).text = text;
    if (ForgetStaleResult()) Changed();
}

void CQuorvelPage::ChooseMode(int mode) {
    mode_ = mode == 1 ? 1 : 0;
    if (mode_ == 0) {
        EnterInteractiveMode();
    } else {
        EnterFileMode();
    }
    Changed();
}

void CQuorvelPage::ChooseVertical(int choice) {
    ApplyVertical(choice);
    Changed();
}

void CQuorvelPage::ChooseWest(PageSide side, bool west) {
    CCoor* last = context_.lastResult;
    if (side == SourceSide || !ready_ || mode_ != 0 || last == nullptr || !resultShown_ ||
        last->type != Geographic || TypeOf(TargetSide) != Geographic) {
        west_[side] = west;
        Changed();
        return;
    }
    const double degrees = ConvertAngle(last->longitude, last->unit, DecimalDegree);
    if (!west && last->longitude <= 0) {
        last->longitude = ConvertAngle(degrees + 360, DecimalDegree, last->unit);
        ShowLastResultAngles();
        west_[side] = false;
    } else if (west && last->longitude >= 0) {
        last->longitude = ConvertAngle(degrees - 360, DecimalDegree, last->unit);
        ShowLastResultAngles();
        west_[side] = true;
    }
    Changed();
}

void CQuorvelPage::ChooseSouth(PageSide side, bool south) {
    south_[side] = south;
    Changed();
}

std::optional<std::pair<PageSide, SideControl>> CQuorvelPage::TakeFocusRequest() {
    auto focus = focus_;
    focus_.reset();
    return focus;
}

void CQuorvelPage::Changed() {
    ForgetStaleResult();
    if (onChanged) onChanged();
}

// --- The shown result and the inputs it was computed from --------------------

bool CQuorvelPage::RefusedForMissingGrid() {
    if (kind_ != GridKind) return false;
    const CReg* departure = SystemOf(SourceSide);
    const CReg* arrival = SystemOf(TargetSide);
    if (departure == nullptr || arrival == nullptr || SameRecord(*departure, *arrival)) return false;
    if (!TranslationGridsBetween(*context_.catalogue, departure->id, arrival->id).empty()) {
        return false;
    }
    // Every point would be out of grid: nothing is read or run.
    if (context_.ui) {
        context_.ui->ShowError(NoGridJoinsText(departure->name, arrival->name), context_.caption);
    }
    return true;
}

void CQuorvelPage::Compute() {
    // A refused computation leaves no result beside the inputs it refused.
    const auto refused = [this] {
        ClearResult();
        Changed();
    };
    if (RefusedForMissingGrid() || (mode_ == 0 && !CheckFields())) return refused();
    CCoor source;
    CCoor target;
    if (!BuildRecords(source, target)) return refused();
    if (mode_ == 0) {
        // The result of these inputs replaces the one shown.
        ClearResult();
        if (context_.runs) context_.runs->RunInteractive(kind_, source, target);
        DisplayResult(target);
        WritePrecisionSentence(source, target);
    } else if (std::optional<FileRunRequest> request = PrepareFileRun(source, target)) {
        if (context_.runs) context_.runs->RunFile(*request);
    } else {
        return refused();
    }
    Changed();
}
