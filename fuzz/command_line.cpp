// A command line of arbitrary arguments (the bytes split at line breaks),
// parsed, given its vertical kind and validated against the default
// installation's catalogue, as a console run does before its first point.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "batch/command_line.h"
#include "catalogue/loader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    CQuorvelCommandLine line;
    std::string message;
    if (ParseCommandLine(line, arguments, "aide de la console", message)) {
        DeriveVerticalKind(line);
        ValidateCommandLine(line, fuzz::DefaultCatalogue(), message);
    }
    return 0;
}
