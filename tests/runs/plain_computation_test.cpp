// The console file run, with its fast paths (numbers read and written without
// the library, packed angles split without printing, projection constants and
// the last inverse projection kept), must write the very bytes of the same
// run through the plain computations. Large generated files in every layout,
// every angle unit, both methods, with and without the header.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/grid_check.h"
#include "batch/command_line.h"
#include "catalogue/loader.h"
#include "geodesy/plain_computation.h"
#include "grids/grid.h"
#include "runs/console_run.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

namespace {

constexpr int kLines = 8000;  // per file; a quarter of that per angle unit and layout
constexpr double kPi = 3.141592653589793;

// What the numbers of a generated file are.
enum class Region {
    NtfLambert2e,  // NTF Lambert II étendu E, N over France and around it
    Lambert93,     // RGF93 Lambert-93 E, N
    Geographic,    // longitude and latitude over France and around it
    Cartesian,     // WGS84 geocentric X, Y, Z of the same region
};

// Degrees into a Quorvel angle unit, in its written notation.
double InUnit(double degrees, int unit) {
    const auto packed = [](double v, bool minutesOnly) {
        const double sign = v < 0 ? -1 : 1, a = std::fabs(v);
        const double d = std::floor(a), m = (a - d) * 60;
        if (minutesOnly) return sign * (d + m / 100);
        const double whole = std::floor(m);
        return sign * (d + whole / 100 + (m - whole) * 60 / 10000);
    };
    switch (unit) {
        case 1:
            return degrees * kPi / 180;
        case 3:
            return degrees / 0.9;
        case 4:
            return degrees / 15;
        case 5:
            return degrees * 3600;
        case 6:
            return degrees * 240;
        case 10:
            return packed(degrees, false);
        case 11:
            return packed(degrees / 15, false);
        case 12:
            return packed(degrees, true);
        default:
            return degrees;
    }
}

// One number as a surveyor's file may write it.
std::string Number(std::mt19937_64& random, double value, int decimals) {
    char text[96];
    const int style = static_cast<int>(random() % 100);
    if (style < 3) {
        std::snprintf(text, sizeof text, "%.*e", decimals + 3, value);
    } else if (style < 6) {
        std::snprintf(text, sizeof text, "%+.*f", decimals, value);
    } else if (style < 9) {
        std::snprintf(text, sizeof text, "%.*f", decimals + 9, value);  // beyond 19 digits
    } else if (style < 10) {
        std::snprintf(text, sizeof text, "%.0f", value);
    } else if (style < 11) {
        std::snprintf(text, sizeof text, "000%.*f", decimals, value);
    } else {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    }
    return text;
}

// A point file of `lines` lines in a layout with or without names: points,
// with comments, blank and bad lines, names short, long and accented
// (ISO-8859-1), separators of blanks and tabs, LF and CR LF line ends, the
// vertical value sometimes missing and text after the numbers.
std::string PointFile(Region region, bool named, bool latitudeFirst, int unit, unsigned seed,
                      int lines = kLines) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> u01(0, 1);
    const char* names[] = {"P",
                           "Borne_12",
                           "Paris_NotreDame",
                           "un_nom_de_plus_de_vingt_caracteres",
                           "R\xe9"
                           "f\xe9rence",
                           "12345",
                           "Clocher\xa0St-\xc9tienne"};
    const char* separators[] = {" ", "  ", "\t", " \t "};
    std::string file;
    for (int i = 0; i < lines; ++i) {
        const double r = u01(random);
        std::string line;
        if (r < 0.004) {
            line = "* commentaire";
        } else if (r < 0.008) {
            line = " \t ";
        } else if (r < 0.012) {
            line = "pas un nombre";
        } else {
            double a = 0, b = 0, c = u01(random) * 3000 - 50;
            int decimals = 3;
            switch (region) {
                case Region::NtfLambert2e:
                    a = 50000 + u01(random) * 1100000, b = 1600000 + u01(random) * 1150000;
                    break;
                case Region::Lambert93:
                    a = u01(random) * 1300000, b = 6000000 + u01(random) * 1200000;
                    break;
                case Region::Geographic: {
                    double lon = -5 + u01(random) * 14, lat = 42 + u01(random) * 9;
                    const double where = u01(random);
                    if (where < 0.01) lon = -5.5, lat = 51.5;  // on zone borders
                    if (where > 0.99) lon = 15, lat = 60;      // outside every zone
                    a = InUnit(lon, unit), b = InUnit(lat, unit);
                    if (latitudeFirst) std::swap(a, b);
                    decimals = unit == 5 ? 5 : unit == 6 ? 6 : unit == 1 || unit == 4 ? 10 : 9;
                    break;
                }
                case Region::Cartesian: {
                    const double lon = (-7 + u01(random) * 19) * kPi / 180;
                    const double lat = (40 + u01(random) * 13) * kPi / 180;
                    const double e2 = 0.00669437999014132;
                    const double n = 6378137 / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
                    a = (n + c) * std::cos(lat) * std::cos(lon);
                    b = (n + c) * std::cos(lat) * std::sin(lon);
                    c = (n * (1 - e2) + c) * std::sin(lat);
                    break;
                }
            }
            const std::string separator = separators[random() % 4];
            if (named) line = names[random() % 7] + separator;
            line += Number(random, a, decimals);
            if (r > 0.016) line += separator + Number(random, b, decimals);
            if (r > 0.03) line += separator + Number(random, c, 3);
            if (u01(random) < 0.01) line += " 42.0 reste";
        }
        file += line + (i % 3 == 0 ? "\r\n" : "\n");
    }
    return file;
}

