// Opening a grid: the format from the extension, the format's own header,
// the XML header beside the file, the normalisation and check of the header,
// and then, by mode, the binary cache, the values in memory or nothing more.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "grids/grid.h"
#include "grids/grid_file_name.h"
#include "grids/grid_message.h"
#include "grids/grid_rules.h"
#include "grids/xml_header.h"

namespace {

constexpr size_t kHeaderLineRoom = 259;  // characters read for a header line, line break included

const char* ExtensionOf(int type) {
    switch (type) {
        case GrilleTextePlenar:
            return ".mnt";
        case GrilleBinairePlenar:
            return ".bin";
        case GrilleGravsoft:
            return ".gra";
        case GrilleSurfer:
            return ".grd";
        case GrilleNtv2Little:
        case GrilleNtv2Big:
            return ".gsb";
        case GrilleNtv2Texte:
            return ".gsa";
        case GrilleEsri:
            return ".asc";
        case GrilleEgm:
            return ".egm";
        case GrilleDis:
            return ".dis";
        default:
            return nullptr;
    }
}

bool IsBinaryFormat(int type) {
    return type == GrilleBinairePlenar || type == GrilleNtv2Little || type == GrilleNtv2Big;
}

// The limits and steps that the normalisation changes.
struct Geometry {
    double xMin, xMax, xInc, yInc;
    explicit Geometry(const CGrille& g)
        : xMin(g.X_MIN), xMax(g.X_MAX), xInc(g.X_INC), yInc(g.Y_INC) {}
};

}  // namespace

void CGrille::Type_Selon_Extension() {
    const std::string extension = SplitGridFileName(NAME).extension;
    static const struct {
        const char* lower;
        const char* upper;
        int type;
    } kForms[] = {
        {".mnt", ".MNT", GrilleTextePlenar}, {".bin", ".BIN", GrilleBinairePlenar},
        {".gra", ".GRA", GrilleGravsoft},    {".grd", ".GRD", GrilleSurfer},
        {".gsa", ".GSA", GrilleNtv2Texte},   {".gsb", ".GSB", GrilleNtv2Little},
        {".asc", ".ASC", GrilleEsri},        {".egm", ".EGM", GrilleEgm},
        {".dis", ".DIS", GrilleDis},
    };
    GRID_TYPE = GrilleIndefinie;
    for (const auto& form : kForms) {
        if (extension == form.lower || extension == form.upper) {
            GRID_TYPE = form.type;
            break;
        }
    }
    if (GRID_TYPE == GrilleNtv2Little || GRID_TYPE == GrilleNtv2Big ||
        GRID_TYPE == GrilleNtv2Texte) {
        NODE_COORD_UNIT = INC_UNIT = UniteSecondes;
        EAST_TO_WEST = 1;
        VALUES_UNIT = UniteSecondes;
    } else {
        NODE_COORD_UNIT = INC_UNIT = UniteDegres;
        EAST_TO_WEST = 0;
        VALUES_UNIT = UniteMetres;
    }
}

void CGrille::Extension_Selon_Type() {
    const char* extension = ExtensionOf(GRID_TYPE);
    if (!extension) return;
    NAME = SplitGridFileName(NAME).stem + extension;
}

int CGrille::Lire_EnTete_Format(std::string& message, UserInterface* ui) {
    bigEndian = false;  // only an NTv2 binary file says otherwise
    const std::string cannotOpen = "Impossible d'ouvrir le fichier \n" + NAME;
    if (IsBinaryFormat(GRID_TYPE)) {
        if (!binary_) binary_ = GridBinaryFile::Open(NAME);
        if (!binary_) {
            message = cannotOpen;
            return -1;
        }
    } else {
        if (!text_.file) text_.file = GridTextFile::Open(NAME);
        if (!text_.file) {
            message = cannotOpen;
            return -1;
        }
    }

    switch (GRID_TYPE) {
        case GrilleTextePlenar: {
            std::string line;
            text_.file->ReadLine(line, kHeaderLineRoom);
            if (line.size() >= kHeaderLineRoom) {
                message = GridMessage("%s :\nLa ligne d'en-tête est trop longue (%d char max)",
                                      NAME.c_str(), static_cast<int>(kHeaderLineRoom - 1));
                return -1;
            }
            return Lire_EnTete_Texte(line, message);
        }
        case GrilleBinairePlenar: {
            const int read = Lire_EnTete_Binaire(message, ui);
            if (read == -10) loaded = true;
            return read;
        }
        case GrilleNtv2Little:
        case GrilleNtv2Big: {
            const int read = Lire_EnTete_NTV2_Binaire(message);
            if (read == -10) loaded = true;
            return read;
        }
        case GrilleNtv2Texte:
            return Lire_EnTete_NTV2_Texte(message);
        case GrilleGravsoft:
            return Lire_EnTete_Gravsoft(message);
        case GrilleSurfer:
            return Lire_EnTete_Surfer(message);
        case GrilleEsri:
            return Lire_EnTete_ESRI(message);
        case GrilleEgm:
            return Lire_EnTete_EGM(message);
        case GrilleDis:
            return Lire_EnTete_DIS(message);
        default:
            message = GridMessage("Format de grille non pris en charge : %s\n(%s)",
                                  kGridTypeNames.NameOf(GRID_TYPE), NAME.c_str());
            return -1;
    }
}

