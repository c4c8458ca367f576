#include "grids/header_tokenizer.h"

#include <charconv>
#include <cstdio>

#include "shared/text_encoding.h"

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

double TokenReal(const std::string& token) {
    double v = 0;
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+') ++first;
    const auto r = std::from_chars(first, last, v, std::chars_format::fixed);
    return r.ec == std::errc() ? v : 0;
}

int32_t TokenInteger(const std::string& token) {
    int32_t v = 0;
    const auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    return r.ec == std::errc() ? v : 0;
}
