// Point files as other software and damaged disks leave them, read line by
// line: every kind of line end, NUL bytes, very long lines, bytes outside
// ISO-8859-1, numbers that no double holds, and files that disappear or
// cannot be read once opened.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "shared/text_encoding.h"
#include "engine/coordinate.h"
#include "shared/data_format.h"
#include "runs/input_point_file.h"
#include "runs/result_texts.h"
#include "support/temp_dir.h"

namespace {

struct Read {
    std::string result;
    CCoor point;
};

// Every result of a file holding `bytes`, up to and including "Fin".
std::vector<Read> ReadFile(const std::string& bytes, int format = FormatNameENAltitude) {
    TempDir folder;
    In_Fic input(folder.Write("points.txt", bytes));
    EXPECT_TRUE(input.IsOpen());
    input.dataFormat = format;
    std::vector<Read> reads;
    for (int guard = 0; guard < 10000; ++guard) {
        Read read;
        read.result = input.Lire_Point(read.point);
        reads.push_back(read);
        if (read.result == kResultEnd) break;
    }
    EXPECT_FALSE(input.ReadFailed());
    return reads;
}

// The results alone.
std::vector<std::string_view> Results(const std::vector<Read>& reads) {
    std::vector<std::string_view> results;
    for (const Read& r : reads) results.push_back(r.result);
    return results;
}

// The one line's result, and its point.
Read ReadLine(const std::string& line, int format = FormatNameENAltitude) {
    return ReadFile(line + "\n", format).front();
}

}  // namespace

TEST(PointFileFaults, EveryLineEndGivesTheSamePoints) {
    const std::vector<std::string> lines = {"* trois points", "A 1 2 3", "", "B 4 5 6", "C 7 8"};
    for (const std::string& end : {std::string("\n"), std::string("\r\n")}) {
        for (const bool lastEnded : {true, false}) {
            std::string bytes;
            for (std::size_t i = 0; i < lines.size(); ++i)
                bytes += lines[i] + (i + 1 < lines.size() || lastEnded ? end : "");
            SCOPED_TRACE(bytes);
            const std::vector<Read> reads = ReadFile(bytes);
            std::vector<std::string_view> expected = {kResultComment, kResultOk, kResultBlankLine,
                                                 kResultOk, kResultOk};
            // A file ending with its line end gives one more blank line.
            if (lastEnded) expected.push_back(kResultBlankLine);
            expected.push_back(kResultEnd);
            ASSERT_EQ(expected, Results(reads));
            EXPECT_EQ("A", reads[1].point.name);
            EXPECT_EQ(3, reads[1].point.altitude);
            EXPECT_EQ("B", reads[3].point.name);
            EXPECT_EQ(6, reads[3].point.altitude);
            EXPECT_EQ("C", reads[4].point.name);  // no carriage return left in the name
            EXPECT_EQ(8, reads[4].point.northing);
        }
    }
    // Line ends mixed within one file, and a carriage return alone in a line.
    const std::vector<Read> mixed = ReadFile("A 1 2 3\r\nB 4 5 6\n\r\n\r\r\nC 7 8 9\r\n");
    EXPECT_EQ((std::vector<std::string_view>{kResultOk, kResultOk, kResultBlankLine, kResultBlankLine,
                                        kResultOk, kResultBlankLine, kResultEnd}),
              Results(mixed));
    EXPECT_EQ(9, mixed[4].point.altitude);
}

TEST(PointFileFaults, NulBytesAreCharactersLikeAnyOther) {
    // Kept in a name, byte for byte; the line that follows is read as usual.
    const std::vector<Read> reads =
        ReadFile(std::string("P\0Q 1 2 3\nR 4 5 6\n", 18) + std::string("\0\0\0\n", 4));
    ASSERT_EQ(kResultOk, reads[0].result);
    EXPECT_EQ(std::string("P\0Q", 3), reads[0].point.name);
    EXPECT_EQ(3, reads[0].point.altitude);
    EXPECT_EQ(kResultOk, reads[1].result);
    EXPECT_EQ("R", reads[1].point.name);
    // A line of NUL bytes is a name without numbers.
    EXPECT_EQ(kResultBadPoint, reads[2].result);
    // Between the numbers a NUL byte ends them as any other character does.
    EXPECT_EQ(kResultBadPoint, ReadLine(std::string("P 1\0 2 3", 8)).result);
    EXPECT_EQ(kResultBadPoint, ReadLine(std::string("\0 1 2", 5), FormatENAltitude).result);
}

TEST(PointFileFaults, LinesLongerThanTheReadBuffer) {
    // A name of 200 KiB, a line of 1 MiB without any line end before the
    // next point, and blanks of 100 KiB between the numbers.
    const std::string name(200 * 1024, 'N');
    const std::string garbage(1024 * 1024, 'x');
    const std::vector<Read> reads =
        ReadFile(name + " 1 2 3\n" + garbage + "\nB" + std::string(100 * 1024, ' ') + "4 5 6");
    ASSERT_EQ((std::vector<std::string_view>{kResultOk, kResultBadPoint, kResultOk, kResultEnd}),
              Results(reads));
    EXPECT_EQ(name, reads[0].point.name);
    EXPECT_EQ(3, reads[0].point.altitude);
    EXPECT_EQ(garbage, reads[1].point.name);
    EXPECT_EQ(6, reads[2].point.altitude);
}

