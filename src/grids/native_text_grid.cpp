// The system's own text grid (".mnt"): a one-line header and node records in
// free format.

#include "shared/text_encoding.h"
#include "grids/grid_message.h"
#include "grids/grid_reader.h"
#include "grids/header_tokenizer.h"

namespace {

constexpr size_t kHeaderLineRoom = 259;  // characters read for a header line, line break included

}  // namespace

int Lire_EnTete_Natif(GridTextFile& file, GridHeader& h, std::string& message) {
    std::string line;
    file.ReadLine(line, kHeaderLineRoom);
    if (line.size() >= kHeaderLineRoom) {
        message = GridMessage("%s :\nLa ligne d'en-tête est trop longue (%d char max)",
                              h.NAME.c_str(), static_cast<int>(kHeaderLineRoom - 1));
        return kHeaderRefused;
    }
    return Lire_EnTete_Texte(h, line, message);
}

int Lire_EnTete_Texte(GridHeader& h, const std::string& line, std::string& message) {
    int position = 0;
    std::string token;
    // Reads the next field of the line; false when the line stopped there
    // (`stop` is then the result to give: the position, or -1 with the
    // tokenizer's message).
    int stop = 0;
    auto next = [&](ChampKind kind) {
        const int r = Lire_Champ(' ', line, position, token, kind);
        if (r == 0) return true;
        if (r < 0) message = token;
        stop = position;
        return false;
    };
    for (double* field : {&h.X_MIN, &h.X_MAX, &h.Y_MIN, &h.Y_MAX, &h.X_INC, &h.Y_INC}) {
        if (!next(ChampKind::Reel)) return stop;
        *field = TokenReal(token);
    }
    for (int32_t* field : {&h.LAYOUT, &h.NODE_COORD_WRITTEN, &h.VALUES_NUMBER, &h.CODE_PREC}) {
        if (!next(ChampKind::Entier)) return stop;
        *field = TokenInteger(token);
    }
    // A grid carries at least one value per node; a count that no header
    // line can hold translations for is a header problem at this point.
    if (h.VALUES_NUMBER < 1 || h.VALUES_NUMBER > kMostValuesPerNode) return position;

    h.TRANSLATION.clear();
    for (int k = 0; k < h.VALUES_NUMBER - 1; ++k) {
        if (!next(ChampKind::Reel)) return stop;
        h.TRANSLATION.push_back(TokenReal(token));
    }
    int r = Lire_Champ(' ', line, position, token, ChampKind::Reel);
    if (r < 0) {
        message = token;
        return kHeaderRefused;
    }
    h.TRANSLATION.push_back(TokenReal(token));
    if (r == 0) {
        // The rest of the line is the description, its words joined by single spaces.
        std::string description;
        do {
            r = Lire_Champ(' ', line, position, token, ChampKind::Chaine);
            if (token.empty()) continue;
            if (!description.empty()) description += ' ';
            description += token;
        } while (r == 0);
        if (!description.empty()) h.DESC = Latin1ToUtf8(description);
    }

    h.VALUES_TYPE = Real8;
    h.NativeLayout();
    return kHeaderRead;
}
