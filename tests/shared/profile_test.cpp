#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shared/profile.h"
#include "support/temp_dir.h"

namespace {

const char* kPageKeys[22] = {
    "Mode",
    "Nom du point",
    "Fichier de rapport",
    "Path de rapport",
    "Verticale",
    "Système Altimétrique",
    "Système de départ",
    "Coordonnées de départ",
    "Projection de départ",
    "Unité de départ",
    "Méridien de départ",
    "Fichier de départ",
    "Path de départ",
    "Type de données de départ",
    "Système d'arrivée",
    "Coordonnées d'arrivée",
    "Projection d'arrivée",
    "Unité d'arrivée",
    "Méridien d'arrivée",
    "Fichier d'arrivée",
    "Path d'arrivée",
    "Type de données d'arrivée",
};

size_t EntriesIn(const std::string& dir) {
    size_t n = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++n;
    }
    return n;
}

}  // namespace

TEST(Profile, PageSectionOfTwentyTwoAccentedKeysRoundTrips) {
    TempDir dir;
    const std::string ini = dir.File("quorvel.ini");
    for (const char* section : {"Standard", "Grille"}) {
        for (int i = 0; i < 22; ++i) {
            const std::string value =
                i == 0 || i == 4 ? std::to_string(i % 3) : std::string("valeur é ") + kPageKeys[i];
            ASSERT_TRUE(WriteProfileString(ini, section, kPageKeys[i], value)) << i;
        }
    }
    // Rewriting a key replaces it in place.
    ASSERT_TRUE(WriteProfileString(ini, "Grille", "Système de départ", "NTF Paris"));
    for (const char* section : {"Standard", "Grille"}) {
        const std::vector<std::string> lines = GetProfileSection(ini, section);
        ASSERT_EQ(22u, lines.size()) << section;
        for (int i = 0; i < 22; ++i) {
            EXPECT_EQ(0u, lines[i].find(std::string(kPageKeys[i]) + "=")) << lines[i];
        }
    }
    EXPECT_EQ(1, GetProfileInt(ini, "Standard", "Verticale"));
    EXPECT_EQ(0, GetProfileInt(ini, "Grille", "Mode", 7));
    EXPECT_EQ("valeur é Unité d'arrivée", GetProfileString(ini, "Standard", "Unité d'arrivée", ""));
    EXPECT_EQ("NTF Paris", GetProfileString(ini, "Grille", "Système de départ", ""));
    EXPECT_EQ("valeur é Système de départ",
              GetProfileString(ini, "Standard", "Système de départ", ""));
    // A new file is written with CR LF line ends and no temporary file is left.
    const std::string text = TempDir::Read(ini);
    EXPECT_EQ(0u, text.find("[Standard]\r\nMode=0\r\nNom du point=valeur é Nom du point\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\n\r\n[Grille]\r\n"));
    EXPECT_EQ(1u, EntriesIn(dir.path()));
}

TEST(Profile, KeepsCommentsUnknownSectionsAndLineEnds) {
    TempDir dir;
    const std::string original =
        "; configuration de Quorvel\n"
        "[INFORMATIONS]\n"
        "Titre = Quorvel  \n"
        "\n"
        "[Autre]\n"
        "; garde-moi\n"
        "cle=valeur\n"
        "ligne sans egal\n"
        "[Standard]\n"
        "Mode=0\n"
        "\n";
    const std::string ini = dir.Write("q.ini", original);
    ASSERT_TRUE(WriteProfileString(ini, "standard", "MODE", "1"));
    ASSERT_TRUE(WriteProfileString(ini, "Standard", "Verticale", "2"));
    ASSERT_TRUE(WriteProfileString(ini, "Grille", "Mode", "0"));
    EXPECT_EQ(
        "; configuration de Quorvel\n"
        "[INFORMATIONS]\n"
        "Titre = Quorvel  \n"
        "\n"
        "[Autre]\n"
        "; garde-moi\n"
        "cle=valeur\n"
        "ligne sans egal\n"
        "[Standard]\n"
        "Mode=1\n"
        "Verticale=2\n"
        "\n"
        "[Grille]\n"
        "Mode=0\n",
        TempDir::Read(ini));
    EXPECT_EQ("Quorvel", GetProfileString(ini, "INFORMATIONS", "Titre", "x"));
    EXPECT_EQ(std::vector<std::string>{"cle=valeur"}, GetProfileSection(ini, "AUTRE"));
}

