#pragma once

#include <string>

#include "shared/side_settings.h"

// The choices of one computation page that the configuration file keeps
// from one use of the program to the next: one section per page ("Standard",
// "Grille") of 22 keys. List choices are kept as the texts the lists show.
struct PageSettings {
    int mode = 0;  // 0 interactive, 1 file
    std::string pointName;
    std::string reportFile;
    std::string reportPath;
    int vertical = 0;  // VerticalKind of the vertical radio buttons
    std::string verticalSystem;
    SideSettings<std::string> source;
    SideSettings<std::string> target;

    bool operator==(const PageSettings&) const = default;
};
