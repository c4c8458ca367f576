#pragma once

#include <string>

// Result texts of reading and checking one point. The runs compare them and
// write every text other than "OK" into the output file.
inline constexpr const char* kResultOk = "OK";
inline constexpr const char* kResultEnd = "Fin";
inline constexpr const char* kResultComment = "commentaires";
inline constexpr const char* kResultBlankLine = "ligne blanche";
inline constexpr const char* kResultBadPoint = "mauvais format de point";
inline constexpr const char* kResultUnknownFormat = "type de fichier inconnu";

// The count of input lines that were neither points, comments nor blank, as
// both file runs' summaries say it.
inline std::string RefusedLinesText(long long refused) {
    return std::to_string(refused) + " ligne(s) refusée(s) (ni point, ni commentaire, ni ligne "
                                     "blanche)";
}
