// The system's own text grid (".mnt"): a one-line header and node records in
// free format; and the reading of the values of any text grid, into memory or
// into its binary cache.

#include <cstdio>

#include "shared/text_encoding.h"
#include "grids/cache_file.h"
#include "grids/grid.h"
#include "grids/grid_message.h"
#include "grids/grid_rules.h"
#include "grids/header_tokenizer.h"
#include "grids/load_progress.h"

namespace {

std::string Formatted(const char* format, const std::string& name, long long a, long long b = 0) {
    return GridMessage(format, name.c_str(), a, b);
}

}  // namespace

int CGrille::Lire_EnTete_Texte(const std::string& line, std::string& message) {
    int position = 0;
    std::string token;
    double* reals[] = {&X_MIN, &X_MAX, &Y_MIN, &Y_MAX, &X_INC, &Y_INC};
    for (double* field : reals) {
        const int r = Lire_Champ(' ', line, position, token, ChampKind::Reel);
        if (r != 0) {
            if (r < 0) message = token;
            return position;
        }
        *field = TokenReal(token);
    }
    int32_t* integers[] = {&LAYOUT, &NODE_COORD_WRITTEN, &VALUES_NUMBER, &CODE_PREC};
    for (int32_t* field : integers) {
        const int r = Lire_Champ(' ', line, position, token, ChampKind::Entier);
        if (r != 0) {
            if (r < 0) message = token;
            return position;
        }
        *field = TokenInteger(token);
    }
    // A grid carries at least one value per node; a count that no header
    // line can hold translations for is a header problem at this point.
    if (VALUES_NUMBER < 1 || VALUES_NUMBER > kMostValuesPerNode) return position;

    TRANSLATION.clear();
    for (int k = 0; k < VALUES_NUMBER - 1; ++k) {
        const int r = Lire_Champ(' ', line, position, token, ChampKind::Reel);
        if (r != 0) {
            if (r < 0) message = token;
            return position;
        }
        TRANSLATION.push_back(TokenReal(token));
    }
    int r = Lire_Champ(' ', line, position, token, ChampKind::Reel);
    if (r < 0) {
        message = token;
        return -1;
    }
    TRANSLATION.push_back(TokenReal(token));
    if (r == 0) {
        // The rest of the line is the description, its words joined by single spaces.
        std::string description;
        do {
            r = Lire_Champ(' ', line, position, token, ChampKind::Chaine);
            if (token.empty()) continue;
            if (!description.empty()) description += ' ';
            description += token;
        } while (r == 0);
        if (!description.empty()) DESC = Latin1ToUtf8(description);
    }

    VALUES_TYPE = Real8;
    NativeLayout();
    return -10;
}

namespace {

// One value as parsed from the text, in the stored type.
struct ParsedValue {
    int16_t i2 = 0;
    int32_t i4 = 0;
    float r4 = 0;
    double r8 = 0;
};

GridTextFile::Lecture ReadFree(GridTextFile& file, int type, ParsedValue& v) {
    switch (type) {
        case Integer2:
            return file.ReadInt16(v.i2);
        case Integer4:
            return file.ReadInt32(v.i4);
        case Real4:
            return file.ReadReal4(v.r4);
        default:
            return file.ReadReal8(v.r8);
    }
}

// A fixed-width field (blanks around the number allowed).
GridTextFile::Lecture ReadFixed(GridTextFile& file, int type, size_t width, ParsedValue& v,
                                bool& endedLine) {
    const std::string field = file.ReadField(width);
    endedLine = !field.empty() && field.back() == '\n';
    if (field.empty()) return GridTextFile::Lecture::Fin;
    size_t first = field.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return GridTextFile::Lecture::Illisible;
    const size_t last = field.find_last_not_of(" \t\r\n") + 1;
    const char* a = field.data() + first;
    const char* b = field.data() + last;
    bool ok = false;
    switch (type) {
        case Integer2:
            ok = ParseWholeNumber(a, b, v.i2);
            break;
        case Integer4:
            ok = ParseWholeNumber(a, b, v.i4);
            break;
        case Real4:
            ok = ParseWholeNumber(a, b, v.r4);
            break;
        default:
            ok = ParseWholeNumber(a, b, v.r8);
            break;
    }
    return ok ? GridTextFile::Lecture::Ok : GridTextFile::Lecture::Illisible;
}

void EncodeValue(int type, const ParsedValue& v, unsigned char* p) {
    switch (type) {
        case Integer2:
            StoreInt16LE(p, v.i2);
            break;
        case Integer4:
            StoreInt32LE(p, v.i4);
            break;
        case Real4:
            StoreReal4LE(p, v.r4);
            break;
        default:
            StoreReal8LE(p, v.r8);
            break;
    }
}

}  // namespace

