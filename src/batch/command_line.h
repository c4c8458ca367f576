#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Catalogue;

// Flags of the command line, typed as a minus sign and the name.
enum CommandFlag : int {
    FlagNone = -1,     // no flag seen yet
    FlagHelp = 0,      // "?"
    FlagInit = 1,      // "init"
    FlagVerbose = 2,   // "v"
    FlagType = 3,      // "type"
    FlagMode = 4,      // "mode"
    FlagSys1 = 5,      // "sys1"
    FlagSys2 = 6,      // "sys2"
    FlagAlt = 7,       // "alt"
    FlagTypcoor1 = 8,  // "typcoor1"
    FlagTypcoor2 = 9,  // "typcoor2"
    FlagF1 = 10,       // "f1"
    FlagF2 = 11,       // "f2"
    FlagX = 12,        // "x", "y", "z": cartesian coordinates
    FlagY = 13,
    FlagZ = 14,
    FlagLon = 15,  // "lon", "lat", "he": geographic coordinates, ellipsoidal height
    FlagLat = 16,
    FlagHe = 17,
    FlagE = 18,  // "E", "N", "H": projected coordinates and altitude
    FlagN = 19,
    FlagH = 20,
};

// Mode of a console run.
inline constexpr int kModeSinglePoint = 0;  // one point given on the command line
inline constexpr int kModeFiles = 1;        // an input and an output point file
inline constexpr int kModeUnset = -1;

// The command line of one console run, filled argument by argument.
struct CQuorvelCommandLine {
    std::string helpText;
    std::string initFile;  // recorded; no operation uses it
    std::string targetFile;
    std::string sourceFile;
    int currentFlag = FlagNone;
    bool nextValueNumeric = false;  // the next argument is a value even with a minus sign
    bool verbose = false;
    int kind = 0;  // TransfoKind
    int mode = kModeUnset;
    int sourceSystem = 0;
    int targetSystem = 0;
    int verticalSystem = 0;  // 0 for none
    int sourceMeridian = 0, targetMeridian = 0;
    int sourceProjection = 0, targetProjection = 0;
    int sourceType = 0, targetType = 0;      // CoordType
    int sourceUnit = 0, targetUnit = 0;      // AngleUnit
    int sourceFormat = 0, targetFormat = 0;  // DataFormat, 0 when none matched
    int verticalKind = 0;                    // VerticalKind
    double x = 0, y = 0, z = 0;
    double lon = 0, lat = 0, he = 0;
    double E = 0, N = 0, H = 0;
    // The first value that its flag could not take whole (a number with
    // letters, two decimal separators, nothing at all, a format number that
    // the type's list does not hold): the validation refuses the line with
    // it rather than read it as 0 or cut it short.
    int refusedFlag = FlagNone;
    std::string refusedValue;
    const char* refusedReason = nullptr;
    // The coordinate flags ("x" to "H") that received a value, one bit per
    // flag code.
    unsigned coordinatesGiven = 0;
};

// The name of a flag as typed, without its minus sign ("E", "typcoor1").
const char* FlagName(int code);

// Reads a command-line real: the usual decimal notation, where a single
// decimal comma stands for the decimal point ("600984,230"), optional sign
// and exponent, blanks around allowed. False for anything else (letters,
// two separators, an empty value, text after the number).
bool ReadCommandLineReal(std::string_view text, double& value);

// Reads a command-line integer: optional sign and leading zeros ("02" is 2),
// blanks around allowed. False for anything else, or a value beyond int.
bool ReadCommandLineInteger(std::string_view text, int& value);

// Walks the arguments that follow the program name. Returns false at the
// first flag that is not known, with its message ("<flag> : Le flag
// n'existe pas !", no line break) in `message`. `consoleHelp` is the help
// text of the configuration file, which a value after "?" brings in.
bool ParseCommandLine(CQuorvelCommandLine& line, const std::vector<std::string>& arguments,
                      const std::string& consoleHelp, std::string& message);

// One argument: a flag (without its minus sign) when `isFlag`, else a value
// for the current flag. False for a flag that is not known.
bool AcceptArgument(CQuorvelCommandLine& line, std::string_view text, bool isFlag,
                    const std::string& consoleHelp, std::string& message);

// Sets the vertical kind from the coordinates (single point) or from the
// input layout (point files).
void DeriveVerticalKind(CQuorvelCommandLine& line);

// Checks the command line against the catalogue, test after test. Returns
// true when the run may start; always leaves one message (with its line
// break) in `message`.
bool ValidateCommandLine(const CQuorvelCommandLine& line, const Catalogue& catalogue,
                         std::string& message);
