#pragma once

#include <memory>
#include <optional>
#include <string>

// A progress window (or its console or test stand-in) that long operations
// advance. Cancel only sets a flag that the operation reads at its next check.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetRange(int lower, int upper) = 0;
    virtual void SetStep(int step) = 0;
    virtual void SetPos(int position) = 0;
    virtual void StepIt() = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // Lets the interface repaint and reports whether the user asked to cancel.
    virtual bool CheckCancel() = 0;
};

// An open-file or save-file dialog. The filter is the list of pairs
// "description|patterns|" ending with "||", as in
// "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*||".
struct FileDialogRequest {
    bool save = false;  // save dialog; open dialog otherwise
    std::string filter;
    std::string defaultExtension;  // added to a name typed without one
    std::string initialName;
    std::string initialFolder;
    bool confirmOverwrite = false;  // save dialog: ask before replacing a file
};

// How the core reaches the user: message boxes, questions, file dialogs,
// progress and process exit. The window, the console and the tests each
// provide their own implementation. Texts are UTF-8.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual void ShowError(const std::string& text, const std::string& caption) = 0;
    virtual void ShowWarning(const std::string& text, const std::string& caption) = 0;
    virtual void ShowInformation(const std::string& text, const std::string& caption) = 0;
    // true for "Oui", false for "Non".
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A message box without icon; interfaces that draw no icons show it as information.
    virtual void ShowPlain(const std::string& text, const std::string& caption) {
        ShowInformation(text, caption);
    }
    // A Yes/No question drawn with the warning or error icon, "Non" being the
    // default button when `noByDefault`; interfaces without icons ask it plainly.
    enum class QuestionIcon { Question, Warning, Error };
    virtual bool AskYesNoWithIcon(const std::string& text, const std::string& caption, QuestionIcon icon,
                          bool noByDefault) {
        (void)icon;
        (void)noByDefault;
        return AskYesNo(text, caption);
    }
    // A progress window with the given caption and text; null when it could not be created.
    virtual std::unique_ptr<Progress> CreateProgress(const std::string& caption,
                                                     const std::string& text) = 0;
    // The chosen file's full path; nothing when the user cancels or the
    // interface has no dialog (the console).
    virtual std::optional<std::string> AskFileName(const FileDialogRequest& request) {
        (void)request;
        return std::nullopt;
    }
    // Ends the program with the given code. Test implementations record the
    // request and throw instead, so callers must not rely on what follows.
    [[noreturn]] virtual void Exit(int code) = 0;
};
