#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "shared/user_interface.h"

// The user interface of console batch mode. Errors and warnings go to the
// error stream, information and progress to the output stream; captions are
// window titles and are not printed. Yes/No questions are read from the
// input when it is a terminal ("o" or "y" for Oui, "n" for Non); when the
// input is not a terminal or reaches its end, the question is printed with
// the unattended answer, so that a script never waits and its log shows
// what was decided. There is no file dialog: AskFileName gives nothing.
class ConsoleInterface : public UserInterface {
public:
    explicit ConsoleInterface(bool unattendedAnswer = false, std::FILE* out = stdout,
                              std::FILE* err = stderr, int inputFd = 0);

    void ShowError(const std::string& text, const std::string& caption) override;
    void ShowWarning(const std::string& text, const std::string& caption) override;
    void ShowInformation(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::unique_ptr<Progress> CreateProgress(const std::string& caption,
                                             const std::string& text) override;
    [[noreturn]] void Exit(int code) override;

private:
    std::optional<std::string> ReadAnswerLine();

    bool unattendedAnswer_;
    std::FILE* out_;
    std::FILE* err_;
    int inputFd_;
};
