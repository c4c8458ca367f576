#include "reports/headers.h"

#include "shared/labels.h"
#include "catalogue/records.h"
#include "engine/coordinate.h"
#include "shared/data_format.h"
#include "shared/number_text.h"
#include "shared/time_stamp.h"

const char* const kReportBanner = "Quorvel / Géodésie / Information géodésique       ";

namespace {

const char* const kReportAddress = "Quorvel, atelier de calcul géodésique, 1 place du Méridien";
const char* const kReportContact =
    "Tél. : +33 0 00 00 00 00 - Fax : +33 0 00 00 00 01 - quorvel.invalid";

const std::string kDashes(80, '-');

// Names of the records a point refers to; "" where the record is absent.
std::string SystemName(const CCoor& p) {
    return p.sys.system ? p.sys.system->name : "";
}
std::string EllipsoidName(const CCoor& p) {
    return p.sys.system && p.sys.system->ellipsoid ? p.sys.system->ellipsoid->name : "";
}
std::string MeridianName(const CCoor& p) {
    return p.sys.meridian ? p.sys.meridian->name : "";
}
std::string ProjectionName(const CCoor& p) {
    return p.sys.projection ? p.sys.projection->name : "";
}
std::string VerticalName(const CCoor& p) {
    return p.sys.vertical ? p.sys.vertical->name : "";
}

void AppendOutputSide(std::string& out, const CCoor& p) {
    out += "*SYSTEME :        " + SystemName(p) + "\n";
    out += std::string("*COORDONNÉES :   ") + CoordTypeLabel(p.type) + "\n";
    if (p.type == Geographic) {
        out += "*ELLIPSOÏDE :     " + EllipsoidName(p) + "\n";
        out += "*MERIDIEN :      " + MeridianName(p) + "\n";
        out += std::string("*UNITÉ :          ") + AngleUnitLabel(p.unit) + "\n";
    } else if (p.type == Projected) {
        out += "*ELLIPSOÏDE :     " + EllipsoidName(p) + "\n";
        out += "*PROJECTION:    " + ProjectionName(p) + "\n";
    }
}

void AppendReportSide(std::string& out, const CCoor& p, int format) {
    out += "Référentiel géodésique : " + SystemName(p) + "\n";
    const CElg* ellipsoid = p.sys.system ? p.sys.system->ellipsoid : nullptr;
    out += "Ellipsoïde             : " + EllipsoidName(p) + "(a= ";
    AppendFixed(out, ellipsoid ? ellipsoid->a : 0.0, 11, 3);
    out += ", e2= ";
    AppendFixed(out, ellipsoid ? ellipsoid->e2 : 0.0, 14, 12);
    out += ")\n";
    if (p.type == Cartesian) {
        out += "Coordonnées cartésiennes en mètres\n";
    } else if (p.type == Geographic) {
        out += "Méridien origine       : " + MeridianName(p) + "\n";
        out += std::string("Coordonnées géographiques en ") + AngleUnitLabel(p.unit);
        if (DataFormatCoordType(format) == Geographic) {
            const bool latitudeFirst = DataFormatLatitudeFirst(format);
            const bool altitude = DataFormatVertical(format) == Altitude;
            out += latitudeFirst ? "(lat, lon, " : "(lon, lat, ";
            out += altitude ? "altitude)" : "hauteur)";
        }
        out += "\n";
    } else if (p.type == Projected) {
        out += "Projection             : " + ProjectionName(p) + "\n";
        out += "Coordonnées planes E, N, ";
        if (DataFormatCoordType(format) == Projected) {
            out +=
                DataFormatVertical(format) == Altitude ? "Altitude en mètres" : "Hauteur en mètres";
        }
        out += "\n";
    }
}

const char* TitleOfFormat(int format) {
    switch (format) {
        case FormatNameXYZ:
            return "*          Nom            X            Y           Z";
        case FormatXYZ:
            return "*     X            Y           Z";
        case FormatNameLonLatAltitude:
            return "*          Nom         Longitude   Latitude    Altitude";
        case FormatNameLatLonAltitude:
            return "*          Nom         Latitude    Longitude   Altitude";
        case FormatNameLonLatHeight:
            return "*          Nom         Longitude    Latitude    Hauteur";
        case FormatNameLatLonHeight:
            return "*          Nom         Latitude     Longitude   Hauteur";
        case FormatLonLatAltitude:
            return "*  Longitude    Latitude    Altitude";
        case FormatLatLonAltitude:
            return "*  Latitude     Longitude   Altitude";
        case FormatLonLatHeight:
            return "*  Longitude     Latitude    Hauteur";
        case FormatLatLonHeight:
            return "*  Latitude      Longitude   Hauteur";
        case FormatNameENAltitude:
            return "*          Nom              E              N             Alt";
        case FormatNameENHeight:
            return "*          Nom              E              N             Hauteur";
        case FormatENAltitude:
            return "*          E              N             Alt";
        case FormatENHeight:
            return "*          E              N             Hauteur";
        default:
            return "";
    }
}

}  // namespace

std::string OutputHeader(const CCoor& departure, const CCoor& arrival, int kind) {
    std::string out = "*" + CurrentTimeStamp() + "\n";
    out += std::string("*Résultat de la transformation de type ") + TransfoKindLabel(kind) +
           " entre :\n";
    AppendOutputSide(out, departure);
    out += "\n";
    AppendOutputSide(out, arrival);
    out += "\n*SYSTEME ALTIMETRIQUE :       " + VerticalName(arrival) + "\n\n";
    return out;
}

std::string ColumnTitles(int outputFormat, const CCoor& arrival, bool linearAlteration) {
    std::string out = TitleOfFormat(outputFormat);
    if (linearAlteration && DataFormatCoordType(outputFormat) == Projected) {
        out += std::string("     Conv(") + AngleUnitLabel(arrival.convergenceUnit) +
               ")  Alt Lin(mm/km)";
    }
    out += "\t\tpréc. plani\t\tpréc alti";
    return out;
}

std::string ReportHeader(const CCoor& departure, const CCoor& arrival,
                         const std::string& inputName, int inputFormat,
                         const std::string& outputName, int outputFormat, int kind) {
    std::string out = std::string(kReportBanner) + CurrentTimeStamp() + "\n";
    out += std::string(kReportAddress) + "\n";
    out += std::string(kReportContact) + "\n\n";
    out += kDashes + "\n";
    out += std::string(" Transformation de type ") + TransfoKindLabel(kind) + "\n";
    out += kDashes + "\n";
    out += "COORDONNÉES INITIALES :  Fichier " + inputName + "\n";
    AppendReportSide(out, departure, inputFormat);
    out += "\n";
    out += "COORDONNÉES FINALES :  Fichier " + outputName + "\n";
    AppendReportSide(out, arrival, outputFormat);
    if (kind == GridKind) {
        out += kDashes + "\n";
        out += "Système altimétrique   : " + VerticalName(arrival) + "\n";
    }
    out += kDashes + "\n";
    return out;
}
