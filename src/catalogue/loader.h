#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"

// The catalogue file: one keyword line per record, ISO-8859-1 on disk. The
// loader reads it line by line into the lists of a Catalogue; the first
// malformed line stops the program with a message naming the file and line.

// Record parsers. Each takes a whole line (UTF-8) and, where the line names
// records read earlier, the lists read so far; each fills the record and
// returns true, or returns false for a malformed line.
bool ParseEllipsoid(std::string_view line, CElg& record);
bool ParseMeridian(std::string_view line, CLgo& record);
bool ParseSystem(std::string_view line, const CatalogueList<CElg>& ellipsoids,
                 const CatalogueList<CLgo>& meridians, CReg& record);
bool ParseVerticalSystem(std::string_view line, CRea& record);
bool ParseTransformation(std::string_view line, const CatalogueList<CReg>& systems, CTsg& record);
bool ParseProjection(std::string_view line, const CatalogueList<CElg>& ellipsoids,
                     const CatalogueList<CLgo>& meridians, CPrc& record);

enum class LineOutcome {
    Skipped,    // empty, comment, or no keyword at its start
    Added,      // one record (two for "PROJ") appended to the catalogue
    Malformed,  // the catalogue is left as it was
};

// Recognises the keyword at the start of one line (UTF-8, without its line
// end), parses it and appends what it declares to the catalogue.
LineOutcome AddCatalogueLine(std::string_view line, Catalogue& catalogue);

// Why a catalogue could not be loaded.
struct CatalogueFailure {
    enum Kind { Unreadable, Malformed } kind = Unreadable;
    int lineNumber = 0;  // counting every physical line from 1
    std::string line;    // the malformed line, UTF-8, without its line end
};

// Reads the whole file into `catalogue` (expected empty). Lines end with LF
// or CR LF and may be of any length. Returns the failure, if any; the lists
// then hold only what came before the failing line.
std::optional<CatalogueFailure> ReadCatalogue(const std::string& path, Catalogue& catalogue);

class UserInterface;

// The text the user is shown for a failure on the catalogue at `path`.
std::string CatalogueFailureMessage(const std::string& path, const CatalogueFailure& failure);

// Loads the catalogue at `path` and returns true; on failure shows the
// message in an error box titled `caption` and ends the program with exit
// code 1 through `ui` (a catalogue that cannot be read is no success).
bool LoadCatalogue(const std::string& path, Catalogue& catalogue, UserInterface& ui,
                   const std::string& caption);
