#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

// The built quorvel on its default installation (the data folder of the
// sources, no all-users profile): one console file run per territory of
// France, from an older system's projection to the territory's modern
// system, checked against PROJ's values of the same points
// (tests/engine/reference/territories_table.txt).
namespace {

struct TerritoryRun {
    const char* territory;
    int sourceSystem, sourceProjection, targetSystem, targetProjection;
};

// Target projection 0: geographic, decimal degrees from Greenwich.
const TerritoryRun kRuns[] = {
    {"metropole", 9777, 9793, 9782, 9794},  // Lambert-93 (RGF93 v2) to (RGF93 v2b)
    {"antilles", 4625, 2973, 5489, 5490},   // Martinique 1938 to RGAF09, UTM 20 Nord
    {"guyane", 4623, 2971, 4624, 2972},     // CSG67 to RGFG95, UTM 22 Nord
    {"reunion", 5, 3727, 6, 2975},          // Gauss-Laborde Réunion to RGR92 UTM 40 sud
    {"mayotte", 4632, 2980, 4470, 4471},    // Combani 1950 to RGM04, UTM 38 Sud
    {"spm", 4638, 2987, 3, 0},              // Saint-Pierre-et-Miquelon 1950 to WGS84
    {"polynesie", 4690, 3304, 4687, 3297},  // Tahiti 79 to RGPF, UTM 6 Sud
    {"caledonie", 4662, 3060, 4749, 3163},  // IGN72 Grande Terre to Lambert NC
    {"wallis", 4639, 2988, 3, 0},           // MOP78 to WGS84
    {"taaf", 4698, 3336, 3, 0},             // IGN 1962 Kerguelen to WGS84
};

struct Point {
    double in[2], out[2];
};

std::vector<Point> TablePoints(const TerritoryRun& run) {
    std::ifstream table(QUORVEL_SOURCE_DIR "/tests/engine/reference/territories_table.txt");
    std::vector<Point> points;
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream in(line);
        std::string territory;
        int ss = 0, sp = 0, ts = 0, tp = 0;
        Point p;
        in >> territory >> ss >> sp >> ts >> tp >> p.in[0] >> p.in[1] >> p.out[0] >> p.out[1];
        if (in && ss == run.sourceSystem && sp == run.sourceProjection &&
            ts == run.targetSystem && tp == run.targetProjection)
            points.push_back(p);
    }
    return points;
}

int RunQuorvel(const std::vector<std::string>& arguments, const TempDir& folder) {
    std::string command = "cd '" + folder.path() + "' && env -u ALLUSERSPROFILE '" QUORVEL_BINARY "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    command += " </dev/null >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TerritoryRuns, EachTerritorysMainProjectionRunsOnTheDefaultInstallation) {
    for (const TerritoryRun& run : kRuns) {
        SCOPED_TRACE(run.territory);
        const std::vector<Point> points = TablePoints(run);
        ASSERT_FALSE(points.empty());
        TempDir folder;
        std::string input;
        char text[160];
        for (size_t i = 0; i < points.size(); ++i) {
            std::snprintf(text, sizeof text, "P%zu %.4f %.4f 0.000\r\n", i + 1, points[i].in[0],
                          points[i].in[1]);
            input += text;
        }
        folder.Write("in.txt", input);
        std::vector<std::string> arguments = {
            "-mode", "1", "-type", "1", "-sys1", std::to_string(run.sourceSystem), "-sys2",
            std::to_string(run.targetSystem), "-typcoor1", "3",
            std::to_string(run.sourceProjection), "-typcoor2"};
        if (run.targetProjection) {
            arguments.insert(arguments.end(), {"3", std::to_string(run.targetProjection)});
        } else {
            arguments.insert(arguments.end(), {"2", "2", "1"});
        }
        arguments.insert(arguments.end(), {"-f1", "1", folder.File("in.txt"), "-f2", "1",
                                           folder.File("out.txt")});
        ASSERT_EQ(0, RunQuorvel(arguments, folder)) << TempDir::Read(folder.File("stdout.txt"));

        std::istringstream out(TempDir::Read(folder.File("out.txt")));
        std::string line;
        size_t read = 0;
        while (std::getline(out, line) && read < points.size()) {
            std::istringstream fields(line);
            std::string name;
            double a = 0, b = 0;
            fields >> name >> a >> b;
            ASSERT_TRUE(fields) << line;
            ASSERT_EQ("P" + std::to_string(read + 1), name);
            const Point& p = points[read++];
            // The output file shows millimetres, or degrees to 1e-9 and less.
            if (run.targetProjection) {
                EXPECT_LE(std::hypot(a - p.out[0], b - p.out[1]), 1.5e-3) << line;
            } else {
                const double metresPerDegree = 111320;
                const double dlon = (a - p.out[0]) * std::cos(p.out[1] * 3.14159265358979 / 180);
                EXPECT_LE(std::hypot(dlon, b - p.out[1]) * metresPerDegree, 1.5e-3) << line;
            }
        }
        EXPECT_EQ(points.size(), read);
    }
}

}  // namespace
