// A configuration file of arbitrary bytes: the keys start-up and the pages
// read, a whole section, then a key written and read back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/profile.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteFile("quorvel.ini", data, size);
    GetProfileString(path, "DATA", "Data", "catalogue.txt");
    GetProfileString(path, "INFORMATIONS", "Titre", "", 80);
    GetProfileInt(path, "Standard", "Mode", 0);
    GetProfileSection(path, "Standard");
    GetProfileSection(path, "Grille");
    if (WriteProfileString(path, "Standard", "Système de départ", "NTF") &&
        GetProfileString(path, "standard", "SYSTÈME DE DÉPART", "") != "NTF") {
        __builtin_trap();  // a key just written must read back
    }
    return 0;
}
