#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/coordinate.h"
#include "shared/data_format.h"
#include "runs/input_point_file.h"
#include "runs/result_texts.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> Texts(std::initializer_list<std::string_view> texts) {
    return std::vector<std::string>(texts.begin(), texts.end());
}

// Reads every line of `bytes` in `format`; returns the results in order.
std::vector<std::string> ReadAll(const std::string& bytes, int format,
                                 std::vector<CCoor>* points = nullptr) {
    TempDir folder;
    const std::string path = folder.Write("points.txt", bytes);
    In_Fic input(path);
    EXPECT_TRUE(input.IsOpen());
    input.dataFormat = format;
    std::vector<std::string> results;
    for (int guard = 0; guard < 1000; ++guard) {
        CCoor point;
        const std::string result = input.Lire_Point(point);
        results.push_back(result);
        if (points != nullptr) points->push_back(point);
        if (result == kResultEnd) break;
    }
    return results;
}

CCoor ReadOne(const std::string& line, int format, std::string& result) {
    std::vector<CCoor> points;
    const auto results = ReadAll(line, format, &points);
    result = results.front();
    return points.front();
}

}  // namespace

TEST(LirePoint, Classification) {
    const auto results = ReadAll(
        "* a comment 1 2 3\r\n"
        "   *indented comment\n"
        "\n"
        " \t \r\n"
        "P1 1 2 3\r\n"
        "P2 1\n"
        "P3 600000 2200000\n",
        FormatNameENAltitude);
    const std::vector<std::string> expected = Texts({kResultComment,   kResultComment,   kResultBlankLine,
                                               kResultBlankLine, kResultOk,        kResultBadPoint,
                                               kResultOk,        kResultBlankLine, kResultEnd});
    EXPECT_EQ(expected, results);
}

TEST(LirePoint, EndOfFile) {
    // A file ending with a line feed gives one last blank line before the end.
    EXPECT_EQ(Texts({kResultOk, kResultBlankLine, kResultEnd}),
              ReadAll("1 2 3\n", FormatENHeight));
    // A last line without line feed is read, then the end comes.
    EXPECT_EQ(Texts({kResultOk, kResultOk, kResultEnd}),
              ReadAll("1 2 3\n4 5 6", FormatENHeight));
    EXPECT_EQ(Texts({kResultBlankLine, kResultEnd}),
              ReadAll("", FormatENHeight));
}

TEST(LirePoint, UnknownLayoutAfterCommentsAndBlanks) {
    EXPECT_EQ(Texts({kResultComment, kResultBlankLine, kResultUnknownFormat,
                                        kResultEnd}),
              ReadAll("*c\n\nP 1 2 3", 5));
}

TEST(LirePoint, NamedLayouts) {
    std::string result;
    CCoor p = ReadOne("Borne12 600123.5 2200456.25", FormatNameENAltitude, result);
    EXPECT_EQ(kResultOk, result);
    EXPECT_EQ("Borne12", p.name);
    EXPECT_EQ(600123.5, p.easting);
    EXPECT_EQ(2200456.25, p.northing);
    EXPECT_EQ(0, p.altitude);
    EXPECT_EQ(0, p.height);

    // Four numbers: the fourth is ignored.
    p = ReadOne("  A 4201000.5 177000 4779000 99", FormatNameXYZ, result);
    EXPECT_EQ(kResultOk, result);
    EXPECT_EQ(4201000.5, p.x);
    EXPECT_EQ(177000, p.y);
    EXPECT_EQ(4779000, p.z);

    // Three numbers in a named layout: the first becomes the name.
    p = ReadOne("12 45.5 100", FormatNameLatLonHeight, result);
    EXPECT_EQ(kResultOk, result);
    EXPECT_EQ("12", p.name);
    EXPECT_EQ(45.5, p.latitude);
    EXPECT_EQ(100, p.longitude);
    EXPECT_EQ(0, p.height);

    // The name is stored even when the line is bad; the numbers are not.
    p = ReadOne("Lone 5", FormatNameENHeight, result);
    EXPECT_EQ(kResultBadPoint, result);
    EXPECT_EQ("Lone", p.name);
    EXPECT_EQ(0, p.easting);
}

