#include "ui/window_mode.h"

#include <QApplication>
#include <QBitmap>
#include <QFileInfo>
#include <clocale>
#include <string>

#include "app/application_runs.h"
#include "app/display_probe.h"
#include "shared/platform.h"
#include "app/quorvel_app.h"
#include "ui/emblem.h"
#include "ui/qt_user_interface.h"
#include "ui/quorvel_dlg.h"

bool DisplayAvailable() { return DisplayReachable(); }

void KeepDecimalPoint() { std::setlocale(LC_NUMERIC, "C"); }

int RunMainWindow(CQuorvelApp& app, UserInterface& ui) {
    // The window icon: the program's own 16-pixel picture when the data
    // folder has one, else the drawn emblem.
    const QString bitmap =
        QString::fromStdString(app.workingDirectory + app.programBaseName + "16.bmp");
    QIcon icon = EmblemIcon();
    if (QFileInfo::exists(bitmap)) {
        QPixmap picture(bitmap);
        picture.setMask(picture.createMaskFromColor(Qt::white));
        icon.addPixmap(picture);
    }
    QApplication::setWindowIcon(icon);

    CCoor lastResult;
    CApplicationRuns runs(app, ui, lastResult);
    WindowSetup setup;
    setup.app = &app;
    setup.ui = &ui;
    setup.lastResult = &lastResult;
    setup.runs = &runs;
    setup.helpFile = app.workingDirectory + app.programBaseName + ".html";
    setup.releaseGrids = [&app] { ReleaseCurrentGrids(app); };
    CQuorvelDlg window(setup);
    if (auto* qt = dynamic_cast<QtUserInterface*>(&ui)) qt->SetOwner(&window);
    app.console = false;
    app.RunStartupGridCheck(ui);
    window.exec();
    if (auto* qt = dynamic_cast<QtUserInterface*>(&ui)) qt->SetOwner(nullptr);
    return 0;
}
