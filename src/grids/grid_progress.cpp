#include "grids/grid_progress.h"

#include "shared/console.h"
#include "shared/user_interface.h"

void ConsoleGridProgress::Begin(const std::string& text) {
    WriteConsole(text);
}

bool ConsoleGridProgress::Step() {
    WriteConsole("|");
    return true;
}

void ConsoleGridProgress::End() {
    WriteConsole("\n");
}

WindowGridProgress::WindowGridProgress(UserInterface& ui) : ui_(ui) {}

WindowGridProgress::~WindowGridProgress() = default;

void WindowGridProgress::Begin(const std::string& text) {
    dialog_ = ui_.CreateProgress("Patience...", text);
    if (dialog_) {
        dialog_->SetRange(1, 100);
        dialog_->SetStep(1);
        dialog_->SetPos(1);
    }
}

bool WindowGridProgress::Step() {
    if (!dialog_) return true;
    dialog_->StepIt();
    return !dialog_->CheckCancel();
}

void WindowGridProgress::End() {
    dialog_.reset();
}

LoadProgress::LoadProgress(GridProgress* progress, const std::string& operation,
                           const std::string& fileName, int64_t nodes, std::string cancelled)
    : progress_(progress), cancelled_(std::move(cancelled)), step_(nodes / 100) {
    if (progress_) progress_->Begin(operation + " " + fileName + " ...");
}

LoadProgress::~LoadProgress() {
    Finish();
}

void LoadProgress::Finish() {
    if (finished_) return;
    finished_ = true;
    if (progress_) progress_->End();
}
