#include "grids/header_tokenizer.h"

#include <cstdio>

#include "app/text_encoding.h"

namespace {

bool IsRealChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-';
}
bool IsIntegerChar(char c) {
    return (c >= '0' && c <= '9') || c == '-';
}

}  // namespace

int Lire_Champ(char separator, const std::string& line, int& position, std::string& token,
               ChampKind kind) {
    const int size = static_cast<int>(line.size());
    int p = position < 0 ? 0 : position;
    token.clear();

    while (p < size && line[p] == separator) ++p;
    while (p < size && line[p] != separator) {
        const char c = line[p];
        if (kind == ChampKind::ReelForce && !IsRealChar(c)) break;
        if (kind == ChampKind::EntierForce && !IsIntegerChar(c)) break;
        token.push_back(c);
        ++p;
    }
    if (!token.empty() && token.back() == '\n') token.pop_back();
    if (!token.empty() && token.back() == '\r') token.pop_back();

    if (kind == ChampKind::ReelForce || kind == ChampKind::EntierForce) {
        position = p;
        return 0;
    }

    const bool separatorFollows = p < size && line[p] == separator;
    position = p + 1;
    if (kind == ChampKind::Reel) {
        for (char c : token) {
            if (!IsRealChar(c)) {
                char message[96];
                std::snprintf(message, sizeof message,
                              "Réel attendu dans l'en-tête peu avant la position %d", position);
                token = message;
                position = -1;
                return -1;
            }
        }
    } else if (kind == ChampKind::Entier) {
        for (char c : token) {
            if (!IsIntegerChar(c)) {
                token = "Entier attendu dans : \n" + Latin1ToUtf8(line) +
                        "\n(peu avant la position " + std::to_string(position);
                position = -1;
                return -1;
            }
        }
    }
    return separatorFollows ? 0 : 2;
}
