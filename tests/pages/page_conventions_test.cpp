#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "pages/quorvel_page.h"
#include "support/page_catalogue.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

// The departure file's text conventions on a file page: what its first
// lines show in the information line, and the separator the user states.
namespace {

class PageConventionsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadCatalogueText(kPageCatalogueText, catalogue); }

    std::unique_ptr<CStandardPage> FilePage(const std::string& inputText) {
        std::ofstream(dir.path() + "/entree.csv") << inputText;
        PageContext c;
        c.catalogue = &catalogue;
        c.ui = &ui;
        c.lastResult = &last;
        c.caption = "Quorvel";
        auto page = std::make_unique<CStandardPage>(c);
        PageSettings s;
        s.mode = 1;
        s.source.system = "NTF";
        s.source.type = "Planes";
        s.source.projection = "NTF Lambert II étendu";
        s.target.system = "RGF93";
        s.target.type = "Planes";
        s.target.projection = "Lambert-93";
        s.source.file = "entree.csv";
        s.source.path = dir.path() + "/";
        s.target.file = "sortie.csv";
        s.target.path = dir.path() + "/";
        s.source.format = "Nom E N Altitude";
        s.target.format = "Nom E N Altitude";
        page->Restore(s);
        page->Initialise();
        return page;
    }
    std::optional<FileRunRequest> Prepare(CQuorvelPage& page) {
        CCoor source, target;
        if (!page.BuildRecords(source, target)) return std::nullopt;
        ui.answers = {false};  // no report
        return page.PrepareFileRun(source, target);
    }

    Catalogue catalogue;
    ScriptedInterface ui;
    CCoor last;
    TempDir dir;
};

TEST_F(PageConventionsTest, InformationLineSaysHowTheDepartureFileIsRead) {
    struct Case {
        const char* name;
        std::string input;
        const char* choice;
        std::string said;  // after the files sentence; "" for none
        bool stated;
        char separator;
    };
    const std::string spreadsheet = "Matricule;E;N;Altitude\nP1;600000,5;2200000,5;35\n";
    const Case cases[] = {
        {"recognised", spreadsheet, "Reconnu à la lecture",
         "\nFichier de départ : séparateur « ; », virgule décimale, ligne de titres, ISO-8859-1",
         false, '\0'},
        {"blank-separated file: today's sentence alone", "P1 600000.5 2200000.5 35\n",
         "Reconnu à la lecture", "", false, '\0'},
        {"separator stated as blanks: read as today", spreadsheet, "Séparé par des blancs", "",
         true, '\0'},
        {"tabs stated", "P1\t600000.5\t2200000.5\t35\n", "Séparé par des tabulations",
         "\nFichier de départ : séparateur tabulation, point décimal, ISO-8859-1", true, '\t'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = FilePage(c.input);
        page->ChooseInputConventions(c.choice);
        const std::optional<FileRunRequest> request = Prepare(*page);
        ASSERT_TRUE(request);
        EXPECT_EQ(c.stated, request->inputConventions.separatorStated);
        EXPECT_EQ(c.separator, request->inputConventions.separator);
        const std::string files = "Saisir les systèmes et unités.-- Fichiers : de " + dir.path() +
                                  "/entree.csv vers " + dir.path() + "/sortie.csv";
        EXPECT_EQ(files + c.said, page->InfoLine());
    }
}

TEST_F(PageConventionsTest, AChoiceOutsideTheListChangesNothing) {
    auto page = FilePage("P1;1;2;3\n");
    page->ChooseInputConventions("Séparé par « | »");
    EXPECT_EQ("Reconnu à la lecture", page->State(PageControl::Conventions).text);
    EXPECT_FALSE(page->StatedInputConventions().separatorStated);
}

}  // namespace
