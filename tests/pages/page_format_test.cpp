// Catalogue names in the messages of the computation pages: a name holding
// printf directives is shown as it is written.

#include <gtest/gtest.h>

#include <string>

#include "pages/quorvel_page.h"
#include "support/page_catalogue.h"
#include "support/scripted_interface.h"

TEST(PageMessages, CatalogueNameWithFormatDirectives) {
    std::string text = kPageCatalogueText;
    const std::string ntf = "REG 1 1 2 2D NTF\n";
    ASSERT_NE(std::string::npos, text.find(ntf));
    text.replace(text.find(ntf), ntf.size(), "REG 1 1 2 2D NTF %s%n%d%x%n\n");
    Catalogue catalogue;
    LoadCatalogueText(text, catalogue);
    ScriptedInterface ui;
    CCoor last;
    PageContext context;
    context.catalogue = &catalogue;
    context.ui = &ui;
    context.lastResult = &last;
    context.caption = "Quorvel";
    CStandardPage page(context);
    PageSettings settings;
    settings.source.system = "NTF %s%n%d%x%n";
    settings.source.type = "Géographiques";
    settings.target.system = "RGF93";
    settings.target.type = "Géographiques";
    page.Restore(settings);
    page.Initialise();
    ui.messages.clear();
    page.ChooseVertical(EllipsoidalHeight);
    ASSERT_EQ(1u, ui.messages.size());
    EXPECT_EQ(
        "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF %s%n%d%x%n.\n",
        ui.messages[0].text);
}
