#include "runs/text_conventions.h"

#include <cctype>

namespace {

std::string Lowered(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '-' && c != '_' && c != ' ') {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

}  // namespace

std::string ConventionsText(const TextConventions& conventions) {
    std::string text = "séparateur ";
    switch (conventions.separator) {
        case '\0':
            text += "blancs";
            break;
        case '\t':
            text += "tabulation";
            break;
        default:
            text += std::string("« ") + conventions.separator + " »";
            break;
    }
    text += conventions.decimalMark == ',' ? ", virgule décimale" : ", point décimal";
    if (conventions.titleRow) text += ", ligne de titres";
    if (conventions.quoted) text += ", noms entre guillemets";
    switch (conventions.encoding) {
        case PointFileEncoding::Latin1:
            text += ", ISO-8859-1";
            break;
        case PointFileEncoding::Utf8:
            text += ", UTF-8";
            break;
        case PointFileEncoding::Utf8Mark:
            text += ", UTF-8 avec BOM";
            break;
    }
    return text;
}

TextConventions OutputConventionsOf(const TextConventions& input) {
    return input.Delimited() ? input : TextConventions{};
}

bool ReadSeparatorName(const std::string& name, char& separator) {
    if (name == ";" || name == "," || name == "\t") {
        separator = name[0];
        return true;
    }
    const std::string word = Lowered(name);
    if (word == "tab" || word == "tabulation" || word == "\\t") {
        separator = '\t';
    } else if (word == "pointvirgule" || word == "pv") {
        separator = ';';
    } else if (word == "virgule") {
        separator = ',';
    } else if (word == "blanc" || word == "blancs" || word == "espace" || word == "espaces" ||
               name == " ") {
        separator = '\0';
    } else {
        return false;
    }
    return true;
}

bool ReadDecimalMarkName(const std::string& name, char& mark) {
    const std::string word = Lowered(name);
    if (name == "." || word == "point") {
        mark = '.';
    } else if (name == "," || word == "virgule") {
        mark = ',';
    } else {
        return false;
    }
    return true;
}

bool ReadEncodingName(const std::string& name, PointFileEncoding& encoding) {
    const std::string word = Lowered(name);
    if (word == "latin1" || word == "iso88591") {
        encoding = PointFileEncoding::Latin1;
    } else if (word == "utf8") {
        encoding = PointFileEncoding::Utf8;
    } else if (word == "utf8bom") {
        encoding = PointFileEncoding::Utf8Mark;
    } else {
        return false;
    }
    return true;
}
