#pragma once

// What the files of the page model share: the texts of its information line
// and dialogs, the typed fields of each side, and small helpers. Included by
// the page's own files only.

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
#include "pages/quorvel_page.h"

using SC = SideControl;
using PC = PageControl;

inline constexpr const char* kInitialInfo =
    "Veuillez choisir un système de départ, d'arrivée, les types de coordonnées, et projections "
    "si nécessaire ...";
inline constexpr const char* kInteractiveInfo = "Mode Interactif : saisie écran";
inline constexpr const char* kFileInfo =
    "Saisir les systèmes, les projections, les unités et les fichiers de départ et d'arrivée";
inline constexpr const char* kFilesInfo = "Saisir les systèmes et unités.-- Fichiers : de %s vers %s";

// The choices of the departure file's text conventions: recognised from
// its first lines, or the column separator stated.
inline constexpr const char* kConventionChoices[] = {
    "Reconnu à la lecture", "Séparé par des blancs", "Séparé par « ; »", "Séparé par « , »",
    "Séparé par des tabulations"};

inline constexpr const char* kInputFilter =
    "Fichiers texte (*.txt)|*.txt|Fichiers de calcul (*.plh;*.xyz*.plo;*.enh;*.res)|*.plh;*.xyz*."
    "plo;*.enh;*.res|Tous les fichiers (*.*)|*.*||";
inline constexpr const char* kReportFilter =
    "Fichiers de type rapport (*.prt;*.rpt)|*.prt;*.rpt|Fichiers texte (*.txt)|*.txt|Tous les "
    "fichiers (*.*)|*.*||\n";

inline constexpr const char* kReportQuestion =
    "\nSouhaitez vous l'écriture d'un fichier rapport contenant:\n\t-les systèmes,\n\t-les "
    "projections,\n\t-les unités,\n\t-les ellipsoïdes,\n\t-les coordonnées de départ et "
    "d'arrivée  ?\n\n\nAttention!Le temps de calcul en sera environ doublé!";

// The typed fields of the departure side, in the order the exchange checks them.
inline constexpr SC kSourceFields[] = {
    SC::X,          SC::Y,          SC::Z,          SC::E,
    SC::N,          SC::LonDegrees, SC::LonMinutes, SC::LonSeconds,
    SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes, SC::LatSeconds,
    SC::LatDecimalMinutes, SC::Height, SC::Altitude,
};

inline FieldRule RuleOf(SC field) {
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
inline std::string Folded(const std::string& text) {
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

inline std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

inline std::string FilesInfo(const std::string& input, const std::string& output) {
    std::string text = kFilesInfo;
    text.replace(text.find("%s"), 2, input);
    text.replace(text.find("%s"), 2, output);
    return text;
}

inline bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

// `name` taken from `folder`; an empty folder leaves it as it is.
inline std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsAbsolute(name)) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The arrival fields that show a computed point.
inline constexpr SC kResultFields[] = {
    SC::X,          SC::Y,          SC::Z,          SC::E,
    SC::N,          SC::LonDegrees, SC::LonMinutes, SC::LonSeconds,
    SC::LonDecimalMinutes, SC::LatDegrees, SC::LatMinutes, SC::LatSeconds,
    SC::LatDecimalMinutes, SC::Height, SC::Altitude, SC::Convergence,
    SC::Alteration,
};
