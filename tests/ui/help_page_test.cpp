// The help page is handed to the desktop as a file URL: its path, whatever
// characters it holds, is data, never a command line.

#include <QApplication>
#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/quorvel_app.h"
#include "support/page_catalogue.h"
#include "support/scripted_interface.h"
#include "ui/test_application.h"
#include "support/temp_dir.h"
#include "ui/quorvel_dlg.h"

namespace {

QApplication& HelpApp() { return TestApplication(); }

}  // namespace

TEST(HelpPage, ItsPathReachesTheDesktopAsAFileUrl) {
    HelpApp();
    TempDir dir;
    // Every character a shell would act on, and printf directives.
    const std::string name =
        "aide $(touch piege1) `touch piege2`; touch piege3 & 'q' \"d\" | <x> %s%n #.html";
    const std::string page = dir.Write(name, "<html><body>Aide</body></html>\n");
    std::ofstream(dir.File("quorvel.ini")) << "[INFORMATIONS]\nTitre=Quorvel\n";

    CQuorvelApp app;
    LoadCatalogueText(kPageCatalogueText, app.catalogue);
    app.startDirectory = app.workingDirectory = dir.path() + "/";
    app.configurationPath = dir.File("quorvel.ini");
    ScriptedInterface ui;
    CCoor last;
    WindowSetup setup;
    setup.app = &app;
    setup.ui = &ui;
    setup.lastResult = &last;
    setup.helpFile = page;
    CQuorvelDlg window(setup);

    // The desktop's handler of file URLs, as the desktop would receive them.
    QTextBrowser desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "setSource");
    window.OpenHelp();
    QDesktopServices::unsetUrlHandler("file");

    EXPECT_TRUE(ui.Of(ScriptedInterface::Kind::Warning).empty());
    const QUrl url = desktop.source();
    EXPECT_EQ("file", url.scheme().toStdString());
    EXPECT_EQ(page, url.toLocalFile().toStdString());
    for (const char* trap : {"piege1", "piege2", "piege3"}) {
        EXPECT_FALSE(std::filesystem::exists(dir.File(trap))) << trap;
        EXPECT_FALSE(std::filesystem::exists(trap)) << trap;
    }
}
