#include "runs/output_point_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>

#include "shared/text_encoding.h"
#include "engine/coordinate.h"
#include "engine/precision.h"
#include "geodesy/angle.h"
#include "reports/headers.h"
#include "shared/data_format.h"
#include "shared/labels.h"
#include "runs/delimited_fields.h"
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
    conventions_ = TextConventions{};
    descriptor_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    ownsDescriptor_ = true;
    openError_ = descriptor_ < 0 ? errno : 0;
    if (descriptor_ < 0) return false;
    buffer_.reserve(kFlushSize + 4096);
    return true;
}

bool Out_Fic::OpenDescriptor(int descriptor, const std::string& name) {
    Close();
    fileName_ = name;
    lineCount = 0;
    dataFormat = 0;
    header = false;
    writeFailed_ = false;
    reportHeaderWritten_ = false;
    buffer_.clear();
    conventions_ = TextConventions{};
    descriptor_ = descriptor;
    ownsDescriptor_ = false;
    openError_ = descriptor < 0 ? EBADF : 0;
    if (descriptor_ < 0) return false;
    buffer_.reserve(kFlushSize + 4096);
    return true;
}

void Out_Fic::SetConventions(const TextConventions& conventions) {
    const bool markWritten = conventions_.encoding == PointFileEncoding::Utf8Mark;
    conventions_ = conventions;
    if (conventions.encoding == PointFileEncoding::Utf8Mark && !markWritten && lineCount == 0 &&
        buffer_.empty()) {
        buffer_ += "\xEF\xBB\xBF";
    }
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
    if (ownsDescriptor_ && ::close(descriptor_) != 0) writeFailed_ = true;
    descriptor_ = -1;
    return !writeFailed_;
}

void Out_Fic::FlushIfFull() {
    if (buffer_.size() >= kFlushSize) Flush();
}

void Out_Fic::AppendLatin1(std::string_view utf8) {
    if (conventions_.Utf8() || IsAscii(utf8)) {
        buffer_.append(utf8);
        return;
    }
    // The texts with accents that a file repeats, its error lines' above
    // all, are converted once.
    for (ConvertedText& converted : converted_) {
        if (converted.text == utf8) {
            buffer_.append(converted.bytes);
            return;
        }
    }
    ConvertedText& slot = converted_[nextConverted_];
    nextConverted_ = (nextConverted_ + 1) % std::size(converted_);
    slot.text.assign(utf8);
    slot.bytes = Utf8ToLatin1(utf8);
    buffer_.append(slot.bytes);
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

}  // namespace

const std::string& Out_Fic::PrecisionColumn::Of(int precisionCode) {
    if (!converted || code != precisionCode) {
        code = precisionCode;
        converted = true;
        bytes = Utf8ToLatin1(PrecisionText(precisionCode));
    }
    return bytes;
}

void Out_Fic::AppendPrecisionColumns(const CCoor& point) {
    buffer_ += " \t\t ";
    buffer_ += planimetric_.Of(point.precision);
    buffer_ += " \t\t ";
    buffer_ += vertical_.Of(point.verticalPrecision);
}