TEST(LirePoint, WhereEachLayoutPutsItsNumbers) {
    std::string result;
    for (int format : {FormatNameLonLatAltitude, FormatLonLatAltitude}) {
        const CCoor p = ReadOne(DataFormatHasName(format) ? "n 2.5 48.5 35.2" : "2.5 48.5 35.2",
                                format, result);
        EXPECT_EQ(kResultOk, result);
        EXPECT_EQ(2.5, p.longitude);
        EXPECT_EQ(48.5, p.latitude);
        EXPECT_EQ(35.2, p.height);
        EXPECT_EQ(35.2, p.altitude);
    }
    for (int format : {FormatNameLatLonAltitude, FormatLatLonAltitude}) {
        const CCoor p = ReadOne(DataFormatHasName(format) ? "n 48.5 2.5 35.2" : "48.5 2.5 35.2",
                                format, result);
        EXPECT_EQ(2.5, p.longitude);
        EXPECT_EQ(48.5, p.latitude);
        EXPECT_EQ(35.2, p.altitude);
    }
    for (int format :
         {FormatNameLonLatHeight, FormatLonLatHeight, FormatNameLatLonHeight, FormatLatLonHeight}) {
        const std::string numbers = DataFormatLatitudeFirst(format) ? "48.5 2.5 80" : "2.5 48.5 80";
        const CCoor p =
            ReadOne(DataFormatHasName(format) ? "n " + numbers : numbers, format, result);
        EXPECT_EQ(kResultOk, result);
        EXPECT_EQ(2.5, p.longitude);
        EXPECT_EQ(48.5, p.latitude);
        EXPECT_EQ(80, p.height);
        EXPECT_EQ(0, p.altitude);
    }
    for (int format : {FormatNameENHeight, FormatENHeight}) {
        const CCoor p = ReadOne(DataFormatHasName(format) ? "n 1 2 3" : "1 2 3", format, result);
        EXPECT_EQ(3, p.height);
        EXPECT_EQ(0, p.altitude);
    }
    const CCoor p = ReadOne("-1.5e3 2 3", FormatXYZ, result);
    EXPECT_EQ(kResultOk, result);
    EXPECT_EQ("", p.name);
    EXPECT_EQ(-1500, p.x);
    EXPECT_EQ(3, p.z);
}

TEST(LirePoint, OneNumberIsABadPoint) {
    std::string result;
    ReadOne("600000", FormatENHeight, result);
    EXPECT_EQ(kResultBadPoint, result);
    ReadOne("NameOnly", FormatNameENHeight, result);
    EXPECT_EQ(kResultBadPoint, result);
    ReadOne("1 x 3", FormatXYZ, result);
    EXPECT_EQ(kResultBadPoint, result);
}

TEST(LirePoint, LongLinesAndNamesAreReadWhole) {
    const std::string name(300, 'N');
    const std::string padding(5000, ' ');
    std::string result;
    const CCoor p = ReadOne(name + padding + "1 2 3\r\n", FormatNameENHeight, result);
    EXPECT_EQ(kResultOk, result);
    EXPECT_EQ(name, p.name);
    EXPECT_EQ(3, p.height);

    // Lines much longer than the read buffer, many of them.
    std::string bytes;
    for (int i = 0; i < 40; ++i)
        bytes += "P" + std::to_string(i) + std::string(70000, ' ') + " 1 2 3\n";
    std::vector<CCoor> points;
    const auto results = ReadAll(bytes, FormatNameENHeight, &points);
    ASSERT_EQ(42u, results.size());
    EXPECT_EQ(kResultOk, results[39]);
    EXPECT_EQ("P39", points[39].name);
}

TEST(LirePoint, Latin1NamesBecomeUtf8) {
    std::string result;
    const CCoor p = ReadOne("Cl\xE9ment 1 2", FormatNameENHeight, result);
    EXPECT_EQ("Clément", p.name);
}

