// The XML grid header: one element per header field under the root
// "GRID_HEADER". The reader applies the elements in a fixed order, so that
// for instance VALUES_NUMBER is known before TRANSLATION; the two writers
// produce the named form and the older numeric form.

#include "grids/xml_header.h"

#include <tinyxml2.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "shared/text_encoding.h"
#include "grids/grid_file_name.h"

namespace {

constexpr size_t kTextRoom = 259;  // usable characters of a text field

class HeaderReader {
public:
    HeaderReader(const tinyxml2::XMLElement* root, bool utf8) : root_(root), utf8_(utf8) {}

    // The text of the element's first child node, when it is text.
    const char* Text(const char* name) const {
        const tinyxml2::XMLElement* e = root_->FirstChildElement(name);
        if (!e) return nullptr;
        const tinyxml2::XMLNode* child = e->FirstChild();
        if (!child || !child->ToText()) return nullptr;
        return child->Value();
    }

    // Texts inside the program are UTF-8; the document's are ISO-8859-1
    // unless it declares UTF-8.
    std::string Internal(const char* text, size_t room) const {
        std::string raw(text);
        if (raw.size() > room) {
            raw.resize(room);
            if (utf8_) {  // do not cut a character in two
                while (!raw.empty() && (static_cast<unsigned char>(raw.back()) & 0xC0) == 0x80)
                    raw.pop_back();
                if (!raw.empty() && static_cast<unsigned char>(raw.back()) >= 0xC0) raw.pop_back();
            }
        }
        return utf8_ ? raw : Latin1ToUtf8(raw);
    }

    void Copy(const char* name, std::string& field, size_t room = kTextRoom) const {
        if (const char* t = Text(name)) field = Internal(t, room);
    }
    void Names(const char* name, const EnumNames& names, int& field) const {
        if (const char* t = Text(name)) {
            const int code = names.CodeOf(t);
            if (code >= 0) field = code;
        }
    }
    void YesNo(const char* name, int& field) const {
        if (const char* t = Text(name)) {
            if (std::strcmp(t, "NO") == 0) field = 0;
            if (std::strcmp(t, "YES") == 0) field = 1;
        }
    }
    void Real(const char* name, double& field, bool undefinedIsZero = false) const {
        if (const char* t = Text(name)) {
            if (undefinedIsZero && std::strcmp(t, "UNDEFINED") == 0) {
                field = 0;
            } else {
                LeadingNumber(t, field);
            }
        }
    }
    void Integer(const char* name, int32_t& field, bool undefinedIsZero = false) const {
        if (const char* t = Text(name)) {
            if (undefinedIsZero && std::strcmp(t, "UNDEFINED") == 0) {
                field = 0;
            } else {
                LeadingNumber(t, field);
            }
        }
    }

    // The longest leading number of a text, after blanks; a text that does
    // not start with a (finite) number leaves v unchanged.
    template <class T>
    static bool LeadingNumber(const char* text, T& v) {
        const char* first = text;
        while (*first == ' ' || *first == '\t' || *first == '\n' || *first == '\r') ++first;
        if (*first == '+') ++first;
        const char* last = first + std::strlen(first);
        T parsed{};
        std::from_chars_result r;
        if constexpr (std::is_floating_point_v<T>) {
            r = std::from_chars(first, last, parsed, std::chars_format::general);
            if (r.ec == std::errc() && !std::isfinite(parsed)) return false;
        } else {
            r = std::from_chars(first, last, parsed);
        }
        if (r.ec != std::errc()) return false;
        v = parsed;
        return true;
    }

private:
    const tinyxml2::XMLElement* root_;
    bool utf8_;
};

bool DeclaresUtf8(const tinyxml2::XMLDocument& doc) {
    if (doc.HasBOM()) return true;
    for (const tinyxml2::XMLNode* n = doc.FirstChild(); n; n = n->NextSibling()) {
        if (const tinyxml2::XMLDeclaration* d = n->ToDeclaration()) {
            std::string text = d->Value();
            for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return text.find("utf-8") != std::string::npos ||
                   text.find("utf8") != std::string::npos;
        }
    }
    return false;
}

}  // namespace