TEST(PointFileFaults, BytesOutsideLatin1ComeBackUnchanged) {
    // UTF-8 multibyte characters, the C1 range 0x80-0x9F and 0xFF: each
    // byte is one ISO-8859-1 character inside the program and is written
    // back as the same byte.
    for (const std::string& name : {std::string("Cl\xC3\xA9ment"), std::string("\xE2\x82\xAC-borne"),
                                   std::string("\x80\x85\x9F\xFF"), std::string("\xF0\x9F\x97\xBA")}) {
        const Read read = ReadLine(name + " 1 2 3");
        ASSERT_EQ(kResultOk, read.result);
        EXPECT_EQ(Latin1ToUtf8(name), read.point.name);
        EXPECT_EQ(name, Utf8ToLatin1(read.point.name));
    }
    // Between the numbers they are text like any other.
    EXPECT_EQ(kResultBadPoint, ReadLine("P 1 \xC2\xA0" "2 3").result);
}

TEST(PointFileFaults, NumbersThatNoDoubleHolds) {
    // Beyond the range of doubles, in any column: the line is refused
    // rather than read with a value it does not hold.
    for (const char* line : {"P 1e400 2 3", "P 1 -1e400 3", "P 1 2 1e400", "P 1 2 -1E+400",
                             "P 1 2 1e-400", "P 1 2 " "123456789e99999"}) {
        SCOPED_TRACE(line);
        const Read read = ReadLine(line);
        EXPECT_EQ(kResultBadPoint, read.result);
        EXPECT_EQ(0, read.point.easting);  // the numbers are not stored
        EXPECT_EQ("P", read.point.name);
    }
    // Words are not numbers: as a coordinate the line is refused, as the
    // optional vertical value it is text after the numbers.
    for (const char* line : {"P nan 2 3", "P 1 NaN 3", "P inf 2 3", "P 1 -infinity 3"})
        EXPECT_EQ(kResultBadPoint, ReadLine(line).result) << line;
    for (const char* line : {"P 1 2 nan", "P 1 2 inf", "P 1 2 -"}) {
        const Read read = ReadLine(line);
        EXPECT_EQ(kResultOk, read.result) << line;
        EXPECT_EQ(0, read.point.altitude) << line;
        EXPECT_FALSE(std::isnan(read.point.altitude)) << line;
    }
    // Negative zero is a number: its sign is kept.
    const Read zero = ReadLine("P -0 -0.0 -0e5");
    ASSERT_EQ(kResultOk, zero.result);
    EXPECT_TRUE(std::signbit(zero.point.easting));
    EXPECT_TRUE(std::signbit(zero.point.northing));
    EXPECT_TRUE(std::signbit(zero.point.altitude));
    // The largest and smallest doubles are read.
    const Read extremes = ReadLine("P 1.7976931348623157e308 4.9e-324 -2.2250738585072014e-308");
    ASSERT_EQ(kResultOk, extremes.result);
    EXPECT_EQ(1.7976931348623157e308, extremes.point.easting);
    EXPECT_EQ(4.9e-324, extremes.point.northing);
}

TEST(PointFileFaults, FileRemovedOnceOpenedIsReadWhole) {
    TempDir folder;
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += "P" + std::to_string(i) + " 1 2 3\n";
    const std::string path = folder.Write("points.txt", bytes);
    In_Fic input(path);
    ASSERT_TRUE(input.IsOpen());
    input.dataFormat = FormatNameENAltitude;
    EXPECT_EQ(5000, input.Compter_Lignes());
    ASSERT_EQ(0, ::unlink(path.c_str()));
    int points = 0;
    CCoor point;
    for (std::string result; (result = input.Lire_Point(point)) != kResultEnd;)
        points += result == kResultOk;
    EXPECT_EQ(5000, points);
    EXPECT_EQ("P4999", point.name);
    EXPECT_FALSE(input.ReadFailed());
}

TEST(PointFileFaults, FolderOrUnreadableFile) {
    TempDir folder;
    std::filesystem::create_directory(folder.File("dossier"));
    In_Fic directory(folder.File("dossier"));
    EXPECT_FALSE(directory.IsOpen());
    CCoor point;
    EXPECT_EQ(kResultEnd, directory.Lire_Point(point));

    // A file that opens but whose reading fails: the failure is remembered,
    // the reading ends.
    In_Fic unreadable("/proc/self/mem");
    ASSERT_TRUE(unreadable.IsOpen());
    unreadable.dataFormat = FormatNameENAltitude;
    EXPECT_EQ(kResultBlankLine, unreadable.Lire_Point(point));
    EXPECT_EQ(kResultEnd, unreadable.Lire_Point(point));
    EXPECT_TRUE(unreadable.ReadFailed());
}