TEST(Profile, ReadsCrLfFilesAndWritesThemBackAlike) {
    TempDir dir;
    const std::string ini = dir.Write(
        "q.ini",
        "\xEF\xBB\xBF[DATA]\r\nData=catalogue.txt\r\n[Standard]\r\nMode=1\r\nNom du point=P1");
    EXPECT_EQ("catalogue.txt", GetProfileString(ini, "DATA", "Data", ""));
    EXPECT_EQ(1, GetProfileInt(ini, "Standard", "Mode"));
    EXPECT_EQ("P1", GetProfileString(ini, "Standard", "Nom du point", ""));
    // A last line without a line end receives one before the new key.
    ASSERT_TRUE(WriteProfileString(ini, "Standard", "Verticale", "2"));
    EXPECT_EQ(
        "\xEF\xBB\xBF[DATA]\r\nData=catalogue.txt\r\n[Standard]\r\nMode=1\r\nNom du point=P1\r\n"
        "Verticale=2\r\n",
        TempDir::Read(ini));
}

// A file that ends with a carriage return alone: what is written after it
// must still be read back, and what was there stays.
TEST(Profile, AFileEndingWithALoneCarriageReturn) {
    TempDir dir;
    const std::string ini = dir.Write("cr.ini", "[DATA]\nData=a.txt\r");
    ASSERT_TRUE(WriteProfileString(ini, "Standard", "Système de départ", "NTF"));
    ASSERT_TRUE(WriteProfileString(ini, "Standard", "Mode", "1"));
    EXPECT_EQ("NTF", GetProfileString(ini, "standard", "SYSTÈME DE DÉPART", ""));
    EXPECT_EQ(1, GetProfileInt(ini, "Standard", "Mode"));
    EXPECT_EQ("a.txt", GetProfileString(ini, "DATA", "Data", ""));
    EXPECT_EQ("[DATA]\nData=a.txt\n\n[Standard]\nSystème de départ=NTF\nMode=1\n",
              TempDir::Read(ini));

    // Bytes that are no text at all before it.
    const std::string odd = dir.Write("odd.ini", std::string("\xEF\xBB\0\0\r", 5));
    ASSERT_TRUE(WriteProfileString(odd, "Standard", "Système de départ", "NTF"));
    EXPECT_EQ("NTF", GetProfileString(odd, "Standard", "Système de départ", ""));
}

TEST(Profile, NamesMatchWithoutCaseAccentsIncluded) {
    TempDir dir;
    const std::string ini = dir.Write("q.ini", "[ STANDARD ]\nSYSTÈME DE DÉPART=RGF93\nŒuvre=1\n");
    EXPECT_EQ("RGF93", GetProfileString(ini, "Standard", "Système de départ", ""));
    EXPECT_EQ(1, GetProfileInt(ini, "standard", "œuvre"));
    // Accents still count: "systeme" is another name.
    EXPECT_EQ("none", GetProfileString(ini, "Standard", "Systeme de depart", "none"));
}

TEST(Profile, MissingEmptyUnreadableOrMalformedFilesGiveDefaults) {
    TempDir dir;
    const std::string missing = dir.File("absent.ini");
    const std::string empty = dir.Write("empty.ini", "");
    const std::string garbage =
        dir.Write("garbage.ini", std::string("[Standard\nMode\n=\n\0\x01\xFF\n]]]\n", 25));
    std::filesystem::create_directory(dir.File("dir.ini"));
    const std::string unreadable = dir.File("dir.ini");
    for (const std::string& f : {missing, empty, garbage, unreadable}) {
        EXPECT_EQ("def", GetProfileString(f, "Standard", "Mode", "def")) << f;
        EXPECT_EQ(-4, GetProfileInt(f, "Standard", "Mode", -4)) << f;
        EXPECT_EQ(7, GetProfileInt(f, "Standard", "", 7)) << f;
        EXPECT_TRUE(GetProfileSection(f, "Grille").empty()) << f;
    }
    // "[Standard" is still taken as the section; "Mode" without '=' and "="
    // without a key are skipped.
    EXPECT_TRUE(GetProfileSection(garbage, "Standard").empty());
    EXPECT_EQ("def", GetProfileString(garbage, "Standard", "", "def"));
    EXPECT_EQ(25u, TempDir::Read(garbage).size());
}