std::string Lire_Xml(GridHeader& g, const std::string& fileName, const std::string& folder) {
    const std::string name = fileName.empty() ? XmlHeaderName(g.NAME) : fileName;
    std::FILE* file = std::fopen(GridPath(folder, name).c_str(), "rb");
    if (!file) return "Fichier " + name + " introuvable";
    tinyxml2::XMLDocument doc;
    const tinyxml2::XMLError loaded = doc.LoadFile(file);
    std::fclose(file);
    if (loaded != tinyxml2::XML_SUCCESS)
        return "Fichier " + name + " non chargé.\nUne piste : l'élément CDATA n'est pas supporté.";
    const tinyxml2::XMLElement* root = doc.FirstChildElement("GRID_HEADER");
    if (!root) return "Balise non trouvée : \n<GRID_HEADER>";

    const HeaderReader r(root, DeclaresUtf8(doc));
    r.Names("GRID_TYPE", kGridTypeNames, g.GRID_TYPE);
    if (g.NAME.empty() || g.NAME == "UNDEFINED") r.Copy("NAME", g.NAME);
    r.Copy("ORIGIN", g.ORIGIN);
    r.Copy("CREATED", g.CREATED);
    r.Copy("VERSION", g.VERSION);
    r.Copy("KEY", g.KEY);
    r.Copy("DESC", g.DESC, std::numeric_limits<size_t>::max());
    r.Names("LAYOUT", kLayoutNames, g.LAYOUT);
    r.Integer("N_NODES", g.N_NODES);
    r.Integer("N_COLUMNS", g.N_COLUMNS);
    r.Integer("N_LINES", g.N_LINES);
    r.Real("X_INC", g.X_INC, true);
    r.Real("Y_INC", g.Y_INC, true);
    r.Real("X_MIN", g.X_MIN);
    r.Real("X_MAX", g.X_MAX);
    r.Real("Y_MIN", g.Y_MIN);
    r.Real("Y_MAX", g.Y_MAX);
    r.Names("NODE_COORD_TYPE", kNodeCoordTypeNames, g.NODE_COORD_TYPE);
    r.Names("INC_UNIT", kUnitNames, g.INC_UNIT);
    r.Names("NODE_COORD_UNIT", kUnitNames, g.NODE_COORD_UNIT);
    r.YesNo("NODE_COORD_WRITTEN", g.NODE_COORD_WRITTEN);
    r.YesNo("EAST_TO_WEST", g.EAST_TO_WEST);
    if (const char* t = r.Text("VALUES_LOCATION"))
        g.VALUES_LOCATION = std::strcmp(t, "PIXEL_CENTER") == 0 ? 1 : 0;
    r.YesNo("SEP", g.SEP);
    r.Integer("VALUES_NUMBER", g.VALUES_NUMBER, true);
    r.YesNo("CODE_PREC", g.CODE_PREC);
    r.Names("VALUES_TYPE", kValueTypeNames, g.VALUES_TYPE);
    r.Real("VALUE_UNK", g.VALUE_UNK);
    r.YesNo("VALUE_UNK_TO_ZERO", g.VALUE_UNK_TO_ZERO);
    if (const char* t = r.Text("TRANSLATION")) {
        // VALUES_NUMBER translations from the comma-separated text; missing
        // ones are 0. A count the check will refuse leaves the array alone.
        if (g.VALUES_NUMBER >= 0 && g.VALUES_NUMBER <= kMostValuesPerNode) {
            std::string text(t);
            if (text.size() > kTextRoom) text.resize(kTextRoom);
            g.TRANSLATION.assign(static_cast<size_t>(g.VALUES_NUMBER), 0.0);
            size_t start = 0;
            for (double& translation : g.TRANSLATION) {
                if (start > text.size()) break;
                size_t comma = text.find(',', start);
                if (comma == std::string::npos) comma = text.size();
                const std::string item = text.substr(start, comma - start);
                HeaderReader::LeadingNumber(item.c_str(), translation);
                start = comma + 1;
            }
        }
    }
    r.Real("VALUES_MIN", g.VALUES_MIN);
    r.Real("VALUES_MAX", g.VALUES_MAX);
    r.Names("VALUES_UNIT", kUnitNames, g.VALUES_UNIT);
    r.Names("INTERPOLATION_TYPE", kInterpolationNames, g.INTERPOLATION_TYPE);
    r.Integer("INTERPOLATION_ORDER", g.INTERPOLATION_ORDER, true);
    r.Copy("CRS_CODE_F", g.CRS_CODE_F);
    r.Copy("SYSTEM_F", g.SYSTEM_F);
    r.Real("MAJOR_F", g.MAJOR_F, true);
    r.Real("MINOR_F", g.MINOR_F, true);
    r.Real("SQ_EXC_F", g.SQ_EXC_F, true);
    r.Copy("CRS_CODE_T", g.CRS_CODE_T);
    r.Copy("SYSTEM_T", g.SYSTEM_T);
    r.Real("MAJOR_T", g.MAJOR_T, true);
    r.Real("MINOR_T", g.MINOR_T, true);
    r.Real("SQ_EXC_T", g.SQ_EXC_T, true);
    r.Integer("NODE_COORD_SYST", g.NODE_COORD_SYST);
    r.Integer("SHIFT_TYPE", g.SHIFT_TYPE);
    g.Taille_Valeur();
    return "";
}