void Out_Fic::Ecrire_Point(const CCoor& departure, const CCoor& arrival, int kind,
                           std::string_view result, bool linearAlteration,
                           long long inputLineNumber) {
    const bool delimited = conventions_.Delimited();
    if (lineCount == 0 && (header || (delimited && conventions_.titleRow))) {
        if (header) {
            Write(OutputHeader(departure, arrival, kind));
            Write("\n");
        }
        if (delimited) {
            AppendTitleRow(arrival, linearAlteration);
        } else {
            Write(ColumnTitles(dataFormat, arrival, linearAlteration));
            Write("\n");
        }
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
    if (delimited) {
        AppendDelimitedPoint(departure, arrival, linearAlteration);
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
    if (header) AppendPrecisionColumns(arrival);
    buffer_ += "\r\n";
    FlushIfFull();
}

void Out_Fic::AppendField(std::string_view utf8, bool name) {
    // Names are quoted as the input quoted them; other texts only when
    // they must be.
    const bool quoted = name && conventions_.quoted;
    if (conventions_.Utf8() || IsAscii(utf8)) {
        AppendTextField(buffer_, utf8, conventions_.separator, quoted);
    } else {
        AppendTextField(buffer_, Utf8ToLatin1(utf8), conventions_.separator, quoted);
    }
}

// The columns of the point lines: the layout's, the convergence and linear
// alteration, the precisions, then the input's own titles of its extra
// columns.
void Out_Fic::AppendTitleRow(const CCoor& arrival, bool alteration) {
    const char separator = conventions_.separator;
    const int type = DataFormatCoordType(dataFormat);
    const bool altitude = DataFormatVertical(dataFormat) == Altitude;
    const char* columns[4] = {nullptr, nullptr, nullptr, nullptr};
    if (type == Cartesian) {
        columns[1] = "X", columns[2] = "Y", columns[3] = "Z";
    } else if (type == Geographic) {
        const bool latitudeFirst = DataFormatLatitudeFirst(dataFormat);
        columns[1] = latitudeFirst ? "Latitude" : "Longitude";
        columns[2] = latitudeFirst ? "Longitude" : "Latitude";
        columns[3] = altitude ? "Altitude" : "Hauteur";
    } else {
        columns[1] = "E", columns[2] = "N", columns[3] = altitude ? "Altitude" : "Hauteur";
    }
    bool first = true;
    const auto column = [&](std::string_view title) {
        if (!first) buffer_ += separator;
        first = false;
        AppendField(title, false);
    };
    if (DataFormatHasName(dataFormat)) column("Nom");
    for (int k = 1; k < 4; ++k) column(columns[k]);
    if (alteration && type == Projected && (header || !altitude)) {
        column(std::string("Convergence (") + AngleUnitLabel(arrival.convergenceUnit) + ")");
        column("Altération linéaire (mm/km)");
    }
    if (header) {
        column("Précision planimétrique");
        column("Précision altimétrique");
    }
    buffer_ += conventions_.extraTitles;
    buffer_ += "\r\n";
}

// A point line of a delimited output: every column without padding, each
// number with the decimals of today's columns, the input's extra columns
// as it held them.
void Out_Fic::AppendDelimitedPoint(const CCoor& departure, const CCoor& arrival,
                                   bool alteration) {
    const char separator = conventions_.separator;
    const char mark = conventions_.decimalMark;
    const int type = DataFormatCoordType(dataFormat);
    const bool altitude = DataFormatVertical(dataFormat) == Altitude;
    const bool named = DataFormatHasName(dataFormat);
    if (named) AppendField(arrival.name, true);
    const auto number = [&](double value, int decimals, bool firstColumn) {
        if (!firstColumn) buffer_ += separator;
        AppendNumberField(buffer_, value, decimals, mark);
    };
    if (type == Cartesian) {
        number(arrival.x, 3, !named);
        number(arrival.y, 3, false);
        number(arrival.z, 3, false);
    } else if (type == Geographic) {
        const int decimals = AngleFileDecimals(arrival.unit);
        if (decimals >= 0) angleDecimals_ = decimals;
        const bool latitudeFirst = DataFormatLatitudeFirst(dataFormat);
        number(latitudeFirst ? arrival.latitude : arrival.longitude, angleDecimals_, !named);
        number(latitudeFirst ? arrival.longitude : arrival.latitude, angleDecimals_, false);
        number(altitude ? arrival.altitude : arrival.height, 3, false);
    } else if (type == Projected) {
        number(arrival.easting, 3, !named);
        number(arrival.northing, 3, false);
        number(altitude ? arrival.altitude : arrival.height, 3, false);
        if (alteration && (header || !altitude)) {
            number(arrival.convergence, 6, false);
            number(arrival.linearAlteration, 1, false);
        }
    }
    if (header) {
        buffer_ += separator;
        AppendField(PrecisionText(arrival.precision), false);
        buffer_ += separator;
        AppendField(PrecisionText(arrival.verticalPrecision), false);
    }
    buffer_ += departure.extraColumns;
    buffer_ += "\r\n";
    FlushIfFull();
}

void Out_Fic::Ecrire_Rapport(const CCoor& departure, const CCoor& arrival, const In_Fic& input,
                             const Out_Fic& output, int kind, std::string_view result,
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
    if (kind == GridKind) AppendPrecisionColumns(arrival);
    buffer_ += "\r\n";
    FlushIfFull();
}

void Out_Fic::Ecrire_Fin(std::string_view endText) {
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
