#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "batch/catalogue_listing.h"
#include "batch/command_line.h"
#include "batch/shell_options.h"
#include "shared/labels.h"
#include "support/test_catalogue.h"

namespace {

struct RequestCase {
    std::vector<std::string> arguments;
    ShellRequestKind kind;
    std::string system;
};

TEST(ShellOptions, OnlyTheFirstArgumentAsksForAShellOption) {
    using K = ShellRequestKind;
    const RequestCase cases[] = {
        {{}, K::None, ""},
        {{"--help"}, K::Help, ""},
        {{"-h"}, K::Help, ""},
        {{"--version"}, K::Version, ""},
        {{"--liste"}, K::List, ""},
        {{"--list", "Réunion 1947"}, K::List, "Réunion 1947"},
        {{"--liste", "4", "5"}, K::Refused, ""},
        {{"--help", "-mode"}, K::Refused, ""},
        {{"--version", ""}, K::Refused, ""},
        // The flags of the console transformation keep their meaning.
        {{"-?"}, K::None, ""},
        {{"-help"}, K::None, ""},
        {{"--Help"}, K::None, ""},
        {{"-mode", "1", "--help"}, K::None, ""},
        {{"-x", "--version"}, K::None, ""},
    };
    for (const RequestCase& c : cases) {
        const ShellRequest request = ParseShellRequest(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
        EXPECT_EQ(c.kind, request.kind);
        EXPECT_EQ(c.system, request.system);
        EXPECT_EQ(c.kind == K::List && !c.system.empty(), request.systemGiven);
        EXPECT_EQ(c.kind == K::Refused, !request.message.empty());
    }
}

// Every flag the parser knows is named, as a word of its own, in the flags
// part of the usage text (before the tables and the examples).
TEST(ShellOptions, UsageNamesEveryFlag) {
    const std::string usage = UsageText("/usr/share/quorvel/exemples");
    std::istringstream words(usage.substr(0, usage.find("FORMATS")));
    std::vector<std::string> named;
    for (std::string word; words >> word;) named.push_back(word);
    for (int code = FlagHelp; code <= FlagThreads; ++code) {
        const std::string flag = std::string("-") + FlagName(code);
        EXPECT_NE(std::find(named.begin(), named.end(), flag), named.end()) << flag;
    }
}

// The format table of the usage text, read back line by line ("N  Label"
// under "T Type :"), gives the formats the parser reads for "-f1 N".
TEST(ShellOptions, UsageFormatNumbersAreTheParsersOwn) {
    const std::string usage = UsageText("exemples");
    std::istringstream lines(usage.substr(usage.find("FORMATS"), usage.find("CODES") -
                                                                      usage.find("FORMATS")));
    int type = 0, formats = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 4 && line[2] != ' ' && line.back() == ':') type = line[2] - '0';
        if (line.rfind("      ", 0) != 0) continue;
        const int number = std::stoi(line);
        const std::string label = line.substr(line.find("  ", 6) + 2);
        CQuorvelCommandLine command;
        std::string message;
        ASSERT_TRUE(ParseCommandLine(command,
                                     {"-typcoor1", std::to_string(type), "-f1",
                                      std::to_string(number), "in.txt"},
                                     "", message));
        EXPECT_EQ(DataFormatCode(label), command.source.format) << line;
        EXPECT_NE(0, command.source.format) << line;
        ++formats;
    }
    EXPECT_EQ(14, formats);
}

// A quoted example path reads back whole in the shell.
TEST(ShellOptions, QuotedNamesReadBackInTheShell) {
    for (const std::string name : {"/usr/share/quorvel/exemples/a.txt", "/home/d é/x y.txt",
                                   "/tmp/l'essai/$HOME;`id`.txt", ""}) {
        const std::string command = "printf %s " + ShellQuoted(name);
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(nullptr, pipe);
        std::string read;
        char buffer[256];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) read.append(buffer, n);
        EXPECT_EQ(0, ::pclose(pipe));
        EXPECT_EQ(name, read);
    }
    EXPECT_EQ("/usr/share/quorvel/exemples/a.txt", ShellQuoted("/usr/share/quorvel/exemples/a.txt"));
}

