#include "pages/page_parts.h"

// The field rules of a page, the records built from its fields, and the
// result shown in the arrival fields with its precision sentence.


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
    for (SC field : kResultFields) SideState(TargetSide, field).text.clear();
    if (PageState(PC::InfoLine).text == precisionSentence_) PageState(PC::InfoLine).text = infoBeforeResult_;
    resultShown_ = false;
}

// --- File names --------------------------------------------------------------

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
            SideState(t, SC::X).text = length(target.x);
            SideState(t, SC::Y).text = length(target.y);
            SideState(t, SC::Z).text = length(target.z);
            break;
        case Projected: {
            const int unit = UnitOf(t);
            if (unit != 0) {
                target.convergence =
                    ConvertAngle(target.convergence, target.convergenceUnit, unit);
                target.convergenceUnit = unit;
            }
            SideState(t, SC::E).text = length(target.easting);
            SideState(t, SC::N).text = length(target.northing);
            SideState(t, SC::Altitude).text = length(target.altitude);
            SideState(t, SC::Height).text = length(target.height);
            SideState(t, SC::Alteration).text = Format(kPageAlterationFormat, target.linearAlteration);
            SideState(t, SC::Convergence).text = Format(kPageConvergenceFormat, target.convergence);
            break;
        }
        case Geographic: {
            SideState(t, SC::Height).text = length(target.height);
            SideState(t, SC::Altitude).text = length(target.altitude);
            const int unit = target.unit;
            if (*AngleUnitLabel(unit) == '\0') break;
            west_[t] = target.longitude < 0;
            south_[t] = target.latitude < 0;
            const PageAngleFields lon = FormatPageAngle(target.longitude, unit);
            const PageAngleFields lat = FormatPageAngle(target.latitude, unit);
            if (unit == PackedDms || unit == PackedHms) {
                SideState(t, SC::LonDegrees).text = lon.fields[0];
                SideState(t, SC::LonMinutes).text = lon.fields[1];
                SideState(t, SC::LonSeconds).text = lon.fields[2];
                SideState(t, SC::LatDegrees).text = lat.fields[0];
                SideState(t, SC::LatMinutes).text = lat.fields[1];
                SideState(t, SC::LatSeconds).text = lat.fields[2];
            } else if (unit == PackedDm) {
                SideState(t, SC::LonDegrees).text = lon.fields[0];
                SideState(t, SC::LonDecimalMinutes).text = lon.fields[1];
                SideState(t, SC::LatDegrees).text = lat.fields[0];
                SideState(t, SC::LatDecimalMinutes).text = lat.fields[1];
            } else {
                SideState(t, SC::X).text = lon.fields[0];
                SideState(t, SC::Y).text = lat.fields[0];
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
    if (PageState(PC::InfoLine).text != precisionSentence_) infoBeforeResult_ = PageState(PC::InfoLine).text;
    precisionSentence_ = text;
    PageState(PC::InfoLine).text = text;
}

// --- The compute handler -----------------------------------------------------
