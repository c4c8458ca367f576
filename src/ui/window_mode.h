#pragma once

class CQuorvelApp;
class UserInterface;

// Window mode of start-up: the main window with its icon, the grid check,
// then the window shown modally until it closes. Returns the exit code.
int RunMainWindow(CQuorvelApp& app, UserInterface& ui);

// Whether the display Qt would use can be reached (DisplayReachable of
// app/display_probe.h). Without one, Qt would abort; the program says so
// in French instead.
bool DisplayAvailable();
inline constexpr const char* kNoDisplayMessage =
    "Quorvel ne peut pas ouvrir sa fenêtre : aucun affichage n'est disponible (lancez-le avec "
    "des arguments pour le mode console).\n";

// Qt takes the user's locale for the whole C library when it starts. Files,
// the catalogue and the log read and write numbers with a decimal point
// whatever the user's language: this gives the C library's numbers back
// their "C" form after Qt has started, leaving texts and dates to the user.
void KeepDecimalPoint();
