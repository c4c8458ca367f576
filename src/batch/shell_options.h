#pragma once

#include <string>
#include <string_view>
#include <vector>

// The options a shell user expects of any program, beside the flags of the
// console transformation: the usage text (`--help`, `-h`), the version
// (`--version`) and the catalogue's systems (`--liste`, `--list`). They are
// recognised only as the first argument, so that every flag of the console
// transformation keeps its meaning (`-?` still shows the configuration's
// help text, and `-x --help` still gives "--help" to "x" as its value).
enum class ShellRequestKind {
    None,     // no shell option: the console transformation runs
    Help,     // `--help`, `-h`
    Version,  // `--version`
    List,     // `--liste [SYSTEME]`, `--list [SYSTEME]`
    Refused,  // a shell option with values it does not take
};

struct ShellRequest {
    ShellRequestKind kind = ShellRequestKind::None;
    std::string option;  // the option as typed, for messages
    bool systemGiven = false;
    std::string system;   // `--liste`: the system asked for, an id or a name
    std::string message;  // Refused: the French message, with its line break
};

// Reads the arguments that follow the program's own path.
ShellRequest ParseShellRequest(const std::vector<std::string>& arguments);

// "Quorvel <version>" with its line break.
std::string VersionText();

// The French usage text: both modes, every flag of the console
// transformation with its values, the format numbers of "f1" and "f2" for
// each coordinate type, the angle-unit codes, the exit statuses, and two
// examples on the installation's example folder `examplesFolder` (a file
// run whose output goes to the current folder, and a single point).
std::string UsageText(std::string_view examplesFolder);

// A file name as a shell reads it back: kept as is when it holds only
// characters that need no quoting, else between single quotes.
std::string ShellQuoted(std::string_view text);
