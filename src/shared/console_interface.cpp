#include "shared/console_interface.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace {

void WriteLine(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stream);
    std::fflush(stream);
}

// A progress bar drawn as a percentage: rewritten in place on a terminal,
// one line every ten percent otherwise so that logs stay short.
class ConsoleProgress : public Progress {
public:
    explicit ConsoleProgress(std::FILE* out) : out_(out), terminal_(::isatty(::fileno(out)) == 1) {}
    ~ConsoleProgress() override {
        if (terminal_ && shown_ >= 0) {
            std::fputc('\n', out_);
            std::fflush(out_);
        }
    }

    void SetRange(int lower, int upper) override {
        lower_ = lower;
        upper_ = upper;
    }
    void SetStep(int step) override { step_ = step; }
    void SetPos(int position) override {
        position_ = position;
        Show();
    }
    void StepIt() override {
        position_ += step_;
        // The bar wraps to its lower bound when it passes the upper one.
        if (position_ > upper_) position_ = lower_ + (position_ - upper_);
        Show();
    }
    void SetStatus(const std::string& text) override {
        if (terminal_ && shown_ >= 0) std::fputc('\n', out_);
        WriteLine(out_, text);
        shown_ = -1;
    }
    bool CheckCancel() override { return false; }

private:
    void Show() {
        if (upper_ <= lower_) return;
        const long long p = (static_cast<long long>(position_) - lower_) * 100 / (upper_ - lower_);
        const int percent = static_cast<int>(p < 0 ? 0 : p > 100 ? 100 : p);
        if (percent == shown_) return;
        if (terminal_) {
            std::fprintf(out_, "\r%3d %%", percent);
        } else if (shown_ < 0 || percent / 10 != shown_ / 10) {
            std::fprintf(out_, "%3d %%\n", percent);
        } else {
            return;  // same tenth: keep the last line
        }
        std::fflush(out_);
        shown_ = percent;
    }

    std::FILE* out_;
    bool terminal_;
    int lower_ = 0, upper_ = 100, step_ = 10, position_ = 0;
    int shown_ = -1;
};

}  // namespace

ConsoleInterface::ConsoleInterface(bool unattendedAnswer, std::FILE* out, std::FILE* err,
                                   int inputFd)
    : unattendedAnswer_(unattendedAnswer), out_(out), err_(err), inputFd_(inputFd) {}

void ConsoleInterface::ShowError(const std::string& text, const std::string&) {
    std::fflush(out_);
    WriteLine(err_, text);
}

void ConsoleInterface::ShowWarning(const std::string& text, const std::string&) {
    std::fflush(out_);
    WriteLine(err_, text);
}

void ConsoleInterface::ShowInformation(const std::string& text, const std::string&) {
    WriteLine(out_, text);
}

std::optional<std::string> ConsoleInterface::ReadAnswerLine() {
    std::string line;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(inputFd_, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        if (c == '\n') return line;
        if (c != '\r') line.push_back(c);
    }
}

bool ConsoleInterface::AskYesNo(const std::string& text, const std::string&) {
    const bool attended = ::isatty(inputFd_) == 1;
    for (;;) {
        std::fputs(text.c_str(), out_);
        std::fputs(" (o/n) ", out_);
        std::fflush(out_);
        const std::optional<std::string> line =
            attended ? ReadAnswerLine() : std::optional<std::string>();
        if (!line) {
            WriteLine(out_, unattendedAnswer_ ? "o" : "n");
            return unattendedAnswer_;
        }
        const size_t first = line->find_first_not_of(" \t");
        const char c = first == std::string::npos ? '\0' : (*line)[first];
        if (c == 'o' || c == 'O' || c == 'y' || c == 'Y') return true;
        if (c == 'n' || c == 'N') return false;
    }
}

std::unique_ptr<Progress> ConsoleInterface::CreateProgress(const std::string&,
                                                           const std::string& text) {
    if (!text.empty()) WriteLine(out_, text);
    return std::make_unique<ConsoleProgress>(out_);
}

void ConsoleInterface::Exit(int code) {
    std::fflush(out_);
    std::fflush(err_);
    std::exit(code);
}