std::string CGrille::Charger_Valeurs(bool console, int mode, UserInterface* ui) {
    std::string operation;
    // Reading failures name the text file being read, not the cache.
    const std::string source = NAME;
    if (mode == ModeSurDisque) {
        onDisk = true;
        GRID_TYPE = GrilleBinairePlenar;
        Extension_Selon_Type();
        // Only the existence of the cache is tested: once made, it is used as it is.
        if (std::FILE* existing = std::fopen(NAME.c_str(), "rb")) {
            std::fclose(existing);
            text_.file.reset();
            return "";
        }
        operation = "Création du fichier binaire ";
    } else {
        onDisk = false;
        operation = "Chargement de la grille ";
    }
    if (!text_.file) return "Impossible d'ouvrir le fichier \n" + NAME;
    GridTextFile& text = *text_.file;

    const int64_t nodes = NodeCount();
    const int n = VALUES_NUMBER;
    const int type = VALUES_TYPE;
    if (nodes <= 0 || n < 1 || type < Integer2 || type > Real8 || (!SEP && valueSize <= 0)) {
        text_.file.reset();
        return "Problème dans l'en-tête de\n" + NAME + " (position 0)";
    }

    CacheFile cache(NAME);
    std::vector<unsigned char> record;
    if (mode == ModeSurDisque) {
        if (!cache.Create() || !Ecrire_EnTete_Binaire(cache.Stream())) {
            text_.file.reset();
            return "Impossible d'ouvrir le fichier\n " + NAME;
        }
        record.resize(static_cast<size_t>(RecordSize()));
    } else {
        if (!AllouerValeurs(nodes)) {
            text_.file.reset();
            return "Mémoire insuffisante pour charger la grille\n" + NAME;
        }
    }

    LoadProgress progress(console, ui, operation, NAME, nodes);
    using Lecture = GridTextFile::Lecture;
    std::string failure;
    int64_t inRow = 0;
    int64_t node = 0;
    for (; node < nodes && failure.empty(); ++node) {
        if (rowWrap && inRow == N_COLUMNS) {
            text.ReadField(static_cast<size_t>(valueSize) + 1);  // the rest of the row's line
            inRow = 0;
        }
        Lecture got = Lecture::Ok;
        if (NODE_COORD_WRITTEN) {
            double coordinate = 0;
            got = text.ReadReal8(coordinate);
            if (got == Lecture::Ok) got = text.ReadReal8(coordinate);
        }
        bool endedLine = false;
        for (int k = 0; k < n && got == Lecture::Ok; ++k) {
            ParsedValue v;
            bool fieldEndedLine = false;
            got = SEP ? ReadFree(text, type, v)
                      : ReadFixed(text, type, static_cast<size_t>(valueSize), v, fieldEndedLine);
            endedLine = endedLine || fieldEndedLine;
            if (got != Lecture::Ok) break;
            const size_t at = static_cast<size_t>(node) * n + k;
            if (mode == ModeSurDisque) {
                EncodeValue(type, v, record.data() + static_cast<size_t>(k) * valueSize);
            } else {
                switch (type) {
                    case Integer2:
                        values16[at] = v.i2;
                        break;
                    case Integer4:
                        values32[at] = v.i4;
                        break;
                    case Real4:
                        valuesReal4[at] = v.r4;
                        break;
                    default:
                        valuesReal8[at] = v.r8;
                        break;
                }
            }
        }
        int32_t code = 0;
        if (got == Lecture::Ok && CODE_PREC) got = text.ReadInt32(code);

        if (got == Lecture::Fin) {
            failure = Formatted("Grille incomplète :\n%s\n(%lld noeuds lus sur %lld attendus)",
                                source, static_cast<long long>(node), static_cast<long long>(nodes));
            break;
        }
        if (got == Lecture::Illisible) {
            failure =
                Formatted("Valeur illisible dans la grille :\n%s\n(noeud %lld, octet %lld)", source,
                          static_cast<long long>(node + 1), static_cast<long long>(text.Offset()));
            break;
        }
        if (mode == ModeSurDisque) {
            if (CODE_PREC) StoreInt32LE(record.data() + static_cast<size_t>(n) * valueSize, code);
            if (std::fwrite(record.data(), 1, record.size(), cache.Stream()) != record.size()) {
                failure = "Impossible d'écrire le fichier\n" + NAME;
                break;
            }
        } else if (CODE_PREC) {
            codes[static_cast<size_t>(node)] = code;
        }
        // A short last field ends its row early: the next row starts on the next line.
        inRow = endedLine ? 0 : inRow + 1;
        if (!progress.NodeDone()) {
            failure = mode == ModeSurDisque ? "Création du fichier binaire " + NAME + " annulée"
                                            : "Chargement de la grille " + NAME + " annulé";
            break;
        }
    }
    progress.Finish();
    text_.file.reset();

    if (failure.empty() && mode == ModeSurDisque && !cache.Commit())
        failure = "Impossible d'écrire le fichier\n" + NAME;
    if (!failure.empty()) {
        loaded = false;
        if (mode != ModeSurDisque) LibererValeurs();
        return failure;
    }
    loaded = true;
    return "";
}

void CGrille::NativeLayout() {
    N_COLUMNS = CountFromLimits(X_MIN, X_MAX, X_INC);
    N_LINES = CountFromLimits(Y_MIN, Y_MAX, Y_INC);
    N_NODES = SaturateToInt32(static_cast<double>(N_COLUMNS) * N_LINES);
    NODE_COORD_UNIT = UniteDegres;
    INC_UNIT = UniteDegres;
    VALUES_LOCATION = 0;
    EAST_TO_WEST = 0;
    VALUES_UNIT = UniteMetres;
    Taille_Valeur();
}
