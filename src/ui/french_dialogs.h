#pragma once

#include <QLibraryInfo>
#include <QString>

class QCoreApplication;
class QTranslator;

// Qt's own dialogs and buttons (file dialogs, message boxes, the progress
// window's cancel button) speak French, as the rest of the window does,
// whatever language the user's desktop is set to: Qt's French translations
// from the given folder (Qt's own by default) are installed into the
// application, the French locale becomes Qt's default, and file dialogs are
// Qt's own (a desktop's native dialog would follow the desktop's language
// instead). Only Qt's texts and widgets are concerned: the C library keeps
// its decimal point (KeepDecimalPoint). Returns the installed translator,
// owned by the application, or null when the folder has no French
// translation: the dialogs then keep Qt's English texts.
QTranslator* SpeakFrenchInQtDialogs(
    QCoreApplication& application,
    const QString& translationsFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
