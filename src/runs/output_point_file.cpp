#include "runs/output_point_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shared/text_encoding.h"
#include "engine/coordinate.h"
#include "engine/precision.h"
#include "geodesy/angle.h"
#include "reports/headers.h"
#include "shared/data_format.h"
#include "runs/input_point_file.h"
#include "shared/number_text.h"
#include "runs/result_texts.h"
#include "shared/time_stamp.h"

namespace {

constexpr std::size_t kFlushSize = 1 << 18;

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

Out_Fic::~Out_Fic() {
    Close();
}

bool Out_Fic::Open(const std::string& fileName) {
    Close();
    fileName_ = fileName;
    lineCount = 0;
    dataFormat = 0;
    header = false;
    writeFailed_ = false;
    reportHeaderWritten_ = false;
    buffer_.clear();
    descriptor_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    openError_ = descriptor_ < 0 ? errno : 0;
    if (descriptor_ < 0) return false;
    buffer_.reserve(kFlushSize + 4096);
    return true;
}

bool Out_Fic::Flush() {
    if (descriptor_ < 0) return !writeFailed_;
    std::size_t done = 0;
    while (done < buffer_.size() && !writeFailed_) {
        const ssize_t wrote = ::write(descriptor_, buffer_.data() + done, buffer_.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            writeFailed_ = true;
        } else {
            done += static_cast<std::size_t>(wrote);
        }
    }
    buffer_.clear();
    return !writeFailed_;
}

bool Out_Fic::Close() {
    if (descriptor_ < 0) return !writeFailed_;
    Flush();
    // A file removed (or replaced) while it was written takes its lines
    // with it: that is no file written.
    struct stat written {};
    if (::fstat(descriptor_, &written) == 0 && S_ISREG(written.st_mode) && written.st_nlink == 0)
        writeFailed_ = true;
    if (::close(descriptor_) != 0) writeFailed_ = true;
    descriptor_ = -1;
    return !writeFailed_;
}

void Out_Fic::FlushIfFull() {
    if (buffer_.size() >= kFlushSize) Flush();
}

void Out_Fic::AppendLatin1(std::string_view utf8) {
    if (IsAscii(utf8)) {
        buffer_.append(utf8);
    } else {
        buffer_.append(Utf8ToLatin1(utf8));
    }
}

void Out_Fic::Write(std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t feed = text.find('\n', start);
        if (feed == std::string_view::npos) {
            AppendLatin1(text.substr(start));
            break;
        }
        AppendLatin1(text.substr(start, feed - start));
        buffer_.append("\r\n");
        start = feed + 1;
    }
    FlushIfFull();
}

// The coordinates of `point` in `format`, each after its separator. Output
// lines put three blanks before projected columns; reports do so only for
// the altitude layouts and one blank for the ellipsoidal-height ones.
void Out_Fic::AppendPointColumns(const CCoor& point, int format, bool report) {
    const int type = DataFormatCoordType(format);
    if (type == Cartesian) {
        buffer_ += ' ';
        AppendFixed(buffer_, point.x, 12, 3);
        buffer_ += ' ';
        AppendFixed(buffer_, point.y, 12, 3);
        buffer_ += ' ';
        AppendFixed(buffer_, point.z, 8, 3);
    } else if (type == Geographic) {
        // The angle format of the point's unit; a unit without one writes
        // the texts of the last point again.
        const int decimals = AngleFileDecimals(point.unit);
        if (decimals >= 0) {
            longitude_.clear();
            AppendFixed(longitude_, point.longitude, 13, decimals);
            latitude_.clear();
            AppendFixed(latitude_, point.latitude, 13, decimals);
        }
        const bool latitudeFirst = DataFormatLatitudeFirst(format);
        buffer_ += ' ';
        AppendLatin1(latitudeFirst ? latitude_ : longitude_);
        buffer_ += ' ';
        AppendLatin1(latitudeFirst ? longitude_ : latitude_);
        buffer_ += ' ';
        AppendFixed(buffer_, DataFormatVertical(format) == Altitude ? point.altitude : point.height,
                    8, 3);
    } else if (type == Projected) {
        const bool altitude = DataFormatVertical(format) == Altitude;
        const char* separator = report && !altitude ? " " : "   ";
        buffer_ += separator;
        AppendFixed(buffer_, point.easting, 12, 3);
        buffer_ += separator;
        AppendFixed(buffer_, point.northing, 12, 3);
        buffer_ += separator;
        AppendFixed(buffer_, altitude ? point.altitude : point.height, 8, 3);
    }
}

