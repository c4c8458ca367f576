#include "batch/command_line.h"

#include <charconv>
#include <span>

#include "shared/labels.h"
#include "shared/string_resources.h"
#include "catalogue/catalogue.h"
#include "shared/codes.h"
#include "catalogue/standard_transformation.h"
#include "shared/number_text.h"

namespace {

struct FlagEntry {
    const char* name;
    int code;
};

// In the order they are compared.
constexpr FlagEntry kFlags[] = {
    {"?", FlagHelp},
    {"init", FlagInit},
    {"v", FlagVerbose},
    {"type", FlagType},
    {"mode", FlagMode},
    {"sys1", FlagSys1},
    {"sys2", FlagSys2},
    {"alt", FlagAlt},
    {"typcoor1", FlagTypcoor1},
    {"typcoor2", FlagTypcoor2},
    {"f1", FlagF1},
    {"f2", FlagF2},
    {"x", FlagX},
    {"y", FlagY},
    {"z", FlagZ},
    {"lon", FlagLon},
    {"lat", FlagLat},
    {"he", FlagHe},
    {"E", FlagE},
    {"N", FlagN},
    {"H", FlagH},
    {"sep1", FlagSep1},
    {"dec1", FlagDec1},
    {"titre1", FlagTitre1},
    {"enc1", FlagEnc1},
    {"threads", FlagThreads},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr const char* kNotANumber = "n'est pas un nombre";
constexpr const char* kNotAnInteger = "n'est pas un nombre entier";
constexpr const char* kNotAFormat =
    "n'est pas un numéro de format du type de coordonnées choisi";
constexpr const char* kNotASeparator =
    "n'est pas un séparateur de colonnes (\";\", \",\", tab ou blancs)";
constexpr const char* kNotAMark = "n'est pas une marque décimale (\".\" ou \",\")";
constexpr const char* kNotAYesNo = "n'est ni oui ni non";
constexpr const char* kNotAnEncoding = "n'est pas un codage (latin1, utf8 ou utf8bom)";

// Remembers the first value that its flag could not take.
void Refuse(CQuorvelCommandLine& line, std::string_view value, const char* reason) {
    if (line.refusedFlag != FlagNone) return;
    line.refusedFlag = line.currentFlag;
    line.refusedValue = std::string(value);
    line.refusedReason = reason;
}

// The integer of a value, or 0 when the value is refused.
int ReadInteger(CQuorvelCommandLine& line, std::string_view text) {
    int value = 0;
    if (!ReadCommandLineInteger(text, value)) {
        Refuse(line, text, kNotAnInteger);
        return 0;
    }
    return value;
}

// The real of a coordinate value, or 0 when the value is refused; a value
// received marks its flag as given.
double ReadReal(CQuorvelCommandLine& line, std::string_view text) {
    line.coordinatesGiven |= 1u << line.currentFlag;
    double value = 0;
    if (!ReadCommandLineReal(text, value)) {
        Refuse(line, text, kNotANumber);
        return 0;
    }
    return value;
}

// The coordinate-type fields of one side, filled value by value.
void AcceptTypcoor(int value, int& type, int& unit, int& meridian, int& projection) {
    if (type == 0) {
        type = value;
    } else if (type == 2) {
        if (unit == 0) {
            unit = value;
        } else if (meridian == 0) {
            meridian = value;
        }
    } else if (type == 3) {
        if (projection == 0) projection = value;
    }
}

// The first value selects the layout in the side type's list, later ones
// name the file.
void AcceptFormat(CQuorvelCommandLine& line, std::string_view value, int type, int& format,
                  std::string& file) {
    if (format != 0) {
        file = std::string(value);
        return;
    }
    if (type < 1 || type > 3) return;
    const std::span<const char* const> list = FormatListOfType(type);
    int number = 0;
    if (!ReadCommandLineInteger(value, number)) {
        Refuse(line, value, kNotAnInteger);
        return;
    }
    if (number >= 1 && static_cast<std::size_t>(number) < list.size()) {
        format = DataFormatCode(list[static_cast<std::size_t>(number)]);
    }
    // A number the list does not hold would leave the format unset and make
    // the file name that follows a second format number.
    if (format == 0) Refuse(line, value, kNotAFormat);
}

void AcceptValue(CQuorvelCommandLine& line, std::string_view value,
                 const std::string& consoleHelp) {
    switch (line.currentFlag) {
        case FlagHelp:
            line.helpText = consoleHelp;
            break;
        case FlagInit:
            line.initFile = std::string(value);
            break;
        case FlagType:
            line.kind = ReadInteger(line, value);
            break;
        case FlagMode:
            line.mode = ReadInteger(line, value);
            break;
        case FlagSys1:
            line.source.system = ReadInteger(line, value);
            break;
        case FlagSys2:
            line.target.system = ReadInteger(line, value);
            break;
        case FlagAlt:
            if (line.verticalKind == 0) {
                line.verticalKind = ReadInteger(line, value);
            } else {
                line.verticalSystem = ReadInteger(line, value);
            }
            break;
        case FlagTypcoor1:
            AcceptTypcoor(ReadInteger(line, value), line.source.type, line.source.unit, line.source.meridian,
                          line.source.projection);
            break;
        case FlagTypcoor2:
            AcceptTypcoor(ReadInteger(line, value), line.target.type, line.target.unit, line.target.meridian,
                          line.target.projection);
            break;
        case FlagF1:
            AcceptFormat(line, value, line.source.type, line.source.format, line.source.file);
            break;
        case FlagF2:
            AcceptFormat(line, value, line.target.type, line.target.format, line.target.file);
            break;
        case FlagX:
            line.x = ReadReal(line, value);
            break;
        case FlagY:
            line.y = ReadReal(line, value);
            break;
        case FlagZ:
            line.z = ReadReal(line, value);
            break;
        case FlagLon:
            line.lon = ReadReal(line, value);
            break;
        case FlagLat:
            line.lat = ReadReal(line, value);
            break;
        case FlagHe:
            line.he = ReadReal(line, value);
            break;
        case FlagE:
            line.E = ReadReal(line, value);
            break;
        case FlagN:
            line.N = ReadReal(line, value);
            break;
        case FlagH:
            line.H = ReadReal(line, value);
            break;
        case FlagSep1: {
            StatedConventions& stated = line.sourceConventions;
            stated.separatorStated = ReadSeparatorName(std::string(value), stated.separator);
            if (!stated.separatorStated) Refuse(line, value, kNotASeparator);
            break;
        }
        case FlagDec1: {
            StatedConventions& stated = line.sourceConventions;
            stated.decimalMarkStated = ReadDecimalMarkName(std::string(value), stated.decimalMark);
            if (!stated.decimalMarkStated) Refuse(line, value, kNotAMark);
            break;
        }
        case FlagTitre1:
            if (value == "oui" || value == "1") {
                line.sourceConventions.titleRow = true;
            } else if (value == "non" || value == "0") {
                line.sourceConventions.titleRow = false;
            } else {
                Refuse(line, value, kNotAYesNo);
            }
            break;
        case FlagEnc1: {
            StatedConventions& stated = line.sourceConventions;
            stated.encodingStated = ReadEncodingName(std::string(value), stated.encoding);
            if (!stated.encodingStated) Refuse(line, value, kNotAnEncoding);
            break;
        }
        case FlagThreads:
            line.threads = ReadInteger(line, value);
            if (line.threads < 0) {
                Refuse(line, value, "n'est pas un nombre de fils de calcul (0 : tous les cœurs)");
                line.threads = 0;
            }
            line.threadsGiven = true;
            break;
        default:
            break;  // no flag yet, or "v": the value is ignored
    }
}

std::string SystemName(const Catalogue& catalogue, int id) {
    const CReg* system = FindById(catalogue.systems, id);
    return system ? system->name : std::string();
}

bool IsTwoDimensional(const Catalogue& catalogue, int id) {
    const CReg* system = FindById(catalogue.systems, id);
    return system && system->dimension == 2;
}

bool IsFileUnit(int unit) {
    return (unit >= 1 && unit <= 6) || (unit >= 10 && unit <= 12);
}

// Message formats of the validation table.
std::string Plain(int id) {
    return LoadString(id) + " !\n";
}
std::string NamedAfter(int id, const std::string& name) {
    return name + " : " + LoadString(id) + " !\n";
}

// Tests 21 to 24 for one side whose type is geographic or projected: the
// layout must belong to the type, and a two-dimensional system takes no
// ellipsoidal heights.
bool CheckSideFormat(const CQuorvelCommandLine& line, const Catalogue& catalogue, int type,
                     int format, int systemId, bool source, std::string& message) {
    const bool inRange = type == 2 ? (format >= 8 && format <= 15) : (format >= 16 && format <= 19);
    const bool twoDimensional = IsTwoDimensional(catalogue, systemId);
    if (inRange) {
        if (twoDimensional && DataFormatHasHeight(format)) {
            message = NamedAfter(IDS_CMD_HEIGHT_FORBIDDEN, SystemName(catalogue, systemId));
            return false;
        }
    } else if (line.mode == kModeFiles) {
        message = NamedAfter(IDS_CMD_FORMAT_INVALID, SystemName(catalogue, systemId));
        return false;
    } else if (source && twoDimensional && line.verticalKind == 1) {
        message = NamedAfter(IDS_CMD_HEIGHT_FORBIDDEN, SystemName(catalogue, systemId));
        return false;
    }
    return true;
}

// The vertical component that "-alt" chose, in words.
const char* VerticalComponentText(int verticalKind) {
    if (verticalKind == 1) return "hauteur sur l'ellipsoïde, flag -he";
    if (verticalKind == 2) return "altitude, flag -H";
    return "aucune, sans le flag -alt";
}

// The coordinate flags that the departure point of a single-point run
// reads: its type's two or three numbers, and the vertical value its
// vertical kind asks for (ellipsoidal height or altitude).
unsigned Bit(int flag) {
    return 1u << flag;
}
unsigned CoordinatesNeeded(const CQuorvelCommandLine& line) {
    unsigned needed = 0;
    if (line.source.type == Cartesian) return Bit(FlagX) | Bit(FlagY) | Bit(FlagZ);
    if (line.source.type == Geographic) needed = Bit(FlagLon) | Bit(FlagLat);
    if (line.source.type == Projected) needed = Bit(FlagE) | Bit(FlagN);
    if (line.verticalKind == 1) needed |= Bit(FlagHe);
    if (line.verticalKind == 2) needed |= Bit(FlagH);
    return needed;
}

// A single point needs every coordinate its departure type reads, and takes
// no coordinate of another type: a missing value would be read as 0, one of
// another type would be silently left aside.
bool CheckSinglePointCoordinates(const CQuorvelCommandLine& line, std::string& message) {
    const unsigned needed = CoordinatesNeeded(line);
    for (int flag = FlagX; flag <= FlagH; ++flag) {
        const bool given = (line.coordinatesGiven & Bit(flag)) != 0;
        const bool wanted = (needed & Bit(flag)) != 0;
        if (wanted && !given) {
            message = std::string("Le flag -") + FlagName(flag) +
                      " manque : le point de départ demande cette coordonnée !\n";
            return false;
        }
        if (given && !wanted) {
            const bool vertical = flag == FlagHe || flag == FlagH;
            if (vertical && line.source.type != Cartesian) {
                message = std::string("Le flag -") + FlagName(flag) +
                          " ne convient pas à la composante verticale de départ (" +
                          VerticalComponentText(line.verticalKind) + ") !\n";
            } else {
                message = std::string("Le flag -") + FlagName(flag) +
                          " ne convient pas au type de coordonnées de départ (" +
                          CoordTypeLabel(line.source.type) + ") !\n";
            }
            return false;
        }
    }
    return true;
}

}  // namespace

const char* FlagName(int code) {
    for (const FlagEntry& flag : kFlags) {
        if (flag.code == code) return flag.name;
    }
    return "";
}

bool ReadCommandLineInteger(std::string_view text, int& value) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    if (begin < end && text[begin] == '+') {
        ++begin;
        if (begin == end || text[begin] == '-') return false;
    }
    if (begin == end) return false;
    // from_chars takes the minus sign itself, and refuses a value beyond int.
    const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
    return result.ec == std::errc() && result.ptr == text.data() + end;
}

