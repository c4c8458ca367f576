#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "shared/console_interface.h"
#include "support/scripted_interface.h"

namespace {

// The whole content written so far to a temporary stream.
std::string Content(std::FILE* f) {
    std::fflush(f);
    std::string out;
    std::rewind(f);
    int c;
    while ((c = std::fgetc(f)) != EOF) out.push_back(static_cast<char>(c));
    return out;
}

struct Streams {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ~Streams() {
        std::fclose(out);
        std::fclose(err);
    }
};

}  // namespace

TEST(ConsoleInterface, MessagesGoToTheirStreams) {
    Streams s;
    const int devnull = ::open("/dev/null", O_RDONLY);
    ConsoleInterface ui(false, s.out, s.err, devnull);
    ui.ShowError("Erreur dans le fichier", "Quorvel");
    ui.ShowWarning("Attention\n", "Quorvel");
    ui.ShowInformation("Transformation TERMINEE", "Quorvel");
    EXPECT_EQ("Transformation TERMINEE\n", Content(s.out));
    EXPECT_EQ("Erreur dans le fichier\nAttention\n", Content(s.err));
    EXPECT_FALSE(ui.AskFileName(FileDialogRequest{}).has_value());
    ::close(devnull);
}

TEST(ConsoleInterface, QuestionsWithoutATerminalTakeTheUnattendedAnswer) {
    Streams s;
    int fds[2];
    ASSERT_EQ(0, ::pipe(fds));
    ASSERT_EQ(2, ::write(fds[1], "o\n", 2));  // a pipe is never asked, even with an answer in it
    ConsoleInterface no(false, s.out, s.err, fds[0]);
    EXPECT_FALSE(no.AskYesNo("Continuer ?", "Quorvel"));
    ConsoleInterface yes(true, s.out, s.err, fds[0]);
    EXPECT_TRUE(yes.AskYesNo("Encore ?", "Quorvel"));
    EXPECT_EQ("Continuer ? (o/n) n\nEncore ? (o/n) o\n", Content(s.out));
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(ConsoleInterface, QuestionsOnATerminalReadTheAnswer) {
    const int keyboard = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(keyboard, 0);
    ASSERT_EQ(0, ::grantpt(keyboard));
    ASSERT_EQ(0, ::unlockpt(keyboard));
    const int terminal = ::open(::ptsname(keyboard), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    Streams s;
    ConsoleInterface ui(false, s.out, s.err, terminal);
    // An answer that is neither yes nor no asks again.
    const std::string typed = "peut-etre\n  Oui\nn\n";
    ASSERT_EQ(static_cast<ssize_t>(typed.size()), ::write(keyboard, typed.data(), typed.size()));
    EXPECT_TRUE(ui.AskYesNo("Q1", ""));
    EXPECT_FALSE(ui.AskYesNo("Q2", ""));
    EXPECT_EQ("Q1 (o/n) Q1 (o/n) Q2 (o/n) ", Content(s.out));
    // At end of input the unattended answer is taken.
    ::close(keyboard);
    EXPECT_FALSE(ui.AskYesNo("Q3", ""));
    ::close(terminal);
}

TEST(ConsoleInterface, ProgressPrintsTenthsWhenNotOnATerminal) {
    Streams s;
    ConsoleInterface ui(false, s.out, s.err, -1);
    {
        auto progress = ui.CreateProgress("Quorvel", "\nTransformation en cours...Patience!");
        ASSERT_NE(nullptr, progress);
        progress->SetRange(1, 101);
        progress->SetStep(1);
        progress->SetPos(1);
        for (int i = 0; i < 100; ++i) progress->StepIt();
        EXPECT_FALSE(progress->CheckCancel());
        progress->SetStatus("Fin");
    }
    std::string expected = "\nTransformation en cours...Patience!\n";
    for (int p = 0; p <= 100; p += 10) {
        char line[16];
        std::snprintf(line, sizeof line, "%3d %%\n", p);
        expected += line;
    }
    EXPECT_EQ(expected + "Fin\n", Content(s.out));
}

TEST(ConsoleInterface, ExitEndsTheProcessWithItsCode) {
    EXPECT_EXIT(
        {
            ConsoleInterface ui;
            ui.Exit(3);
        },
        testing::ExitedWithCode(3), "");
}

TEST(ScriptedInterface, RecordsAndScripts) {
    ScriptedInterface ui;
    ui.answers = {true, false};
    ui.ShowWarning("w", "c");
    EXPECT_TRUE(ui.AskYesNo("q1", "c"));
    EXPECT_FALSE(ui.AskYesNo("q2", "c"));
    ui.answerWhenEmpty = true;
    EXPECT_TRUE(ui.AskYesNo("q3", "c"));
    EXPECT_EQ(1, ui.unscriptedQuestions);
    ASSERT_EQ(4u, ui.messages.size());
    EXPECT_EQ(3u, ui.Of(ScriptedInterface::Kind::Question).size());
    ui.fileNames = {std::string("/tmp/r.prt"), std::nullopt};
    EXPECT_EQ("/tmp/r.prt", ui.AskFileName({}).value_or(""));
    EXPECT_FALSE(ui.AskFileName({}).has_value());
    ui.cancelAtCheck = 2;
    {
        auto p = ui.CreateProgress("cap", "txt");
        EXPECT_FALSE(p->CheckCancel());
        EXPECT_TRUE(p->CheckCancel());
    }
    EXPECT_EQ("destroy", ui.progress->back().call);
    try {
        ui.Exit(1);
        FAIL() << "Exit returned";
    } catch (const ScriptedExit& e) {
        EXPECT_EQ(1, e.code);
    }
    EXPECT_EQ(1, ui.exitCode.value_or(-1));
}
