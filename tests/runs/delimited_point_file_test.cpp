#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "console_run_fixture.h"
#include "engine/coordinate.h"
#include "runs/convention_detection.h"
#include "runs/input_point_file.h"
#include "runs/result_texts.h"

// Point files as spreadsheets and field software write them, run from NTF
// Lambert II étendu "Nom E N Altitude" to RGF93 Lambert-93 in the same
// layout. Paris: 600984.230 2428291.971 gives 652297.680 6861633.017 (PROJ's
// cs2cs with the catalogue's parameters).
namespace {

class DelimitedPointFileTest : public ConsoleRunFixture {
protected:
    std::vector<std::string> FileRun(const std::string& input, const std::string& output,
                                     const std::vector<std::string>& more = {}) {
        std::vector<std::string> arguments = {
            "-mode", "1",         "-type", "1",     "-sys1",     "1", "-sys2", "4",
            "-typcoor1", "3", "27572", "-typcoor2", "3", "2154", "-f1", "1", input, "-f2",
            "1",     output};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }
};

std::string Refused(int line) {
    return "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
           "e : mauvais format de point (ligne " +
           std::to_string(line) + ")\r\n";
}

std::string Lines(const std::string& line, int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i) {
        std::string numbered = line;
        numbered.replace(numbered.find('#'), 1, std::to_string(i));
        text += numbered;
    }
    return text;
}

}  // namespace

TEST_F(DelimitedPointFileTest, FilesAsUsersKeepThem) {
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> flags;
        std::string output;  // the whole output file
        int refused;
    };
    const std::string paris = "652297.680;6861633.017;35.000";
    const std::string parisComma = "652297,680;6861633,017;35,000";
    const Case cases[] = {
        {"title row, semicolons, decimal commas, a code after the columns",
         "Matricule;E;N;Altitude;Code\r\nP1;600984,230;2428291,971;35;B12\r\n", {},
         "Nom;E;N;Altitude;Code\r\nP1;" + parisComma + ";B12\r\n", 0},
        {"commas, quoted name holding blanks and the separator, LF",
         "\"Borne 1, nord\",600984.230,2428291.971,35\n", {},
         "\"Borne 1, nord\",652297.680,6861633.017,35.000\r\n", 0},
        {"doubled quote inside a quoted name, no altitude, no last line end",
         "\"Le \"\"Clocher\"\"\";600984,230;2428291,971", {},
         "\"Le \"\"Clocher\"\"\";652297,680;6861633,017;0,000\r\n", 0},
        {"tabs with a date and a remark after the columns",
         "P1\t600984.230\t2428291.971\t35\t2026-12-08\tle coin nord\n", {},
         "P1\t652297.680\t6861633.017\t35.000\t2026-12-08\tle coin nord\r\n", 0},
        {"tabs that blanks read the same: today's file",
         "P1\t600984.230\t2428291.971\t35\n", {},
         "                  P1     652297.680    6861633.017     35.000\r\n", 0},
        {"blanks and decimal commas: today's output",
         "P1 600984,230 2428291,971 35\r\n", {},
         "                  P1     652297.680    6861633.017     35.000\r\n", 0},
        {"byte-order mark and UTF-8 accents", 
         "\xEF\xBB\xBFNom;E;N;Alt\r\nCl\xC3\xA9ment;600984,230;2428291,971;35\r\n", {},
         "\xEF\xBB\xBFNom;E;N;Altitude\r\nCl\xC3\xA9ment;" + parisComma + "\r\n", 0},
        {"UTF-8 without the mark", "\xC3\x89glise;600984.230;2428291.971;35\n", {},
         "\xC3\x89glise;" + paris + "\r\n", 0},
        {"ISO-8859-1 accents", "\xC9glise;600984.230;2428291.971;35\n", {},
         "\xC9glise;" + paris + "\r\n", 0},
        {"comments and blank lines among the points",
         "* relev\xE9\nP1;600984.230;2428291.971;35\n\n* fin\nP2;600984.230;2428291.971;35\n",
         {}, "P1;" + paris + "\r\nP2;" + paris + "\r\n", 0},
        {"title row only: nothing shows the file is delimited", "Nom;E;N;Altitude\n", {},
         Refused(1), 1},
        {"blanks, decimal commas, one line", "P1 600984,230 2428291,971\n", {},
         "                  P1     652297.680    6861633.017      0.000\r\n", 0},
        {"a first line with a mistyped number is no title row",
         "P1;abc;2428291,971;35\nP2;600984,230;2428291,971;35\n", {},
         Refused(1) + "P2;" + parisComma + "\r\n", 1},
        {"mixed separators: no rule holds, every line refused",
         "P1;600984.230;2428291.971;35\nP2,600984.230,2428291.971,35\n", {},
         Refused(1) + Refused(2), 2},
        {"mixed separators with the separator stated: the odd line refused",
         "P1;600984.230;2428291.971;35\nP2,600984.230,2428291.971,35\n", {"-sep1", ";"},
         "P1;" + paris + "\r\n" + Refused(2), 1},
        {"stated title row and decimal comma",
         "a;b;c;d\nP1;600984,230;2428291,971;35\n", {"-titre1", "-dec1", ","},
         "Nom;E;N;Altitude\r\nP1;" + parisComma + "\r\n", 0},
        {"delimited on its first lines, not later: odd lines refused, counted",
         Lines("P#;600984,230;2428291,971;35\n", 1, 20) + "P21 600984,230 2428291,971 35\n" +
             "P22;600984,230;2428291,971\n" + "P23;600984.230;2428291.971;35\n" +
             "P24;\"600984,230\";2428291,971;35;\"non ferm\xE9\n",
         {},
         Lines("P#;" + parisComma + "\r\n", 1, 20) + Refused(21) +
             "P22;652297,680;6861633,017;0,000\r\n" + Refused(23) + "P24;" + parisComma +
             ";\"non ferm\xE9\r\n",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write("in.csv", c.input);
        const ConsoleRunOutcome outcome = Run(FileRun("in.csv", "out.csv", c.flags));
        EXPECT_EQ(c.refused == 0 ? ConsoleRunOutcome::Finished
                                 : ConsoleRunOutcome::FinishedWithRefusedLines,
                  outcome)
            << result;
        if (c.refused > 0) {
            EXPECT_NE(std::string::npos, result.find(RefusedLinesText(c.refused)));
        }
        EXPECT_EQ(c.output, TempDir::Read(folder.File("out.csv")));
    }
}

