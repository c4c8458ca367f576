#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runs/text_conventions.h"

struct CCoor;

// An input point file: one point per line in one of the DataFormat layouts,
// ISO-8859-1 text whose lines end with LF or CR LF, or the same columns
// written with other text conventions (a separator, decimal commas, a
// title row, UTF-8) once they are set. Read front to back by
// repeated Lire_Point calls until the result is "Fin"; memory stays the same
// whatever the size of the file (lines of any length are read whole).
class In_Fic {
public:
    In_Fic() = default;
    explicit In_Fic(const std::string& fileName) { Open(fileName); }
    In_Fic(const In_Fic&) = delete;
    In_Fic& operator=(const In_Fic&) = delete;
    virtual ~In_Fic();

    // Opens the file for reading; false (and the failed state) when it cannot be.
    bool Open(const std::string& fileName);
    // Reads the points from the process's standard input (named "-"); the
    // stream is read as it comes and never closed here.
    bool OpenStandardInput();
    bool IsOpen() const { return descriptor_ >= 0; }
    void Close();

    // Counts the line feeds of the whole file through a second stream and
    // keeps the count: the last line counts only if it ends with a line feed.
    long long Compter_Lignes();

    // Reads the next line into `point` and classifies it: "OK" (name and
    // numbers stored in the layout's fields), "Fin", "commentaires", "ligne
    // blanche", "mauvais format de point" or "type de fichier inconnu". The
    // point's numbers change only on "OK"; its name changes for every line
    // scanned in a layout with a name column.
    std::string Lire_Point(CCoor& point);

    // Lire_Point in two halves, for a run that reads the lines on one thread
    // and makes points of them on others. NextPointLine reads the next line
    // and, when it may be a point, gives it as `line`, valid until the next
    // read; otherwise it is false and `result` is Lire_Point's text for it
    // ("Fin", "ligne blanche", "commentaires" for comments and the title row,
    // "type de fichier inconnu"). ReadPointLine then makes the point of such
    // a line with Lire_Point's result and fields; it changes nothing of the
    // stream, and `scratch` is the caller's own work space, so that several
    // threads may make points at once.
    bool NextPointLine(std::string_view& line, std::string& result);
    std::string ReadPointLine(std::string_view line, CCoor& point, std::string& scratch) const;

    // 1-based number of the last line read (comments and blank lines count).
    long long LineNumber() const { return lineNumber_; }
    // True after the file could not be read (an I/O error, not its end).
    bool ReadFailed() const { return readFailed_; }
    // The system's error number of a failed Open (EISDIR for a folder).
    int OpenError() const { return openError_; }
    // True when the file starts with the UTF-8 byte-order mark: the mark is
    // passed over and the names are read as UTF-8 instead of ISO-8859-1.
    bool Utf8() const { return utf8_; }

    const std::string& FileName() const { return fileName_; }

    // The text conventions the lines are read with (today's by default).
    void SetConventions(const TextConventions& conventions);
    const TextConventions& Conventions() const { return conventions_; }

    // Copies of the first lines without their line ends, up to the line that
    // makes `dataLines` lines that are neither blank nor comments (or about
    // `byteLimit` bytes), without reading them: Lire_Point still starts with
    // the first. The byte-order mark is passed over (and told by Utf8()).
    std::vector<std::string> PeekLines(std::size_t dataLines, std::size_t byteLimit);

    int dataFormat = 0;       // DataFormat of the lines
    long long lineCount = 0;  // set by Compter_Lignes

private:
    // The next line without its line end; false when nothing could be read.
    bool NextLine(std::string_view& line);
    bool Refill();
    void CheckMark();
    std::string ReadDelimitedPoint(std::string_view line, CCoor& point,
                                   std::string& scratch) const;
    void StoreName(std::string_view name, CCoor& point) const;
    std::string ReadBlankSeparatedNumbers(std::string_view line, std::size_t pos,
                                          CCoor& point) const;
    void StoreNumbers(const double values[3], CCoor& point) const;

    std::string fileName_;
    int descriptor_ = -1;
    bool ownsDescriptor_ = true;  // false for the standard input
    TextConventions conventions_;
    bool titlePending_ = false;  // the title row has not been passed yet
    std::string scratch_;        // a line's numbers with decimal points, an unquoted field
    std::vector<char> buffer_;
    std::size_t begin_ = 0;       // first unread byte of buffer_
    std::size_t end_ = 0;         // one past the last byte read into buffer_
    bool endOfFile_ = false;      // the last read reached the end of the file
    bool fileExhausted_ = false;  // read() has returned 0
    bool readFailed_ = false;
    bool utf8_ = false;
    bool markChecked_ = false;  // the start of the file was looked at for the mark
    int openError_ = 0;
    long long lineNumber_ = 0;
};
