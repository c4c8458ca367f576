#pragma once

#include <string>
#include <string_view>

#include "runs/text_conventions.h"

struct CCoor;
class In_Fic;

// The end text of report files: a line of 80 "-", then "Fin " before the
// time stamp.
inline const std::string kReportEndText = std::string(80, '-') + "\nFin ";

// An output stream for output point files, report files and the log. Text
// is given in UTF-8 and written as ISO-8859-1 with CR LF line ends, through
// a buffer. A failed write (disk full, file gone) is remembered: the run
// asks WriteFailed() and stops; a file removed before it is closed counts as
// a failed write.
class Out_Fic {
public:
    Out_Fic() = default;
    explicit Out_Fic(const std::string& fileName) { Open(fileName); }
    Out_Fic(const Out_Fic&) = delete;
    Out_Fic& operator=(const Out_Fic&) = delete;
    virtual ~Out_Fic();

    // Creates or empties the file; line counter 0, header flag 0, layout unset.
    bool Open(const std::string& fileName);
    // Writes to an inherited descriptor (the standard output, named "-"),
    // which stays open when the stream closes.
    bool OpenDescriptor(int descriptor, const std::string& name);
    bool IsOpen() const { return descriptor_ >= 0; }
    // Writes what is buffered and closes; false when any write failed.
    bool Close();
    // Writes what is buffered; false when any write failed so far.
    bool Flush();
    bool WriteFailed() const { return writeFailed_; }
    // The system's error number of a failed Open.
    int OpenError() const { return openError_; }
    const std::string& FileName() const { return fileName_; }

    // The text conventions of the point lines, set before the first line:
    // delimited conventions write each point as the columns of a
    // spreadsheet row (separator, decimal mark, quoted names, the input's
    // extra columns at the end, a title row instead of the column titles);
    // a UTF-8 encoding writes every text in UTF-8, with the byte-order mark
    // first when it asks for one.
    void SetConventions(const TextConventions& conventions);
    const TextConventions& Conventions() const { return conventions_; }

    // Writes UTF-8 text; each "\n" becomes CR LF.
    void Write(std::string_view text);

    // One output line for a point: the header and column titles before the
    // first line when the header flag is set, then the error line for a
    // result other than "OK" (with the number of the input line it stands
    // for, when one is given), else the arrival point in the stream's layout
    // with its optional columns.
    void Ecrire_Point(const CCoor& departure, const CCoor& arrival, int kind,
                      std::string_view result, bool linearAlteration,
                      long long inputLineNumber = 0);

    // One report line: the report header before the first one, then the
    // error line naming the input line, or the departure point in the input
    // layout beside the arrival point in the output layout.
    // The input line is `inputLineNumber`, or the last one `input` read when 0.
    void Ecrire_Rapport(const CCoor& departure, const CCoor& arrival, const In_Fic& input,
                        const Out_Fic& output, int kind, std::string_view result,
                        long long inputLineNumber = 0);

    // "Fin" writes the end line of an output point file, kReportEndText the
    // end line of a report, each with the time stamp; any other text nothing.
    void Ecrire_Fin(std::string_view endText);

    // A stream that is not open keeps what it is given: lines formatted
    // apart, taken out with TakeBuffered (`into` gets the bytes, the stream
    // the room `into` had) and written into a file with WriteBytes, which
    // takes ISO-8859-1 bytes with their CR LF as they are.
    void TakeBuffered(std::string& into) {
        into.swap(buffer_);
        buffer_.clear();
    }
    void WriteBytes(std::string_view bytes) {
        buffer_.append(bytes);
        FlushIfFull();
    }
    // The point and report headers count as written: a stream that formats
    // lines apart leaves them to the file's own stream.
    void HeadersWritten() {
        reportHeaderWritten_ = true;
        if (lineCount == 0) lineCount = 1;
    }

    long long lineCount = 0;  // lines written (a header counts 2)
    int dataFormat = 0;       // DataFormat of the point lines
    bool header = false;      // header, column titles and precision columns

private:
    void AppendPointColumns(const CCoor& point, int format, bool report);
    void AppendLatin1(std::string_view utf8);
    void AppendDelimitedPoint(const CCoor& departure, const CCoor& arrival, bool alteration);
    void AppendTitleRow(const CCoor& arrival, bool alteration);
    void AppendField(std::string_view utf8, bool name);
    void AppendPrecisionColumns(const CCoor& point);
    void FlushIfFull();

    // The precision text of the last code written in each column, in the
    // file's bytes: the lines of a run mostly repeat the same few codes.
    struct PrecisionColumn {
        int code = -1;
        bool converted = false;
        std::string bytes;
        const std::string& Of(int precisionCode);
    };
    PrecisionColumn planimetric_, vertical_;
    // The last texts with accents written, with their ISO-8859-1 bytes.
    struct ConvertedText {
        std::string text, bytes;
    };
    ConvertedText converted_[4];
    std::size_t nextConverted_ = 0;

    std::string fileName_;
    int descriptor_ = -1;
    bool ownsDescriptor_ = true;
    TextConventions conventions_;
    int angleDecimals_ = 8;  // of the last angles written in a delimited line
    bool writeFailed_ = false;
    bool reportHeaderWritten_ = false;
    int openError_ = 0;
    std::string buffer_;     // ISO-8859-1 bytes not written yet
    std::string longitude_;  // angle texts of the last point written
    std::string latitude_;
};
