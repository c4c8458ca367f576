// One catalogue line, parsed into a catalogue that already holds the default
// installation's records, so that lines naming ellipsoids, meridians and
// systems reach their references.

#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/text_encoding.h"
#include "catalogue/loader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Catalogue catalogue = fuzz::DefaultCatalogue();
    const std::string line = Latin1ToUtf8(std::string(reinterpret_cast<const char*>(data), size));
    AddCatalogueLine(line, catalogue);
    return 0;
}
