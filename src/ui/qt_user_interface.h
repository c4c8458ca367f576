#pragma once

#include <QPointer>
#include <QWidget>

#include "shared/user_interface.h"

// The window's user interface: message boxes with their icons and buttons,
// the open and save file dialogs and the progress window, over the main
// window when it is set.
class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowError(const std::string& text, const std::string& caption) override;
    void ShowWarning(const std::string& text, const std::string& caption) override;
    void ShowInformation(const std::string& text, const std::string& caption) override;
    void ShowPlain(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    bool AskYesNoWithIcon(const std::string& text, const std::string& caption, QuestionIcon icon,
                          bool noByDefault) override;
    std::unique_ptr<Progress> CreateProgress(const std::string& caption,
                                             const std::string& text) override;
    std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
    [[noreturn]] void Exit(int code) override;

private:
    QPointer<QWidget> owner_;
};

// The filter of a file dialog ("description|patterns|...||") in Qt's form
// ("description (patterns);;..."), patterns separated by blanks.
QString QtFileFilter(const std::string& filter);
