#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Progress;
class UserInterface;

// How a grid read node by node (a text grid converted into its binary cache
// or loaded into memory, a binary grid loaded into memory) shows how far it
// has gone. The caller that opens the grid chooses how once: in the console,
// in a progress window, or not at all (no progress object).
class GridProgress {
public:
    virtual ~GridProgress() = default;
    // The reading begins; text names it ("Création du fichier binaire  x.bin ...").
    virtual void Begin(const std::string& text) = 0;
    // One more step of the reading is done; false when the user cancelled.
    virtual bool Step() = 0;
    // The reading has ended, whatever its outcome.
    virtual void End() = 0;
};

// In the console: the text, a "|" for each step, and a line break at the end.
class ConsoleGridProgress final : public GridProgress {
public:
    void Begin(const std::string& text) override;
    bool Step() override;
    void End() override;
};

// In a progress window of the user interface, which the user may cancel.
class WindowGridProgress final : public GridProgress {
public:
    explicit WindowGridProgress(UserInterface& ui);
    ~WindowGridProgress() override;
    void Begin(const std::string& text) override;
    bool Step() override;
    void End() override;

private:
    UserInterface& ui_;
    std::unique_ptr<Progress> dialog_;
};

// One reading of a grid's nodes: the operation's text when it begins, a step
// for each hundredth of the nodes (grids of fewer than 100 nodes never step),
// the end once, and the message of a cancelled reading.
class LoadProgress {
public:
    // operation: "Création du fichier binaire " or "Chargement de la grille ";
    // cancelled: the message when the user cancels. No progress shown without
    // a progress object.
    LoadProgress(GridProgress* progress, const std::string& operation,
                 const std::string& fileName, int64_t nodes, std::string cancelled);
    ~LoadProgress();
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    // Counts one node done; false when the user cancelled.
    bool NodeDone() {
        if (step_ <= 0 || ++sinceStep_ < step_) return true;
        sinceStep_ = 0;
        return !progress_ || progress_->Step();
    }
    // Ends the progress: the console line ends, the window goes away.
    void Finish();
    const std::string& Cancelled() const { return cancelled_; }

private:
    GridProgress* progress_;
    std::string cancelled_;
    int64_t step_ = 0, sinceStep_ = 0;
    bool finished_ = false;
};
