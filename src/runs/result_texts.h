#pragma once

// Result texts of reading and checking one point. The runs compare them and
// write every text other than "OK" into the output file.
inline constexpr const char* kResultOk = "OK";
inline constexpr const char* kResultEnd = "Fin";
inline constexpr const char* kResultComment = "commentaires";
inline constexpr const char* kResultBlankLine = "ligne blanche";
inline constexpr const char* kResultBadPoint = "mauvais format de point";
inline constexpr const char* kResultUnknownFormat = "type de fichier inconnu";