TEST(LirePoint, LineNumbersCountEveryLine) {
    TempDir folder;
    folder.Write("p.txt", "*c\n\nA 1 2\nB 1\n");
    In_Fic input(folder.File("p.txt"));
    input.dataFormat = FormatNameENHeight;
    CCoor point;
    input.Lire_Point(point);
    input.Lire_Point(point);
    input.Lire_Point(point);
    EXPECT_EQ(3, input.LineNumber());
    EXPECT_EQ(kResultBadPoint, input.Lire_Point(point));
    EXPECT_EQ(4, input.LineNumber());
}

TEST(CompterLignes, CountsLineFeeds) {
    TempDir folder;
    folder.Write("a.txt", "1 2\n3 4\n5 6");
    In_Fic input(folder.File("a.txt"));
    EXPECT_EQ(2, input.Compter_Lignes());
    EXPECT_EQ(2, input.lineCount);
    // Counting does not disturb the reading.
    input.dataFormat = FormatENHeight;
    CCoor point;
    EXPECT_EQ(kResultOk, input.Lire_Point(point));
    EXPECT_EQ(1, point.easting);
}

TEST(InFic, MissingFileFails) {
    In_Fic input("/nonexistent/folder/points.txt");
    EXPECT_FALSE(input.IsOpen());
    CCoor point;
    EXPECT_EQ(kResultEnd, input.Lire_Point(point));
}

TEST(LirePoint, DecimalCommasAndTheByteOrderMark) {
    struct Case {
        const char* bytes;
        int format;
        std::string_view result;
        const char* name;  // UTF-8
        double third;
    };
    const Case cases[] = {
        // A decimal comma after a number would be read as its whole part alone.
        {"P 600984.230 2428291,971 35", FormatNameENAltitude, kResultBadPoint, "P", 0},
        {"P 600984,230 2428291.971", FormatNameENAltitude, kResultBadPoint, "P", 0},
        {"P 600984.2 2428291.9 35,5", FormatNameENAltitude, kResultBadPoint, "P", 0},
        {"600984.2 2428291.9 35,5", FormatENAltitude, kResultBadPoint, "", 0},
        // A comma that is no decimal comma stays text after the numbers.
        {"P 600984.2 2428291.9 35, remarque", FormatNameENAltitude, kResultOk, "P", 35},
        {"P 600984.2 2428291.9 35 4,5", FormatNameENAltitude, kResultOk, "P", 35},
        {"P,1 600984.2 2428291.9 35", FormatNameENAltitude, kResultOk, "P,1", 35},
        // The byte-order mark is no part of the first name; the names are UTF-8.
        {"\xEF\xBB\xBFPr\xC3\xA9 1 2 3", FormatNameENAltitude, kResultOk, "Pr\xC3\xA9", 3},
        {"\xEF\xBB\xBF" "1 2 3", FormatENAltitude, kResultOk, "", 3},
        {"\xEF\xBB\xBF* commentaire", FormatENAltitude, kResultComment, "", 0},
        // Without the mark a file stays ISO-8859-1, and a mark elsewhere is text.
        {"Pr\xE9 1 2 3", FormatNameENAltitude, kResultOk, "Pr\xC3\xA9", 3},
        {"\xEF\xBB", FormatNameENAltitude, kResultBadPoint, "\xC3\xAF\xC2\xBB", 0},
    };
    for (const Case& c : cases) {
        std::string result;
        const CCoor point = ReadOne(c.bytes, c.format, result);
        EXPECT_EQ(c.result, result) << c.bytes;
        EXPECT_EQ(c.name, point.name) << c.bytes;
        if (result == kResultOk) {
            EXPECT_EQ(c.third, point.altitude) << c.bytes;
        }
    }
    // Only the very start of the file is looked at for the mark.
    std::vector<CCoor> points;
    ReadAll("A 1 2 3\n\xEF\xBB\xBFPr\xC3\xA9 1 2 3\n", FormatNameENAltitude, &points);
    ASSERT_GE(points.size(), 2u);
    EXPECT_EQ("\xC3\xAF\xC2\xBB\xC2\xBFPr\xC3\x83\xC2\xA9", points[1].name);
}