bool ReadCommandLineReal(std::string_view text, double& value) {
    std::string number(text);
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos) {
        // One decimal comma, and no decimal point beside it.
        if (number.find(',', comma + 1) != std::string::npos ||
            number.find('.') != std::string::npos)
            return false;
        number[comma] = '.';
    }
    double read = 0;
    std::size_t used = ScanDecimal(number, read);
    if (used == 0) return false;
    while (used < number.size() && IsBlank(number[used])) ++used;
    if (used != number.size()) return false;
    value = read;
    return true;
}

bool AcceptArgument(CQuorvelCommandLine& line, std::string_view text, bool isFlag,
                    const std::string& consoleHelp, std::string& message) {
    if (!isFlag) {
        line.nextValueNumeric = false;
        AcceptValue(line, text, consoleHelp);
        return true;
    }
    line.nextValueNumeric = false;
    for (const FlagEntry& flag : kFlags) {
        if (text == flag.name) {
            line.currentFlag = flag.code;
            if (flag.code == FlagVerbose) line.verbose = true;
            if ((flag.code >= FlagX && flag.code <= FlagH) || flag.code == FlagThreads)
                line.nextValueNumeric = true;
            // Alone, the flag says the first line names the columns.
            if (flag.code == FlagTitre1) {
                line.sourceConventions.titleRowStated = true;
                line.sourceConventions.titleRow = true;
            }
            return true;
        }
    }
    message = std::string(text) + " : " + LoadString(IDS_CMD_UNKNOWN_FLAG) + " !";
    return false;
}