namespace {

void Normalise(CGrille& g, bool eastWest, bool steps) {
    if (eastWest && g.EAST_TO_WEST) {
        const double west = -g.X_MAX, east = -g.X_MIN;
        g.X_MIN = west;
        g.X_MAX = east;
    }
    if (steps) {
        g.X_INC = ConvertUnit(g.X_INC, g.INC_UNIT, g.NODE_COORD_UNIT);
        g.Y_INC = ConvertUnit(g.Y_INC, g.INC_UNIT, g.NODE_COORD_UNIT);
    }
    if (g.NODE_COORD_UNIT == UniteDegres && (g.X_MIN > 360 || g.X_MAX > 360)) {
        g.X_MIN -= 360;
        g.X_MAX -= 360;
    }
}

}  // namespace

std::string CGrille::Verifier(bool normalise) {
    if (normalise) Normalise(*this, true, true);

    // The comparisons are written so that a limit or step that is not a
    // number fails them too.
    std::string lines;
    if (LAYOUT < SW2N2E || LAYOUT > SE2W2N)
        lines += GridMessage("+ Type de rangement imprévu : %d\n", LAYOUT);
    if (!(X_MAX > X_MIN)) lines += "+ XMin >= XMax\n";
    if (!(Y_MAX > Y_MIN)) lines += "+ YMin >= YMax\n";
    if (NODE_COORD_UNIT == UniteSecondes || NODE_COORD_UNIT == UniteDegres) {
        const double longitudeBound = NODE_COORD_UNIT == UniteSecondes ? 1296000 : 360;
        const double latitudeBound = NODE_COORD_UNIT == UniteSecondes ? 324000 : 90;
        if (!(std::fabs(X_MIN) <= longitudeBound) || !(std::fabs(X_MAX) <= longitudeBound) ||
            !(std::fabs(Y_MIN) <= latitudeBound) || !(std::fabs(Y_MAX) <= latitudeBound) ||
            X_MIN == X_MAX || Y_MIN == Y_MAX)
            lines += "+ Emprise de la grille non valide\n";
    }
    if (!(X_INC >= 1e-10) || !(Y_INC >= 1e-10)) lines += "+ Pas non valide\n";
    const char* inconsistent =
        "+ Incohérence des limites, pas et nombre de lignes et de colonnes\n";
    if (!(std::fabs(N_COLUMNS - Nearest((X_MAX - X_MIN) / X_INC) - 1) <= 1e-10)) {
        lines += inconsistent;
    } else if (!(std::fabs(N_LINES - Nearest((Y_MAX - Y_MIN) / Y_INC) - 1) <= 1e-10)) {
        lines += inconsistent;
    }
    if (!(std::fabs(X_MAX - X_MIN - (N_COLUMNS - 1.0) * X_INC) <= 1e-5) ||
        !(std::fabs(Y_MAX - Y_MIN - (N_LINES - 1.0) * Y_INC) <= 1e-5))
        lines += "+ Ajustez mieux les limites et les pas de votre grille\n";
    if (VALUES_TYPE == TypeValIndefini) lines += "+ TypeVal non initialisé\n";
    if (INTERPOLATION_TYPE != Bilineaire && INTERPOLATION_TYPE != Spline)
        lines += "+ Le type d'interpolation doit être bilinéaire ou spline\n";
    if (INTERPOLATION_TYPE == Spline && INTERPOLATION_ORDER < 4)
        lines += "+ Pour une interpolation spline, l'ordre doit être >= 4\n";
    // Beyond the documented checks: a grid needs at least one value per node
    // and a value type that gives its size.
    if (VALUES_NUMBER < 1 || VALUES_NUMBER > kMostValuesPerNode)
        lines += GridMessage("+ Nombre de valeurs par noeud non valide : %d\n", VALUES_NUMBER);
    else if (VALUES_TYPE < TypeValIndefini || VALUES_TYPE > Real8)
        lines += GridMessage("+ Type de valeur imprévu : %d\n", VALUES_TYPE);

    if (!lines.empty() && !NAME.empty()) return NAME + " :\n" + lines;
    return lines;
}