TEST_F(DelimitedPointFileTest, VerboseRunSaysWhatItRecognised) {
    folder.Write("in.csv", "\xEF\xBB\xBFMatricule;E;N;Altitude\r\nP1;600984,230;2428291,971;35\r\n");
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(FileRun("in.csv", "out.csv", {"-v"})));
    EXPECT_NE(std::string::npos,
              console.find("Fichier de départ : séparateur « ; », virgule décimale, ligne de "
                           "titres, UTF-8 avec BOM\n"))
        << console;
    // The header's comment lines first, then the title row with the
    // precision columns, in UTF-8 like the input.
    const std::string written = TempDir::Read(folder.File("out.csv"));
    EXPECT_NE(std::string::npos,
              written.find("\r\nNom;E;N;Altitude;Convergence (Degrés décimaux);Altération "
                           "linéaire (mm/km);Précision planimétrique;Précision altimétrique\r\n"
                           "P1;652297,680;6861633,017;35,000;"))
        << written;
    EXPECT_EQ(0u, written.find("\xEF\xBB\xBF*"));
}

TEST_F(DelimitedPointFileTest, StatedConventionsThatCannotBeAreRefused) {
    folder.Write("in.csv", "P1;600984.230;2428291.971;35\n");
    struct Case {
        std::vector<std::string> flags;
        const char* message;
    };
    const Case cases[] = {
        {{"-sep1", "|"}, "La valeur \"|\" du flag -sep1 n'est pas un séparateur"},
        {{"-dec1", "x"}, "La valeur \"x\" du flag -dec1 n'est pas une marque décimale"},
        {{"-enc1", "ebcdic"}, "La valeur \"ebcdic\" du flag -enc1 n'est pas un codage"},
        {{"-titre1", "peut-etre"}, "La valeur \"peut-etre\" du flag -titre1 n'est ni oui ni non"},
        {{"-sep1", ",", "-dec1", ","}, "La virgule ne peut pas être à la fois"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(FileRun("in.csv", "out.csv", c.flags)));
        EXPECT_EQ(0u, console.find(c.message)) << console;
    }
}

// A spreadsheet file to Lambert-93, and the output read back as a delimited
// input in its own layout to NTF: the same points, the same extra columns.
TEST_F(DelimitedPointFileTest, RoundTripThroughTheOutput) {
    std::string input = "Matricule;E;N;Altitude;Code;Date\r\n";
    std::vector<double> east, north, height;
    for (int i = 0; i < 50; ++i) {
        east.push_back(400000 + i * 10000.123);
        north.push_back(2100000 + i * 6000.877);
        height.push_back(i * 12.5);
        char line[160];
        std::snprintf(line, sizeof line, "\"Borne %d; lot %c\";%.3f;%.3f;%.3f;C%d;08/12/2026\r\n",
                      i, 'A' + i % 5, east.back(), north.back(), height.back(), i);
        std::string text = line;
        for (char& c : text) {
            if (c == '.') c = ',';
        }
        input += text;
    }
    folder.Write("in.csv", input);
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(FileRun("in.csv", "l93.csv"))) << result;
    const std::vector<std::string> back = {
        "-mode", "1", "-type", "1", "-sys1", "4", "-sys2", "1", "-typcoor1", "3", "2154",
        "-typcoor2", "3", "27572", "-f1", "1", "l93.csv", "-f2", "1", "back.csv"};
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(back)) << result;

    In_Fic reread(folder.File("back.csv"));
    reread.dataFormat = 16;
    const TextConventions conventions = RecogniseInputConventions(reread, {});
    EXPECT_EQ(';', conventions.separator);
    EXPECT_EQ(',', conventions.decimalMark);
    EXPECT_TRUE(conventions.titleRow);
    EXPECT_EQ(";Code;Date", conventions.extraTitles);
    std::size_t count = 0;
    for (;;) {
        CCoor point;
        const std::string text = reread.Lire_Point(point);
        if (text == kResultEnd) break;
        if (text != kResultOk) continue;
        ASSERT_LT(count, east.size());
        EXPECT_EQ("Borne " + std::to_string(count) + "; lot " + std::string(1, 'A' + count % 5),
                  point.name);
        EXPECT_NEAR(east[count], point.easting, 0.0015);  // rounded to the millimetre twice
        EXPECT_NEAR(north[count], point.northing, 0.0015);
        EXPECT_NEAR(height[count], point.altitude, 0.0005);
        EXPECT_EQ(";C" + std::to_string(count) + ";08/12/2026", point.extraColumns);
        ++count;
    }
    EXPECT_EQ(east.size(), count);
}
