#pragma once

#include <string>
#include <string_view>

// Result texts of reading and checking one point. The runs compare them and
// write every text other than "OK" into the output file. A comparison with
// one of them looks at the lengths first, so that most cost no character
// comparison at all: they run several times for every line of a file.
inline constexpr std::string_view kResultOk = "OK";
inline constexpr std::string_view kResultEnd = "Fin";
inline constexpr std::string_view kResultComment = "commentaires";
inline constexpr std::string_view kResultBlankLine = "ligne blanche";
inline constexpr std::string_view kResultBadPoint = "mauvais format de point";
inline constexpr std::string_view kResultUnknownFormat = "type de fichier inconnu";

// The count of input lines that were neither points, comments nor blank, as
// both file runs' summaries say it.
inline std::string RefusedLinesText(long long refused) {
    return std::to_string(refused) + " ligne(s) refusée(s) (ni point, ni commentaire, ni ligne "
                                     "blanche)";
}
