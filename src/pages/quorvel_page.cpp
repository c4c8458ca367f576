#include "pages/quorvel_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shared/labels.h"
#include "pages/point_fields.h"
#include "shared/user_interface.h"
#include "runs/console_run.h"
#include "engine/coordinate_operations.h"
#include "engine/coordinate_system.h"
#include "engine/precision.h"
#include "geodesy/angle.h"

namespace {

using SC = SideControl;
using PC = PageControl;

constexpr const char* kInitialInfo =
    "Veuillez choisir un système de départ, d'arrivée, les types de coordonnées, et projections "
    "si nécessaire ...";
constexpr const char* kInteractiveInfo = "Mode Interactif : saisie écran";
constexpr const char* kFileInfo =
    "Saisir les systèmes, les projections, les unités et les fichiers de départ et d'arrivée";
constexpr const char* kFilesInfo = "Saisir les systèmes et unités.-- Fichiers : de %s vers %s";

constexpr const char* kInputFilter =
    "Fichiers texte (*.txt)|*.txt|Fichiers de calcul (*.plh;*.xyz*.plo;*.enh;*.res)|*.plh;*.xyz*."
    "plo;*.enh;*.res|Tous les fichiers (*.*)|*.*||";
constexpr const char* kReportFilter =
    "Fichiers de type rapport (*.prt;*.rpt)|*.prt;*.rpt|Fichiers texte (*.txt)|*.txt|Tous les "
    "fichiers (*.*)|*.*||\n";

constexpr const char* kReportQuestion =
    "\nSouhaitez vous l'écriture d'un fichier rapport contenant:\n\t-les systèmes,\n\t-les "
    "projections,\n\t-les unités,\n\t-les ellipsoïdes,\n\t-les coordonnées de départ et "
    "d'arrivée  ?\n\n\nAttention!Le temps de calcul en sera environ doublé!";

// The typed fields of the departure side, in the order the exchange checks them.
constexpr SC kSourceFields[] = {
    SC::X,          SC::Y,          SC::Z,          SC::E,
    SC::N,          SC::LonDegrees, SC::LonMinutes, SC::LonSeconds,
    SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes, SC::LatSeconds,
    SC::LatDecimalMinutes, SC::Height, SC::Altitude,
};

FieldRule RuleOf(SC field) {
    switch (field) {
        case SC::E:
        case SC::N:
            return FieldRule::DecimalIn(-kProjectedBound, kProjectedBound);
        case SC::LonDegrees:
            return FieldRule::IntegerIn(0, 180);
        case SC::LatDegrees:
            return FieldRule::IntegerIn(0, 90);
        case SC::LonMinutes:
        case SC::LatMinutes:
            return FieldRule::IntegerIn(0, 59);
        case SC::LonSeconds:
        case SC::LatSeconds:
        case SC::LonDecimalMinutes:
        case SC::LatDecimalMinutes:
            return FieldRule::DecimalIn(0, kSecondsMaximum);
        default:
            return FieldRule::AnyDecimal();
    }
}

// Folds one UTF-8 character of the Latin-1 range to its unaccented lower-case
// letter, for the alphabetical order of the lists.
std::string Folded(const std::string& text) {
    static const char* kLatin1Base =
        // U+00C0 to U+00FF
        "aaaaaaaceeeeiiii"
        "dnooooo*ouuuuyts"
        "aaaaaaaceeeeiiii"
        "dnooooo/ouuuuyty";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0xC3 && i + 1 < text.size()) {
            const unsigned char d = static_cast<unsigned char>(text[i + 1]);
            if (d >= 0x80 && d <= 0xBF) {
                out += kLatin1Base[d - 0x80 + 0x00];
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    }
    return out;
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string FilesInfo(const std::string& input, const std::string& output) {
    std::string text = kFilesInfo;
    text.replace(text.find("%s"), 2, input);
    text.replace(text.find("%s"), 2, output);
    return text;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

// `name` taken from `folder`; an empty folder leaves it as it is.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsAbsolute(name)) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The arrival fields that show a computed point.
constexpr SC kResultFields[] = {
    SC::X,          SC::Y,          SC::Z,          SC::E,
    SC::N,          SC::LonDegrees, SC::LonMinutes, SC::LonSeconds,
    SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes, SC::LatSeconds,
    SC::LatDecimalMinutes, SC::Height, SC::Altitude, SC::Convergence,
    SC::Alteration,
};

}  // namespace

bool ListOrder(const std::string& a, const std::string& b) {
    const std::string fa = Folded(a);
    const std::string fb = Folded(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

CQuorvelPage::CQuorvelPage(int kind, PageContext context) : kind_(kind), context_(std::move(context)) {
    C(PC::InfoLine).text = kInitialInfo;
    C(PC::InfoLine).enabled = true;
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
    S(side, SC::System).text = s.system;
    S(side, SC::Type).text = s.type;
    S(side, SC::Projection).text = s.projection;
    S(side, SC::Unit).text = s.unit;
    S(side, SC::Meridian).text = s.meridian;
    S(side, SC::FileName).text = s.file;
    folder_[side] = s.path;
    configuredName_[side] = !s.file.empty();
    S(side, SC::Format).text = s.format;
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
    C(PC::PointName).text = s.pointName;
    reportFile_ = s.reportFile;
    reportFolder_ = s.reportPath;
    vertical_ = (s.vertical >= 0 && s.vertical <= 2) ? s.vertical : 2;
    C(PC::VerticalSystem).text = s.verticalSystem;
    RestoreSide(SourceSide, s.source);
    RestoreSide(TargetSide, s.target);
}

void CQuorvelPage::Initialise() {
    for (PageSide side : {SourceSide, TargetSide}) {
        for (SC field : kSourceFields) {
            if (S(side, field).text.empty()) S(side, field).text = "0";
        }
        S(side, SC::LonDegreesSymbol).text = "°";
        S(side, SC::LatDegreesSymbol).text = "°";
    }
    for (SC c : {SC::Convergence, SC::Alteration}) S(SourceSide, c).visible = false;
    for (SC c : {SC::ConvergenceLabel, SC::AlterationLabel, SC::AlterationUnit}) {
        S(SourceSide, c).visible = false;
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

const CReg* CQuorvelPage::SystemOf(PageSide side) const {
    return FindByName(context_.catalogue->systems, FieldText(side, SC::System));
}

int CQuorvelPage::TypeOf(PageSide side) const { return CoordTypeCode(FieldText(side, SC::Type)); }

int CQuorvelPage::UnitOf(PageSide side) const { return AngleUnitCode(FieldText(side, SC::Unit)); }

const CLgo* CQuorvelPage::MeridianOf(PageSide side) const {
    return FindByName(context_.catalogue->meridians, FieldText(side, SC::Meridian));
}

// --- Lists and their cascade -------------------------------------------------

void CQuorvelPage::Refill(PageSide side, SideControl list, std::vector<std::string> entries,
                          const std::string& select) {
    std::sort(entries.begin(), entries.end(), ListOrder);
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    ControlState& state = S(side, list);
    state.entries = std::move(entries);
    if (std::find(state.entries.begin(), state.entries.end(), select) != state.entries.end()) {
        state.text = select;
    } else {
        state.text = state.entries.empty() ? std::string() : state.entries.front();
    }
}

void CQuorvelPage::FillSourceSystems() {
    const Catalogue& cat = *context_.catalogue;
    std::vector<std::string> names;
    for (const CTsg& t : cat.transformations) {
        if (t.kind != kind_) continue;
        const CReg* ends[2] = {t.source ? t.source : FindById(cat.systems, t.sourceId),
                               t.target ? t.target : FindById(cat.systems, t.targetId)};
        for (const CReg* r : ends) {
            if (r) names.push_back(r->name);
        }
    }
    Refill(SourceSide, SC::System, std::move(names), FieldText(SourceSide, SC::System));
    OnSystemChanged(SourceSide);
}

void CQuorvelPage::FillTargetSystems() {
    const Catalogue& cat = *context_.catalogue;
    std::vector<std::string> names;
    const CReg* source = SystemOf(SourceSide);
    if (source) {
        names.push_back(source->name);
        for (const CTsg& t : cat.transformations) {
            if (t.kind != kind_) continue;
            const CReg* from = t.source ? t.source : FindById(cat.systems, t.sourceId);
            const CReg* to = t.target ? t.target : FindById(cat.systems, t.targetId);
            if (from && to && SameRecord(*from, *source)) names.push_back(to->name);
            if (from && to && SameRecord(*to, *source)) names.push_back(from->name);
        }
    }
    Refill(TargetSide, SC::System, std::move(names), FieldText(TargetSide, SC::System));
    OnSystemChanged(TargetSide);
}

void CQuorvelPage::FillVerticalSystems() {
    const Catalogue& cat = *context_.catalogue;
    std::vector<const CReg*> offered;
    for (PageSide side : {SourceSide, TargetSide}) {
        for (const std::string& name : State(side, SC::System).entries) {
            if (const CReg* r = FindByName(cat.systems, name)) offered.push_back(r);
        }
    }
    std::vector<std::string> names;
    for (const CRea& rea : cat.verticalSystems) {
        for (const CGr1dEntry& grid : cat.verticalGrids) {
            const bool serves = std::find(grid.verticalIds.begin(), grid.verticalIds.end(),
                                          rea.id) != grid.verticalIds.end();
            const bool inList = std::any_of(offered.begin(), offered.end(), [&](const CReg* r) {
                return r->id == grid.systemId;
            });
            if (serves && inList) {
                names.push_back(rea.name);
                break;
            }
        }
    }
    std::sort(names.begin(), names.end(), ListOrder);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    ControlState& list = C(PC::VerticalSystem);
    list.entries = std::move(names);
    if (std::find(list.entries.begin(), list.entries.end(), list.text) == list.entries.end()) {
        list.text = list.entries.empty() ? std::string() : list.entries.front();
    }
    ApplyVerticalAvailability();
}

void CQuorvelPage::FillFormats(PageSide side) {
    const int type = TypeOf(side);
    const CReg* system = SystemOf(side);
    const bool twoDimensional = system && system->dimension == 2;
    std::vector<std::string> layouts;
    const std::span<const char* const> list = FormatListOfType(type);
    for (size_t i = 1; i < list.size(); ++i) {
        const int code = DataFormatCode(list[i]);
        if (twoDimensional && DataFormatHasHeight(code)) continue;
        layouts.push_back(list[i]);
    }
    Refill(side, SC::Format, std::move(layouts), FieldText(side, SC::Format));
}

void CQuorvelPage::OnSystemChanged(PageSide side) {
    const Catalogue& cat = *context_.catalogue;
    const CReg* system = SystemOf(side);

    std::vector<std::string> meridians;
    for (const CLgo& m : cat.meridians) meridians.push_back(m.name);
    const std::string ownMeridian = system && system->meridian ? system->meridian->name : "";
    const std::string previousMeridian = FieldText(side, SC::Meridian);
    Refill(side, SC::Meridian, std::move(meridians), ownMeridian);
    if (side == TargetSide) OnTargetMeridianChanged(previousMeridian);

    std::vector<std::string> units;
    std::vector<int> codes = system ? UnitsOf(cat, system->id) : std::vector<int>{};
    if (codes.empty()) {
        codes = {Radian,       DecimalDegree, Grade,     DecimalHour, SecondOfDegree,
                 SecondOfHour, PackedDms,     PackedHms, PackedDm};
    }
    for (int code : codes) {
        if (*AngleUnitLabel(code)) units.push_back(AngleUnitLabel(code));
    }
    const std::string previousUnit = FieldText(side, SC::Unit);
    Refill(side, SC::Unit, std::move(units), previousUnit);
    OnUnitChanged(side, previousUnit);

    std::vector<std::string> types;
    std::vector<int> typeCodes = system ? CoordTypesOf(cat, system->id) : std::vector<int>{};
    if (typeCodes.empty()) typeCodes = {Cartesian, Geographic, Projected};
    for (int code : typeCodes) {
        if (*CoordTypeLabel(code)) types.push_back(CoordTypeLabel(code));
    }
    Refill(side, SC::Type, std::move(types), FieldText(side, SC::Type));
    OnTypeChanged(side);

    std::vector<std::string> projections;
    if (system) {
        for (const CPrc* p : ProjectionsOf(cat, system->id)) projections.push_back(p->name);
    }
    Refill(side, SC::Projection, std::move(projections), FieldText(side, SC::Projection));

    if (side == SourceSide) FillTargetSystems();
}

void CQuorvelPage::OnTypeChanged(PageSide side) {
    if (mode_ == 0) {
        if (side == SourceSide) {
            LayoutSourceByType();
        } else {
            LayoutTargetByType();
        }
    }
    ApplyTypeEnabling(side);
    FillFormats(side);
}

void CQuorvelPage::OnUnitChanged(PageSide side, const std::string& previous) {
    if (mode_ != 0) return;
    if (side == SourceSide) {
        if (FieldText(side, SC::Unit) != previous) {
            for (SC field : kSourceFields) S(side, field).text = "0";
        }
        LayoutAngles(side);
        return;
    }
    LayoutAngles(side);
    CCoor* last = context_.lastResult;
    // Only a result this page shows is expressed again.
    if (!ready_ || last == nullptr || !resultShown_) return;
    const int unit = UnitOf(TargetSide);
    if (unit == 0) return;
    const int type = TypeOf(TargetSide);
    if (type == Geographic && last->type == Geographic) {
        SetUnit(*last, unit);
        ShowLastResultAngles();
    } else if (type == Projected && last->type == Projected) {
        last->convergence = ConvertAngle(last->convergence, last->convergenceUnit, unit);
        last->convergenceUnit = unit;
        S(TargetSide, SC::Convergence).text = Format(kPageConvergenceFormat, last->convergence);
    }
}

void CQuorvelPage::OnTargetMeridianChanged(const std::string& previous) {
    CCoor* last = context_.lastResult;
    if (!ready_ || mode_ != 0 || last == nullptr || !resultShown_) return;
    if (FieldText(TargetSide, SC::Meridian) == previous) return;
    if (TypeOf(TargetSide) != Geographic || last->type != Geographic) return;
    const CLgo* meridian = MeridianOf(TargetSide);
    if (meridian == nullptr) return;
    const int unit = UnitOf(TargetSide);
    ChangeMeridian(*last, meridian, FindGreenwich(context_.catalogue->meridians));
    if (unit != 0) SetUnit(*last, unit);
    ShowLastResultAngles();
}

void CQuorvelPage::ShowLastResultAngles() {
    CCoor shown = *context_.lastResult;
    DisplayResult(shown);
}

// --- User actions ------------------------------------------------------------

void CQuorvelPage::ChooseList(PageSide side, SideControl list, const std::string& text) {
    ControlState& state = S(side, list);
    if (std::find(state.entries.begin(), state.entries.end(), text) == state.entries.end()) return;
    const std::string previous = state.text;
    state.text = text;
    switch (list) {
        case SC::System:
            OnSystemChanged(side);
            break;
        case SC::Type:
            OnTypeChanged(side);
            break;
        case SC::Unit:
            OnUnitChanged(side, previous);
            break;
        case SC::Meridian:
            if (side == TargetSide) OnTargetMeridianChanged(previous);
            break;
        default:
            break;  // projections and data formats only record the choice
    }
    Changed();
}

void CQuorvelPage::ChooseVerticalSystem(const std::string& text) {
    ControlState& list = C(PC::VerticalSystem);
    if (std::find(list.entries.begin(), list.entries.end(), text) != list.entries.end()) {
        list.text = text;
    }
    Changed();
}

void CQuorvelPage::SetFieldText(PageSide side, SideControl field, const std::string& text) {
    S(side, field).text = text;
    if (ForgetStaleResult()) Changed();
}

void CQuorvelPage::SetPointName(const std::string& text) {
    C(PC::PointName).text = text;
    if (ForgetStaleResult()) Changed();
}

void CQuorvelPage::SetFileName(PageSide side, const std::string& text) {
    S(side, SC::FileName).text = text;
    configuredName_[side] = false;
    // An emptied name forgets the chosen file: the next run takes the folder and the typed name.
    if (text.empty()) path_[side].clear();
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
    S(side, SC::FileName).text = full.filename().string();
    folder_[side] = full.parent_path().string() + "/";
    configuredName_[side] = false;
    C(PC::InfoLine).text = FilesInfo(path_[SourceSide], path_[TargetSide]);
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

std::string CQuorvelPage::InputsKey() const {
    std::string key;
    const auto add = [&key](const std::string& text) {
        key += text;
        key += '\x1f';
    };
    for (SC list : {SC::System, SC::Type, SC::Projection, SC::Unit, SC::Meridian}) {
        add(FieldText(SourceSide, list));
    }
    for (SC field : kSourceFields) add(FieldText(SourceSide, field));
    add(west_[SourceSide] ? "O" : "E");
    add(south_[SourceSide] ? "S" : "N");
    add(std::to_string(vertical_));
    add(State(PC::VerticalSystem).text);
    add(State(PC::PointName).text);
    // The arrival unit and meridian are not here: a change of either
    // expresses the shown result again.
    for (SC list : {SC::System, SC::Type, SC::Projection}) add(FieldText(TargetSide, list));
    return key;
}

bool CQuorvelPage::ForgetStaleResult() {
    if (!resultShown_ || InputsKey() == shownFor_) return false;
    ClearResult();
    return true;
}

void CQuorvelPage::ClearResult() {
    if (!resultShown_) return;
    for (SC field : kResultFields) S(TargetSide, field).text.clear();
    if (C(PC::InfoLine).text == precisionSentence_) C(PC::InfoLine).text = infoBeforeResult_;
    resultShown_ = false;
}

// --- File names --------------------------------------------------------------

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

void CQuorvelPage::Show(PageSide side, std::initializer_list<SideControl> controls, bool visible) {
    for (SC c : controls) S(side, c).visible = visible;
}

void CQuorvelPage::Enable(PageSide side, std::initializer_list<SideControl> controls,
                          bool enabled) {
    for (SC c : controls) S(side, c).enabled = enabled;
}

namespace {
constexpr std::initializer_list<SC> kAngleControls = {
    SC::LonDegrees,       SC::LonMinutes,       SC::LonSeconds,       SC::LonDecimalMinutes,
    SC::LatDegrees,       SC::LatMinutes,       SC::LatSeconds,       SC::LatDecimalMinutes,
    SC::LonDegreesSymbol, SC::LonMinutesSymbol, SC::LonSecondsSymbol, SC::LatDegreesSymbol,
    SC::LatMinutesSymbol, SC::LatSecondsSymbol};
}

void CQuorvelPage::ApplyTypeEnabling(PageSide side) {
    const int type = TypeOf(side);
    const bool geographic = type == Geographic;
    Enable(side, {SC::Projection, SC::ProjectionLabel}, type == Projected);
    Enable(side, {SC::Meridian, SC::MeridianGroup}, geographic);
    if (side == SourceSide) {
        Enable(side, {SC::Unit, SC::UnitLabel}, geographic);
    } else {
        // On the arrival side the unit also expresses the convergence of a projection.
        Enable(side, {SC::Unit, SC::UnitLabel}, type != Cartesian);
        C(PC::AlterationCheck).enabled = type == Projected;
    }
}

void CQuorvelPage::LayoutAngles(PageSide side) {
    if (mode_ != 0 || TypeOf(side) != Geographic) return;
    Show(side, kAngleControls, false);
    ControlState* symbols[6] = {&S(side, SC::LonDegreesSymbol), &S(side, SC::LonMinutesSymbol),
                                &S(side, SC::LonSecondsSymbol), &S(side, SC::LatDegreesSymbol),
                                &S(side, SC::LatMinutesSymbol), &S(side, SC::LatSecondsSymbol)};
    const int unit = UnitOf(side);
    if (unit == PackedDms || unit == PackedHms) {
        const char* marks[3] = {"°", "'", "\""};
        if (unit == PackedHms) {
            marks[0] = "h";
            marks[1] = "mn";
            marks[2] = "s";
        }
        for (int i = 0; i < 3; ++i) symbols[i]->text = symbols[i + 3]->text = marks[i];
        Show(side, {SC::X, SC::Y}, false);
        Show(side, {SC::LonDegrees, SC::LonMinutes, SC::LonSeconds, SC::LatDegrees, SC::LatMinutes,
                    SC::LatSeconds},
             true);
        Show(side, {SC::LonDegreesSymbol, SC::LonMinutesSymbol, SC::LonSecondsSymbol,
                    SC::LatDegreesSymbol, SC::LatMinutesSymbol, SC::LatSecondsSymbol},
             true);
    } else if (unit == PackedDm) {
        symbols[0]->text = symbols[3]->text = "°";
        Show(side, {SC::X, SC::Y}, false);
        Show(side, {SC::LonDegrees, SC::LonDecimalMinutes, SC::LatDegrees, SC::LatDecimalMinutes,
                    SC::LonDegreesSymbol, SC::LatDegreesSymbol},
             true);
    } else {
        Show(side, {SC::X, SC::Y}, true);
    }
}

void CQuorvelPage::LayoutSourceByType() {
    const PageSide s = SourceSide;
    const int type = TypeOf(s);
    Show(s, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z, SC::ELabel, SC::E, SC::NLabel,
             SC::N, SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup},
         false);
    Show(s, kAngleControls, false);
    const bool verticals = !context_.catalogue->verticalSystems.empty();
    for (PC c : {PC::VerticalGroup, PC::NoVerticalRadio, PC::HeightRadio, PC::AltitudeRadio}) {
        C(c).visible = type != Cartesian;
        C(c).enabled = type != Cartesian;
    }
    if (type == Cartesian) {
        Show(s, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z}, true);
        Show(s, {SC::HeightLabel, SC::Height, SC::AltitudeLabel, SC::Altitude}, false);
        if (!verticals) C(PC::VerticalSystem).visible = C(PC::VerticalSystemLabel).visible = false;
        C(PC::InfoLine).text = "Veuillez saisir les coordonnées cartésiennes du système de départ";
        ApplyVertical(EllipsoidalHeight);
    } else if (type == Geographic) {
        Show(s, {SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup}, true);
        LayoutAngles(s);
        C(PC::InfoLine).text = "Veuillez saisir des coordonnées géographiquesdu système de départ";
        const CReg* system = SystemOf(s);
        ApplyVertical(system && system->dimension == 3 ? EllipsoidalHeight : Altitude);
    } else if (type == Projected) {
        Show(s, {SC::ELabel, SC::E, SC::NLabel, SC::N}, true);
        C(PC::InfoLine).text =
            "Veuillez saisir des coordonnées planes du système de départ en mètres";
        ApplyVertical(Altitude);
    }
    ApplyVerticalAvailability();
}

void CQuorvelPage::LayoutTargetByType() {
    const PageSide t = TargetSide;
    const int type = TypeOf(t);
    Show(t, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z, SC::ELabel, SC::E, SC::NLabel,
             SC::N, SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup,
             SC::ConvergenceLabel, SC::Convergence, SC::AlterationLabel, SC::Alteration,
             SC::AlterationUnit},
         false);
    Show(t, kAngleControls, false);
    if (type == Cartesian) {
        Show(t, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z}, true);
        Show(t, {SC::HeightLabel, SC::Height, SC::AltitudeLabel, SC::Altitude}, false);
        C(PC::InfoLine).text = "Calcul des coordonnées cartésiennes du système d'arrivée";
    } else if (type == Geographic) {
        Show(t, {SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup}, true);
        LayoutAngles(t);
        C(PC::InfoLine).text = "Calcul des coordonnées géographiques du système d'arrivée";
        const CReg* system = SystemOf(SourceSide);
        ApplyVertical(system && system->dimension == 3 ? EllipsoidalHeight : Altitude);
    } else if (type == Projected) {
        Show(t, {SC::ELabel, SC::E, SC::NLabel, SC::N, SC::ConvergenceLabel, SC::Convergence,
                 SC::AlterationLabel, SC::Alteration, SC::AlterationUnit},
             true);
        C(PC::InfoLine).text = "Calcul des coordonnées planes du système d'arrivée en mètres";
        ApplyVertical(vertical_);
    }
    ApplyVerticalAvailability();
}

void CQuorvelPage::ApplyVertical(int choice) {
    if (choice == EllipsoidalHeight) {
        const CReg* system = SystemOf(SourceSide);
        if (system == nullptr || system->dimension != 3) {
            // Without a departure system there is nothing to refuse in words.
            if (context_.ui && system != nullptr) {
                char text[512];
                std::snprintf(text, sizeof text,
                              "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le "
                              "système %s.\n",
                              system->name.c_str());
                context_.ui->ShowError(text, context_.caption);
            }
            ApplyVertical(Altitude);
            return;
        }
    }
    vertical_ = (choice >= 0 && choice <= 2) ? choice : Altitude;
    if (mode_ != 0) return;
    const bool sourceCartesian = TypeOf(SourceSide) == Cartesian;
    const bool targetCartesian = TypeOf(TargetSide) == Cartesian;
    if (vertical_ == NoVertical) {
        for (PageSide side : {SourceSide, TargetSide}) {
            Show(side, {SC::HeightLabel, SC::Height, SC::AltitudeLabel, SC::Altitude}, false);
        }
        return;
    }
    if (!sourceCartesian) {
        Show(SourceSide, {SC::HeightLabel, SC::Height}, vertical_ == EllipsoidalHeight);
        Show(SourceSide, {SC::AltitudeLabel, SC::Altitude}, vertical_ == Altitude);
    }
    if (!targetCartesian) {
        Show(TargetSide, {SC::HeightLabel, SC::Height, SC::AltitudeLabel, SC::Altitude}, true);
        const CReg* target = SystemOf(TargetSide);
        Enable(TargetSide, {SC::HeightLabel, SC::Height}, !(target && target->dimension == 2));
    }
}

void CQuorvelPage::ApplyVerticalAvailability() {
    if (!context_.catalogue->verticalSystems.empty()) return;
    for (PC c : {PC::VerticalSystem, PC::VerticalSystemLabel, PC::VerticalGroup,
                 PC::NoVerticalRadio, PC::HeightRadio}) {
        C(c).visible = false;
    }
    C(PC::AltitudeRadio).enabled = false;
}

void CQuorvelPage::EnterInteractiveMode() {
    for (PageSide side : {SourceSide, TargetSide}) {
        Show(side, {SC::FileGroup, SC::FileName, SC::Browse, SC::FormatLabel, SC::Format}, false);
    }
    C(PC::AlterationCheck).visible = false;
    C(PC::InfoLine).text = kInteractiveInfo;
    LayoutAngles(SourceSide);
    LayoutAngles(TargetSide);
    LayoutSourceByType();
    LayoutTargetByType();
    ApplyTypeEnabling(SourceSide);
    ApplyTypeEnabling(TargetSide);
    C(PC::PointName).visible = C(PC::PointNameLabel).visible = true;
}

void CQuorvelPage::EnterFileMode() {
    vertical_ = EllipsoidalHeight;
    FillFormats(SourceSide);
    FillFormats(TargetSide);
    for (PageSide side : {SourceSide, TargetSide}) {
        Show(side, {SC::FileGroup, SC::FileName, SC::Browse, SC::FormatLabel, SC::Format}, true);
        ApplyTypeEnabling(side);
        Show(side, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z, SC::ELabel, SC::E,
                    SC::NLabel, SC::N, SC::LonLabel, SC::LatLabel, SC::EastWestGroup,
                    SC::NorthSouthGroup, SC::HeightLabel, SC::Height, SC::AltitudeLabel,
                    SC::Altitude, SC::ConvergenceLabel, SC::Convergence, SC::AlterationLabel,
                    SC::Alteration, SC::AlterationUnit},
             false);
        Show(side, kAngleControls, false);
    }
    C(PC::AlterationCheck).visible = true;
    C(PC::PointName).visible = C(PC::PointNameLabel).visible = false;
    for (PC c : {PC::VerticalGroup, PC::NoVerticalRadio, PC::HeightRadio, PC::AltitudeRadio}) {
        C(c).visible = false;
    }
    C(PC::InfoLine).text = kFileInfo;
    ApplyVerticalAvailability();
}

// --- Fields, records, results ------------------------------------------------

bool CQuorvelPage::CheckFields() {
    if (mode_ != 0) return true;
    auto refuse = [&](const std::string& message) {
        if (context_.ui) context_.ui->ShowWarning(message, context_.caption);
    };
    if (State(PC::PointName).visible) {
        if (auto message = CheckField(State(PC::PointName).text,
                                      FieldRule::TextOf(kPointNameMaxLength))) {
            refuse(*message);
            focus_.reset();
            return false;
        }
    }
    for (SC field : kSourceFields) {
        const ControlState& state = State(SourceSide, field);
        if (!state.visible) continue;
        if (auto message = CheckField(state.text, RuleOf(field))) {
            refuse(*message);
            focus_ = std::make_pair(SourceSide, field);
            return false;
        }
    }
    return true;
}

double CQuorvelPage::FieldValue(PageSide side, SideControl c) const {
    return ReadDecimal(FieldText(side, c)).value_or(0);
}

int CQuorvelPage::BuildRecords(CCoor& source, CCoor& target) {
    const Catalogue& cat = *context_.catalogue;
    source = CCoor();
    target = CCoor();
    const std::string vertical = State(PC::VerticalSystem).text;
    ResolveByNames(source.sys, FieldText(SourceSide, SC::System),
                   FieldText(SourceSide, SC::Meridian), FieldText(SourceSide, SC::Projection),
                   vertical, cat);
    ResolveByNames(target.sys, FieldText(TargetSide, SC::System),
                   FieldText(TargetSide, SC::Meridian), FieldText(TargetSide, SC::Projection),
                   vertical, cat);
    source.type = TypeOf(SourceSide);
    source.unit = UnitOf(SourceSide);
    target.type = TypeOf(TargetSide);
    target.unit = UnitOf(TargetSide);
    if (source.sys.system == nullptr || target.sys.system == nullptr || source.type == 0 ||
        target.type == 0) {
        // Nothing to compute from: the catalogue offers no system on this page.
        if (context_.ui) {
            context_.ui->ShowPlain(kInitialInfo, context_.caption);
        }
        return 0;
    }
    if (mode_ != 0) return 1;

    const PageSide s = SourceSide;
    if (source.type == Cartesian) {
        source.x = FieldValue(s, SC::X);
        source.y = FieldValue(s, SC::Y);
        source.z = FieldValue(s, SC::Z);
        vertical_ = EllipsoidalHeight;
    } else if (source.type == Geographic) {
        const int unit = source.unit;
        if (unit == PackedDms || unit == PackedHms) {
            source.longitude = JoinPackedDms(
                {false, static_cast<std::int32_t>(FieldValue(s, SC::LonDegrees)),
                 static_cast<std::int32_t>(FieldValue(s, SC::LonMinutes)),
                 FieldValue(s, SC::LonSeconds)});
            source.latitude = JoinPackedDms(
                {false, static_cast<std::int32_t>(FieldValue(s, SC::LatDegrees)),
                 static_cast<std::int32_t>(FieldValue(s, SC::LatMinutes)),
                 FieldValue(s, SC::LatSeconds)});
        } else if (unit == PackedDm) {
            source.longitude =
                JoinPackedDm({false, static_cast<std::int32_t>(FieldValue(s, SC::LonDegrees)),
                              FieldValue(s, SC::LonDecimalMinutes)});
            source.latitude =
                JoinPackedDm({false, static_cast<std::int32_t>(FieldValue(s, SC::LatDegrees)),
                              FieldValue(s, SC::LatDecimalMinutes)});
        } else {
            source.longitude = FieldValue(s, SC::X);
            source.latitude = FieldValue(s, SC::Y);
        }
        const char* refusal = nullptr;
        if (source.longitude < 0) {
            refusal =
                "Ne pas saisir de signe négatif pour la longitude,\nutiliser le radio bouton "
                "\"Ouest\"";
        }
        if (source.latitude < 0) {
            refusal =
                "Ne pas saisir de signe négatif pour la latitude ,\nutiliser le radio bouton "
                "\"Sud\"\nDe plus, en france la latitude est d'environ 45° !";
        }
        if (refusal) {
            if (context_.ui) context_.ui->ShowPlain(refusal, context_.caption);
            return 0;
        }
        if (west_[s]) source.longitude = -source.longitude;
        if (south_[s]) source.latitude = -source.latitude;
    } else if (source.type == Projected) {
        source.easting = FieldValue(s, SC::E);
        source.northing = FieldValue(s, SC::N);
    }
    if (source.type != Cartesian) {
        if (vertical_ == EllipsoidalHeight) {
            source.height = FieldValue(s, SC::Height);
        } else if (vertical_ == Altitude) {
            source.altitude = FieldValue(s, SC::Altitude);
            if (source.type == Geographic) source.height = source.altitude;
        }
    }
    source.name = State(PC::PointName).text;
    source.verticalKind = vertical_;
    target.altitude = source.altitude;
    target.verticalKind = vertical_;
    target.name = source.name;
    return 1;
}

void CQuorvelPage::DisplayResult(CCoor& target) {
    if (!resultShown_) {
        resultShown_ = true;
        shownFor_ = InputsKey();
    }
    const PageSide t = TargetSide;
    const auto length = [](double v) { return Format(kPageLengthFormat, v); };
    switch (target.type) {
        case Cartesian:
            S(t, SC::X).text = length(target.x);
            S(t, SC::Y).text = length(target.y);
            S(t, SC::Z).text = length(target.z);
            break;
        case Projected: {
            const int unit = UnitOf(t);
            if (unit != 0) {
                target.convergence =
                    ConvertAngle(target.convergence, target.convergenceUnit, unit);
                target.convergenceUnit = unit;
            }
            S(t, SC::E).text = length(target.easting);
            S(t, SC::N).text = length(target.northing);
            S(t, SC::Altitude).text = length(target.altitude);
            S(t, SC::Height).text = length(target.height);
            S(t, SC::Alteration).text = Format(kPageAlterationFormat, target.linearAlteration);
            S(t, SC::Convergence).text = Format(kPageConvergenceFormat, target.convergence);
            break;
        }
        case Geographic: {
            S(t, SC::Height).text = length(target.height);
            S(t, SC::Altitude).text = length(target.altitude);
            const int unit = target.unit;
            if (*AngleUnitLabel(unit) == '\0') break;
            west_[t] = target.longitude < 0;
            south_[t] = target.latitude < 0;
            const PageAngleFields lon = FormatPageAngle(target.longitude, unit);
            const PageAngleFields lat = FormatPageAngle(target.latitude, unit);
            if (unit == PackedDms || unit == PackedHms) {
                S(t, SC::LonDegrees).text = lon.fields[0];
                S(t, SC::LonMinutes).text = lon.fields[1];
                S(t, SC::LonSeconds).text = lon.fields[2];
                S(t, SC::LatDegrees).text = lat.fields[0];
                S(t, SC::LatMinutes).text = lat.fields[1];
                S(t, SC::LatSeconds).text = lat.fields[2];
            } else if (unit == PackedDm) {
                S(t, SC::LonDegrees).text = lon.fields[0];
                S(t, SC::LonDecimalMinutes).text = lon.fields[1];
                S(t, SC::LatDegrees).text = lat.fields[0];
                S(t, SC::LatDecimalMinutes).text = lat.fields[1];
            } else {
                S(t, SC::X).text = lon.fields[0];
                S(t, SC::Y).text = lat.fields[0];
            }
            break;
        }
        default:
            break;
    }
}

void CQuorvelPage::WritePrecisionSentence(const CCoor& source, const CCoor& target) {
    char text[700];
    const bool sameSystem = source.sys.system && target.sys.system &&
                            SameRecord(*source.sys.system, *target.sys.system);
    if (sameSystem) {
        std::snprintf(text, sizeof text,
                      "La transformation sans changement de système ne dégrade pas la précision "
                      "des coordonnées en plani. La précision alti est %s .",
                      PrecisionText(target.verticalPrecision).c_str());
    } else {
        std::snprintf(text, sizeof text,
                      "La précision de la transformation est : %s en plani et %s en alti",
                      PrecisionText(target.precision).c_str(),
                      PrecisionText(target.verticalPrecision).c_str());
    }
    if (C(PC::InfoLine).text != precisionSentence_) infoBeforeResult_ = C(PC::InfoLine).text;
    precisionSentence_ = text;
    C(PC::InfoLine).text = text;
}

// --- The compute handler -----------------------------------------------------

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
            C(PC::InfoLine).text = FilesInfo(path_[SourceSide], path_[TargetSide]);
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
