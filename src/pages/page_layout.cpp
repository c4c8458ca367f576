#include "pages/page_parts.h"

// Which controls a page shows and enables, by coordinate type, angle
// unit, vertical choice and mode.


void CQuorvelPage::Show(PageSide side, std::initializer_list<SideControl> controls, bool visible) {
    for (SC c : controls) SideState(side, c).visible = visible;
}

void CQuorvelPage::Enable(PageSide side, std::initializer_list<SideControl> controls,
                          bool enabled) {
    for (SC c : controls) SideState(side, c).enabled = enabled;
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
        PageState(PC::AlterationCheck).enabled = type == Projected;
    }
}

void CQuorvelPage::LayoutAngles(PageSide side) {
    if (mode_ != 0 || TypeOf(side) != Geographic) return;
    Show(side, kAngleControls, false);
    ControlState* symbols[6] = {&SideState(side, SC::LonDegreesSymbol), &SideState(side, SC::LonMinutesSymbol),
                                &SideState(side, SC::LonSecondsSymbol), &SideState(side, SC::LatDegreesSymbol),
                                &SideState(side, SC::LatMinutesSymbol), &SideState(side, SC::LatSecondsSymbol)};
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
        PageState(c).visible = type != Cartesian;
        PageState(c).enabled = type != Cartesian;
    }
    if (type == Cartesian) {
        Show(s, {SC::XLabel, SC::X, SC::YLabel, SC::Y, SC::ZLabel, SC::Z}, true);
        Show(s, {SC::HeightLabel, SC::Height, SC::AltitudeLabel, SC::Altitude}, false);
        if (!verticals) PageState(PC::VerticalSystem).visible = PageState(PC::VerticalSystemLabel).visible = false;
        PageState(PC::InfoLine).text = "Veuillez saisir les coordonnées cartésiennes du système de départ";
        ApplyVertical(EllipsoidalHeight);
    } else if (type == Geographic) {
        Show(s, {SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup}, true);
        LayoutAngles(s);
        PageState(PC::InfoLine).text = "Veuillez saisir des coordonnées géographiquesdu système de départ";
        const CReg* system = SystemOf(s);
        ApplyVertical(system && system->dimension == 3 ? EllipsoidalHeight : Altitude);
    } else if (type == Projected) {
        Show(s, {SC::ELabel, SC::E, SC::NLabel, SC::N}, true);
        PageState(PC::InfoLine).text =
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
        PageState(PC::InfoLine).text = "Calcul des coordonnées cartésiennes du système d'arrivée";
    } else if (type == Geographic) {
        Show(t, {SC::LonLabel, SC::LatLabel, SC::EastWestGroup, SC::NorthSouthGroup}, true);
        LayoutAngles(t);
        PageState(PC::InfoLine).text = "Calcul des coordonnées géographiques du système d'arrivée";
        const CReg* system = SystemOf(SourceSide);
        ApplyVertical(system && system->dimension == 3 ? EllipsoidalHeight : Altitude);
    } else if (type == Projected) {
        Show(t, {SC::ELabel, SC::E, SC::NLabel, SC::N, SC::ConvergenceLabel, SC::Convergence,
                 SC::AlterationLabel, SC::Alteration, SC::AlterationUnit},
             true);
        PageState(PC::InfoLine).text = "Calcul des coordonnées planes du système d'arrivée en mètres";
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
        PageState(c).visible = false;
    }
    PageState(PC::AltitudeRadio).enabled = false;
}

void CQuorvelPage::EnterInteractiveMode() {
    for (PageSide side : {SourceSide, TargetSide}) {
        Show(side, {SC::FileGroup, SC::FileName, SC::Browse, SC::FormatLabel, SC::Format}, false);
    }
    PageState(PC::AlterationCheck).visible = false;
    PageState(PC::InfoLine).text = kInteractiveInfo;
    LayoutAngles(SourceSide);
    LayoutAngles(TargetSide);
    LayoutSourceByType();
    LayoutTargetByType();
    ApplyTypeEnabling(SourceSide);
    ApplyTypeEnabling(TargetSide);
    PageState(PC::PointName).visible = PageState(PC::PointNameLabel).visible = true;
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
    PageState(PC::AlterationCheck).visible = true;
    PageState(PC::PointName).visible = PageState(PC::PointNameLabel).visible = false;
    for (PC c : {PC::VerticalGroup, PC::NoVerticalRadio, PC::HeightRadio, PC::AltitudeRadio}) {
        PageState(c).visible = false;
    }
    PageState(PC::InfoLine).text = kFileInfo;
    ApplyVerticalAvailability();
}

// --- Fields, records, results ------------------------------------------------
