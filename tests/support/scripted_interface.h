#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shared/user_interface.h"

// Thrown by ScriptedInterface::Exit in place of ending the test program.
struct ScriptedExit {
    int code;
};

// A user interface for tests: records every message, answers questions and
// file dialogs from queues, records progress calls, and turns Exit into a
// ScriptedExit exception after recording the code.
class ScriptedInterface : public UserInterface {
public:
    enum class Kind { Error, Warning, Information, Plain, Question };
    struct Message {
        Kind kind;
        std::string text;
        std::string caption;
        // Questions asked with an icon: the icon and whether "Non" is the default.
        QuestionIcon icon = QuestionIcon::Question;
        bool noByDefault = false;
    };
    // One call on a progress object: "create", "range", "step", "pos",
    // "stepit", "status", "cancel?", "destroy".
    struct ProgressCall {
        std::string call;
        int a = 0;
        int b = 0;
        std::string text;
    };

    std::vector<Message> messages;
    std::deque<bool> answers;                          // Yes/No answers, taken from the front
    bool answerWhenEmpty = false;                      // when the queue is exhausted
    int unscriptedQuestions = 0;                       // questions asked with an empty queue
    std::deque<std::optional<std::string>> fileNames;  // dialog results; empty = cancel
    std::vector<FileDialogRequest> fileDialogs;
    std::shared_ptr<std::vector<ProgressCall>> progress =
        std::make_shared<std::vector<ProgressCall>>();
    bool progressFails = false;  // CreateProgress gives null
    int cancelAtCheck = -1;      // the n-th CheckCancel (from 1) and later ones return true
    std::optional<int> exitCode;

    void ShowError(const std::string& text, const std::string& caption) override {
        messages.push_back({Kind::Error, text, caption});
    }
    void ShowWarning(const std::string& text, const std::string& caption) override {
        messages.push_back({Kind::Warning, text, caption});
    }
    void ShowInformation(const std::string& text, const std::string& caption) override {
        messages.push_back({Kind::Information, text, caption});
    }
    void ShowPlain(const std::string& text, const std::string& caption) override {
        messages.push_back({Kind::Plain, text, caption});
    }
    bool AskYesNoWithIcon(const std::string& text, const std::string& caption, QuestionIcon icon,
                          bool noByDefault) override {
        const bool answer = AskYesNo(text, caption);
        messages.back().icon = icon;
        messages.back().noByDefault = noByDefault;
        return answer;
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        messages.push_back({Kind::Question, text, caption});
        if (answers.empty()) {
            ++unscriptedQuestions;
            return answerWhenEmpty;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        if (fileNames.empty()) return std::nullopt;
        std::optional<std::string> name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
    std::unique_ptr<Progress> CreateProgress(const std::string& caption,
                                             const std::string& text) override {
        progress->push_back({"create", 0, 0, caption + "|" + text});
        if (progressFails) return nullptr;
        return std::make_unique<ScriptedProgress>(progress, cancelAtCheck);
    }
    [[noreturn]] void Exit(int code) override {
        exitCode = code;
        throw ScriptedExit{code};
    }

    // Messages of one kind, in order.
    std::vector<Message> Of(Kind kind) const {
        std::vector<Message> out;
        for (const Message& m : messages) {
            if (m.kind == kind) out.push_back(m);
        }
        return out;
    }

private:
    class ScriptedProgress : public Progress {
    public:
        ScriptedProgress(std::shared_ptr<std::vector<ProgressCall>> log, int cancelAt)
            : log_(std::move(log)), cancelAt_(cancelAt) {}
        ~ScriptedProgress() override { log_->push_back({"destroy", 0, 0, ""}); }
        void SetRange(int lower, int upper) override {
            log_->push_back({"range", lower, upper, ""});
        }
        void SetStep(int step) override { log_->push_back({"step", step, 0, ""}); }
        void SetPos(int position) override { log_->push_back({"pos", position, 0, ""}); }
        void StepIt() override { log_->push_back({"stepit", 0, 0, ""}); }
        void SetStatus(const std::string& text) override {
            log_->push_back({"status", 0, 0, text});
        }
        bool CheckCancel() override {
            ++checks_;
            const bool cancel = cancelAt_ > 0 && checks_ >= cancelAt_;
            log_->push_back({"cancel?", checks_, cancel ? 1 : 0, ""});
            return cancel;
        }

    private:
        std::shared_ptr<std::vector<ProgressCall>> log_;
        int cancelAt_;
        int checks_ = 0;
    };
};
