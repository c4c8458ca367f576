#pragma once

#include <string>

#include "pages/quorvel_page.h"

class CQuorvelApp;
class UserInterface;

// The runs that the computation pages start, on the application's
// catalogue, current grids, header cache and interactive log; messages go
// to `ui` under the application title.
class CApplicationRuns : public PageRuns {
public:
    CApplicationRuns(CQuorvelApp& app, UserInterface& ui, CCoor& lastResult);

    void RunInteractive(int kind, CCoor& source, CCoor& target) override;
    void RunFile(const FileRunRequest& request) override;

private:
    CQuorvelApp& app_;
    UserInterface& ui_;
    CCoor& lastResult_;
};

// Releases the application's current grids, the translation grid and then
// the vertical grid: their files are closed and their values freed. They are
// marked not loaded, so a later point would load them again.
void ReleaseCurrentGrids(CQuorvelApp& app);
