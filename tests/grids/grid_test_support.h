#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "grids/grid.h"

// A folder of its own for each test, made the current directory while the
// test runs (grid file names are relative to it) and removed afterwards.
class GridFolder {
public:
    GridFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-grids-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~GridFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

    static void Write(const std::string& name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary);
        out << bytes;
    }
    static std::string Read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool Exists(const std::string& name) { return std::filesystem::exists(name); }
    // Names of the files in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_, previous_;
};

// An XML header naming only what the format cannot say.
inline std::string XmlHeader(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n" + elements + "</GRID_HEADER>\n";
}
inline std::string BilinearXml() { return XmlHeader("\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n"); }

// A progress window that records what it was told and cancels on request.
class RecordingProgress : public Progress {
public:
    RecordingProgress(int cancelAfterSteps, int& steps) : cancelAfter_(cancelAfterSteps), steps_(steps) {}
    void SetRange(int lower, int upper) override { lower_ = lower, upper_ = upper; }
    void SetStep(int) override {}
    void SetPos(int) override {}
    void StepIt() override { ++steps_; }
    void SetStatus(const std::string&) override {}
    bool CheckCancel() override { return cancelAfter_ >= 0 && steps_ >= cancelAfter_; }
    int lower_ = 0, upper_ = 0;

private:
    int cancelAfter_;
    int& steps_;
};

class RecordingInterface : public UserInterface {
public:
    void ShowError(const std::string& text, const std::string&) override { errors.push_back(text); }
    void ShowWarning(const std::string& text, const std::string&) override { warnings.push_back(text); }
    void ShowInformation(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    std::unique_ptr<Progress> CreateProgress(const std::string& caption, const std::string& text) override {
        progressCaption = caption;
        progressText = text;
        return std::make_unique<RecordingProgress>(cancelAfterSteps, steps);
    }
    [[noreturn]] void Exit(int code) override { throw code; }

    std::vector<std::string> errors, warnings;
    std::string progressCaption, progressText;
    int cancelAfterSteps = -1;  // -1: never cancel
    int steps = 0;
};
