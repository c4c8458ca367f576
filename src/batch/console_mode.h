#pragma once

#include <string>
#include <vector>

class CQuorvelApp;

// The batch work of console mode: parses the arguments that follow the
// program's own path, then runs the console transformation on the
// application's catalogue and grids. Returns true when the run went to its
// end (or showed the help that was asked for); false when parsing,
// validation, a file or the run itself stopped it, with the text the caller
// writes to the console in `message` (possibly empty, when the run already
// wrote it).
bool RunConsoleBatch(CQuorvelApp& app, const std::vector<std::string>& arguments,
                     std::string& message);