bool ParseCommandLine(CQuorvelCommandLine& line, const std::vector<std::string>& arguments,
                      const std::string& consoleHelp, std::string& message) {
    for (const std::string& argument : arguments) {
        // "-" after a file flag names a standard stream, not a flag.
        const bool stream = argument == kStandardStream &&
                            (line.currentFlag == FlagF1 || line.currentFlag == FlagF2);
        const bool isFlag =
            !argument.empty() && argument[0] == '-' && !line.nextValueNumeric && !stream;
        const std::string_view text =
            isFlag ? std::string_view(argument).substr(1) : std::string_view(argument);
        if (!AcceptArgument(line, text, isFlag, consoleHelp, message)) return false;
    }
    return true;
}

bool WritesPointsToStandardOutput(const std::vector<std::string>& arguments) {
    CQuorvelCommandLine line;
    std::string message;
    ParseCommandLine(line, arguments, "", message);
    return line.target.file == kStandardStream;
}

void DeriveVerticalKind(CQuorvelCommandLine& line) {
    if (line.mode == kModeSinglePoint) {
        if (line.x != 0 || line.y != 0 || line.z != 0) line.verticalKind = 1;
    } else if (line.mode == kModeFiles) {
        if (line.source.format >= 6 && line.source.format <= 19) {
            line.verticalKind = DataFormatVertical(line.source.format) == 2 ? 2 : 1;
        }
    }
}