TEST(Profile, ValuesAreCutToTheBufferWithoutSplittingACharacter) {
    TempDir dir;
    const std::string ini = dir.Write(
        "q.ini", "[INFORMATIONS]\nTitre=\"  éééé  \"\nLong=" + std::string(300, 'x') + "\n");
    EXPECT_EQ("  éééé  ", GetProfileString(ini, "INFORMATIONS", "Titre", ""));
    EXPECT_EQ("  é", GetProfileString(ini, "INFORMATIONS", "Titre", "", 4));
    EXPECT_EQ("", GetProfileString(ini, "INFORMATIONS", "Titre", "", 0));
    EXPECT_EQ(259u, GetProfileString(ini, "INFORMATIONS", "Long", "").size());
    EXPECT_EQ(79u, GetProfileString(ini, "INFORMATIONS", "Long", "", 80).size());
    EXPECT_EQ("dé", GetProfileString(ini, "INFORMATIONS", "Absent", "déf", 3));
}

TEST(Profile, IntegersReadTheLeadingNumber) {
    TempDir dir;
    const std::string ini =
        dir.Write("q.ini", "[S]\na=  12abc\nb=abc\nc=-3\nd=0120\ne=99999999999\nf=\n");
    EXPECT_EQ(12, GetProfileInt(ini, "S", "a", 5));
    EXPECT_EQ(0, GetProfileInt(ini, "S", "b", 5));
    EXPECT_EQ(-3, GetProfileInt(ini, "S", "c", 5));
    EXPECT_EQ(120, GetProfileInt(ini, "S", "d", 5));
    EXPECT_EQ(2147483647, GetProfileInt(ini, "S", "e", 5));
    EXPECT_EQ(0, GetProfileInt(ini, "S", "f", 5));
    EXPECT_EQ(5, GetProfileInt(ini, "S", "g", 5));
}

TEST(Profile, FailedWritesLeaveTheFileAsItWas) {
    TempDir dir;
    EXPECT_FALSE(WriteProfileString(dir.File("no/such/dir/q.ini"), "S", "k", "v"));
    std::filesystem::create_directory(dir.File("dir.ini"));
    EXPECT_FALSE(WriteProfileString(dir.File("dir.ini"), "S", "k", "v"));
    const std::string ini = dir.Write("q.ini", "[S]\nk=v\n");
    // Names and values that would break the structure of the file are refused.
    EXPECT_FALSE(WriteProfileString(ini, "S", "k\nx", "v"));
    EXPECT_FALSE(WriteProfileString(ini, "S", "k", "v\r\n[T]"));
    EXPECT_FALSE(WriteProfileString(ini, "S]x", "k", "v"));
    EXPECT_FALSE(WriteProfileString(ini, "S", "a=b", "v"));
    EXPECT_FALSE(WriteProfileString(ini, "S", "  ", "v"));
    EXPECT_FALSE(WriteProfileString(ini, "", "k", "v"));
    EXPECT_EQ("[S]\nk=v\n", TempDir::Read(ini));
    EXPECT_EQ(2u, EntriesIn(dir.path()));  // q.ini and dir.ini, no temporary file
}

TEST(Profile, WritesThroughASymbolicLink) {
    TempDir dir;
    const std::string real = dir.Write("real.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink(real, dir.File("link.ini"));
    ASSERT_TRUE(WriteProfileString(dir.File("link.ini"), "S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
    EXPECT_EQ("[S]\nk=2\n", TempDir::Read(real));
}