namespace {

// An XML file written as ISO-8859-1 text with CR LF line ends.
class XmlWriter {
public:
    explicit XmlWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
    ~XmlWriter() {
        if (file_) std::fclose(file_);
    }
    bool Ok() const { return file_ != nullptr; }

    void Line(const std::string& text) {
        std::fputs(text.c_str(), file_);
        std::fputs("\r\n", file_);
    }
    void Element(const char* name, const std::string& value) {
        Line(std::string("\t<") + name + ">" + value + "</" + name + ">");
    }
    // A text of the program (UTF-8) as ISO-8859-1 with "&", "<", ">" escaped.
    static std::string Text(const std::string& utf8) {
        std::string out;
        for (char c : Utf8ToLatin1(utf8)) {
            switch (c) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                default:
                    out.push_back(c);
            }
        }
        return out;
    }

private:
    std::FILE* file_;
};

std::string Format(const char* format, double v) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}
std::string Fixed15OrUndefined(double v) {
    return v == 0 ? "UNDEFINED" : Format("%.15f", v);
}
std::string Fixed4OrUndefined(double v) {
    return v == 0 ? "UNDEFINED" : Format("%.4f", v);
}
std::string Fixed12OrUndefined(double v) {
    return v == 0 ? "UNDEFINED" : Format("%.12f", v);
}
std::string General(double v) {
    return Format("%g", v);
}
std::string IntOrUndefined(int v) {
    return v == 0 ? "UNDEFINED" : std::to_string(v);
}

double TranslationOf(const GridHeader& g, int k) {
    return k < static_cast<int>(g.TRANSLATION.size()) ? g.TRANSLATION[static_cast<size_t>(k)] : 0.0;
}

// The elements that both forms write alike: where the grid comes from,
void WriteProvenance(XmlWriter& w, const GridHeader& h) {
    w.Element("ORIGIN", XmlWriter::Text(h.ORIGIN));
    w.Element("CREATED", XmlWriter::Text(h.CREATED));
    w.Element("VERSION", XmlWriter::Text(h.VERSION));
    w.Element("KEY", XmlWriter::Text(h.KEY));
}
// its layout and counts,
void WriteCounts(XmlWriter& w, const GridHeader& h) {
    w.Element("LAYOUT", kLayoutNames.NameOf(h.LAYOUT));
    w.Element("N_NODES", std::to_string(h.N_NODES));
    w.Element("N_COLUMNS", std::to_string(h.N_COLUMNS));
    w.Element("N_LINES", std::to_string(h.N_LINES));
}
// and its node coordinates.
void WriteNodeCoordinates(XmlWriter& w, const GridHeader& h) {
    w.Element("NODE_COORD_TYPE", kNodeCoordTypeNames.NameOf(h.NODE_COORD_TYPE));
    w.Element("INC_UNIT", kUnitNames.NameOf(h.INC_UNIT));
    w.Element("NODE_COORD_UNIT", kUnitNames.NameOf(h.NODE_COORD_UNIT));
    w.Element("NODE_COORD_WRITTEN", YesNo(h.NODE_COORD_WRITTEN));
    w.Element("EAST_TO_WEST", YesNo(h.EAST_TO_WEST));
}