class CatalogueListingTest : public ::testing::Test {
protected:
    CatalogueListingTest() {
        Catalogue& c = test.catalogue;
        c.coordTypeEntries.push_back({1, {2, 3}});
        c.coordTypeEntries.push_back({4, {1, 2, 3}});
        c.unitEntries.push_back({1, {3, 2, 10, 12, 1, 5, 4, 6, 11}});
        c.projectionPermissions.push_back({1, 27572});
        c.projectionPermissions.push_back({1, 777});  // no such projection
        c.projectionPermissions.push_back({1, 4});
        CRea none, geoid;
        geoid.id = 3;
        geoid.name = "Géoïde à l'essai";
        c.verticalSystems.push_back(none);
        c.verticalSystems.push_back(geoid);
        c.verticalGrids.push_back({"geoide.mnt", 4, {3}});
    }
    TestCatalogue test;
};

TEST_F(CatalogueListingTest, FindsASystemByIdOrName) {
    const Catalogue& c = test.catalogue;
    const std::pair<const char*, const CReg*> cases[] = {
        {"9", test.isolated}, {"Isolé", test.isolated}, {"04", test.rgf93},
        {"RGF93", test.rgf93}, {"rgf93", nullptr},       {"99", nullptr},
        {"", nullptr},        {"Isole", nullptr},
    };
    for (const auto& [key, system] : cases) EXPECT_EQ(system, FindSystemByIdOrName(c, key)) << key;
}

TEST_F(CatalogueListingTest, ListsWhatASystemOffers) {
    const std::string ntf = SystemListing(test.catalogue, *test.ntf);
    EXPECT_EQ(0u, ntf.find("1  NTF  (3D, ellipsoïde Clarke 1880 IGN, méridien Paris)\n")) << ntf;
    EXPECT_NE(std::string::npos, ntf.find("27572 NTF Lambert II étendu\n")) << ntf;
    EXPECT_NE(std::string::npos, ntf.find("4 Famille 4\n")) << ntf;
    EXPECT_EQ(std::string::npos, ntf.find("777")) << ntf;
    EXPECT_NE(std::string::npos, ntf.find("Standard vers :     4 RGF93\n")) << ntf;
    // Every line fits 80 characters.
    std::istringstream lines(ntf);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(std::count_if(line.begin(), line.end(),
                                [](char ch) { return (ch & 0xC0) != 0x80; }),
                  80)
            << line;
    }
    EXPECT_NE(std::string::npos, ntf.find("11 Heures Minutes Secondes\n")) << ntf;

    const std::string rgf93 = SystemListing(test.catalogue, *test.rgf93);
    EXPECT_NE(std::string::npos, rgf93.find("(-alt) :    3 Géoïde à l'essai\n")) << rgf93;
    EXPECT_NE(std::string::npos, rgf93.find("Standard vers :     1 NTF, 3 WGS84\n")) << rgf93;
    EXPECT_NE(std::string::npos, rgf93.find("    Projections :                      aucun\n")) << rgf93;
    // A system without a coordinate-type entry offers nothing.
    const std::string isolated = SystemListing(test.catalogue, *test.isolated);
    EXPECT_NE(std::string::npos, isolated.find("(-typcoor) :  aucun\n")) << isolated;
    EXPECT_EQ(std::string::npos, isolated.find("Projections")) << isolated;

    const std::string all = CatalogueListing(test.catalogue);
    EXPECT_LT(all.find("\n3  WGS84"), all.find("\n4  RGF93"));
    EXPECT_NE(std::string::npos, all.find("du catalogue :\n    0\n    3 Géoïde à l'essai\n"));
}

}  // namespace
