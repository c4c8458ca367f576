#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CCoor;

// An input point file: one point per line in one of the DataFormat layouts,
// ISO-8859-1 text whose lines end with LF or CR LF. Read front to back by
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

    int dataFormat = 0;       // DataFormat of the lines
    long long lineCount = 0;  // set by Compter_Lignes

private:
    // The next line without its line end; false when nothing could be read.
    bool NextLine(std::string_view& line);
    bool Refill();

    std::string fileName_;
    int descriptor_ = -1;
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
