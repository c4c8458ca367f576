#pragma once

#include <string>

// Rules of the main window that need no drawing.

// The computation page behind a tab: the presentation page holds position
// 0; position 1 is the standard page when it is offered, else the grid
// page; position 2 is the grid page. Returns the TransfoKind of the page,
// or 0 for the presentation page and for a position no page answers.
int PageKindAtTab(int position, bool hasStandard, bool hasGrille);

// The percentage text of a progress window: (position - lower) * 100 /
// (upper - lower) in integers, shown modulo 100 except at 100 itself, then
// the percent sign. An empty range counts as 0.
std::string ProgressPercentText(int position, int lower, int upper);

// The message of "C&alculer" on the presentation page.
inline constexpr const char* kNotHereMessage =
    "\n\nDésolé, mais ce n'est pas ici que l'on calcule.\nRéessayez, mais dans les pages standard "
    "ou grille,pas dans la page de présentation !!!\n\n";
