#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Progress;
class UserInterface;

// Progress of a grid being read node by node: in the console a "|" for each
// hundredth of the nodes after the operation's text, in the window a progress
// dialog that the user may cancel. Grids of fewer than 100 nodes never step.
class LoadProgress {
public:
    // operation: "Création du fichier binaire " or "Chargement de la grille ".
    LoadProgress(bool console, UserInterface* ui, const std::string& operation,
                 const std::string& fileName, int64_t nodes);
    ~LoadProgress();
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    // Counts one node done; false when the user cancelled.
    bool NodeDone() {
        if (step_ <= 0 || ++sinceStep_ < step_) return true;
        sinceStep_ = 0;
        return Step();
    }
    // Ends the progress: the console line ends, the dialog goes away.
    void Finish();

private:
    bool Step();
    bool console_;
    std::unique_ptr<Progress> dialog_;
    int64_t step_ = 0, sinceStep_ = 0;
    bool finished_ = false;
};
