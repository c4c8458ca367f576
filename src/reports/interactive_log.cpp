#include "reports/interactive_log.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "app/labels.h"
#include "catalogue/records.h"
#include "engine/coordinate.h"
#include "runs/number_text.h"
#include "runs/output_point_file.h"
#include "runs/time_stamp.h"

namespace {

// Fixed-point numbers with the precision the entry sets for each quantity.
void AppendLength(std::string& out, double value) {
    AppendFixed(out, value, 0, 4);
}
void AppendAngle(std::string& out, double value) {
    AppendFixed(out, value, 0, 10);
}

// The system name in the heading lines: left-aligned, at least 2 characters.
std::string HeadingName(const CCoor& p) {
    std::string name = p.sys.system ? p.sys.system->name : "";
    if (name.size() < 2) name.append(2 - name.size(), ' ');
    return name;
}

std::string EllipsoidName(const CCoor& p) {
    return p.sys.system && p.sys.system->ellipsoid ? p.sys.system->ellipsoid->name : "";
}

void AppendVertical(std::string& out, const CCoor& p, bool altitudeAndHeight) {
    if (p.verticalKind == 0) {
        out += " aucune info sur la composante verticale ";
        return;
    }
    if (altitudeAndHeight) {
        out += " alt = ";
        AppendLength(out, p.altitude);
        out += " h = ";
        AppendLength(out, p.height);
    } else if (p.verticalKind == 2) {
        out += " alt = ";
        AppendLength(out, p.altitude);
    } else {
        out += " h = ";
        AppendLength(out, p.height);
    }
}

// One side of the entry. `heading` is the system heading of a cartesian or
// projected point; geographic arrivals have a heading of their own.
void AppendSide(std::string& out, const CCoor& p, const char* heading,
                const char* geographicHeading, bool arrival, bool altitudeAndHeight) {
    if (p.type == Cartesian) {
        out += heading + HeadingName(p) + " " + CoordTypeLabel(Cartesian) + "\n";
        out += "x= ";
        AppendLength(out, p.x);
        out += " y= ";
        AppendLength(out, p.y);
        out += " z= ";
        AppendLength(out, p.z);
        out += "\n";
    } else if (p.type == Geographic) {
        out += geographicHeading + HeadingName(p) + " " + CoordTypeLabel(Geographic) + " " +
               AngleUnitLabel(p.unit) + "\n";
        out += "Ellipsoïde  : " + EllipsoidName(p) + "\n";
        out += "Méridien  : " + (p.sys.meridian ? p.sys.meridian->name : std::string()) + "\n";
        out += "lon= ";
        AppendAngle(out, p.longitude);
        out += " lat= ";
        AppendAngle(out, p.latitude);
        AppendVertical(out, p, altitudeAndHeight);
        out += "\n";
    } else if (p.type == Projected) {
        out += heading + HeadingName(p) + " " + CoordTypeLabel(Projected) + "\n";
        out += "Ellipsoïde  : " + EllipsoidName(p) + "\n";
        out +=
            "Projection  : " + (p.sys.projection ? p.sys.projection->name : std::string()) + "\n";
        out += "E= ";
        AppendLength(out, p.easting);
        out += " N= ";
        AppendLength(out, p.northing);
        AppendVertical(out, p, altitudeAndHeight);
        out += "\n";
        if (arrival) {
            out += "Convergence : ";
            AppendFixed(out, p.convergence, 0, 6);
            out +=
                std::string(" (") + AngleUnitLabel(p.convergenceUnit) + ") Altération linéaire : ";
            AppendFixed(out, p.linearAlteration, 0, 1);
            out += " mm/km\n";
        }
    }
}

}  // namespace

void AppendLogEntry(Out_Fic& log, const CCoor& departure, const CCoor& arrival, int kind) {
    std::string out = CurrentTimeStamp() + "\n";
    out += "POINT : " + departure.name + "\tTransformation : " + TransfoKindLabel(kind) + "\n";
    AppendSide(out, departure, "SYSTEME DE DEPART : ", "SYSTEME DE DEPART : ", false, false);
    AppendSide(out, arrival, "SYSTEME DE D'ARRIVEE : ", "SYSTEME D'ARRIVEE : ", true,
               kind == GridKind);
    out += "\n" + std::string(80, '-') + "\n";
    log.Write(out);
}

bool OpenSessionLog(Out_Fic& log, const std::string& folder) {
    const std::string current = folder + kInteractiveLogName;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(current, error);
    if (!error && size > 0) {
        std::filesystem::rename(current, folder + kPreviousInteractiveLogName, error);
        // Opening would empty the entries that could not be set aside.
        if (error) return false;
    }
    return log.Open(current);
}