class PlainComputationTest : public ::testing::Test {
protected:
    PlainComputationTest() {
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        EXPECT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
        // As the program does at start-up: grid entries then name the files
        // opened (the binary cache of a text grid).
        ScriptedInterface ui;
        EXPECT_TRUE(CheckCatalogueGrids(catalogue, QUORVEL_SOURCE_DIR "/data/", true, ui, ""));
    }
    ~PlainComputationTest() override {
        SetPlainComputation(false);
        unsetenv("QUORVEL_TIME_STAMP");
    }

    // The run's output file with the fast paths, or through the plain
    // computations. The run's own grids, so that both start alike.
    std::string Output(std::vector<std::string> arguments, bool plain) {
        SetPlainComputation(plain);
        const std::string out = plain ? "plain.txt" : "fast.txt";
        for (std::string& a : arguments)
            if (a == "OUT") a = out;
        CQuorvelCommandLine line;
        std::string message;
        EXPECT_TRUE(ParseCommandLine(line, arguments, "", message)) << message;
        CGrille1D verticalGrid;
        const ConsoleRunEnvironment environment{
            catalogue,
            verticalGrid,
            [this](const std::string& name) { return folder.File(name); },
            [](std::string_view) {},
            nullptr,
            nullptr,
            QUORVEL_SOURCE_DIR "/data/"};
        std::string result;
        const ConsoleRunOutcome outcome = RunConsoleCommandLine(line, environment, result);
        // The generated files hold refused lines on purpose.
        EXPECT_TRUE(outcome == ConsoleRunOutcome::Finished ||
                    outcome == ConsoleRunOutcome::FinishedWithRefusedLines)
            << result;
        SetPlainComputation(false);
        return TempDir::Read(folder.File(out));
    }

    // Runs the command line both ways on `input` and compares the bytes.
    void ExpectSameBytes(const std::string& input, const std::vector<std::string>& arguments) {
        folder.Write("in.txt", input);
        const std::string fast = Output(arguments, false);
        const std::string plain = Output(arguments, true);
        ASSERT_GT(plain.size(), 10000u);
        if (fast == plain) return;
        std::size_t at = 0;
        while (at < fast.size() && at < plain.size() && fast[at] == plain[at]) ++at;
        const std::size_t lineStart =
            plain.rfind('\n', at) == std::string::npos ? 0 : plain.rfind('\n', at) + 1;
        ADD_FAILURE() << "outputs differ from byte " << at
                      << "\nplain: " << plain.substr(lineStart, plain.find('\n', at) - lineStart)
                      << "\nfast:  " << fast.substr(lineStart, fast.find('\n', at) - lineStart);
    }

    void GeographicLayouts(int unit, int other);

    Catalogue catalogue;
    TempDir folder;
};

std::vector<std::string> Arguments(int kind, int sourceSystem, int targetSystem,
                                   std::vector<std::string> source, std::vector<std::string> target,
                                   int sourceFormat, int targetFormat, bool verbose,
                                   int vertical = 0) {
    std::vector<std::string> a = {"-mode",    "1",
                                  "-type",    std::to_string(kind),
                                  "-sys1",    std::to_string(sourceSystem),
                                  "-sys2",    std::to_string(targetSystem),
                                  "-typcoor1"};
    a.insert(a.end(), source.begin(), source.end());
    a.push_back("-typcoor2");
    a.insert(a.end(), target.begin(), target.end());
    a.insert(a.end(), {"-f1", std::to_string(sourceFormat), "in.txt", "-f2",
                       std::to_string(targetFormat), "OUT"});
    if (vertical != 0) a.insert(a.end(), {"-alt", "2", std::to_string(vertical)});
    if (verbose) a.push_back("-v");
    return a;
}

}  // namespace

