#include "grids/load_progress.h"

#include "shared/console.h"
#include "shared/user_interface.h"

LoadProgress::LoadProgress(bool console, UserInterface* ui, const std::string& operation,
                           const std::string& fileName, int64_t nodes)
    : console_(console), step_(nodes / 100) {
    const std::string text = operation + " " + fileName + " ...";
    if (console_) {
        WriteConsole(text);
    } else if (ui) {
        dialog_ = ui->CreateProgress("Patience...", text);
        if (dialog_) {
            dialog_->SetRange(1, 100);
            dialog_->SetStep(1);
            dialog_->SetPos(1);
        }
    }
}

LoadProgress::~LoadProgress() {
    Finish();
}

bool LoadProgress::Step() {
    if (console_) {
        WriteConsole("|");
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
        WriteConsole("\n");
    }
    dialog_.reset();
}