bool ValidateCommandLine(const CQuorvelCommandLine& line, const Catalogue& catalogue,
                         std::string& message) {
    if (line.refusedFlag != FlagNone) {
        message = std::string("La valeur \"") + line.refusedValue + "\" du flag -" +
                  FlagName(line.refusedFlag) + " " + line.refusedReason + " !\n";
        return false;
    }
    const StatedConventions& stated = line.sourceConventions;
    if (stated.decimalMarkStated && stated.decimalMark == ',' && stated.separatorStated &&
        stated.separator == ',') {
        message = "La virgule ne peut pas être à la fois le séparateur de colonnes (-sep1) et "
                  "la marque décimale (-dec1) !\n";
        return false;
    }
    if (line.mode != kModeSinglePoint && line.mode != kModeFiles) {
        message = Plain(IDS_CMD_KIND_UNKNOWN);
        return false;
    }
    if (line.kind != 1 && line.kind != 2) {
        message = Plain(IDS_CMD_KIND_UNKNOWN);
        return false;
    }
    const CReg* source = FindById(catalogue.systems, line.source.system);
    if (source == nullptr) {
        message = Plain(IDS_CMD_SOURCE_SYSTEM_UNKNOWN);
        return false;
    }
    const CReg* target = FindById(catalogue.systems, line.target.system);
    if (target == nullptr) {
        message = Plain(IDS_CMD_TARGET_SYSTEM_UNKNOWN);
        return false;
    }
    if (line.verticalSystem != 0 &&
        FindById(catalogue.verticalSystems, line.verticalSystem) == nullptr) {
        message = Plain(IDS_CMD_VERTICAL_SYSTEM_UNKNOWN);
        return false;
    }
    if (source->id != target->id) {
        CTransfo transfo;
        if (!FindTransformation(transfo, catalogue.transformations, *source, *target, line.kind)) {
            message = LoadString(IDS_CMD_NO_TRANSFORMATION) + " " + TransfoKindLabel(line.kind) +
                      "\" !\n";
            return false;
        }
        // The grid method reads its translation at each point from a grid
        // that joins the two systems: without one, every point would be
        // out of grid.
        if (line.kind == GridKind && TranslationGridsBetween(catalogue, source->id, target->id).empty()) {
            message = NoGridJoinsText(source->name, target->name) + "\n";
            return false;
        }
    }
    if (line.source.type < 1 || line.source.type > 3) {
        message = Plain(IDS_CMD_SOURCE_TYPE_UNKNOWN);
        return false;
    }
    if (line.target.type < 1 || line.target.type > 3) {
        message = Plain(IDS_CMD_TARGET_TYPE_UNKNOWN);
        return false;
    }
    if (line.source.type == 1 && source->dimension == 2) {
        message = LoadString(IDS_CMD_SOURCE_CARTESIAN_FORBIDDEN) + "(\"" + source->name + "\")!\n";
        return false;
    }
    if (line.target.type == 1 && target->dimension == 2) {
        message = LoadString(IDS_CMD_TARGET_CARTESIAN_FORBIDDEN) + "(\"" + target->name + "\")!\n";
        return false;
    }
    if (line.source.type == 2 && !IsFileUnit(line.source.unit)) {
        message = Plain(IDS_CMD_SOURCE_UNIT);
        return false;
    }
    if (line.target.type == 2 && !IsFileUnit(line.target.unit)) {
        message = Plain(IDS_CMD_TARGET_UNIT);
        return false;
    }
    if (line.source.type == 2 && FindById(catalogue.meridians, line.source.meridian) == nullptr) {
        message = NamedAfter(IDS_CMD_MERIDIAN, source->name);
        return false;
    }
    if (line.target.type == 2 && FindById(catalogue.meridians, line.target.meridian) == nullptr) {
        message = NamedAfter(IDS_CMD_MERIDIAN, target->name);
        return false;
    }
    if (line.source.type == 3 && FindById(catalogue.projections, line.source.projection) == nullptr) {
        message = NamedAfter(IDS_CMD_PROJECTION, source->name);
        return false;
    }
    if (line.target.type == 3 && FindById(catalogue.projections, line.target.projection) == nullptr) {
        message = NamedAfter(IDS_CMD_PROJECTION, target->name);
        return false;
    }
    if (!OffersCoordType(catalogue, source->id, line.source.type)) {
        message = Plain(IDS_CMD_SOURCE_TYPE_INCOMPATIBLE);
        return false;
    }
    if (!OffersCoordType(catalogue, target->id, line.target.type)) {
        message = Plain(IDS_CMD_TARGET_TYPE_INCOMPATIBLE);
        return false;
    }
    if (line.source.type == 1 && line.mode == kModeFiles && line.source.format != 6 &&
        line.source.format != 7) {
        message = NamedAfter(IDS_CMD_FORMAT_INVALID, source->name);
        return false;
    }
    if (line.target.type == 1 && line.mode == kModeFiles && line.target.format != 6 &&
        line.target.format != 7) {
        message = NamedAfter(IDS_CMD_FORMAT_INVALID, target->name);
        return false;
    }
    if (line.source.type == 2 &&
        !CheckSideFormat(line, catalogue, 2, line.source.format, source->id, true, message)) {
        return false;
    }
    if (line.target.type == 2 &&
        !CheckSideFormat(line, catalogue, 2, line.target.format, target->id, false, message)) {
        return false;
    }
    if (line.source.type == 3 &&
        !CheckSideFormat(line, catalogue, 3, line.source.format, source->id, true, message)) {
        return false;
    }
    if (line.target.type == 3 &&
        !CheckSideFormat(line, catalogue, 3, line.target.format, target->id, false, message)) {
        return false;
    }
    if (line.mode == kModeFiles && line.source.file.empty()) {
        message = Plain(IDS_CMD_NO_SOURCE_FILE);
        return false;
    }
    if (line.mode == kModeFiles && line.target.file.empty()) {
        message = Plain(IDS_CMD_NO_TARGET_FILE);
        return false;
    }
    if (line.mode == kModeSinglePoint && !CheckSinglePointCoordinates(line, message)) return false;
    message = LoadString(IDS_CMD_VALIDATED) + "\n";
    return true;
}

ConsoleRunOutcome RunConsoleCommandLine(const CQuorvelCommandLine& commandLine,
                                        const ConsoleRunEnvironment& environment,
                                        std::string& result) {
    if (commandLine.currentFlag == FlagHelp) {
        environment.write("\n" + commandLine.helpText + "\n");
        return ConsoleRunOutcome::Finished;
    }
    CQuorvelCommandLine line = commandLine;
    DeriveVerticalKind(line);
    std::string validation;
    const bool valid = ValidateCommandLine(line, environment.catalogue, validation);
    if (line.verbose || !valid) environment.write(validation);
    if (!valid) return ConsoleRunOutcome::Stopped;
    return RunConsoleTransformation(line, environment, result);
}