// The projected layouts (E N, with and without names, altitudes and
// ellipsoidal heights) both ways between NTF Lambert II étendu and
// Lambert-93, by both methods; heights only from the 3D system.
TEST_F(PlainComputationTest, ProjectedLayoutsBothMethods) {
    unsigned seed = 1;
    for (int kind : {1, 2}) {
        for (int in : {1, 3}) {  // "Nom E N Altitude", "E N Altitude"
            SCOPED_TRACE("NTF layout " + std::to_string(in) + " kind " + std::to_string(kind));
            ExpectSameBytes(PointFile(Region::NtfLambert2e, in == 1, false, 0, seed++),
                            Arguments(kind, 1, 4, {"3", "27572"}, {"3", "2154"}, in,
                                      in == 1 ? 2 : 4, kind == 1));
        }
        for (int in : {1, 2, 3, 4}) {  // every projected layout from Lambert-93
            SCOPED_TRACE("Lambert-93 layout " + std::to_string(in) + " kind " +
                         std::to_string(kind));
            ExpectSameBytes(PointFile(Region::Lambert93, in <= 2, false, 0, seed++),
                            Arguments(kind, 4, 1, {"3", "2154"}, {"3", "27572"}, in, in % 2 ? 1 : 3,
                                      in % 2 == 0));
        }
    }
}

// Every geographic layout in angle units `unit` (into `other`), with the
// EGM96 geoid: from RGF93 to WGS84, then from NTF by the grids, and from NTF
// typed from the Paris meridian into projections of two families. A point
// outside the geoid now and then makes the run load it again.
void PlainComputationTest::GeographicLayouts(int unitCode, int otherCode) {
    struct Projection {
        int system;
        const char* id;
    };
    // Lambert-93, WGS84 UTM 31 and 32, CC47 (by layout 1, 3, 5, 7).
    const Projection projections[] = {{4, "2154"}, {3, "32631"}, {3, "32632"}, {4, "3947"}};
    const std::string unit = std::to_string(unitCode), other = std::to_string(otherCode);
    for (int in = 1; in <= 8; ++in) {
        SCOPED_TRACE("unit " + unit + " layout " + std::to_string(in));
        const bool named = in <= 2 || in == 5 || in == 6;
        const std::string input =
            PointFile(Region::Geographic, named, in >= 5, unitCode,
                      static_cast<unsigned>(100 + 10 * unitCode + in), kLines / 4);
        ExpectSameBytes(input, Arguments(1, 4, 3, {"2", unit, "1"}, {"2", other, "1"}, in,
                                         (in + 2) % 8 + 1, in % 2 == 1, 3));
        if (in % 2 == 0) continue;  // NTF takes altitudes only
        ExpectSameBytes(input, Arguments(2, 1, 4, {"2", unit, "1"}, {"2", other, "1"}, in,
                                         (in + 5) % 8 + 1, in % 4 == 1, 3));
        const Projection& to = projections[in / 2];
        ExpectSameBytes(input, Arguments(to.system == 4 ? 1 + in / 2 % 2 : 1, 1, to.system,
                                         {"2", unit, "2"}, {"3", to.id}, in, in / 2 + 1, in == 5));
    }
}

TEST_F(PlainComputationTest, GeographicLayoutsInDecimalUnits) {
    GeographicLayouts(2, 1);  // degrees into radians
    GeographicLayouts(1, 3);  // radians into grades
    GeographicLayouts(3, 2);
}

TEST_F(PlainComputationTest, GeographicLayoutsInHoursAndSeconds) {
    GeographicLayouts(4, 5);
    GeographicLayouts(5, 6);
    GeographicLayouts(6, 4);
}

TEST_F(PlainComputationTest, GeographicLayoutsInPackedUnits) {
    GeographicLayouts(10, 11);
    GeographicLayouts(11, 12);
    GeographicLayouts(12, 10);
}

// The cartesian layouts in and out, and into the equal-area projection.
TEST_F(PlainComputationTest, CartesianLayouts) {
    for (int in : {1, 2}) {
        SCOPED_TRACE("cartesian layout " + std::to_string(in));
        const std::string input = PointFile(Region::Cartesian, in == 1, false, 0, 500 + in);
        ExpectSameBytes(input, Arguments(1, 3, 4, {"1"}, {"1"}, in, 3 - in, in == 1));
        ExpectSameBytes(input, Arguments(1, 3, 4, {"1"}, {"2", "10", "1"}, in, in + 4, in == 2));
        ExpectSameBytes(input, Arguments(1, 3, 1, {"1"}, {"3", "27572"}, in, 2 * in - 1, in == 1));
        ExpectSameBytes(input, Arguments(1, 3, 7, {"1"}, {"3", "3035"}, in, 5 - in, in == 2));
    }
}
