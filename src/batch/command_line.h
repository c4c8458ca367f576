#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runs/console_run.h"

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
    FlagSep1 = 21,   // "sep1": the input's column separator
    FlagDec1 = 22,   // "dec1": the input's decimal mark
    FlagTitre1 = 23, // "titre1": the input's first line names the columns
    FlagEnc1 = 24,   // "enc1": the input's encoding
    FlagThreads = 25,  // "threads": threads of a file run, 0 for every core
};

// The command line of one console run, filled argument by argument: the
// run it describes (kind, mode, both sides with their files, the vertical
// system and kind, the single point's values) and what the parsing keeps
// on the way.
struct CQuorvelCommandLine : ConsoleRunDescription {
    std::string helpText;
    std::string initFile;  // recorded; no operation uses it
    int currentFlag = FlagNone;
    bool nextValueNumeric = false;  // the next argument is a value even with a minus sign
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
    bool threadsGiven = false;  // "-threads" had a value: the configuration's count gives way
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

// Whether the command line writes the points to the standard output (the
// output file is "-"): its console texts then go to the error stream.
bool WritesPointsToStandardOutput(const std::vector<std::string>& arguments);

// Sets the vertical kind from the coordinates (single point) or from the
// input layout (point files).
void DeriveVerticalKind(CQuorvelCommandLine& line);

// Checks the command line against the catalogue, test after test. Returns
// true when the run may start; always leaves one message (with its line
// break) in `message`.
bool ValidateCommandLine(const CQuorvelCommandLine& line, const Catalogue& catalogue,
                         std::string& message);

// The console run of a command line, as the console mode starts it: the
// help text when "?" is the last flag, else the vertical kind derived, the
// validation (its message written when verbose or refused), then the
// transformation. `result` holds the text the caller writes to the console.
ConsoleRunOutcome RunConsoleCommandLine(const CQuorvelCommandLine& line,
                                        const ConsoleRunEnvironment& environment,
                                        std::string& result);
