#pragma once

#include <cstdint>
#include <string>

// The kinds of field that the header readers ask for.
enum class ChampKind {
    Reel,         // "reel": digits, ".", "-"
    Entier,       // "entier": digits, "-"
    Chaine,       // "chaine": any text
    ReelForce,    // "reel_force": a real that may be followed directly by other characters
    EntierForce,  // "entier_force": an integer that may be followed directly by other characters
};

// Reads the next field of a header line from `position` (an index into the
// line), fields being separated by `separator`. Returns 0 when a field was
// read and a separator follows, 2 when the line ends after it, -1 when the
// field has the wrong form (token then holds the French message and position
// becomes -1). The "_force" kinds leave the position on the character that
// ended the number and return 0; the other kinds move past it. The line holds
// the file's bytes (ISO-8859-1), with or without its line break.
int Lire_Champ(char separator, const std::string& line, int& position, std::string& token,
               ChampKind kind);

// A header token already checked by the tokenizer, as a number: an empty or
// partial number reads as far as it goes, an unreadable one as 0.
double TokenReal(const std::string& token);
int32_t TokenInteger(const std::string& token);
