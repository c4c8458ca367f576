#pragma once

#include <string>
#include <vector>

class CQuorvelApp;

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