const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>";

}  // namespace

void Ecrire_Xml(const GridHeader& h, const std::string& path) {
    XmlWriter w(path.empty() ? XmlHeaderName(h.NAME) : path);
    if (!w.Ok()) return;
    // Limits as the file gives them: westward values for an east-to-west grid.
    const double xMin = h.EAST_TO_WEST ? -h.X_MAX : h.X_MIN;
    const double xMax = h.EAST_TO_WEST ? -h.X_MIN : h.X_MAX;
    w.Line(kDeclaration);
    w.Line("<GRID_HEADER>");
    w.Element("GRID_TYPE", kGridTypeNames.NameOf(h.GRID_TYPE));
    WriteProvenance(w, h);
    WriteCounts(w, h);
    w.Element("X_INC", Fixed15OrUndefined(h.X_INC));
    w.Element("Y_INC", Fixed15OrUndefined(h.Y_INC));
    w.Element("X_MIN", Format("%.15f", xMin));
    w.Element("X_MAX", Format("%.15f", xMax));
    w.Element("Y_MIN", Format("%.15f", h.Y_MIN));
    w.Element("Y_MAX", Format("%.15f", h.Y_MAX));
    WriteNodeCoordinates(w, h);
    w.Element("VALUES_LOCATION", h.VALUES_LOCATION == 1 ? "PIXEL_CENTER" : "NODE");
    w.Element("SEP", YesNo(h.SEP));
    w.Element("VALUES_NUMBER", IntOrUndefined(h.VALUES_NUMBER));
    w.Element("CODE_PREC", YesNo(h.CODE_PREC));
    w.Element("VALUES_TYPE", kValueTypeNames.NameOf(h.VALUES_TYPE));
    w.Element("VALUE_UNK", General(h.VALUE_UNK));
    w.Element("VALUE_UNK_TO_ZERO", YesNo(h.VALUE_UNK_TO_ZERO));
    if (h.VALUES_NUMBER > 0) {
        std::string list;
        for (int k = 0; k < h.VALUES_NUMBER; ++k)
            list += (k ? "," : "") + General(TranslationOf(h, k));
        w.Element("TRANSLATION", list);
    }
    w.Element("VALUES_MIN", General(h.VALUES_MIN));
    w.Element("VALUES_MAX", General(h.VALUES_MAX));
    w.Element("VALUES_UNIT", kUnitNames.NameOf(h.VALUES_UNIT));
    w.Element("INTERPOLATION_TYPE", kInterpolationNames.NameOf(h.INTERPOLATION_TYPE));
    w.Element("INTERPOLATION_ORDER", IntOrUndefined(h.INTERPOLATION_ORDER));
    w.Element("CRS_CODE_F", XmlWriter::Text(h.CRS_CODE_F));
    w.Element("SYSTEM_F", XmlWriter::Text(h.SYSTEM_F));
    w.Element("MAJOR_F", Fixed4OrUndefined(h.MAJOR_F));
    w.Element("MINOR_F", Fixed4OrUndefined(h.MINOR_F));
    w.Element("SQ_EXC_F", Fixed12OrUndefined(h.SQ_EXC_F));
    w.Element("CRS_CODE_T", XmlWriter::Text(h.CRS_CODE_T));
    w.Element("SYSTEM_T", XmlWriter::Text(h.SYSTEM_T));
    w.Element("MAJOR_T", Fixed4OrUndefined(h.MAJOR_T));
    w.Element("MINOR_T", Fixed4OrUndefined(h.MINOR_T));
    w.Element("SQ_EXC_T", Fixed12OrUndefined(h.SQ_EXC_T));
    w.Element("NODE_COORD_SYST", std::to_string(h.NODE_COORD_SYST));
    w.Element("SHIFT_TYPE", std::to_string(h.SHIFT_TYPE));
    w.Line("</GRID_HEADER>");
}