namespace {

void AppendName(std::string& out, const std::string& name) {
    // Right-aligned in 20 characters; a longer name is written whole.
    const std::string latin1 = IsAscii(name) ? std::string() : Utf8ToLatin1(name);
    const std::string& bytes = latin1.empty() ? name : latin1;
    if (bytes.size() < 20) out.append(20 - bytes.size(), ' ');
    out += bytes;
}

void AppendPrecisionColumns(std::string& out, const CCoor& point) {
    out += " \t\t ";
    out += Utf8ToLatin1(PrecisionText(point.precision));
    out += " \t\t ";
    out += Utf8ToLatin1(PrecisionText(point.verticalPrecision));
}

}  // namespace

void Out_Fic::Ecrire_Point(const CCoor& departure, const CCoor& arrival, int kind,
                           const std::string& result, bool linearAlteration,
                           long long inputLineNumber) {
    if (lineCount == 0 && header) {
        Write(OutputHeader(departure, arrival, kind));
        Write("\n");
        Write(ColumnTitles(dataFormat, arrival, linearAlteration));
        Write("\n");
        lineCount += 2;
    }
    ++lineCount;
    if (result != kResultOk) {
        Write("* ERREUR!!! Sur cette ligne du fichier d'entrée : ");
        Write(result);
        if (inputLineNumber > 0) {
            Write(" (ligne ");
            AppendInteger(buffer_, inputLineNumber);
            Write(")");
        }
        Write("\n");
        return;
    }
    if (DataFormatHasName(dataFormat)) AppendName(buffer_, arrival.name);
    AppendPointColumns(arrival, dataFormat, false);
    // Convergence and linear alteration of projected points; without the
    // header flag only the ellipsoidal-height layouts carry them.
    if (linearAlteration && DataFormatCoordType(dataFormat) == Projected &&
        (header || DataFormatVertical(dataFormat) != Altitude)) {
        buffer_ += "   ";
        AppendFixed(buffer_, arrival.convergence, 12, 6);
        buffer_ += "   ";
        AppendFixed(buffer_, arrival.linearAlteration, 8, 1);
    }
    if (header) AppendPrecisionColumns(buffer_, arrival);
    buffer_ += "\r\n";
    FlushIfFull();
}

void Out_Fic::Ecrire_Rapport(const CCoor& departure, const CCoor& arrival, const In_Fic& input,
                             const Out_Fic& output, int kind, const std::string& result,
                             long long inputLineNumber) {
    if (!reportHeaderWritten_) {
        Write(ReportHeader(departure, arrival, input.FileName(), input.dataFormat,
                           output.FileName(), output.dataFormat, kind));
        Write("\n");
        reportHeaderWritten_ = true;
    }
    ++lineCount;
    if (result != kResultOk) {
        Write("ERREUR à la ligne ");
        AppendInteger(buffer_, inputLineNumber > 0 ? inputLineNumber : input.LineNumber());
        Write(" du fichier initial : ");
        Write(result);
        Write("\n");
        return;
    }
    if (DataFormatHasName(input.dataFormat)) AppendName(buffer_, departure.name);
    AppendPointColumns(departure, input.dataFormat, true);
    buffer_ += " | ";
    AppendPointColumns(arrival, output.dataFormat, true);
    if (kind == GridKind) AppendPrecisionColumns(buffer_, arrival);
    buffer_ += "\r\n";
    FlushIfFull();
}

void Out_Fic::Ecrire_Fin(const std::string& endText) {
    if (endText == kResultEnd) {
        Write("* Fin ");
    } else if (endText == kReportEndText) {
        Write(kReportEndText);
    } else {
        return;
    }
    Write(CurrentTimeStamp());
    Write("\n");
}
