#pragma once

#include <string>
#include <vector>

class CQuorvelApp;
struct ShellRequest;

// The batch work of console mode: parses the arguments that follow the
// program's own path, then runs the console transformation on the
// application's catalogue and grids. Returns the program's exit status:
// 0 when the run went to its end (or showed the help that was asked for),
// 2 when it went to its end but refused lines of the input file, 1 when
// parsing, validation, a file or the run itself stopped it. `message` holds
// the text the caller writes to the console (possibly empty, when the run
// already wrote it).
int RunConsoleBatch(CQuorvelApp& app, const std::vector<std::string>& arguments,
                     std::string& message);

// The shell options of the command line, answered without console mode's
// banner and key wait: the usage text (`--help`, `-h`) with the examples
// on the installation's example folder, the version, the listing of the
// catalogue the application loaded (`--liste`, one system when asked,
// by id or name), each on standard output with status 0; an unknown system
// or a misused option is refused on standard error with status 1.
int RunShellOption(CQuorvelApp& app, const ShellRequest& request);
