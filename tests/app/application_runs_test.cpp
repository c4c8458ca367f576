#include "app/application_runs.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/quorvel_app.h"
#include "pages/quorvel_page.h"
#include "catalogue/loader.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

namespace {

using SC = SideControl;

// The computation pages running for real on the default installation's
// catalogue and grids, through the application's runs.
class ApplicationRunsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        app.workingDirectory = app.startDirectory = QUORVEL_SOURCE_DIR "/data/";
        ASSERT_FALSE(ReadCatalogue(app.workingDirectory + "catalogue.txt", app.catalogue));
        app.interactiveLog.Open(folder.File("log.txt"));
    }
    void TearDown() override { unsetenv("QUORVEL_TIME_STAMP"); }

    // A page in interactive mode with Paris Notre-Dame typed in NTF Lambert II étendu.
    std::unique_ptr<CQuorvelPage> Page(int kind, const std::string& arrivalSystem,
                                       const std::string& arrivalProjection) {
        PageContext context;
        context.catalogue = &app.catalogue;
        context.ui = &ui;
        context.lastResult = &last;
        context.runs = &runs;
        context.caption = "Quorvel";
        std::unique_ptr<CQuorvelPage> page;
        if (kind == StandardKind) {
            page = std::make_unique<CStandardPage>(context);
        } else {
            page = std::make_unique<CGrillePage>(context);
        }
        PageSettings s;
        s.source.system = "NTF";
        s.source.type = "Planes";
        s.source.projection = "NTF Lambert II étendu";
        s.target.system = arrivalSystem;
        s.target.type = "Planes";
        s.target.projection = arrivalProjection;
        s.target.unit = "Degrés décimaux";
        s.pointName = "Paris";
        s.vertical = Altitude;
        page->Restore(s);
        page->Initialise();
        page->SetFieldText(SourceSide, SC::E, "600984.230");
        page->SetFieldText(SourceSide, SC::N, "2428291.971");
        page->SetFieldText(SourceSide, SC::Altitude, "35");
        return page;
    }

    TempDir folder;
    CQuorvelApp app;
    ScriptedInterface ui;
    CCoor last;
    CApplicationRuns runs{app, ui, last};
};

TEST_F(ApplicationRunsTest, SameSystemSaysThePrecisionIsNotDegraded) {
    auto page = Page(StandardKind, "NTF", "NTF Lambert II étendu");
    page->Compute();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(page->State(TargetSide, SC::E).text, "600984.230");
    EXPECT_EQ(page->InfoLine(),
              "La transformation sans changement de système ne dégrade pas la précision des "
              "coordonnées en plani. La précision alti est aucune information .");
}

TEST_F(ApplicationRunsTest, ReleasedGridsAreLoadedAgainForTheNextPoint) {
    auto page = Page(GridKind, "RGF93", "Lambert-93");
    page->Compute();
    ASSERT_TRUE(app.translationGrid.loaded);
    const std::string first = page->State(TargetSide, SC::E).text;
    ReleaseCurrentGrids(app);
    EXPECT_FALSE(app.translationGrid.loaded);
    EXPECT_FALSE(app.verticalGrid.loaded);
    page->SetFieldText(TargetSide, SC::E, "");
    page->Compute();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(app.translationGrid.loaded);
    // PROJ's cs2cs +nadgrids=ntf_r93.gsb: 652299.046.
    EXPECT_EQ(first, "652299.046");
    EXPECT_EQ(page->State(TargetSide, SC::E).text, first);
    // Both points logged.
    const std::string logged = TempDir::Read(folder.File("log.txt"));
    const std::string entry = "POINT : Paris\tTransformation : Grille";
    ASSERT_NE(logged.find(entry), std::string::npos);
    EXPECT_NE(logged.find(entry), logged.rfind(entry));
}

}  // namespace
