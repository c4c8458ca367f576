#include "pages/page_parts.h"

// The list cascade of a page: the lists filled from the catalogue, and
// what a choice in one list changes in the others.


bool ListOrder(const std::string& a, const std::string& b) {
    const std::string fa = Folded(a);
    const std::string fb = Folded(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

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
    ControlState& state = SideState(side, list);
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
    ControlState& list = PageState(PC::VerticalSystem);
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
            // Each field back to 0 (assigned as a count and a character: GCC 12
            // reports a false overlap on copying the literal once inlined here).
            for (SC field : kSourceFields) SideState(side, field).text.assign(1, '0');
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
        SideState(TargetSide, SC::Convergence).text = Format(kPageConvergenceFormat, last->convergence);
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
    ControlState& state = SideState(side, list);
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
    ControlState& list = PageState(PC::VerticalSystem);
    if (std::find(list.entries.begin(), list.entries.end(), text) != list.entries.end()) {
        list.text = text;
    }
    Changed();
}
