// A whole catalogue file, read from disk as start-up reads it; a malformed
// line also makes the message the user would see.

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/loader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteFile("catalogue.txt", data, size);
    Catalogue catalogue;
    if (auto failure = ReadCatalogue(path, catalogue)) {
        CatalogueFailureMessage(path, *failure);
    }
    return 0;
}
