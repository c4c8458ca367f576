#include "grids/load_progress.h"

#include <cstdio>

#include "app/user_interface.h"

LoadProgress::LoadProgress(bool console, UserInterface* ui, const std::string& operation,
                           const std::string& fileName, int64_t nodes)
    : console_(console), step_(nodes / 100) {
    const std::string text = operation + " " + fileName + " ...";
    if (console_) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
    } else if (ui) {
        dialog_ = ui->CreateProgress("Patience...", text);
        if (dialog_) {
            dialog_->SetRange(1, 100);
            dialog_->SetStep(1);
            dialog_->SetPos(1);
        }
    }
}

LoadProgress::~LoadProgress() { Finish(); }

bool LoadProgress::Step() {
    if (console_) {
        std::fputc('|', stdout);
        std::fflush(stdout);
        return true;
    }
    if (!dialog_) return true;
    dialog_->StepIt();
    return !dialog_->CheckCancel();
}

void LoadProgress::Finish() {
    if (finished_) return;
    finished_ = true;
    if (console_) {
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    dialog_.reset();
}