void Ecrire_Xml_Numerique(const GridHeader& h, const std::string& path) {
    XmlWriter w(path);
    if (!w.Ok()) return;
    const double xMin = h.EAST_TO_WEST ? -h.X_MAX : h.X_MIN;
    const double xMax = h.EAST_TO_WEST ? -h.X_MIN : h.X_MAX;
    // The integer part of the unknown value, kept within the integer range.
    const double unknown = std::trunc(h.VALUE_UNK);
    const int unknownInt =
        std::isnan(unknown)                          ? 0
        : unknown >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
        : unknown <= std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                     : static_cast<int>(unknown);
    w.Line(kDeclaration);
    w.Line("<GRID_HEADER>");
    w.Element("GRID_TYPE", kGridTypeNames.NameOf(h.GRID_TYPE));
    w.Element("NAME", XmlWriter::Text(h.NAME));
    WriteProvenance(w, h);
    w.Element("DESC", XmlWriter::Text(h.DESC));
    WriteCounts(w, h);
    w.Element("X_INC", Format("%lf", h.X_INC));
    w.Element("Y_INC", Format("%lf", h.Y_INC));
    w.Element("X_MIN", Format("%lf", xMin));
    w.Element("X_MAX", Format("%lf", xMax));
    w.Element("Y_MIN", Format("%lf", h.Y_MIN));
    w.Element("Y_MAX", Format("%lf", h.Y_MAX));
    WriteNodeCoordinates(w, h);
    w.Element("VALUES_LOCATION", YesNo(h.VALUES_LOCATION));
    w.Element("SEP", YesNo(h.SEP));
    w.Element("VALUES_NUMBER", std::to_string(h.VALUES_NUMBER));
    w.Element("CODE_PREC", YesNo(h.CODE_PREC));
    w.Element("VALUES_TYPE", std::to_string(h.VALUES_TYPE));
    w.Element("VALUE_UNK", std::to_string(unknownInt));
    w.Element("VALUE_UNK_TO_ZERO", YesNo(h.VALUE_UNK_TO_ZERO));
    std::string list;
    for (int k = 0; k < h.VALUES_NUMBER; ++k)
        list += (k ? "," : "") + Format("%lf", TranslationOf(h, k));
    w.Element("TRANSLATION", list);
    w.Element("VALUES_MIN", Format("%lf", h.VALUES_MIN));
    w.Element("VALUES_MAX", Format("%lf", h.VALUES_MAX));
    w.Element("VALUES_UNIT", kUnitNames.NameOf(h.VALUES_UNIT));
    w.Element("INTERPOLATION_TYPE", std::to_string(h.INTERPOLATION_TYPE));
    w.Element("INTERPOLATION_ORDER", std::to_string(h.INTERPOLATION_ORDER));
    w.Element("CRS_CODE_F", XmlWriter::Text(h.CRS_CODE_F));
    w.Element("SYSTEM_F", XmlWriter::Text(h.SYSTEM_F));
    w.Element("MAJOR_F", Format("%.4lf", h.MAJOR_F));
    w.Element("MINOR_F", Format("%.4lf", h.MINOR_F));
    w.Element("SQ_EXC_F", Format("%.12lf", h.SQ_EXC_F));
    w.Element("CRS_CODE_T", XmlWriter::Text(h.CRS_CODE_T));
    w.Element("SYSTEM_T", XmlWriter::Text(h.SYSTEM_T));
    w.Element("MAJOR_T", Format("%.4lf", h.MAJOR_T));
    w.Element("MINOR_T", Format("%.4lf", h.MINOR_T));
    w.Element("SQ_EXC_T", Format("%.12lf", h.SQ_EXC_T));
    w.Element("NODE_COORD_SYST", std::to_string(h.NODE_COORD_SYST));
    w.Element("SHIFT_TYPE", std::to_string(h.SHIFT_TYPE));
    w.Line("</GRID_HEADER>");
}
