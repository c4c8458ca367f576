#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

// The layers of src/, bottom first, as the build declares them, with the
// window on top: a file may include only from its own folder and the
// folders below it.
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
    return parts;
}

std::vector<std::string> BuildLayers() {
    std::vector<std::string> layers = Split(QUORVEL_LAYERS, ',');
    layers.push_back("ui");
    return layers;
}

int LayerIndex(const std::vector<std::string>& layers, const std::string& folder) {
    const auto found = std::find(layers.begin(), layers.end(), folder);
    return found == layers.end() ? -1 : static_cast<int>(found - layers.begin());
}

// Every include of a project header that reaches above the including
// file's layer, or into a folder that is no layer, as "file:line: include".
std::vector<std::string> UpwardIncludes(const fs::path& source,
                                        const std::vector<std::string>& layers) {
    std::vector<std::string> faults;
    const std::regex include(R"(^\s*#\s*include\s*"([^"/]+)/[^"]*")");
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), source);
        if (relative.begin() == relative.end() || std::next(relative.begin()) == relative.end())
            continue;  // files at the top of src/ (the program's entry) may include anything
        const std::string folder = relative.begin()->string();
        const int own = LayerIndex(layers, folder);
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            const int included = LayerIndex(layers, match[1]);
            if (own < 0 || included < 0 || included > own) {
                faults.push_back(relative.string() + ":" + std::to_string(number) + ": " + line);
            }
        }
    }
    std::sort(faults.begin(), faults.end());
    return faults;
}

// The folders of the layer table that opens the architecture page, in the
// order the page lists them (top first).
std::vector<std::string> DocumentedLayers() {
    std::ifstream page(QUORVEL_SOURCE_DIR "/docs/architecture.md");
    std::vector<std::string> folders;
    const std::regex row(R"(^\|\s*\d+\s*\|\s*`src/([a-z_]+)/`)");
    for (std::string line; std::getline(page, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row)) folders.push_back(match[1]);
    }
    return folders;
}

}  // namespace

TEST(Layers, NoFileIncludesFromALayerAboveItsOwn) {
    const std::vector<std::string> faults =
        UpwardIncludes(QUORVEL_SOURCE_DIR "/src", BuildLayers());
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
}

TEST(Layers, EverySourceFolderIsALayer) {
    for (const auto& entry : fs::directory_iterator(QUORVEL_SOURCE_DIR "/src")) {
        if (!entry.is_directory()) continue;
        EXPECT_GE(LayerIndex(BuildLayers(), entry.path().filename().string()), 0)
            << entry.path();
    }
}

TEST(Layers, TheArchitecturePageDeclaresTheBuildOrder) {
    std::vector<std::string> documented = DocumentedLayers();
    std::reverse(documented.begin(), documented.end());
    EXPECT_EQ(BuildLayers(), documented);
}

TEST(Layers, TheCheckFindsUpwardIncludes) {
    TempDir tree;
    const std::vector<std::string> layers = {"low", "middle", "high"};
    const std::pair<const char*, const char*> files[] = {
        {"low/a.h", "#include <vector>\n#include \"low/b.h\"\n"},
        {"middle/c.cpp", "#include \"low/a.h\"\n#include \"middle/d.h\"\n"},
        {"low/e.cpp", "// first line\n  #  include \"high/f.h\"\n"},
        {"middle/g.h", "#include \"elsewhere/h.h\"\n"},
        {"stray/i.cpp", "#include \"low/a.h\"\n"},
        {"main.cpp", "#include \"high/f.h\"\n"},
    };
    for (const auto& [name, text] : files) {
        fs::create_directories(fs::path(tree.File(name)).parent_path());
        tree.Write(name, text);
    }
    const std::vector<std::string> expected = {
        "low/e.cpp:2:   #  include \"high/f.h\"",        // upwards
        "middle/g.h:1: #include \"elsewhere/h.h\"",      // into no layer
        "stray/i.cpp:1: #include \"low/a.h\"",           // from no layer
    };
    EXPECT_EQ(expected, UpwardIncludes(tree.path(), layers));
}