bool CGrille::Ouvrir(std::string& message, bool console, int mode, UserInterface* ui) {
    message.clear();
    FermerFichiers();
    if (NAME.empty()) {
        message = "Le nom du fichier de grille n'est pas initialisé";
        return false;
    }
    if (std::FILE* f = std::fopen(NAME.c_str(), "r")) {
        std::fclose(f);
    } else {
        message = "Impossible d'ouvrir le fichier \n" + NAME;
        return false;
    }
    Type_Selon_Extension();
    loaded = false;
    if (GRID_TYPE < GrilleTextePlenar || GRID_TYPE > GrilleDis) {
        message = "TypeGrille non initialisé";
        return false;
    }

    const int read = Lire_EnTete_Format(message, ui);
    if (read != -10) {
        if (read != -1)
            message =
                GridMessage("Problème dans l'en-tête de\n%s (position %d)", NAME.c_str(), read);
        FermerFichiers();
        loaded = false;
        return false;
    }

    // A binary cache holds its limits and steps already normalised: only what
    // the XML header changes of them is normalised again.
    const bool cache = GRID_TYPE == GrilleBinairePlenar;
    const Geometry before(*this);
    const std::string xmlFailure = Lire_Xml(*this, "");
    const bool xmlRead = xmlFailure.empty();
    if (cache) {
        const Geometry after(*this);
        Normalise(*this, after.xMin != before.xMin || after.xMax != before.xMax,
                  after.xInc != before.xInc || after.yInc != before.yInc);
    }
    message = Verifier(!cache);
    if (!message.empty()) {
        // An XML header that is there but cannot be read is named: the
        // check lines alone would send the user to the grid's own header.
        std::error_code ignored;
        if (xmlRead) {
            message += "\n(cf fichier XML le cas échéant)";
        } else if (std::filesystem::exists(XmlHeaderName(NAME), ignored)) {
            message += "\n" + xmlFailure;
        }
        FermerFichiers();
        loaded = false;
        return false;
    }
    // Whatever type the XML header gives, a file read as binary must hold
    // every record its header announces.
    if (IsBinaryFormat(GRID_TYPE) || binary_) {
        message = VerifierTailleBinaire();
        if (!message.empty()) {
            FermerFichiers();
            loaded = false;
            return false;
        }
    }

    if (mode == ModeEnTete) {
        FermerFichiers();
        return true;
    }
    if (!loaded) {
        message = Charger_Valeurs(console, mode, ui);
        if (!message.empty()) {
            FermerFichiers();
            loaded = false;
            return false;
        }
        // The cache now exists: read it like any binary grid, kept open.
        if (mode == ModeSurDisque) return CGrille::Ouvrir(message, console, ModeSurDisque, ui);
    }

    // Values read from the binary file at each query: the work space of the
    // queries is made now rather than at the first one.
    if (binary_ && !binary_->Mapped())
        readScratch_.record.resize(static_cast<size_t>(RecordSize()));
    const size_t order = static_cast<size_t>(INTERPOLATION_ORDER > 4 ? INTERPOLATION_ORDER : 4);
    const size_t n = static_cast<size_t>(VALUES_NUMBER);
    if (order <= 64) WorkSpace(std::max(4 * n, order * order * n + 4 * order));
    return true;
}

void ZoneDeGrille(const CGrille& g, CZone& zone) {
    zone.unit = DecimalDegree;
    zone.southWest.longitude = ConvertUnit(g.X_MIN, g.NODE_COORD_UNIT, UniteDegres);
    zone.southWest.latitude = ConvertUnit(g.Y_MIN, g.NODE_COORD_UNIT, UniteDegres);
    zone.northEast.longitude = ConvertUnit(g.X_MAX, g.NODE_COORD_UNIT, UniteDegres);
    zone.northEast.latitude = ConvertUnit(g.Y_MAX, g.NODE_COORD_UNIT, UniteDegres);
}

bool CGrille1D::Ouvrir(std::string& message, bool console, int mode, UserInterface* ui) {
    const bool opened = CGrille::Ouvrir(message, console, mode, ui);
    ZoneDeGrille(*this, zone);
    return opened;
}

bool CGrille3D::Ouvrir(std::string& message, bool console, int mode, UserInterface* ui) {
    const bool opened = CGrille::Ouvrir(message, console, mode, ui);
    ZoneDeGrille(*this, zone);
    return opened;
}