namespace {

// Every line of `bytes` read by Lire_Point on one stream and in two halves
// on another, as the parallel runs read them: every line first
// (NextPointLine, each kept in a string of its own), then the points
// (ReadPointLine, with a work space of its own), after the stream has read
// on to its end.
void ExpectSameReadingInTwoHalves(const std::string& bytes, int format,
                                  const TextConventions& conventions) {
    TempDir folder;
    const std::string path = folder.Write("points.txt", bytes);
    In_Fic whole(path), halves(path);
    for (In_Fic* input : {&whole, &halves}) {
        input->dataFormat = format;
        input->SetConventions(conventions);
    }
    struct Read {
        bool mayBePoint;
        std::string lineOrText;
        long long number;
    };
    std::vector<Read> reads;
    for (int guard = 0; guard < 100; ++guard) {
        std::string_view line;
        std::string text;
        const bool mayBePoint = halves.NextPointLine(line, text);
        reads.push_back({mayBePoint, mayBePoint ? std::string(line) : text, halves.LineNumber()});
        if (!mayBePoint && text == kResultEnd) break;
    }
    std::string scratch;
    for (const Read& read : reads) {
        CCoor expected, point;
        expected.name = point.name = "avant";
        const std::string result = whole.Lire_Point(expected);
        const std::string text =
            read.mayBePoint ? halves.ReadPointLine(read.lineOrText, point, scratch)
                            : read.lineOrText;
        ASSERT_EQ(result, text) << read.number;
        EXPECT_EQ(whole.LineNumber(), read.number);
        EXPECT_EQ(expected.name, point.name) << read.number;
        EXPECT_EQ(expected.easting, point.easting) << read.number;
        EXPECT_EQ(expected.northing, point.northing) << read.number;
        EXPECT_EQ(expected.altitude, point.altitude) << read.number;
        EXPECT_EQ(expected.height, point.height) << read.number;
        EXPECT_EQ(expected.extraColumns, point.extraColumns) << read.number;
    }
    EXPECT_EQ(reads.back().lineOrText, kResultEnd);
}

}  // namespace

TEST(LirePoint, TheTwoHalvesReadAsLirePoint) {
    TextConventions semicolons;
    semicolons.separator = ';';
    semicolons.decimalMark = ',';
    semicolons.titleRow = true;
    semicolons.quoted = true;
    TextConventions commas;  // blank-separated, decimal commas
    commas.decimalMark = ',';
    TextConventions utf8Tabs;
    utf8Tabs.separator = '\t';
    utf8Tabs.encoding = PointFileEncoding::Utf8;
    struct Case {
        const char* bytes;
        int format;
        TextConventions conventions;
    };
    const Case cases[] = {
        {"* en-tête\r\nP1 600984.230 2428291.971 35\r\n\r\nP2 1 2\r\nmauvais\r\nP3 1 2 3 reste\n",
         FormatNameENAltitude, {}},
        {"\xEF\xBB\xBFRép\xC3\xA8re 1 2 3\nEt\xE9 4 5 6", FormatNameENAltitude, {}},
        {"1 2 3\n4,5 6 7\n8 9", FormatENHeight, {}},
        {"P 600984,230 2428291,971 35,5\nQ 1.5 2,5 3\nR 1 2\n", FormatNameENAltitude, commas},
        {"Nom;E;N;Altitude;Code\n\"Borne 1; nord\";600984,230;2428291,971;35;B12\n"
         "Borne 2;1;2;;x\n\"ouvert;1;2;3\nB;1;2;3;4;5\n",
         FormatNameENAltitude, semicolons},
        {"Ça\t1.5\t2.5\t3.5\textra\tplus\n*\tcommentaire\n\t\t\n", FormatNameENHeight, utf8Tabs},
        {"P 1 2 3\n", 5, {}},  // no layout
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        ExpectSameReadingInTwoHalves(c.bytes, c.format, c.conventions);
    }
}
