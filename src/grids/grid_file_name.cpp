#include "grids/grid_file_name.h"

GridFileName SplitGridFileName(const std::string& name) {
    const size_t slash = name.find_last_of("/\\");
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot < base) return {name, ""};
    return {name.substr(0, dot), name.substr(dot)};
}

std::string XmlHeaderName(const std::string& gridName) {
    return SplitGridFileName(gridName).stem + ".xml";
}

std::string GridPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || (!name.empty() && name[0] == '/')) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}
